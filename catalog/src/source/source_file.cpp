#include "source/source_file.h"

#include "common/atomic_file.h"

namespace VardelCatalog {

bool ReadSourceFile(const std::filesystem::path& file, std::string& bytes, SourceError& error) {
    if (VardelCommon::ReadRegularFile(file, bytes))
        return true;
    error = {file, 0, {}, "cannot be read"};
    return false;
}

}  // namespace VardelCatalog
