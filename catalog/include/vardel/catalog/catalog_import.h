// Building a catalogue file from library folders (the source format is
// documented in docs/catalog-format.md). A build is all or nothing: the file
// is written beside the target under a temporary name and renamed over the
// target only when every folder was read and stored, so a failed or
// cancelled build leaves no new file and the previous one untouched.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "vardel/export.h"

namespace VardelCatalog {

/// How far a build is. The member total is counted from the sources before
/// the build starts; files are library descriptions and family files.
struct ImportProgress {
    std::size_t filesDone = 0;
    std::size_t filesTotal = 0;
    std::size_t membersDone = 0;
    std::size_t membersTotal = 0;
};

/// Called after each file; returning false cancels the build.
using ImportProgressCallback = std::function<bool(const ImportProgress&)>;

struct ImportResult {
    bool ok = false;
    /// Why the build failed: the file, the line or element, and what is
    /// wrong (UTF-8). Empty on success.
    std::string error;
    std::size_t libraries = 0;
    std::size_t families = 0;
    std::size_t members = 0;
};

/// Reads every folder of `sources` and writes the catalogue file `output`.
VARDEL_API ImportResult ImportCatalog(const std::vector<std::filesystem::path>& sources,
                                      const std::filesystem::path& output,
                                      const ImportProgressCallback& progress = {});

/// Reads and checks every folder of `sources` as ImportCatalog does, and
/// writes nothing.
VARDEL_API ImportResult CheckCatalogSources(const std::vector<std::filesystem::path>& sources,
                                            const ImportProgressCallback& progress = {});

}  // namespace VardelCatalog
