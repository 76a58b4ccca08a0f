// PNG images of the icon commands, encoded and decoded in memory with
// libpng. Pixels are straight RGBA, 8 bits a channel, top row first. libpng
// reports errors by longjmp; this file turns every one into a failure
// result, and nothing it reads is trusted: the size is checked before any
// pixel memory is allocated.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tool_result.h"

namespace VardelTool {

struct RgbaImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    /// Four bytes per pixel, width * height pixels.
    std::vector<std::uint8_t> rgba;
};

/// The PNG file bytes of `image`; nullopt when libpng fails.
std::optional<std::string> EncodePng(const RgbaImage& image);

/// The pixels of the PNG file bytes `bytes`, refused (a message without the
/// file's name) when they are not a PNG image or a side exceeds `maxSide`.
Result<RgbaImage> DecodePng(std::string_view bytes, std::uint32_t maxSide);

}  // namespace VardelTool
