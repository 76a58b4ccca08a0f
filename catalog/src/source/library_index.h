// Lookups over one library description that every family of the library
// needs, built once after library.xml is read instead of once per family:
// categories and parameters by id, each category's ancestors and the
// parameters it inherits, and the listings of the folders that hold family
// documents (where their strings documents are found).
//
// The index refers to the library it was built from, which must outlive it
// unchanged. Its const functions may be called from several threads.
#pragma once

#include <filesystem>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "source/library_source.h"

namespace VardelCatalog {

class LibraryIndex {
  public:
    explicit LibraryIndex(const LibrarySource& library);
    LibraryIndex(const LibraryIndex&) = delete;
    LibraryIndex& operator=(const LibraryIndex&) = delete;

    const LibrarySource& library() const { return library_; }

    /// Null when the library defines no such parameter or category.
    const ParameterSource* FindParameter(const Guid& id) const;
    const CategorySource* FindCategory(const Guid& id) const;

    /// The first of `categories` that has `parameter`, as its own or from
    /// an ancestor; null when none has it.
    const Guid* HolderOf(const Guid& parameter, std::span<const Guid> categories) const;

    /// The regular files of `folder` whose names start with `prefix`, sorted
    /// by name (byte order). The folder is listed on the first call for it
    /// and the listing kept, so a folder of many family documents is read
    /// once, not once per family.
    std::vector<std::filesystem::path> FilesStartingWith(const std::filesystem::path& folder,
                                                         std::string_view prefix) const;

  private:
    struct CategoryEntry {
        const CategorySource* category = nullptr;
        std::vector<Guid> parameters;  // its own and its ancestors', sorted
    };

    void AddCategories(const std::vector<CategorySource>& categories,
                       const std::vector<Guid>& inherited);

    const LibrarySource& library_;
    std::unordered_map<Guid, const ParameterSource*, GuidHash> parameters_;
    std::unordered_map<Guid, CategoryEntry, GuidHash> categories_;

    mutable std::mutex foldersMutex_;
    mutable std::unordered_map<std::string, std::vector<std::string>> folders_;
};

}  // namespace VardelCatalog
