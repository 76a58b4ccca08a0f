// vardel favorites: the user's favorites in --store, read through a
// favorites context (list, sets) and changed with the library's favorites
// editing calls (favorites_changes.cpp). A store folder without
// Favorites.xml starts empty; the first change creates the file.
#include <iostream>
#include <memory>

#include "commands.h"
#include "favorites_command.h"
#include "favorites_edit.h"
#include "favorites_tree.h"
#include "output.h"

namespace VardelTool {
namespace {

Json ToJson(const FavoriteNode& node) {
    Json json = {{"name", Utf8(node.name)}, {"kind", KindName(node.kind)}};
    std::wstring member;
    Vardel::GetMemberID(node.id, member);
    if (node.kind != FavoriteKind::Set && node.kind != FavoriteKind::Folder) {
        json["id"] = Utf8(node.id.GetInternalName());
    }
    if (!member.empty()) {
        json["member"] = Utf8(member);
    }
    if (node.kind == FavoriteKind::Set || node.kind == FavoriteKind::Folder) {
        json["children"] = Json::array();
        for (const FavoriteNode& child : node.children) {
            json["children"].push_back(ToJson(child));
        }
    }
    return json;
}

void AddRows(const std::vector<FavoriteNode>& nodes, std::size_t depth, TextTable& table) {
    for (const FavoriteNode& node : nodes) {
        const bool folder = node.kind == FavoriteKind::Set || node.kind == FavoriteKind::Folder;
        table.AddRow({std::string(depth * 2, ' ') + Utf8(node.name) + (folder ? "/" : ""),
                      KindName(node.kind)});
        AddRows(node.children, depth + 1, table);
    }
}

Status RunList(const FavoritesOptions& options) {
    Result<StoreSession> setup = OpenFavorites(options, StoreUse::Read);
    if (!setup.ok()) {
        return setup.failure();
    }
    const Vardel::CContext& context = setup.value().context;
    Result<std::vector<FavoriteNode>> start = ReadFavoriteSets(context);
    if (!options.path.empty()) {
        Result<FavoriteNode> node = FindFavorite(context, options.path);
        start = node.ok() ? Result<std::vector<FavoriteNode>>(std::vector{node.value()})
                          : Result<std::vector<FavoriteNode>>(node.failure());
    }
    if (!start.ok()) {
        return start.failure();
    }
    if (Status failed = ReadFavoritesTree(context, start.value())) {
        return failed;
    }
    if (options.json) {
        Json list = Json::array();
        for (const FavoriteNode& node : start.value()) {
            list.push_back(ToJson(node));
        }
        PrintJson({{"favorites", std::move(list)}});
        return std::nullopt;
    }
    TextTable table;
    AddRows(start.value(), 0, table);
    table.Print(std::cout);
    return std::nullopt;
}

Status ChangeSets(const Vardel::CContext& context, const FavoritesOptions& options) {
    if (!options.use.empty()) {
        EditText edit;
        edit.Add(L"Favorites", L"Name", Wide(options.use).c_str());
        Result<bool> changed = ApplyEdit(context, {Vardel::CBrowseId()}, edit, Vardel::FavoriteEdit,
                                         "choosing a favorites set");
        if (!changed.ok()) {
            return changed.failure();
        }
    }
    if (options.remove.empty()) {
        return std::nullopt;
    }
    Result<std::vector<FavoriteNode>> sets = ReadFavoriteSets(context);
    Result<FavoriteNode> set = FindFavorite(context, options.remove);
    if (!sets.ok() || !set.ok()) {
        return sets.ok() ? set.failure() : sets.failure();
    }
    if (sets.value().size() == 1) {
        return Refused("the last favorites set cannot be removed");
    }
    EditText edit;
    edit.Add(L"Favorites");
    Result<bool> changed = ApplyEdit(context, {set.value().id}, edit, Vardel::FavoriteRemove,
                                     "removing a favorites set");
    return changed.ok() ? std::nullopt : Status(changed.failure());
}

Status RunSets(const FavoritesOptions& options) {
    const bool changes = !options.use.empty() || !options.remove.empty();
    Result<StoreSession> setup = OpenFavorites(options, changes ? StoreUse::Write : StoreUse::Read);
    if (!setup.ok()) {
        return setup.failure();
    }
    if (Status failed = ChangeSets(setup.value().context, options)) {
        return failed;
    }
    Result<std::vector<FavoriteNode>> sets = ReadFavoriteSets(setup.value().context);
    if (!sets.ok()) {
        return sets.failure();
    }
    Json list = Json::array();
    TextTable table;
    for (std::size_t i = 0; i < sets.value().size(); ++i) {
        list.push_back({{"name", Utf8(sets.value()[i].name)}, {"active", i == 0}});
        table.AddRow({Utf8(sets.value()[i].name), i == 0 ? "active" : ""});
    }
    if (options.json) {
        PrintJson({{"sets", std::move(list)}});
    } else {
        table.Print(std::cout);
    }
    return std::nullopt;
}

using Runner = Status (*)(const FavoritesOptions&);

// A favorites sub-command with its own options, --store and the context
// options; `json` adds --json.
std::pair<CLI::App*, std::shared_ptr<FavoritesOptions>> AddSub(CLI::App& favorites,
                                                               CommandSet& commands,
                                                               const std::string& name,
                                                               const std::string& description,
                                                               Runner run, bool json) {
    auto options = std::make_shared<FavoritesOptions>();
    CLI::App* command = favorites.add_subcommand(name, description);
    AddStoreOption(*command, options->store, true);
    AddContextOptions(*command, options->catalog);
    if (json) {
        AddJsonFlag(*command, options->json);
    }
    commands.Add(command, [options, run] { return Finish(run(*options)); });
    return {command, options};
}

}  // namespace

void AddFavoritesCommands(CLI::App& app, CommandSet& commands) {
    CLI::App* favorites = app.add_subcommand(
        "favorites", "List and edit the favorites kept in --store (paths: SET/FOLDER/.../NAME)");
    favorites->require_subcommand(1);
    SetExample(*favorites,
               "  vardel favorites mkdir Favorites/Screws --store ~/.vardel\n"
               "  vardel favorites add \"Hexagon regular nut ISO 4032\" --to "
               "Favorites/Screws --store ~/.vardel");

    auto [list, listed] =
        AddSub(*favorites, commands, "list", "Print the favorites tree, or the part below FOLDER",
               &RunList, true);
    list->add_option("FOLDER", listed->path, "Set or folder to print");
    SetExample(*list, "  vardel favorites list Favorites --store ~/.vardel");

    auto [sets, chosen] = AddSub(
        *favorites, commands, "sets",
        "List the favorites sets, the active one first; choose or remove one", &RunSets, true);
    sets->add_option("--use", chosen->use, "Make this set active, creating it when new");
    sets->add_option("--remove", chosen->remove, "Remove this set (never the last one)");
    SetExample(*sets, "  vardel favorites sets --use Project --store ~/.vardel");

    auto [add, added] = AddSub(*favorites, commands, "add", "Add a family or member favorite",
                               &RunFavoritesAdd, false);
    add->add_option("FAMILY", added->target, "Family id, or display name (any case)")->required();
    add->add_option("--member", added->member, "Row id of a member of the family");
    add->add_option("--to", added->folder, "Set or folder to add to (default: the active set)");
    add->add_option("--name", added->name, "Name to show (default: the family's)");
    SetExample(*add, "  vardel favorites add \"Hexagon regular nut ISO 4032\" --store ~/.vardel");

    auto [mkdir, made] =
        AddSub(*favorites, commands, "mkdir", "Create a folder", &RunFavoritesMkdir, false);
    mkdir->add_option("PATH", made->target, "SET/.../NAME of the new folder")->required();
    SetExample(*mkdir, "  vardel favorites mkdir Favorites/Screws --store ~/.vardel");

    auto [rename, renamed] =
        AddSub(*favorites, commands, "rename", "Rename a folder, link or favorite",
               &RunFavoritesRename, false);
    rename->add_option("PATH", renamed->path, "The favorite to rename")->required();
    rename->add_option("NEWNAME", renamed->target, "Its new name")->required();
    SetExample(*rename, "  vardel favorites rename Favorites/Screws Bolts --store ~/.vardel");

    auto [remove, removed] = AddSub(*favorites, commands, "remove", "Remove favorites and folders",
                                    &RunFavoritesRemove, false);
    remove->add_option("PATH", removed->paths, "Favorites to remove")->required();
    remove->add_flag("--keep-contents", removed->keepContents,
                     "Keep what removed folders hold in the store");
    SetExample(*remove, "  vardel favorites remove Favorites/Bolts --store ~/.vardel");

    auto [copy, copied] = AddSub(*favorites, commands, "copy",
                                 "Remember favorites for a later paste", &RunFavoritesCopy, false);
    copy->add_option("PATH", copied->paths, "Favorites to copy")->required();
    SetExample(*copy, "  vardel favorites copy Favorites/Bolts --store ~/.vardel");

    auto [paste, pasted] =
        AddSub(*favorites, commands, "paste",
               "Paste the favorites copied last into a set or folder", &RunFavoritesPaste, false);
    paste->add_option("FOLDER", pasted->target, "Set or folder to paste into")->required();
    SetExample(*paste, "  vardel favorites paste Project --store ~/.vardel");
}

Result<StoreSession> OpenFavorites(const FavoritesOptions& options, StoreUse use) {
    return OpenStoreSession(options.catalog, options.store, use, Vardel::FavoritesBrowsing);
}

}  // namespace VardelTool
