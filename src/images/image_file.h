// File access of the images subsystem. A file is read whole into memory
// and parsed from there, so every parser works on bytes it can bound; only
// regular files are read (a pipe or a device could block or never end).
// Files are written in pieces, so a caller can tell a failed header write
// from a failed body write, as its messages do.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace VardelImages {

/// The bytes of the regular file at `path`; nullopt when it cannot be opened
/// or read, or `path` is null.
std::optional<std::string> ReadFileBytes(const wchar_t* path);

/// The bytes of a file read by ReadFileBytes, for the parsers.
inline std::span<const std::uint8_t> AsBytes(const std::string& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

/// A file created (or emptied) for writing; closed when the writer goes.
class FileWriter {
  public:
    FileWriter() = default;
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;
    ~FileWriter();

    /// Creates or truncates the file at `path`; false when it cannot.
    bool Create(const wchar_t* path);
    /// Writes all of `bytes`; false on any failure or short write.
    bool Write(std::span<const std::uint8_t> bytes);

  private:
    int fd_ = -1;
};

}  // namespace VardelImages
