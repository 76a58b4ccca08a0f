// An evaluator provider for the family model's tests. It records every call
// (operation, the exact text handed over, units) in `calls` and answers from
// a small script:
// - EvaluateExpression: a scripted answer for (expression, unit) when there
//   is one; else a plain number in the "C" form answers itself with status
//   0; else `evaluateFailure`. An expression in `throwingExpressions` makes
//   it throw instead.
// - GetDatabaseUnit: failure for a unit in `unknownUnits`, "cm" for the
//   length units of `factors` (mm, cm, m, in), the unit itself otherwise.
// - ConvertUnits: value * factor(from) / factor(to), a unit missing from
//   `factors` counting 1; failure for a unit in `unknownUnits`, a text that
//   is not a number, or `convertFailure` set.
// - GetMaterialName / GetMaterialRefKey: the `materials` map (key -> name),
//   compared exactly; failure when absent.
// One thread at a time; every field may be changed between calls.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "vardel/evaluator_provider.h"

namespace FamilyTest {

struct ProviderCall {
    enum Operation { Evaluate, Convert, DatabaseUnit, MaterialName, MaterialKey };
    Operation operation = Evaluate;
    /// The expression, value text, unit, material key or material name.
    std::wstring text;
    /// The unit of Evaluate, the from-unit of Convert.
    std::wstring unit;
    /// The to-unit of Convert.
    std::wstring toUnit;

    bool operator==(const ProviderCall&) const = default;
};

struct ScriptedAnswer {
    HRESULT status = S_OK;
    double value = 0.0;
};

class ScriptedProvider : public IEvaluatorProvider {
  public:
    ScriptedProvider();

    HRESULT EvaluateExpression(const wchar_t* expression, const wchar_t* unit,
                               double* value) override;
    HRESULT ConvertUnits(const wchar_t* value, const wchar_t* fromUnit, const wchar_t* toUnit,
                         double* result) override;
    HRESULT GetDatabaseUnit(const wchar_t* unit, std::wstring& databaseUnit) override;
    HRESULT GetMaterialName(const wchar_t* key, std::wstring& name) override;
    HRESULT GetMaterialRefKey(const wchar_t* name, std::wstring& key) override;

    /// The calls of one operation, in order.
    std::vector<ProviderCall> CallsOf(ProviderCall::Operation operation) const;
    /// The texts handed to EvaluateExpression with their units, in order.
    std::vector<std::pair<std::wstring, std::wstring>> Evaluations() const;

    std::vector<ProviderCall> calls;
    /// (expression, unit) -> answer.
    std::map<std::pair<std::wstring, std::wstring>, ScriptedAnswer> answers;
    HRESULT evaluateFailure = E_FAIL;
    std::set<std::wstring> throwingExpressions;
    bool convertFailure = false;
    std::set<std::wstring> unknownUnits;
    /// Unit -> factor to its database unit.
    std::map<std::wstring, double> factors;
    /// Material key -> display name.
    std::map<std::wstring, std::wstring> materials;
};

}  // namespace FamilyTest
