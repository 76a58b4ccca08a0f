// vardel family set: an accepted edit lands in OUT (and shows in the values
// that depend on it), a refused one writes nothing, FILE stays as it was
// unless it is OUT, and malformed command lines are usage errors.
#include <filesystem>

#include <gtest/gtest.h>

#include "family_files.h"

namespace VardelToolTest {
namespace {

class FamilySetTest : public FamilyFileTest {
  protected:
    // The evaluated values of member `member` of `file`.
    nlohmann::json Values(const std::string& file, const std::string& member) const {
        return Json({"family", "eval", file, "--member", member})["members"][0]["values"];
    }
};

TEST_F(FamilySetTest, ValueIsWrittenToOutAndReachesDependentColumns) {
    const std::string before = ReadFile("bolt.family.xml");
    const std::string out = PathOf("out.family.xml");
    const ToolRun run = RunTool({"family", "set", bolt_, "M8", "Length", "35", "-o", out});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "member 2, column l: \"30\" -> \"35\"\n");
    EXPECT_EQ(ReadFile("bolt.family.xml"), before);
    EXPECT_NE(ReadFile("out.family.xml").find("<Cell ColumnId=\"l\">35</Cell>"), std::string::npos);
    EXPECT_EQ(Values(out, "M8")["designation"], "M8x35");
    EXPECT_EQ(Values(out, "M6")["l"], "20");

    // An expression in a number column is stored as its number; OUT may be FILE.
    ASSERT_EQ(RunTool({"family", "set", out, "1", "l", "2*12.5", "-o", out}).exitCode, 0);
    EXPECT_EQ(Values(out, "M6")["l"], "25");
    // An empty value gives the member's cell back to the column's formula.
    const ToolRun reverted = RunTool({"family", "set", out, "M8", "dw", "", "-o", out});
    EXPECT_EQ(reverted.out, "member 2, column dw: \"17\" -> \"={d}*2\"\n");
    EXPECT_EQ(Values(out, "M8")["dw"], "16");
}

TEST_F(FamilySetTest, InvalidValuesAndFormulasAreRefusedAndNothingIsWritten) {
    const std::string out = PathOf("out.family.xml");
    struct Refusal {
        std::vector<std::string> edit;
        std::string message;
    };
    const std::vector<Refusal> refusals = {
        {{"M8", "n", "2.5"}, "\"2.5\" is not a valid integer for column \"n\"; nothing written"},
        {{"M8", "d", "eight"}, "\"eight\" is not a valid double for column \"d\""},
        {{"--formula", "d", "{dw}/2"}, "refused for column \"d\": circular reference"},
        {{"--formula", "dw", "{width}*2"}, "refers to a column that does not exist"},
        {{"--formula", "dw", "{d*2"}, "syntax error"},
        {{"M12", "d", "12"}, "no member named \"M12\""},
        {{"M8", "weight", "12"}, "no column named \"weight\""},
    };
    for (const Refusal& refusal : refusals) {
        std::vector<std::string> args{"family", "set", bolt_};
        args.insert(args.end(), refusal.edit.begin(), refusal.edit.end());
        args.insert(args.end(), {"-o", out});
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.exitCode, 1) << refusal.message;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(refusal.message), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << refusal.message;
    }
    const ToolRun unwritable =
        RunTool({"family", "set", bolt_, "M8", "l", "35", "-o", PathOf("none/out.family.xml")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos) << unwritable.err;
}

TEST_F(FamilySetTest, FormulaReplacesTheColumnsFormulaAndKeepsOverrides) {
    const std::string out = PathOf("out.family.xml");
    const ToolRun run = RunTool({"family", "set", bolt_, "--formula", "dw", "{d}*3", "-o", out});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "column dw: formula \"{d}*2\" -> \"{d}*3\"\n");
    EXPECT_EQ(Values(out, "M6")["dw"], "18");
    EXPECT_EQ(Values(out, "M8")["dw"], "17");
    // An empty formula makes the column plain again.
    ASSERT_EQ(RunTool({"family", "set", out, "--formula", "dw", "", "-o", out}).exitCode, 0);
    EXPECT_EQ(Json({"family", "show", out})["columns"][3]["formula"], "");
    EXPECT_EQ(Values(out, "M6")["dw"], "");
}

TEST_F(FamilySetTest, MalformedCommandLinesAreUsageErrors) {
    const std::string out = PathOf("out.family.xml");
    const std::vector<std::vector<std::string>> usages = {
        {"family", "set", bolt_, "M8", "l", "-o", out},
        {"family", "set", bolt_, "--formula", "dw", "{d}", "x", "-o", out},
        {"family", "set", bolt_, "M8", "l", "35"},
        {"family", "set", "Hex bolt", "M8", "l", "35", "-o", out},
        {"family", "set", bolt_, "M8", "l", "35", "-o", PathOf("out.txt")},
        {"family", "show"},
        {"family"},
    };
    for (const std::vector<std::string>& args : usages) {
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.exitCode, 2) << args.size() << ": " << run.err;
        EXPECT_TRUE(run.err.starts_with("vardel: ")) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace VardelToolTest
