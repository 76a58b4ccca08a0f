// Fuzz target: formula parsing and evaluation. The input is split at line
// feeds into up to nine texts, UTF-8; the first byte's low bit chooses a
// localised decimal separator. The texts become the column-wide formulas of
// four formula columns (number in "mm", integer, text, logical; any may
// refer to any column, in circles too, as a family file can), the range of
// a custom number column, and cells of the first row. The family is built
// from that document with the reference provider; then every cell is read,
// every text is checked (CheckFormulaSyntax) and evaluated (Evaluate) as
// each formula kind and data type, stored as each formula column's formula
// (SetFormula) and every cell is read again. Any input must neither crash
// nor hang.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/utf8.h"
#include "vardel/family.h"
#include "vardel/reference_evaluator_provider.h"
#include "vardel/xml_parser.h"

namespace {

constexpr std::size_t kTexts = 9;
// Longer texts only make each run slower; the language has no construct
// that needs more.
constexpr std::size_t kMaxText = 256;

struct ColumnShape {
    const wchar_t* id;
    const wchar_t* type;
    const wchar_t* unit;
};

// Plain columns first; the formula columns take texts 0 to 3, the custom
// range column text 4, the first row's cells of A, B, S and L texts 5 to 8.
constexpr ColumnShape kPlain[] = {
    {L"A", L"double", L"mm"}, {L"B", L"integer", L""},   {L"S", L"string", L""},
    {L"L", L"boolean", L""},  {L"D", L"double", L"deg"},
};
constexpr ColumnShape kFormula[] = {
    {L"F1", L"double", L"mm"},
    {L"F2", L"integer", L""},
    {L"F3", L"string", L""},
    {L"F4", L"boolean", L""},
};
constexpr const wchar_t* kRange = L"R";

// The input's texts; characters that XML cannot hold become spaces, so
// that every text reaches the family.
std::vector<std::wstring> SplitTexts(std::string_view input) {
    std::vector<std::wstring> texts;
    std::size_t start = 0;
    while (texts.size() < kTexts) {
        const std::size_t end = std::min(input.find('\n', start), input.size());
        std::wstring text =
            VardelCommon::FromUtf8(input.substr(start, std::min(end - start, kMaxText)));
        for (wchar_t& c : text) {
            const bool allowed = c == L'\t' || (c >= 0x20 && c < 0xD800) ||
                                 (c >= 0xE000 && c < 0xFFFE) || c >= 0x10000;
            c = allowed ? c : L' ';
        }
        texts.push_back(std::move(text));
        if (end == input.size()) {
            break;
        }
        start = end + 1;
    }
    texts.resize(kTexts);
    return texts;
}

void AddColumn(XMLNode& columns, const ColumnShape& shape) {
    XMLNode column = columns.AddNode(L"Column", nullptr, L"ColumnId", shape.id, L"ValueType",
                                     shape.type, L"UnitType", shape.unit);
    column.SetProperty(L"Title", shape.id);
}

// The family document holding the texts (escaped by the XML layer).
std::wstring FamilyText(const std::vector<std::wstring>& texts) {
    XMLParser document(
        L"<Family InternalName=\"fuzz\"><FamilyTable><Columns/><Rows/>"
        L"</FamilyTable></Family>");
    XMLNode columns;
    XMLNode rows;
    document.GetRootNode().GetChildNode(L"FamilyTable/Columns", columns);
    document.GetRootNode().GetChildNode(L"FamilyTable/Rows", rows);
    AddColumn(columns, {L"RID", L"string", L""});
    for (const ColumnShape& shape : kPlain) {
        AddColumn(columns, shape);
    }
    XMLNode range = columns.AddNode(L"Column", nullptr, L"ColumnId", kRange, L"ValueType",
                                    L"double", L"UnitType", L"mm");
    range.SetProperty(L"Custom", L"true");
    range.SetProperty(L"ColumnwideValue", texts[4]);
    for (std::size_t i = 0; i < std::size(kFormula); ++i) {
        AddColumn(columns, kFormula[i]);
        XMLNode column;
        columns.GetLastChildNode(column);
        column.SetProperty(L"ColumnwideValue", texts[i]);
    }
    for (const wchar_t* rowId : {L"r1", L"r2"}) {
        XMLNode row = rows.AddNode(L"Row", nullptr, L"RowId", rowId);
        row.AddNode(L"Cell", rowId, L"ColumnId", L"RID");
        row.AddNode(L"Cell", L"12.5", L"ColumnId", L"D");
    }
    XMLNode first;
    rows.GetFirstChildNode(first);
    for (std::size_t i = 0; i < 4; ++i) {
        first.AddNode(L"Cell", texts[5 + i].c_str(), L"ColumnId", kPlain[i].id);
    }
    std::wstring text;
    document.GetXml(text);
    return text;
}

void ReadEveryCell(CEncapFamilyTable& table) {
    std::wstring value;
    for (const std::wstring& row : table.GetAllRowIDs()) {
        for (const std::wstring& column : table.GetAllColumnIDs()) {
            table.GetValue(row, column, value);
        }
    }
}

void CheckAndEvaluate(CEncapFamilyTable& table, const std::wstring& text) {
    static constexpr DataTypes::ColumnFormulaType kKinds[] = {
        DataTypes::RangeFormula, DataTypes::ExpressionFormula, DataTypes::MaterialFormula};
    static constexpr DataTypes::ColumnDataType kTypes[] = {DataTypes::String, DataTypes::Real,
                                                           DataTypes::Integer, DataTypes::Boolean};
    static constexpr const wchar_t* kUnits[] = {L"", L"mm", L"deg"};
    std::wstring value;
    std::size_t next = 0;
    for (const DataTypes::ColumnFormulaType kind : kKinds) {
        for (const DataTypes::ColumnDataType type : kTypes) {
            // Each unit meets every data type once over the kinds.
            const wchar_t* unit = kUnits[next++ % std::size(kUnits)];
            table.CheckFormulaSyntax(text.c_str(), kind, type, unit);
            table.Evaluate(text.c_str(), kind, type, L"r1", unit, value);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const bool localize = !input.empty() && (input.front() & 1) != 0;
    const std::vector<std::wstring> texts = SplitTexts(input);
    CEncapFamily family(FamilyText(texts).c_str(), {}, L"", new CReferenceEvaluatorProvider(),
                        L"en-US", localize);
    CEncapFamilyTable* table = family.GetEncapFamilyTable();
    if (table == nullptr) {
        __builtin_trap();  // every input must give a family with its table
    }
    ReadEveryCell(*table);
    for (const std::wstring& text : texts) {
        CheckAndEvaluate(*table, text);
    }
    for (std::size_t i = 0; i < std::size(kFormula); ++i) {
        CEncapFamilyColumn* column = table->GetFamilyColumnByID(kFormula[i].id);
        column->SetFormula(texts[(i + 1) % kTexts]);
        ReadEveryCell(*table);
    }
    table->GetFamilyColumnByID(kRange)->SetFormula(texts[0]);
    ReadEveryCell(*table);
    return 0;
}
