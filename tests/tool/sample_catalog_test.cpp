// The sample catalogue built from data/ beside the tool: what a user sees
// first, without --catalog.
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

#else

TEST(SampleCatalog, NotBuilt) {
    GTEST_SKIP() << "data/ holds no sample libraries";
}

#endif

}  // namespace
}  // namespace VardelToolTest
