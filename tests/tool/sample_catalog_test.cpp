// The sample catalogue built from data/ beside the tool: what a user sees
// first, without --catalog.
#include <functional>

#include <gtest/gtest.h>

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

#else

TEST(SampleCatalog, NotBuilt) {
    GTEST_SKIP() << "data/ holds no sample libraries";
}

#endif

}  // namespace
}  // namespace VardelToolTest
