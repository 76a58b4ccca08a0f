// The pass over the library folders of a build: descriptions first, so a
// duplicate library is refused before any family is read, then the
// families in path order, read ahead on a worker while the last one is
// stored.
#include "import/source_walk.h"

#include <map>
#include <system_error>

#include "common/utf8.h"
#include "import/family_read_ahead.h"
#include "source/source_readers.h"
#include "store/catalog_writer.h"

namespace VardelCatalog {
namespace {

std::string Name(const std::filesystem::path& path) {
    return path.generic_string();
}

// "<second>: <what> is already used by <first>".
std::string Duplicate(const std::filesystem::path& first, const std::filesystem::path& second,
                      const std::string& what) {
    return Name(second) + ": " + what + " is already used by " + Name(first);
}

bool IsFolder(const std::filesystem::path& path) {
    std::error_code ignored;
    return std::filesystem::is_directory(path, ignored);
}

}  // namespace

bool SourceWalk::Scan(const std::vector<std::filesystem::path>& folders, bool estimateMembers,
                      std::string& error) {
    if (folders.empty()) {
        error = "no library folder given";
        return false;
    }
    std::map<std::wstring, std::filesystem::path> names;
    std::map<Guid, std::filesystem::path> ids;
    for (const std::filesystem::path& path : folders) {
        if (!IsFolder(path)) {
            error = Name(path) + ": library folder not found";
            return false;
        }
        Folder folder;
        SourceError sourceError;
        if (!ReadLibraryDescription(path, folder.library, sourceError)) {
            error = sourceError.ToString();
            return false;
        }
        const LibrarySource& library = folder.library;
        if (const auto [at, added] = names.emplace(library.name, path); !added) {
            error = Duplicate(at->second, path,
                              "library name \"" + VardelCommon::ToUtf8(library.name) + "\"");
            return false;
        }
        if (const auto [at, added] = ids.emplace(library.id, path); !added) {
            error = Duplicate(at->second, path,
                              "library id " + VardelCommon::ToUtf8(library.id.ToString()));
            return false;
        }
        folder.families = ListFamilyFiles(path);
        if (estimateMembers) {
            for (const std::filesystem::path& file : folder.families) {
                progress_.membersTotal += EstimateMemberCount(file);
            }
        }
        progress_.filesTotal += 1 + folder.families.size();
        folders_.push_back(std::move(folder));
    }
    return true;
}

bool SourceWalk::Walk(CatalogWriter* writer, const ImportProgressCallback& progress,
                      ImportResult& result) {
    for (const Folder& folder : folders_) {
        if (!WalkLibrary(folder, writer, progress, result)) {
            return false;
        }
    }
    return true;
}

bool SourceWalk::WalkLibrary(const Folder& folder, CatalogWriter* writer,
                             const ImportProgressCallback& progress, ImportResult& result) {
    if (writer != nullptr) {
        writer->AddLibrary(folder.library);
    }
    ++result.libraries;
    if (!Report(progress, 0, result)) {
        return false;
    }
    const LibraryIndex index(folder.library);
    FamilyReadAhead reader(folder.families, index);
    std::map<Guid, std::filesystem::path> ids;
    for (const std::filesystem::path& file : folder.families) {
        const FamilyRead read = reader.Next();
        if (!read.ok) {
            result.error = read.error.ToString();
            return false;
        }
        const FamilySource& family = read.family;
        if (const auto [at, added] = ids.emplace(family.id, file); !added) {
            result.error = Duplicate(at->second, file,
                                     "family id " + VardelCommon::ToUtf8(family.id.ToString()));
            return false;
        }
        if (writer != nullptr) {
            writer->AddFamily(family);
        }
        ++result.families;
        result.members += family.members.size();
        if (!Report(progress, family.members.size(), result)) {
            return false;
        }
    }
    return true;
}

// Counts one more file done; false, with the reason, when the caller cancels.
bool SourceWalk::Report(const ImportProgressCallback& progress, std::size_t members,
                        ImportResult& result) {
    ++progress_.filesDone;
    progress_.membersDone += members;
    if (progress && !progress(progress_)) {
        result.error = "build cancelled";
        return false;
    }
    return true;
}

}  // namespace VardelCatalog
