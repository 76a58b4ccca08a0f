// Options shared by the commands and their meaning: which catalogue, as
// which user, in which language, over which libraries, with which filter,
// where the personal stores live, and whether to print JSON. Each command
// adds the groups it uses to its CLI11 sub-command.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "vardel/context.h"

namespace VardelTool {

struct CatalogOptions {
    /// The catalogue file; empty for the default (DefaultCatalogPath).
    std::string catalog;
    std::string user;
    std::string language;
    /// Library names the context is restricted to; empty for every library
    /// the user may read.
    std::vector<std::string> libraries;
};

struct FilterOptions {
    bool hideParts = false;
    bool hideFeatures = false;
    bool showHidden = false;
    bool hideEmpty = false;
    std::vector<std::string> manufacturers;
    std::vector<std::string> standardsOrganizations;
};

/// $VARDEL_CATALOG when set and not empty, else "sample.catalog" beside the
/// running executable.
std::filesystem::path DefaultCatalogPath();
/// The file named by --catalog, or the default.
std::filesystem::path CatalogPath(const std::string& option);

/// --catalog only.
void AddCatalogOption(CLI::App& command, std::string& catalog);
/// --catalog, --user, --lang and the repeatable --library.
void AddContextOptions(CLI::App& command, CatalogOptions& options);
/// --parts, --features, --hidden, --empty, --manufacturer, --standards-org.
void AddFilterOptions(CLI::App& command, FilterOptions& options);
/// --json.
void AddJsonFlag(CLI::App& command, bool& json);
/// --store DIR, required or not.
void AddStoreOption(CLI::App& command, std::string& store, bool required);
/// A repeatable option taking one value per occurrence.
CLI::Option* AddRepeatable(CLI::App& command, const std::string& name,
                           std::vector<std::string>& values, const std::string& description);
/// Shows `example` (one or more command lines) under the command's help.
void SetExample(CLI::App& command, const std::string& example);

/// The context filter the filter options ask for.
Vardel::FilterStruct MakeFilter(const FilterOptions& options);

}  // namespace VardelTool
