// CEncapFamilyColumn: title and formula (localised through the family's
// strings documents), formula checks, the graph of columns whose formulas
// refer to this one, member-revision refreshes, unique values and rows that
// override a formula.
//
// Documents may hold formulas that refer to each other in a circle, so every
// walk over the dependants keeps a visited set instead of recursing blindly.
#include <vector>

#include "common/case_fold.h"
#include "eval/value_store.h"
#include "vardel/family.h"
#include "vardel/family_column.h"
#include "vardel/family_table.h"
#include "vardel/string_util.h"
#include "vardel/xml_node_array.h"
#include "xml/xpath_literal.h"

namespace {

constexpr wchar_t kTitle[] = L"Title";
constexpr wchar_t kFormula[] = L"ColumnwideValue";

}  // namespace

// ---- Title and formula ----

void CEncapFamilyColumn::GetTitle(std::wstring& title) const {
    const CEncapFamily* family = Family();
    std::wstring localized;
    if (!hidden_ && family != nullptr &&
        family->GetLocalizedColumnPropertyValue(kTitle, columnId_, localized) == 0) {
        title = localized;
    } else {
        title = title_;
    }
}

void CEncapFamilyColumn::GetTitle(std::wstring& title, const std::wstring& /*language*/) const {
    GetTitle(title);
}

void CEncapFamilyColumn::SetTitle(const std::wstring& title) {
    title_ = title;
    node_.SetProperty(kTitle, title);
    if (CEncapFamily* family = Family(); family != nullptr && !hidden_) {
        family->SetLocalizedColumnPropertyValue(kTitle, columnId_, title);
    }
}

void CEncapFamilyColumn::SetTitle(const std::wstring& title, const std::wstring& language) {
    title_ = title;
    node_.SetProperty(kTitle, title);
    if (CEncapFamily* family = Family(); family != nullptr && !hidden_) {
        family->SetLocalizedColumnPropertyValue(kTitle, columnId_, language, title);
    }
}

void CEncapFamilyColumn::GetFormula(std::wstring& formula) const {
    GetFormula(formula, ActualLanguage());
}

void CEncapFamilyColumn::GetFormula(std::wstring& formula, const std::wstring& language) const {
    std::wstring localized;
    if (IsLocalized() &&
        Family()->GetLocalizedColumnPropertyValue(kFormula, columnId_, language, localized) == 0) {
        formula = localized;
    } else {
        formula = formula_;
    }
}

bool CEncapFamilyColumn::IsExpressionColumn() const {
    std::wstring formula;
    GetFormula(formula);
    return !formula.empty();
}

// ---- Setting and checking formulas ----

CEncapFamilyColumn::EvaluateResult CEncapFamilyColumn::SetFormula(const std::wstring& formula) {
    return SetFormula(formula, ActualLanguage());
}

CEncapFamilyColumn::EvaluateResult CEncapFamilyColumn::SetFormula(const std::wstring& formula,
                                                                  const std::wstring& language) {
    std::wstring oldFormula;
    GetFormula(oldFormula, language);
    if (oldFormula == formula) {
        return CTableEvaluator::Success;
    }
    if (table_ == nullptr) {
        return CTableEvaluator::NoValue;
    }
    if (const EvaluateResult result = ValidateFormulaBeforeSet(formula, oldFormula)) {
        return result;
    }
    std::wstring stored = formula;
    if (dataType_ == DataTypes::Real) {
        CStringUtil::ReplaceDecimalPointOfColumnExpression(stored, true);
    }
    formula_ = stored;
    node_.SetProperty(kFormula, stored);
    if (oldFormula.empty()) {
        // The column becomes an expression column: rows follow the formula.
        for (const std::wstring& rowId : table_->GetAllRowIDs()) {
            if (CEncapFamilyRow* row = table_->GetFamilyRowByID(rowId)) {
                row->DeleteCellsColumnValues(columnId_, false);
            }
        }
    }
    BumpAllRevisionsIfRefresh();
    if (IsLocalized()) {
        Family()->SetLocalizedColumnPropertyValue(kFormula, columnId_, language, stored);
    }
    ClearColumnAndDependants();
    return CTableEvaluator::Success;
}

CEncapFamilyColumn::EvaluateResult CEncapFamilyColumn::SetEmptyFormula() {
    if (custom_) {
        SetIsCustom(false);
    }
    std::wstring formula;
    GetFormula(formula);
    if (formula.empty()) {
        return CTableEvaluator::Success;
    }
    formula_.clear();
    node_.SetProperty(kFormula, formula_);
    // A localised formula would otherwise keep the column an expression
    // column in its language.
    if (IsLocalized()) {
        Family()->SetLocalizedColumnPropertyValue(kFormula, columnId_, formula_);
    }
    if (table_ != nullptr) {
        // The column refers to nothing any more; stale references would make
        // later formulas of the referred columns look circular.
        table_->UpdateColumnsDependency(this, formula_);
    }
    BumpAllRevisionsIfRefresh();
    ClearColumnAndDependants();
    return CTableEvaluator::Success;
}

CEncapFamilyColumn::EvaluateResult CEncapFamilyColumn::ValidateFormulaBeforeSet(
    const std::wstring& formula, const std::wstring& oldFormula) {
    const DataTypes::ColumnFormulaType type =
        custom_ ? DataTypes::RangeFormula : DataTypes::ExpressionFormula;
    if (const EvaluateResult result =
            table_->CheckFormulaSyntax(formula.c_str(), type, dataType_, unit_)) {
        return result;
    }
    return TryReferences(formula, oldFormula);
}

CEncapFamilyColumn::EvaluateResult CEncapFamilyColumn::ValidateNormalFormula(
    const std::wstring& formula, const std::wstring& language) {
    if (table_ == nullptr) {
        return CTableEvaluator::NoValue;
    }
    if (const EvaluateResult result = table_->CheckFormulaSyntax(
            formula.c_str(), DataTypes::ExpressionFormula, dataType_, unit_)) {
        return result;
    }
    std::wstring current;
    GetFormula(current, language.empty() ? ActualLanguage() : language);
    const EvaluateResult result = TryReferences(formula, current);
    if (result == CTableEvaluator::Success) {
        table_->UpdateColumnsDependency(this, current);
    }
    return result;
}

CEncapFamilyColumn::EvaluateResult CEncapFamilyColumn::TryReferences(const std::wstring& formula,
                                                                     const std::wstring& restore) {
    EvaluateResult result = table_->UpdateColumnsDependency(this, formula);
    if (result == CTableEvaluator::Success) {
        result = CheckCircularDependency(nullptr);
    }
    if (result != CTableEvaluator::Success) {
        table_->UpdateColumnsDependency(this, restore);
    }
    return result;
}

// ---- Dependants ----

void CEncapFamilyColumn::CollectReachable(const CEncapFamilyColumn* excluded,
                                          std::set<CEncapFamilyColumn*>& reached) const {
    std::vector<const CEncapFamilyColumn*> pending{this};
    while (!pending.empty()) {
        const CEncapFamilyColumn* column = pending.back();
        pending.pop_back();
        for (CEncapFamilyColumn* dependant : column->dependants_) {
            if (dependant != excluded && reached.insert(dependant).second) {
                pending.push_back(dependant);
            }
        }
    }
}

bool CEncapFamilyColumn::IsReferencedDirectlyBy(CEncapFamilyColumn* other) const {
    return other != nullptr && dependants_.count(other) != 0;
}

bool CEncapFamilyColumn::IsReferencedBy(CEncapFamilyColumn* other) const {
    if (other == nullptr) {
        return false;
    }
    std::set<CEncapFamilyColumn*> reached;
    CollectReachable(nullptr, reached);
    return reached.count(other) != 0;
}

std::set<CEncapFamilyColumn*>& CEncapFamilyColumn::GetAllDependentColumns(
    std::set<CEncapFamilyColumn*>& columns, CEncapFamilyColumn* excluded) {
    std::set<CEncapFamilyColumn*> reached;
    CollectReachable(excluded != nullptr ? excluded : this, reached);
    columns.insert(reached.begin(), reached.end());
    columns.insert(this);
    return columns;
}

CEncapFamilyColumn::EvaluateResult CEncapFamilyColumn::CheckCircularDependency(
    CEncapFamilyColumn* target) {
    return IsReferencedBy(target != nullptr ? target : this) ? CTableEvaluator::CircularReference
                                                             : CTableEvaluator::Success;
}

bool CEncapFamilyColumn::ChangeInColumnCausesRefresh() const {
    std::set<const CEncapFamilyColumn*> visited;
    return CausesRefresh(visited);
}

bool CEncapFamilyColumn::CausesRefresh(std::set<const CEncapFamilyColumn*>& visited) const {
    if (custom_) {
        return false;
    }
    if (geometry_ || hostProperty_) {
        return true;
    }
    visited.insert(this);
    for (const CEncapFamilyColumn* dependant : dependants_) {
        if (visited.count(dependant) == 0 && dependant->CausesRefresh(visited)) {
            return true;
        }
    }
    return false;
}

void CEncapFamilyColumn::BumpAllRevisionsIfRefresh(bool refreshedBefore) {
    if (table_ != nullptr && (refreshedBefore || ChangeInColumnCausesRefresh())) {
        table_->BumpAllMemberRevisions(nullptr);
    }
}

void CEncapFamilyColumn::ClearColumnAndDependants() {
    CValueStore* store = Store();
    if (store == nullptr) {
        return;
    }
    store->DisablePersistence();
    std::set<CEncapFamilyColumn*> columns;
    for (const CEncapFamilyColumn* column : GetAllDependentColumns(columns, nullptr)) {
        store->ClearColumn(column->columnId_);
    }
}

// ---- Values over all rows ----

bool CEncapFamilyColumn::HasUniqueValues(EvaluateResult& result) {
    if (table_ == nullptr) {
        return true;
    }
    std::set<std::wstring> seen;
    std::wstring value;
    for (const std::wstring& rowId : table_->GetAllRowIDs()) {
        if (const EvaluateResult read = GetValue(rowId, value)) {
            result = read;
            return false;
        }
        // File names are unique ignoring case; comparing upper-cased texts
        // is the same test as comparing lower-cased ones.
        if (!seen.insert(kind_ == FileNameColumn ? VardelCommon::ToUpper(value) : value).second) {
            return false;
        }
    }
    return true;
}

void CEncapFamilyColumn::GetAllUniqueRawValues(std::set<std::wstring>& values) const {
    values.clear();
    std::wstring text;
    GetFormula(text);
    if (!text.empty()) {
        values.insert(text);
    }
    if (table_ == nullptr) {
        return;
    }
    for (const std::wstring& rowId : table_->GetAllRowIDs()) {
        if (table_->GetRawValue(rowId, columnId_, text) == 0 && !text.empty()) {
            values.insert(text);
        }
    }
}

bool CEncapFamilyColumn::FindOverrides(std::vector<std::wstring>* rowIds) const {
    if (table_ == nullptr || !IsExpressionColumn()) {
        return false;
    }
    // One query over the table: the rows holding a cell of this column.
    std::wstring path = L"Rows/Row[Cell/@ColumnId=";
    path += VardelXml::XPathLiteral(columnId_);
    path += L']';
    const XMLNode table = table_->GetXMLNode();
    if (rowIds == nullptr) {
        XMLNode row;
        return table.GetChildNode(path.c_str(), row);
    }
    XMLNodeArray rows;
    if (!table.SelectChildNodes(path.c_str(), rows)) {
        return false;
    }
    std::wstring rowId;
    for (int i = 0; i < rows.GetCount(); ++i) {
        if (rows.GetAt(i).GetProperty(L"RowId", rowId)) {
            rowIds->push_back(rowId);
        }
    }
    return !rowIds->empty();
}

bool CEncapFamilyColumn::HasExpressionColumnOverrides() const {
    return FindOverrides(nullptr);
}

bool CEncapFamilyColumn::GetExpressionColumnOverrides(std::vector<std::wstring>& rowIds) const {
    rowIds.clear();
    return FindOverrides(&rowIds);
}
