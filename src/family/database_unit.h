// Numbers that the evaluator provider answered in the database unit of a
// unit's kind ("cm" for lengths, but radians for angles and the unitless
// unit for plain numbers with the reference provider), brought back into
// that unit. Asking the provider for the database unit, rather than
// assuming "cm", keeps angle, mass and unitless formulas working with any
// provider; for lengths it converts from "cm" as always.
#pragma once

#include <string>

#include "vardel/evaluator_provider.h"

namespace VardelFamily {

/// Converts `number` from `databaseUnit` into `unit` through `provider`
/// (unchanged when they are the same), handing it over as "%.17g" text so
/// that no digit is lost. False when the provider cannot.
bool FromDatabaseUnit(IEvaluatorProvider& provider, const std::wstring& databaseUnit,
                      const std::wstring& unit, double& number);

/// The same after asking the provider for the database unit of `unit`;
/// false when it knows none.
bool FromDatabaseUnit(IEvaluatorProvider& provider, const std::wstring& unit, double& number);

}  // namespace VardelFamily
