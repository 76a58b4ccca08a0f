// A 128-bit identifier. Nodes of the catalogue, rows and revisions are named
// by GUIDs; their text form is 8-4-4-4-12 hexadecimal digits. The bytes are
// kept in the order in which they appear in the text, so comparing two Guids
// compares their texts.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "vardel/export.h"

namespace Vardel {

struct VARDEL_API Guid {
    std::array<std::uint8_t, 16> bytes{};

    /// A new version-4 random GUID from the operating system's random source.
    static Guid New();

    /// Parses 8-4-4-4-12 hexadecimal digits in any case, optionally enclosed in
    /// braces (both or neither); anything else gives no value.
    static std::optional<Guid> Parse(std::wstring_view text);

    /// The lower-case 8-4-4-4-12 text without braces (36 characters).
    std::wstring ToString() const;

    /// True for the all-zero GUID.
    bool IsNil() const;

    friend bool operator==(const Guid&, const Guid&) = default;
    friend auto operator<=>(const Guid&, const Guid&) = default;
};

}  // namespace Vardel
