#include "family/support/scripted_provider.h"

#include <charconv>
#include <stdexcept>

namespace FamilyTest {

namespace {

// The whole text as one number in the "C" form ("%g" text); ASCII only.
bool ParseNumber(const std::wstring& text, double& value) {
    std::string narrow;
    for (const wchar_t c : text) {
        if (c < 0 || c > 0x7F) {
            return false;
        }
        narrow += static_cast<char>(c);
    }
    const char* end = narrow.data() + narrow.size();
    const auto [stop, error] = std::from_chars(narrow.data(), end, value);
    return !narrow.empty() && error == std::errc() && stop == end;
}

std::wstring Text(const wchar_t* text) {
    return text != nullptr ? text : L"";
}

}  // namespace

ScriptedProvider::ScriptedProvider()
    : factors{{L"mm", 0.1}, {L"cm", 1.0}, {L"m", 100.0}, {L"in", 2.54}},
      materials{{L"steel", L"Steel"}, {L"brass", L"Brass"}} {}

HRESULT ScriptedProvider::EvaluateExpression(const wchar_t* expression, const wchar_t* unit,
                                             double* value) {
    calls.push_back({ProviderCall::Evaluate, Text(expression), Text(unit), L""});
    if (throwingExpressions.contains(Text(expression))) {
        throw std::runtime_error("scripted provider failure");
    }
    const auto answer = answers.find({Text(expression), Text(unit)});
    if (answer != answers.end()) {
        *value = answer->second.value;
        return answer->second.status;
    }
    return ParseNumber(Text(expression), *value) ? S_OK : evaluateFailure;
}

HRESULT ScriptedProvider::ConvertUnits(const wchar_t* value, const wchar_t* fromUnit,
                                       const wchar_t* toUnit, double* result) {
    calls.push_back({ProviderCall::Convert, Text(value), Text(fromUnit), Text(toUnit)});
    double number = 0.0;
    if (convertFailure || unknownUnits.contains(Text(fromUnit)) ||
        unknownUnits.contains(Text(toUnit)) || !ParseNumber(Text(value), number)) {
        return E_FAIL;
    }
    const auto factor = [this](const std::wstring& unit) {
        const auto found = factors.find(unit);
        return found != factors.end() ? found->second : 1.0;
    };
    *result = number * factor(Text(fromUnit)) / factor(Text(toUnit));
    return S_OK;
}

HRESULT ScriptedProvider::GetDatabaseUnit(const wchar_t* unit, std::wstring& databaseUnit) {
    calls.push_back({ProviderCall::DatabaseUnit, Text(unit), L"", L""});
    if (unknownUnits.contains(Text(unit))) {
        return E_INVALIDARG;
    }
    databaseUnit = factors.contains(Text(unit)) ? L"cm" : Text(unit);
    return S_OK;
}

HRESULT ScriptedProvider::GetMaterialName(const wchar_t* key, std::wstring& name) {
    calls.push_back({ProviderCall::MaterialName, Text(key), L"", L""});
    const auto found = materials.find(Text(key));
    if (found == materials.end()) {
        return E_FAIL;
    }
    name = found->second;
    return S_OK;
}

HRESULT ScriptedProvider::GetMaterialRefKey(const wchar_t* name, std::wstring& key) {
    calls.push_back({ProviderCall::MaterialKey, Text(name), L"", L""});
    for (const auto& [materialKey, materialName] : materials) {
        if (materialName == Text(name)) {
            key = materialKey;
            return S_OK;
        }
    }
    return E_FAIL;
}

std::vector<ProviderCall> ScriptedProvider::CallsOf(ProviderCall::Operation operation) const {
    std::vector<ProviderCall> selected;
    for (const ProviderCall& call : calls) {
        if (call.operation == operation) {
            selected.push_back(call);
        }
    }
    return selected;
}

std::vector<std::pair<std::wstring, std::wstring>> ScriptedProvider::Evaluations() const {
    std::vector<std::pair<std::wstring, std::wstring>> evaluations;
    for (const ProviderCall& call : CallsOf(ProviderCall::Evaluate)) {
        evaluations.emplace_back(call.text, call.unit);
    }
    return evaluations;
}

}  // namespace FamilyTest
