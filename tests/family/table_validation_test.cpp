// Validation of cell values and formulas, column repair, the file-name check
// of custom members, expressions in units, materials and the evaluated copy
// of the table, over small families and the scripted provider (the reference
// provider where real unit arithmetic matters).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "family/support/family_xml.h"
#include "family/support/scripted_provider.h"
#include "vardel/family.h"
#include "vardel/family_table.h"
#include "vardel/reference_evaluator_provider.h"
#include "vardel/xml_node_array.h"
#include "vardel/xml_parser.h"

namespace {

using FamilyTest::Attributes;
using FamilyTest::Column;
using FamilyTest::ProviderCall;
using FamilyTest::Row;
using FamilyTest::ScriptedProvider;
using E = CTableEvaluator;

// A column titled "<id> title"; empty attributes read as absent ones.
Column Col(const std::wstring& id, const std::wstring& type, const std::wstring& formula = L"",
           bool custom = false, const std::wstring& unit = L"") {
    return {id,
            {{L"ValueType", type},
             {L"Title", id + L" title"},
             {L"ColumnwideValue", formula},
             {L"Custom", custom ? L"true" : L"false"},
             {L"UnitType", unit}}};
}

// Every row of an evaluated table as (column id, text) of its cells in order.
std::vector<Attributes> EvaluatedRows(const std::wstring& xml) {
    XMLParser document(xml.c_str());
    XMLNodeArray rows;
    document.GetRootNode().SelectChildNodes(L"Rows/Row", rows);
    std::vector<Attributes> result;
    for (int r = 0; r < rows.GetCount(); ++r) {
        XMLNodeArray cells;
        rows.GetAt(r).SelectChildNodes(L"Cell", cells);
        Attributes& row = result.emplace_back();
        for (int c = 0; c < cells.GetCount(); ++c) {
            std::wstring id;
            std::wstring text;
            cells.GetAt(c).GetProperty(L"ColumnId", id);
            cells.GetAt(c).GetNodeText(text);
            row.emplace_back(id, text);
        }
    }
    return result;
}

class TableValidationTest : public testing::Test {
  protected:
    void Open(std::vector<Column> columns, std::vector<Row> rows,
              IEvaluatorProvider* provider = new ScriptedProvider()) {
        FamilyTest::FamilyXml xml;
        xml.columns = std::move(columns);
        xml.rows = std::move(rows);
        provider_ = dynamic_cast<ScriptedProvider*>(provider);
        family_ = std::make_unique<CEncapFamily>(xml.Build().c_str(), std::vector<std::wstring>{},
                                                 L"", provider, L"en-US", false);
        table_ = family_->GetEncapFamilyTable();
        ASSERT_NE(table_, nullptr);
    }

    void Script(const std::wstring& expression, const std::wstring& unit, double value) {
        provider_->answers[{expression, unit}] = {S_OK, value};
    }

    // IsCellValueValid on row "r0" with the text the call leaves.
    std::pair<bool, std::wstring> Check(const std::wstring& column, std::wstring value) {
        const bool valid = table_->IsCellValueValid(L"r0", column, value);
        return {valid, value};
    }

    ScriptedProvider* provider_ = nullptr;
    std::unique_ptr<CEncapFamily> family_;
    CEncapFamilyTable* table_ = nullptr;
};

TEST_F(TableValidationTest, CellValuesFollowTheDataTypeAndExpressionsBecomeTheirNumber) {
    Open({Col(L"N", L"integer"), Col(L"D", L"double", L"", false, L"mm"), Col(L"T", L"string"),
          Col(L"B", L"boolean")},
         {{L"r0", {}}});
    Script(L"2*3", L"ul", 6.0);
    Script(L"1/3", L"mm", 1.0 / 30.0);  // answered in cm
    const std::vector<std::tuple<std::wstring, std::wstring, bool, std::wstring>> cases = {
        {L"N", L"2*3", true, L"6"},    {L"N", L"2.5", false, L"2.5"},
        {L"N", L"2,5", false, L"2,5"}, {L"N", L"-7", true, L"-7"},
        {L"N", L"2*x", false, L"2*x"}, {L"D", L"1/3", true, L"0.33333333"},
        {L"D", L"2.5", true, L"2.5"},  {L"T", L"any {text", true, L"any {text"},
        {L"B", L"yes", true, L"yes"},  {L"B", L"maybe", false, L"maybe"},
    };
    for (const auto& [column, text, valid, after] : cases) {
        EXPECT_EQ(Check(column, text), std::make_pair(valid, after)) << column + L' ' + text;
    }
    // The mm answer went back from cm with all its digits; the unitless
    // answer is in its own database unit already.
    EXPECT_EQ(provider_->CallsOf(ProviderCall::Convert),
              (std::vector<ProviderCall>{
                  {ProviderCall::Convert, L"0.033333333333333333", L"cm", L"mm"}}));
}

TEST_F(TableValidationTest, CustomColumnsAcceptOnlyValuesWithinTheirRangeAndOnItsSteps) {
    Open({Col(L"R", L"double", L"[0;10;2;]", true), Col(L"Open", L"double", L"[;10;2;]", true),
          Col(L"Fine", L"double", L"[0.1;1;0.1;]", true),
          Col(L"Ref", L"double", L"[{Lo};{Hi};;]", true), Col(L"Lo", L"double", L"3"),
          Col(L"Hi", L"double"), Col(L"Broken", L"double", L"[{Gone};10;;]", true)},
         {{L"r0", {{L"Hi", L"5"}}}});
    Script(L"2*2", L"ul", 4.0);
    const std::vector<std::tuple<std::wstring, std::wstring, bool>> cases = {
        {L"R", L"4", true},       {L"R", L"0", true},      {L"R", L"10", true},
        {L"R", L"5", false},      {L"R", L"12", false},    {L"R", L"-2", false},
        {L"R", L"2*2", true},     {L"Open", L"5", true},   {L"Open", L"-100", true},
        {L"Open", L"11", false},  {L"Fine", L"0.3", true}, {L"Fine", L"0.35", false},
        {L"Ref", L"4", true},     {L"Ref", L"6", false},   {L"Ref", L"2", false},
        {L"Broken", L"5", false},
    };
    for (const auto& [column, text, valid] : cases) {
        EXPECT_EQ(Check(column, text).first, valid) << column + L' ' + text;
    }
}

TEST_F(TableValidationTest, FormulasOfCustomColumnsMustBeRangesTheirTypeAllows) {
    Open({Col(L"T", L"string", L"", true), Col(L"B", L"boolean", L"", true),
          Col(L"R", L"double", L"", true), Col(L"N", L"double")},
         {{L"r0", {}}});
    const std::vector<std::tuple<std::wstring, std::wstring, E::EvaluateResult>> cases = {
        {L"T", L"[a;b;;]", E::InvalidForColumn}, {L"T", L"x", E::InvalidForColumn},
        {L"B", L"[1;;;]", E::InvalidRange},      {L"B", L"[;;1;]", E::InvalidRange},
        {L"B", L"[;;;1]", E::Success},           {L"B", L"[;;;maybe]", E::InvalidRange},
        {L"R", L"[0;10;2;4]", E::Success},       {L"R", L"[;;;]", E::Success},
        {L"R", L"0;10", E::InvalidRange},        {L"R", L"[0;{Gone};;]", E::InvalidRange},
        {L"R", L"[0;{N};;]", E::Success},        {L"N", L"{Gone}+1", E::UnknownReference},
        {L"N", L"{R", E::SyntaxError},           {L"N", L"2", E::Success},
    };
    for (const auto& [column, formula, result] : cases) {
        EXPECT_EQ(table_->IsFormulaValid(column, formula), result) << column + L' ' + formula;
    }
}

TEST_F(TableValidationTest, RangeCheckNamesTheFirstRowWhoseValueDoesNotFit) {
    Open({Col(L"R", L"double", L"[0;10;2;]", true), Col(L"S", L"double", L"[0;10;;]", true),
          Col(L"F", L"double", L"1+")},
         {{L"r0", {{L"R", L"4"}, {L"S", L"3"}}},
          {L"r1", {{L"R", L"5"}, {L"S", L"30"}}},
          {L"r2", {{L"R", L"12"}}}});
    EXPECT_EQ(table_->CheckRangeColumnData(L"R", L""), 1);
    EXPECT_EQ(table_->CheckRangeColumnData(L"S", L"[0;100;;]"), 1);  // own formula counts
    table_->SetValue(L"r1", L"S", L"", false);
    EXPECT_EQ(table_->CheckRangeColumnData(L"S", L""), -1);  // r1 falls back to the minimum
    EXPECT_EQ(table_->CheckRangeColumnData(L"F", L""), 0);   // the value does not evaluate
}

TEST_F(TableValidationTest, RepairDeletesOnlyTheCellsTheColumnRefuses) {
    Open({Col(L"B", L"string"), Col(L"D", L"double")},
         {{L"r0", {{L"B", L"yes"}, {L"D", L"1+"}}}, {L"r1", {{L"B", L"maybe"}}}, {L"r2", {}}});
    std::wstring value;
    ASSERT_EQ(table_->GetValue(L"r1", L"B", value), E::Success);  // cached as text
    table_->SetColumnDataType(L"B", DataTypes::Boolean);
    table_->ValidateAndRepairColumnData(table_->GetFamilyColumnByID(L"B"));
    EXPECT_EQ(table_->GetRawValue(L"r0", L"B", value), 0);
    EXPECT_EQ(value, L"yes");
    EXPECT_EQ(table_->GetRawValue(L"r1", L"B", value), 1);
    // A cell that fails to evaluate is not one the type refuses.
    table_->ValidateAndRepairColumnData(table_->GetFamilyColumnByID(L"D"));
    EXPECT_EQ(table_->GetRawValue(L"r0", L"D", value), 0);
    EXPECT_EQ(value, L"1+");
}

TEST_F(TableValidationTest, MissingColumnsGiveTheDocumentedResults) {
    Open({Col(L"U", L"double"), Col(L"Same", L"double", L"7")}, {{L"r0", {}}, {L"r1", {}}});
    std::wstring value = L"1";
    EXPECT_FALSE(table_->IsCellValueValid(L"r0", L"Gone", value));
    EXPECT_EQ(table_->IsFormulaValid(L"Gone", L"1"), E::ProviderFailure);
    EXPECT_EQ(table_->CheckRangeColumnData(L"Gone", L""), 0);
    E::EvaluateResult result = E::Success;
    EXPECT_FALSE(table_->HasColumnUniqueValues(L"Gone", result));
    EXPECT_FALSE(table_->HasColumnUniqueValues(L"Same", result));  // the column's answer
    table_->ValidateAndRepairColumnData(nullptr);
}

TEST_F(TableValidationTest, FileNameMustReferToEveryCustomColumn) {
    Open({Col(L"Len", L"double", L"[1;9;;]", true), Col(L"Dia", L"double", L"[1;9;;]", true),
          Col(L"Code", L"string", L"{Len} & \"-\" & {Dia}"), Col(L"FN", L"string", L"{Len}")},
         {{L"r0", {}}, {L"r1", {}}});
    std::vector<std::wstring> titles = {L"untouched"};
    EXPECT_FALSE(table_->FileNameOfCustomPartIsUnique(titles));  // no file-name column yet
    EXPECT_EQ(titles, std::vector<std::wstring>{L"untouched"});

    CEncapFamilyColumn* fileName = table_->GetFamilyColumnByID(L"FN");
    fileName->SetColumnType(CEncapFamilyColumn::FileNameColumn);
    EXPECT_FALSE(table_->FileNameOfCustomPartIsUnique(titles));
    EXPECT_EQ(titles, std::vector<std::wstring>{L"Dia title"});

    ASSERT_EQ(fileName->SetFormula(L"{Code}"), E::Success);  // reaches Dia through Code
    EXPECT_TRUE(table_->FileNameOfCustomPartIsUnique(titles));
    EXPECT_TRUE(titles.empty());

    const std::vector<std::wstring> all = {L"Len title", L"Dia title"};
    table_->SetValue(L"r1", L"FN", L"own name", false);
    EXPECT_FALSE(table_->FileNameOfCustomPartIsUnique(titles));
    EXPECT_EQ(titles, all);
    table_->SetValue(L"r1", L"FN", L"", false);
    fileName->SetEmptyFormula();
    EXPECT_FALSE(table_->FileNameOfCustomPartIsUnique(titles));
    EXPECT_EQ(titles, all);
}

TEST_F(TableValidationTest, MaterialsComeFromTheProviderAndTheMaterialColumn) {
    Open({Col(L"M", L"string", L"steel")}, {{L"r0", {{L"M", L"brass"}}}, {L"r1", {}}});
    EXPECT_EQ(table_->GetMaterialName(L"steel") + table_->GetMaterialName(L"gold"), L"Steel");
    EXPECT_EQ(table_->GetMaterialRefKey(L"Brass") + table_->GetMaterialRefKey(L"Gold"), L"brass");

    std::wstring key = L"untouched";
    EXPECT_FALSE(table_->GetMemberMaterialRefId(L"r0", key));
    EXPECT_EQ(key, L"untouched");
    table_->GetFamilyColumnByID(L"M")->SetColumnType(CEncapFamilyColumn::MaterialColumn);
    const std::vector<std::pair<std::wstring, std::wstring>> rows = {
        {L"r0", L"brass"}, {L"r1", L"steel"}, {L"unknown", L"steel"}};
    for (const auto& [row, expected] : rows) {
        EXPECT_TRUE(table_->GetMemberMaterialRefId(row, key));
        EXPECT_EQ(key, expected) << row;
    }

    Open({Col(L"M", L"string")}, {}, nullptr);
    EXPECT_EQ(table_->GetMaterialName(L"steel") + table_->GetMaterialRefKey(L"Steel"), L"");
}

TEST_F(TableValidationTest, ExpressionsAreEvaluatedAndConvertedBackFromTheDatabaseUnit) {
    Open({}, {});
    Script(L"2*3", L"ul", 6.0);
    Script(L"1.5", L"cm", 1.5);
    Script(L"10", L"mm", 1.0);
    double value = -1.0;
    ASSERT_TRUE(table_->GetValueFromExpression(L"2*3", L"", value));
    EXPECT_EQ(value, 6.0);
    ASSERT_TRUE(table_->GetValueFromExpression(L"1.5", L"cm", value));
    EXPECT_EQ(value, 1.5);
    ASSERT_TRUE(table_->GetValueFromExpression(L"10", L"mm", value));
    EXPECT_DOUBLE_EQ(value, 10.0);
    EXPECT_EQ(provider_->CallsOf(ProviderCall::Convert),
              (std::vector<ProviderCall>{{ProviderCall::Convert, L"1", L"cm", L"mm"}}));

    value = -1.0;
    EXPECT_FALSE(table_->GetValueFromExpression(L"1+", L"mm", value));
    provider_->convertFailure = true;
    EXPECT_FALSE(table_->GetValueFromExpression(L"10", L"mm", value));
    EXPECT_EQ(value, -1.0);

    Open({}, {}, new CReferenceEvaluatorProvider());
    ASSERT_TRUE(table_->GetValueFromExpression(L"2in + 3", L"mm", value));
    EXPECT_DOUBLE_EQ(value, 53.8);
    EXPECT_FALSE(table_->GetValueFromExpression(L"2kg", L"mm", value));
    // Angles and plain numbers come back from their own database units.
    ASSERT_TRUE(table_->GetValueFromExpression(L"2*45", L"deg", value));
    EXPECT_DOUBLE_EQ(value, 90.0);
    ASSERT_TRUE(table_->GetValueFromExpression(L"2*3", L"", value));
    EXPECT_DOUBLE_EQ(value, 6.0);
    std::wstring text;
    EXPECT_EQ(
        table_->Evaluate(L"2*45", DataTypes::ExpressionFormula, DataTypes::Real, L"", L"deg", text),
        CTableEvaluator::Success);
    EXPECT_EQ(text, L"90");
    Open({}, {}, nullptr);
    EXPECT_FALSE(table_->GetValueFromExpression(L"2", L"cm", value));
}

TEST_F(TableValidationTest, EvaluatedTableHoldsEveryValueAndCompletesRows) {
    Open({Col(L"A", L"double", L"5"), Col(L"B", L"double", L"{A}*2"), Col(L"S", L"string"),
          Col(L"Bad", L"double", L"{Gone}")},
         {{L"r0", {}},
          {L"r1", {{L"S", L"\"x\" & \"y\""}, {L"Other", L"kept"}, {L"a", L"7"}, {L"Bad", L"1+"}}},
          {L"r2", {}}});
    Script(L"5ul*2", L"ul", 10.0);
    Script(L"7ul*2", L"ul", 14.0);
    std::wstring before;
    table_->GetXml(before);
    std::wstring xml;
    ASSERT_TRUE(table_->GetEvaluatedXml(xml));
    EXPECT_EQ(xml.rfind(L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>", 0), 0u) << xml;
    const std::vector<Attributes> expected = {
        {{L"A", L"5"}, {L"B", L"10"}, {L"S", L""}},
        {{L"S", L"xy"}, {L"Other", L"kept"}, {L"a", L"7"}, {L"Bad", L"1+"}, {L"B", L"14"}},
        {{L"A", L"5"}, {L"B", L"10"}, {L"S", L""}},
    };
    EXPECT_EQ(EvaluatedRows(xml), expected);
    std::wstring after;
    table_->GetXml(after);
    EXPECT_EQ(after, before);
    std::wstring again;
    ASSERT_TRUE(table_->GetEvaluatedXml(again));  // now from the value cache
    EXPECT_EQ(again, xml);
    // An edit reaches the cached values it changes, and only those.
    Script(L"6ul*2", L"ul", 12.0);
    table_->SetValue(L"r0", L"A", L"6", true);
    ASSERT_TRUE(table_->GetEvaluatedXml(again));
    EXPECT_EQ(EvaluatedRows(again)[0], (Attributes{{L"A", L"6"}, {L"B", L"12"}, {L"S", L""}}));
    EXPECT_EQ(EvaluatedRows(again)[2], expected[2]);
}

// A row whose cache holds some values: computing the one it lacks grows the
// cache's text, and the values after it are still read right.
TEST_F(TableValidationTest, EvaluatedTableReadsCachedValuesAroundAComputedOne) {
    const std::wstring a(100, L'a');
    const std::wstring b(400, L'b');
    const std::wstring c(100, L'c');
    Open({Col(L"A", L"string"), Col(L"B", L"string"), Col(L"C", L"string")},
         {{L"r0",
           {{L"A", L"\"" + a + L"\""}, {L"B", L"\"" + b + L"\""}, {L"C", L"\"" + c + L"\""}}}});
    std::wstring value;
    ASSERT_EQ(table_->GetValue(L"r0", L"C", value), CTableEvaluator::Success);
    ASSERT_EQ(table_->GetValue(L"r0", L"A", value), CTableEvaluator::Success);
    std::wstring xml;
    ASSERT_TRUE(table_->GetEvaluatedXml(xml));
    EXPECT_EQ(EvaluatedRows(xml), (std::vector<Attributes>{{{L"A", a}, {L"B", b}, {L"C", c}}}));
}

TEST_F(TableValidationTest, EvaluatedTableFailsOnMissingIdsAndAcceptsMissingRows) {
    Open({Col(L"A", L"double", L"5")}, {{L"r0", {}}});
    XMLNode rows;
    ASSERT_TRUE(table_->GetXMLNode().GetChildNode(L"Rows", rows));
    XMLNode cell = rows.AddNode(L"Row", nullptr, L"RowId", L"r1").AddNode(L"Cell", L"1");
    std::wstring xml = L"untouched";
    EXPECT_FALSE(table_->GetEvaluatedXml(xml));
    cell.RemoveThisNode(true);
    XMLNode row = rows.AddNode(L"Row");
    EXPECT_FALSE(table_->GetEvaluatedXml(xml));
    EXPECT_EQ(xml, L"untouched");
    row.RemoveThisNode(true);
    ASSERT_TRUE(table_->GetEvaluatedXml(xml));
    EXPECT_EQ(EvaluatedRows(xml), (std::vector<Attributes>{{{L"A", L"5"}}, {{L"A", L"5"}}}));

    rows.RemoveThisNode(true);
    ASSERT_TRUE(table_->GetEvaluatedXml(xml));
    EXPECT_TRUE(EvaluatedRows(xml).empty());
    EXPECT_NE(xml.find(L"<Columns>"), std::wstring::npos);
}

}  // namespace
