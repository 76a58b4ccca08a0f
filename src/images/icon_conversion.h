// Conversions of icon images: a DIB made into an icon image of the image's
// own size and depth with an opaque mask, and an icon image turned into the
// plain DIB the clipboard carries (its bytes, with the header's height
// halved to the visible height).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "vardel/icon_records.h"

namespace VardelImages {

/// Converts `dib` to the image's Width, Height and Colors and makes it the
/// image's bytes. False with the image untouched when the DIB or the format
/// cannot be converted; false with the image left without bytes when memory
/// is short for the new bytes.
bool DibToIconImage(ICONIMAGE& image, std::span<const std::uint8_t> dib, bool stretch);

/// The clipboard's DIB of an icon image; nullopt when its bytes are not a
/// valid icon image.
std::optional<std::vector<std::uint8_t>> ClipboardDib(const ICONIMAGE& image);

}  // namespace VardelImages
