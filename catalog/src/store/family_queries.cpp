// Family look-ups by the family's row id once FindFamily has found it.
#include "store/family_queries.h"

namespace VardelCatalog {

std::optional<FamilyRow> FindFamily(StatementCache& cache, std::int64_t library,
                                    const Vardel::Guid& family) {
    QueryText query(
        "SELECT f.id, f.parent_library_name, f.parent_family_name FROM family f"
        " WHERE f.library_id = ");
    query.Int(library).Sql(" AND f.guid = ").Id(family);
    QueryRows rows(cache, query);
    if (!rows.Next()) {
        return std::nullopt;
    }
    const Statement& row = rows.row();
    return FamilyRow{row.ColumnInt(0), ColumnWide(row, 1), ColumnWide(row, 2)};
}

std::string QueryFamilyDocument(StatementCache& cache, std::int64_t family) {
    QueryText query("SELECT document FROM family_document WHERE family_id = ");
    QueryRows rows(cache, query.Int(family));
    return rows.Next() ? std::string(rows.row().ColumnText(0)) : std::string();
}

std::vector<std::string> QueryStringsLanguages(StatementCache& cache, std::int64_t family) {
    QueryText query("SELECT language FROM family_strings WHERE family_id = ");
    query.Int(family).Sql(" ORDER BY language");
    std::vector<std::string> languages;
    QueryRows rows(cache, query);
    while (rows.Next()) {
        languages.emplace_back(rows.row().ColumnText(0));
    }
    return languages;
}

std::optional<std::string> QueryStringsDocument(StatementCache& cache, std::int64_t family,
                                                std::string_view language) {
    QueryText query("SELECT document FROM family_strings WHERE family_id = ");
    query.Int(family).Sql(" AND language = ").Text(language);
    QueryRows rows(cache, query);
    if (!rows.Next()) {
        return std::nullopt;
    }
    return std::string(rows.row().ColumnText(0));
}

std::vector<TreeCategory> QueryCategoryTree(StatementCache& cache, std::int64_t family,
                                            const NameLanguages& languages) {
    // Every (ancestor-or-self a, holding category c) pair, grouped by a.
    constexpr NameTable kNames{"category_name", "category_id"};
    QueryText query("SELECT a.id, a.parent_id, a.guid, a.hidden,");
    query.Sql(" MAX(CASE WHEN a.id = c.id THEN 1 ELSE 0 END), ");
    AddLocalizedText(query, "nr", "a", "name", languages);
    query.Sql(
        " FROM family_category h JOIN category c ON c.id = h.category_id"
        " JOIN category a ON a.library_id = c.library_id AND a.position <= c.position"
        " AND a.last_position >= c.position");
    AddRequestedNames(query, kNames, "nr", "a.id", languages);
    query.Sql(" WHERE h.family_id = ").Int(family);
    query.Sql(" GROUP BY a.id, a.parent_id, a.guid, a.hidden, a.position, a.name");
    if (!languages.RequestsDefault()) {
        query.Sql(", nr.name");
    }
    query.Sql(" ORDER BY a.position");
    std::vector<TreeCategory> categories;
    QueryRows rows(cache, query);
    while (rows.Next()) {
        const Statement& row = rows.row();
        categories.push_back({row.ColumnInt(0),
                              row.IsNull(1) ? std::nullopt : std::optional(row.ColumnInt(1)),
                              ColumnGuid(row, 2), row.ColumnInt(3) != 0, row.ColumnInt(4) != 0,
                              row.IsNull(5) ? std::wstring() : ColumnWide(row, 5)});
    }
    return categories;
}

}  // namespace VardelCatalog
