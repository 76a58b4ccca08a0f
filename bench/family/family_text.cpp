#include "family/family_text.h"

#include <map>
#include <tuple>

namespace VardelBench {
namespace {

void AppendColumns(std::wstring& text, int numberColumns, std::span<const FormulaColumn> formulas) {
    text += L"\n      <Column ColumnId=\"RID\" ValueType=\"string\" Hidden=\"true\"/>";
    for (int c = 1; c <= numberColumns; ++c) {
        text += L"\n      <Column ColumnId=\"C";
        text += std::to_wstring(c);
        text += L"\" ValueType=\"double\" UnitType=\"mm\"/>";
    }
    for (const FormulaColumn& column : formulas) {
        text += L"\n      <Column ColumnId=\"";
        text += column.id;
        text += L"\" ValueType=\"";
        text += column.type;
        text += L"\" UnitType=\"mm\" ColumnwideValue=\"";
        text += column.formula;
        text += L"\"/>";
    }
}

void AppendRow(std::wstring& text, int r, int numberColumns) {
    const std::wstring rowId = L"row-" + std::to_wstring(r);
    text += L"\n      <Row RowId=\"";
    text += rowId;
    text += L"\">\n        <Cell ColumnId=\"RID\">";
    text += rowId;
    text += L"</Cell>";
    for (int c = 1; c <= numberColumns; ++c) {
        text += L"\n        <Cell ColumnId=\"C";
        text += std::to_wstring(c);
        text += L"\">";
        text += std::to_wstring(r % 97 + 1);
        text += L'.';
        text += std::to_wstring(c);
        text += L"</Cell>";
    }
    text += L"\n      </Row>";
}

std::wstring MakeFamilyText(int rows, int numberColumns, std::span<const FormulaColumn> formulas) {
    std::wstring text =
        L"<Family InternalName=\"bench\" DisplayName=\"Hex bolt\">\n"
        L"  <FamilyTable>\n    <Columns>";
    AppendColumns(text, numberColumns, formulas);
    text += L"\n    </Columns>\n    <Rows>";
    for (int r = 0; r < rows; ++r) {
        AppendRow(text, r, numberColumns);
    }
    text += L"\n    </Rows>\n  </FamilyTable>\n</Family>\n";
    return text;
}

}  // namespace

const std::wstring& FamilyText(int rows, int numberColumns,
                               std::span<const FormulaColumn> formulas) {
    static std::map<std::tuple<int, int, std::size_t>, std::wstring> texts;
    const auto key = std::make_tuple(rows, numberColumns, formulas.size());
    auto found = texts.find(key);
    if (found == texts.end()) {
        found = texts.emplace(key, MakeFamilyText(rows, numberColumns, formulas)).first;
    }
    return found->second;
}

}  // namespace VardelBench
