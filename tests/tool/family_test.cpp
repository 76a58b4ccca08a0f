// vardel family show|table|eval|validate on family document files and on
// families of the catalogue: properties and languages, raw cells against
// evaluated values, selections of columns and members, error marks, and the
// findings of validate with their exit code.
#include <filesystem>

#include <gtest/gtest.h>

#include "family_files.h"
#include "test_catalog.h"

namespace VardelToolTest {
namespace {

TEST_F(FamilyFileTest, ShowGivesPropertiesColumnsAndLanguages) {
    const nlohmann::json bolt = Json({"family", "show", bolt_});
    EXPECT_EQ(bolt["id"], kBoltId);
    EXPECT_EQ(bolt["name"], "Hex bolt");
    EXPECT_EQ(bolt["kind"], "part");
    EXPECT_EQ(bolt["standard"], "ISO 4017");
    EXPECT_EQ(bolt["file"], bolt_);
    EXPECT_EQ(bolt["members"], 3);
    EXPECT_EQ(bolt["languages"], nlohmann::json::array({"de-DE", "en-US"}));
    ASSERT_EQ(bolt["columns"].size(), 6u);
    EXPECT_EQ(bolt["columns"][0], nlohmann::json({{"id", "size"},
                                                  {"title", "Size"},
                                                  {"type", "string"},
                                                  {"unit", ""},
                                                  {"keyWeight", 1},
                                                  {"hidden", false},
                                                  {"custom", false},
                                                  {"formula", ""}}));
    EXPECT_EQ(bolt["columns"][3]["formula"], "{d}*2");
    EXPECT_EQ(bolt["columns"][5]["formula"], "\"M\" & {d} & \"x\" & {l}");
    EXPECT_EQ(bolt["columns"][4]["hidden"], true);

    const nlohmann::json german = Json({"family", "show", bolt_, "--lang", "DE-de"});
    EXPECT_EQ(german["name"], "Sechskantschraube");
    EXPECT_EQ(german["columns"][1]["title"], "Nenndurchmesser");
    // A language without strings file falls back to the document's own texts.
    EXPECT_EQ(Json({"family", "show", bolt_, "--lang", "fr-FR"})["name"], "Hex bolt");

    const ToolRun text = RunTool({"family", "show", bolt_});
    EXPECT_EQ(text.exitCode, 0) << text.err;
    EXPECT_TRUE(text.out.starts_with("Hex bolt\n  id ")) << text.out;
    EXPECT_NE(text.out.find("\nColumns (6)\n  id "), std::string::npos) << text.out;
    EXPECT_NE(
        text.out.find("\n  dw           Washer            double   mm                 {d}*2\n"),
        std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("\n  n            Count             integer             hidden\n"),
              std::string::npos)
        << text.out;
}

TEST_F(FamilyFileTest, TableShowsStoredCellsAndEvalTheirValues) {
    const ToolRun raw = RunTool({"family", "table", bolt_, "--columns", "size,dw,designation"});
    EXPECT_EQ(raw.exitCode, 0) << raw.err;
    const std::vector<std::string> lines = Lines(raw.out);
    ASSERT_EQ(lines.size(), 4u) << raw.out;
    EXPECT_EQ(lines[0], "#  size  dw      designation             member id");
    EXPECT_EQ(lines[1], "1  M6    ={d}*2  =\"M\" & {d} & \"x\" & {l}  " + std::string(kBoltRow1));
    EXPECT_EQ(lines[2], "2  M8    17      =\"M\" & {d} & \"x\" & {l}  " + std::string(kBoltRow2));

    const nlohmann::json rawJson = Json({"family", "table", bolt_, "--member", "M8"});
    ASSERT_EQ(rawJson["members"].size(), 1u);
    EXPECT_EQ(rawJson["members"][0]["cells"],
              nlohmann::json({{"size", "M8"}, {"d", "8"}, {"l", "30"}, {"dw", "17"}}));

    const nlohmann::json values =
        Json({"family", "eval", bolt_, "--member", "3", "--member", kBoltRow1, "--columns",
              "Washer", "--columns", "designation,n"});
    ASSERT_EQ(values["members"].size(), 2u);
    EXPECT_EQ(values["members"][0]["row"], 3);
    EXPECT_EQ(values["members"][0]["values"],
              nlohmann::json({{"dw", "20"}, {"designation", "M10x40"}, {"n", ""}}));
    EXPECT_EQ(values["members"][1]["values"],
              nlohmann::json({{"dw", "12"}, {"designation", "M6x20"}, {"n", "2"}}));
    EXPECT_EQ(values["members"][1]["errors"], nlohmann::json::object());
}

TEST_F(FamilyFileTest, EvalMarksFailedCellsAndExplainsTheMarks) {
    const nlohmann::json values = Json({"family", "eval", broken_, "--member", "r1"});
    EXPECT_EQ(values["members"][0]["errors"]["a"],
              nlohmann::json({{"error", "#circular"},
                              {"code", 1},
                              {"message", "circular reference: the value depends on itself"}}));
    EXPECT_EQ(values["members"][0]["errors"]["e"]["error"], "#syntax");
    EXPECT_EQ(values["members"][0]["values"]["d"], "6");

    const ToolRun text = RunTool({"family", "eval", broken_, "--columns", "a,c"});
    EXPECT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find("\n1  #circular  #novalue  r1\n"), std::string::npos) << text.out;
    EXPECT_TRUE(text.out.ends_with(
        "\nErrors\n"
        "  #circular  circular reference: the value depends on itself  4 cells\n"
        "  #novalue   the evaluation left no value                     4 cells\n"))
        << text.out;
}

TEST_F(FamilyFileTest, ValidateReportsEveryKindOfFindingAndExitsOne) {
    const ToolRun run = RunTool({"family", "validate", broken_, "--json"});
    EXPECT_EQ(run.exitCode, 1);
    const nlohmann::json report = ParseJson(run);
    std::map<std::string, std::vector<std::string>> found;  // check -> columns
    for (const nlohmann::json& finding : report["findings"]) {
        found[finding["check"]].push_back(finding["column"]);
    }
    EXPECT_EQ(found["formula"], (std::vector<std::string>{"a", "b", "c", "e"}));
    EXPECT_EQ(found["value"], (std::vector<std::string>{"d", "n"}));
    EXPECT_EQ(found["evaluation"], std::vector<std::string>{"f"});
    EXPECT_EQ(found["unique"], (std::vector<std::string>{"d", "size,d"}));
    EXPECT_EQ(report["count"], report["findings"].size());
    EXPECT_EQ(run.err, "vardel: " + broken_ + ": " + std::to_string(report["count"].get<int>()) +
                           " findings\n");
    const nlohmann::json& unique = report["findings"].back();
    EXPECT_EQ(unique["members"],
              nlohmann::json::array({{{"row", 3}, {"id", "r3"}}, {{"row", 4}, {"id", "r4"}}}));
    EXPECT_EQ(unique["message"], "key \"M8,8\" repeats");
    EXPECT_EQ(report["findings"][report["count"].get<std::size_t>() - 2]["code"], 3);

    const ToolRun clean = RunTool({"family", "validate", bolt_});
    EXPECT_EQ(clean.exitCode, 0) << clean.out << clean.err;
    EXPECT_EQ(clean.out, "no findings\n");
}

TEST_F(FamilyFileTest, NamesOfMembersAndColumnsFollowTheNameRules) {
    const ToolRun ambiguous = RunTool({"family", "eval", broken_, "--member", "m8"});
    EXPECT_EQ(ambiguous.exitCode, 1);
    EXPECT_NE(ambiguous.err.find("member name \"m8\" is ambiguous"), std::string::npos)
        << ambiguous.err;
    const ToolRun outside = RunTool({"family", "table", bolt_, "--member", "4"});
    EXPECT_EQ(outside.exitCode, 1);
    EXPECT_EQ(outside.err, "vardel: no member named \"4\"\n");
    const ToolRun column = RunTool({"family", "table", bolt_, "--columns", "size,weight"});
    EXPECT_EQ(column.exitCode, 1);
    EXPECT_EQ(column.err, "vardel: no column named \"weight\"\n");
}

TEST_F(ToolTest, FamilyCommandsReadTheCatalogueCopy) {
    const nlohmann::json screw = Json({"family", "show", "screw a (beta)"});
    EXPECT_EQ(screw["id"], kScrew);
    EXPECT_EQ(screw["name"], "Screw A (Beta)");
    EXPECT_EQ(screw["library"], "Beta");
    EXPECT_EQ(screw["file"], "");
    EXPECT_EQ(screw["members"], 2);
    EXPECT_EQ(screw["languages"], nlohmann::json::array({"en-us"}));
    EXPECT_EQ(Json({"family", "show", kScrew, "--library", "Alpha"})["members"], 3);

    const nlohmann::json values = Json({"family", "eval", kScrew, "--member", "M10"});
    EXPECT_EQ(values["members"][0]["values"],
              nlohmann::json({{"size", "M10"}, {"d", "10"}, {"l", "40"}}));
    const ToolRun validate = Run({"family", "validate", "Tool B"});
    EXPECT_EQ(validate.exitCode, 0) << validate.err;

    const ToolRun hidden = Run({"family", "table", kPrivate});
    EXPECT_EQ(hidden.exitCode, 1);
    EXPECT_EQ(hidden.err, "vardel: no family with id \"" + std::string(kPrivate) + "\"\n");
    EXPECT_EQ(Json({"family", "table", "Private screw", "--user", "alice"})["members"].size(), 1u);
}

TEST_F(ToolTest, ExportedFamilyIsReadAndEditedAsAFile) {
    const std::string file = (folder_.path() / "screw.family.xml").string();
    const ToolRun exported = Run({"family", "export", "Screw A (Beta)", "-o", file});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    const std::string strings = (folder_.path() / "screw.strings.en-us.xml").string();
    EXPECT_EQ(exported.out, file + "\n" + strings + "\n");
    EXPECT_TRUE(std::filesystem::exists(strings));

    ASSERT_EQ(RunTool({"family", "set", file, "M10", "l", "45", "-o", file}).exitCode, 0);
    const nlohmann::json edited =
        ParseJson(RunTool({"family", "eval", file, "--member", "M10", "--json"}));
    EXPECT_EQ(edited["members"][0]["values"]["l"], "45");
    EXPECT_EQ(ParseJson(RunTool({"family", "show", file, "--json"}))["id"], kScrew);

    const ToolRun notXml = Run({"family", "export", kScrew, "-o", file + ".txt"});
    EXPECT_EQ(notXml.exitCode, 2);
    EXPECT_NE(notXml.err.find("ending in .xml"), std::string::npos) << notXml.err;
    EXPECT_EQ(Run({"family", "export", file, "-o", file}).exitCode, 2);
    EXPECT_EQ(Run({"family", "export", "Screw B", "-o", file}).exitCode, 1);
}

}  // namespace
}  // namespace VardelToolTest
