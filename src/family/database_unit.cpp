#include "family/database_unit.h"

#include "family/number_text.h"

namespace VardelFamily {

bool FromDatabaseUnit(IEvaluatorProvider& provider, const std::wstring& databaseUnit,
                      const std::wstring& unit, double& number) {
    if (databaseUnit == unit) {
        return true;
    }
    // All the digits a double holds: six ("%g") would turn the radians of
    // 90 degrees into 90.0002 degrees.
    const std::wstring text = FormatNumber(number, 17);
    return provider.ConvertUnits(text.c_str(), databaseUnit.c_str(), unit.c_str(), &number) >= 0;
}

bool FromDatabaseUnit(IEvaluatorProvider& provider, const std::wstring& unit, double& number) {
    std::wstring databaseUnit;
    return provider.GetDatabaseUnit(unit.c_str(), databaseUnit) >= 0 &&
           FromDatabaseUnit(provider, databaseUnit, unit, number);
}

}  // namespace VardelFamily
