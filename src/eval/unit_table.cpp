#include "eval/unit_table.h"

#include <array>
#include <numbers>
#include <string>

namespace VardelEval {
namespace {

// The first unit of each kind is its database unit.
constexpr std::array<Unit, 11> kUnits{{
    {"cm", UnitKind::Length, 1.0},
    {"mm", UnitKind::Length, 0.1},
    {"m", UnitKind::Length, 100.0},
    {"in", UnitKind::Length, 2.54},
    {"ft", UnitKind::Length, 30.48},
    {"rad", UnitKind::Angle, 1.0},
    {"deg", UnitKind::Angle, std::numbers::pi / 180.0},
    {"kg", UnitKind::Mass, 1.0},
    {"g", UnitKind::Mass, 0.001},
    {"lb", UnitKind::Mass, 0.45359237},
    {"ul", UnitKind::Unitless, 1.0},
}};

// Longer than any unit name: such a name is not looked up at all.
constexpr std::size_t kLongestName = 3;

}  // namespace

const Unit* FindUnit(std::string_view name) {
    for (const Unit& unit : kUnits) {
        if (unit.name == name) {
            return &unit;
        }
    }
    return nullptr;
}

const Unit* FindUnit(std::wstring_view name) {
    if (name.size() > kLongestName) {
        return nullptr;
    }
    std::string narrow;
    for (const wchar_t c : name) {
        if (!((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'))) {
            return nullptr;
        }
        narrow += static_cast<char>(c);
    }
    return FindUnit(std::string_view(narrow));
}

const Unit& DatabaseUnit(UnitKind kind) {
    for (const Unit& unit : kUnits) {
        if (unit.kind == kind) {
            return unit;
        }
    }
    return kUnits.back();
}

}  // namespace VardelEval
