#include "source/loaded_family.h"

#include <algorithm>

#include "common/text.h"
#include "common/utf8.h"
#include "vardel/family.h"
#include "vardel/reference_evaluator_provider.h"

namespace VardelCatalog {
namespace {

using Result = CTableEvaluator::EvaluateResult;

std::string Quoted(std::wstring_view text) {
    return '"' + VardelCommon::ToUtf8(text) + '"';
}

// The line of the first byte where `bytes` stop being UTF-8: where they and
// their round trip through the codec (which replaces bad sequences) part.
int FirstBadUtf8Line(std::string_view bytes, const std::string& roundTrip) {
    const auto parted =
        std::mismatch(bytes.begin(), bytes.end(), roundTrip.begin(), roundTrip.end());
    return 1 + static_cast<int>(std::count(bytes.begin(), parted.first, '\n'));
}

// The first "{id}" of `formula` naming no column of `table`.
std::optional<std::wstring> MissingReference(const std::wstring& formula,
                                             const CEncapFamilyTable& table) {
    for (std::size_t open = formula.find(L'{'); open != std::wstring::npos;
         open = formula.find(L'{', open + 1)) {
        const std::size_t close = formula.find(L'}', open);
        if (close == std::wstring::npos)
            break;
        std::wstring id(
            VardelCommon::Trim(std::wstring_view(formula).substr(open + 1, close - open - 1)));
        if (table.GetFamilyColumnByID(id) == nullptr)
            return id;
    }
    return std::nullopt;
}

std::string Describe(Result result, const CEncapFamilyColumn& column, const std::wstring& formula,
                     const CEncapFamilyTable& table) {
    const bool range = column.IsCustom();
    std::string text = (range ? "the range " : "the formula ") + Quoted(formula);
    switch (result) {
        case CTableEvaluator::SyntaxError:
            return text + " has a \"{\" without \"}\" or a \"}\" without \"{\"";
        case CTableEvaluator::UnknownReference:
            if (const auto missing = MissingReference(formula, table))
                return text + " refers to column " + Quoted(*missing) +
                       ", which the table does not have";
            return text + " gives more than a default for a boolean column";
        case CTableEvaluator::InvalidRange:
            return text +
                   " is not [min;max;step;default] with min <= default <= max and "
                   "step <= max - min";
        case CTableEvaluator::CircularReference:
            return text + " refers back to its own column";
        case CTableEvaluator::InvalidForColumn:
            return text + (range ? " needs a double or integer column"
                                 : " does not give a value of the column's type");
        default:
            return text + " cannot be evaluated";
    }
}

}  // namespace

LoadedFamily::LoadedFamily(std::string_view document, const std::wstring& language) {
    const std::wstring text = VardelCommon::FromUtf8(document);
    if (text.find(L'\uFFFD') != std::wstring::npos) {
        const std::string roundTrip = VardelCommon::ToUtf8(text);
        if (roundTrip != document) {
            errorLine_ = FirstBadUtf8Line(document, roundTrip);
            error_ = "not UTF-8";
            return;
        }
    }
    family_ = std::make_unique<CEncapFamily>(text.c_str(), std::vector<std::wstring>(), L"",
                                             new CReferenceEvaluatorProvider(), language, false);
    std::wstring message;
    if (family_->GetFamilyXML().GetParseError(errorLine_, message))
        error_ = "not well-formed XML: " + VardelCommon::ToUtf8(message);
}

LoadedFamily::~LoadedFamily() = default;

bool LoadedFamily::Loaded(int& line, std::string& message) const {
    line = errorLine_;
    message = error_;
    return error_.empty();
}

XMLNode LoadedFamily::Root() const {
    return error_.empty() ? family_->GetFamilyXML().GetRootNode() : XMLNode();
}

CEncapFamilyTable* LoadedFamily::Table() const {
    return family_ != nullptr ? family_->GetEncapFamilyTable() : nullptr;
}

// The check the model makes before it stores a formula in a column, and the
// circle check it makes after.
std::optional<FormulaFault> LoadedFamily::FindFormulaFault() const {
    CEncapFamilyTable* table = Table();
    const int count = table != nullptr ? table->GetColumnsCount() : 0;
    for (int i = 0; i < count; ++i) {
        CEncapFamilyColumn* column = table->GetFamilyColumnByIndex(i);
        std::wstring formula;
        column->GetFormula(formula);
        if (formula.empty())
            continue;
        const auto type =
            column->IsCustom() ? DataTypes::RangeFormula : DataTypes::ExpressionFormula;
        Result result = table->CheckFormulaSyntax(formula.c_str(), type, column->GetDataType(),
                                                  column->GetUnitType());
        if (result == CTableEvaluator::Success)
            result = column->CheckCircularDependency(nullptr);
        if (result != CTableEvaluator::Success)
            return FormulaFault{column, Describe(result, *column, formula, *table)};
    }
    return std::nullopt;
}

void LoadedFamily::ReadMembers(const std::vector<ParameterColumn>& mapped,
                               std::vector<MemberSource>& members) const {
    members.clear();
    CEncapFamilyTable* table = Table();
    if (table == nullptr)
        return;
    std::vector<CEncapFamilyColumn*> columns;
    for (const ParameterColumn& map : mapped)
        columns.push_back(table->GetFamilyColumnByID(map.column));
    const std::vector<std::wstring>& rowIds = table->GetAllRowIDs();
    members.resize(rowIds.size());
    for (std::size_t r = 0; r < rowIds.size(); ++r) {
        MemberSource& member = members[r];
        member.rowId = rowIds[r];
        member.values.resize(columns.size());
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const Result result = columns[c] != nullptr
                                      ? columns[c]->GetValue(member.rowId, member.values[c])
                                      : CTableEvaluator::NoValue;
            if (result != CTableEvaluator::Success && result != CTableEvaluator::UnitsStripped)
                member.values[c].clear();
        }
    }
}

}  // namespace VardelCatalog
