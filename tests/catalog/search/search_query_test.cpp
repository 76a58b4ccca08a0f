// What a search answers: categories (with and without sub-categories) and
// family ids as constraints, member and family hits, the returned
// attributes, the shape the distinct values of a parameter are asked in,
// and the queries that are refused.
#include <set>

#include "catalog/search/search_fixture.h"
#include "common/case_fold.h"
#include "service/catalog_search.h"
#include "vardel/xml_parser.h"

namespace VardelCatalogTest {
namespace {

using Op = QueryOperator;
using Strings = std::vector<std::wstring>;
using TarnServerProxies::ProxyError;

// The family numbers of the answer, one per row.
Strings Families(const ContentQuery& query, bool recursive = false) {
    Strings families;
    for (const std::wstring& row : SearchTest::Rows(query, recursive)) {
        families.push_back(row.substr(0, row.find(L' ')));
    }
    return families;
}

std::wstring Braced(unsigned n) {
    return L"{" + VardelCommon::ToUpper(Id(n)) + L"}";
}

struct FieldCase {
    Op op;
    Strings values;
    bool recursive;
    Strings families;
};

void ExpectFamilies(const wchar_t* field, const std::vector<FieldCase>& cases) {
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.values) + (c.recursive ? " recursive" : ""));
        EXPECT_EQ(c.families, Families(Query({Constraint(field, c.op, c.values)}), c.recursive));
    }
}

TEST_F(SearchTest, CategoriesSelectTheirFamilies) {
    ExpectFamilies(L"Category",
                   {
                       {Op::Equal, {Id(kScrews)}, false, {L"201"}},
                       {Op::Equal, {Id(kScrews)}, true, {L"200", L"201"}},
                       {Op::Equal, {Id(kFasteners)}, false, {}},
                       {Op::Equal, {Id(kFasteners)}, true, {L"200", L"201", L"202"}},
                       {Op::In, {Id(kHex), Id(kNuts)}, false, {L"200", L"202"}},
                       {Op::Equal, {Braced(kNuts)}, false, {L"202"}},
                       {Op::NotEqual, {Id(kScrews)}, true, {L"202", L"203"}},
                       {Op::NotEqual, {Id(kScrews)}, false, {L"200", L"202", L"203"}},
                       {Op::Equal, {L"not a guid"}, true, {}},
                       {Op::Equal, {Id(kSecondOnly)}, true, {}},  // a category of library Second
                   });
    QueryConstraint single = Constraint(L"Category", Op::Equal, {});
    single.values.reset();
    single.value = Id(kNuts);
    EXPECT_EQ((Strings{L"202"}), Families(Query({single})));
    // Second shares the GUID of Fasteners; each library reads its own tree.
    EXPECT_EQ((Strings{L"300"}),
              Rows(Query({Constraint(L"Category", Op::Equal, {Id(kFasteners)})}), true, true));
}

TEST_F(SearchTest, ObjectIdComparesTheFamilyId) {
    ExpectFamilies(L"ObjectID",
                   {
                       {Op::Equal, {Braced(kScrew)}, false, {L"201"}},
                       {Op::In, {Id(kNut), Id(kHexScrew), Id(kSecondNut)}, false, {L"200", L"202"}},
                       {Op::NotEqual, {Id(kScrew), Id(kNut)}, false, {L"200", L"203"}},
                       {Op::Like, {L"%C9"}, false, {L"201"}},
                       {Op::Less, {Id(kNut)}, false, {L"200", L"201"}},
                       {Op::Equal, {L"201"}, false, {}},
                   });
}

TEST_F(SearchTest, CategoryAndValueConstraintsCombine) {
    EXPECT_EQ(L"201/r0", Members({Constraint(L"Category", Op::Equal, {Id(kScrews)}),
                                  ValueIs(kD, Op::Equal, {L"8"})}));
    EXPECT_EQ(L"202/r0", Members({ValueIs(kD, Op::Equal, {L"8"}),
                                  Constraint(L"Category", Op::NotEqual, {Id(kScrews)}),
                                  Constraint(L"ObjectID", Op::NotEqual, {Id(kHexScrew)})}));
}

TEST_F(SearchTest, FamilyHitsUnlessAMemberIsConstrainedOrReturned) {
    const QueryReturn family = Returning(L"ObjectID", L"F");
    EXPECT_EQ(L"<results><row FamilyId=\"" + Id(kNut) + L"\" F=\"" + Id(kNut) + L"\"/></results>",
              Answer(Query({Constraint(L"Category", Op::Equal, {Id(kNuts)})}, {family})));
    // Without returnAs a return is left out, and asks for no member.
    EXPECT_EQ(L"<results><row FamilyId=\"" + Id(kNut) + L"\"/></results>",
              Answer(Query({Constraint(L"Category", Op::Equal, {Id(kNuts)})},
                           {Returning(L"RowID", std::nullopt), Returning(L"Value", {}, Id(kD))})));
    // A value constraint without a value constrains nothing.
    EXPECT_EQ((Strings{L"200", L"201", L"202", L"203"}),
              Families(Query({ValueIs(kD, Op::Equal, {})})));
    EXPECT_EQ((Strings{L"202 d=8", L"202 d=12"}),
              Rows(Query({Constraint(L"Category", Op::Equal, {Id(kNuts)})},
                         {Returning(L"Value", L"d", Id(kD))})));
}

TEST_F(SearchTest, ReturnsWriteTheirAttributesInQueryOrder) {
    const ContentQuery query =
        Query({ValueIs(kD, Op::GreaterOrEqual, {L"10"})},
              {Returning(L"Value", L"len", Id(kL)), Returning(L"ObjectID", L"fam"),
               Returning(L"Value", L"dia", Braced(kD)), Returning(L"RowID", L"row"),
               Returning(L"Value", L"again", Id(kL)), Returning(L"Value", L"none", Id(999)),
               Returning(L"Value", L"noAlias")});
    const Strings rows = Rows(query);
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ(L"200 len=50 fam=" + Id(kHexScrew) + L" dia=10 row=r3 again=50 none= noAlias=",
              rows[0]);
    EXPECT_EQ(L"201 len=25 fam=" + Id(kScrew) + L" dia=abc row=r1 again=25 none= noAlias=",
              rows[1]);
    // Family 202 has no l: the attribute is there, empty.
    EXPECT_EQ(L"202 len= fam=" + Id(kNut) + L" dia=12 row=r1 again= none= noAlias=", rows[2]);
    // Values of constrained parameters, whether the constraint drives or filters.
    EXPECT_EQ((Strings{L"200 l=40 d=8", L"201 l=35 d=8.0"}),
              Rows(Query({ValueIs(kD, Op::Equal, {L"8"}), ValueIs(kL, Op::NotEqual, {L"30"})},
                         {Returning(L"Value", L"l", Id(kL)), Returning(L"Value", L"d", Id(kD))})));
}

TEST_F(SearchTest, StoredTextsComeBackUnchangedOrReplaced) {
    const Strings rows =
        Rows(Query({ValueIs(kNote, Op::Like, {L"%"})}, {Returning(L"Value", L"note", Id(kNote))}));
    ASSERT_EQ(kOddNotes.size(), rows.size());
    for (std::size_t i = 0; i + 1 < kOddNotes.size(); ++i) {
        EXPECT_EQ(L"203 note=" + kOddNotes[i], rows[i]);
    }
    EXPECT_EQ(
        L"203 note=ctl\xFFFD\xFFFD"
        L"end",
        rows.back());
    EXPECT_NE(std::wstring::npos, Answer(Query({ValueIs(kNote, Op::Equal, {L"<&>\"\t\r\n"})},
                                               {Returning(L"Value", L"n", Id(kNote))}))
                                      .find(L"n=\"&lt;&amp;&gt;&quot;&#9;&#13;&#10;\""));
}

// The query the library sends to learn the values a parameter takes.
ContentQuery CatParamQuery(unsigned parameter) {
    QueryConstraint named = ValueIs(parameter, Op::Equal, {});
    named.values.reset();
    named.tag = L"A";
    QueryReturn value = Returning(L"Value", L"catParam", Id(parameter));
    value.referencedAs = L"catParam";
    QueryConstraint reference = ValueIs(parameter, Op::Equal, {});
    reference.values.reset();
    reference.tag = L"constraintTag1";
    reference.valueReference = L"catParam";
    return Query({reference, named}, {value});
}

// The non-empty "catParam" values of the answer, as the library collects
// them, after the number of rows.
std::wstring CatParamValues(unsigned parameter, bool second = false) {
    XMLParser answer(SearchTest::Answer(CatParamQuery(parameter), false, second).c_str());
    XMLNodeArray rows;
    EXPECT_TRUE(answer.GetRootNode().SelectChildNodes(L"/results/row", rows));
    std::set<std::wstring> values;
    for (int i = 0; i < rows.GetSize(); ++i) {
        std::wstring value;
        EXPECT_TRUE(rows[i].GetProperty(L"catParam", value));
        values.insert(value);
    }
    std::wstring text = std::to_wstring(rows.GetSize()) + L":";
    for (const std::wstring& value : values) {
        text += value.empty() ? L"" : L" " + value;
    }
    return text;
}

TEST_F(SearchTest, CatParamShapeGivesEveryMembersValue) {
    EXPECT_EQ(L"16: 10 12 6 8 8.0 abc", CatParamValues(kD));
    EXPECT_EQ(L"1: 8", CatParamValues(kD, true));
    EXPECT_EQ(L"16:", CatParamValues(999));
}

TEST_F(SearchTest, RefusesQueriesItCannotAnswer) {
    QueryConstraint noField = ValueIs(kD, Op::Equal, {L"8"});
    noField.property.reset();
    QueryConstraint color = ValueIs(kD, Op::Equal, {L"8"});
    color.property = L"Color";
    const ContentQuery refused[] = {
        Query({noField}),
        Query({color}),
        Query({ValueIs(kD, static_cast<Op>(99), {})}),
        Query({Constraint(L"Category", Op::Like, {Id(kNuts)})}),
        Query({}, {Returning(L"Color", L"c")}),
        Query({}, {Returning(L"RowID", L"FamilyId")}),
        Query({}, {Returning(L"RowID", L"x\"/><evil")}),
        Query({}, {Returning(L"RowID", L"r"), Returning(L"Value", L"r", Id(kD))}),
    };
    for (const ContentQuery& query : refused) {
        EXPECT_THROW(Answer(query), ProxyError);
    }
}

}  // namespace
}  // namespace VardelCatalogTest
