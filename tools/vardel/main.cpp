// The vardel command-line tool: browses, searches and edits the personal
// stores of a parts catalogue from the shell, through the same browsing face
// a CAD host uses, reads, checks and edits family documents through the
// document face, and builds catalogue files. Data goes to standard output,
// messages to standard error; exit codes 0 (success), 1 (failure), 2 (usage).
#include <CLI/CLI.hpp>

#include <iostream>
#include <optional>
#include <string>

#include "commands.h"
#include "options.h"
#include "output.h"
#include "vardel/app.h"
#include "vardel/string_util.h"

namespace {

using namespace VardelTool;

int PrintNewGuid() {
    const std::wstring guid = CStringUtil::NewGuid();
    if (guid.empty()) {
        return Report(Refused("the system gave no GUID"));
    }
    std::cout << Utf8(guid) << '\n';
    return kExitOk;
}

void AddGuidCommand(CLI::App& app, CommandSet& commands) {
    CLI::App* guid = app.add_subcommand("guid", "Print a new GUID text");
    SetExample(*guid, "  vardel guid");
    commands.Add(guid, &PrintNewGuid);
}

// The name of an unknown command on the command line, or nothing: the
// first word left over after the deepest command that was recognised.
std::optional<std::string> UnknownCommand(const CLI::App& app) {
    const CLI::App* deepest = &app;
    while (!deepest->get_subcommands().empty()) {
        deepest = deepest->get_subcommands().front();
    }
    const std::vector<std::string> left = deepest->remaining();
    if (deepest->get_subcommands({}).empty() || left.empty() || left.front().starts_with("-")) {
        return std::nullopt;
    }
    return left.front();
}

// CLI11 reports usage errors as exceptions; help and version requests are
// "errors" with exit code 0 that print their text on standard output.
int ReportParseError(const CLI::App& app, const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) {
        return app.exit(error);
    }
    if (const std::optional<std::string> unknown = UnknownCommand(app)) {
        return Report(UsageError("unknown command " + Quoted(*unknown) + " (see vardel --help)"));
    }
    return Report(UsageError(std::string(error.what()) + " (see vardel --help)"));
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Browses, searches and builds a catalogue of standard parts; reads, checks and edits "
        "family documents.",
        "vardel"};
    app.set_version_flag("--version", std::string("vardel ") + CVardelApp::Version());
    app.require_subcommand(1);
    SetExample(app,
               "  vardel browse \"Fasteners/Bolts and screws\" --depth 2\n"
               "  vardel search --where \"Nominal diameter=8\"");

    CommandSet commands;
    AddBrowseCommand(app, commands);
    AddShowCommand(app, commands);
    AddSearchCommands(app, commands);
    AddHistoryCommands(app, commands);
    AddFavoritesCommands(app, commands);
    AddCatalogCommands(app, commands);
    AddFamilyCommands(app, commands);
    AddIconCommands(app, commands);
    AddGuidCommand(app, commands);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return ReportParseError(app, error);
    }
    return commands.RunParsed();
}
