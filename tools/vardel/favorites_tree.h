// The favorites of a favorites context as a user names them: a path of
// display names from a favorites set, "/"-separated ("Favorites/Screws/
// Hexagon head screw ISO 4017"), each name matched as name_match.h
// describes. A level holds the set's or folder's links and folders, then
// its families and members. Links to library categories are shown, never
// walked into: their contents are the library's, not the user's.
#pragma once

#include <string>
#include <vector>

#include "tool_result.h"
#include "vardel/browse_id.h"
#include "vardel/context.h"

namespace VardelTool {

enum class FavoriteKind { Set, Folder, Link, Family, Member };

struct FavoriteNode {
    Vardel::CBrowseId id;
    FavoriteKind kind = FavoriteKind::Folder;
    std::wstring name;
    /// Read only by ReadFavoritesTree, and only for sets and folders.
    std::vector<FavoriteNode> children;
};

/// The text of `kind`: "set", "folder", "link", "family" or "member".
const char* KindName(FavoriteKind kind);

/// The favorites sets, the active one first.
Result<std::vector<FavoriteNode>> ReadFavoriteSets(const Vardel::CContext& context);
/// The links, folders, families and members directly in a set or folder.
Result<std::vector<FavoriteNode>> ReadFavoriteLevel(const Vardel::CContext& context,
                                                    const FavoriteNode& parent);
/// The favorite `path` names.
Result<FavoriteNode> FindFavorite(const Vardel::CContext& context, const std::string& path);
/// Fills the children of `nodes` (sets and folders), level by level.
Status ReadFavoritesTree(const Vardel::CContext& context, std::vector<FavoriteNode>& nodes);

}  // namespace VardelTool
