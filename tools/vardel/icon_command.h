// The icon command group, shared by its source files: list and extract
// (icon_command.cpp) and build (icon_build.cpp). Images are read and
// written through CIcons (icon_file.h); PNG files through png_file.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tool_result.h"

namespace VardelTool {

/// The largest side of an image `icon build` takes.
inline constexpr std::uint32_t kMaxIconSide = 256;

/// Lower-case extension of `file` with its dot (".ico"), or empty.
std::string LowerExtension(const std::string& file);

/// Writes an ICO file `output` of the BMP and PNG files `images`, in order.
Status RunIconBuild(const std::vector<std::string>& images, const std::string& output);

}  // namespace VardelTool
