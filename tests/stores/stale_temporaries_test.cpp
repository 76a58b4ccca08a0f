// Each personal store removes what saves of its file left behind when their
// process died, as soon as it opens the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "stores/favorites_store.h"
#include "stores/history_store.h"
#include "stores/search_results_store.h"
#include "support/temp_folder.h"

namespace {

struct StoreCase {
    const char* file;
    std::function<void(const std::wstring&)> open;
};

class StaleTemporaries : public ::testing::TestWithParam<StoreCase> {};

TEST_P(StaleTemporaries, OpeningTheStoreRemovesThoseOfItsFileOnly) {
    TempFolder folder;
    const std::string file = GetParam().file;
    const std::filesystem::path stale =
        folder.path() / (file + ".~0f8fad5b-d9cb-469f-a165-70867728950e.tmp");
    const std::filesystem::path other =
        folder.path() / "Other.bin.~0f8fad5b-d9cb-469f-a165-70867728950e.tmp";
    std::ofstream(stale) << "half a save";
    std::ofstream(other) << "another file's save";

    GetParam().open(folder.path().wstring());

    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(other));
}

INSTANTIATE_TEST_SUITE_P(
    Stores, StaleTemporaries,
    ::testing::Values(
        StoreCase{"History.bin", [](const std::wstring& path) { CHistoryData::Initialize(path); }},
        StoreCase{"TarnSearch.bin",
                  [](const std::wstring& path) { CSearchResultsData::Initialize(path); }},
        StoreCase{"Favorites.xml",
                  [](const std::wstring& path) { CFavoritesData::Initialize(path); }}),
    [](const ::testing::TestParamInfo<StoreCase>& param) {
        std::string name = param.param.file;
        return name.substr(0, name.find('.'));
    });

}  // namespace
