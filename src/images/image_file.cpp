#include "images/image_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

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

FileWriter::~FileWriter() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool FileWriter::Create(const wchar_t* path) {
    if (path == nullptr || fd_ >= 0) {
        return false;
    }
    try {
        fd_ = ::open(VardelCommon::ToPath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC,
                     0666);
    } catch (const std::exception&) {
        fd_ = -1;
    }
    return fd_ >= 0;
}

bool FileWriter::Write(std::span<const std::uint8_t> bytes) {
    while (fd_ >= 0 && !bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return fd_ >= 0;
}

}  // namespace VardelImages
