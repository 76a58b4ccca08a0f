// Checks of formulas before a column stores them: reference checks, sample
// evaluation of expressions with stand-in values, and the limits of ranges.
// Provider exceptions are caught here, because a check must answer even for
// a provider that throws.
#include <string>

#include "vardel/evaluator_provider.h"
#include "vardel/family_column.h"
#include "vardel/family_table.h"
#include "vardel/range_parser.h"
#include "vardel/string_util.h"
#include "vardel/table_evaluator.h"

namespace {

using Result = CTableEvaluator::EvaluateResult;

const wchar_t* UnitOrUnitless(const std::wstring& unit) {
    return unit.empty() ? L"ul" : unit.c_str();
}

// The value that stands in for a referenced column when a formula is tried:
// "1.1" for a floating-point column, "1" for the others, followed by the
// column's unit when the formula names none of its own.
void AppendSample(std::wstring& expression, const CEncapFamilyColumn& column,
                  const std::wstring& formulaUnit) {
    const bool real = column.GetDataType() == DataTypes::Real;
    expression += real ? L"1.1" : L"1";
    if (formulaUnit.empty()) {
        expression += real || !column.GetUnitType().empty() ? column.GetUnitType() : L"ul";
    }
}

// Whether columns of `columnType` may be referenced by a formula of
// `formulaType`: the same type, or integers in a floating-point formula.
bool AcceptsReference(DataTypes::ColumnDataType formulaType, DataTypes::ColumnDataType columnType) {
    return columnType == formulaType ||
           (formulaType == DataTypes::Real && columnType == DataTypes::Integer);
}

}  // namespace

CTableEvaluator::EvaluateResult CTableEvaluator::CheckFormulaSyntax(
    const wchar_t* formula, DataTypes::ColumnFormulaType formulaType,
    DataTypes::ColumnDataType dataType, const std::wstring& unit) {
    const std::wstring text = formula != nullptr ? formula : L"";
    bool hasReferences = false;
    if (formulaType == DataTypes::ExpressionFormula) {
        return ValidateFormula(text, dataType, unit, hasReferences);
    }
    if (formulaType != DataTypes::RangeFormula) {
        return UnknownReference;
    }
    if (!CRangeParser::IsRange(text)) {
        return InvalidRange;
    }
    if (dataType == DataTypes::String) {
        return InvalidForColumn;
    }
    const CRangeParser range(text.c_str());
    const std::wstring* parts[] = {&range.getMin(), &range.getMax(), &range.getStep(),
                                   &range.getDefault()};
    bool anyReferences = false;
    for (int i = 0; i < 4; ++i) {
        if (parts[i]->empty()) {
            continue;
        }
        // A logical range may only name its default.
        if (dataType == DataTypes::Boolean && i < 3) {
            return UnknownReference;
        }
        if (const Result result = ValidateFormula(*parts[i], dataType, unit, hasReferences);
            result != Success) {
            return result;
        }
        anyReferences = anyReferences || hasReferences;
    }
    if (anyReferences || !range.hasMin() || !range.hasMax() || !range.hasStep() ||
        !range.hasDefault()) {
        return Success;
    }
    const double minimum = EvaluateToNumber(range.getMin(), L"ul");
    const double maximum = EvaluateToNumber(range.getMax(), L"ul");
    const double step = EvaluateToNumber(range.getStep(), L"ul");
    const double byDefault = EvaluateToNumber(range.getDefault(), L"ul");
    if (minimum > maximum || step > maximum - minimum || byDefault < minimum ||
        byDefault > maximum) {
        return InvalidRange;
    }
    return Success;
}

CTableEvaluator::EvaluateResult CTableEvaluator::ValidateFormula(const std::wstring& formula,
                                                                 DataTypes::ColumnDataType dataType,
                                                                 const std::wstring& unit,
                                                                 bool& hasReferences) {
    Columns referenced;
    if (const Result result = GetReferencedColumns(formula, referenced); result != Success) {
        return result;
    }
    hasReferences = !referenced.empty();
    if (dataType == DataTypes::String) {
        return Success;
    }
    if (!hasReferences) {
        const bool valid = dataType == DataTypes::Boolean
                               ? CStringUtil::IsRawLogicalValue(formula.c_str())
                               : IsValidExpression(formula, unit);
        return valid ? Success : InvalidForColumn;
    }
    Tokens tokens;
    ParseFormula(formula, tokens);
    if (dataType == DataTypes::Boolean) {
        // Only a formula that is exactly one reference to a logical column.
        if (tokens.size() != 1 || formula != L"{" + tokens.front().text + L"}" ||
            (*referenced.begin())->GetDataType() != DataTypes::Boolean) {
            return InvalidForColumn;
        }
    }
    std::wstring sample;
    for (const Token& token : tokens) {
        if (!token.isReference) {
            sample += token.text;
            continue;
        }
        const CEncapFamilyColumn* column = table_->GetFamilyColumnByID(token.text);
        if (!AcceptsReference(dataType, column->GetDataType())) {
            return InvalidForColumn;
        }
        AppendSample(sample, *column, unit);
    }
    return IsValidExpression(sample, unit) ? Success : InvalidForColumn;
}

bool CTableEvaluator::IsValidExpression(const std::wstring& expression, const std::wstring& unit) {
    // Without a provider only a plain number can be vouched for.
    if (provider_ == nullptr) {
        return !expression.empty() && CStringUtil::IsNumberStr(expression);
    }
    try {
        double value = 0.0;
        return provider_->EvaluateExpression(expression.c_str(), UnitOrUnitless(unit), &value) >= 0;
    } catch (...) {
        return false;
    }
}

double CTableEvaluator::EvaluateToNumber(const std::wstring& expression, const std::wstring& unit) {
    if (provider_ == nullptr) {
        return CStringUtil::ToDouble(expression.c_str());
    }
    try {
        // Dividing by the value of 1 in the unit gives the number in the unit
        // rather than in its database unit.
        double value = 0.0;
        double one = 0.0;
        if (provider_->EvaluateExpression(expression.c_str(), UnitOrUnitless(unit), &value) != 0 ||
            provider_->EvaluateExpression(L"1.0", UnitOrUnitless(unit), &one) != 0) {
            return 0.0;
        }
        return value / one;
    } catch (...) {
        return 0.0;
    }
}
