// Library lookups with the reader check in the same statement.
#include "store/library_queries.h"

#include "common/utf8.h"

namespace VardelCatalog {
namespace {

// `column` is "name" or "guid", both unique in a catalogue.
std::optional<LibraryRow> ReadLibrary(StatementCache& cache, std::string_view column,
                                      const std::string& key, std::wstring_view user) {
    QueryText query("SELECT l.id, l.guid, l.name, l.default_language FROM library l WHERE l.");
    query.Sql(column).Sql(" = ").Text(key);
    query.Sql(" AND (l.restricted = 0 OR EXISTS (SELECT 1 FROM library_reader r")
        .Sql(" WHERE r.library_id = l.id AND r.user_name = ")
        .Wide(user)
        .Sql("))");
    QueryRows rows(cache, query);
    if (!rows.Next()) {
        return std::nullopt;
    }
    const Statement& row = rows.row();
    return LibraryRow{row.ColumnInt(0), ColumnGuid(row, 1), ColumnWide(row, 2),
                      std::string(row.ColumnText(3))};
}

}  // namespace

std::optional<LibraryRow> FindReadableLibrary(StatementCache& cache, std::wstring_view name,
                                              std::wstring_view user) {
    return ReadLibrary(cache, "name", VardelCommon::ToUtf8(name), user);
}

std::optional<LibraryRow> FindReadableLibrary(StatementCache& cache, const Vardel::Guid& id,
                                              std::wstring_view user) {
    return ReadLibrary(cache, "guid", GuidText(id), user);
}

std::optional<std::string> CatalogInfo(StatementCache& cache, std::string_view name) {
    QueryRows rows(cache, QueryText("SELECT value FROM catalog_info WHERE name = ").Text(name));
    if (!rows.Next()) {
        return std::nullopt;
    }
    return std::string(rows.row().ColumnText(0));
}

}  // namespace VardelCatalog
