// The fixed colour tables of converted DIBs and the colour matching into
// them. The default 16-colour palette is the usual VGA set. The halftone
// palette has 256 entries: the twenty fixed colours of a 256-colour display
// (ten at each end), a 6 x 6 x 6 colour cube and a ramp of twenty greys
// that the cube lacks.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "images/dib_view.h"

namespace VardelImages {

/// The default 16-colour palette.
std::span<const Rgba, 16> DefaultPalette16();
/// The 256-colour halftone palette.
std::span<const Rgba, 256> HalftonePalette();

/// Stores `colors` as colour-table entries (blue, green, red, 0) at the
/// start of `table`, which must have room for them.
void StoreColorTable(std::span<const Rgba> colors, std::span<std::uint8_t> table);
/// The index of the entry of colour table `table` nearest to `color`
/// (squared distance in RGB; the first of equals); 0 for an empty table.
std::uint8_t NearestEntry(std::span<const std::uint8_t> table, Rgba color);

}  // namespace VardelImages
