// Identifiers compared for equality are read as GUIDs and compared in the
// catalogue's own form (lower-case, no braces), so any case and braces
// match; a text that is no GUID is kept as given and matches nothing stored.
// Values are numbers by the same rule as the stored values.
#include "service/search_query.h"

#include <algorithm>
#include <optional>

#include "common/utf8.h"
#include "service/search_answer.h"

namespace VardelCatalog {
namespace {

using TarnServerProxies::ProxyError;
using TarnServerProxies::Content::ContentQuery;
using TarnServerProxies::Content::QueryConstraint;
using TarnServerProxies::Content::QueryOperator;
using TarnServerProxies::Content::QueryReturn;
using VardelCommon::ToUtf8;

[[noreturn]] void Fail(const std::string& what) {
    throw ProxyError("search: " + what);
}

std::string Quoted(const std::optional<std::wstring>& text) {
    if (!text) {
        return "(none)";
    }
    // Appended piece by piece: GCC 12 misreports `"..." + std::string&&` at -O3.
    std::string quoted(1, '"');
    quoted += ToUtf8(*text);
    quoted += '"';
    return quoted;
}

std::string CanonicalId(const std::optional<std::wstring>& text) {
    if (!text) {
        return {};
    }
    if (const std::optional<Vardel::Guid> guid = Vardel::Guid::Parse(*text)) {
        return ToUtf8(guid->ToString());
    }
    return ToUtf8(*text);
}

SearchComparison ComparisonOf(QueryOperator op) {
    switch (op) {
        case QueryOperator::Equal:
        case QueryOperator::In:
            return SearchComparison::Equal;
        case QueryOperator::NotEqual:
            return SearchComparison::NotEqual;
        case QueryOperator::Like:
            return SearchComparison::Like;
        case QueryOperator::Less:
            return SearchComparison::Less;
        case QueryOperator::LessOrEqual:
            return SearchComparison::LessOrEqual;
        case QueryOperator::Greater:
            return SearchComparison::Greater;
        case QueryOperator::GreaterOrEqual:
            return SearchComparison::GreaterOrEqual;
    }
    Fail("unknown operator " + std::to_string(static_cast<std::int32_t>(op)));
}

bool IsExact(SearchComparison comparison) {
    return comparison == SearchComparison::Equal || comparison == SearchComparison::NotEqual;
}

// What a constraint compares with: `values`, else `value`; nothing when it
// only names a field.
std::vector<std::wstring> ConstraintTexts(const QueryConstraint& constraint) {
    if (constraint.values && !constraint.values->empty()) {
        return *constraint.values;
    }
    if (constraint.value) {
        return {*constraint.value};
    }
    return {};
}

SearchValue ReadValue(const std::wstring& text) {
    return {ToUtf8(text), NumberOfText(text)};
}

SearchCondition ReadCondition(const QueryConstraint& constraint,
                              const std::vector<std::wstring>& texts, bool identifiers) {
    SearchCondition condition;
    condition.comparison = ComparisonOf(constraint.operator_);
    const bool exact = IsExact(condition.comparison);
    for (const std::wstring& text : texts) {
        condition.values.push_back(identifiers && exact ? SearchValue{CanonicalId(text), {}}
                                                        : ReadValue(text));
    }
    if (exact) {
        condition.tolerance = constraint.tolerance;
    }
    return condition;
}

CategoryCondition ReadCategoryCondition(const QueryConstraint& constraint,
                                        const std::vector<std::wstring>& texts) {
    const SearchComparison comparison = ComparisonOf(constraint.operator_);
    if (!IsExact(comparison)) {
        Fail("a Category constraint takes =, IN or != only");
    }
    CategoryCondition condition;
    condition.exclude = comparison == SearchComparison::NotEqual;
    for (const std::wstring& text : texts) {
        condition.categories.push_back(CanonicalId(text));
    }
    return condition;
}

void AddConstraint(SearchRequest& request, const QueryConstraint& constraint) {
    const std::vector<std::wstring> texts = ConstraintTexts(constraint);
    const std::wstring field = constraint.property.value_or(L"");
    if (field == L"Category") {
        CategoryCondition condition = ReadCategoryCondition(constraint, texts);
        if (!texts.empty()) {
            request.categories.push_back(std::move(condition));
        }
    } else if (field == L"ObjectID") {
        SearchCondition condition = ReadCondition(constraint, texts, true);
        if (!texts.empty()) {
            request.familyIds.push_back(std::move(condition));
        }
    } else if (field == L"Value") {
        SearchCondition condition = ReadCondition(constraint, texts, false);
        if (!texts.empty()) {
            request.values.push_back({CanonicalId(constraint.propertyAlias), std::move(condition)});
        }
    } else {
        Fail("unknown constraint field " + Quoted(constraint.property));
    }
}

SearchReturn::Kind ReturnKind(const QueryReturn& field) {
    const std::wstring property = field.property.value_or(L"");
    if (property == L"ObjectID") {
        return SearchReturn::Kind::FamilyId;
    }
    if (property == L"RowID") {
        return SearchReturn::Kind::RowId;
    }
    if (property == L"Value") {
        return SearchReturn::Kind::Value;
    }
    Fail("unknown return field " + Quoted(field.property));
}

std::size_t ReturnParameterIndex(SearchRequest& request, std::string parameter) {
    std::vector<std::string>& parameters = request.returnParameters;
    const auto found = std::find(parameters.begin(), parameters.end(), parameter);
    if (found != parameters.end()) {
        return static_cast<std::size_t>(found - parameters.begin());
    }
    parameters.push_back(std::move(parameter));
    return parameters.size() - 1;
}

void AddReturn(SearchPlan& plan, const QueryReturn& field) {
    if (!field.returnAs) {
        return;
    }
    SearchReturn result;
    result.kind = ReturnKind(field);
    const std::wstring& name = *field.returnAs;
    if (!IsAnswerAttributeName(name) || name == L"FamilyId") {
        Fail("return name " + Quoted(name) + " cannot name an attribute");
    }
    result.name = ToUtf8(name);
    if (std::any_of(plan.returns.begin(), plan.returns.end(),
                    [&](const SearchReturn& other) { return other.name == result.name; })) {
        Fail("return name " + Quoted(name) + " is given twice");
    }
    if (result.kind == SearchReturn::Kind::Value) {
        result.parameter = ReturnParameterIndex(plan.request, CanonicalId(field.propertyAlias));
    }
    plan.returns.push_back(std::move(result));
}

std::size_t ValueCount(const SearchRequest& request) {
    std::size_t count = 0;
    for (const SearchCondition& condition : request.familyIds) {
        count += condition.values.size();
    }
    for (const ValueCondition& value : request.values) {
        count += value.condition.values.size();
    }
    return count;
}

void CheckSize(const SearchRequest& request) {
    if (request.values.size() > kMaxValueConditions ||
        request.returnParameters.size() > kMaxReturnParameters ||
        ValueCount(request) > kMaxConditionValues) {
        Fail("the query is too large (at most " + std::to_string(kMaxValueConditions) +
             " value constraints, " + std::to_string(kMaxReturnParameters) +
             " returned parameters and " + std::to_string(kMaxConditionValues) + " values)");
    }
}

}  // namespace

SearchPlan ReadSearchQuery(const ContentQuery& query, std::int64_t libraryId, bool recursive) {
    SearchPlan plan;
    plan.request.libraryId = libraryId;
    plan.request.recursive = recursive;
    for (const QueryReturn& field : query.returnFields.value_or(std::vector<QueryReturn>{})) {
        AddReturn(plan, field);
    }
    for (const QueryConstraint& constraint :
         query.constraintFields.value_or(std::vector<QueryConstraint>{})) {
        AddConstraint(plan.request, constraint);
    }
    plan.request.members =
        !plan.request.values.empty() ||
        std::any_of(plan.returns.begin(), plan.returns.end(),
                    [](const SearchReturn& r) { return r.kind != SearchReturn::Kind::FamilyId; });
    CheckSize(plan.request);
    return plan;
}

}  // namespace VardelCatalog
