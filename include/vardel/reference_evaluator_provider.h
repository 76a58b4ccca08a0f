// The evaluator provider shipped with the library, for hosts without one of
// their own and for the catalogue, the tool and the tests.
//
// Expressions: numbers, + - * / ^, parentheses, the functions and constants
// of the muparser library (sin, cos, tan, asin, acos, atan, sqrt, exp, ln,
// log, log10, abs, min, max, sum, avg, rint, sign, _pi, _e), where a number
// may carry a unit suffix ("10mm*2", "1.5 in + 3"). Plain numbers are taken
// in the unit the caller names; a suffixed number is converted to that unit
// first, so its unit must be of the same kind. The result is answered in the
// database unit of the kind.
//
// Units (name: kind, factor to the database unit of the kind):
//   length, database unit "cm": mm 0.1, cm 1, m 100, in 2.54, ft 30.48
//   angle, database unit "rad": deg pi/180, rad 1
//   mass, database unit "kg": g 0.001, kg 1, lb 0.45359237
//   unitless, database unit "ul": ul 1
// Unit names are case-sensitive.
//
// Materials: a table of key and display name. The built-in set holds
// steel, stainless steel, brass, aluminium, copper, cast iron, titanium and
// polyamide; LoadMaterialFile replaces it by the entries of a text file in
// UTF-8, one "key = display name" per line, blank lines and lines starting
// with "#" ignored, both sides trimmed. Keys and names compare ignoring case.
//
// Failure statuses (negative, never an exception): E_INVALIDARG for a null
// argument, an unknown unit or units of different kinds, E_FAIL for an
// expression that does not parse or does not give a finite number (division
// by zero included) and for an unknown material.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "vardel/evaluator_provider.h"
#include "vardel/export.h"

class VARDEL_API CReferenceEvaluatorProvider : public IEvaluatorProvider {
  public:
    /// A provider with the built-in materials.
    CReferenceEvaluatorProvider();
    ~CReferenceEvaluatorProvider() override;

    HRESULT EvaluateExpression(const wchar_t* expression, const wchar_t* unit,
                               double* value) override;
    HRESULT ConvertUnits(const wchar_t* value, const wchar_t* fromUnit, const wchar_t* toUnit,
                         double* result) override;
    HRESULT GetDatabaseUnit(const wchar_t* unit, std::wstring& databaseUnit) override;
    HRESULT GetMaterialName(const wchar_t* key, std::wstring& name) override;
    HRESULT GetMaterialRefKey(const wchar_t* name, std::wstring& key) override;

    /// Replaces the materials by those of the file at `path`. False, with
    /// the materials unchanged and `error` naming the file and line, when
    /// the file cannot be read or a line is not "key = name".
    bool LoadMaterialFile(const wchar_t* path, std::wstring& error);
    /// The materials as (key, display name) pairs in key order.
    std::vector<std::pair<std::wstring, std::wstring>> GetMaterials() const;

  private:
    // Keyed by the case-folded key; each entry holds the key as written and
    // the display name.
    std::map<std::wstring, std::pair<std::wstring, std::wstring>> materials_;
};
