// vardel show --thumbnail: a thumbnail travels from a library folder
// through the catalogue into a file byte for byte, whichever its kind; the
// copy the merge chose gives it; a family without one, an unwritable
// target and a bad image in the sources fail with a message.
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "test_catalog.h"

namespace VardelToolTest {
namespace {

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(ToolTest, ThumbnailsArriveByteForByte) {
    const struct {
        std::vector<std::string> family;
        std::string file;
        std::string bytes;
    } cases[] = {
        // The merge chose Beta's copy of Screw A.
        {{kScrew}, "screw.png", BetaScrewThumbnail()},
        {{kScrew, "--library", "Alpha"}, "alpha-screw.png", AlphaScrewThumbnail()},
        {{"Tool B"}, "tool.bmp", ToolThumbnail()},
        {{"beta pin"}, "pin.ico", PinThumbnail()},
    };
    for (const auto& c : cases) {
        const std::string out = (folder_.path() / c.file).string();
        std::vector<std::string> args{"show"};
        args.insert(args.end(), c.family.begin(), c.family.end());
        args.insert(args.end(), {"--thumbnail", out});
        const ToolRun run = Run(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, out + "\n");
        EXPECT_EQ(FileBytes(out), c.bytes) << c.file;
    }
}

TEST_F(ToolTest, ThumbnailFailuresLeaveTheTargetAlone) {
    const std::filesystem::path out = folder_.path() / "kept.png";
    WriteText(out, "previous");
    const ToolRun none = Run({"show", kTwinBeta, "--thumbnail", out.string()});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "vardel: family \"" + std::string(kTwinBeta) + "\" has no thumbnail\n");
    EXPECT_EQ(FileBytes(out), "previous");

    const std::string nowhere = (folder_.path() / "no-such-folder" / "x.png").string();
    const ToolRun unwritable = Run({"show", "Tool B", "--thumbnail", nowhere});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_EQ(unwritable.err, "vardel: cannot write " + nowhere + "\n");

    const ToolRun unknown = Run({"show", "no such family", "--thumbnail", out.string()});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_EQ(FileBytes(out), "previous");

    const ToolRun both = Run({"show", "Tool B", "--thumbnail", out.string(), "--json"});
    EXPECT_EQ(both.exitCode, 2);
    EXPECT_EQ(FileBytes(out), "previous");
}

TEST(ThumbnailSources, BuildRefusesABadImageNamingBothFiles) {
    TempFolder folder;
    const std::vector<std::string> sources = WriteTestSources(folder.path());
    const std::filesystem::path image = folder.path() / "alpha" / "thumbnails" / "tool.bmp";
    WriteText(image, "BM is not enough");
    const ToolRun failed = RunTool({"catalog", "check", sources[0]});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.err,
              "vardel: " +
                  (folder.path() / "alpha" / "families" / "tool.csvfamily.xml").generic_string() +
                  ": attribute Thumbnail: " + image.generic_string() +
                  " is not a PNG, BMP or ICO image\n");
}

}  // namespace
}  // namespace VardelToolTest
