// CEncapFamilyColumn: construction from the "Column" element, the fields
// that write through to its attributes, the kinds and flags, and the value
// operations over the table's value cache. Formulas, titles and the
// dependants graph are in family_column_formula.cpp.
#include <array>
#include <string_view>

#include "common/case_fold.h"
#include "eval/value_store.h"
#include "vardel/family.h"
#include "vardel/family_column.h"
#include "vardel/family_table.h"
#include "vardel/string_util.h"

namespace {

// Internal names of the category parameters that give a column its kind,
// indexed by kind (0, ordinary, has none).
constexpr std::array<std::wstring_view, 6> kKindParameters = {
    L"",
    L"8b46a4cc-9585-4fed-90c3-899f57e09a73",
    L"818a152a-d3c3-49ca-80ee-df7d91421b8e",
    L"2675968c-4ce5-49e0-a4f5-552d29089031",
    L"016b6077-bfbe-49bd-92c9-d8d59c39c941",
    L"4dba7c1c-e26c-444e-836c-b08b433409a8",
};

// Category parameters of the older mapping scheme.
constexpr std::array<std::wstring_view, 8> kLegacyParameters = {
    L"8e5e0294-fc51-4c8f-b3d7-003dc5ed94f6", L"e705e1f4-09cb-413e-91f9-551b4188271e",
    L"d99d1e27-aa94-4de2-af4c-c348882a6f4f", L"5193edd4-b2b0-4ab4-9d54-de900eee34e0",
    L"0918ad47-427f-4fed-ae26-24c81c58f590", L"316934ee-8fe1-4c7a-9c36-f2d79e1add1a",
    L"e2cc04c6-09a4-4218-9b13-cc2651121187", L"9345fe05-da15-4943-be2b-92536398cd61",
};

}  // namespace

CEncapFamilyColumn::CEncapFamilyColumn(const XMLNode& node, CEncapFamilyTable* table)
    : table_(table), node_(node) {
    InitMemoryCache();
}

CEncapFamilyColumn::CEncapFamilyColumn(CEncapFamilyTable* table, bool /*unused*/) : table_(table) {}

CEncapFamilyColumn::CEncapFamilyColumn(bool /*unused*/) {}

CEncapFamilyColumn::CEncapFamilyColumn(const CEncapFamilyColumn& other) {
    *this = other;
}

CEncapFamilyColumn& CEncapFamilyColumn::operator=(const CEncapFamilyColumn& other) {
    if (this == &other) {
        return *this;
    }
    // The property data is owned: each column holds its own copy.
    CEncapFamilyColIPropertyData* data =
        other.propertyData_ != nullptr ? new CEncapFamilyColIPropertyData(*other.propertyData_)
                                       : nullptr;
    delete propertyData_;
    propertyData_ = data;
    table_ = other.table_;
    node_ = other.node_;
    valueStore_ = other.valueStore_;
    dependants_ = other.dependants_;
    kind_ = other.kind_;
    geometry_ = other.geometry_;
    hostProperty_ = other.hostProperty_;
    property_ = other.property_;
    status_ = other.status_;
    templateSpecifier_ = other.templateSpecifier_;
    dataType_ = other.dataType_;
    unit_ = other.unit_;
    formula_ = other.formula_;
    columnId_ = other.columnId_;
    title_ = other.title_;
    custom_ = other.custom_;
    hidden_ = other.hidden_;
    keyWeight_ = other.keyWeight_;
    rawValues_ = other.rawValues_;
    memberRevision_ = other.memberRevision_;
    actualLanguage_ = other.actualLanguage_;
    return *this;
}

CEncapFamilyColumn::~CEncapFamilyColumn() {
    delete propertyData_;
    dependants_.clear();
}

void CEncapFamilyColumn::InitMemoryCache() {
    node_.GetProperty(L"ColumnId", columnId_);
    node_.GetProperty(L"Title", title_);
    node_.GetProperty(L"ColumnwideValue", formula_);
    node_.GetProperty(L"UnitType", unit_);
    node_.GetStrBoolProperty(L"Custom", custom_);
    node_.GetStrBoolProperty(L"Hidden", hidden_);
    node_.GetProperty(L"KeyWeight", keyWeight_);
    node_.GetProperty(L"TemplateSpecifier", templateSpecifier_);
    std::wstring typeName;
    dataType_ = node_.GetProperty(L"ValueType", typeName) ? DataTypes::DataTypeStr2Num(typeName)
                                                          : DataTypes::String;
    ClassifyColumnId();
}

void CEncapFamilyColumn::ClassifyColumnId() {
    rawValues_ = VardelCommon::EqualsNoCase(columnId_, L"RID") ||
                 VardelCommon::EqualsNoCase(columnId_, L"STATUS");
    memberRevision_ = VardelCommon::EqualsNoCase(columnId_, L"MEMBER_REVISION");
}

CEncapFamily* CEncapFamilyColumn::Family() const {
    return table_ != nullptr ? table_->GetFamily() : nullptr;
}

CValueStore* CEncapFamilyColumn::Store() {
    // The table may build its value store after its columns.
    if (valueStore_ == nullptr && table_ != nullptr) {
        valueStore_ = table_->valueStore_.get();
    }
    return valueStore_;
}

const std::wstring& CEncapFamilyColumn::ActualLanguage() const {
    // Fetched lazily: the family settles its language only after building
    // the table, and copying it per cell read would allocate.
    if (actualLanguage_.empty() && table_ != nullptr) {
        table_->GetActualLanguage(actualLanguage_);
    }
    return actualLanguage_;
}

// ---- Values ----

CEncapFamilyColumn::EvaluateResult CEncapFamilyColumn::GetValue(const std::wstring& rowId,
                                                                const std::wstring& language,
                                                                std::wstring& value) {
    CValueStore* store = Store();
    if (store == nullptr) {
        return CTableEvaluator::NoValue;
    }
    if (store->GetValue(rowId, columnId_, language, value) == 0) {
        return CTableEvaluator::Success;
    }
    if (rawValues_) {
        table_->GetRawValue(rowId, columnId_, value);
        store->SetValue(rowId, columnId_, language, value);
        return CTableEvaluator::Success;
    }
    const EvaluateResult result = table_->Evaluate(rowId, columnId_, language);
    if (result != CTableEvaluator::Success && result != CTableEvaluator::UnitsStripped) {
        return result;
    }
    if (store->GetValue(rowId, columnId_, language, value) != 0) {
        return CTableEvaluator::NoValue;
    }
    if (result == CTableEvaluator::UnitsStripped) {
        store->ClearValue(rowId, columnId_, language);
    }
    return result;
}

CEncapFamilyColumn::EvaluateResult CEncapFamilyColumn::GetValue(const std::wstring& rowId,
                                                                std::wstring& value) {
    return GetValue(rowId, ActualLanguage(), value);
}

void CEncapFamilyColumn::SetValue(const std::wstring& rowId, const std::wstring& language,
                                  const std::wstring& value, bool invalidate) {
    CValueStore* store = Store();
    if (store == nullptr) {
        return;
    }
    if (invalidate) {
        InvalidateCache(rowId, language);
    }
    store->DisablePersistence();
    // An empty cell of an expression column lets the formula apply again, and
    // a material cell holds a key while its value is the material's name: in
    // both cases the cached value is dropped so the next read evaluates.
    std::wstring formula;
    if (value.empty()) {
        GetFormula(formula, language);
    }
    // A row filed under exactly this id keeps its place in the store; under
    // another case of it, the value goes by the id given, as reads find it.
    bool filedUnderId = false;
    CEncapFamilyRow* row = table_->FindRow(rowId, filedUnderId);
    if ((value.empty() && !formula.empty()) || IsMaterial()) {
        store->ClearValue(rowId, columnId_, language);
    } else if (filedUnderId) {
        store->SetValue(row->ValueCache(*store, rowId), columnId_, language, value);
    } else {
        store->SetValue(rowId, columnId_, language, value);
    }
    // A number's decimal comma is written as a point; a value without a
    // comma is written as it is, without a copy.
    if (row != nullptr && dataType_ == DataTypes::Real && value.find(L',') != std::wstring::npos) {
        std::wstring cell = value;
        CStringUtil::ReplaceDecimalPointOfCell(cell);
        table_->SetRawValue(row, rowId, columnId_, cell, &language);
    } else if (row != nullptr) {
        table_->SetRawValue(row, rowId, columnId_, value, &language);
    }
    if (!memberRevision_ && ChangeInColumnCausesRefresh()) {
        table_->BumpMemberRevision(rowId);
    }
}

void CEncapFamilyColumn::SetValue(const std::wstring& rowId, const std::wstring& value,
                                  bool invalidate) {
    SetValue(rowId, ActualLanguage(), value, invalidate);
}

void CEncapFamilyColumn::ClearCachedValue(const std::wstring& rowId, const std::wstring& language) {
    if (CValueStore* store = Store()) {
        store->ClearValue(rowId, columnId_, language);
    }
}

void CEncapFamilyColumn::ClearCachedValue(const std::wstring& rowId) {
    if (CValueStore* store = Store()) {
        store->ClearValue(rowId, columnId_);
    }
}

void CEncapFamilyColumn::InvalidateCache(const std::wstring& rowId, const std::wstring& language) {
    CValueStore* store = Store();
    if (store == nullptr) {
        return;
    }
    store->DisablePersistence();
    std::set<CEncapFamilyColumn*> columns;
    for (CEncapFamilyColumn* column : GetAllDependentColumns(columns, nullptr)) {
        if (rowId.empty()) {
            store->ClearColumn(column->columnId_);
        } else {
            store->ClearValue(rowId, column->columnId_, language);
        }
    }
}

void CEncapFamilyColumn::SetCacheValue(const std::wstring& rowId, const std::wstring& language,
                                       const std::wstring& value) {
    if (CValueStore* store = Store()) {
        store->SetValue(rowId, columnId_, language, value);
    }
}

// ---- Fields ----

void CEncapFamilyColumn::SetColumnID(const std::wstring& id) {
    columnId_ = id;
    node_.SetProperty(L"ColumnId", id);
    ClassifyColumnId();
}

void CEncapFamilyColumn::SetUnitType(const std::wstring& unit) {
    if (unit == unit_) {
        return;
    }
    unit_ = unit;
    node_.SetProperty(L"UnitType", unit);
    BumpAllRevisionsIfRefresh();
}

void CEncapFamilyColumn::SetDataType(DataTypes::ColumnDataType type) {
    dataType_ = type;
    node_.SetProperty(L"ValueType", DataTypes::DataTypeNum2Str(type));
}

void CEncapFamilyColumn::SetKeyWeight(const int& weight) {
    keyWeight_ = weight;
    node_.SetProperty(L"KeyWeight", weight);
}

void CEncapFamilyColumn::SetIsHidden(const bool& hidden) {
    hidden_ = hidden;
    node_.SetStrBoolProperty(L"Hidden", hidden);
}

void CEncapFamilyColumn::SetIsCustom(const bool& custom) {
    const bool changed = custom != custom_;
    // A custom column never drives the members, so the state on the
    // non-custom side of the switch decides whether members change.
    const bool refreshedBefore = changed && ChangeInColumnCausesRefresh();
    custom_ = custom;
    node_.SetStrBoolProperty(L"Custom", custom);
    if (changed) {
        BumpAllRevisionsIfRefresh(refreshedBefore);
    }
}

// ---- Kinds and flags ----

bool CEncapFamilyColumn::IsRestrictedColumn() const {
    return kind_ >= FileNameColumn && kind_ <= RestrictedColumn5;
}

void CEncapFamilyColumn::UpdateColumnType(const std::wstring& categoryParameter) {
    kind_ = OrdinaryColumn;
    for (std::size_t kind = 1; kind < kKindParameters.size(); ++kind) {
        if (categoryParameter == kKindParameters[kind]) {
            kind_ = static_cast<ColumnType>(kind);
            hostProperty_ = true;
            property_ = true;
            return;
        }
    }
}

void CEncapFamilyColumn::SetIsGeometryColumn(bool geometry) {
    geometry_ = geometry;
    property_ = geometry_ || hostProperty_;
}

void CEncapFamilyColumn::SetIsOrvPropertyColumn(bool hostProperty) {
    hostProperty_ = hostProperty;
    property_ = geometry_ || hostProperty_;
}

void CEncapFamilyColumn::SetColIPropertyData(CEncapFamilyColIPropertyData* data) {
    if (data != propertyData_) {
        delete propertyData_;
        propertyData_ = data;
    }
    hostProperty_ = data != nullptr;
    property_ = hostProperty_ || geometry_;
}

bool CEncapFamilyColumn::IsLocalized() const {
    const CEncapFamily* family = Family();
    return family != nullptr && family->IsColumnLocalized(*this);
}

bool CEncapFamilyColumn::IsLegacyMapColumn() const {
    const CEncapFamily* family = Family();
    std::wstring parameter;
    if (family == nullptr || family->GetEncapFamilyMapping() == nullptr ||
        !family->GetColumnCategory(columnId_, parameter)) {
        return false;
    }
    for (const std::wstring_view legacy : kLegacyParameters) {
        if (VardelCommon::EqualsNoCase(parameter, legacy)) {
            return true;
        }
    }
    return false;
}
