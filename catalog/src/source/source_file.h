// Reading the bytes of one source file, with the error a reader reports when
// the file cannot be read.
#pragma once

#include <filesystem>
#include <string>

#include "source/source_error.h"

namespace VardelCatalog {

/// The whole content of `file` in `bytes`; false with an error naming the
/// file when it cannot be read.
bool ReadSourceFile(const std::filesystem::path& file, std::string& bytes, SourceError& error);

}  // namespace VardelCatalog
