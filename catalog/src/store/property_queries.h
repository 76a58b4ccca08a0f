// The property values the catalogue server answers for categories, families
// and category parameters: one optional text per requested node and key,
// node-major. Keys are the property-key GUIDs of vardel/constants.h,
// compared as GUIDs; a key the node kind does not answer, a node the library
// does not hold and an empty stored text all give no value. Flags answer
// "true" or "false", a family's kind "part" or "feature". Names and
// descriptions come in the requested language, else the library's default,
// else the first language in byte order that has one.
//
// One statement serves a whole request: the nodes go into the node table,
// and one join of it reads only the requested properties.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/catalog_queries.h"
#include "store/catalog_queries_nodes.h"

namespace VardelCatalog {

enum class NodeKind { Category, Family, Parameter };

/// Lower-cased UTF-8 language tags: the one asked for and the library's default.
struct NameLanguages {
    std::string requested;
    std::string fallback;
};

/// Runs inside a transaction of the caller (it fills `table`).
std::vector<std::optional<std::wstring>> QueryPropertyValues(StatementCache& cache,
                                                             NodeListTable& table, NodeKind kind,
                                                             std::int64_t library,
                                                             const std::vector<Vardel::Guid>& nodes,
                                                             const std::vector<Vardel::Guid>& keys,
                                                             const NameLanguages& languages);

/// The localized texts of one kind of node: a table with the columns
/// <owner> (the node's row id), language, and one column per text.
struct NameTable {
    std::string_view table;
    std::string_view owner;
};

/// " LEFT JOIN <table> <alias> ON ...": the texts of the node whose row id
/// is the SQL expression `node`, in `language`.
void AddRequestedNames(QueryText& query, const NameTable& names, std::string_view alias,
                       std::string_view node, const std::string& language);

/// The node's text of `column` from the requested-language row `alias`
/// (see AddRequestedNames) when it has one, else in `fallback`, else in
/// the first language in byte order that has one.
void AddLocalizedText(QueryText& query, const NameTable& names, std::string_view alias,
                      std::string_view node, std::string_view column, const std::string& fallback);

}  // namespace VardelCatalog
