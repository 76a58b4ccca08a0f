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

/// Writes `bytes` as the whole content of `target`. On failure the previous
/// file (if any) is untouched, the temporary file is removed and the result
/// is false.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

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
