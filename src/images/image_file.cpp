#include "images/image_file.h"

#include "common/atomic_file.h"
#include "common/wide_path.h"

namespace VardelImages {

std::optional<std::string> ReadFileBytes(const wchar_t* path) {
    if (path == nullptr) {
        return std::nullopt;
    }
    try {
        std::string bytes;
        if (!VardelCommon::ReadRegularFile(VardelCommon::ToPath(path), bytes)) {
            return std::nullopt;
        }
        return bytes;
    } catch (const std::exception&) {
        // A file too large to hold in memory cannot be read.
        return std::nullopt;
    }
}

bool FileWriter::Create(const wchar_t* path) {
    if (path == nullptr) {
        return false;
    }
    try {
        return file_.Open(VardelCommon::ToPath(path));
    } catch (const std::exception&) {
        return false;
    }
}

bool FileWriter::Write(std::span<const std::uint8_t> bytes) {
    return file_.Write({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

}  // namespace VardelImages
