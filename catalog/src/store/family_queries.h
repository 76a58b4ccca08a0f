// What the catalogue server reads of one family beyond its properties: the
// family itself, its stored documents (the family document and its strings
// documents, served as aspects) and the categories that hold it with their
// ancestors (its category tree).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/catalog_queries.h"
#include "store/property_queries.h"

namespace VardelCatalog {

struct FamilyRow {
    std::int64_t id = 0;
    std::wstring parentLibraryName;
    std::wstring parentFamilyName;
};

std::optional<FamilyRow> FindFamily(StatementCache& cache, std::int64_t library,
                                    const Vardel::Guid& family);

/// The family document, UTF-8.
std::string QueryFamilyDocument(StatementCache& cache, std::int64_t family);

/// The languages of the family's strings documents (lower-cased), in byte order.
std::vector<std::string> QueryStringsLanguages(StatementCache& cache, std::int64_t family);

/// The strings document in `language` (lower-cased); none when there is none.
std::optional<std::string> QueryStringsDocument(StatementCache& cache, std::int64_t family,
                                                std::string_view language);

/// One category of a family's tree.
struct TreeCategory {
    std::int64_t id = 0;
    std::optional<std::int64_t> parent;  ///< None for a root.
    Vardel::Guid guid;
    bool hidden = false;       ///< Its own flag.
    bool holdsFamily = false;  ///< False for an ancestor that only leads to one that does.
    std::wstring name;         ///< In the first language of `languages` that has one.
};

/// The categories that hold `family` and all their ancestors, each once, in
/// document order (so a parent comes before its children).
std::vector<TreeCategory> QueryCategoryTree(StatementCache& cache, std::int64_t family,
                                            const NameLanguages& languages);

}  // namespace VardelCatalog
