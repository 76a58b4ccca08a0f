// Summary statements. Libraries come first and fix the order; readers and
// languages are read in one pass each, sorted, and attached to their library
// by its row id.
#include "store/summary_queries.h"

#include <cstdint>
#include <map>

#include "common/utf8.h"

namespace VardelCatalog {
namespace {

constexpr std::string_view kFormat = "SELECT value FROM catalog_info WHERE name = ?";

constexpr std::string_view kLibraries =
    "SELECT l.id, l.name, l.guid, l.default_language, l.restricted,"
    " (SELECT COUNT(*) FROM family f WHERE f.library_id = l.id),"
    " (SELECT COALESCE(SUM(f.member_count), 0) FROM family f WHERE f.library_id = l.id)"
    " FROM library l ORDER BY l.id";

constexpr std::string_view kReaders =
    "SELECT library_id, user_name FROM library_reader ORDER BY library_id, user_name";

constexpr std::string_view kLanguages =
    "SELECT c.library_id, n.language FROM category_name n"
    " JOIN category c ON c.id = n.category_id"
    " UNION SELECT p.library_id, n.language FROM parameter_name n"
    " JOIN parameter p ON p.id = n.parameter_id"
    " UNION SELECT f.library_id, n.language FROM family_name n"
    " JOIN family f ON f.id = n.family_id"
    " ORDER BY 1, 2";

std::wstring Wide(const Statement& row, int column) {
    return VardelCommon::FromUtf8(row.ColumnText(column));
}

std::size_t Count(const Statement& row, int column) {
    const std::int64_t value = row.ColumnInt(column);
    return value > 0 ? static_cast<std::size_t>(value) : 0;
}

LibrarySummary ReadLibrary(const Statement& row) {
    LibrarySummary library;
    library.name = Wide(row, 1);
    const std::optional<Vardel::Guid> guid = Vardel::Guid::Parse(Wide(row, 2));
    if (!guid) {
        throw DatabaseError("library \"" + std::string(row.ColumnText(1)) + "\" has no valid id");
    }
    library.guid = *guid;
    library.defaultLanguage = Wide(row, 3);
    library.restricted = row.ColumnInt(4) != 0;
    library.families = Count(row, 5);
    library.members = Count(row, 6);
    return library;
}

// Runs `sql` and appends column 1 of each row to the list `member` of the
// library whose row id is column 0; rows of unknown libraries are ignored.
void AttachTexts(Database& database, std::string_view sql,
                 const std::map<std::int64_t, LibrarySummary*>& byId,
                 std::vector<std::wstring> LibrarySummary::*member) {
    const std::unique_ptr<Statement> statement = database.Prepare(sql);
    while (statement->Step()) {
        const auto library = byId.find(statement->ColumnInt(0));
        if (library != byId.end()) {
            (library->second->*member).push_back(Wide(*statement, 1));
        }
    }
}

}  // namespace

std::optional<std::string> ReadCatalogFormat(Database& database) {
    const std::unique_ptr<Statement> statement = database.Prepare(kFormat);
    statement->BindText(1, "format");
    if (!statement->Step()) {
        return std::nullopt;
    }
    return std::string(statement->ColumnText(0));
}

std::vector<LibrarySummary> ReadLibrarySummaries(Database& database) {
    std::vector<LibrarySummary> libraries;
    std::vector<std::int64_t> ids;
    const std::unique_ptr<Statement> statement = database.Prepare(kLibraries);
    while (statement->Step()) {
        ids.push_back(statement->ColumnInt(0));
        libraries.push_back(ReadLibrary(*statement));
    }
    std::map<std::int64_t, LibrarySummary*> byId;
    for (std::size_t i = 0; i < libraries.size(); ++i) {
        byId.emplace(ids[i], &libraries[i]);
    }
    AttachTexts(database, kReaders, byId, &LibrarySummary::readers);
    AttachTexts(database, kLanguages, byId, &LibrarySummary::languages);
    return libraries;
}

}  // namespace VardelCatalog
