// Writing ICO files: the header (0, 1, image count), one 16-byte entry per
// image (width and height as bytes, colour count, reserved 0, planes and
// bits per pixel from the image's own header, byte size, offset), then the
// images' bytes in entry order, the first at 6 + 16 x count, each next one
// directly after the previous.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "vardel/icon_records.h"

namespace VardelImages {

/// The bytes of the ICO file of `images`: the 6 header bytes in `header`, the
/// rest in `body`. False when an image has no readable DIB header or the file
/// would pass 4 GiB.
bool BuildIcoBytes(std::span<const ICONIMAGE* const> images, std::vector<std::uint8_t>& header,
                   std::vector<std::uint8_t>& body);

/// Writes the ICO file of `images` at `path`, replacing it; shows a message
/// when it cannot be created or its header cannot be written. False on any
/// failure.
bool WriteIcoFile(std::span<const ICONIMAGE* const> images, const wchar_t* path);

}  // namespace VardelImages
