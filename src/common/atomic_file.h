// Whole-file replacement that never leaves a half-written target: the bytes
// go to a temporary file "<target name>.~<GUID>.tmp" in the target's folder,
// are flushed to the disk and then renamed over the target. Every store of
// the library saves this way. A writer holds an exclusive flock() on its
// temporary from creation to rename, so a temporary nobody holds a lock on
// was left by a save whose process died, and may be removed.
#pragma once

#include <filesystem>
#include <string_view>

namespace VardelCommon {

/// Writes `bytes` as the whole content of `target` through an
/// AtomicFileWriter. On failure the previous file (if any) is untouched, the
/// temporary file is removed and the result is false.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

/// A replacement of `target` written in pieces: the pieces go to a locked
/// temporary, and Commit() renames it over the target. A writer that goes
/// without committing removes its temporary and leaves the target as it was.
/// A target that is a link to a file stays a link, the file it names being
/// replaced; a target that exists but is no regular file (a device, a pipe)
/// is written in place, as it cannot be replaced.
class AtomicFileWriter {
  public:
    AtomicFileWriter() = default;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter();

    /// Creates the temporary of `target` (removing stale ones first); false
    /// when it cannot be made or the writer is in use.
    bool Open(const std::filesystem::path& target);
    /// Appends `bytes`; false when the writer is not open or a write fails.
    bool Write(std::string_view bytes);
    /// Flushes the bytes to the disk and renames them over the target;
    /// false (the temporary removed) on failure.
    bool Commit();

  private:
    void Discard();

    int fd_ = -1;
    bool inPlace_ = false;
    std::filesystem::path target_;
    std::string temp_;
};

/// The whole content of `path` in `bytes`; false when it cannot be read.
bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes);

/// ReadWholeFile for a regular file only: a folder, a pipe or a device is
/// refused without waiting on it (a pipe would block the reader).
bool ReadRegularFile(const std::filesystem::path& path, std::string& bytes);

/// Removes the temporaries that saves of `target` left behind when their
/// process died, without touching a save in progress in another process
/// (a live save holds a lock on its temporary). Stores call it when they
/// open their file; WriteFileAtomically calls it before every save.
void RemoveStaleTemporaries(const std::filesystem::path& target);

}  // namespace VardelCommon
