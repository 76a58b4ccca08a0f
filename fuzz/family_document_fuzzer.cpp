// Fuzz target: a family document given as UTF-8 XML text, loaded without
// strings, cache folder or evaluator provider. Any input must load (or give
// a family without table), answer every raw and evaluated cell of its table,
// the evaluated copy of the table, the checks of every column, the repair of
// every column and a set of family properties, and be destroyed without
// crashing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/utf8.h"
#include "vardel/family.h"

namespace {

void WalkTable(CEncapFamilyTable& table) {
    const std::vector<std::wstring> rows = table.GetAllRowIDs();
    const std::vector<std::wstring> columns = table.GetAllColumnIDs();
    for (const std::wstring& row : rows) {
        for (const std::wstring& column : columns) {
            std::wstring value;
            table.GetRawValue(row, column, value);
            table.GetValue(row, column, value);
        }
    }
}

void ValidateTable(CEncapFamilyTable& table) {
    std::wstring xml;
    table.GetEvaluatedXml(xml);
    std::vector<std::wstring> titles;
    table.FileNameOfCustomPartIsUnique(titles);
    const std::vector<std::wstring> rows = table.GetAllRowIDs();
    const std::wstring firstRow = rows.empty() ? L"" : rows.front();
    std::wstring key;
    table.GetMemberMaterialRefId(firstRow, key);
    const std::vector<std::wstring> columns = table.GetAllColumnIDs();
    for (const std::wstring& column : columns) {
        std::wstring formula;
        table.GetFamilyColumnByID(column)->GetFormula(formula);
        table.IsFormulaValid(column, formula);
        table.CheckRangeColumnData(column, formula);
        CTableEvaluator::EvaluateResult result = CTableEvaluator::Success;
        table.HasColumnUniqueValues(column, result);
        std::wstring value = L"2*3";
        table.IsCellValueValid(firstRow, column, value);
    }
    // Repairs edit the table: last, then the copy once more.
    for (const std::wstring& column : columns) {
        table.ValidateAndRepairColumnData(table.GetFamilyColumnByID(column));
    }
    table.GetEvaluatedXml(xml);
}

void ReadProperties(CEncapFamily& family) {
    std::wstring value;
    for (int type = 0; type <= 12; ++type) {
        family.GetFamilyProperty(static_cast<FamilyPropType>(type), value);
    }
    family.GetCategoryID(value);
    family.GetCategoryParamColumn(L"05415f3d-3907-474b-a020-eb9d644f4cf3");
    family.IsSickFamilyTable();
    family.IsLinked();
    family.IsSrcActive();
    family.IsCustom();
    family.HasLatchpoints();
    XMLParser copy;
    family.GetFamilyXMLCopyWithStrings(copy);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring xml =
        VardelCommon::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    CEncapFamily family(xml.c_str(), {}, L"", nullptr, L"en-US", false);
    if (CEncapFamilyTable* table = family.GetEncapFamilyTable()) {
        WalkTable(*table);
        ValidateTable(*table);
    }
    ReadProperties(family);
    return 0;
}
