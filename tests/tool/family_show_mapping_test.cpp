// vardel family show on a family of the sample catalogue: the mapped columns
// and the template its description renders, and its texts in both languages
// as the catalogue serves them.
#include <gtest/gtest.h>

#include "tool_runner.h"

namespace VardelToolTest {
namespace {

#ifdef VARDEL_SAMPLE_CATALOG_PATH

constexpr const char* kDin933 = "Hexagon head screw DIN 933";

TEST(FamilyShowMapping, ShowsMappedColumnsAndTemplateInBothLanguages) {
    const nlohmann::json english = ParseJson(RunTool({"family", "show", kDin933, "--json"}));
    const std::string id = english["id"];
    EXPECT_EQ(english["name"], kDin933);
    EXPECT_EQ(english["description"], "Fully threaded; withdrawn, the old counterpart of ISO 4017");
    EXPECT_EQ(english["templates"],
              nlohmann::json::array({{{"name", "din933"}, {"fileName", "din933.model"}}}));
    ASSERT_EQ(english["mappings"].size(), 7u);
    bool sizeMapped = false;
    for (const nlohmann::json& mapped : english["mappings"]) {
        if (mapped["column"] == "size") {
            sizeMapped = true;
            EXPECT_EQ(mapped["parameters"],
                      nlohmann::json::array({"49f40547-fe0a-4cdb-9e67-281f22c583ce"}));
        }
    }
    EXPECT_TRUE(sizeMapped) << english["mappings"];

    const nlohmann::json german = ParseJson(
        RunTool({"family", "show", "Sechskantschraube DIN 933", "--lang", "de-DE", "--json"}));
    EXPECT_EQ(german["name"], "Sechskantschraube DIN 933");
    EXPECT_EQ(german["description"], "Gewinde bis Kopf; zurückgezogen, Vorgänger von ISO 4017");
    EXPECT_EQ(german["columns"][0]["title"], "Größe");
    EXPECT_EQ(german["mappings"], english["mappings"]);

    // The catalogue's own record of the family answers in both languages too.
    const nlohmann::json record = ParseJson(RunTool({"show", id, "--lang", "de-DE", "--json"}));
    EXPECT_EQ(record["name"], "Sechskantschraube DIN 933") << record;
    EXPECT_EQ(record["description"], german["description"]);
    EXPECT_EQ(ParseJson(RunTool({"show", id, "--json"}))["name"], kDin933);

    const ToolRun text = RunTool({"family", "show", id, "--lang", "de-DE"});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_TRUE(text.out.starts_with("Sechskantschraube DIN 933\n")) << text.out;
    EXPECT_NE(text.out.find("\nMapped columns (7)\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("\nTemplates (1)\n  name    file\n  din933  din933.model\n"),
              std::string::npos)
        << text.out;
}

#endif

}  // namespace
}  // namespace VardelToolTest
