#include "source/source_file.h"

#include <system_error>

#include "common/atomic_file.h"

namespace VardelCatalog {

bool ReadSourceFile(const std::filesystem::path& file, std::string& bytes, SourceError& error) {
    std::error_code ignored;
    if (std::filesystem::is_regular_file(file, ignored) && VardelCommon::ReadWholeFile(file, bytes))
        return true;
    error = {file, 0, {}, "cannot be read"};
    return false;
}

}  // namespace VardelCatalog
