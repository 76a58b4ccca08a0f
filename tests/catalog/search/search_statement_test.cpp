// The statement behind a search: values never reach its text, one statement
// (after the parameter lookup) answers a search, and the most selective
// indexed condition drives it.
#include <algorithm>

#include "catalog/search/search_fixture.h"
#include "service/catalog_search.h"

namespace VardelCatalogTest {
namespace {

using Op = QueryOperator;

// Forwards to the test catalogue and keeps the text of every statement.
class RecordingDatabase : public VardelCatalog::Database {
  public:
    std::unique_ptr<VardelCatalog::Statement> Prepare(std::string_view sql) override {
        statements.emplace_back(sql);
        return SearchTest::Database().Prepare(sql);
    }
    void Execute(std::string_view sql) override { SearchTest::Database().Execute(sql); }
    void Begin() override {}
    void Commit() override {}
    void Rollback() override {}

    std::vector<std::string> statements;
};

std::vector<std::string> Statements(const ContentQuery& query) {
    RecordingDatabase database;
    VardelCatalog::SearchLibrary(database, SearchTest::LibraryId(), query, true);
    return database.statements;
}

// The plan's steps of the last statement of `query`, as SQLite explains it.
std::vector<std::string> Plan(const ContentQuery& query) {
    const auto plan =
        SearchTest::Database().Prepare("EXPLAIN QUERY PLAN " + Statements(query).back());
    std::vector<std::string> steps;
    while (plan->Step()) {
        steps.emplace_back(plan->ColumnText(3));
    }
    return steps;
}

TEST_F(SearchTest, ValuesNeverReachTheStatementText) {
    const std::wstring hostile = L"x'; DROP TABLE member_value; --";
    const std::vector<std::string> statements = Statements(Query(
        {ValueIs(kNote, Op::Equal, {hostile}), ValueIs(kD, Op::Like, {L"O'Brien%"}),
         ValueIs(kD, Op::Less, {L"9"}, 1.5), Constraint(L"Category", Op::In, {L"') OR 1=1 --"}),
         Constraint(L"ObjectID", Op::NotEqual, {Id(kNut)})},
        {Returning(L"Value", L"evil_name", Id(kNote))}));
    ASSERT_EQ(2u, statements.size());
    for (const std::string& sql : statements) {
        for (const char* value : {"DROP", "O'Brien", "OR 1=1", "9", "1.5", "00c", "evil", "0000"}) {
            EXPECT_EQ(std::string::npos, sql.find(value)) << value << " in " << sql;
        }
    }
}

TEST_F(SearchTest, TheIndexedEqualityDrivesWhateverItsPlace) {
    const QueryConstraint equal = ValueIs(kD, Op::Equal, {L"8"});
    const QueryConstraint range = ValueIs(kL, Op::GreaterOrEqual, {L"30"});
    const QueryConstraint other = ValueIs(kSize, Op::NotEqual, {L"M6"});
    for (const ContentQuery& query : {Query({equal, range, other}), Query({other, range, equal}),
                                      Query({range, equal}, {Returning(L"Value", L"l", Id(kL))})}) {
        const std::vector<std::string> steps = Plan(query);
        ASSERT_FALSE(steps.empty());
        EXPECT_NE(std::string::npos,
                  steps.front().find("member_value_by_number (parameter_id=? AND number_value=?)"))
            << steps.front();
        EXPECT_EQ(0, std::count_if(steps.begin(), steps.end(), [](const std::string& step) {
                      return step.rfind("SCAN", 0) == 0;
                  }));
    }
}

// The text index holds only the texts without a number; a text equality, and
// any text comparison on a parameter without numbers, still walk it.
TEST_F(SearchTest, TextConditionsDriveThroughTheTextIndex) {
    for (const QueryConstraint& text :
         {ValueIs(kD, Op::Equal, {L"abc"}), ValueIs(kSize, Op::Like, {L"M1%"}),
          ValueIs(kSize, Op::Less, {L"M8"})}) {
        const std::vector<std::string> steps = Plan(Query({text}));
        ASSERT_FALSE(steps.empty());
        EXPECT_NE(std::string::npos,
                  steps.front().find("USING COVERING INDEX member_value_by_text (parameter_id=?"))
            << steps.front();
    }
}

// 16 value conditions with 200 values in all, 40 returned parameters.
ContentQuery LargestQuery() {
    std::vector<QueryConstraint> constraints(15, ValueIs(kD, Op::NotEqual, {L"7"}));
    constraints.push_back(ValueIs(kD, Op::Less, std::vector<std::wstring>(185, L"8")));
    std::vector<QueryReturn> returns;
    for (unsigned i = 0; i < 40; ++i) {
        returns.push_back(Returning(L"Value", L"p" + std::to_wstring(i), Id(kFirstSpare + i)));
    }
    return Query(constraints, returns);
}

TEST_F(SearchTest, TheLargestQueryRunsAndALargerOneIsRefused) {
    const std::vector<std::wstring> rows = Rows(LargestQuery());
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(L"200 p0= p1=", rows[0].substr(0, 11));
    ContentQuery query = LargestQuery();
    query.constraintFields->push_back(ValueIs(kL, Op::Equal, {}));
    EXPECT_EQ(1u, Rows(query).size());
    query.constraintFields->back().values = {L"20"};
    EXPECT_THROW(Answer(query), TarnServerProxies::ProxyError);
    query = LargestQuery();
    query.constraintFields->back().values->push_back(L"9");
    EXPECT_THROW(Answer(query), TarnServerProxies::ProxyError);
    query = LargestQuery();
    query.returnFields->push_back(Returning(L"Value", L"more", Id(kL)));
    EXPECT_THROW(Answer(query), TarnServerProxies::ProxyError);
}

}  // namespace
}  // namespace VardelCatalogTest
