// vardel catalog build|check|info: making catalogue files from library
// folders (ImportCatalog, all or nothing), checking folders without writing
// (CheckCatalogSources), and describing a catalogue file (ReadCatalogSummary:
// the one command that reads the file itself rather than through a server).
#include <iostream>
#include <memory>

#include "commands.h"
#include "options.h"
#include "output.h"
#include "progress_bar.h"
#include "vardel/catalog/catalog_import.h"
#include "vardel/catalog/catalog_summary.h"

namespace VardelTool {
namespace {

struct CatalogCommandOptions {
    std::vector<std::string> sources;
    std::string output;
    std::string file;
    std::string catalog;
    bool quiet = false;
    bool json = false;
};

std::vector<std::filesystem::path> Paths(const std::vector<std::string>& texts) {
    return {texts.begin(), texts.end()};
}

std::string Counts(const VardelCatalog::ImportResult& result) {
    return std::to_string(result.libraries) + " libraries, " + std::to_string(result.families) +
           " families, " + std::to_string(result.members) + " members";
}

Status RunBuild(const CatalogCommandOptions& options) {
    ProgressBar bar(!options.quiet);
    const VardelCatalog::ImportResult result =
        VardelCatalog::ImportCatalog(Paths(options.sources), options.output, bar.Callback());
    if (!result.ok) {
        return Refused(result.error);
    }
    if (!options.quiet) {
        std::cout << "built " << Printable(options.output) << ": " << Counts(result) << '\n';
    }
    return std::nullopt;
}

Status RunCheck(const CatalogCommandOptions& options) {
    ProgressBar bar(!options.quiet);
    const VardelCatalog::ImportResult result =
        VardelCatalog::CheckCatalogSources(Paths(options.sources), bar.Callback());
    if (!result.ok) {
        return Refused(result.error);
    }
    std::cout << "ok: " << Counts(result) << '\n';
    return std::nullopt;
}

std::string Joined(const std::vector<std::wstring>& texts, const std::string& none) {
    std::string joined;
    for (const std::wstring& text : texts) {
        joined += (joined.empty() ? "" : ", ") + Utf8(text);
    }
    return joined.empty() ? none : joined;
}

void PrintSummary(const std::filesystem::path& file, const VardelCatalog::CatalogSummary& summary,
                  bool json) {
    if (json) {
        Json libraries = Json::array();
        for (const auto& library : summary.libraries) {
            libraries.push_back({{"name", Utf8(library.name)},
                                 {"id", Utf8(library.guid.ToString())},
                                 {"defaultLanguage", Utf8(library.defaultLanguage)},
                                 {"restricted", library.restricted},
                                 {"readers", TextList(library.readers)},
                                 {"families", library.families},
                                 {"members", library.members},
                                 {"languages", TextList(library.languages)}});
        }
        PrintJson({{"file", file.string()},
                   {"size", summary.fileSize},
                   {"libraries", std::move(libraries)}});
        return;
    }
    std::cout << Printable(file.string()) << ": " << summary.fileSize << " bytes, "
              << summary.libraries.size() << " libraries\n";
    TextTable table;
    table.AddRow(
        {"library", "id", "default language", "readers", "families", "members", "languages"});
    for (const auto& library : summary.libraries) {
        table.AddRow({Utf8(library.name), Utf8(library.guid.ToString()),
                      Utf8(library.defaultLanguage),
                      library.restricted ? Joined(library.readers, "nobody") : "everybody",
                      std::to_string(library.families), std::to_string(library.members),
                      Joined(library.languages, "")});
    }
    table.Print(std::cout, 2);
}

Status RunInfo(const CatalogCommandOptions& options) {
    const std::filesystem::path file =
        options.file.empty() ? CatalogPath(options.catalog) : std::filesystem::path(options.file);
    VardelCatalog::CatalogSummary summary;
    std::string error;
    if (!VardelCatalog::ReadCatalogSummary(file, summary, error)) {
        return Refused("cannot read catalogue: " + error);
    }
    PrintSummary(file, summary, options.json);
    return std::nullopt;
}

}  // namespace

void AddCatalogCommands(CLI::App& app, CommandSet& commands) {
    CLI::App* catalog = app.add_subcommand("catalog", "Build, check and describe catalogue files");
    catalog->require_subcommand(1);
    SetExample(*catalog,
               "  vardel catalog build data/iso-fasteners data/bearings -o parts.catalog\n"
               "  vardel catalog info parts.catalog");

    auto build = std::make_shared<CatalogCommandOptions>();
    CLI::App* buildCommand =
        catalog->add_subcommand("build", "Build a catalogue file from library folders");
    buildCommand->add_option("SRC", build->sources, "Library folders")->required();
    buildCommand->add_option("-o,--output", build->output, "Catalogue file to write")->required();
    buildCommand->add_flag("-q,--quiet", build->quiet, "Print neither progress nor a summary");
    SetExample(*buildCommand, "  vardel catalog build data/iso-fasteners -o iso.catalog");
    commands.Add(buildCommand, [build] { return Finish(RunBuild(*build)); });

    auto check = std::make_shared<CatalogCommandOptions>();
    CLI::App* checkCommand = catalog->add_subcommand(
        "check", "Read and check library folders as build does, writing nothing");
    checkCommand->add_option("SRC", check->sources, "Library folders")->required();
    checkCommand->add_flag("-q,--quiet", check->quiet, "Print no progress");
    SetExample(*checkCommand, "  vardel catalog check data/iso-fasteners data/din-fasteners");
    commands.Add(checkCommand, [check] { return Finish(RunCheck(*check)); });

    auto info = std::make_shared<CatalogCommandOptions>();
    CLI::App* infoCommand = catalog->add_subcommand(
        "info", "Describe a catalogue file: libraries, readers, counts, languages, size");
    infoCommand->add_option("FILE", info->file, "Catalogue file (default: as --catalog)");
    AddCatalogOption(*infoCommand, info->catalog);
    AddJsonFlag(*infoCommand, info->json);
    SetExample(*infoCommand, "  vardel catalog info parts.catalog --json");
    commands.Add(infoCommand, [info] { return Finish(RunInfo(*info)); });
}

}  // namespace VardelTool
