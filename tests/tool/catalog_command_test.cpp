// vardel catalog build|check|info: what a build reports and writes, that a
// failed build names the faulty line and keeps the previous file, that a
// check writes nothing, and what info tells about each library.
#include <filesystem>

#include <gtest/gtest.h>

#include "support/file_bytes.h"
#include "test_catalog.h"

namespace VardelToolTest {
namespace {

std::vector<std::string> BuildArgs(const std::vector<std::string>& sources,
                                   const std::string& output) {
    std::vector<std::string> args{"catalog", "build"};
    args.insert(args.end(), sources.begin(), sources.end());
    args.insert(args.end(), {"-o", output});
    return args;
}

TEST(CatalogCommand, BuildReportsCountsWithoutProgressOffTerminal) {
    TempFolder folder;
    const auto sources = WriteTestSources(folder.path());
    const std::string output = (folder.path() / "out.catalog").string();
    const ToolRun built = RunTool(BuildArgs(sources, output));
    EXPECT_EQ(built.exitCode, 0);
    EXPECT_EQ(built.out, "built " + output + ": 3 libraries, 8 families, 12 members\n");
    EXPECT_EQ(built.err, "");
    EXPECT_TRUE(std::filesystem::is_regular_file(output));
}

TEST(CatalogCommand, CheckReadsEverythingAndWritesNothing) {
    TempFolder folder;
    auto sources = WriteTestSources(folder.path());
    const std::size_t before = VardelTest::EntriesIn(folder.path());
    const ToolRun checked = RunTool({"catalog", "check", sources[0], sources[1], sources[2]});
    EXPECT_EQ(checked.exitCode, 0) << checked.err;
    EXPECT_EQ(checked.out, "ok: 3 libraries, 8 families, 12 members\n");
    EXPECT_EQ(VardelTest::EntriesIn(folder.path()), before);
}

TEST(CatalogCommand, FailedBuildNamesTheLineAndKeepsThePreviousFile) {
    TempFolder folder;
    const auto sources = WriteTestSources(folder.path());
    const std::string output = (folder.path() / "out.catalog").string();
    ASSERT_EQ(RunTool(BuildArgs(sources, output)).exitCode, 0);
    const VardelTest::Bytes previous = VardelTest::ReadBytes(output);
    WriteText(folder.path() / "alpha" / "families" / "screw.csv", "size,d,l\nM4,4,10\nM6,six,20\n");

    const ToolRun failed = RunTool(BuildArgs(sources, output));
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.out, "");
    EXPECT_NE(failed.err.find("screw.csv:3"), std::string::npos) << failed.err;
    EXPECT_EQ(Lines(failed.err).size(), 1u);
    EXPECT_EQ(VardelTest::ReadBytes(output), previous);
    const ToolRun checked = RunTool({"catalog", "check", sources[0]});
    EXPECT_EQ(checked.exitCode, 1);
    EXPECT_EQ(checked.err, failed.err);
}

TEST_F(ToolTest, InfoDescribesLibrariesReadersCountsAndLanguages) {
    const nlohmann::json info = Json({"catalog", "info"});
    EXPECT_EQ(info["file"], catalog_);
    EXPECT_EQ(info["size"], std::filesystem::file_size(catalog_));
    const nlohmann::json& libraries = info["libraries"];
    ASSERT_EQ(libraries.size(), 3u);
    const auto expect = [&](std::size_t i, const char* name, std::size_t families,
                            std::size_t members, const nlohmann::json& readers) {
        EXPECT_EQ(libraries[i]["name"], name);
        EXPECT_EQ(libraries[i]["families"], families) << name;
        EXPECT_EQ(libraries[i]["members"], members) << name;
        EXPECT_EQ(libraries[i]["readers"], readers) << name;
        EXPECT_EQ(libraries[i]["restricted"], !readers.empty()) << name;
        EXPECT_EQ(libraries[i]["defaultLanguage"], "en-us") << name;
    };
    expect(0, "Alpha", 4, 7, nlohmann::json::array());
    expect(1, "Beta", 3, 4, nlohmann::json::array());
    expect(2, "Gamma", 1, 1, nlohmann::json::array({"alice"}));
    EXPECT_EQ(libraries[0]["languages"], nlohmann::json::array({"de-de", "en-us"}));
    EXPECT_EQ(libraries[0]["id"], "10000000-0000-0000-0000-00000000000a");

    const ToolRun text = RunTool({"catalog", "info", catalog_});
    EXPECT_EQ(text.exitCode, 0);
    const std::vector<std::string> lines = Lines(text.out);
    ASSERT_EQ(lines.size(), 5u) << text.out;
    EXPECT_EQ(lines[0], catalog_ + ": " + std::to_string(std::filesystem::file_size(catalog_)) +
                            " bytes, 3 libraries");
    EXPECT_EQ(lines[4],
              "  Gamma    10000000-0000-0000-0000-00000000000c  en-us             alice      1  "
              "       1        de-de, en-us");
}

}  // namespace
}  // namespace VardelToolTest
