// Evaluation of table cells and formulas: parsing with the parse cache,
// building the expressions handed to the provider, and the value rules per
// data type. Checks of formulas before they are stored live in
// table_evaluator_checks.cpp.
#include "vardel/table_evaluator.h"

#include <string_view>

#include "common/text.h"
#include "family/circular_dependency_checker.h"
#include "family/database_unit.h"
#include "family/number_text.h"
#include "vardel/evaluator_provider.h"
#include "vardel/family.h"
#include "vardel/family_column.h"
#include "vardel/family_table.h"
#include "vardel/range_parser.h"
#include "vardel/string_util.h"

namespace {

using Result = CTableEvaluator::EvaluateResult;
using VardelFamily::AppendNumber;
using VardelFamily::FormatNumber;

// A unitless value is handed over in "ul".
const std::wstring& UnitOrUnitless(const std::wstring& unit) {
    static const std::wstring kUnitless = L"ul";
    return unit.empty() ? kUnitless : unit;
}

// The value a range cell stands for: its default, else its minimum.
const std::wstring& RangeValue(const CRangeParser& range) {
    return range.hasDefault() ? range.getDefault() : range.getMin();
}

// Calls `onLiteral` and `onReference` for each token in order (`tokens` null:
// `formula` is one literal); stops at the first non-zero reference result.
template <typename OnLiteral, typename OnReference>
Result VisitTokens(const std::wstring& formula, const CTableEvaluator::Tokens* tokens,
                   OnLiteral&& onLiteral, OnReference&& onReference) {
    if (tokens == nullptr) {
        onLiteral(formula);
        return CTableEvaluator::Success;
    }
    for (const CTableEvaluator::Token& token : *tokens) {
        if (!token.isReference) {
            onLiteral(token.text);
        } else if (const Result result = onReference(token.text);
                   result != CTableEvaluator::Success) {
            return result;
        }
    }
    return CTableEvaluator::Success;
}

// Scans a formula holding "{": literals and trimmed reference ids in order.
// A "}" outside a reference or a "{" without "}" is a syntax error.
bool Tokenize(const std::wstring& formula, CTableEvaluator::Tokens& tokens) {
    std::size_t position = 0;
    for (std::size_t open; (open = formula.find(L'{', position)) != std::wstring::npos;) {
        const std::wstring_view literal(formula.data() + position, open - position);
        if (literal.find(L'}') != std::wstring_view::npos) {
            return false;
        }
        if (!literal.empty()) {
            tokens.push_back({false, std::wstring(literal)});
        }
        const std::size_t close = formula.find(L'}', open + 1);
        if (close == std::wstring::npos) {
            return false;
        }
        const std::wstring_view id(formula.data() + open + 1, close - open - 1);
        tokens.push_back({true, std::wstring(VardelCommon::Trim(id))});
        position = close + 1;
    }
    if (formula.find(L'}', position) != std::wstring::npos) {
        return false;
    }
    if (position < formula.size()) {
        tokens.push_back({false, formula.substr(position)});
    }
    return true;
}

}  // namespace

CTableEvaluator::CTableEvaluator(CEncapFamilyTable* table)
    : table_(table),
      provider_(table != nullptr && table->GetFamily() != nullptr
                    ? table->GetFamily()->GetEvaluatorProvider()
                    : nullptr) {}

CTableEvaluator::~CTableEvaluator() = default;

int CTableEvaluator::FindTokens(const std::wstring& formula, const Tokens*& tokens) {
    tokens = nullptr;
    if (formula.find(L'{') == std::wstring::npos) {
        // Needs no cache entry; a "}" in it is unbalanced all the same.
        return formula.find(L'}') == std::wstring::npos ? 0 : 1;
    }
    if (const auto cached = parseCache_.find(formula); cached != parseCache_.end()) {
        tokens = &cached->second;
        return 0;
    }
    Tokens parsed;
    if (!Tokenize(formula, parsed)) {
        return 1;
    }
    tokens = &parseCache_.emplace(formula, std::move(parsed)).first->second;
    return 0;
}

int CTableEvaluator::ParseFormula(const std::wstring& formula, Tokens& tokens) {
    tokens.clear();
    const Tokens* found = nullptr;
    if (FindTokens(formula, found) != 0) {
        return 1;
    }
    if (found == nullptr) {
        tokens.push_back({false, formula});
    } else {
        tokens = *found;
    }
    return 0;
}

CTableEvaluator::EvaluateResult CTableEvaluator::GetReferencedColumns(const std::wstring& formula,
                                                                      Columns& columns) {
    const Tokens* tokens = nullptr;
    if (FindTokens(formula, tokens) != 0) {
        return SyntaxError;
    }
    Columns found;
    const Result result = VisitTokens(
        formula, tokens, [](const std::wstring&) {},
        [&](const std::wstring& id) {
            CEncapFamilyColumn* column = table_->GetFamilyColumnByID(id);
            if (column == nullptr) {
                return UnknownReference;
            }
            found.insert(column);
            return Success;
        });
    if (result == Success) {
        columns.insert(found.begin(), found.end());
    }
    return result;
}

CTableEvaluator::EvaluateResult CTableEvaluator::GetAllReferencedColumns(
    const std::wstring& formula, Columns& columns) {
    Columns direct;
    if (const Result result = GetReferencedColumns(formula, direct); result != Success) {
        return result;
    }
    for (CEncapFamilyColumn* column : direct) {
        if (!columns.insert(column).second || !column->IsExpressionColumn()) {
            continue;
        }
        std::wstring columnFormula;
        column->GetFormula(columnFormula);
        if (const Result result = GetAllReferencedColumns(columnFormula, columns);
            result != Success) {
            return result;
        }
    }
    return Success;
}

void CTableEvaluator::ReadCellText(const std::wstring& rowId, const CEncapFamilyColumn& column,
                                   const std::wstring& language, std::wstring& text) const {
    const CEncapFamily* family = table_->GetFamily();
    const std::wstring& columnId = column.GetColumnID();
    const bool localized = family != nullptr && column.IsLocalized();
    const bool found =
        (localized && family->GetLocalizedCellValue(rowId, columnId, language, text) == 0) ||
        table_->GetRawValue(rowId, columnId, text) == 0 ||
        (localized && table_->GetLocalizedFormula(columnId, language, text) == 0);
    if (!found) {
        column.GetFormula(text, language);
    }
    if (!column.IsCustom()) {
        return;
    }
    // A custom column stands for the value chosen for the row, else for the
    // value of its range.
    const CEncapFamilyRow* row = table_->GetFamilyRowByID(rowId);
    if ((row == nullptr || !row->GetRangeColumnValue(columnId, text)) &&
        CRangeParser::IsRange(text)) {
        text = RangeValue(CRangeParser(text.c_str()));
    }
}

void CTableEvaluator::LocalizeDecimals(std::wstring& text, std::size_t start) const {
    const wchar_t separator = table_->GetDecimalSeparator();
    const wchar_t replaced = text.find(L'.', start) != std::wstring::npos ? L'.' : L',';
    for (std::size_t i = start; i < text.size(); ++i) {
        if (text[i] == replaced) {
            text[i] = separator;
        }
    }
}

void CTableEvaluator::AppendLiteral(const std::wstring& literal, bool localizeNumber, bool material,
                                    std::wstring& expression, std::wstring* plainExpression) {
    if (localizeNumber && CStringUtil::IsNumericValue(literal.c_str())) {
        const std::size_t start = expression.size();
        expression += literal;
        LocalizeDecimals(expression, start);
        if (plainExpression != nullptr) {
            plainExpression->append(expression, start);
        }
    } else if (material) {
        std::wstring name;
        if (provider_ != nullptr) {
            provider_->GetMaterialName(literal.c_str(), name);
        }
        expression += name;
    } else {
        expression += literal;
        if (plainExpression != nullptr) {
            *plainExpression += literal;
        }
    }
}

std::wstring CTableEvaluator::FormatResult(double number) const {
    std::wstring text;
    AppendNumber(text, number, 8);
    if (table_->LocalizeDecimalSeparator()) {
        LocalizeDecimals(text, 0);
    }
    return text;
}

CTableEvaluator::EvaluateResult CTableEvaluator::EvaluateCell(const std::wstring& rowId,
                                                              const std::wstring& columnId,
                                                              const std::wstring& language) {
    CEncapFamilyColumn* column = table_->GetFamilyColumnByID(columnId);
    if (column == nullptr) {
        return NoValue;
    }
    const VardelFamily::CCircularDependencyChecker guard(rowId, column, inProgress_);
    if (guard.IsInProgress()) {
        return CircularReference;
    }
    std::wstring text;
    ReadCellText(rowId, *column, language, text);
    const Tokens* tokens = nullptr;
    if (FindTokens(text, tokens) != 0) {
        return SyntaxError;
    }
    const DataTypes::ColumnDataType dataType = column->GetDataType();
    const bool localizeNumber = dataType == DataTypes::Real && table_->LocalizeDecimalSeparator();
    const bool material = column->GetColumnType() == CEncapFamilyColumn::MaterialColumn;
    if (tokens == nullptr && !material) {
        // The most common cell, one literal, is its own plain expression.
        if (localizeNumber && CStringUtil::IsNumericValue(text.c_str())) {
            LocalizeDecimals(text, 0);
        }
        return StoreCellValue(*column, rowId, language, text, text, Success);
    }
    const bool numeric = dataType == DataTypes::Real || dataType == DataTypes::Integer;
    std::wstring expression;
    std::wstring plain;
    Result result = Success;
    const Result failure = VisitTokens(
        text, tokens,
        [&](const std::wstring& literal) {
            AppendLiteral(literal, localizeNumber, material, expression, &plain);
        },
        [&](const std::wstring& id) {
            result = AppendCellReference(id, rowId, language, numeric, expression, plain);
            return result == UnitsStripped ? Success : result;
        });
    if (failure != Success) {
        return failure;
    }
    return StoreCellValue(*column, rowId, language, expression, plain, result);
}

CTableEvaluator::EvaluateResult CTableEvaluator::AppendCellReference(
    const std::wstring& id, const std::wstring& rowId, const std::wstring& language, bool numeric,
    std::wstring& expression, std::wstring& plainExpression) {
    CEncapFamilyColumn* referenced = table_->GetFamilyColumnByID(id);
    if (referenced == nullptr) {
        return NoValue;
    }
    // The table's GetValue would look the column up once more.
    std::wstring value;
    const Result result = referenced->GetValue(rowId, language, value);
    if (result != Success && result != UnitsStripped) {
        return result;
    }
    expression += value;
    if (numeric && CStringUtil::IsNumericValue(value.c_str())) {
        plainExpression += value;
        expression += UnitOrUnitless(referenced->GetUnitType());
    }
    return result;
}

CTableEvaluator::EvaluateResult CTableEvaluator::StoreCellValue(
    CEncapFamilyColumn& column, const std::wstring& rowId, const std::wstring& language,
    std::wstring& expression, const std::wstring& plainExpression, EvaluateResult result) {
    std::wstring value;
    const DataTypes::ColumnDataType dataType = column.GetDataType();
    if (dataType == DataTypes::String) {
        value = JoinStringLiterals(expression);
    } else if (dataType == DataTypes::Boolean) {
        if (!CStringUtil::IsLogicalValue(expression.c_str())) {
            return InvalidForColumn;
        }
        if (column.IsCustom()) {
            value = CStringUtil::GetRawLogicalValue(expression.c_str()) ? L"1" : L"0";
        } else {
            value = std::move(expression);
        }
    } else if (CStringUtil::IsNumericValue(expression.c_str())) {
        value = std::move(expression);
    } else {
        const Result computed =
            ComputeNumericValue(expression, plainExpression, column.GetUnitType(), value);
        if (computed == ProviderFailure) {
            return computed;
        }
        if (computed == UnitsStripped) {
            result = UnitsStripped;
        }
    }
    column.SetCacheValue(rowId, language, value);
    return result;
}

CTableEvaluator::EvaluateResult CTableEvaluator::ComputeNumericValue(
    const std::wstring& expression, const std::wstring& plainExpression, const std::wstring& unit,
    std::wstring& value) {
    if (provider_ == nullptr) {
        return ProviderFailure;
    }
    const std::wstring& evaluationUnit = UnitOrUnitless(unit);
    std::wstring databaseUnit;
    if (provider_->GetDatabaseUnit(evaluationUnit.c_str(), databaseUnit) < 0) {
        return ProviderFailure;
    }
    Result result = Success;
    double number = 0.0;
    if (provider_->EvaluateExpression(expression.c_str(), evaluationUnit.c_str(), &number) < 0) {
        if (provider_->EvaluateExpression(plainExpression.c_str(), L"ul", &number) < 0) {
            return ProviderFailure;
        }
        result = UnitsStripped;
    }
    // A value computed from stripped numbers has no unit to convert from.
    if (result == Success &&
        !VardelFamily::FromDatabaseUnit(*provider_, databaseUnit, evaluationUnit, number)) {
        return ProviderFailure;
    }
    value = FormatResult(number);
    return result;
}

CTableEvaluator::EvaluateResult CTableEvaluator::EvaluateFormula(
    const wchar_t* formula, DataTypes::ColumnFormulaType formulaType,
    DataTypes::ColumnDataType dataType, const std::wstring& rowId, const std::wstring& unit,
    std::wstring& value) {
    std::wstring text = formula != nullptr ? formula : L"";
    if (formulaType == DataTypes::RangeFormula) {
        if (!CRangeParser::IsRange(text)) {
            return InvalidRange;
        }
        text = RangeValue(CRangeParser(text.c_str()));
    }
    std::wstring language;
    table_->GetActualLanguage(language);
    const Tokens* tokens = nullptr;
    if (FindTokens(text, tokens) != 0) {
        return SyntaxError;
    }
    const bool localizeNumber = dataType == DataTypes::Real && table_->LocalizeDecimalSeparator();
    const bool material = formulaType == DataTypes::MaterialFormula;
    std::wstring expression;
    const Result failure = VisitTokens(
        text, tokens,
        [&](const std::wstring& literal) {
            AppendLiteral(literal, localizeNumber, material, expression, nullptr);
        },
        [&](const std::wstring& id) {
            return AppendFormulaReference(id, rowId, language, unit, expression);
        });
    if (failure != Success) {
        return failure;
    }
    return FormulaValue(expression, dataType, unit, value);
}

CTableEvaluator::EvaluateResult CTableEvaluator::AppendFormulaReference(
    const std::wstring& id, const std::wstring& rowId, const std::wstring& language,
    const std::wstring& unit, std::wstring& expression) {
    CEncapFamilyColumn* referenced = table_->GetFamilyColumnByID(id);
    if (referenced == nullptr) {
        return NoValue;
    }
    std::wstring cell;
    if (const Result result = referenced->GetValue(rowId, language, cell); result != Success) {
        return result;
    }
    const std::wstring& from = referenced->GetUnitType();
    if (unit.empty() || unit == from || !CStringUtil::IsNumericValue(cell.c_str())) {
        expression += cell;
        return Success;
    }
    // A failed conversion leaves the number as it was.
    double converted = VardelCommon::ParseLeadingNumber(cell.c_str());
    if (provider_ != nullptr) {
        provider_->ConvertUnits(cell.c_str(), from.c_str(), unit.c_str(), &converted);
    }
    AppendNumber(expression, converted, 6);
    return Success;
}

CTableEvaluator::EvaluateResult CTableEvaluator::FormulaValue(std::wstring& expression,
                                                              DataTypes::ColumnDataType dataType,
                                                              const std::wstring& unit,
                                                              std::wstring& value) {
    if (dataType == DataTypes::String) {
        value = JoinStringLiterals(expression);
        return Success;
    }
    if (dataType == DataTypes::Boolean && !CStringUtil::IsLogicalValue(expression.c_str())) {
        return InvalidForColumn;
    }
    if (dataType == DataTypes::Boolean || CStringUtil::IsNumericValue(expression.c_str())) {
        value = std::move(expression);
        return Success;
    }
    double number = 0.0;
    const HRESULT status = provider_ != nullptr ? provider_->EvaluateExpression(
                                                      expression.c_str(), unit.c_str(), &number)
                                                : E_FAIL;
    if (status < 0) {
        return ProviderFailure;
    }
    if (!VardelFamily::FromDatabaseUnit(*provider_, unit, number)) {
        return ProviderFailure;
    }
    // A provider's remark (positive status) keeps the expression as value.
    value = status == S_OK ? FormatResult(number) : std::move(expression);
    return Success;
}

std::wstring CTableEvaluator::JoinStringLiterals(const std::wstring& expression) {
    std::wstring joined;
    bool anyPiece = false;
    std::size_t start = 0;
    while (start <= expression.size()) {
        std::size_t end = expression.find(L'&', start);
        if (end == std::wstring::npos) {
            end = expression.size();
        }
        const std::wstring_view piece =
            VardelCommon::Trim(std::wstring_view(expression.data() + start, end - start));
        anyPiece = anyPiece || end > start;
        // Quotes are dropped; a doubled quote stands for one.
        for (std::size_t i = 0; i < piece.size(); ++i) {
            if (piece[i] != L'"') {
                joined += piece[i];
            } else if (i + 1 < piece.size() && piece[i + 1] == L'"') {
                joined += L'"';
                ++i;
            }
        }
        start = end + 1;
    }
    return anyPiece ? joined : expression;
}
