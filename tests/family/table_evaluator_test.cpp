// CTableEvaluator over small families and the scripted provider: what the
// provider is handed (exact texts and units), the value each cell type ends
// with, the result codes of bad formulas, circular chains, ranges, materials
// and decimal separators.
#include "vardel/table_evaluator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "family/support/family_xml.h"
#include "family/support/scripted_provider.h"
#include "vardel/family.h"
#include "vardel/family_column.h"
#include "vardel/family_table.h"

namespace {

using FamilyTest::Column;
using FamilyTest::ProviderCall;
using FamilyTest::ScriptedProvider;
using E = CTableEvaluator;
using Outcome = std::pair<E::EvaluateResult, std::wstring>;
constexpr auto kText = DataTypes::String;
constexpr auto kReal = DataTypes::Real;
constexpr auto kInteger = DataTypes::Integer;
constexpr auto kLogical = DataTypes::Boolean;
constexpr auto kRange = DataTypes::RangeFormula;
constexpr auto kExpression = DataTypes::ExpressionFormula;

// A column of `type` ("double", "integer", "string", "boolean") with an
// optional unit, formula and custom flag.
Column Col(const std::wstring& id, const std::wstring& type, const std::wstring& unit = L"",
           const std::wstring& formula = L"", bool custom = false) {
    Column column{id, {{L"ValueType", type}}};
    if (!unit.empty()) {
        column.attributes.emplace_back(L"UnitType", unit);
    }
    if (!formula.empty()) {
        column.attributes.emplace_back(L"ColumnwideValue", formula);
    }
    if (custom) {
        column.attributes.emplace_back(L"Custom", L"true");
    }
    return column;
}

class TableEvaluatorTest : public testing::Test {
  protected:
    // Opens a family of `columns` and one row "r" with `cells`.
    void Open(std::vector<Column> columns, FamilyTest::Attributes cells = {}, bool localize = false,
              bool withProvider = true) {
        FamilyTest::FamilyXml xml;
        xml.columns = std::move(columns);
        xml.rows = {{L"r", std::move(cells)}};
        provider_ = withProvider ? new ScriptedProvider() : nullptr;
        family_ = std::make_unique<CEncapFamily>(xml.Build().c_str(), std::vector<std::wstring>{},
                                                 L"", provider_, L"en-US", localize);
        table_ = family_->GetEncapFamilyTable();
        ASSERT_NE(table_, nullptr);
        evaluator_ = table_->GetEvaluator();
    }

    // The value of row "r" in `column`, with its result code.
    Outcome Value(const std::wstring& column) {
        std::wstring value;
        const E::EvaluateResult result = table_->GetValue(L"r", column, value);
        return {result, value};
    }

    E::EvaluateResult Check(const wchar_t* formula, DataTypes::ColumnDataType dataType,
                            const std::wstring& unit = L"",
                            DataTypes::ColumnFormulaType type = kExpression) {
        return table_->CheckFormulaSyntax(formula, type, dataType, unit);
    }

    Outcome Formula(const wchar_t* formula, DataTypes::ColumnDataType dataType,
                    const std::wstring& unit, DataTypes::ColumnFormulaType type = kExpression) {
        std::wstring value = L"untouched";
        const E::EvaluateResult result =
            table_->Evaluate(formula, type, dataType, L"r", unit, value);
        return {result, value};
    }

    void Script(const std::wstring& expression, const std::wstring& unit, double value,
                HRESULT status = S_OK) {
        provider_->answers[{expression, unit}] = {status, value};
    }

    // The calls of one kind as "text unit" (and " to-unit" for conversions),
    // joined by "; ".
    std::wstring Handed(ProviderCall::Operation operation = ProviderCall::Evaluate) const {
        std::wstring joined;
        for (const ProviderCall& call : provider_->CallsOf(operation)) {
            joined += joined.empty() ? L"" : L"; ";
            joined += call.text + L' ' + call.unit;
            joined += call.toUnit.empty() ? L"" : L' ' + call.toUnit;
        }
        return joined;
    }

    ScriptedProvider* provider_ = nullptr;
    std::unique_ptr<CEncapFamily> family_;
    CEncapFamilyTable* table_ = nullptr;
    CTableEvaluator* evaluator_ = nullptr;
};

TEST_F(TableEvaluatorTest, CircularChainsAnswerOneAlongTheChainAndMissingColumnsSeven) {
    Open({Col(L"A", L"double", L"", L"{B}"), Col(L"B", L"double", L"", L"{A}"),
          Col(L"C", L"double", L"", L"{A}+1"), Col(L"S", L"double", L"", L"{S}*2"),
          Col(L"D", L"double", L"", L"2+3"), Col(L"E", L"double", L"", L"{}"),
          Col(L"M", L"double", L"", L"{Missing}+1")});
    Script(L"2+3", L"ul", 5.0);
    EXPECT_EQ(Value(L"C"), Outcome(E::CircularReference, L""));
    EXPECT_EQ(table_->Evaluate(L"r", L"A", L"en-US"), E::CircularReference);
    EXPECT_EQ(table_->Evaluate(L"r", L"b", L"en-US"), E::CircularReference);
    EXPECT_EQ(Value(L"S").first, E::CircularReference);
    // References to columns that do not exist.
    EXPECT_EQ(Value(L"E").first, E::NoValue);
    EXPECT_EQ(Value(L"M").first, E::NoValue);
    // Nothing of the chains stays in progress.
    EXPECT_EQ(Value(L"D"), Outcome(E::Success, L"5"));
    EXPECT_EQ(Handed(), L"2+3 ul");
}

TEST_F(TableEvaluatorTest, UnbalancedBracesAreSyntaxErrorsEverywhere) {
    for (const wchar_t* formula : {L"{A", L"A}", L"x}{A}", L"{A}}", L"{{A}}", L"{A}+{"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(formula)));
        Open({Col(L"A", L"double"), Col(L"X", L"double")}, {{L"A", L"4"}, {L"X", formula}});
        EXPECT_EQ(Value(L"X").first, E::SyntaxError);
        EXPECT_EQ(Check(formula, kReal), E::SyntaxError);
        EXPECT_EQ(Formula(formula, kReal, L"cm"), Outcome(E::SyntaxError, L"untouched"));
        EXPECT_TRUE(provider_->calls.empty());
    }
}

TEST_F(TableEvaluatorTest, ParseFormulaSplitsLiteralsAndTrimmedReferences) {
    Open({Col(L"A", L"double")});
    const auto parse = [this](const wchar_t* formula) {
        CTableEvaluator::Tokens tokens{{true, L"stale"}};
        std::wstring shown = std::to_wstring(evaluator_->ParseFormula(formula, tokens));
        for (const CTableEvaluator::Token& token : tokens) {
            shown += token.isReference ? L" {" + token.text + L'}' : L" '" + token.text + L'\'';
        }
        return shown;
    };
    EXPECT_EQ(parse(L" {A}+{ b c }x"), L"0 ' ' {A} '+' {b c} 'x'");
    EXPECT_EQ(parse(L" {A}+{ b c }x"), L"0 ' ' {A} '+' {b c} 'x'");  // from the cache
    EXPECT_EQ(parse(L"2*3"), L"0 '2*3'");
    EXPECT_EQ(parse(L"{}"), L"0 {}");
    EXPECT_EQ(parse(L"{A"), L"1");
}

TEST_F(TableEvaluatorTest, ReferencedColumnsDirectAndTransitive) {
    Open({Col(L"A", L"double", L"", L"3"), Col(L"B", L"double", L"", L"{A}+1"),
          Col(L"C", L"double", L"", L"{B}*2"), Col(L"P", L"double", L"", L"{Q}"),
          Col(L"Q", L"double", L"", L"{P}")});
    CEncapFamilyColumn* a = table_->GetFamilyColumnByID(L"A");
    CEncapFamilyColumn* b = table_->GetFamilyColumnByID(L"B");
    CEncapFamilyColumn* c = table_->GetFamilyColumnByID(L"C");
    E::Columns columns;
    EXPECT_EQ(evaluator_->GetReferencedColumns(L"{a}+{ B }", columns), E::Success);
    EXPECT_EQ(columns, (E::Columns{a, b}));
    columns = {c};
    EXPECT_EQ(evaluator_->GetReferencedColumns(L"{A}+{Nope}", columns), E::UnknownReference);
    EXPECT_EQ(evaluator_->GetReferencedColumns(L"{}", columns), E::UnknownReference);
    EXPECT_EQ(evaluator_->GetReferencedColumns(L"A}", columns), E::SyntaxError);
    EXPECT_EQ(columns, (E::Columns{c}));

    columns.clear();
    EXPECT_EQ(evaluator_->GetAllReferencedColumns(L"{C}", columns), E::Success);
    EXPECT_EQ(columns, (E::Columns{a, b, c}));
    columns = {b};  // not followed again
    EXPECT_EQ(evaluator_->GetAllReferencedColumns(L"{C}", columns), E::Success);
    EXPECT_EQ(columns, (E::Columns{b, c}));
    columns.clear();  // a circle of formulas ends
    EXPECT_EQ(evaluator_->GetAllReferencedColumns(L"{P}", columns), E::Success);
    EXPECT_EQ(columns.size(), 2u);
}

TEST_F(TableEvaluatorTest, ReferencedNumbersCarryTheirUnitAndFallBackWithoutUnits) {
    Open({Col(L"Len", L"double", L"mm"), Col(L"X", L"double", L"mm", L"{Len}*2")},
         {{L"Len", L"10"}});
    Script(L"10*2", L"ul", 20.0);
    EXPECT_EQ(Value(L"X"), Outcome(E::UnitsStripped, L"20"));
    EXPECT_EQ(Handed(), L"10mm*2 mm; 10*2 ul");
    EXPECT_EQ(Handed(ProviderCall::DatabaseUnit), L"mm ");
    EXPECT_EQ(Handed(ProviderCall::Convert), L"");  // a unitless result is not converted
}

TEST_F(TableEvaluatorTest, ComputedValuesAreConvertedFromTheDatabaseUnitAndCached) {
    Open({Col(L"Len", L"double", L"mm"), Col(L"X", L"double", L"mm", L"{Len}*2"),
          Col(L"Y", L"double", L"cm", L"{Len}/3"), Col(L"N", L"integer", L"", L"3"),
          Col(L"Z", L"double", L"", L"{N}+1"), Col(L"G", L"double", L"in", L"1+1")},
         {{L"Len", L"10"}});
    Script(L"10mm*2", L"mm", 2.0);
    Script(L"10mm/3", L"cm", 1.0 / 3.0);
    Script(L"3ul+1", L"ul", 4.0);
    Script(L"1+1", L"in", 1234567.891);
    EXPECT_EQ(Value(L"X"), Outcome(E::Success, L"20"));
    EXPECT_EQ(Value(L"Y"), Outcome(E::Success, L"0.33333333"));
    EXPECT_EQ(Value(L"Z"), Outcome(E::Success, L"4"));
    provider_->factors[L"in"] = 1.0;
    EXPECT_EQ(Value(L"G"), Outcome(E::Success, L"1234567.9"));
    // Numbers reach the provider with every digit; only X and G needed
    // converting.
    EXPECT_EQ(Handed(ProviderCall::Convert), L"2 cm mm; 1234567.8910000001 cm in");
    const std::size_t calls = provider_->calls.size();
    EXPECT_EQ(Value(L"X"), Outcome(E::Success, L"20"));
    EXPECT_EQ(provider_->calls.size(), calls);
}

TEST_F(TableEvaluatorTest, ProviderFailuresGiveThree) {
    Open({Col(L"A", L"double", L"", L"1+"), Col(L"B", L"double", L"xyz", L"1+1"),
          Col(L"C", L"double", L"mm", L"1+1"), Col(L"R", L"double", L"", L"[1;10;1;5]"),
          Col(L"D", L"double", L"", L"{A}*2")});
    provider_->unknownUnits = {L"xyz"};
    Script(L"1+1", L"mm", 2.0);
    EXPECT_EQ(Value(L"A").first, E::ProviderFailure);
    EXPECT_EQ(Value(L"B").first, E::ProviderFailure);
    provider_->convertFailure = true;
    EXPECT_EQ(Value(L"C").first, E::ProviderFailure);
    // Range text of a column that is not custom is just a bad expression.
    EXPECT_EQ(Value(L"R").first, E::ProviderFailure);
    // A failing reference is passed on; D's own expression is never tried.
    provider_->calls.clear();
    EXPECT_EQ(Value(L"D").first, E::ProviderFailure);
    EXPECT_EQ(Handed(), L"1+ ul; 1+ ul");
}

TEST_F(TableEvaluatorTest, WithoutProviderOnlyPlainNumbersWork) {
    Open({Col(L"A", L"double", L"mm"), Col(L"B", L"integer", L"", L"-1,5e3"),
          Col(L"C", L"double", L"", L"1+1")},
         {{L"A", L"12.5"}}, false, false);
    EXPECT_EQ(Value(L"A"), Outcome(E::Success, L"12.5"));
    EXPECT_EQ(Value(L"B"), Outcome(E::Success, L"-1,5e3"));
    EXPECT_EQ(Value(L"C").first, E::ProviderFailure);
    EXPECT_EQ(Check(L"5", kReal), E::Success);
    EXPECT_EQ(Check(L"1+1", kReal), E::InvalidForColumn);
    // Range limits are their leading numbers.
    EXPECT_EQ(Check(L"[10;1;1;5]", kReal, L"", kRange), E::InvalidRange);
}

TEST_F(TableEvaluatorTest, TextJoinsLiteralsAndLogicalValuesAreRawOnlyInCustomColumns) {
    Open({Col(L"Size", L"double", L"mm"), Col(L"T", L"string", L"", L"\"M\" & {Size}"),
          Col(L"Custom", L"boolean", L"", L"yes", true), Col(L"Plain", L"boolean", L"", L"yes"),
          Col(L"No", L"boolean", L"", L" F ", true), Col(L"Bad", L"boolean", L"", L"maybe"),
          Col(L"Q", L"string", L"", L"\"say \"\"hi\"\"\" & \" there\""),
          Col(L"U", L"string", L"", L"{Size} & \"mm\""), Col(L"W", L"string", L"", L"&&"),
          Col(L"P", L"string", L"", L"\"a&b\" & c")},
         {{L"Size", L"8"}});
    EXPECT_EQ(Value(L"T"), Outcome(E::Success, L"M8"));
    EXPECT_EQ(Value(L"Q"), Outcome(E::Success, L"say \"hi\" there"));
    EXPECT_EQ(Value(L"U"), Outcome(E::Success, L"8mm"));
    EXPECT_EQ(Value(L"W"), Outcome(E::Success, L"&&"));   // no piece: the text stays
    EXPECT_EQ(Value(L"P"), Outcome(E::Success, L"abc"));  // "&" splits inside quotes too
    EXPECT_EQ(Value(L"Custom"), Outcome(E::Success, L"1"));
    EXPECT_EQ(Value(L"Plain"), Outcome(E::Success, L"yes"));
    EXPECT_EQ(Value(L"No"), Outcome(E::Success, L"0"));
    EXPECT_EQ(Value(L"Bad").first, E::InvalidForColumn);
    EXPECT_TRUE(provider_->calls.empty());
}

TEST_F(TableEvaluatorTest, CustomColumnsTakeTheRowsRangeValueOrTheRangeDefault) {
    Open({Col(L"D", L"double", L"mm", L"[1;10;1;5]", true),
          Col(L"M", L"double", L"mm", L"[2;10;1;]", true),
          Col(L"S", L"double", L"mm", L"[1;10;1;5]", true), Col(L"X", L"double", L"mm", L"{D}*2")});
    Script(L"5mm*2", L"mm", 1.0);
    EXPECT_EQ(Value(L"D"), Outcome(E::Success, L"5"));
    EXPECT_EQ(Value(L"M"), Outcome(E::Success, L"2"));
    EXPECT_EQ(Value(L"X"), Outcome(E::Success, L"10"));
    table_->GetFamilyRowByID(L"r")->SetRangeColumnValues({{L"s", L"7"}, {L"D", L"6"}});
    Script(L"6mm*2", L"mm", 1.2);
    EXPECT_EQ(Value(L"S"), Outcome(E::Success, L"7"));
    EXPECT_EQ(Value(L"X"), Outcome(E::Success, L"12"));
}

TEST_F(TableEvaluatorTest, MaterialColumnsShowTheMaterialName) {
    Open({Col(L"Mat", L"string", L"", L"steel"), Col(L"Other", L"string")},
         {{L"Other", L"unknown"}});
    table_->GetFamilyColumnByID(L"Mat")->SetColumnType(CEncapFamilyColumn::MaterialColumn);
    table_->GetFamilyColumnByID(L"Other")->SetColumnType(CEncapFamilyColumn::MaterialColumn);
    EXPECT_EQ(Value(L"Mat"), Outcome(E::Success, L"Steel"));
    EXPECT_EQ(Value(L"Other"), Outcome(E::Success, L""));
    EXPECT_EQ(Formula(L"brass", kText, L"", DataTypes::MaterialFormula),
              Outcome(E::Success, L"Brass"));
    EXPECT_EQ(Handed(ProviderCall::MaterialName), L"steel ; unknown ; brass ");
}

TEST_F(TableEvaluatorTest, LocalizedDecimalSeparatorRewritesNumericLiterals) {
    const std::vector<Column> columns = {
        Col(L"Len", L"double", L"mm"), Col(L"X", L"double", L"mm", L"{Len}+2,5"),
        Col(L"Y", L"double", L"mm", L"{Len}+2.5"), Col(L"Z", L"double", L"mm", L"{Len}*2.5")};
    Open(columns, {{L"Len", L"10"}}, true);
    Value(L"X");
    Value(L"Y");
    Value(L"Z");
    // Only a literal that is a number as a whole is rewritten.
    std::wstring expected =
        L"10mm+2_5 mm; 10+2_5 ul; 10mm+2_5 mm; 10+2_5 ul; 10mm*2.5 mm; 10*2.5 ul";
    std::replace(expected.begin(), expected.end(), L'_', family_->GetDecimalSeparator());
    EXPECT_EQ(Handed(), expected);
    Open(columns, {{L"Len", L"10"}}, false);
    Value(L"X");
    EXPECT_EQ(Handed(), L"10mm+2,5 mm; 10+2,5 ul");
}

TEST_F(TableEvaluatorTest, CheckFormulaSyntaxOfRanges) {
    Open({Col(L"A", L"double")});
    const std::vector<std::tuple<const wchar_t*, DataTypes::ColumnDataType, E::EvaluateResult>>
        cases = {
            {L"[10;1;1;5]", kReal, E::InvalidRange},
            {L"[1;10;20;5]", kReal, E::InvalidRange},
            {L"[1;10;1;11]", kReal, E::InvalidRange},
            {L"[1;10;1;0]", kInteger, E::InvalidRange},
            {L"[1;10;1;5]", kText, E::InvalidForColumn},
            {L"[0;1;;]", kLogical, E::UnknownReference},
            {L"[;;1;]", kLogical, E::UnknownReference},
            {L"[;;;1]", kLogical, E::Success},
            {L"[;;;yes]", kLogical, E::InvalidForColumn},
            {L"[1;10;9;10]", kReal, E::Success},
            {L"[1;10;;50]", kReal, E::Success},
            {L"[1;10;20;{A}]", kReal, E::Success},
            {L"[1;x;1;5]", kReal, E::InvalidForColumn},
            {L"[1;{B};1;5]", kReal, E::UnknownReference},
            {L"[1;10;1;5", kReal, E::InvalidRange},
            {L"5", kReal, E::InvalidRange},
        };
    for (const auto& [formula, dataType, expected] : cases) {
        EXPECT_EQ(Check(formula, dataType, L"mm", kRange), expected)
            << testing::PrintToString(std::wstring(formula)) << " as " << dataType;
    }
    EXPECT_EQ(Check(L"steel", kText, L"", DataTypes::MaterialFormula), E::UnknownReference);
}

TEST_F(TableEvaluatorTest, RangeLimitsAreEvaluatedUnitlessAndNeedAPlainSuccess) {
    Open({Col(L"A", L"double")});
    EXPECT_EQ(Check(L"[10;1;1;5]", kReal, L"mm", kRange), E::InvalidRange);
    EXPECT_EQ(Handed(),
              L"10 mm; 1 mm; 1 mm; 5 mm; 10 ul; 1.0 ul; 1 ul; 1.0 ul; 1 ul; 1.0 ul; 5 ul; 1.0 ul");
    // A success with a remark, or a throw, makes every limit 0.
    Script(L"1.0", L"ul", 1.0, 1);
    EXPECT_EQ(Check(L"[10;1;1;5]", kReal, L"", kRange), E::Success);
    provider_->answers.clear();
    provider_->throwingExpressions = {L"1.0"};
    EXPECT_EQ(Check(L"[10;1;1;5]", kReal, L"", kRange), E::Success);
}

TEST_F(TableEvaluatorTest, ExpressionChecksTryReferencesWithSampleValues) {
    Open({Col(L"Len", L"double", L"mm"), Col(L"N", L"integer"), Col(L"K", L"integer", L"deg"),
          Col(L"Flag", L"boolean"), Col(L"Name", L"string")});
    const std::vector<std::tuple<const wchar_t*, DataTypes::ColumnDataType, const wchar_t*,
                                 const wchar_t*, E::EvaluateResult>>
        cases = {
            {L"{Len}*2", kReal, L"", L"1.1mm*2 ul", E::Success},
            {L"{Len}*2", kReal, L"cm", L"1.1*2 cm", E::Success},
            {L"{N}+{ K }", kReal, L"", L"1ul+1deg ul", E::Success},
            {L"{Flag}", kLogical, L"", L"1ul ul", E::Success},
            {L"{Len}", kInteger, L"", L"", E::InvalidForColumn},
            {L"{Flag}+1", kReal, L"", L"", E::InvalidForColumn},
            {L"{ Flag }", kLogical, L"", L"", E::InvalidForColumn},
            {L"{Name} & {Len} & x}", kText, L"", L"", E::SyntaxError},
            {L"{Name} & {Len}", kText, L"", L"", E::Success},
            {L"{Nope}*2", kReal, L"", L"", E::UnknownReference},
            {L"2*3", kReal, L"mm", L"2*3 mm", E::Success},
            {L"2*", kReal, L"", L"2* ul", E::InvalidForColumn},
            {L"1", kLogical, L"", L"", E::Success},
            {L"yes", kLogical, L"", L"", E::InvalidForColumn},
        };
    for (const auto& [formula, dataType, unit, handed, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(formula)));
        provider_->calls.clear();
        provider_->answers.clear();
        const std::wstring call = handed;
        if (expected == E::Success && !call.empty()) {
            const std::size_t space = call.rfind(L' ');
            Script(call.substr(0, space), call.substr(space + 1), 1.0);
        }
        EXPECT_EQ(Check(formula, dataType, unit), expected);
        EXPECT_EQ(Handed(), call);
    }
    // A provider that throws makes the formula unacceptable.
    provider_->throwingExpressions = {L"2*3"};
    EXPECT_EQ(Check(L"2*3", kReal), E::InvalidForColumn);
}

TEST_F(TableEvaluatorTest, EvaluateFormulaConvertsReferencesIntoTheRequestedUnit) {
    Open({Col(L"Len", L"double", L"mm"), Col(L"Size", L"double"), Col(L"Flag", L"boolean"),
          Col(L"X", L"double", L"mm", L"{Len}*2")},
         {{L"Len", L"10"}, {L"Size", L"8"}, {L"Flag", L"yes"}});
    Script(L"10*2", L"mm", 2.0);
    EXPECT_EQ(Formula(L"{Len}*2", kReal, L"mm"), Outcome(E::Success, L"20"));
    Script(L"0.393701*2", L"in", 2.0);
    EXPECT_EQ(Formula(L"{Len}*2", kReal, L"in"), Outcome(E::Success, L"0.78740157"));
    // An empty unit is handed over as it is.
    Script(L"10*2", L"", 20.0);
    EXPECT_EQ(Formula(L"{Len}*2", kReal, L""), Outcome(E::Success, L"20"));
    EXPECT_EQ(Handed(), L"10*2 mm; 0.393701*2 in; 10*2 ");
    // Answers come back from the unit's database unit, which the provider
    // names: "cm" for lengths, the empty unit itself here.
    EXPECT_EQ(Handed(ProviderCall::Convert), L"2 cm mm; 10 mm in; 2 cm in");
    EXPECT_EQ(Handed(ProviderCall::DatabaseUnit), L"mm ; in ;  ");

    // A success with a remark keeps the expression.
    Script(L"8*2", L"cm", 16.0, 1);
    EXPECT_EQ(Formula(L"{Size}*2", kReal, L"cm"), Outcome(E::Success, L"8*2"));
    // Numbers are converted whatever the data type.
    EXPECT_EQ(Formula(L"\"M\" & {Size}", kText, L""), Outcome(E::Success, L"M8"));
    EXPECT_EQ(Formula(L"\"M\" & {Size}", kText, L"mm"), Outcome(E::Success, L"M80"));
    EXPECT_EQ(Formula(L"{Flag}", kLogical, L""), Outcome(E::Success, L"yes"));
    EXPECT_EQ(Formula(L"maybe", kLogical, L""), Outcome(E::InvalidForColumn, L"untouched"));
    EXPECT_EQ(Formula(L"1+", kReal, L"cm"), Outcome(E::ProviderFailure, L"untouched"));
    EXPECT_EQ(Formula(L"{Nope}", kReal, L"cm"), Outcome(E::NoValue, L"untouched"));
    EXPECT_EQ(Formula(L"[1;20;1;{Len}]", kReal, L"mm", kRange), Outcome(E::Success, L"10"));
    EXPECT_EQ(Formula(L"[1.5;20;1;]", kReal, L"mm", kRange), Outcome(E::Success, L"1.5"));
    EXPECT_EQ(Formula(L"1;20;1;5", kReal, L"mm", kRange), Outcome(E::InvalidRange, L"untouched"));
    // A value computed without units is not good enough for a formula.
    Script(L"10*2", L"ul", 20.0);
    EXPECT_EQ(Formula(L"{X}+1", kReal, L"mm"), Outcome(E::UnitsStripped, L"untouched"));
}

}  // namespace
