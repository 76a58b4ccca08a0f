// The units of the reference evaluator provider: each unit has a kind
// (length, angle, mass, unitless) and a factor that turns a value in the unit
// into the database unit of its kind (cm, rad, kg, ul). Unit names are
// case-sensitive ASCII. The table is constant and may be read from any
// thread.
#pragma once

#include <string_view>

namespace VardelEval {

enum class UnitKind { Length, Angle, Mass, Unitless };

struct Unit {
    std::string_view name;
    UnitKind kind;
    /// A value in this unit times `factor` is the value in the database unit.
    double factor;
};

/// The unit named `name`; null when there is none.
const Unit* FindUnit(std::string_view name);
/// The same for a wide name (a name with other than ASCII letters is none).
const Unit* FindUnit(std::wstring_view name);
/// The database unit of `kind`.
const Unit& DatabaseUnit(UnitKind kind);

}  // namespace VardelEval
