// vardel icon list|extract|build: images listed from an ICO file and from
// one or every icon group of a PE32 file, an image extracted byte for byte as an
// ICO, through PNG and BMP and built back, and refused inputs that exit
// with a message and leave the target alone.
#include <gtest/gtest.h>

#include "images/image_builders.h"
#include "support/temp_folder.h"
#include "tool_runner.h"

namespace VardelToolTest {
namespace {

using ImagesTest::Bytes;
using VardelTest::ReadBytes;
using VardelTest::WriteBytes;

class IconTest : public ::testing::Test {
  protected:
    IconTest() {
        WriteBytes(Path("two.ico"), ImagesTest::IcoFile({small_, large_}));
        const std::vector<ImagesTest::Resource> resources{
            {3, std::uint16_t{1}, small_},
            {3, std::uint16_t{2}, large_},
            {3, std::uint16_t{3}, large_},
            {14, std::uint16_t{7}, ImagesTest::IconGroup({small_, large_}, 1)},
            {14, std::wstring(L"MAIN"), ImagesTest::IconGroup({large_}, 3)},
        };
        WriteBytes(Path("tools.dll"), ImagesTest::PeFile(false, resources));
    }

    std::string Path(const std::string& name) const { return (folder_.path() / name).string(); }

    // The images of `args`'s icon as (width, height, bits, bytes) rows.
    std::vector<std::vector<int>> Listed(std::vector<std::string> args) {
        args.insert(args.begin(), {"icon", "list"});
        args.push_back("--json");
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        std::vector<std::vector<int>> rows;
        const nlohmann::json listed = ParseJson(run);
        for (const nlohmann::json& image : listed["images"]) {
            rows.push_back({image["width"], image["height"], image["bits"], image["bytes"]});
        }
        return rows;
    }

    const Bytes small_ = ImagesTest::IconImage(16, 16, 8, 3);
    const Bytes large_ = ImagesTest::IconImage(32, 32, 32, 5);
    TempFolder folder_;
};

TEST_F(IconTest, ListsIcoImagesAndProgramFileGroups) {
    const ToolRun text = RunTool({"icon", "list", Path("two.ico")});
    EXPECT_EQ(text.exitCode, 0) << text.err;
    EXPECT_EQ(Lines(text.out), (std::vector<std::string>{"index  width  height  bits  bytes",
                                                         "0      16     16      8     1384",
                                                         "1      32     32      32    4264"}));
    const std::vector<std::vector<int>> both{{16, 16, 8, 1384}, {32, 32, 32, 4264}};
    EXPECT_EQ(Listed({Path("two.ico")}), both);
    EXPECT_EQ(Listed({Path("tools.dll"), "--group", "7"}), both);
    EXPECT_EQ(Listed({Path("tools.dll"), "--group", "main"}),
              (std::vector<std::vector<int>>{{32, 32, 32, 4264}}));

    // Without --group every group is listed, named as --group takes it.
    const ToolRun groups = RunTool({"icon", "list", Path("tools.dll")});
    EXPECT_EQ(groups.exitCode, 0) << groups.err;
    EXPECT_EQ(
        Lines(groups.out),
        (std::vector<std::string>{
            "group MAIN", "index  width  height  bits  bytes", "0      32     32      32    4264",
            "", "group #7", "index  width  height  bits  bytes", "0      16     16      8     1384",
            "1      32     32      32    4264"}));
    const nlohmann::json json = ParseJson(RunTool({"icon", "list", Path("tools.dll"), "--json"}));
    ASSERT_EQ(json["groups"].size(), 2u);
    EXPECT_EQ(json["groups"][1]["group"], "#7");
    EXPECT_EQ(json["groups"][1]["images"].size(), 2u);
}

TEST_F(IconTest, ExtractsTheSingleImageIcoByteForByte) {
    const Bytes single = ImagesTest::IcoFile({large_});
    // A program file's first group is MAIN: texts come before ids.
    for (const std::vector<std::string>& source :
         {std::vector<std::string>{Path("two.ico"), "--index", "1"},
          std::vector<std::string>{Path("tools.dll"), "--group", "MAIN"},
          std::vector<std::string>{Path("tools.dll")}}) {
        std::vector<std::string> args{"icon", "extract"};
        args.insert(args.end(), source.begin(), source.end());
        args.insert(args.end(), {"-o", Path("one.ICO")});
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(ReadBytes(Path("one.ICO")), single);
    }
}

TEST_F(IconTest, PngAndBmpExtractsBuildBackToTheSameSizes) {
    for (const char* name : {"large.png", "small.bmp", "small.png"}) {
        const std::string index = name[0] == 'l' ? "1" : "0";
        const ToolRun run =
            RunTool({"icon", "extract", Path("two.ico"), "--index", index, "-o", Path(name)});
        EXPECT_EQ(run.exitCode, 0) << name << ": " << run.err;
    }
    const Bytes png = ReadBytes(Path("large.png"));
    ASSERT_GE(png.size(), 8u);
    EXPECT_EQ(Bytes(png.begin() + 1, png.begin() + 4), (Bytes{'P', 'N', 'G'}));

    const ToolRun build = RunTool({"icon", "build", Path("small.bmp"), Path("large.png"),
                                   Path("small.png"), "-o", Path("back.ico")});
    EXPECT_EQ(build.exitCode, 0) << build.err;
    const std::vector<std::vector<int>> listed = Listed({Path("back.ico")});
    ASSERT_EQ(listed.size(), 3u);
    // A BMP keeps its depth (and its bytes: same pixels, same opaque mask size).
    EXPECT_EQ(listed[0], (std::vector<int>{16, 16, 8, 1384}));
    EXPECT_EQ((std::vector<int>{listed[1][0], listed[1][1], listed[1][2]}),
              (std::vector<int>{32, 32, 32}));
    EXPECT_EQ((std::vector<int>{listed[2][0], listed[2][1], listed[2][2]}),
              (std::vector<int>{16, 16, 32}));

    // The PNG of the rebuilt image is the PNG it was built from.
    const ToolRun again =
        RunTool({"icon", "extract", Path("back.ico"), "--index", "1", "-o", Path("again.png")});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(ReadBytes(Path("again.png")), png);
}

TEST_F(IconTest, RefusedInputsWriteNothing) {
    WriteBytes(Path("out.ico"), {'o', 'l', 'd'});
    WriteBytes(Path("text.ico"), {'h', 'e', 'l', 'l', 'o', '!', '!'});
    WriteBytes(Path("wide.bmp"), ImagesTest::BmpFile(ImagesTest::InfoHeader(300, 1, 24)));
    const Bytes two = ReadBytes(Path("two.ico"));
    WriteBytes(Path("cut.ico"), Bytes(two.begin(), two.end() - 100));
    WriteBytes(Path("junk.bmp"), {'B', 'M', 0, 0});
    WriteBytes(Path("bare.dll"), ImagesTest::PeFile(false, {{3, std::uint16_t{1}, small_}}));
    WriteBytes(Path("junk.png"), {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13});
    const std::string missing = Path("missing.ico");
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string message;
    } cases[] = {
        {{"extract", missing, "-o", Path("out.ico")},
         1,
         missing + ": Error when opening an icon file!"},
        {{"extract", Path("text.ico"), "-o", Path("out.ico")},
         1,
         Path("text.ico") + ": Error when reading header of an icon file!"},
        {{"extract", Path("two.ico"), "--index", "2", "-o", Path("out.ico")},
         1,
         "image 2 does not exist: " + Path("two.ico") + " has 2 images"},
        {{"extract", Path("bare.dll"), "-o", Path("out.ico")},
         1,
         Path("bare.dll") + " has no icon groups"},
        {{"list", Path("two.ico"), "--group", "7"},
         1,
         Path("two.ico") + " is not a program file: --group does not apply"},
        {{"extract", Path("tools.dll"), "--group", "8", "-o", Path("out.ico")},
         1,
         Path("tools.dll") + ": no readable icon group \"8\""},
        {{"list", Path("cut.ico")},
         1,
         Path("cut.ico") + ": Error when reading content of an icon!"},
        {{"build", Path("junk.bmp"), "-o", Path("out.ico")},
         1,
         Path("junk.bmp") + ": not a BMP image"},
        {{"build", Path("junk.png"), "-o", Path("out.ico")},
         1,
         Path("junk.png") + ": not a readable PNG image"},
        {{"build", Path("wide.bmp"), "-o", Path("out.ico")},
         1,
         Path("wide.bmp") + ": the image is 300 x 1 pixels; icon images are at most 256 x 256"},
        {{"build", Path("two.ico"), "-o", Path("out.ico")}, 2, ""},
        {{"extract", Path("two.ico"), "-o", Path("out.gif")}, 2, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"icon"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_EQ(run.out, "");
        if (!c.message.empty()) {
            EXPECT_EQ(run.err, "vardel: " + c.message + "\n");
        }
        EXPECT_EQ(ReadBytes(Path("out.ico")), (Bytes{'o', 'l', 'd'})) << run.err;
    }
    EXPECT_EQ(VardelTest::EntriesIn(folder_.path()), 9u);
}

}  // namespace
}  // namespace VardelToolTest
