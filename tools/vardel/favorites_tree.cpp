// Favorites levels read through the browsing face of a favorites context:
// folders and links answer the folder property reader, families and members
// the item reader, each once per level.
#include "favorites_tree.h"

#include "category_lookup.h"
#include "name_match.h"
#include "output.h"
#include "properties.h"
#include "vardel/browsing.h"

namespace VardelTool {
namespace {

FavoriteKind KindOf(const Vardel::CBrowseId& id) {
    Vardel::EBrowseItemType type = Vardel::BrowseFavoriteFolder;
    Vardel::GetBrowseIdType(id, type);
    switch (type) {
        case Vardel::BrowseCategory:
            return FavoriteKind::Link;
        case Vardel::BrowseFamily:
            return FavoriteKind::Family;
        case Vardel::BrowseFamilyMember:
            return FavoriteKind::Member;
        default:
            return FavoriteKind::Folder;
    }
}

Result<std::vector<FavoriteNode>> Named(const std::vector<Vardel::CBrowseId>& ids,
                                        Result<std::vector<std::wstring>> names) {
    if (!names.ok()) {
        return names.failure();
    }
    std::vector<FavoriteNode> nodes;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        nodes.push_back({ids[i], KindOf(ids[i]), names.value()[i], {}});
    }
    return nodes;
}

// What tells two favorites apart when their names clash: members of one
// family share the family's id.
std::wstring Identity(const Vardel::CBrowseId& id) {
    std::wstring member;
    Vardel::GetMemberID(id, member);
    return member.empty() ? id.GetInternalName() : id.GetInternalName() + L"#" + member;
}

bool HasChildren(FavoriteKind kind) {
    return kind == FavoriteKind::Set || kind == FavoriteKind::Folder;
}

}  // namespace

const char* KindName(FavoriteKind kind) {
    switch (kind) {
        case FavoriteKind::Set:
            return "set";
        case FavoriteKind::Folder:
            return "folder";
        case FavoriteKind::Link:
            return "link";
        case FavoriteKind::Family:
            return "family";
        case FavoriteKind::Member:
            return "member";
    }
    return "";
}

Result<std::vector<FavoriteNode>> ReadFavoriteSets(const Vardel::CContext& context) {
    std::vector<Vardel::CBrowseId> roots;
    if (Status failed =
            CheckCall(Vardel::GetFoldersRoots(&context, roots), "listing the favorites sets")) {
        return *failed;
    }
    Result<std::vector<FavoriteNode>> sets = Named(roots, FolderNames(context, roots));
    if (sets.ok()) {
        for (FavoriteNode& set : sets.value()) {
            set.kind = FavoriteKind::Set;
        }
    }
    return sets;
}

Result<std::vector<FavoriteNode>> ReadFavoriteLevel(const Vardel::CContext& context,
                                                    const FavoriteNode& parent) {
    std::vector<Vardel::CBrowseId> folders;
    std::vector<Vardel::CBrowseId> items;
    if (Status failed = CheckCall(Vardel::GetSubFolders(&context, parent.id, folders),
                                  "listing favorites folders")) {
        return *failed;
    }
    if (Status failed =
            CheckCall(Vardel::GetChildItems(&context, parent.id, items), "listing favorites")) {
        return *failed;
    }
    Result<std::vector<FavoriteNode>> level = Named(folders, FolderNames(context, folders));
    Result<std::vector<FavoriteNode>> favorites = Named(items, ItemNames(context, items));
    if (!level.ok() || !favorites.ok()) {
        return level.ok() ? favorites.failure() : level.failure();
    }
    level.value().insert(level.value().end(), favorites.value().begin(), favorites.value().end());
    return level;
}

Result<FavoriteNode> FindFavorite(const Vardel::CContext& context, const std::string& path) {
    const std::vector<std::string> parts = SplitPath(path);
    if (parts.empty()) {
        return UsageError("empty favorites path");
    }
    Result<std::vector<FavoriteNode>> level = ReadFavoriteSets(context);
    for (std::size_t i = 0;; ++i) {
        if (!level.ok()) {
            return level.failure();
        }
        std::vector<NamedNode> names;
        for (const FavoriteNode& node : level.value()) {
            names.push_back({node.name, Identity(node.id)});
        }
        Result<std::size_t> picked =
            PickByName(names, Wide(parts[i]), i == 0 ? "favorites set" : "favorite");
        if (!picked.ok()) {
            return picked.failure();
        }
        FavoriteNode found = level.value()[picked.value()];
        if (i + 1 == parts.size()) {
            return found;
        }
        if (!HasChildren(found.kind)) {
            return Refused("favorite " + Quoted(parts[i]) + " is a " + KindName(found.kind) +
                           ", not a folder");
        }
        level = ReadFavoriteLevel(context, found);
    }
}

Status ReadFavoritesTree(const Vardel::CContext& context, std::vector<FavoriteNode>& nodes) {
    for (FavoriteNode& node : nodes) {
        if (!HasChildren(node.kind)) {
            continue;
        }
        Result<std::vector<FavoriteNode>> children = ReadFavoriteLevel(context, node);
        if (!children.ok()) {
            return children.failure();
        }
        node.children = std::move(children.value());
        if (Status failed = ReadFavoritesTree(context, node.children)) {
            return failed;
        }
    }
    return std::nullopt;
}

}  // namespace VardelTool
