// vardel history add|list: the history of used families kept in --store
// (the library keeps the 50 used last), through a history context. The
// library lists the history by family id, not by time.
#include <iostream>
#include <memory>

#include "commands.h"
#include "family_lookup.h"
#include "output.h"
#include "properties.h"
#include "root_items.h"
#include "session.h"
#include "store_folder.h"
#include "vardel/history.h"

namespace VardelTool {
namespace {

struct HistoryOptions {
    CatalogOptions catalog;
    std::string store;
    std::string family;
    bool json = false;
};

Result<StoreSession> Setup(const HistoryOptions& options, StoreUse use) {
    return OpenStoreSession(options.catalog, options.store, use, Vardel::HistoryBrowsing);
}

Status RunAdd(const HistoryOptions& options) {
    Result<StoreSession> setup = Setup(options, StoreUse::Write);
    if (!setup.ok()) {
        return setup.failure();
    }
    Result<Vardel::CContext> library =
        setup.value().session->MakeContext(Vardel::LibraryBrowsing, nullptr);
    if (!library.ok()) {
        return library.failure();
    }
    Result<Vardel::CBrowseId> family = FindFamily(library.value(), options.family);
    if (!family.ok()) {
        return family.failure();
    }
    const std::wstring& id = family.value().GetInternalName();
    if (Status failed = CheckCall(Vardel::AddItemToHistory(&setup.value().context, id),
                                  "adding to the history")) {
        return failed;
    }
    Result<std::vector<std::wstring>> name = ItemNames(library.value(), {family.value()});
    if (!name.ok()) {
        return name.failure();
    }
    std::cout << "added " << Printable(Utf8(name.value().front())) << " to the history\n";
    return std::nullopt;
}

Status RunList(const HistoryOptions& options) {
    Result<StoreSession> setup = Setup(options, StoreUse::Read);
    if (!setup.ok()) {
        return setup.failure();
    }
    Result<std::vector<RootItem>> items = ReadRootItems(setup.value().context);
    if (!items.ok()) {
        return items.failure();
    }
    PrintRootItems(items.value(), "history", options.json);
    return std::nullopt;
}

}  // namespace

void AddHistoryCommands(CLI::App& app, CommandSet& commands) {
    CLI::App* history =
        app.add_subcommand("history", "Record and list the families used last (in --store)");
    history->require_subcommand(1);
    SetExample(*history,
               "  vardel history add \"Hexagon regular nut ISO 4032\" --store ~/.vardel\n"
               "  vardel history list --store ~/.vardel");

    auto add = std::make_shared<HistoryOptions>();
    CLI::App* addCommand = history->add_subcommand("add", "Put a family first in the history");
    addCommand->add_option("FAMILY", add->family, "Family id, or display name (any case)")
        ->required();
    AddStoreOption(*addCommand, add->store, true);
    AddContextOptions(*addCommand, add->catalog);
    SetExample(*addCommand,
               "  vardel history add \"Hexagon regular nut ISO 4032\" --store ~/.vardel");
    commands.Add(addCommand, [add] { return Finish(RunAdd(*add)); });

    auto list = std::make_shared<HistoryOptions>();
    CLI::App* listCommand = history->add_subcommand("list", "List the families in the history");
    AddStoreOption(*listCommand, list->store, true);
    AddContextOptions(*listCommand, list->catalog);
    AddJsonFlag(*listCommand, list->json);
    SetExample(*listCommand, "  vardel history list --store ~/.vardel --json");
    commands.Add(listCommand, [list] { return Finish(RunList(*list)); });
}

}  // namespace VardelTool
