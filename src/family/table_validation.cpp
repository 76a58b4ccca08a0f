// CEncapFamilyTable: checks of cell values and formulas against a column's
// data type and range, the repair of columns whose cells no longer fit, the
// check that the file-name column tells custom members apart, expressions
// evaluated in a unit and material lookups through the family's provider.
//
// Numbers are read with either decimal separator: a value the evaluator
// localised ("2,5") and a cell typed in a comma locale must read as the
// same number as their point form.
#include <cmath>
#include <limits>

#include "family/database_unit.h"
#include "family/number_text.h"
#include "vardel/evaluator_provider.h"
#include "vardel/family.h"
#include "vardel/family_table.h"
#include "vardel/range_parser.h"
#include "vardel/string_util.h"

namespace {

using Result = CTableEvaluator::EvaluateResult;

// How far from a whole number a value may lie and still count as one.
constexpr double kIntegerTolerance = 1e-5;

double ReadNumber(const std::wstring& text) {
    std::wstring normalised = text;
    CStringUtil::ReplaceDecimalPointOfCell(normalised);
    return CStringUtil::ToDouble(normalised.c_str());
}

// One limit of a range (minimum, maximum or step) evaluated for the row in
// the column's unit; false when it does not evaluate.
bool EvaluateLimit(CEncapFamilyTable& table, const std::wstring& limit, const std::wstring& rowId,
                   const std::wstring& unit, double& number) {
    std::wstring text;
    if (table.Evaluate(limit.c_str(), DataTypes::ExpressionFormula, DataTypes::Real, rowId, unit,
                       text) != CTableEvaluator::Success) {
        return false;
    }
    number = ReadNumber(text);
    return true;
}

// Whether `number` lies within the range of the custom column's formula
// and, with a step and a minimum, on one of its steps. A limit that does
// not evaluate leaves the value unconfirmed, so it does not fit.
bool FitsRange(CEncapFamilyTable& table, const CEncapFamilyColumn& column,
               const std::wstring& rowId, double number) {
    std::wstring formula;
    column.GetFormula(formula);
    const CRangeParser range(formula.c_str());
    const std::wstring& unit = column.GetUnitType();
    double minimum = -std::numeric_limits<double>::infinity();
    double maximum = std::numeric_limits<double>::infinity();
    if ((range.hasMin() && !EvaluateLimit(table, range.getMin(), rowId, unit, minimum)) ||
        (range.hasMax() && !EvaluateLimit(table, range.getMax(), rowId, unit, maximum))) {
        return false;
    }
    if (number < minimum || number > maximum) {
        return false;
    }
    if (!range.hasStep() || !range.hasMin()) {
        return true;
    }
    double step = 0.0;
    if (!EvaluateLimit(table, range.getStep(), rowId, unit, step)) {
        return false;
    }
    // Measured from the nearest whole number, not by the truncated fraction:
    // quotients of decimal steps miss on either side ((0.3 - 0.1) / 0.1 is
    // 1.9999999999999998).
    const double steps = (number - minimum) / step;
    return std::abs(steps - std::round(steps)) < kIntegerTolerance;
}

// IsCellValueValid for a column that exists.
bool ValueFits(CEncapFamilyTable& table, const CEncapFamilyColumn& column,
               const std::wstring& rowId, std::wstring& value) {
    const DataTypes::ColumnDataType type = column.GetDataType();
    if (type == DataTypes::String) {
        return true;
    }
    if (type == DataTypes::Boolean) {
        return CStringUtil::IsLogicalValue(value.c_str());
    }
    if (type != DataTypes::Real && type != DataTypes::Integer) {
        return false;
    }
    double number = 0.0;
    if (CStringUtil::IsNumericValue(value.c_str())) {
        number = ReadNumber(value);
    } else if (table.GetValueFromExpression(value, column.GetUnitType(), number)) {
        value = VardelFamily::FormatNumber(number, 8);
    } else {
        return false;
    }
    if (column.IsCustom()) {
        return FitsRange(table, column, rowId, number);
    }
    return type == DataTypes::Real || CStringUtil::IsIntegerValue(number, kIntegerTolerance);
}

// Appends the titles of the custom columns in column order, leaving out
// those in `excluded`.
void AppendCustomTitles(const CEncapFamilyTable& table, const CTableEvaluator::Columns& excluded,
                        std::vector<std::wstring>& titles) {
    for (int i = 0; i < table.GetColumnsCount(); ++i) {
        CEncapFamilyColumn* column = table.GetFamilyColumnByIndex(i);
        if (column != nullptr && column->IsCustom() && excluded.count(column) == 0) {
            column->GetTitle(titles.emplace_back());
        }
    }
}

}  // namespace

bool CEncapFamilyTable::GetValueFromExpression(const std::wstring& expression,
                                               const std::wstring& unit, double& value) {
    IEvaluatorProvider* provider = family_->GetEvaluatorProvider();
    if (provider == nullptr) {
        return false;
    }
    const std::wstring evaluationUnit = unit.empty() ? L"ul" : unit;
    double number = 0.0;
    if (provider->EvaluateExpression(expression.c_str(), evaluationUnit.c_str(), &number) < 0) {
        return false;
    }
    if (!VardelFamily::FromDatabaseUnit(*provider, evaluationUnit, number)) {
        return false;
    }
    value = number;
    return true;
}

std::wstring CEncapFamilyTable::GetMaterialName(const std::wstring& key) {
    std::wstring name;
    IEvaluatorProvider* provider = family_->GetEvaluatorProvider();
    if (provider != nullptr && provider->GetMaterialName(key.c_str(), name) < 0) {
        name.clear();
    }
    return name;
}

std::wstring CEncapFamilyTable::GetMaterialRefKey(const std::wstring& name) {
    std::wstring key;
    IEvaluatorProvider* provider = family_->GetEvaluatorProvider();
    if (provider != nullptr && provider->GetMaterialRefKey(name.c_str(), key) < 0) {
        key.clear();
    }
    return key;
}

bool CEncapFamilyTable::GetMemberMaterialRefId(const std::wstring& rowId, std::wstring& key) {
    const CEncapFamilyColumn* material = GetFamilyColumnByType(CEncapFamilyColumn::MaterialColumn);
    if (material == nullptr) {
        return false;
    }
    if (GetRawValue(rowId, material->GetColumnID(), key) != 0) {
        material->GetFormula(key);
    }
    return true;
}

bool CEncapFamilyTable::IsCellValueValid(const std::wstring& rowId, const std::wstring& columnId,
                                         std::wstring& value) {
    const CEncapFamilyColumn* column = GetFamilyColumnByID(columnId);
    return column != nullptr && ValueFits(*this, *column, rowId, value);
}

CEncapFamilyTable::EvaluateResult CEncapFamilyTable::IsFormulaValid(const std::wstring& columnId,
                                                                    const std::wstring& formula) {
    CEncapFamilyColumn* column = GetFamilyColumnByID(columnId);
    if (column == nullptr) {
        return CTableEvaluator::ProviderFailure;
    }
    std::wstring language;
    GetActualLanguage(language);
    if (!column->IsCustom()) {
        return column->ValidateNormalFormula(formula, language);
    }
    const DataTypes::ColumnDataType type = column->GetDataType();
    if (type == DataTypes::String) {
        return CTableEvaluator::InvalidForColumn;
    }
    if (!CRangeParser::IsRange(formula)) {
        return CTableEvaluator::InvalidRange;
    }
    const CRangeParser range(formula.c_str());
    const std::wstring* parts[] = {&range.getMin(), &range.getMax(), &range.getStep(),
                                   &range.getDefault()};
    for (int i = 0; i < 4; ++i) {
        if (parts[i]->empty()) {
            continue;
        }
        // A logical range may only name its default.
        if ((type == DataTypes::Boolean && i < 3) ||
            column->ValidateNormalFormula(*parts[i], language) != CTableEvaluator::Success) {
            return CTableEvaluator::InvalidRange;
        }
    }
    return CTableEvaluator::Success;
}

int CEncapFamilyTable::CheckRangeColumnData(const std::wstring& columnId,
                                            const std::wstring& /*range*/) {
    CEncapFamilyColumn* column = GetFamilyColumnByID(columnId);
    if (column == nullptr) {
        return 0;
    }
    std::wstring value;
    for (std::size_t i = 0; i < rowIds_.size(); ++i) {
        // A value that does not evaluate cannot be shown to fit either.
        const EvaluateResult result = column->GetValue(rowIds_[i], value);
        if ((result != CTableEvaluator::Success && result != CTableEvaluator::UnitsStripped) ||
            !ValueFits(*this, *column, rowIds_[i], value)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CEncapFamilyTable::ValidateAndRepairColumnData(CEncapFamilyColumn* column) {
    if (column == nullptr) {
        return;
    }
    std::wstring language;
    GetActualLanguage(language);
    // Values cached before the column changed would answer without a check.
    column->InvalidateCache(L"", language);
    const std::wstring& columnId = column->GetColumnID();
    std::wstring value;
    for (const std::wstring& rowId : rowIds_) {
        if (column->GetValue(rowId, value) != CTableEvaluator::InvalidForColumn) {
            continue;
        }
        if (CEncapFamilyRow* row = GetFamilyRowByID(rowId)) {
            row->DeleteCellsColumnValues(columnId, true);
        }
    }
}

bool CEncapFamilyTable::HasColumnUniqueValues(const std::wstring& columnId,
                                              EvaluateResult& result) {
    CEncapFamilyColumn* column = GetFamilyColumnByID(columnId);
    return column != nullptr && column->HasUniqueValues(result);
}

bool CEncapFamilyTable::FileNameOfCustomPartIsUnique(std::vector<std::wstring>& titles) {
    const CEncapFamilyColumn* fileName = GetFamilyColumnByType(CEncapFamilyColumn::FileNameColumn);
    if (fileName == nullptr) {
        return false;
    }
    titles.clear();
    CTableEvaluator::Columns referenced;
    AppendCustomTitles(*this, referenced, titles);
    std::wstring formula;
    fileName->GetFormula(formula);
    if (formula.empty()) {
        return false;
    }
    // A row with a file name of its own may repeat another row's.
    for (const std::wstring& rowId : rowIds_) {
        const CEncapFamilyRow* row = GetFamilyRowByID(rowId);
        if (row != nullptr && row->HasRawValue(fileName->GetColumnID())) {
            return false;
        }
    }
    evaluator_->GetAllReferencedColumns(formula, referenced);
    titles.clear();
    AppendCustomTitles(*this, referenced, titles);
    return titles.empty();
}
