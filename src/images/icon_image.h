// Helpers of one icon image (ICONIMAGE): setting up its size and pointers
// from its bytes, the fields of its ICO directory entry, and where images
// lie in an ICO file. The pointers are only ever set to places inside the
// image's own bytes: bytes that do not hold the DIB their header describes
// are refused.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "vardel/icon_records.h"

namespace VardelImages {

/// The image's bytes; empty when it has none.
std::span<const std::uint8_t> ImageBytes(const ICONIMAGE& image);

/// From the image bytes: the header pointer, Width = DIB width, Height =
/// DIB height / 2, Colors = planes x bits, the XOR pointer after header and
/// colour table, the AND pointer after the XOR rows. 0 (the image
/// untouched) for a null image or bytes without a whole icon DIB; else 1.
int AdjustIconImagePointers(ICONIMAGE* image);

/// The colour-count byte of a directory entry: 2^bits below 8 bits, else 0.
std::uint8_t ColorCountByte(std::uint32_t colorBits);

/// 6 + 16 x the image count + the byte sizes of the images before `index`:
/// where image `index` starts in an ICO file of `images`.
std::uint64_t CalculateImageOffset(std::span<const ICONIMAGE* const> images, std::size_t index);

}  // namespace VardelImages
