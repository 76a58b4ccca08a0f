// Cell reading and the names of the evaluator's result codes.
#include "family_cells.h"

#include "output.h"

namespace VardelTool {

std::vector<CEncapFamilyColumn*> TableColumns(const CEncapFamilyTable& table) {
    std::vector<CEncapFamilyColumn*> columns;
    for (const std::wstring& id : table.GetAllColumnIDs()) {
        if (CEncapFamilyColumn* column = table.GetFamilyColumnByID(id)) {
            columns.push_back(column);
        }
    }
    return columns;
}

CellValue EvaluateCell(CEncapFamilyTable& table, const std::wstring& rowId,
                       const std::wstring& columnId) {
    CellValue cell;
    std::wstring own;
    if (table.GetRawValue(rowId, columnId, own) != 0 && !table.hasColumnExpression(columnId)) {
        return cell;
    }
    cell.result = table.GetValue(rowId, columnId, cell.text);
    if (!cell.ok()) {
        cell.text.clear();
    }
    return cell;
}

RawCell ReadRawCell(const CEncapFamilyTable& table, const std::wstring& rowId,
                    const CEncapFamilyColumn& column) {
    RawCell cell;
    if (table.GetRawValue(rowId, column.GetColumnID(), cell.text) != 0) {
        column.GetFormula(cell.text);
        cell.fromFormula = !cell.text.empty();
    }
    return cell;
}

std::string ShownValue(const CellValue& cell) {
    return cell.ok() ? Utf8(cell.text) : ErrorMark(cell.result);
}

std::string ErrorMark(EvaluateResult result) {
    switch (result) {
        case CTableEvaluator::CircularReference:
            return "#circular";
        case CTableEvaluator::SyntaxError:
            return "#syntax";
        case CTableEvaluator::ProviderFailure:
            return "#expression";
        case CTableEvaluator::InvalidRange:
            return "#range";
        case CTableEvaluator::UnknownReference:
            return "#reference";
        case CTableEvaluator::InvalidForColumn:
            return "#type";
        case CTableEvaluator::NoValue:
            return "#novalue";
        default:
            return "#error" + std::to_string(static_cast<int>(result));
    }
}

std::string ResultMeaning(EvaluateResult result) {
    switch (result) {
        case CTableEvaluator::CircularReference:
            return "circular reference: the value depends on itself";
        case CTableEvaluator::SyntaxError:
            return "syntax error: a \"{\" or \"}\" without its partner";
        case CTableEvaluator::ProviderFailure:
            return "the expression does not evaluate, or its units do not convert";
        case CTableEvaluator::InvalidRange:
            return "not a valid range [min;max;step;default]";
        case CTableEvaluator::UnknownReference:
            return "refers to a column that does not exist";
        case CTableEvaluator::InvalidForColumn:
            return "not acceptable for the column's data type";
        case CTableEvaluator::NoValue:
            return "the evaluation left no value";
        default:
            return "evaluation failed with result " + std::to_string(static_cast<int>(result));
    }
}

}  // namespace VardelTool
