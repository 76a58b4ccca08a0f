// Navigation statements. The filter becomes extra conditions whose text
// depends only on which filters are set and how long their lists are, so
// the statement cache holds one statement per shape of filter.
#include "store/navigation_queries.h"

#include <string>

namespace VardelCatalog {
namespace {

// " AND alias.column IN (...)" when `values` is not empty.
void AddListCondition(QueryText& query, std::string_view alias, std::string_view column,
                      const std::vector<std::wstring>& values) {
    if (!values.empty()) {
        query.Sql(" AND ").Sql(alias).Sql(".").Sql(column).Sql(" IN ").WideList(values);
    }
}

void AddCategoryConditions(QueryText& query, std::string_view alias, const DBFilter& filter) {
    if (filter.filterInvisibleCategories) {
        query.Sql(" AND ").Sql(alias).Sql(".hidden_path = 0");
    }
    AddListCondition(query, alias, "domain", filter.filterCategoriesContent);
}

void AddFamilyConditions(QueryText& query, std::string_view alias, const DBFilter& filter) {
    if (filter.filterParts) {
        query.Sql(" AND ").Sql(alias).Sql(".is_feature = 1");
    }
    if (filter.filterFeatures) {
        query.Sql(" AND ").Sql(alias).Sql(".is_feature = 0");
    }
    AddListCondition(query, alias, "standards_organization", filter.filterStandardOrgs);
    AddListCondition(query, alias, "manufacturer", filter.filterManufacturers);
}

// Every filter of the category `c`, including the empty-category one, which
// looks for a surviving family in c's sub-tree (the categories whose
// position lies within c's).
void AddCategoryFilter(QueryText& query, const DBFilter& filter) {
    AddCategoryConditions(query, "c", filter);
    if (!filter.filterEmptyCategories) {
        return;
    }
    query.Sql(
        " AND EXISTS (SELECT 1 FROM category d JOIN family_category dh ON dh.category_id = d.id"
        " JOIN family df ON df.id = dh.family_id WHERE d.library_id = c.library_id"
        " AND d.position BETWEEN c.position AND c.last_position");
    AddCategoryConditions(query, "d", filter);
    AddFamilyConditions(query, "df", filter);
    query.Sql(")");
}

}  // namespace

std::vector<Vardel::Guid> QueryCategoryRoots(StatementCache& cache, std::int64_t library,
                                             const DBFilter& filter) {
    QueryText query("SELECT c.guid FROM category c WHERE c.library_id = ");
    query.Int(library).Sql(" AND c.parent_id IS NULL");
    AddCategoryFilter(query, filter);
    query.Sql(" ORDER BY c.position");
    return QueryGuids(cache, query);
}

std::vector<Vardel::Guid> QuerySubCategories(StatementCache& cache, std::int64_t library,
                                             const Vardel::Guid& parent, bool allLevels,
                                             const DBFilter& filter) {
    QueryText query("SELECT c.guid FROM category p JOIN category c ON c.library_id = p.library_id");
    query.Sql(allLevels ? " AND c.position > p.position AND c.position <= p.last_position"
                        : " AND c.parent_id = p.id");
    query.Sql(" WHERE p.library_id = ").Int(library).Sql(" AND p.guid = ").Id(parent);
    AddCategoryFilter(query, filter);
    query.Sql(" ORDER BY c.position");
    return QueryGuids(cache, query);
}

std::vector<Vardel::Guid> QueryFamiliesOfCategory(StatementCache& cache, std::int64_t library,
                                                  const Vardel::Guid& category,
                                                  const DBFilter& filter) {
    QueryText query(
        "SELECT f.guid FROM category c JOIN family_category h ON h.category_id = c.id"
        " JOIN family f ON f.id = h.family_id WHERE c.library_id = ");
    query.Int(library).Sql(" AND c.guid = ").Id(category);
    AddCategoryConditions(query, "c", filter);
    AddFamilyConditions(query, "f", filter);
    // The writer numbers a library's families in import order, so the key
    // of family_category already holds them in position order: no sort.
    query.Sql(" ORDER BY h.family_id");
    return QueryGuids(cache, query);
}

std::vector<Vardel::Guid> QueryCategoriesOfFamily(StatementCache& cache, std::int64_t library,
                                                  const Vardel::Guid& family) {
    QueryText query(
        "SELECT c.guid FROM family f JOIN family_category h ON h.family_id = f.id"
        " JOIN category c ON c.id = h.category_id WHERE f.library_id = ");
    query.Int(library).Sql(" AND f.guid = ").Id(family).Sql(" ORDER BY c.position");
    return QueryGuids(cache, query);
}

std::optional<Vardel::Guid> QueryParentCategory(StatementCache& cache, std::int64_t library,
                                                const Vardel::Guid& category) {
    QueryText query(
        "SELECT p.guid FROM category c LEFT JOIN category p ON p.id = c.parent_id"
        " WHERE c.library_id = ");
    query.Int(library).Sql(" AND c.guid = ").Id(category);
    QueryRows rows(cache, query);
    if (!rows.Next()) {
        return std::nullopt;
    }
    return ColumnGuid(rows.row(), 0);
}

std::vector<Vardel::Guid> QueryAllFamilies(StatementCache& cache, std::int64_t library) {
    QueryText query("SELECT f.guid FROM family f WHERE f.library_id = ");
    query.Int(library).Sql(" ORDER BY f.position");
    return QueryGuids(cache, query);
}

}  // namespace VardelCatalog
