// Binding one row of values to a statement in one call, and running a
// statement that answers no rows. The values go to the placeholders in
// order (from 1, or after an offset), each by its type. Flags and integers
// bind as integers; wide texts as UTF-8; GUIDs as their lower-case text
// without braces (the form every GUID column holds); byte texts as they are;
// an empty optional as NULL.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "common/utf8.h"
#include "store/database.h"
#include "vardel/guid.h"

namespace VardelCatalog {

template <typename T>
void BindValue(Statement& statement, int index, const T& value) {
    if constexpr (std::is_same_v<T, bool>) {
        statement.BindInt(index, value ? 1 : 0);
    } else if constexpr (std::is_integral_v<T>) {
        statement.BindInt(index, static_cast<std::int64_t>(value));
    } else if constexpr (std::is_floating_point_v<T>) {
        statement.BindDouble(index, static_cast<double>(value));
    } else if constexpr (std::is_same_v<T, std::wstring> || std::is_same_v<T, std::wstring_view>) {
        statement.BindText(index, VardelCommon::ToUtf8(value));
    } else if constexpr (std::is_same_v<T, Vardel::Guid>) {
        statement.BindText(index, VardelCommon::ToUtf8(value.ToString()));
    } else if constexpr (std::is_convertible_v<T, std::string_view>) {
        statement.BindText(index, value);
    } else {
        // An optional: its value, or NULL.
        if (value.has_value()) {
            BindValue(statement, index, *value);
        } else {
            statement.BindNull(index);
        }
    }
}

/// Binds `values` to the placeholders after the first `offset` ones (a row
/// of a statement that writes several).
template <typename... Values>
void BindValuesAt(Statement& statement, int offset, const Values&... values) {
    int index = offset;
    (BindValue(statement, ++index, values), ...);
}

template <typename... Values>
void BindValues(Statement& statement, const Values&... values) {
    BindValuesAt(statement, 0, values...);
}

/// Runs a statement that answers no rows and resets it, also when it fails,
/// so that it serves the next run either way.
inline void RunAndReset(Statement& statement) {
    try {
        statement.Step();
    } catch (...) {
        statement.Reset();
        throw;
    }
    statement.Reset();
}

}  // namespace VardelCatalog
