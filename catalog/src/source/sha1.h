// SHA-1 of a byte string: what names derived GUIDs and tells identical
// images apart. The catalogue needs a digest of sources it reads, not a
// defence against forged collisions, so a small implementation of its own
// serves. Pure functions, safe from any thread.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace VardelCatalog {

using Sha1Digest = std::array<std::uint8_t, 20>;

/// The digest of `message`.
Sha1Digest Sha1(std::span<const std::uint8_t> message);

/// The digest of `bytes` as 40 lower-case hexadecimal digits.
std::string Sha1Hex(std::string_view bytes);

}  // namespace VardelCatalog
