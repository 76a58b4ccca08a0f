// The host's evaluator: arithmetic, units and materials for the formulas of
// a family table. The library never computes arithmetic itself; the table
// evaluator hands every numeric expression, unit conversion and material
// lookup to the provider of the family it serves. A family document takes
// ownership of its provider (deletes it when the family is destroyed) and
// registers itself with it.
//
// Every operation answers a status: 0 plain success, negative a failure,
// positive a success with a remark. Operations must not throw across this
// interface. "ul" names the unitless unit and "cm" the database unit of
// lengths; a provider must accept both. Numbers handed over as text use a
// point as decimal separator ("%g" form).
#pragma once

#include <string>

#include "vardel/export.h"
#include "vardel/status.h"

class CEncapFamily;

class VARDEL_API IEvaluatorProvider {
  public:
    /// A provider that serves no family yet.
    IEvaluatorProvider() = default;
    /// The copy serves the same family as `other` until a family registers
    /// itself with it.
    IEvaluatorProvider(const IEvaluatorProvider& other) = default;
    IEvaluatorProvider& operator=(const IEvaluatorProvider& other) = default;
    virtual ~IEvaluatorProvider();

    /// Evaluates `expression`, whose plain numbers are in `unit`, and stores
    /// the value, expressed in the database unit of `unit`'s kind, in
    /// `*value`.
    virtual HRESULT EvaluateExpression(const wchar_t* expression, const wchar_t* unit,
                                       double* value) = 0;
    /// Converts the number written in `value` from `fromUnit` to `toUnit`.
    virtual HRESULT ConvertUnits(const wchar_t* value, const wchar_t* fromUnit,
                                 const wchar_t* toUnit, double* result) = 0;
    /// The database unit in which EvaluateExpression answers for `unit`.
    virtual HRESULT GetDatabaseUnit(const wchar_t* unit, std::wstring& databaseUnit) = 0;
    /// The display name of the material whose key is `key`.
    virtual HRESULT GetMaterialName(const wchar_t* key, std::wstring& name) = 0;
    /// The key of the material whose display name is `name`.
    virtual HRESULT GetMaterialRefKey(const wchar_t* name, std::wstring& key) = 0;

  protected:
    /// The family this provider serves; null before one registered.
    CEncapFamily* GetEncapFamily() const { return family_; }

  private:
    friend class CEncapFamily;
    void SetEncapFamily(CEncapFamily* family) { family_ = family; }

    CEncapFamily* family_ = nullptr;
};
