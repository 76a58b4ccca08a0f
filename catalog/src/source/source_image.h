// An image file that a library source names: a category's icon or a
// family's thumbnail. The path is relative (to the library folder or to the
// family file's folder, as the caller says), `\` counts as `/`, and the
// file must lie inside the library folder once symbolic links are followed.
// The file may hold at most kMaxImageBytes and must begin as a PNG, BMP or
// ICO file does; the bytes are kept as read, and the kind found from them
// (not from the file's name) gives the media type the server answers with.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "source/library_source.h"

namespace VardelCatalog {

/// The largest image file a source may name: thumbnails are small, and
/// every byte is read into memory and served in each answer that asks.
inline constexpr std::size_t kMaxImageBytes = 1024 * 1024;

/// "image/png", "image/bmp" or "image/x-icon" when `bytes` begin as such a
/// file does; empty otherwise.
std::string_view ImageMediaType(std::string_view bytes);

/// Reads the image that `path` names relative to `base`: true with `image`
/// filled, or with `image` empty when `path` is empty; false with `problem`
/// naming the path or the file and what is wrong.
bool ReadSourceImage(const std::filesystem::path& libraryFolder, const std::filesystem::path& base,
                     std::wstring_view path, ImageSource& image, std::string& problem);

}  // namespace VardelCatalog
