// vardel browse: the merged tree in text and JSON, what each filter flag
// hides or shows, --depth, paths by name and id, and libraries only some
// users may read.
#include <set>

#include <gtest/gtest.h>

#include "test_catalog.h"

namespace VardelToolTest {
namespace {

// Every category and family name of a browse document.
void CollectNames(const nlohmann::json& categories, std::set<std::string>& names) {
    for (const nlohmann::json& category : categories) {
        names.insert(category["name"].get<std::string>());
        for (const nlohmann::json& family : category["families"]) {
            names.insert(family["name"].get<std::string>());
        }
        CollectNames(category["categories"], names);
    }
}

std::set<std::string> Names(const nlohmann::json& document) {
    std::set<std::string> names;
    CollectNames(document["categories"], names);
    return names;
}

TEST_F(ToolTest, BrowsePrintsCategoriesAndTheNewestCopyOfEachFamily) {
    const ToolRun run = Run({"browse", "Parts/Screws"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Screws/\n  Screw A (Beta)  STD 1  2 members  Beta\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(ToolTest, BrowseJsonMergesCategoriesAcrossLibraries) {
    const nlohmann::json tree = Json({"browse"});
    EXPECT_EQ(tree["libraries"], nlohmann::json::array({"Alpha", "Beta"}));
    const nlohmann::json& parts = tree["categories"][0];
    ASSERT_EQ(parts["name"], "Parts");
    EXPECT_EQ(parts["id"], kPartsCategory);
    EXPECT_EQ(parts["libraries"], nlohmann::json::array({"Alpha", "Beta"}));
    const nlohmann::json& screws = parts["categories"][0];
    ASSERT_EQ(screws["families"].size(), 1u);
    EXPECT_EQ(screws["families"][0], nlohmann::json({{"id", kScrew},
                                                     {"name", "Screw A (Beta)"},
                                                     {"standard", "STD 1"},
                                                     {"library", "Beta"},
                                                     {"members", 2}}));
}

struct FilterCase {
    std::vector<std::string> flags;
    std::vector<std::string> shown;
    std::vector<std::string> hidden;
};

TEST_F(ToolTest, BrowseFilterFlagsHideAndShow) {
    const std::vector<FilterCase> cases = {
        {{},
         {"Parts", "Empty", "Tool B", "Screw A (Beta)", "Beta pin"},
         {"Hidden stuff", "Secret"}},
        {{"--hidden"}, {"Hidden stuff", "Secret", "Twin"}, {}},
        {{"--parts"}, {"Tool B"}, {"Screw A (Beta)", "Beta pin"}},
        {{"--features"}, {"Screw A (Beta)"}, {"Tool B"}},
        {{"--empty"}, {"Parts", "Screws"}, {"Empty"}},
        {{"--manufacturer", "Acme"}, {"Screw A (Beta)"}, {"Tool B", "Beta pin"}},
        {{"--standards-org", "DIN"}, {"Tool B"}, {"Screw A (Beta)"}},
        {{"--library", "Alpha"}, {"Screw A", "Tool B"}, {"Screw A (Beta)", "Beta only"}},
    };
    for (const FilterCase& test : cases) {
        std::vector<std::string> args{"browse"};
        args.insert(args.end(), test.flags.begin(), test.flags.end());
        const std::set<std::string> names = Names(Json(args));
        const std::string label = test.flags.empty() ? "no flag" : test.flags.front();
        for (const std::string& name : test.shown) {
            EXPECT_TRUE(names.contains(name)) << label << " hides " << name;
        }
        for (const std::string& name : test.hidden) {
            EXPECT_FALSE(names.contains(name)) << label << " shows " << name;
        }
    }
}

TEST_F(ToolTest, BrowseDepthAndPathsLimitTheTree) {
    const nlohmann::json top = Json({"browse", "--depth", "1"});
    for (const nlohmann::json& root : top["categories"]) {
        EXPECT_TRUE(root["categories"].empty()) << root["name"];
    }
    EXPECT_EQ(Names(Json({"browse", "parts/SCREWS"})),
              std::set<std::string>({"Screws", "Screw A (Beta)"}));
    const nlohmann::json byId = Json({"browse", kPartsCategory, "--depth", "1"});
    ASSERT_EQ(byId["categories"].size(), 1u);
    EXPECT_EQ(byId["categories"][0]["name"], "Parts");
    EXPECT_EQ(byId["categories"][0]["families"][0]["name"], "Tool B");
}

TEST_F(ToolTest, RestrictedLibraryShowsOnlyToItsReaders) {
    EXPECT_FALSE(Names(Json({"browse"})).contains("Private screw"));
    EXPECT_FALSE(Names(Json({"browse", "--user", "bob"})).contains("Private screw"));
    const nlohmann::json alice = Json({"browse", "--user", "alice"});
    EXPECT_EQ(alice["libraries"], nlohmann::json::array({"Alpha", "Beta", "Gamma"}));
    EXPECT_TRUE(Names(alice).contains("Private screw"));

    const ToolRun refused = Run({"browse", "--library", "Gamma"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "vardel: no library \"Gamma\" readable by a user without name\n");
    EXPECT_EQ(Json({"browse", "--library", "gamma", "--user", "alice"})["libraries"],
              nlohmann::json::array({"Gamma"}));
}

}  // namespace
}  // namespace VardelToolTest
