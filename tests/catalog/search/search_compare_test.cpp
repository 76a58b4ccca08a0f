// Comparisons of member values: each operator on numbers and on texts, a
// value that is not a number on either side, tolerance boundaries, IN and
// LIKE, and values that look like SQL or LIKE syntax matched as they stand.
#include "catalog/search/search_fixture.h"

namespace VardelCatalogTest {
namespace {

using Op = QueryOperator;

struct CompareCase {
    const char* name;
    QueryConstraint constraint;
    const wchar_t* members;
};

void PrintTo(const CompareCase& c, std::ostream* out) {
    *out << c.name;
}

std::string CaseName(const ::testing::TestParamInfo<CompareCase>& param) {
    return param.param.name;
}

class SearchCompareTest : public SearchTest, public ::testing::WithParamInterface<CompareCase> {};

TEST_P(SearchCompareTest, FindsTheMatchingMembersInFamilyThenRowOrder) {
    EXPECT_EQ(GetParam().members, Members({GetParam().constraint}));
}

// d holds 6 8 8 10 | 8.0 abc | 8 12; size M6 M8 M8 M10 | M8 X | M8 M12.
const CompareCase kNumberCases[] = {
    {"EqualComparesNumbers", ValueIs(kD, Op::Equal, {L"8"}), L"200/r1 200/r2 201/r0 202/r0"},
    {"EqualReadsTheValueAsANumber", ValueIs(kD, Op::Equal, {L"8.000"}),
     L"200/r1 200/r2 201/r0 202/r0"},
    {"NotEqualKeepsTextsThatDiffer", ValueIs(kD, Op::NotEqual, {L"8"}),
     L"200/r0 200/r3 201/r1 202/r1"},
    {"LessComparesNumbersAndStoredTextsAsTexts", ValueIs(kD, Op::Less, {L"8"}), L"200/r0"},
    {"LessOrEqual", ValueIs(kD, Op::LessOrEqual, {L"8"}), L"200/r0 200/r1 200/r2 201/r0 202/r0"},
    {"GreaterIsNumericSo10And12Count", ValueIs(kD, Op::Greater, {L"8"}), L"200/r3 201/r1 202/r1"},
    {"GreaterOrEqualIncludesTheBound", ValueIs(kD, Op::GreaterOrEqual, {L"10"}),
     L"200/r3 201/r1 202/r1"},
    {"InMatchesAnyValue", ValueIs(kD, Op::In, {L"6", L"12"}), L"200/r0 202/r1"},
    {"ANonNumberComparesWithEveryText", ValueIs(kD, Op::Equal, {L"abc"}), L"201/r1"},
    {"ANonNumberOrdersByText", ValueIs(kD, Op::Less, {L"8.0x"}),
     L"200/r0 200/r1 200/r2 200/r3 201/r0 202/r0 202/r1"},
    {"AnInfiniteValueComparesAsText", ValueIs(kD, Op::Less, {L"1e999"}), L"200/r3 202/r1"},
};
INSTANTIATE_TEST_SUITE_P(Numbers, SearchCompareTest, ::testing::ValuesIn(kNumberCases), CaseName);

const CompareCase kTextCases[] = {
    {"EqualIsExact", ValueIs(kSize, Op::Equal, {L"M8"}), L"200/r1 200/r2 201/r0 202/r0"},
    {"EqualMindsCase", ValueIs(kSize, Op::Equal, {L"m8"}), L""},
    {"NotEqual", ValueIs(kSize, Op::NotEqual, {L"M8"}), L"200/r0 200/r3 201/r1 202/r1"},
    {"LessIsByteOrder", ValueIs(kSize, Op::Less, {L"M8"}), L"200/r0 200/r3 202/r1"},
    {"ANumberAgainstStoredTextsComparesTexts", ValueIs(kSize, Op::GreaterOrEqual, {L"9"}),
     L"200/r0 200/r1 200/r2 200/r3 201/r0 201/r1 202/r0 202/r1"},
    {"LikePercentIgnoringCase", ValueIs(kSize, Op::Like, {L"m1%"}), L"200/r3 202/r1"},
    {"LikeUnderscoreIsOneCharacter", ValueIs(kSize, Op::Like, {L"M_"}),
     L"200/r0 200/r1 200/r2 201/r0 202/r0"},
    {"LikeReadsStoredNumbersAsTexts", ValueIs(kD, Op::Like, {L"8%"}),
     L"200/r1 200/r2 201/r0 202/r0"},
};
INSTANTIATE_TEST_SUITE_P(Texts, SearchCompareTest, ::testing::ValuesIn(kTextCases), CaseName);

const CompareCase kToleranceCases[] = {
    {"ZeroIsExact", ValueIs(kD, Op::Equal, {L"8"}, 0.0), L"200/r1 200/r2 201/r0 202/r0"},
    {"BothBoundsCount", ValueIs(kD, Op::Equal, {L"9"}, 1.0), L"200/r1 200/r2 200/r3 201/r0 202/r0"},
    {"JustShortOfTheBounds", ValueIs(kD, Op::Equal, {L"9"}, 0.999), L""},
    {"NotEqualKeepsWhatLiesOutside", ValueIs(kD, Op::NotEqual, {L"8"}, 2.0), L"201/r1 202/r1"},
    {"ATextValueIgnoresIt", ValueIs(kD, Op::Equal, {L"abc"}, 5.0), L"201/r1"},
    {"OverlappingInRangesGiveEachMemberOnce", ValueIs(kD, Op::In, {L"7", L"9"}, 1.0),
     L"200/r0 200/r1 200/r2 200/r3 201/r0 202/r0"},
    {"NegativeMatchesNothing", ValueIs(kD, Op::Equal, {L"8"}, -1.0), L""},
};
INSTANTIATE_TEST_SUITE_P(Tolerance, SearchCompareTest, ::testing::ValuesIn(kToleranceCases),
                         CaseName);

// The notes of family 203, rows r0 to r7 (kOddNotes).
const CompareCase kLiteralCases[] = {
    {"QuoteInAnEqualValue", ValueIs(kNote, Op::Equal, {L"O'Brien"}), L"203/r0"},
    {"SqlInAValue", ValueIs(kNote, Op::Equal, {L"x'; DROP TABLE member_value; --"}), L"203/r3"},
    {"SqlInAnInList", ValueIs(kNote, Op::In, {L"') OR 1=1 --", L"a_b"}), L"203/r2"},
    {"QuoteInAPattern", ValueIs(kNote, Op::Like, {L"%'%"}), L"203/r0 203/r3"},
    {"PercentSignInAnEqualValueIsNoWildcard", ValueIs(kNote, Op::Equal, {L"5%"}), L""},
    {"UnderscoreIsAWildcard", ValueIs(kNote, Op::Like, {L"a_b"}), L"203/r2"},
    {"BackslashIsNoEscape", ValueIs(kNote, Op::Like, {L"back\\slash"}), L"203/r5"},
    {"BackslashEscapesNoWildcard", ValueIs(kNote, Op::Like, {L"back\\_lash"}), L"203/r5"},
    {"BackslashEscapesNoPercent", ValueIs(kNote, Op::Like, {L"%\\%"}), L"203/r5"},
    {"LikeIgnoresAsciiCase", ValueIs(kNote, Op::Like, {L"mIXED cASE"}), L"203/r6"},
};
INSTANTIATE_TEST_SUITE_P(Literals, SearchCompareTest, ::testing::ValuesIn(kLiteralCases), CaseName);

TEST_F(SearchTest, AllValueConstraintsMustHold) {
    EXPECT_EQ(L"200/r2 201/r0",
              Members({ValueIs(kD, Op::Equal, {L"8"}), ValueIs(kL, Op::GreaterOrEqual, {L"35"})}));
    // Members without l (family 202) fail any condition on it, != included.
    EXPECT_EQ(L"200/r0 200/r3 201/r1",
              Members({ValueIs(kD, Op::NotEqual, {L"8"}), ValueIs(kL, Op::NotEqual, {L"0"})}));
    EXPECT_EQ(L"200/r2", Members({ValueIs(kD, Op::Like, {L"8"}), ValueIs(kL, Op::Greater, {L"30"}),
                                  ValueIs(kSize, Op::In, {L"M8", L"M10"})}));
}

TEST_F(SearchTest, SearchesOnlyTheGivenLibrary) {
    EXPECT_EQ(L"300/r0", Members({ValueIs(kD, Op::Equal, {L"8"})}, true));
    EXPECT_EQ(L"", Members({ValueIs(kD, Op::Equal, {L"8"}),
                            Constraint(L"ObjectID", Op::Equal, {Id(300)})}));
}

TEST_F(SearchTest, AnUnknownParameterMatchesNothing) {
    EXPECT_EQ(L"<results></results>", Answer(Query({ValueIs(999, Op::NotEqual, {L"1"})})));
    EXPECT_EQ(L"<results></results>",
              Answer(Query({ValueIs(kL, Op::Equal, {L"20"}), ValueIs(kNote, Op::Like, {L"%"})})));
    QueryConstraint noAlias = ValueIs(kD, Op::Equal, {L"8"});
    noAlias.propertyAlias.reset();
    EXPECT_EQ(L"", Members({noAlias}));
    // The family's own parameter id in the other library is no parameter here.
    EXPECT_EQ(L"", Members({ValueIs(kL, Op::Equal, {L"20"})}, true));
}

}  // namespace
}  // namespace VardelCatalogTest
