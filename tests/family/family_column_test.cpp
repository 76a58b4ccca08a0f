// Family table columns: attributes read at load and written through, the
// value path (cache, raw status columns, evaluation, units stripped),
// formulas with their checks and references, member-revision refreshes,
// unique values, formula overrides, constant columns and object-type texts.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "family/support/family_xml.h"
#include "family/support/scripted_provider.h"
#include "vardel/family.h"
#include "vardel/family_column.h"
#include "vardel/family_table.h"

namespace {

using FamilyTest::FamilyXml;
using Result = CTableEvaluator::EvaluateResult;
using Columns = std::set<CEncapFamilyColumn*>;

constexpr wchar_t kFileNameParameter[] = L"8b46a4cc-9585-4fed-90c3-899f57e09a73";

struct Loaded {
    explicit Loaded(const FamilyXml& xml, IEvaluatorProvider* provider = nullptr,
                    const std::vector<std::wstring>& strings = {})
        : text(xml.Build()),
          family(std::make_unique<CEncapFamily>(text.c_str(), strings, L"", provider, L"en-US",
                                                false)),
          table(family->GetEncapFamilyTable()) {}

    CEncapFamilyColumn* operator[](const std::wstring& id) const {
        return table->GetFamilyColumnByID(id);
    }
    // The row's own cell; "<none>" when it has none.
    std::wstring Raw(const std::wstring& rowId, const std::wstring& columnId) const {
        std::wstring value;
        return table->GetRawValue(rowId, columnId, value) == 0 ? value : L"<none>";
    }
    std::wstring Attribute(const std::wstring& columnId, const wchar_t* name) const {
        std::wstring value = L"<none>";
        (*this)[columnId]->GetXMLNode().GetProperty(name, value);
        return value;
    }
    std::wstring Value(const std::wstring& rowId, const std::wstring& columnId) const {
        std::wstring value;
        EXPECT_EQ((*this)[columnId]->GetValue(rowId, value), Result::Success) << columnId;
        return value;
    }
    std::wstring Revision(const std::wstring& rowId) const {
        return Raw(rowId, L"MEMBER_REVISION");
    }

    std::wstring text;
    std::unique_ptr<CEncapFamily> family;
    CEncapFamilyTable* table;
};

// Text columns A and B (B's formula refers to A), a revision column, two rows.
FamilyXml TextTable() {
    FamilyXml xml;
    xml.columns = {{L"A", {{L"ValueType", L"string"}}},
                   {L"B", {{L"ValueType", L"string"}, {L"ColumnwideValue", L"{A}"}}},
                   {L"MEMBER_REVISION", {{L"ValueType", L"string"}}}};
    xml.rows = {{L"r0", {{L"A", L"a0"}, {L"MEMBER_REVISION", L"rev0"}}},
                {L"r1", {{L"A", L"a1"}, {L"MEMBER_REVISION", L"rev1"}}}};
    return xml;
}

TEST(ColumnFields, LoadReadsEveryAttribute) {
    FamilyXml xml;
    xml.columns = {{L"Len",
                    {{L"Title", L"Length"},
                     {L"ColumnwideValue", L"{D}*2"},
                     {L"Custom", L"TRUE"},
                     {L"Hidden", L"true"},
                     {L"KeyWeight", L"3"},
                     {L"UnitType", L"mm"},
                     {L"TemplateSpecifier", L"1"},
                     {L"ValueType", L"DOUBLE"}}},
                   {L"D", {}},
                   {L"R", {{L"ValueType", L"Real"}}}};
    Loaded loaded(xml);
    const CEncapFamilyColumn* column = loaded[L"len"];
    std::wstring title, formula;
    column->GetTitle(title);
    column->GetFormula(formula);
    EXPECT_EQ(column->GetColumnID() + L"|" + title + L"|" + formula + L"|" + column->GetUnitType(),
              L"Len|Length|{D}*2|mm");
    EXPECT_TRUE(column->IsCustom() && column->IsHidden() && column->IsTemplateSpecifierColumn());
    EXPECT_EQ(column->GetKeyWeight(), 3);
    EXPECT_EQ(column->GetDataType(), DataTypes::Real);
    const CEncapFamilyColumn* plain = loaded[L"D"];
    EXPECT_FALSE(plain->IsCustom() || plain->IsHidden() || plain->IsKeyColumn());
    // A missing type or a text that is no type name is text; without an
    // element a column holds numbers.
    EXPECT_EQ(plain->GetDataType(), DataTypes::String);
    EXPECT_EQ(loaded[L"R"]->GetDataType(), DataTypes::String);
    EXPECT_EQ(CEncapFamilyColumn(true).GetDataType(), DataTypes::Real);
}

TEST(ColumnFields, SettersWriteThroughToAttributes) {
    Loaded loaded(TextTable());
    CEncapFamilyColumn* column = loaded[L"A"];
    column->SetKeyWeight(7);
    column->SetIsHidden(true);
    column->SetIsCustom(true);
    column->SetUnitType(L"cm");
    column->SetDataType(DataTypes::Integer);
    column->SetTitle(L"Width");
    for (const auto& [name, value] : {std::pair{L"KeyWeight", L"7"},
                                      {L"Hidden", L"true"},
                                      {L"Custom", L"true"},
                                      {L"UnitType", L"cm"},
                                      {L"ValueType", L"integer"},
                                      {L"Title", L"Width"}}) {
        EXPECT_EQ(loaded.Attribute(L"A", name), value) << name;
    }
    column->SetColumnID(L"Wide");
    EXPECT_EQ(loaded.Attribute(L"A", L"ColumnId"), L"Wide");
}

TEST(ColumnValues, StatusColumnIsRawAndNeverComputed) {
    auto* provider = new FamilyTest::ScriptedProvider();
    FamilyXml xml;
    xml.columns = {{L"status", {{L"ValueType", L"double"}, {L"ColumnwideValue", L"1+1"}}}};
    xml.rows = {{L"r0", {{L"status", L"Suppressed"}}}, {L"r1", {}}};
    Loaded loaded(xml, provider);
    EXPECT_EQ(loaded.Value(L"r0", L"status"), L"Suppressed");
    EXPECT_EQ(loaded.Value(L"r1", L"status"), L"");
    EXPECT_TRUE(provider->calls.empty());
}

TEST(ColumnValues, EmptyValueOnExpressionColumnLetsFormulaApply) {
    FamilyXml xml = TextTable();
    xml.rows[0].cells.emplace_back(L"B", L"own");
    Loaded loaded(xml);
    EXPECT_EQ(loaded.Value(L"r0", L"B"), L"own");
    loaded[L"B"]->SetValue(L"r0", L"", false);
    EXPECT_EQ(loaded.Raw(L"r0", L"B"), L"<none>");
    EXPECT_EQ(loaded.Value(L"r0", L"B"), L"a0");
}

TEST(ColumnValues, InvalidatingWriteClearsDependantsOfTheRowOnly) {
    Loaded loaded(TextTable());
    EXPECT_EQ(loaded.Value(L"r0", L"B") + loaded.Value(L"r1", L"B"), L"a0a1");
    loaded[L"A"]->SetValue(L"r0", L"new", true);
    EXPECT_EQ(loaded.Value(L"r0", L"B"), L"new");
    loaded[L"A"]->SetCacheValue(L"r1", L"en-US", L"cached");
    loaded[L"A"]->SetValue(L"r0", L"newer", false);
    EXPECT_EQ(loaded.Value(L"r0", L"B") + loaded.Value(L"r1", L"A"), L"newcached");
    loaded[L"A"]->ClearCachedValue(L"r1");
    EXPECT_EQ(loaded.Value(L"r1", L"A"), L"a1");
}

// A row written once keeps its place in the value cache; after the cache
// dropped the row (range values given), the next write must not land in
// that place, which the next row new to the cache takes.
TEST(ColumnValues, WriteAfterTheCacheDroppedItsRowLeavesOtherRowsAlone) {
    Loaded loaded(TextTable());
    loaded[L"A"]->SetValue(L"r0", L"x0", false);
    loaded.table->GetFamilyRowByID(L"r0")->SetRangeColumnValues({{L"B", L"1"}});
    loaded[L"A"]->SetCacheValue(L"r1", L"en-US", L"cached");
    loaded[L"A"]->SetValue(L"r0", L"x1", false);
    EXPECT_EQ(loaded.Value(L"r1", L"A") + L"|" + loaded.Value(L"r0", L"A"), L"cached|x1");
}

TEST(ColumnValues, RealCellsAreStoredWithPoint) {
    FamilyXml xml;
    xml.columns = {{L"D", {{L"ValueType", L"double"}}}, {L"T", {{L"ValueType", L"string"}}}};
    xml.rows = {{L"r0", {}}};
    Loaded loaded(xml);
    loaded[L"D"]->SetValue(L"r0", L"2,5", false);
    loaded[L"T"]->SetValue(L"r0", L"2,5", false);
    EXPECT_EQ(loaded.Raw(L"r0", L"D") + L"|" + loaded.Raw(L"r0", L"T"), L"2.5|2,5");
}

TEST(ColumnValues, UnitsStrippedAndFailedEvaluations) {
    auto* provider = new FamilyTest::ScriptedProvider();
    provider->answers[{L"10*2", L"ul"}] = {S_OK, 20.0};
    FamilyXml xml;
    xml.columns = {{L"Len", {{L"ValueType", L"double"}, {L"UnitType", L"mm"}}},
                   {L"Twice", {{L"ValueType", L"double"}, {L"ColumnwideValue", L"{Len}*2"}}},
                   {L"Bad", {{L"ValueType", L"double"}, {L"ColumnwideValue", L"1+x"}}}};
    xml.rows = {{L"r0", {{L"Len", L"10"}}}};
    Loaded loaded(xml, provider);
    std::wstring value;
    EXPECT_EQ(loaded[L"Twice"]->GetValue(L"r0", value), Result::UnitsStripped);
    EXPECT_EQ(value, L"20");
    // Not kept: the next read asks the provider again.
    const std::size_t calls = provider->calls.size();
    EXPECT_EQ(loaded[L"Twice"]->GetValue(L"r0", value), Result::UnitsStripped);
    EXPECT_GT(provider->calls.size(), calls);
    EXPECT_EQ(loaded[L"Bad"]->GetValue(L"r0", value), Result::ProviderFailure);
    Result result = Result::Success;
    EXPECT_FALSE(loaded[L"Bad"]->HasUniqueValues(result));
    EXPECT_EQ(result, Result::ProviderFailure);
}

TEST(ColumnFormula, SameFormulaTwiceTouchesNothing) {
    Loaded loaded(TextTable());
    CEncapFamilyColumn* a = loaded[L"A"];
    a->SetIsGeometryColumn(true);
    ASSERT_EQ(a->SetFormula(L"\"x\""), Result::Success);
    const std::wstring revision = loaded.Revision(L"r0");
    EXPECT_NE(revision, L"rev0");
    a->SetCacheValue(L"r0", L"en-US", L"kept");
    EXPECT_EQ(a->SetFormula(L"\"x\""), Result::Success);
    EXPECT_EQ(loaded.Revision(L"r0"), revision);
    EXPECT_EQ(loaded.Value(L"r0", L"A"), L"kept");
}

TEST(ColumnFormula, NewFormulaRemovesOwnCellsAndDependantCaches) {
    Loaded loaded(TextTable());
    EXPECT_EQ(loaded.Value(L"r0", L"B"), L"a0");
    ASSERT_EQ(loaded[L"A"]->SetFormula(L"\"f\""), Result::Success);
    EXPECT_EQ(loaded.Attribute(L"A", L"ColumnwideValue"), L"\"f\"");
    EXPECT_EQ(loaded.Raw(L"r0", L"A") + loaded.Raw(L"r1", L"A"), L"<none><none>");
    EXPECT_EQ(loaded.Value(L"r0", L"B"), L"f");
    EXPECT_EQ(loaded.Revision(L"r0"), L"rev0");  // no refresh column
}

TEST(ColumnFormula, CircleIsRefusedAndLeavesFormulaAndReferences) {
    Loaded loaded(TextTable());
    CEncapFamilyColumn* a = loaded[L"A"];
    CEncapFamilyColumn* b = loaded[L"B"];
    for (const wchar_t* formula : {L"{A}", L"{B} & \"x\""}) {
        EXPECT_EQ(a->SetFormula(formula), Result::CircularReference) << formula;
        EXPECT_FALSE(a->IsExpressionColumn());
        EXPECT_EQ(a->GetDependantColumns(), Columns{b});
        EXPECT_TRUE(b->GetDependantColumns().empty());
    }
    EXPECT_EQ(a->ValidateNormalFormula(L"{B}", L""), Result::CircularReference);
    EXPECT_EQ(b->ValidateNormalFormula(L"{A} & {MEMBER_REVISION}", L""), Result::Success);
    // Validation leaves the references of the stored formula.
    EXPECT_TRUE(loaded[L"MEMBER_REVISION"]->GetDependantColumns().empty());
    EXPECT_EQ(a->SetFormula(L"{Missing}"), Result::UnknownReference);
}

TEST(ColumnFormula, EmptyFormulaDropsCustomAndReferences) {
    Loaded loaded(TextTable());
    CEncapFamilyColumn* b = loaded[L"B"];
    b->SetIsCustom(true);
    EXPECT_EQ(b->SetEmptyFormula(), Result::Success);
    EXPECT_FALSE(b->IsCustom() || b->IsExpressionColumn());
    EXPECT_EQ(loaded.Attribute(L"B", L"ColumnwideValue"), L"");
    EXPECT_FALSE(loaded[L"A"]->IsReferencedByOther());
    // B no longer refers to A, so A may now refer to B.
    EXPECT_EQ(loaded[L"A"]->SetFormula(L"{B}"), Result::Success);
}

TEST(ColumnDependants, WalksTheGraphOnceEvenThroughCircles) {
    FamilyXml xml;  // A -> B -> C -> A, and B -> D, loaded as the file has them
    for (const auto& [id, formula] :
         {std::pair{L"A", L"{C}"}, {L"B", L"{A}"}, {L"C", L"{B}"}, {L"D", L"{B}"}}) {
        xml.columns.push_back({id, {{L"ValueType", L"string"}, {L"ColumnwideValue", formula}}});
    }
    Loaded loaded(xml);
    CEncapFamilyColumn *a = loaded[L"A"], *b = loaded[L"B"], *c = loaded[L"C"], *d = loaded[L"D"];
    EXPECT_TRUE(a->IsReferencedDirectlyBy(b));
    EXPECT_FALSE(a->IsReferencedDirectlyBy(d) || a->IsReferencedDirectlyBy(nullptr));
    EXPECT_TRUE(a->IsReferencedBy(d));
    EXPECT_FALSE(d->IsReferencedBy(a));
    EXPECT_EQ(a->CheckCircularDependency(nullptr), Result::CircularReference);
    EXPECT_EQ(d->CheckCircularDependency(nullptr), Result::Success);
    Columns all, withoutC;
    EXPECT_EQ(a->GetAllDependentColumns(all, nullptr), (Columns{a, b, c, d}));
    EXPECT_EQ(a->GetAllDependentColumns(withoutC, c), (Columns{a, b, d}));
    d->SetIsGeometryColumn(true);
    EXPECT_TRUE(a->ChangeInColumnCausesRefresh());
    a->InvalidateCache(L"", L"en-US");
}

TEST(ColumnRefresh, BumpsFollowGeometryAndCustomColumns) {
    Loaded loaded(TextTable());
    CEncapFamilyColumn* a = loaded[L"A"];
    CEncapFamilyColumn* b = loaded[L"B"];
    EXPECT_FALSE(a->ChangeInColumnCausesRefresh());
    b->SetIsGeometryColumn(true);
    EXPECT_TRUE(a->ChangeInColumnCausesRefresh());
    b->SetIsCustom(true);  // B drove the members before
    const std::wstring custom = loaded.Revision(L"r0");
    EXPECT_NE(custom, L"rev0");
    EXPECT_EQ(loaded.Revision(L"r1"), custom);
    EXPECT_FALSE(a->ChangeInColumnCausesRefresh());  // a custom dependant stops it
    b->SetIsCustom(false);
    const std::wstring plain = loaded.Revision(L"r0");
    EXPECT_NE(plain, custom);
    b->SetUnitType(L"");
    EXPECT_EQ(loaded.Revision(L"r0"), plain);
    b->SetUnitType(L"mm");
    EXPECT_NE(loaded.Revision(L"r0"), plain);
}

TEST(ColumnRefresh, SetValueBumpsOnlyItsRow) {
    Loaded loaded(TextTable());
    loaded[L"B"]->SetIsGeometryColumn(true);
    loaded[L"A"]->SetValue(L"r1", L"changed", true);
    EXPECT_EQ(loaded.Revision(L"r0"), L"rev0");
    EXPECT_NE(loaded.Revision(L"r1"), L"rev1");
    // The revision column writing itself never recurses into a bump.
    loaded[L"MEMBER_REVISION"]->SetIsGeometryColumn(true);
    loaded[L"MEMBER_REVISION"]->SetValue(L"r0", L"mine", false);
    EXPECT_EQ(loaded.Revision(L"r0"), L"mine");
}

TEST(ColumnFlags, PropertyFlagAndOwnedPropertyData) {
    CEncapFamilyColumn column(true);
    column.SetIsGeometryColumn(true);
    EXPECT_TRUE(column.IsPropertyColumn());
    column.SetColIPropertyData(new CEncapFamilyColIPropertyData(
        L"key", L"Material", CEncapFamilyColIPropertyData::kPartComponentDefinitionObject));
    column.SetIsGeometryColumn(false);
    EXPECT_TRUE(column.IsOrvPropertyColumn() && column.IsPropertyColumn());
    const CEncapFamilyColumn copy(column);
    ASSERT_NE(copy.ColIPropertyData(), nullptr);
    EXPECT_NE(copy.ColIPropertyData(), column.ColIPropertyData());
    column.SetColIPropertyData(nullptr);
    EXPECT_FALSE(column.IsOrvPropertyColumn() || column.IsPropertyColumn());
    column = copy;
    EXPECT_EQ(column.ColIPropertyData()->ObjectRefKey(), L"key");
    EXPECT_FALSE(column.IsLegacyMapColumn() || column.IsLocalized());  // no family
}

TEST(ColumnFlags, KindsComeFromExactParameterNames) {
    using Column = CEncapFamilyColumn;
    const std::pair<const wchar_t*, Column::ColumnType> cases[] = {
        {kFileNameParameter, Column::FileNameColumn},
        {L"818a152a-d3c3-49ca-80ee-df7d91421b8e", Column::MaterialColumn},
        {L"2675968c-4ce5-49e0-a4f5-552d29089031", Column::RestrictedColumn3},
        {L"016b6077-bfbe-49bd-92c9-d8d59c39c941", Column::RestrictedColumn4},
        {L"4dba7c1c-e26c-444e-836c-b08b433409a8", Column::RestrictedColumn5},
        {L"8B46A4CC-9585-4FED-90C3-899F57E09A73", Column::OrdinaryColumn},
        {L"", Column::OrdinaryColumn}};
    for (const auto& [parameter, kind] : cases) {
        Column column(true);
        column.UpdateColumnType(parameter);
        EXPECT_EQ(column.GetColumnType(), kind) << parameter;
        EXPECT_EQ(column.IsRestrictedColumn(), kind != Column::OrdinaryColumn);
        EXPECT_EQ(column.IsPropertyColumn(), kind != Column::OrdinaryColumn);
        EXPECT_EQ(column.IsMaterial(), kind == Column::MaterialColumn);
    }
}

TEST(ColumnUnique, FileNamesCompareIgnoringCase) {
    FamilyXml xml;
    xml.columns = {{L"F", {{L"ValueType", L"string"}}}};
    xml.rows = {{L"r0", {{L"F", L"Part1"}}}, {L"r1", {{L"F", L"PART1"}}}};
    Loaded loaded(xml);
    Result result = Result::Success;
    EXPECT_TRUE(loaded[L"F"]->HasUniqueValues(result));
    loaded[L"F"]->UpdateColumnType(kFileNameParameter);
    EXPECT_FALSE(loaded[L"F"]->HasUniqueValues(result));
    EXPECT_EQ(result, Result::Success);
}

TEST(ColumnUnique, RawValuesHoldFormulaAndOwnCells) {
    FamilyXml xml = TextTable();
    xml.rows[1].cells.emplace_back(L"B", L"own");
    xml.rows.push_back({L"r2", {{L"A", L"a0"}, {L"B", L"own"}}});
    Loaded loaded(xml);
    std::set<std::wstring> values{L"left over"};
    loaded[L"B"]->GetAllUniqueRawValues(values);
    EXPECT_EQ(values, (std::set<std::wstring>{L"{A}", L"own"}));
    loaded[L"A"]->GetAllUniqueRawValues(values);
    EXPECT_EQ(values, (std::set<std::wstring>{L"a0", L"a1"}));
}

TEST(ColumnOverrides, RowsWithOwnCellsOfAnExpressionColumn) {
    const std::wstring id = L"q'\"x";  // both quote kinds in the XPath literal
    FamilyXml xml;
    xml.columns = {{id, {{L"ValueType", L"string"}, {L"ColumnwideValue", L"\"f\""}}},
                   {L"Plain", {{L"ValueType", L"string"}}}};
    xml.rows = {{L"r0", {{id, L"own"}, {L"Plain", L"p"}}},
                {L"r1", {{L"Plain", L"p"}}},
                {L"r2", {{id, L"own"}}}};
    Loaded loaded(xml);
    std::vector<std::wstring> rows{L"left over"};
    EXPECT_TRUE(loaded[id]->GetExpressionColumnOverrides(rows));
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"r0", L"r2"}));
    EXPECT_FALSE(loaded[L"Plain"]->GetExpressionColumnOverrides(rows));
    EXPECT_TRUE(rows.empty());
    EXPECT_FALSE(loaded[L"Plain"]->HasExpressionColumnOverrides());
    EXPECT_TRUE(loaded[id]->HasExpressionColumnOverrides());
    loaded[id]->SetValue(L"r0", L"", false);
    loaded[id]->SetValue(L"r2", L"", false);
    EXPECT_FALSE(loaded[id]->HasExpressionColumnOverrides());
}

TEST(ColumnLocalized, TitlesOfVisibleColumnsComeFromTheActualLanguage) {
    FamilyXml xml;
    xml.columns = {{L"Len", {{L"Hidden", L"false"}, {L"Title", L"t"}}},
                   {L"Secret", {{L"Hidden", L"true"}}}};
    const std::wstring strings =
        L"<Table><ColumnStrings ColumnId=\"Len\"><Title>Longueur</Title></ColumnStrings>"
        L"<ColumnStrings ColumnId=\"Secret\"><Title>Cache</Title></ColumnStrings></Table>";
    Loaded loaded(xml, nullptr,
                  {FamilyTest::StringsXml(L"fr-FR", strings), FamilyTest::StringsXml(L"de", L"")});
    // Both answers (the actual language's title) and the stored de title.
    auto titles = [&](const wchar_t* id) {
        std::wstring text, de = L"<none>";
        loaded[id]->GetTitle(text, L"de");
        loaded.family->GetLocalizedColumnPropertyValue(L"Title", id, L"de", de);
        return text + L"|" + de;
    };
    EXPECT_EQ(titles(L"Len"), L"Longueur|<none>");
    EXPECT_EQ(titles(L"Secret"), L"|<none>");
    loaded[L"Len"]->SetTitle(L"Laenge", L"de");
    EXPECT_EQ(titles(L"Len"), L"Longueur|Laenge");
    loaded[L"Len"]->SetTitle(L"Every");
    EXPECT_EQ(titles(L"Len"), L"Every|Every");
    loaded[L"Secret"]->SetTitle(L"Hidden");  // the attribute only
    EXPECT_EQ(titles(L"Secret"), L"Hidden|<none>");
}

TEST(ConstColumn, AnswersTheConstantAndWritesTheFamily) {
    const std::wstring parameter = L"cd6c7a72-a28a-4e50-99a9-2c7f4e13e5ad";
    FamilyXml xml = TextTable();
    xml.rawChildren = FamilyTest::ParameterConstantsXml({{parameter, L"Acme"}});
    Loaded loaded(xml);
    CEncapFamilyColumn* column = loaded.family->GetCategoryParamColumn(parameter);
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(column->GetColumnID(), parameter);
    std::wstring value;
    for (const wchar_t* row : {L"r0", L"r1", L"no such row"}) {
        EXPECT_EQ(column->GetValue(row, value), Result::Success);
        EXPECT_EQ(value, L"Acme");
    }
    column->SetValue(L"r0", L"Other", true);
    EXPECT_TRUE(loaded.family->GetCatParamConstValue(parameter, value));
    EXPECT_EQ(value, L"Other");
    column->GetValue(L"r0", value);
    EXPECT_EQ(value, L"Acme");
}

TEST(ColumnPropertyData, ObjectTypeTexts) {
    using Data = CEncapFamilyColIPropertyData;
    EXPECT_EQ(Data::StringToColPropObjType(L"kpropertyobject"), Data::kPropertyObject);
    EXPECT_EQ(Data::StringToColPropObjType(L"kPropertyObject "), Data::Unknown);
    EXPECT_EQ(Data::StringToColPropObjType(L""), Data::Unknown);
    EXPECT_EQ(Data::ColPropObjTypeToString(static_cast<Data::ColPropertyObjectType>(9)),
              L"Unknown");
    for (int type = 0; type <= 7; ++type) {
        const auto value = static_cast<Data::ColPropertyObjectType>(type);
        EXPECT_EQ(Data::StringToColPropObjType(Data::ColPropObjTypeToString(value)), value);
    }
    Data data;
    data.SetPropObjTypeStr(L"KPARTFEATUREOBJECT");
    EXPECT_EQ(data.PropObjTypeStr(), L"kPartFeatureObject");
}

}  // namespace
