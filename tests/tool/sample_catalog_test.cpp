// The sample catalogue built from data/ beside the tool: what a user sees
// first, without --catalog.
#include <fstream>
#include <functional>
#include <iterator>

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "tool_runner.h"

namespace VardelToolTest {
namespace {

#ifdef VARDEL_SAMPLE_CATALOG_PATH

TEST(SampleCatalog, RestrictedLibraryNeedsItsReader) {
    const nlohmann::json anonymous = ParseJson(RunTool({"browse", "--depth", "1", "--json"}));
    EXPECT_EQ(anonymous["libraries"],
              nlohmann::json::array({"Bearings", "DIN Fasteners", "ISO Fasteners"}));
    const nlohmann::json alice =
        ParseJson(RunTool({"browse", "--depth", "1", "--json", "--user", "alice"}));
    EXPECT_EQ(alice["libraries"].size(), 4u);
    EXPECT_EQ(alice["categories"].size(), anonymous["categories"].size() + 1);
}

TEST(SampleCatalog, SearchByNominalDiameter) {
    const ToolRun run = RunTool({"search", "--where", "d=8", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const nlohmann::json found = ParseJson(run);
    EXPECT_GT(found["count"], 10);
    for (const nlohmann::json& hit : found["hits"]) {
        EXPECT_EQ(hit["values"]["d"], "8") << hit["name"];
        EXPECT_NE(hit["library"], "Workshop Stock");
    }
}

TEST(SampleCatalog, ColumnsDifferingOnlyInCaseAreTwoColumns) {
    const ToolRun run = RunTool({"family", "eval", "Deep groove ball bearing DIN 625-1", "--member",
                                 "6204", "--columns", "D,d", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const nlohmann::json bearing = ParseJson(run);
    EXPECT_EQ(bearing["members"][0]["row"], 34);
    EXPECT_EQ(bearing["members"][0]["values"], nlohmann::json({{"d", "20"}, {"D", "47"}}));
    EXPECT_EQ(bearing["columns"][0]["id"], "D");
}

TEST(SampleCatalog, MemberNamedByItsWholeKey) {
    const ToolRun run = RunTool({"family", "eval", "Hexagon head screw ISO 4017", "--member",
                                 "M8,30", "--columns", "size,l", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ParseJson(run)["members"][0]["values"],
              nlohmann::json({{"size", "M8"}, {"l", "30"}}));
    const ToolRun ambiguous =
        RunTool({"family", "eval", "Hexagon head screw ISO 4017", "--member", "M8"});
    EXPECT_EQ(ambiguous.exitCode, 1);
    EXPECT_NE(ambiguous.err.find("member name \"M8\" is ambiguous"), std::string::npos);
}

TEST(SampleCatalog, EveryFamilyValidates) {
    const nlohmann::json tree = ParseJson(RunTool({"browse", "--json", "--user", "alice"}));
    std::vector<std::string> families;
    const std::function<void(const nlohmann::json&)> walk = [&](const nlohmann::json& category) {
        for (const nlohmann::json& family : category["families"]) {
            families.push_back(family["id"]);
        }
        for (const nlohmann::json& below : category["categories"]) {
            walk(below);
        }
    };
    for (const nlohmann::json& root : tree["categories"]) {
        walk(root);
    }
    EXPECT_GT(families.size(), 30u);
    for (const std::string& family : families) {
        const ToolRun run = RunTool({"family", "validate", family, "--user", "alice"});
        EXPECT_EQ(run.exitCode, 0) << family << "\n" << run.out;
    }
}

// The families' thumbnails are 64 x 64 PNG files drawn by the project's script.
TEST(SampleCatalog, FamiliesHaveThumbnails) {
    TempFolder folder;
    const std::string out = (folder.path() / "nut.png").string();
    const ToolRun run = RunTool({"show", "Hexagon regular nut ISO 4032", "--thumbnail", out});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::ifstream in(out, std::ios::binary);
    const std::string png(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(png.substr(0, 24),
              std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x40\0\0\0\x40", 24));
}

#else

TEST(SampleCatalog, NotBuilt) {
    GTEST_SKIP() << "data/ holds no sample libraries";
}

#endif

}  // namespace
}  // namespace VardelToolTest
