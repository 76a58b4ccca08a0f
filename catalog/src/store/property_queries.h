// The property values the catalogue server answers for categories, families
// and category parameters: one optional text per requested node and key,
// node-major. Keys are the property-key GUIDs of vardel/constants.h,
// compared as GUIDs; a key the node kind does not answer, a node the library
// does not hold and an empty stored text all give no value. Flags answer
// "true" or "false", a family's kind "part" or "feature", a category's icon
// and a family's thumbnail a data URI ("data:image/png;base64,..."). Names and
// descriptions come in the requested language, else the library's default,
// else the first language in byte order that has one.
//
// One statement serves a whole request: the nodes go into the node table,
// and one join of it reads only the requested properties. A name table is
// read only for a language other than the library's default: the node's own
// row holds the text that every other language falls back to.
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

    /// Whether the nodes' own texts answer, with no name table read.
    bool RequestsDefault() const { return requested == fallback; }
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

/// " LEFT JOIN <table> <alias> ON ...": the texts in the requested language
/// of the node whose row id is the SQL expression `node`; nothing when the
/// default language is requested.
void AddRequestedNames(QueryText& query, const NameTable& names, std::string_view alias,
                       std::string_view node, const NameLanguages& languages);

/// The node's text of `column`: from the requested-language row `alias`
/// (see AddRequestedNames) when it has one, else the node's own text, the
/// column of the same name of the node row `nodeAlias`.
void AddLocalizedText(QueryText& query, std::string_view alias, std::string_view nodeAlias,
                      std::string_view column, const NameLanguages& languages);

}  // namespace VardelCatalog
