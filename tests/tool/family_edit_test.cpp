// vardel family title and map: a title lands in the language asked for and
// nowhere else (a new language gets its strings file), a mapping lands in
// the family's parameter map once, and refused edits write nothing.
#include <filesystem>

#include <gtest/gtest.h>

#include "family_files.h"
#include "test_catalog.h"

namespace VardelToolTest {
namespace {

// A family in one category with parameters P1 (mapped to d) and P2 (free).
constexpr const char* kMapped = R"(<?xml version="1.0" encoding="UTF-8"?>
<Family InternalName="50000000-0000-0000-0000-000000000003" DisplayName="Pin">
  <Categories>
    <Category InternalName="c1">
      <CategoryParameter InternalName="P1"/>
      <CategoryParameter InternalName="P2"/>
    </Category>
  </Categories>
  <ParameterMap><MemberParametersMap><ParamsToColumn>
    <ParamToColumn TableColumn="d"><CategoryParameterRef Category="c1" CategoryParameter="P1"/>
    </ParamToColumn>
  </ParamsToColumn></MemberParametersMap></ParameterMap>
  <FamilyTable>
    <Columns>
      <Column ColumnId="d" Title="Diameter" ValueType="double" UnitType="mm"/>
      <Column ColumnId="l" Title="Length" ValueType="double" UnitType="mm"/>
    </Columns>
    <Rows><Row RowId="r1"><Cell ColumnId="d">6</Cell><Cell ColumnId="l">20</Cell></Row></Rows>
  </FamilyTable>
</Family>
)";

class FamilyEditTest : public FamilyFileTest {
  protected:
    // The title of column `id` as `family show` gives it in `language`.
    std::string Title(const std::string& file, const std::string& language,
                      const std::string& id) const {
        const nlohmann::json shown = Json({"family", "show", file, "--lang", language});
        for (const auto& column : shown["columns"]) {
            if (column["id"] == id) {
                return column["title"];
            }
        }
        return "<no column>";
    }

    bool Holds(const std::string& name, const std::string& text) const {
        return ReadFile(name).find(text) != std::string::npos;
    }
};

TEST_F(FamilyEditTest, TitleChangesOnlyTheLanguageAskedFor) {
    const std::string out = PathOf("out.family.xml");
    const ToolRun german = RunTool(
        {"family", "title", bolt_, "d", "Gewindedurchmesser", "--lang", "de-DE", "-o", out});
    ASSERT_EQ(german.exitCode, 0) << german.err;
    EXPECT_EQ(german.out,
              "column d: title (de-DE) \"Nenndurchmesser\" -> \"Gewindedurchmesser\"\n");
    EXPECT_EQ(Title(out, "de-DE", "d"), "Gewindedurchmesser");
    EXPECT_EQ(Title(out, "en-US", "d"), "Nominal diameter");
    EXPECT_TRUE(Holds("out.family.xml", "Title=\"Nominal diameter\""));
    EXPECT_TRUE(Holds("out.strings.en-US.xml", "Hex bolt"));

    // A language without strings file gets one; OUT may be FILE.
    ASSERT_EQ(
        RunTool({"family", "title", out, "d", "Diamètre", "--lang", "fr-FR", "-o", out}).exitCode,
        0);
    EXPECT_TRUE(Holds("out.strings.fr-FR.xml", "xml:lang=\"fr-FR\""));
    EXPECT_EQ(Title(out, "fr-FR", "d"), "Diamètre");
    EXPECT_EQ(Title(out, "de-DE", "d"), "Gewindedurchmesser");

    // Without --lang the document's own title changes.
    const ToolRun own = RunTool({"family", "title", out, "l", "Shank length", "-o", out});
    EXPECT_EQ(own.out, "column l: title \"Length\" -> \"Shank length\"\n");
    EXPECT_TRUE(Holds("out.family.xml", "Title=\"Shank length\""));
    EXPECT_EQ(Title(out, "fr-FR", "d"), "Diamètre");
}

TEST_F(FamilyEditTest, MapAddsTheParameterOnceToItsColumn) {
    const std::string pin = PathOf("pin.family.xml");
    WriteText(pin, kMapped);
    const std::string out = PathOf("out.family.xml");
    const ToolRun run = RunTool({"family", "map", pin, "l", "P2", "-o", out});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "column l: mapped to parameter P2 of category c1\n");
    EXPECT_TRUE(Holds("out.family.xml",
                      "<ParamToColumn TableColumn=\"l\"><CategoryParameterRef "
                      "Category=\"c1\" CategoryParameter=\"P2\"/>"));
    const ToolRun again = RunTool({"family", "map", out, "d", "P2", "-o", out});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.err.find("parameter \"P2\" is mapped to column \"l\" already"),
              std::string::npos)
        << again.err;
}

TEST_F(FamilyEditTest, RefusedEditsWriteNothing) {
    const std::string pin = PathOf("pin.family.xml");
    WriteText(pin, kMapped);
    const std::string out = PathOf("out.family.xml");
    struct Refusal {
        std::vector<std::string> args;
        int exitCode;
        std::string message;
    };
    const std::vector<Refusal> refusals = {
        {{"title", bolt_, "d", ""}, 1, "a column title cannot be empty"},
        {{"title", bolt_, "width", "W"}, 1, "no column named \"width\""},
        {{"title", bolt_, "d", "x", "--lang", "../de"}, 2, "--lang takes a language tag"},
        {{"title", "Hex bolt", "d", "x"}, 2, "only a family document file"},
        {{"map", pin, "l", "P9"}, 1, "no category of the family has the parameter \"P9\""},
        {{"map", pin, "l", "P1"}, 1, "is mapped to column \"d\" already"},
        {{"map", pin, "l", "x']|//*['"}, 1, "no category of the family has the parameter"},
        {{"map", bolt_, "l", "P1"}, 1, "no category of the family has the parameter"},
        {{"map", pin, "l"}, 2, ""},
    };
    for (const Refusal& refusal : refusals) {
        std::vector<std::string> args{"family"};
        args.insert(args.end(), refusal.args.begin(), refusal.args.end());
        args.insert(args.end(), {"-o", out});
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.exitCode, refusal.exitCode) << refusal.message;
        EXPECT_NE(run.err.find(refusal.message), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << refusal.message;
    }
}

}  // namespace
}  // namespace VardelToolTest
