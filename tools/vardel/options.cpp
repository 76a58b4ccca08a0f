// Shared option definitions. The filter flags map onto the context filter:
// the two property lists go to the server as the manufacturer and
// standards-organisation filters.
#include "options.h"

#include <cstdlib>
#include <system_error>

#include "output.h"
#include "vardel/constants.h"

namespace VardelTool {
namespace {

constexpr const char* kSampleName = "sample.catalog";

std::set<std::wstring> WideSet(const std::vector<std::string>& texts) {
    std::set<std::wstring> set;
    for (const std::string& text : texts) {
        set.insert(Wide(text));
    }
    return set;
}

}  // namespace

std::filesystem::path DefaultCatalogPath() {
    const char* fromEnvironment = std::getenv("VARDEL_CATALOG");
    if (fromEnvironment != nullptr && *fromEnvironment != '\0') {
        return fromEnvironment;
    }
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path(kSampleName) : executable.parent_path() / kSampleName;
}

std::filesystem::path CatalogPath(const std::string& option) {
    return option.empty() ? DefaultCatalogPath() : std::filesystem::path(option);
}

void AddCatalogOption(CLI::App& command, std::string& catalog) {
    command.add_option("--catalog", catalog,
                       "Catalogue file (default: $VARDEL_CATALOG, else sample.catalog beside "
                       "the vardel executable)");
}

void AddContextOptions(CLI::App& command, CatalogOptions& options) {
    AddCatalogOption(command, options.catalog);
    command.add_option("--user", options.user,
                       "User name the catalogue checks library readers against (default: none)");
    command.add_option("--lang", options.language,
                       "Language of names, e.g. de-DE (default: each library's own)");
    AddRepeatable(command, "--library", options.libraries,
                  "Use only this library (repeatable; default: every library the user may read)");
}

void AddFilterOptions(CLI::App& command, FilterOptions& options) {
    command.add_flag("--parts", options.hideParts, "Hide families that are parts");
    command.add_flag("--features", options.hideFeatures, "Hide families that are features");
    command.add_flag("--hidden", options.showHidden, "Show hidden categories too");
    command.add_flag("--empty", options.hideEmpty, "Hide categories that hold no family");
    AddRepeatable(command, "--manufacturer", options.manufacturers,
                  "Show only families of this manufacturer (repeatable)");
    AddRepeatable(command, "--standards-org", options.standardsOrganizations,
                  "Show only families of this standards organisation (repeatable)");
}

void AddJsonFlag(CLI::App& command, bool& json) {
    command.add_flag("--json", json, "Print one JSON document instead of text");
}

void AddStoreOption(CLI::App& command, std::string& store, bool required) {
    CLI::Option* option = command.add_option("--store", store,
                                             "Folder of the personal stores (history, "
                                             "favorites, stored search results)");
    option->required(required);
}

CLI::Option* AddRepeatable(CLI::App& command, const std::string& name,
                           std::vector<std::string>& values, const std::string& description) {
    // One value per occurrence, so that a positional argument after the
    // option is never taken for a second value.
    return command.add_option(name, values, description)->allow_extra_args(false);
}

void SetExample(CLI::App& command, const std::string& example) {
    command.footer("Example:\n" + example);
}

Vardel::FilterStruct MakeFilter(const FilterOptions& options) {
    Vardel::FilterStruct filter;
    filter.filterParts = options.hideParts;
    filter.filterFeatures = options.hideFeatures;
    filter.filterInvisibleCategories = !options.showHidden;
    filter.filterEmptyCategories = options.hideEmpty;
    if (!options.manufacturers.empty()) {
        filter.propertyFilters[Vardel::Constants::FAM_MANUFACTURER] =
            WideSet(options.manufacturers);
    }
    if (!options.standardsOrganizations.empty()) {
        filter.propertyFilters[Vardel::Constants::FAM_STANDORG] =
            WideSet(options.standardsOrganizations);
    }
    return filter;
}

}  // namespace VardelTool
