// Making an icon (HICON) from the bytes of one icon image: the pixels are
// decoded once into straight RGBA. Alpha comes from a 32-bit image's alpha
// channel when any pixel has a non-zero one (the usual sign that the
// channel is meant), else from the AND mask.
#pragma once

#include <cstdint>
#include <span>

#include "vardel/icon_records.h"

namespace VardelImages {

/// The icon of the icon-image bytes `image`; empty unless they hold an
/// uncompressed icon DIB of at most 4096 pixels a side, or when memory is
/// short.
HICON MakeIcon(std::span<const std::uint8_t> image);

}  // namespace VardelImages
