// vardel favorites add|mkdir|rename|remove|copy|paste: changes of the
// favorites, each one edit of the library's favorites editor on the
// favorites the paths name. Every change names its target by a path of
// display names (favorites_tree.h). The library saves Favorites.xml
// atomically after each change; a paste that adds nothing says so.
#include <iostream>
#include <map>

#include "category_lookup.h"
#include "common/case_fold.h"
#include "family_cells.h"
#include "family_document.h"
#include "family_lookup.h"
#include "favorites_command.h"
#include "favorites_edit.h"
#include "favorites_tree.h"
#include "output.h"
#include "properties.h"
#include "vardel/browsing.h"

namespace VardelTool {
namespace {

constexpr wchar_t kDefaultSet[] = L"Favorites";

// The path of the parent of `path`, "/"-separated.
std::string ParentOf(const std::string& path) {
    std::vector<std::string> parts = SplitPath(path);
    if (!parts.empty()) {
        parts.pop_back();
    }
    std::string parent;
    for (const std::string& part : parts) {
        parent += (parent.empty() ? "" : "/") + part;
    }
    return parent;
}

// Makes the set `name` when the store has no set yet: a first change needs
// one to go into.
Status EnsureSet(const Vardel::CContext& context, const std::wstring& name) {
    Result<std::vector<FavoriteNode>> sets = ReadFavoriteSets(context);
    if (!sets.ok()) {
        return sets.failure();
    }
    if (!sets.value().empty()) {
        return std::nullopt;
    }
    EditText edit;
    edit.Add(L"Favorites", L"Name", name.c_str());
    Result<bool> made = ApplyEdit(context, {Vardel::CBrowseId()}, edit, Vardel::FavoriteEdit,
                                  "creating a favorites set");
    return made.ok() ? std::nullopt : Status(made.failure());
}

// The set `path` begins with, or the active set when `path` is empty.
Result<FavoriteNode> FindSet(const Vardel::CContext& context,
                             const std::vector<std::string>& parts) {
    if (!parts.empty()) {
        return FindFavorite(context, parts.front());
    }
    Result<std::vector<FavoriteNode>> sets = ReadFavoriteSets(context);
    if (!sets.ok()) {
        return sets.failure();
    }
    if (sets.value().empty()) {
        return Refused("the favorites have no set");
    }
    return sets.value().front();
}

// The set or folder `path` names; the active set when `path` is empty.
Result<FavoriteNode> FindFolder(const Vardel::CContext& context, const std::string& path) {
    const std::vector<std::string> parts = SplitPath(path);
    if (Status failed = EnsureSet(context, parts.empty() ? kDefaultSet : Wide(parts.front()))) {
        return *failed;
    }
    Result<FavoriteNode> folder =
        parts.size() > 1 ? FindFavorite(context, path) : FindSet(context, parts);
    if (folder.ok() && folder.value().kind != FavoriteKind::Set &&
        folder.value().kind != FavoriteKind::Folder) {
        return Refused("favorite " + Quoted(path) + " is a " + KindName(folder.value().kind) +
                       ", not a folder");
    }
    return folder;
}

// The display name of a new member favorite: the family's name and the
// member's first value, usually its size.
Result<std::wstring> MemberName(const Session& session, const std::wstring& library,
                                const std::wstring& family, const std::wstring& familyName,
                                const std::wstring& member) {
    Result<FamilyDocument> document =
        OpenCatalogFamily(session, library, family, FamilyTexts::DocumentOnly);
    if (!document.ok()) {
        return document.failure();
    }
    CEncapFamilyTable* table = document.value().family->GetEncapFamilyTable();
    if (table == nullptr || table->GetFamilyRowByID(member) == nullptr) {
        return Refused("family " + Quoted(Utf8(familyName)) + " has no member " +
                       Quoted(Utf8(member)));
    }
    const std::vector<CEncapFamilyColumn*> columns = TableColumns(*table);
    if (columns.empty()) {
        return familyName;
    }
    const CellValue first = EvaluateCell(*table, member, columns.front()->GetColumnID());
    return first.text.empty() ? familyName : familyName + L" " + first.text;
}

// The edit element that stands for a favorite of `kind`.
const wchar_t* ElementOf(FavoriteKind kind) {
    switch (kind) {
        case FavoriteKind::Set:
            return L"Favorites";
        case FavoriteKind::Folder:
            return L"Folder";
        case FavoriteKind::Link:
            return L"Link";
        default:
            return L"Item";
    }
}

// A failure when `parent` already holds a favorite named `name` (any case).
Status RefuseExisting(const Vardel::CContext& context, const FavoriteNode& parent,
                      const std::string& name) {
    Result<std::vector<FavoriteNode>> level = ReadFavoriteLevel(context, parent);
    if (!level.ok()) {
        return level.failure();
    }
    for (const FavoriteNode& node : level.value()) {
        if (VardelCommon::EqualsNoCase(node.name, Wide(name))) {
            return Refused(Quoted(Utf8(parent.name)) + " already holds " + Quoted(name));
        }
    }
    return std::nullopt;
}

// What a new family or member favorite records.
struct NewFavorite {
    std::wstring family;
    std::wstring library;  ///< The id of the library of the family's chosen copy.
    std::wstring name;
};

Result<NewFavorite> DescribeFavorite(const Session& session, const FavoritesOptions& options) {
    Result<Vardel::CContext> context = session.MakeContext(Vardel::LibraryBrowsing, nullptr);
    if (!context.ok()) {
        return context.failure();
    }
    Result<Vardel::CBrowseId> family = FindFamily(context.value(), options.target);
    if (!family.ok()) {
        return family.failure();
    }
    Result<std::vector<std::wstring>> names = ItemNames(context.value(), {family.value()});
    std::wstring library;
    if (!names.ok()) {
        return names.failure();
    }
    if (Status failed = CheckCall(Vardel::GetLibrary(&context.value(), family.value(), library),
                                  "reading the library of the family")) {
        return *failed;
    }
    const VardelCatalog::LibrarySummary* summary = session.FindLibrary(library);
    if (summary == nullptr) {
        return Refused("no library " + Quoted(Utf8(library)));
    }
    NewFavorite favorite{family.value().GetInternalName(), summary->guid.ToString(),
                         names.value().front()};
    if (!options.member.empty()) {
        Result<std::wstring> name =
            MemberName(session, library, favorite.family, favorite.name, Wide(options.member));
        if (!name.ok()) {
            return name.failure();
        }
        favorite.name = name.value();
    }
    if (!options.name.empty()) {
        favorite.name = Wide(options.name);
    }
    return favorite;
}

std::string Favorites(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " favorite" : " favorites");
}

}  // namespace

Status RunFavoritesAdd(const FavoritesOptions& options) {
    Result<StoreSession> setup = OpenFavorites(options, StoreUse::Write);
    if (!setup.ok()) {
        return setup.failure();
    }
    Result<NewFavorite> favorite = DescribeFavorite(*setup.value().session, options);
    if (!favorite.ok()) {
        return favorite.failure();
    }
    Result<FavoriteNode> folder = FindFolder(setup.value().context, options.folder);
    if (!folder.ok()) {
        return folder.failure();
    }
    const NewFavorite& added = favorite.value();
    EditText edit;
    XMLNode node =
        edit.Add(L"Node", L"NodeId", added.family.c_str(), L"LibraryId", added.library.c_str());
    node.SetProperty(L"DisplayName", added.name);
    node.AddNode(L"Member", nullptr, L"RowID", Wide(options.member).c_str());
    Result<bool> changed = ApplyEdit(setup.value().context, {folder.value().id}, edit,
                                     Vardel::FavoriteEdit, "adding a favorite");
    if (!changed.ok()) {
        return changed.failure();
    }
    std::cout << "added " << Printable(Utf8(added.name)) << " to "
              << Printable(Utf8(folder.value().name)) << '\n';
    return std::nullopt;
}

Status RunFavoritesMkdir(const FavoritesOptions& options) {
    const std::vector<std::string> parts = SplitPath(options.target);
    if (parts.size() < 2) {
        return UsageError("give the folder as SET/.../NAME");
    }
    Result<StoreSession> setup = OpenFavorites(options, StoreUse::Write);
    if (!setup.ok()) {
        return setup.failure();
    }
    const Vardel::CContext& context = setup.value().context;
    Result<FavoriteNode> parent = FindFolder(context, ParentOf(options.target));
    if (!parent.ok()) {
        return parent.failure();
    }
    if (Status clash = RefuseExisting(context, parent.value(), parts.back())) {
        return clash;
    }
    EditText edit;
    edit.Add(L"Folder", L"Name", Wide(parts.back()).c_str());
    Result<bool> changed =
        ApplyEdit(context, {parent.value().id}, edit, Vardel::FavoriteEdit, "creating a folder");
    if (!changed.ok()) {
        return changed.failure();
    }
    std::cout << "created " << Printable(options.target) << '\n';
    return std::nullopt;
}

Status RunFavoritesRename(const FavoritesOptions& options) {
    if (options.target.empty() || options.target.find('/') != std::string::npos) {
        return UsageError("a new name must not be empty or hold \"/\"");
    }
    Result<StoreSession> setup = OpenFavorites(options, StoreUse::Write);
    if (!setup.ok()) {
        return setup.failure();
    }
    const Vardel::CContext& context = setup.value().context;
    Result<FavoriteNode> node = FindFavorite(context, options.path);
    if (!node.ok()) {
        return node.failure();
    }
    if (node.value().kind == FavoriteKind::Set) {
        return Refused("a favorites set cannot be renamed");
    }
    EditText edit;
    edit.Add(ElementOf(node.value().kind), L"NewName", Wide(options.target).c_str());
    Result<bool> changed =
        ApplyEdit(context, {node.value().id}, edit, Vardel::FavoriteRename, "renaming");
    if (!changed.ok()) {
        return changed.failure();
    }
    std::cout << "renamed " << Printable(options.path) << " to " << Printable(options.target)
              << '\n';
    return std::nullopt;
}

Status RunFavoritesRemove(const FavoritesOptions& options) {
    Result<StoreSession> setup = OpenFavorites(options, StoreUse::Write);
    if (!setup.ok()) {
        return setup.failure();
    }
    const Vardel::CContext& context = setup.value().context;
    // One removal per parent: the editor applies a removal in the folder of
    // its first target.
    std::map<std::string, std::vector<FavoriteNode>> byParent;
    for (const std::string& path : options.paths) {
        Result<FavoriteNode> node = FindFavorite(context, path);
        if (!node.ok()) {
            return node.failure();
        }
        byParent[ParentOf(path)].push_back(node.value());
    }
    const auto operation =
        options.keepContents ? Vardel::FavoriteRemoveKeepContents : Vardel::FavoriteRemove;
    for (const auto& [parent, nodes] : byParent) {
        EditText edit;
        std::vector<Vardel::CBrowseId> ids;
        for (const FavoriteNode& node : nodes) {
            edit.Add(ElementOf(node.kind));
            ids.push_back(node.id);
        }
        Result<bool> changed = ApplyEdit(context, ids, edit, operation, "removing");
        if (!changed.ok()) {
            return changed.failure();
        }
    }
    std::cout << "removed " << Favorites(options.paths.size()) << '\n';
    return std::nullopt;
}

Status RunFavoritesCopy(const FavoritesOptions& options) {
    for (const std::string& path : options.paths) {
        if (path.find_first_of("\r\n") != std::string::npos) {
            return UsageError("a favorites path must not hold a line break");
        }
    }
    Result<StoreSession> setup = OpenFavorites(options, StoreUse::Write);
    if (!setup.ok()) {
        return setup.failure();
    }
    for (const std::string& path : options.paths) {
        Result<FavoriteNode> node = FindFavorite(setup.value().context, path);
        if (!node.ok()) {
            return node.failure();
        }
    }
    if (Status failed = WriteClipboard(options.store, options.paths)) {
        return failed;
    }
    std::cout << "copied " << Favorites(options.paths.size()) << '\n';
    return std::nullopt;
}

Status RunFavoritesPaste(const FavoritesOptions& options) {
    Result<StoreSession> setup = OpenFavorites(options, StoreUse::Write);
    if (!setup.ok()) {
        return setup.failure();
    }
    const Vardel::CContext& context = setup.value().context;
    Result<std::vector<std::string>> copied = ReadClipboard(options.store);
    if (!copied.ok()) {
        return copied.failure();
    }
    std::vector<Vardel::CBrowseId> ids;
    for (const std::string& path : copied.value()) {
        Result<FavoriteNode> node = FindFavorite(context, path);
        if (!node.ok()) {
            return node.failure();
        }
        ids.push_back(node.value().id);
    }
    Result<FavoriteNode> folder = FindFolder(context, options.target);
    if (!folder.ok()) {
        return folder.failure();
    }
    if (Status failed = CheckCall(Vardel::SaveCopiedFavorites(&context, ids), "copying")) {
        return failed;
    }
    Result<bool> changed =
        ApplyEdit(context, {folder.value().id}, EditText(), Vardel::FavoritePaste, "pasting");
    if (!changed.ok()) {
        return changed.failure();
    }
    std::cout << (changed.value() ? "pasted into " : "nothing pasted (the names are already in ")
              << Printable(Utf8(folder.value().name)) << (changed.value() ? "\n" : ")\n");
    return std::nullopt;
}

}  // namespace VardelTool
