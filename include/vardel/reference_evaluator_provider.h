// The evaluator provider shipped with the library, for hosts without one of
// their own and for the catalogue, the tool and the tests.
//
// Expressions: ASCII text of numbers ("2", "2.5", ".5", "1e-3"; a point as
// decimal separator), + - * / ^, parentheses and the functions and constants
// of the muparser library (sin, cos, tan, asin, acos, atan, sqrt, exp, ln,
// log, log10, abs, min, max, sum, avg, rint, sign, _pi, _e; angles of the
// trigonometric functions in radians). A number may carry a unit suffix,
// directly or after spaces ("10mm*2", "2.5 in + 3", "sin(90deg)"). Plain
// numbers are taken in the unit the caller names; a suffixed number is
// converted to that unit first, so its unit must be of the same kind, and
// "ul" is never a suffix. The result is answered in the database unit of the
// kind: EvaluateExpression("10mm*2", "mm") answers 2 (cm).
//
// Units (name: kind, factor to the database unit of the kind):
//   length, database unit "cm": mm 0.1, cm 1, m 100, in 2.54, ft 30.48
//   angle, database unit "rad": deg pi/180, rad 1
//   mass, database unit "kg": g 0.001, kg 1, lb 0.45359237
//   unitless, database unit "ul": ul 1
// Unit names are case-sensitive. ConvertUnits reads its value as one whole
// number in the same form and converts between units of one kind.
//
// Materials: a table of key and display name. The built-in set holds
// steel (key "steel"), stainless steel ("stainless-steel"), brass
// ("brass"), aluminium ("aluminium"), copper ("copper"), cast iron
// ("cast-iron"), titanium ("titanium") and polyamide ("polyamide").
// LoadMaterialFile replaces it by the entries of a text file in UTF-8, one
// "key = display name" per line (the name runs from the first "=" to the
// end of the line), blank lines and lines starting with "#" ignored, both
// sides trimmed, no key twice. Keys and names compare ignoring case.
//
// Failure statuses (negative, never an exception): E_INVALIDARG for a null
// argument, an unknown unit, units of different kinds and a suffix of
// another kind than the caller's unit; E_FAIL for an expression that is not
// ASCII, does not parse or does not give a finite number (division by zero
// included), a value of ConvertUnits that is not a number, a number beyond
// the range of doubles, and an unknown material; E_OUTOFMEMORY when memory
// runs out. Parsed expressions are kept per provider (expressions that
// differ only in their numbers share one), so evaluating a table's formula
// row after row parses it once. One thread at a time per provider.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "vardel/evaluator_provider.h"
#include "vardel/export.h"

class VARDEL_API CReferenceEvaluatorProvider : public IEvaluatorProvider {
  public:
    /// A provider with the built-in materials.
    CReferenceEvaluatorProvider();
    /// The copy has the same materials and serves the same family.
    CReferenceEvaluatorProvider(const CReferenceEvaluatorProvider& other);
    CReferenceEvaluatorProvider& operator=(const CReferenceEvaluatorProvider& other);
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
    // The expression parser, built on first use and reused: building one
    // costs far more than an evaluation.
    struct Engine;

    // Keyed by the case-folded key; each entry holds the key as written and
    // the display name.
    std::map<std::wstring, std::pair<std::wstring, std::wstring>> materials_;
    std::unique_ptr<Engine> engine_;
};
