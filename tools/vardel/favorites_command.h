// The favorites command group, shared by its two source files: the options
// every favorites sub-command fills, and the runs of the sub-commands that
// read (favorites_command.cpp) and change (favorites_changes.cpp) them.
#pragma once

#include <string>
#include <vector>

#include "options.h"
#include "store_folder.h"
#include "tool_result.h"

namespace VardelTool {

struct FavoritesOptions {
    CatalogOptions catalog;
    std::string store;
    std::vector<std::string> paths;  ///< The favorites the command names.
    std::string path;                ///< The one favorite the command names.
    std::string target;              ///< A family, a destination folder or a new name.
    std::string folder;              ///< Where add puts the favorite.
    std::string member;
    std::string name;
    std::string use;
    std::string remove;
    bool keepContents = false;
    bool json = false;
};

/// The store folder checked for `use` and a favorites context over it.
Result<StoreSession> OpenFavorites(const FavoritesOptions& options, StoreUse use);

Status RunFavoritesAdd(const FavoritesOptions& options);
Status RunFavoritesMkdir(const FavoritesOptions& options);
Status RunFavoritesRename(const FavoritesOptions& options);
Status RunFavoritesRemove(const FavoritesOptions& options);
Status RunFavoritesCopy(const FavoritesOptions& options);
Status RunFavoritesPaste(const FavoritesOptions& options);

}  // namespace VardelTool
