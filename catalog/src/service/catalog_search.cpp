// The search runs in three steps: the query is read (and refused when it
// cannot be answered) before anything touches the database, the store runs
// one statement, and each hit is written as a row as it is stepped.
#include "service/catalog_search.h"

#include "service/search_answer.h"
#include "service/search_query.h"
#include "store/search_statement.h"

namespace VardelCatalog {
namespace {

std::string_view ReturnValue(const SearchReturn& field, const Statement& hit) {
    switch (field.kind) {
        case SearchReturn::Kind::FamilyId:
            return hit.ColumnText(kFamilyIdColumn);
        case SearchReturn::Kind::RowId:
            return hit.ColumnText(kRowIdColumn);
        case SearchReturn::Kind::Value:
            break;
    }
    const int column = kFirstReturnColumn + static_cast<int>(field.parameter);
    return hit.IsNull(column) ? std::string_view() : hit.ColumnText(column);
}

}  // namespace

std::wstring SearchLibrary(Database& database, std::int64_t libraryId,
                           const TarnServerProxies::Content::ContentQuery& query, bool recursive) {
    const SearchPlan plan = ReadSearchQuery(query, libraryId, recursive);
    SearchAnswer answer;
    if (const std::unique_ptr<Statement> hits = PrepareSearch(database, plan.request)) {
        while (hits->Step()) {
            answer.BeginRow(hits->ColumnText(kFamilyIdColumn));
            for (const SearchReturn& field : plan.returns) {
                answer.Attribute(field.name, ReturnValue(field, *hits));
            }
            answer.EndRow();
        }
    }
    return answer.Finish();
}

}  // namespace VardelCatalog
