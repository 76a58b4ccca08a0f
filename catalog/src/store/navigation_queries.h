// The navigation queries of the catalogue server: roots and sub-categories
// of a library's category tree, the families of a category and the
// categories of a family, a category's parent, every family. Categories
// come in document order, families in import order. Roots, sub-categories
// and the families of a category honour a DBFilter:
//   filterInvisibleCategories  hides hidden categories and all below them;
//   filterParts / filterFeatures  hide families of that kind;
//   filterStandardOrgs / filterManufacturers (non-empty)  keep only families
//     whose standards organisation / manufacturer is listed;
//   filterCategoriesContent (non-empty)  hides categories whose domain is
//     not listed, and their families;
//   filterEmptyCategories  hides categories with no family left at or below
//     them, counting only families that pass the family filters in
//     categories that pass the category filters.
// A node the library does not hold has no sub-categories, families or
// categories.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "store/catalog_queries.h"
#include "vardel/server_proxies.h"

namespace VardelCatalog {

using TarnServerProxies::Content::DBFilter;

std::vector<Vardel::Guid> QueryCategoryRoots(StatementCache& cache, std::int64_t library,
                                             const DBFilter& filter);

/// The children of `parent`, or with `allLevels` every category below it,
/// depth first in document order.
std::vector<Vardel::Guid> QuerySubCategories(StatementCache& cache, std::int64_t library,
                                             const Vardel::Guid& parent, bool allLevels,
                                             const DBFilter& filter);

/// The families directly in `category`; none when the filter hides the
/// category itself.
std::vector<Vardel::Guid> QueryFamiliesOfCategory(StatementCache& cache, std::int64_t library,
                                                  const Vardel::Guid& category,
                                                  const DBFilter& filter);

std::vector<Vardel::Guid> QueryCategoriesOfFamily(StatementCache& cache, std::int64_t library,
                                                  const Vardel::Guid& family);

/// The parent of `category` (the nil GUID for a root); none when the
/// library has no such category.
std::optional<Vardel::Guid> QueryParentCategory(StatementCache& cache, std::int64_t library,
                                                const Vardel::Guid& category);

std::vector<Vardel::Guid> QueryAllFamilies(StatementCache& cache, std::int64_t library);

}  // namespace VardelCatalog
