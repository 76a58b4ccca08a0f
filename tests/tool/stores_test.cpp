// The personal stores through the tool: the history and the favorites
// written by one run and read by the next, every favorites change, and
// names that are not safe in XML.
#include <filesystem>

#include <gtest/gtest.h>

#include "test_catalog.h"

namespace VardelToolTest {
namespace {

std::vector<std::string> Ids(const nlohmann::json& items) {
    std::vector<std::string> ids;
    for (const nlohmann::json& item : items) {
        ids.push_back(item["family"].get<std::string>());
    }
    return ids;
}

class StoresTest : public ToolTest {
  protected:
    void SetUp() override {
        ToolTest::SetUp();
        store_ = NewStore("store");
    }

    ToolRun Favorites(std::vector<std::string> args) const {
        args.insert(args.begin(), "favorites");
        args.insert(args.end(), {"--store", store_});
        return Run(args);
    }
    void Change(std::vector<std::string> args) const {
        const ToolRun run = Favorites(args);
        EXPECT_EQ(run.exitCode, 0) << args[0] << ": " << run.err;
    }
    // The favorites tree as "name:kind" lines, two spaces a level.
    std::vector<std::string> Tree() const {
        const ToolRun run = Favorites({"list"});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        std::vector<std::string> lines;
        for (std::string line : Lines(run.out)) {
            const std::size_t gap = line.find_last_of(' ');
            std::string name = line.substr(0, line.find_last_not_of(' ', gap) + 1);
            lines.push_back(name + ":" + line.substr(gap + 1));
        }
        return lines;
    }

    std::string store_;
};

// The library lists the history's families in its own order (by id), not
// by time; a family added twice is there once.
TEST_F(StoresTest, HistoryKeepsEachFamilyOnceAcrossRuns) {
    for (const char* family : {kTool, "screw a (beta)", kTool}) {
        const ToolRun added = Run({"history", "add", family, "--store", store_});
        EXPECT_EQ(added.exitCode, 0) << added.err;
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(store_) / "History.bin"));
    const nlohmann::json history = Json({"history", "list", "--store", store_});
    EXPECT_EQ(Ids(history["history"]), std::vector<std::string>({kScrew, kTool}));
    EXPECT_EQ(history["history"][0]["library"], "Beta");

    const ToolRun unknown = Run({"history", "add", "no such family", "--store", store_});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_EQ(Ids(Json({"history", "list", "--store", store_})["history"]).size(), 2u);
}

// Every change is a run of its own, so each one reads what the one before
// saved.
TEST_F(StoresTest, FavoritesTreeAfterEachChange) {
    Change({"add", "Tool B"});
    Change({"mkdir", "Favorites/Screws"});
    Change({"add", kScrew, "--to", "favorites/screws"});
    EXPECT_EQ(Tree(), std::vector<std::string>({"Favorites/:set", "  Screws/:folder",
                                                "    Screw A (Beta):family", "  Tool B:family"}));
    Change({"rename", "Favorites/Screws", "Bolts"});
    Change({"sets", "--use", "Project"});
    Change({"copy", "Favorites/Bolts"});
    Change({"paste", "Project"});
    Change({"remove", "Favorites/Tool B", "Favorites/Bolts/Screw A (Beta)"});
    EXPECT_EQ(Tree(), std::vector<std::string>({"Project/:set", "  Bolts/:folder",
                                                "    Screw A (Beta):family", "Favorites/:set",
                                                "  Bolts/:folder"}));
    Change({"sets", "--remove", "Favorites"});
    EXPECT_EQ(Tree(), std::vector<std::string>(
                          {"Project/:set", "  Bolts/:folder", "    Screw A (Beta):family"}));
    const ToolRun last = Favorites({"sets", "--remove", "Project"});
    EXPECT_EQ(last.exitCode, 1);
    EXPECT_EQ(last.err, "vardel: the last favorites set cannot be removed\n");
}

TEST_F(StoresTest, FavoriteMembersAndUnsafeNames) {
    const nlohmann::json screw = Json({"show", kScrew});
    const std::string member = screw["members"][0]["id"];
    Change({"add", kScrew, "--member", member});
    const std::string unsafe = "a<b>&\"c'd";
    Change({"mkdir", "Favorites/" + unsafe});
    Change({"add", "Tool B", "--to", "Favorites/" + unsafe, "--name", unsafe});
    const nlohmann::json tree = Json({"favorites", "list", "--store", store_});
    const nlohmann::json& set = tree["favorites"][0];
    ASSERT_EQ(set["children"].size(), 2u);
    EXPECT_EQ(set["children"][0]["name"], unsafe);
    EXPECT_EQ(set["children"][0]["children"][0]["name"], unsafe);
    EXPECT_EQ(set["children"][1]["name"], "Screw A (Beta) M8");
    EXPECT_EQ(set["children"][1]["kind"], "member");
    EXPECT_EQ(set["children"][1]["member"], member);

    const ToolRun noMember = Favorites({"add", kScrew, "--member", "nope"});
    EXPECT_EQ(noMember.exitCode, 1);
    EXPECT_EQ(noMember.err, "vardel: family \"Screw A (Beta)\" has no member \"nope\"\n");
    const ToolRun twice = Favorites({"mkdir", "Favorites/" + unsafe});
    EXPECT_EQ(twice.exitCode, 1);
    Change({"mkdir", "Favorites/line\nbreak"});
    EXPECT_NE(Favorites({"list"}).out.find("\n  line\\nbreak/  "), std::string::npos);
}

}  // namespace
}  // namespace VardelToolTest
