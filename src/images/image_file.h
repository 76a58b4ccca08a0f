// File access of the images subsystem. A file is read whole into memory
// and parsed from there, so every parser works on bytes it can bound; only
// regular files are read (a pipe or a device could block or never end).
// Files are written in pieces, so a caller can tell a failed header write
// from a failed body write, as its messages do, and replaced atomically.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "common/atomic_file.h"

namespace VardelImages {

/// The bytes of the regular file at `path`; nullopt when it cannot be opened
/// or read, or `path` is null.
std::optional<std::string> ReadFileBytes(const wchar_t* path);

/// The bytes of a file read by ReadFileBytes, for the parsers.
inline std::span<const std::uint8_t> AsBytes(const std::string& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

/// A file replaced atomically: written in pieces to a temporary beside it
/// and renamed over it by Commit(); a writer that goes without committing
/// leaves the file as it was.
class FileWriter {
  public:
    /// Creates the temporary of the file at `path`; false when it cannot.
    bool Create(const wchar_t* path);
    /// Writes all of `bytes`; false on any failure or short write.
    bool Write(std::span<const std::uint8_t> bytes);
    /// Puts the bytes in place of the file; false when they cannot be.
    bool Commit() { return file_.Commit(); }

  private:
    VardelCommon::AtomicFileWriter file_;
};

}  // namespace VardelImages
