// Family table editing: rows and columns inserted, deleted, copied, pasted,
// duplicated and moved, with the order vectors checked against the elements
// after every edit; member revisions and the source revision column; edits
// that survive a save and a new family over the saved document.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cwctype>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "family/support/family_xml.h"
#include "support/temp_folder.h"
#include "vardel/family.h"
#include "vardel/family_table.h"
#include "vardel/xml_node_array.h"
#include "vardel/xml_parser.h"

namespace {

using FamilyTest::FamilyXml;
using Ids = std::vector<std::wstring>;

struct Loaded {
    explicit Loaded(const std::wstring& xml)
        : family(std::make_unique<CEncapFamily>(xml.c_str(), std::vector<std::wstring>{}, L"",
                                                nullptr, L"en-US", false)),
          table(family->GetEncapFamilyTable()) {}
    explicit Loaded(const FamilyXml& xml) : Loaded(xml.Build()) {}

    std::wstring Raw(const std::wstring& rowId, const std::wstring& columnId) const {
        std::wstring value;
        return table->GetRawValue(rowId, columnId, value) == 0 ? value : L"<none>";
    }
    // The order vector, checked against the ids of the elements.
    Ids Order(const wchar_t* list, const wchar_t* attribute, const Ids& ids) const {
        XMLNodeArray elements;
        table->GetXMLNode().SelectChildNodes((std::wstring(list) + L"/*").c_str(), elements);
        Ids elementIds(static_cast<std::size_t>(elements.GetSize()));
        for (int i = 0; i < elements.GetSize(); ++i)
            elements[i].GetProperty(attribute, elementIds[static_cast<std::size_t>(i)]);
        EXPECT_EQ(elementIds, ids) << "elements and ids differ";
        return ids;
    }
    Ids Rows() const { return Order(L"Rows", L"RowId", table->GetAllRowIDs()); }
    Ids Columns() const { return Order(L"Columns", L"ColumnId", table->GetAllColumnIDs()); }

    std::unique_ptr<CEncapFamily> family;
    CEncapFamilyTable* table;
};

// RID, key column K, text columns A and B = "{A}" (r1 overrides it), Status
// and MEMBER_REVISION; three rows.
FamilyXml MemberTable(const FamilyTest::Attributes& root = {}) {
    FamilyXml xml;
    xml.rootAttributes = root;
    const FamilyTest::Attributes text = {{L"ValueType", L"string"}};
    xml.columns = {
        {L"RID", text},    {L"K", {{L"ValueType", L"string"}, {L"KeyWeight", L"1"}}},
        {L"A", text},      {L"B", {{L"ValueType", L"string"}, {L"ColumnwideValue", L"{A}"}}},
        {L"Status", text}, {L"MEMBER_REVISION", text}};
    for (const std::wstring id : {L"r0", L"r1", L"r2"}) {
        xml.rows.push_back({id,
                            {{L"RID", id},
                             {L"K", L"k" + id},
                             {L"A", L"a" + id},
                             {L"Status", L"Suppressed"},
                             {L"MEMBER_REVISION", L"rev"}}});
    }
    xml.rows[1].cells.emplace_back(L"B", L"own");
    return xml;
}

bool IsGuid(const std::wstring& text) {
    return text.size() == 36 && std::count(text.begin(), text.end(), L'-') == 4 &&
           text.find_first_of(L"ABCDEF{}") == std::wstring::npos;
}

TEST(TableRowEdit, InsertNewRowPlacesTheElementAndTheIdTogether) {
    const std::vector<std::tuple<int, int, Ids>> cases = {{0, 0, {L"new"}},
                                                          {3, 99, {L"r0", L"r1", L"r2", L"new"}},
                                                          {3, 3, {L"r0", L"r1", L"r2", L"new"}},
                                                          {3, -5, {L"new", L"r0", L"r1", L"r2"}},
                                                          {3, 1, {L"r0", L"new", L"r1", L"r2"}}};
    for (const auto& [rows, index, order] : cases) {
        Loaded loaded(FamilyTest::NumberTable(rows, 1));
        ASSERT_NE(loaded.table->InsertNewRow(index, L"new"), nullptr) << index;
        EXPECT_EQ(loaded.Rows(), order) << index;
    }
}

TEST(TableRowEdit, NewRowHoldsItsIdARevisionAndStateNew) {
    Loaded loaded(MemberTable());
    CEncapFamilyRow* row = loaded.table->InsertNewRow(0, L"");
    ASSERT_NE(row, nullptr);
    const std::wstring id = row->GetRowID();
    EXPECT_TRUE(IsGuid(id)) << id;
    EXPECT_EQ(loaded.Raw(id, L"RID"), id);
    EXPECT_TRUE(IsGuid(loaded.Raw(id, L"MEMBER_REVISION")));
    EXPECT_EQ(row->GetRowState(), CEncapFamilyRow::New);
    row->SetValue(L"MEMBER_REVISION", L"rev2", false);
    EXPECT_EQ(row->GetRowState(), CEncapFamilyRow::New);
    row->SetValue(L"A", L"x", false);
    EXPECT_EQ(row->GetRowState(), CEncapFamilyRow::Modified);
    // An id that exists in any case is refused without touching the table.
    EXPECT_EQ(loaded.table->InsertNewRow(0, L"R1"), nullptr);
    EXPECT_EQ(loaded.Rows().size(), 4u);
}

TEST(TableRowEdit, DeleteRowRemovesElementIdAndCachedValues) {
    Loaded loaded(MemberTable());
    std::wstring value;
    ASSERT_EQ(loaded.table->GetValue(L"r0", L"B", value), CTableEvaluator::Success);
    EXPECT_FALSE(loaded.table->DeleteRow(-1));
    EXPECT_FALSE(loaded.table->DeleteRow(3));
    EXPECT_TRUE(loaded.table->DeleteRow(0));
    EXPECT_EQ(loaded.Rows(), (Ids{L"r1", L"r2"}));
    EXPECT_EQ(loaded.table->GetFamilyRowByID(L"r0"), nullptr);
    // A new row of the same id starts without the old row's values.
    ASSERT_NE(loaded.table->InsertNewRow(0, L"r0"), nullptr);
    loaded.table->GetValue(L"r0", L"B", value);
    EXPECT_EQ(value, L"");
}

TEST(TableRowEdit, CopyAndPasteTakeValuesButNotIdAndStatus) {
    Loaded loaded(MemberTable());
    CEncapFamilyTable* table = loaded.table;
    EXPECT_EQ(table->CopyRow(L"missing"), nullptr);
    CEncapFamilyRow* copy = table->CopyRow(L"R1");
    ASSERT_NE(copy, nullptr);
    const std::wstring id = copy->GetRowID();
    EXPECT_EQ(loaded.Rows().back(), id);
    EXPECT_EQ(loaded.Raw(id, L"RID"), id);
    EXPECT_EQ(loaded.Raw(id, L"Status"), L"<none>");
    EXPECT_EQ(loaded.Raw(id, L"A"), L"ar1");
    EXPECT_EQ(loaded.Raw(id, L"B"), L"own");

    for (const auto& [to, from] : std::vector<std::pair<int, int>>{{-1, 0}, {0, 4}, {4, 0}})
        EXPECT_FALSE(table->PasteRow(to, from)) << to << "," << from;
    table->SetStatusColValue(2, L"Active");
    EXPECT_TRUE(table->PasteRow(0, 2));
    EXPECT_EQ(loaded.Raw(L"r0", L"RID"), L"r0");
    EXPECT_EQ(loaded.Raw(L"r0", L"Status"), L"Suppressed");
    EXPECT_EQ(loaded.Raw(L"r0", L"K"), L"kr2");
    // A formula value is pasted as the source's evaluated value.
    EXPECT_EQ(loaded.Raw(L"r0", L"B"), L"ar2");
}

TEST(TableRowEdit, ChangeRowIndexClampsAndMovesElementAndId) {
    Loaded loaded(FamilyTest::NumberTable(3, 1));
    int index = 10;
    loaded.table->ChangeRowIndex(L"r0", index);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(loaded.Rows(), (Ids{L"r1", L"r2", L"r0"}));
    index = 0;
    loaded.table->ChangeRowIndex(L"R0", index);  // order ids compare exactly
    EXPECT_EQ(loaded.Rows(), (Ids{L"r1", L"r2", L"r0"}));
    index = -3;
    loaded.table->ChangeRowIndex(L"r2", index);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(loaded.Rows(), (Ids{L"r2", L"r1", L"r0"}));
}

// Lookups walk the row order while it is known; after every kind of order
// edit, and once it is rebuilt, ids and indexes still find their own rows.
TEST(TableRowEdit, LookupsFindTheirRowsAcrossOrderEdits) {
    Loaded loaded(FamilyTest::NumberTable(4, 1));
    CEncapFamilyTable* table = loaded.table;
    const auto check = [&](const char* step) {
        SCOPED_TRACE(step);
        // Twice over every id (the second pass on a rebuilt order), then
        // backwards, by index and in another case.
        for (int pass = 0; pass < 2; ++pass) {
            for (const std::wstring& id : table->GetAllRowIDs()) {
                ASSERT_NE(table->GetFamilyRowByID(id), nullptr);
                EXPECT_EQ(table->GetFamilyRowByID(id)->GetRowID(), id);
            }
        }
        for (int i = table->GetRowsCount() - 1; i >= 0; --i) {
            EXPECT_EQ(table->GetFamilyRowByIndex(i)->GetRowID(), table->GetRowIDByIndex(i));
            std::wstring upper = table->GetRowIDByIndex(i);
            std::transform(upper.begin(), upper.end(), upper.begin(), ::towupper);
            EXPECT_EQ(table->GetFamilyRowByID(upper), table->GetFamilyRowByIndex(i));
        }
        EXPECT_EQ(table->GetFamilyRowByID(L"missing"), nullptr);
    };
    check("loaded");
    int index = 0;
    table->ChangeRowIndex(L"r3", index);
    check("moved");
    ASSERT_NE(table->InsertNewRow(1, L"n1"), nullptr);
    check("inserted");
    ASSERT_TRUE(table->DeleteRow(2));
    check("deleted");
    EXPECT_EQ(loaded.Rows(), (Ids{L"r3", L"n1", L"r1", L"r2"}));
}

TEST(TableColumnEdit, InsertAndDuplicateColumnsAtTheirIndex) {
    Loaded loaded(MemberTable());
    CEncapFamilyTable* table = loaded.table;
    EXPECT_EQ(table->InsertNewColumn(0, L"k"), nullptr);
    CEncapFamilyColumn* inserted = table->InsertNewColumn(-1, L"N");
    ASSERT_NE(inserted, nullptr);
    std::wstring title;
    inserted->GetTitle(title);
    EXPECT_EQ(title, L"N");
    EXPECT_FALSE(inserted->IsHidden());
    for (const auto& [source, name] : std::vector<std::pair<const wchar_t*, const wchar_t*>>{
             {L"A", L"1x"}, {L"missing", L"X"}, {L"A", L"n"}})
        EXPECT_EQ(table->DuplicateColumn(0, source, name), nullptr) << name;
    CEncapFamilyColumn* key = table->DuplicateColumn(2, L"k", L"K2");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->GetKeyWeight(), 0);
    EXPECT_EQ(loaded.Raw(L"r2", L"K2"), L"kr2");
    // A duplicated formula keeps following its references; own cells copy.
    CEncapFamilyColumn* formula = table->DuplicateColumn(INT_MAX, L"B", L"B2");
    ASSERT_NE(formula, nullptr);
    EXPECT_EQ(loaded.Raw(L"r1", L"B2"), L"own");
    EXPECT_EQ(loaded.Raw(L"r0", L"B2"), L"<none>");
    EXPECT_TRUE(table->GetFamilyColumnByID(L"A")->IsReferencedDirectlyBy(formula));
    EXPECT_EQ(loaded.Columns(),
              (Ids{L"N", L"RID", L"K2", L"K", L"A", L"B", L"Status", L"MEMBER_REVISION", L"B2"}));
}

TEST(TableColumnEdit, DeleteColumnLowersHeavierKeyWeights) {
    FamilyXml xml;
    for (const std::wstring weight : {L"1", L"2", L"3", L"4"})
        xml.columns.push_back({L"W" + weight, {{L"KeyWeight", weight}}});
    Loaded loaded(xml);
    EXPECT_FALSE(loaded.table->DeleteColumn(-1));
    EXPECT_FALSE(loaded.table->DeleteColumn(4));
    ASSERT_TRUE(loaded.table->DeleteColumn(1));
    EXPECT_EQ(loaded.Columns(), (Ids{L"W1", L"W3", L"W4"}));
    std::vector<int> weights;
    for (int i = 0; i < 3; ++i)
        weights.push_back(loaded.table->GetFamilyColumnByIndex(i)->GetKeyWeight());
    EXPECT_EQ(weights, (std::vector<int>{1, 2, 3}));
}

TEST(TableColumnEdit, DeleteColumnRemovesCellsReferencesAndStatus) {
    Loaded loaded(MemberTable());
    CEncapFamilyTable* table = loaded.table;
    ASSERT_TRUE(table->DeleteColumn(table->GetFamilyColumnIndexByID(L"B")));
    EXPECT_EQ(loaded.Raw(L"r1", L"B"), L"<none>");
    EXPECT_FALSE(table->GetFamilyColumnByID(L"A")->IsReferencedByOther());
    ASSERT_TRUE(table->DeleteColumn(table->GetFamilyColumnIndexByID(L"status")));
    EXPECT_EQ(table->GetStatusColIDStr(), L"");
    EXPECT_EQ(loaded.Columns(), (Ids{L"RID", L"K", L"A", L"MEMBER_REVISION"}));

    // Of two columns differing in case, the one left is found ignoring case.
    for (const int deleted : {0, 1}) {
        FamilyXml xml;
        xml.columns = {{L"Width", {}}, {L"WIDTH", {}}};
        xml.rows = {{L"r0", {{L"Width", L"first"}, {L"WIDTH", L"second"}}}};
        Loaded pair(xml);
        ASSERT_TRUE(pair.table->DeleteColumn(deleted));
        const std::wstring kept = deleted == 0 ? L"WIDTH" : L"Width";
        EXPECT_EQ(pair.Columns(), Ids{kept});
        ASSERT_NE(pair.table->GetFamilyColumnByID(L"width"), nullptr);
        EXPECT_EQ(pair.table->GetFamilyColumnByID(L"width")->GetColumnID(), kept);
        EXPECT_EQ(pair.Raw(L"r0", kept), deleted == 0 ? L"second" : L"first");
    }
}

TEST(TableColumnEdit, ValidNewColumnNamesAndColumnMoves) {
    Loaded loaded(FamilyTest::NumberTable(1, 5));
    const std::vector<std::pair<std::wstring, bool>> names = {
        {L"A1_b-2", true}, {L"\u00c4rger", true}, {L"x", true},   {L"C1x", true},  {L"1A", false},
        {L"a b", false},   {L"", false},          {L"_a", false}, {L"a.b", false}, {L"c1", false}};
    for (const auto& [name, valid] : names)
        EXPECT_EQ(loaded.table->IsValidNewColumnName(name), valid) << name.size();

    int index = 10;
    loaded.table->ChangeColumnIndex(L"C1", index);
    EXPECT_EQ(index, 4);
    EXPECT_EQ(loaded.Columns(), (Ids{L"C0", L"C2", L"C3", L"C4", L"C1"}));
    index = 0;
    loaded.table->ChangeColumnIndex(L"C4", index);
    index = 2;
    loaded.table->ChangeColumnIndex(L"missing", index);
    loaded.table->ChangeColumnIndex(L"c0", index);
    EXPECT_EQ(loaded.Columns(), (Ids{L"C4", L"C0", L"C2", L"C3", L"C1"}));
}

TEST(TableRevisions, BumpsAndTheSourceRevisionColumn) {
    Loaded loaded(MemberTable());
    CEncapFamilyTable* table = loaded.table;
    table->BumpAllMemberRevisions(nullptr);
    const std::wstring shared = loaded.Raw(L"r0", L"MEMBER_REVISION");
    EXPECT_TRUE(IsGuid(shared));
    EXPECT_EQ(loaded.Raw(L"r2", L"MEMBER_REVISION"), shared);
    EXPECT_FALSE(table->GetFamilyRowByID(L"r1")->IsRowModified());
    table->BumpAllMemberRevisions(L"given");
    table->SetValue(L"r2", L"MEMBER_REVISION", L"rev2", false);

    CEncapFamilyColumn* source = table->CreateSourceMemberRevisionColumn();
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(loaded.Columns().back(), L"SOURCE_MEMBER_REVISION");
    EXPECT_TRUE(source->IsHidden());
    EXPECT_EQ(source->GetDataType(), DataTypes::String);
    std::wstring title = L"<none>";
    source->GetXMLNode().GetProperty(L"Title", title);
    EXPECT_EQ(title, L"");
    EXPECT_EQ(loaded.Raw(L"r0", L"SOURCE_MEMBER_REVISION"), L"given");
    EXPECT_EQ(loaded.Raw(L"r2", L"SOURCE_MEMBER_REVISION"), L"rev2");
    EXPECT_EQ(table->CreateSourceMemberRevisionColumn(), nullptr);

    Loaded plain(FamilyTest::NumberTable(2, 1));
    plain.table->BumpAllMemberRevisions(L"given");
    EXPECT_EQ(plain.Raw(L"r0", L"MEMBER_REVISION"), L"<none>");
    EXPECT_EQ(plain.table->CreateSourceMemberRevisionColumn(), nullptr);

    // A linked family gets the source column with its first bump.
    Loaded linked(MemberTable({{L"FromSource", L"lib/source"}}));
    ASSERT_NE(linked.table->InsertNewRow(INT_MAX, L"r3"), nullptr);
    EXPECT_EQ(linked.Raw(L"r1", L"SOURCE_MEMBER_REVISION"), L"rev");
    EXPECT_TRUE(IsGuid(linked.Raw(L"r3", L"MEMBER_REVISION")));
}

// Every edit lives in the document: a family loaded from the saved file
// sees the same table.
TEST(TableEditRoundTrip, SavedEditsReloadUnchanged) {
    Loaded loaded(MemberTable());
    CEncapFamilyTable* table = loaded.table;
    table->InsertNewRow(1, L"mid");
    table->CopyRow(L"r2");
    table->DeleteRow(0);
    table->InsertNewColumn(2, L"New");
    table->SetValue(L"mid", L"New", L"\u00fcber & <more>", true);
    table->DuplicateColumn(0, L"A", L"A2");
    table->DeleteColumn(table->GetFamilyColumnIndexByID(L"K"));
    int index = 0;
    table->ChangeColumnIndex(L"MEMBER_REVISION", index);
    table->ChangeRowIndex(L"r2", index);
    table->SetStatusColValue(1, L"Active");

    TempFolder folder;
    const std::wstring path = (folder.path() / L"family.xml").wstring();
    ASSERT_TRUE(loaded.family->SaveFamilyXML(path.c_str()));
    XMLParser saved;
    ASSERT_TRUE(saved.LoadXmlDocument(path.c_str()));
    std::wstring text;
    ASSERT_TRUE(saved.GetXml(text));
    Loaded again(text);
    ASSERT_EQ(again.Rows(), loaded.Rows());
    ASSERT_EQ(again.Columns(), loaded.Columns());
    for (const std::wstring& row : loaded.table->GetAllRowIDs()) {
        EXPECT_EQ(again.table->IsRowSuppressed(row), table->IsRowSuppressed(row));
        for (const std::wstring& column : loaded.table->GetAllColumnIDs())
            EXPECT_EQ(again.Raw(row, column), loaded.Raw(row, column));
    }
    EXPECT_EQ(again.Raw(L"mid", L"New"), L"\u00fcber & <more>");
}

}  // namespace
