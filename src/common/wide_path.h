// File-system paths from and to the library's wide strings. The bytes of a
// path are its UTF-8 form, whatever the process's locale says, so a name
// reaches the disk exactly as the caller wrote it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "common/utf8.h"

namespace VardelCommon {

inline std::filesystem::path ToPath(std::wstring_view text) {
    return std::filesystem::path(ToUtf8(text));
}

inline std::wstring FromPath(const std::filesystem::path& path) {
    return FromUtf8(path.native());
}

}  // namespace VardelCommon
