// The shared catalogue of the search tests, written once per run into a
// scratch folder and opened read-only, and the helpers that turn answers into
// short texts.
#include "catalog/search/search_fixture.h"

#include "catalog/support/catalog_builder.h"
#include "service/catalog_search.h"
#include "store/sqlite_database.h"
#include "support/temp_folder.h"
#include "vardel/xml_parser.h"

namespace VardelCatalogTest {
namespace {

TempFolder* folder = nullptr;
VardelCatalog::Database* database = nullptr;
std::int64_t mainId = 0;
std::int64_t secondId = 0;

TestLibrary MainLibrary() {
    TestLibrary main{Library(L"Main", 1), {}};
    main.library.parameters = {Parameter(kD, L"d"), Parameter(kL, L"l"),
                               Parameter(kSize, L"size", L"string"),
                               Parameter(kNote, L"note", L"string")};
    for (unsigned spare = kFirstSpare; spare < kFirstSpare + 40; ++spare) {
        main.library.parameters.push_back(Parameter(spare, L"spare"));
    }
    main.library.categories = {Category(kFasteners, L"Fasteners",
                                        {Category(kScrews, L"Screws", {Category(kHex, L"Hex")}),
                                         Category(kNuts, L"Nuts")}),
                               Category(kOther, L"Other")};
    FamilySource hexScrew = Family(kHexScrew, L"Hex screw", {kHex});
    AddTable(
        hexScrew, {L"size", L"d", L"l"}, {kSize, kD, kL},
        {{L"M6", L"6", L"20"}, {L"M8", L"8", L"30"}, {L"M8", L"8", L"40"}, {L"M10", L"10", L"50"}});
    FamilySource screw = Family(kScrew, L"Screw", {kScrews});
    AddTable(screw, {L"size", L"d", L"l"}, {kSize, kD, kL},
             {{L"M8", L"8.0", L"35"}, {L"X", L"abc", L"25"}});
    FamilySource nut = Family(kNut, L"Nut", {kNuts});
    AddTable(nut, {L"size", L"d"}, {kSize, kD}, {{L"M8", L"8"}, {L"M12", L"12"}});
    FamilySource odd = Family(kOddTexts, L"Odd texts", {kOther});
    std::vector<std::vector<std::wstring>> notes;
    for (const std::wstring& note : kOddNotes) {
        notes.push_back({note});
    }
    AddTable(odd, {L"note"}, {kNote}, notes);
    main.families = {hexScrew, screw, nut, odd};
    return main;
}

TestLibrary SecondLibrary() {
    TestLibrary second{Library(L"Second", 2), {}};
    second.library.parameters = {Parameter(kD, L"d")};
    second.library.categories = {
        Category(kFasteners, L"Fasteners", {Category(kSecondOnly, L"Second only")})};
    FamilySource nut = Family(kSecondNut, L"Second nut", {kSecondOnly});
    AddTable(nut, {L"d"}, {kD}, {{L"8"}});
    second.families = {nut};
    return second;
}

std::int64_t FindLibrary(const std::string& name) {
    return std::stoll(
        QueryRows(*database, "SELECT id FROM library WHERE name = '" + name + "'", 1).at(0));
}

std::wstring RowText(const XMLNode& row) {
    std::vector<std::wstring> names;
    row.GetProperties(names);
    std::wstring text;
    for (const std::wstring& name : names) {
        std::wstring value;
        row.GetProperty(name.c_str(), value);
        // Family ids become their node numbers.
        text += name == L"FamilyId" ? std::to_wstring(std::stoul(value.substr(24), nullptr, 16))
                                    : L" " + name + L"=" + value;
    }
    return text;
}

}  // namespace

const std::vector<std::wstring> kOddNotes = {
    L"O'Brien",     L"50%",         L"a_b",        L"x'; DROP TABLE member_value; --",
    L"<&>\"\t\r\n", L"back\\slash", L"Mixed Case", std::wstring(L"ctl\x01") + L"\xFFFE" + L"end",
};

std::wstring Id(unsigned n) {
    return TestGuid(n).ToString();
}

QueryConstraint Constraint(std::wstring property, QueryOperator op,
                           std::vector<std::wstring> values) {
    QueryConstraint constraint;
    constraint.property = std::move(property);
    constraint.operator_ = op;
    constraint.values = std::move(values);
    return constraint;
}

QueryConstraint ValueIs(unsigned parameter, QueryOperator op, std::vector<std::wstring> values,
                        std::optional<double> tolerance) {
    QueryConstraint constraint = Constraint(L"Value", op, std::move(values));
    constraint.propertyAlias = Id(parameter);
    constraint.tolerance = tolerance;
    return constraint;
}

QueryReturn Returning(std::wstring property, std::optional<std::wstring> returnAs,
                      std::optional<std::wstring> alias) {
    QueryReturn field;
    field.property = std::move(property);
    field.returnAs = std::move(returnAs);
    field.propertyAlias = std::move(alias);
    return field;
}

ContentQuery Query(std::vector<QueryConstraint> constraints, std::vector<QueryReturn> returns) {
    ContentQuery query;
    if (!constraints.empty()) {
        query.constraintFields = std::move(constraints);
    }
    if (!returns.empty()) {
        query.returnFields = std::move(returns);
    }
    return query;
}

void SearchTest::SetUpTestSuite() {
    folder = new TempFolder;
    const auto file =
        WriteCatalog(folder->path() / "search.catalog", {MainLibrary(), SecondLibrary()});
    database = VardelCatalog::OpenSqliteDatabase(file).release();
    mainId = FindLibrary("Main");
    secondId = FindLibrary("Second");
}

void SearchTest::TearDownTestSuite() {
    delete database;
    delete folder;
}

std::wstring SearchTest::Answer(const ContentQuery& query, bool recursive, bool second) {
    return VardelCatalog::SearchLibrary(*database, LibraryId(second), query, recursive);
}

std::vector<std::wstring> SearchTest::Rows(const ContentQuery& query, bool recursive, bool second) {
    XMLParser answer(Answer(query, recursive, second).c_str());
    XMLNodeArray rows;
    EXPECT_TRUE(answer.GetRootNode().GetChildNodes(L"row", rows));
    std::vector<std::wstring> texts;
    for (int i = 0; i < rows.GetSize(); ++i) {
        texts.push_back(RowText(rows[i]));
    }
    return texts;
}

std::wstring SearchTest::Members(std::vector<QueryConstraint> constraints, bool second) {
    std::wstring members;
    for (std::wstring row :
         Rows(Query(std::move(constraints), {Returning(L"RowID", L"R")}), false, second)) {
        members += (members.empty() ? L"" : L" ") + row.replace(row.find(L" R="), 3, L"/");
    }
    return members;
}

VardelCatalog::Database& SearchTest::Database() {
    return *database;
}

std::int64_t SearchTest::LibraryId(bool second) {
    return second ? secondId : mainId;
}

}  // namespace VardelCatalogTest
