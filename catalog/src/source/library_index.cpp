#include "source/library_index.h"

#include <algorithm>
#include <system_error>

namespace VardelCatalog {

LibraryIndex::LibraryIndex(const LibrarySource& library) : library_(library) {
    for (const ParameterSource& parameter : library.parameters)
        parameters_.emplace(parameter.id, &parameter);
    AddCategories(library.categories, {});
}

void LibraryIndex::AddCategories(const std::vector<CategorySource>& categories,
                                 const std::vector<Guid>& inherited) {
    for (const CategorySource& category : categories) {
        CategoryEntry entry{&category, inherited};
        entry.parameters.insert(entry.parameters.end(), category.parameters.begin(),
                                category.parameters.end());
        std::sort(entry.parameters.begin(), entry.parameters.end());
        AddCategories(category.children, entry.parameters);
        categories_.emplace(category.id, std::move(entry));
    }
}

const ParameterSource* LibraryIndex::FindParameter(const Guid& id) const {
    const auto found = parameters_.find(id);
    return found == parameters_.end() ? nullptr : found->second;
}

const CategorySource* LibraryIndex::FindCategory(const Guid& id) const {
    const auto found = categories_.find(id);
    return found == categories_.end() ? nullptr : found->second.category;
}

const Guid* LibraryIndex::HolderOf(const Guid& parameter, std::span<const Guid> categories) const {
    for (const Guid& category : categories) {
        const auto found = categories_.find(category);
        if (found != categories_.end() &&
            std::binary_search(found->second.parameters.begin(), found->second.parameters.end(),
                               parameter)) {
            return &category;
        }
    }
    return nullptr;
}

std::vector<std::filesystem::path> LibraryIndex::FilesStartingWith(
    const std::filesystem::path& folder, std::string_view prefix) const {
    const std::lock_guard lock(foldersMutex_);
    const auto [entry, added] = folders_.try_emplace(folder.string());
    std::vector<std::string>& names = entry->second;
    if (added) {
        std::error_code error;
        for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            if (it->is_regular_file(error))
                names.push_back(it->path().filename().string());
        }
        std::sort(names.begin(), names.end());
    }
    std::vector<std::filesystem::path> files;
    for (auto it = std::lower_bound(names.begin(), names.end(), prefix);
         it != names.end() && it->starts_with(prefix); ++it) {
        files.push_back(folder / *it);
    }
    return files;
}

}  // namespace VardelCatalog
