// The cells of a family table as the tool shows them: raw (the member's own
// cell, else the column's formula) or evaluated by the table, with failed
// evaluations named by their result code ("#circular", "#type", ...) so that
// they cannot be mistaken for values. A cell with neither an own text nor a
// formula is empty and is not evaluated: the evaluator would take the empty
// text of a number column for an expression that fails.
#pragma once

#include <string>
#include <vector>

#include "vardel/family_table.h"

namespace VardelTool {

using EvaluateResult = CTableEvaluator::EvaluateResult;

struct CellValue {
    std::wstring text;
    EvaluateResult result = CTableEvaluator::Success;

    /// Success, or a value computed with its units stripped.
    bool ok() const {
        return result == CTableEvaluator::Success || result == CTableEvaluator::UnitsStripped;
    }
};

struct RawCell {
    std::wstring text;
    bool fromFormula = false;
};

/// The columns in table order, each found by its exact id.
std::vector<CEncapFamilyColumn*> TableColumns(const CEncapFamilyTable& table);

/// The member's value of the column, evaluated in the actual language.
CellValue EvaluateCell(CEncapFamilyTable& table, const std::wstring& rowId,
                       const std::wstring& columnId);
/// The member's own cell, else the column's formula.
RawCell ReadRawCell(const CEncapFamilyTable& table, const std::wstring& rowId,
                    const CEncapFamilyColumn& column);

/// The value, or the error mark of a failed evaluation.
std::string ShownValue(const CellValue& cell);
/// "#circular", "#syntax", ...: the mark of a failure code in a table cell.
std::string ErrorMark(EvaluateResult result);
/// What a failure code means, for legends and findings.
std::string ResultMeaning(EvaluateResult result);

}  // namespace VardelTool
