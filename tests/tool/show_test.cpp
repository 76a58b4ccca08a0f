// vardel show: a family named by id or by name, which library's copy the
// merge chose among those holding it, its categories and members, and
// names that fit two families.
#include <gtest/gtest.h>

#include "test_catalog.h"

namespace VardelToolTest {
namespace {

TEST_F(ToolTest, ShowTellsTheChosenCopyAndItsMembers) {
    for (const std::string& name : {std::string(kScrew), std::string("screw a (BETA)")}) {
        const nlohmann::json family = Json({"show", name});
        EXPECT_EQ(family["id"], kScrew);
        EXPECT_EQ(family["name"], "Screw A (Beta)");
        EXPECT_EQ(family["library"], "Beta");
        EXPECT_EQ(family["kind"], "part");
        EXPECT_EQ(family["manufacturer"], "Acme");
        EXPECT_EQ(family["standardsOrganization"], "ISO");
        EXPECT_EQ(family["categories"], nlohmann::json::array({"Parts/Screws"}));
        EXPECT_EQ(
            family["libraries"],
            nlohmann::json::array(
                {{{"name", "Alpha"}, {"lastModified", "2024-01-01T00:00:00Z"}, {"chosen", false}},
                 {{"name", "Beta"}, {"lastModified", "2024-06-01T00:00:00Z"}, {"chosen", true}}}));
        ASSERT_EQ(family["members"].size(), 2u);
        EXPECT_EQ(family["members"][1]["values"],
                  nlohmann::json({{"size", "M10"}, {"d", "10"}, {"l", "40"}}));
    }
}

TEST_F(ToolTest, ShowOneLibraryAndText) {
    const nlohmann::json alpha = Json({"show", kScrew, "--library", "Alpha"});
    EXPECT_EQ(alpha["name"], "Screw A");
    EXPECT_EQ(alpha["members"].size(), 3u);
    EXPECT_EQ(alpha["libraries"].size(), 1u);

    const ToolRun text = Run({"show", "Tool B"});
    EXPECT_EQ(text.exitCode, 0) << text.err;
    const std::vector<std::string> lines = Lines(text.out);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Tool B");
    EXPECT_EQ(lines[1], "  id             " + std::string(kTool));
    EXPECT_NE(text.out.find("\nMembers (2)\n  size  d  member id\n  S1    5  "), std::string::npos)
        << text.out;
}

TEST_F(ToolTest, ShowRefusesUnknownAmbiguousAndUnreadableFamilies) {
    const ToolRun twin = Run({"show", "twin"});
    EXPECT_EQ(twin.exitCode, 1);
    EXPECT_EQ(twin.out, "");
    EXPECT_NE(twin.err.find(kTwinAlpha), std::string::npos) << twin.err;
    EXPECT_NE(twin.err.find(kTwinBeta), std::string::npos) << twin.err;
    EXPECT_EQ(Json({"show", kTwinBeta})["library"], "Beta");

    const ToolRun hidden = Run({"show", kPrivate});
    EXPECT_EQ(hidden.exitCode, 1);
    EXPECT_EQ(hidden.err, "vardel: no family with id \"" + std::string(kPrivate) + "\"\n");
    EXPECT_EQ(Json({"show", "private screw", "--user", "alice"})["library"], "Gamma");
}

}  // namespace
}  // namespace VardelToolTest
