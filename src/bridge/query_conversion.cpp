#include "bridge/query_conversion.h"

#include <array>
#include <cmath>
#include <utility>

#include "common/case_fold.h"
#include "common/text.h"
#include "search/find_prop.h"

namespace VardelBridge {
namespace {

using TarnServerProxies::Content::ContentQuery;
using TarnServerProxies::Content::QueryConstraint;
using TarnServerProxies::Content::QueryOperator;
using TarnServerProxies::Content::QueryReturn;
using Vardel::CSearchData;

// A property constraint on this key compares the object's own identifier.
constexpr wchar_t kObjectIdentifierKey[] = L"cf1d0246-76d9-4b4a-8305-fa0409afb5c1";

std::optional<std::wstring> Attribute(const CSearchData& record, const wchar_t* key) {
    const auto& attributes = *record.GetAttributes();
    const auto found = attributes.find(key);
    if (found == attributes.end()) {
        return std::nullopt;
    }
    return found->second;
}

// The values of every pair named `name` (any case), in order.
std::vector<std::wstring> PropertyValuesNamed(const CSearchData& record, const wchar_t* name) {
    std::vector<std::wstring> values;
    const VardelSearch::FindProp matches(name);
    for (const Vardel::PropertyData* property : *record.GetProperties()) {
        if (matches(property)) {
            values.push_back(property->value);
        }
    }
    return values;
}

// Digits, sign, point and exponent only: no hexadecimal forms, no words such
// as "inf", whatever the C library would also accept. A number too large for
// a double is no tolerance the server could use either.
std::optional<double> ParseDecimal(const std::wstring& text) {
    const std::wstring number(VardelCommon::Trim(text));
    if (number.empty() || number.find_first_not_of(L"0123456789+-.eE") != std::wstring::npos ||
        !VardelCommon::IsWholeNumber(number)) {
        return std::nullopt;
    }
    const double value = VardelCommon::ParseLeadingNumber(number.c_str());
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// A family (1) or member (2) return: the identifier field under the alias
// given by the record's "InternalName" pair; nothing without that pair.
void ConvertIdentifierReturn(const CSearchData& record, const wchar_t* field,
                             std::vector<QueryReturn>& returns) {
    const Vardel::PropertyData* alias = VardelSearch::FindFirstProperty(record, L"InternalName");
    if (alias == nullptr) {
        return;
    }
    QueryReturn result;
    result.property = field;
    result.returnAs = alias->value;
    returns.push_back(std::move(result));
}

// A property return (4): one return per "Value" alias, each paired with a
// tagged constraint that references it.
void ConvertPropertyReturn(const CSearchData& record, int& tagCounter,
                           std::vector<QueryReturn>& returns,
                           std::vector<QueryConstraint>& constraints) {
    const std::optional<std::wstring> index = Attribute(record, L"Index");
    const std::optional<std::wstring> key = Attribute(record, L"InternalName");
    for (const std::wstring& alias : PropertyValuesNamed(record, L"Value")) {
        QueryReturn result;
        result.property = L"Value";
        result.returnAs = alias;
        result.referencedAs = alias;
        result.propertyIndex = index;
        result.propertyAlias = key;
        returns.push_back(std::move(result));

        ++tagCounter;
        QueryConstraint reference;
        reference.tag = L"constraintTag" + std::to_wstring(tagCounter);
        reference.property = L"Value";
        reference.propertyAlias = key;
        reference.valueReference = alias;
        reference.operator_ = QueryOperator::Equal;
        constraints.push_back(std::move(reference));
    }
}

QueryConstraint ConvertCategoryConstraint(const CSearchData& record) {
    QueryConstraint constraint;
    constraint.property = L"Category";
    if (const auto text = Attribute(record, L"Operator")) {
        constraint.operator_ = GetManagedOperator(*text);
    }
    std::vector<std::wstring> values = PropertyValuesNamed(record, L"Value");
    if (!values.empty()) {
        constraint.values = std::move(values);
    } else {
        constraint.value = Attribute(record, L"InternalName");
    }
    return constraint;
}

std::optional<QueryConstraint> ConvertPropertyConstraint(const CSearchData& record) {
    QueryConstraint constraint;
    constraint.tag = Attribute(record, L"ReferencedAs");
    if (const auto text = Attribute(record, L"Tolerance")) {
        constraint.tolerance = ParseDecimal(*text);
        if (!constraint.tolerance) {
            return std::nullopt;
        }
    }
    constraint.propertyIndex = Attribute(record, L"Index");
    if (const auto text = Attribute(record, L"Operator")) {
        constraint.operator_ = GetManagedOperator(*text);
    }
    if (auto key = Attribute(record, L"InternalName")) {
        if (VardelCommon::EqualsNoCase(*key, kObjectIdentifierKey)) {
            constraint.property = L"ObjectID";
        } else {
            constraint.property = L"Value";
            constraint.propertyAlias = std::move(key);
        }
    }
    std::vector<std::wstring> values = PropertyValuesNamed(record, L"Value");
    if (!values.empty()) {
        constraint.values = std::move(values);
    }
    return constraint;
}

}  // namespace

QueryOperator GetManagedOperator(const std::wstring& text) {
    static constexpr std::array<std::pair<const wchar_t*, QueryOperator>, 8> kOperators{{
        {L"=", QueryOperator::Equal},
        {L"!=", QueryOperator::NotEqual},
        {L"LIKE", QueryOperator::Like},
        {L"<", QueryOperator::Less},
        {L"<=", QueryOperator::LessOrEqual},
        {L">", QueryOperator::Greater},
        {L">=", QueryOperator::GreaterOrEqual},
        {L"IN", QueryOperator::In},
    }};
    for (const auto& [name, op] : kOperators) {
        if (VardelCommon::EqualsNoCase(text, name)) {
            return op;
        }
    }
    return QueryOperator::Equal;
}

void ConvertReturns(const Vardel::CSearchQueryData* query, std::vector<QueryReturn>& returns,
                    std::vector<QueryConstraint>& constraints) {
    if (query == nullptr) {
        return;
    }
    int tagCounter = 0;
    for (const CSearchData* record : *query->GetReturns()) {
        switch (record->GetType()) {
            case CSearchData::SearchFamily:
                ConvertIdentifierReturn(*record, L"ObjectID", returns);
                break;
            case CSearchData::SearchMember:
                ConvertIdentifierReturn(*record, L"RowID", returns);
                break;
            case CSearchData::SearchProperty:
                ConvertPropertyReturn(*record, tagCounter, returns, constraints);
                break;
            default:
                break;
        }
    }
}

bool ConvertConstraints(const std::vector<CSearchData*>* records,
                        std::vector<QueryConstraint>& constraints) {
    if (records == nullptr) {
        return true;
    }
    for (const CSearchData* record : *records) {
        if (record->GetType() == CSearchData::SearchCategory) {
            constraints.push_back(ConvertCategoryConstraint(*record));
        } else if (record->GetType() == CSearchData::SearchProperty) {
            std::optional<QueryConstraint> constraint = ConvertPropertyConstraint(*record);
            if (!constraint) {
                return false;
            }
            constraints.push_back(std::move(*constraint));
        }
    }
    return true;
}

std::optional<ContentQuery> ConvertContentQuery(const Vardel::CSearchQueryData* query,
                                                const std::wstring& language) {
    std::vector<QueryReturn> returns;
    std::vector<QueryConstraint> constraints;
    ConvertReturns(query, returns, constraints);
    if (!ConvertConstraints(query == nullptr ? nullptr : query->GetConstraints(), constraints)) {
        return std::nullopt;
    }
    ContentQuery converted;
    if (!constraints.empty()) {
        converted.constraintFields = std::move(constraints);
    }
    if (!returns.empty()) {
        converted.returnFields = std::move(returns);
    }
    converted.lang = language;
    return converted;
}

}  // namespace VardelBridge
