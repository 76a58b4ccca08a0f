#include "stores/store_file.h"

#include <chrono>
#include <string_view>
#include <system_error>

#include "common/atomic_file.h"
#include "common/wide_path.h"

namespace VardelStores {

std::filesystem::path StoreFilePath(const std::wstring& storagePath, const wchar_t* fileName) {
    const std::filesystem::path folder = VardelCommon::ToPath(storagePath);
    std::error_code error;
    if (storagePath.empty() || !std::filesystem::is_directory(folder, error)) {
        return {};
    }
    return folder / VardelCommon::ToPath(fileName);
}

std::int64_t SecondsNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

bool ReadStoreFile(const std::filesystem::path& path, std::string& bytes) {
    if (path.empty()) {
        return false;
    }
    VardelCommon::RemoveStaleTemporaries(path);
    return VardelCommon::ReadWholeFile(path, bytes);
}

bool WriteStoreFile(const std::filesystem::path& path, const VardelCommon::ArchiveWriter& writer) {
    if (path.empty()) {
        return false;
    }
    const std::vector<std::uint8_t>& bytes = writer.Bytes();
    const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return VardelCommon::WriteFileAtomically(path, view);
}

}  // namespace VardelStores
