// Bad input from the command line or the disk: each gives one line
// "vardel: ..." on standard error, nothing on standard output, and the
// documented exit code (2 usage, 1 failure), never a crash or a hang.
#include <filesystem>

#include <gtest/gtest.h>

#include "test_catalog.h"

namespace VardelToolTest {
namespace {

struct BadInput {
    const char* what;
    std::vector<std::string> args;
    int exitCode;
    std::string message;  ///< Expected in the one line of standard error.
};

class BadInputTest : public ToolTest {
  protected:
    void Expect(const BadInput& test) const {
        const ToolRun run = RunTool(test.args);
        EXPECT_EQ(run.exitCode, test.exitCode) << test.what << ": " << run.err;
        EXPECT_EQ(run.out, "") << test.what;
        const std::vector<std::string> lines = Lines(run.err);
        ASSERT_EQ(lines.size(), 1u) << test.what << ": " << run.err;
        EXPECT_TRUE(lines[0].starts_with("vardel: ")) << lines[0];
        EXPECT_NE(lines[0].find(test.message), std::string::npos) << test.what << ": " << lines[0];
    }
};

TEST_F(BadInputTest, ExitCodesAndMessages) {
    const std::filesystem::path corrupt = folder_.path() / "corrupt.catalog";
    WriteText(corrupt, std::string(5000, 'x'));
    const std::filesystem::path file = folder_.path() / "plain-file";
    WriteText(file, "not a folder");
    const std::filesystem::path family = folder_.path() / "bad.family.xml";
    WriteText(family, "<Family>\n<FamilyTable>\n</Family>\n");
    const std::filesystem::path tableless = folder_.path() / "tableless.family.xml";
    WriteText(tableless, "<Family InternalName=\"x\"/>");
    const std::filesystem::path folderXml = folder_.path() / "folder.family.xml";
    std::filesystem::create_directory(folderXml);
    const std::string c = catalog_;
    const std::vector<BadInput> cases = {
        {"unknown command", {"frobnicate"}, 2, "unknown command \"frobnicate\""},
        {"unknown sub-command", {"favorites", "frobnicate"}, 2, "unknown command"},
        {"no command", {}, 2, "subcommand is required"},
        {"unknown option", {"browse", "--bogus", "--catalog", c}, 2, "--bogus"},
        {"depth zero", {"browse", "--depth", "0", "--catalog", c}, 2, "--depth"},
        {"where without operator",
         {"search", "--where", "Diameter", "--catalog", c},
         2,
         "malformed --where"},
        {"where without value", {"search", "--where", "Diameter>=", "--catalog", c}, 2, "no value"},
        {"where without name", {"search", "--where", "=8", "--catalog", c}, 2, "no parameter name"},
        {"where with bad operator",
         {"search", "--where", "Diameter!8", "--catalog", c},
         2,
         "unknown operator"},
        {"where with empty list item",
         {"search", "--where", "Size in M4,,M6", "--catalog", c},
         2,
         "empty value"},
        {"negative tolerance",
         {"search", "--where", "Diameter=8", "--tolerance", "-1", "--catalog", c},
         2,
         "--tolerance"},
        {"missing catalogue", {"browse", "--catalog", c + ".missing"}, 1, "cannot read catalogue"},
        {"corrupt catalogue", {"browse", "--catalog", corrupt.string()}, 1, "not a catalogue file"},
        {"corrupt catalogue info",
         {"catalog", "info", corrupt.string()},
         1,
         "not a catalogue file"},
        {"unknown family",
         {"show", "no such family", "--catalog", c},
         1,
         "no family named \"no such family\""},
        {"unknown family id", {"show", kPrivate, "--catalog", c}, 1, "no family with id"},
        {"name with a line break",
         {"show", "x\ny\x1b[2J", "--catalog", c},
         1,
         "no family named \"x\\ny\\x1B[2J\""},
        {"unknown category",
         {"browse", "Parts/Nuts", "--catalog", c},
         1,
         "no category named \"Nuts\""},
        {"unknown parameter",
         {"search", "--where", "Width=3", "--catalog", c},
         1,
         "no category parameter named \"Width\""},
        {"unknown library",
         {"browse", "--library", "Delta", "--catalog", c},
         1,
         "no library \"Delta\""},
        {"store is a file",
         {"history", "list", "--store", file.string(), "--catalog", c},
         1,
         "is not a folder"},
        {"store cannot be made",
         {"history", "add", kTool, "--store", (file / "sub").string(), "--catalog", c},
         1,
         "cannot create store folder"},
        {"missing store to read",
         {"results", "--store", c + ".none", "--catalog", c},
         1,
         "does not exist"},
        {"missing source folder", {"catalog", "check", c + ".none"}, 1, ".none"},
        {"missing family file",
         {"family", "show", c + ".family.xml"},
         1,
         ".family.xml: no such file"},
        {"family file not well-formed",
         {"family", "table", family.string()},
         1,
         "bad.family.xml:3: not well-formed XML"},
        {"family without table",
         {"family", "eval", tableless.string()},
         1,
         "tableless.family.xml has no family table"},
        {"family file is a folder",
         {"family", "eval", folderXml.string()},
         1,
         "not a regular file"},
        {"unknown family of the catalogue",
         {"family", "validate", "no such family", "--catalog", c},
         1,
         "no family named"},
    };
    for (const BadInput& test : cases) {
        Expect(test);
    }
}

TEST_F(BadInputTest, DefaultCatalogueComesFromTheEnvironment) {
    const ToolRun fromEnvironment = RunTool({"browse", "--json"}, {{"VARDEL_CATALOG", catalog_}});
    EXPECT_EQ(fromEnvironment.exitCode, 0) << fromEnvironment.err;
    EXPECT_EQ(ParseJson(fromEnvironment)["libraries"], nlohmann::json::array({"Alpha", "Beta"}));
    const ToolRun missing = RunTool({"browse"}, {{"VARDEL_CATALOG", catalog_ + ".missing"}});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find(catalog_ + ".missing"), std::string::npos);
}

TEST_F(BadInputTest, HelpGoesToStandardOutputWithAnExample) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--help"},
                                               {"browse", "--help"},
                                               {"favorites", "paste", "--help"},
                                               {"catalog", "build", "--help"}}) {
        const ToolRun help = RunTool(args);
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_EQ(help.err, "");
        EXPECT_NE(help.out.find("Example:\n  vardel "), std::string::npos) << help.out;
    }
    EXPECT_NE(RunTool({"browse", "--help"}).out.find("VARDEL_CATALOG"), std::string::npos);
}

}  // namespace
}  // namespace VardelToolTest
