// Family table: loading (skipped elements, repeated-case columns, the status
// column), lookups, raw cells, values through the columns, column
// references, and the value cache written when the table goes.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "family/support/family_xml.h"
#include "support/temp_folder.h"
#include "vardel/family.h"
#include "vardel/family_table.h"
#include "vardel/xml_node_array.h"

namespace {

using FamilyTest::FamilyXml;
using Ids = std::vector<std::wstring>;
using Columns = std::set<CEncapFamilyColumn*>;

struct Loaded {
    explicit Loaded(const std::wstring& xml, const std::wstring& cachePath = L"")
        : family(std::make_unique<CEncapFamily>(xml.c_str(), std::vector<std::wstring>{},
                                                cachePath.c_str(), nullptr, L"en-US", false)),
          table(family->GetEncapFamilyTable()) {}
    explicit Loaded(const FamilyXml& xml, const std::wstring& cachePath = L"")
        : Loaded(xml.Build(), cachePath) {}

    // The row's own cell; "<none>" when it has none (the output then empty).
    std::wstring Raw(const std::wstring& rowId, const std::wstring& columnId) const {
        std::wstring value = L"junk";
        const long found = table->GetRawValue(rowId, columnId, value);
        EXPECT_TRUE(found == 0 || value.empty());
        return found == 0 ? value : L"<none>";
    }
    std::wstring Value(const std::wstring& rowId, const std::wstring& columnId) const {
        std::wstring value;
        EXPECT_EQ(table->GetValue(rowId, columnId, value), CTableEvaluator::Success);
        return value;
    }
    CEncapFamilyColumn* Column(const wchar_t* id) const { return table->GetFamilyColumnByID(id); }

    std::unique_ptr<CEncapFamily> family;
    CEncapFamilyTable* table;
};

// Text columns A, B = "{A}", C = "{B}" and two rows with A cells.
FamilyXml ChainTable() {
    FamilyXml xml;
    xml.columns = {{L"A", {{L"ValueType", L"string"}}},
                   {L"B", {{L"ValueType", L"string"}, {L"ColumnwideValue", L"{A}"}}},
                   {L"C", {{L"ValueType", L"string"}, {L"ColumnwideValue", L"{B}"}}}};
    xml.rows = {{L"r0", {{L"A", L"a0"}}}, {L"r1", {{L"A", L"a1"}}}};
    return xml;
}

TEST(TableLoad, KeepsDocumentOrderAndSkipsElementsWithoutOrWithRepeatedIds) {
    FamilyXml xml;
    xml.columns = {{L"Z", {}}, {L"A", {{L"UnitType", L"mm"}}}, {L"M", {}}, {L"A", {}}};
    xml.rows = {{L"r2", {}}, {L"r1", {}}, {L"R2", {}}, {L"r3", {}}};
    std::wstring text = xml.Build();
    text.replace(text.find(L"</Columns>"), 0, L"<Column Title='no id'/>");
    text.replace(text.find(L"</Rows>"), 0, L"<Row><Cell ColumnId='Z'>x</Cell></Row>");
    Loaded loaded(text);
    EXPECT_EQ(loaded.table->GetAllColumnIDs(), (Ids{L"Z", L"A", L"M"}));
    EXPECT_EQ(loaded.table->GetAllRowIDs(), (Ids{L"r2", L"r1", L"r3"}));
    EXPECT_EQ(loaded.Column(L"a")->GetUnitType(), L"mm");
    std::wstring tableXml;
    ASSERT_TRUE(loaded.table->GetXml(tableXml));
    EXPECT_EQ(tableXml.rfind(L"<FamilyTable>", 0), 0u);
}

TEST(TableLoad, RepeatedCaseColumnsAreFoundByExactIdOnRequest) {
    FamilyXml xml;
    xml.columns = {{L"Width", {{L"UnitType", L"first"}}}, {L"WIDTH", {{L"UnitType", L"second"}}}};
    Loaded loaded(xml);
    CEncapFamilyTable* table = loaded.table;
    EXPECT_EQ(table->GetAllColumnIDs(), (Ids{L"Width", L"WIDTH"}));
    EXPECT_EQ(loaded.Column(L"WIDTH")->GetUnitType(), L"first");
    EXPECT_EQ(table->GetFamilyColumnByIndex(1)->GetUnitType(), L"second");
    EXPECT_EQ(table->GetFamilyColumnIndexByID(L"WIDTH"), 0);
    table->SetLookupColumnByCaseSensitive(true);
    EXPECT_EQ(loaded.Column(L"WIDTH")->GetUnitType(), L"second");
    EXPECT_EQ(loaded.Column(L"wIDTH")->GetUnitType(), L"first");
    Columns all;
    EXPECT_EQ(table->GetAllColumns(all).size(), 1u);
}

TEST(TableLoad, FirstStatusColumnInAnyCaseMarksSuppressedRows) {
    FamilyXml xml;
    xml.columns = {{L"A", {}}, {L"Status", {}}, {L"STATUS", {}}};
    xml.rows = {{L"r0", {{L"Status", L"SUPPRESSED"}}},
                {L"r1", {{L"Status", L"Active"}}},
                {L"r2", {{L"STATUS", L"Suppressed"}}},  // found ignoring case
                {L"r3", {{L"A", L"Suppressed"}}}};
    Loaded loaded(xml);
    CEncapFamilyTable* table = loaded.table;
    EXPECT_EQ(table->GetStatusColIDStr(), L"Status");
    EXPECT_TRUE(table->GetFamilyColumnByIndex(1)->IsStatusColumn());
    EXPECT_FALSE(table->GetFamilyColumnByIndex(2)->IsStatusColumn());
    const std::vector<std::pair<const wchar_t*, bool>> expected = {
        {L"r0", true}, {L"r1", false}, {L"R2", true}, {L"r3", false}, {L"missing", false}};
    for (const auto& [row, suppressed] : expected)
        EXPECT_EQ(table->IsRowSuppressed(row), suppressed) << row;

    table->SetStatusColValue(1, L"suppressed");
    EXPECT_TRUE(table->IsRowSuppressed(L"r1"));
    EXPECT_EQ(loaded.Raw(L"r1", L"Status"), L"suppressed");
    table->SetStatusColValue(0, L"");
    EXPECT_FALSE(table->IsRowSuppressed(L"r0"));
    EXPECT_EQ(loaded.Raw(L"r0", L"Status"), L"<none>");

    // No status column: nothing is written.
    Loaded plain(FamilyTest::NumberTable(1, 1));
    plain.table->SetStatusColValue(0, L"Suppressed");
    EXPECT_FALSE(plain.table->IsRowSuppressed(L"r0"));
    EXPECT_FALSE(plain.table->GetFamilyRowByIndex(0)->IsRowModified());
}

TEST(TableLookup, IdsIgnoreCaseIndicesAreCheckedAndColumnsComeInMapOrder) {
    FamilyXml xml;
    xml.columns = {{L"Z", {{L"KeyWeight", L"1"}}},
                   {L"A", {{L"KeyWeight", L"2"}, {L"Custom", L"true"}}},
                   {L"M", {{L"ValueType", L"string"}, {L"ColumnwideValue", L"{A}"}}}};
    xml.rows = {{L"r0", {{L"M", L"own"}}}, {L"r1", {}}};
    Loaded loaded(xml);
    CEncapFamilyTable* table = loaded.table;
    EXPECT_EQ(table->GetFamilyRowByID(L"R1"), table->GetFamilyRowByIndex(1));
    EXPECT_EQ(table->GetFamilyRowIndexByID(L"R1"), 1);
    EXPECT_EQ(table->GetFamilyColumnIndexByID(L"m"), 2);
    for (const int index : {-1, 2}) {
        EXPECT_EQ(table->GetFamilyRowByIndex(index), nullptr);
        EXPECT_EQ(table->GetRowIDByIndex(index), L"");
    }
    EXPECT_EQ(table->GetFamilyColumnByIndex(3), nullptr);
    EXPECT_EQ(table->GetFamilyColumnIDByIndex(-1), L"");
    EXPECT_EQ(table->GetFamilyRowIndexByID(L"r"), -1);
    EXPECT_EQ(table->GetFamilyColumnIndexByID(L"C"), -1);
    // Map order: by upper-cased id, not column order.
    EXPECT_EQ(table->GetKeyColumns(),
              (std::vector<CEncapFamilyColumn*>{loaded.Column(L"A"), loaded.Column(L"Z")}));
    EXPECT_EQ(table->GetFamilyColumnByType(CEncapFamilyColumn::OrdinaryColumn),
              loaded.Column(L"A"));
    EXPECT_TRUE(table->HasCustomColumns());
    EXPECT_TRUE(table->isCellOverride(L"R0", L"m"));
    EXPECT_FALSE(table->isCellOverride(L"r1", L"M"));
    EXPECT_FALSE(table->isCellOverride(L"r0", L"A"));
    EXPECT_EQ(table->GetColumnDataType(L"missing"), DataTypes::String);
}

TEST(TableRawValues, WritesReplaceRemoveOrAddOneCellAndMarkTheRow) {
    FamilyXml xml;
    xml.columns = {{L"A", {{L"ValueType", L"string"}}},
                   {L"MEMBER_REVISION", {{L"ValueType", L"string"}}},
                   {L"SOURCE_MEMBER_REVISION", {{L"ValueType", L"string"}}}};
    xml.rows = {{L"r0", {{L"a", L"old"}}}, {L"r1", {}}};
    Loaded loaded(xml);
    CEncapFamilyTable* table = loaded.table;
    CEncapFamilyRow* r0 = table->GetFamilyRowByID(L"r0");
    CEncapFamilyRow* r1 = table->GetFamilyRowByID(L"r1");
    table->SetValue(L"r1", L"MEMBER_REVISION", L"rev", false);
    table->SetValue(L"r1", L"SOURCE_MEMBER_REVISION", L"src", false);
    EXPECT_FALSE(r1->IsRowModified());
    EXPECT_EQ(loaded.Raw(L"r1", L"MEMBER_REVISION"), L"rev");

    table->SetValue(L"r0", L"A", L"new", false);
    XMLNodeArray cells;
    r0->GetXMLNode().GetChildNodes(L"Cell", cells);
    ASSERT_EQ(cells.GetSize(), 1);  // the lower-case cell is rewritten in place
    EXPECT_EQ(loaded.Raw(L"r0", L"A"), L"new");
    EXPECT_EQ(r0->GetRowState(), CEncapFamilyRow::Modified);
    table->SetValue(0, L"A", L"", false);
    EXPECT_EQ(r0->GetXMLNode().GetChildCount(), 0);
    table->SetValue(1, L"A", L"added", false);
    EXPECT_EQ(loaded.Raw(L"r1", L"a"), L"added");
    EXPECT_TRUE(r1->IsRowModified());
    // Missing columns and row indices outside the rows change nothing.
    table->SetValue(L"r1", L"missing", L"x", true);
    table->SetValue(2, L"A", L"x", true);
    table->SetValue(-1, L"A", L"x", true);
    EXPECT_EQ(loaded.Raw(L"r1", L"missing"), L"<none>");
    table->SetRowStateOfAllRows(CEncapFamilyRow::Unchanged);
    EXPECT_FALSE(r0->IsRowModified() || r1->IsRowModified());
}

// A row lists its cells once; the family document is shared with the host,
// and cells the host adds, removes or renames through it must show in the
// next read, whichever row or column was read before.
TEST(TableRawValues, ReadsFollowEditsMadeThroughTheSharedDocument) {
    Loaded loaded(FamilyTest::NumberTable(3, 2));
    for (const wchar_t* column : {L"C1", L"C0"}) {
        for (const wchar_t* row : {L"r0", L"r1", L"r2"}) {
            loaded.Raw(row, column);
        }
    }
    XMLNode r1 = loaded.table->GetFamilyRowByID(L"r1")->GetXMLNode();
    XMLNode cell;
    ASSERT_TRUE(r1.GetChildNode(L"Cell[@ColumnId='C0']", cell));
    cell.RemoveThisNode(true);
    EXPECT_EQ(loaded.Raw(L"r1", L"C0"), L"<none>");
    r1.AddNode(L"Cell", L"lower", L"ColumnId", L"c0");
    EXPECT_EQ(loaded.Raw(L"r1", L"C0"), L"lower");
    ASSERT_TRUE(r1.GetChildNode(L"Cell[@ColumnId='C1']", cell));
    cell.SetProperty(L"ColumnId", L"C0");
    EXPECT_EQ(loaded.Raw(L"r1", L"C0"), L"101");
    EXPECT_EQ(loaded.Raw(L"r1", L"C1"), L"<none>");
    EXPECT_EQ(loaded.Raw(L"r2", L"C1"), L"201");
}

TEST(TableValues, GoThroughTheColumnsTheirFormulasAndTheCache) {
    Loaded loaded(ChainTable());
    CEncapFamilyTable* table = loaded.table;
    EXPECT_EQ(loaded.Value(L"r0", L"C"), L"a0");
    std::wstring value = L"junk";
    EXPECT_EQ(table->GetValue(L"r0", L"missing", value), CTableEvaluator::ProviderFailure);
    EXPECT_EQ(value, L"");
    value = L"junk";
    EXPECT_EQ(table->GetValue(L"r0", L"missing", L"en-US", value),
              CTableEvaluator::ProviderFailure);
    EXPECT_EQ(value, L"");
    // Invalidating writes reach the dependants; an own cell overrides a formula.
    table->GetFamilyRowByID(L"r0")->SetValue(L"A", L"changed", true);
    EXPECT_EQ(loaded.Value(L"r0", L"C"), L"changed");
    table->SetValue(L"r0", L"B", L"en-US", L"own", true);
    EXPECT_EQ(loaded.Value(L"r0", L"C"), L"own");
    table->SetValue(L"r0", L"B", L"", true);
    EXPECT_EQ(loaded.Value(L"r0", L"C"), L"changed");

    // A cached value outlives an edit made behind the table's back until it
    // is cleared, in its language or in all.
    EXPECT_EQ(loaded.Value(L"r1", L"A"), L"a1");
    XMLNode cell;
    ASSERT_TRUE(table->GetFamilyRowByID(L"r1")->GetXMLNode().GetChildNode(L"Cell", cell));
    cell.SetNodeText(L"behind");
    table->ClearCachedValue(L"r1", L"A", L"de-DE");
    EXPECT_EQ(loaded.Value(L"r1", L"A"), L"a1");
    table->ClearCachedValue(L"r1", L"a", L"en-US");
    EXPECT_EQ(loaded.Value(L"r1", L"A"), L"behind");
    cell.SetNodeText(L"again");
    table->ClearCachedValue(L"r1", L"A");
    EXPECT_EQ(loaded.Value(L"r1", L"A"), L"again");
    table->GetFamilyRowByID(L"r1")->DeleteCellsColumnValues(L"a", true);
    EXPECT_EQ(loaded.Raw(L"r1", L"A"), L"<none>");
    table->GetValue(L"r1", L"A", value);
    EXPECT_EQ(value, L"");
}

TEST(TableDependencies, FormulasMakeColumnsDependantsOfTheirReferences) {
    Loaded loaded(ChainTable());
    CEncapFamilyTable* table = loaded.table;
    CEncapFamilyColumn* b = loaded.Column(L"B");
    CEncapFamilyColumn* c = loaded.Column(L"C");
    EXPECT_EQ(loaded.Column(L"A")->GetDependantColumns(), Columns{b});
    EXPECT_EQ(b->GetDependantColumns(), Columns{c});
    EXPECT_EQ(table->UpdateColumnsDependency(c, L"{a} & {A}"), CTableEvaluator::Success);
    EXPECT_EQ(loaded.Column(L"A")->GetDependantColumns(), (Columns{b, c}));
    EXPECT_TRUE(b->GetDependantColumns().empty());
    // Failures leave the references as they were.
    EXPECT_EQ(table->UpdateColumnsDependency(c, L"{B"), CTableEvaluator::SyntaxError);
    EXPECT_EQ(table->UpdateColumnsDependency(c, L"{Missing}"), CTableEvaluator::UnknownReference);
    EXPECT_EQ(table->UpdateColumnsDependency(nullptr, L"{A}"), CTableEvaluator::UnknownReference);
    EXPECT_EQ(loaded.Column(L"A")->GetDependantColumns(), (Columns{b, c}));
    EXPECT_EQ(table->UpdateColumnsDependency(c, L"plain"), CTableEvaluator::Success);
    EXPECT_EQ(loaded.Column(L"A")->GetDependantColumns(), Columns{b});
}

// The value cache is written when the table goes, only for a session that
// computed values with no edit and no range values in force, and serves the
// next opening (even where the document now says otherwise).
TEST(TableValueCache, WrittenOnDestructionOnlyWithoutEdits) {
    using Session = void (*)(CEncapFamilyTable*);
    const std::vector<std::pair<Session, bool>> cases = {
        {[](CEncapFamilyTable*) {}, true},
        {[](CEncapFamilyTable* t) { t->SetValue(L"r1", L"A", L"x", true); }, false},
        {[](CEncapFamilyTable* t) {
             t->GetFamilyRowByID(L"r1")->SetRangeColumnValues({{L"Len", L"12"}});
             std::wstring value;
             EXPECT_TRUE(t->GetFamilyRowByID(L"r1")->GetRangeColumnValue(L"LEN", value));
             EXPECT_EQ(value, L"12");
         },
         false},
        {[](CEncapFamilyTable* t) {
             t->GetFamilyRowByID(L"r1")->SetRangeColumnValues({{L"Len", L"12"}});
             t->GetFamilyRowByID(L"r1")->SetRangeColumnValues({});
         },
         true},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        TempFolder folder;
        const std::wstring cache = folder.path().wstring();
        {
            Loaded loaded(ChainTable(), cache);
            EXPECT_EQ(loaded.Value(L"r0", L"C"), L"a0");
            cases[i].first(loaded.table);
        }
        bool written = false;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            written = written || entry.path().filename().string().starts_with("TableCache_");
        EXPECT_EQ(written, cases[i].second) << "case " << i;
        FamilyXml changed = ChainTable();
        changed.rows[0].cells = {{L"A", L"edited elsewhere"}};
        Loaded again(changed, cache);
        EXPECT_EQ(again.Value(L"r0", L"C"), written ? L"a0" : L"edited elsewhere") << i;
    }
}

}  // namespace
