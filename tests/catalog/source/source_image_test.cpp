// Images that sources name: the kinds told by their first bytes, the paths
// and files refused with what is wrong, and the messages of the readers
// that name the file holding the path.
#include "source/source_image.h"

#include <gtest/gtest.h>

#include "source_test_util.h"

namespace VardelSourceTest {
namespace {

using VardelTestImages::Bmp;
using VardelTestImages::Ico;
using VardelTestImages::Png;

// `bytes` with the little-endian `value` of `size` bytes written at `at`.
std::string Patched(std::string bytes, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i) & 0xFF);
    return bytes;
}

TEST(SourceImage, KindsAreToldByTheirFirstBytes) {
    const std::string png = Png(0x123456), bmp = Bmp(0x123456), ico = Ico(0x123456);
    const struct {
        const char* what;
        std::string bytes;
        std::string_view type;
    } cases[] = {
        {"PNG", png, "image/png"},
        {"BMP", bmp, "image/bmp"},
        {"BMP, core header", Patched(bmp, 14, 12, 4), "image/bmp"},
        {"BMP, version 5 header",
         Patched(Patched(bmp + std::string(84, '\0'), 14, 124, 4), 10, 138, 4), "image/bmp"},
        {"ICO", ico, "image/x-icon"},
        {"PNG without its IHDR chunk", png.substr(0, 8) + std::string(25, '\0'), ""},
        {"PNG cut after the signature", png.substr(0, 32), ""},
        {"BMP with an unknown header size", Patched(bmp, 14, 41, 4), ""},
        {"BMP whose header runs past the end", bmp.substr(0, 40), ""},
        {"BMP with pixels past the end", Patched(bmp, 10, 59, 4), ""},
        {"BMP with pixels inside the headers", Patched(bmp, 10, 53, 4), ""},
        {"ICO with no image", Patched(ico, 4, 0, 2), ""},
        {"a cursor", Patched(ico, 2, 2, 2), ""},
        {"ICO with a reserved field set", Patched(ico, 0, 1, 2), ""},
        {"ICO cut inside its directory", ico.substr(0, 21), ""},
        {"GIF", "GIF89a\x01\x00\x01\x00\x00\x00\x00", ""},
        {"text", "BM but not really", ""},
        {"nothing", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ImageMediaType(c.bytes), c.type) << c.what;
    }
}

class SourceImageFile : public ::testing::Test {
  protected:
    // Reads `path` relative to the folder's families/.
    bool Read(std::wstring_view path) {
        return ReadSourceImage(folder.path(), folder.path() / "families", path, image, problem);
    }
    std::string Families() const { return (folder.path() / "families").generic_string(); }

    LibraryFolder folder;
    ImageSource image;
    std::string problem;
};

TEST_F(SourceImageFile, ReadsTheBytesAsTheyAre) {
    folder.Write("families/img/a.png", Png(1));
    folder.Write("thumbnails/b.ico", Ico(2));
    const struct {
        const wchar_t* path;
        std::string bytes;
    } cases[] = {
        {L"img/a.png", Png(1)},
        {L"img\\a.png", Png(1)},
        {L"./img/../img/a.png", Png(1)},
        {L"../thumbnails/b.ico", Ico(2)},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Read(c.path)) << problem;
        EXPECT_EQ(image.bytes, c.bytes);
    }
    EXPECT_EQ(image.mediaType, "image/x-icon");

    // The largest file allowed.
    std::string largest = Png(3);
    largest.resize(kMaxImageBytes, '\0');
    folder.Write("families/img/largest.png", largest);
    EXPECT_TRUE(Read(L"img/largest.png")) << problem;
    EXPECT_EQ(image.bytes.size(), kMaxImageBytes);

    // No path, no image.
    EXPECT_TRUE(Read(L""));
    EXPECT_TRUE(image.bytes.empty());
    EXPECT_TRUE(image.mediaType.empty());
}

TEST_F(SourceImageFile, RefusesWhatIsNoImageOfTheLibrary) {
    std::string tooLarge = Png(3);
    tooLarge.resize(kMaxImageBytes + 1, '\0');
    folder.Write("families/img/large.png", tooLarge);
    folder.Write("families/img/empty.png", "");
    folder.Write("families/img/text.png", "not an image at all");
    folder.Write("families/img/a.png", Png(1));
    TempFolder outside;
    const auto stranger = outside.path() / "stranger.png";
    ASSERT_TRUE(VardelCommon::WriteFileAtomically(stranger, Png(4)));
    std::filesystem::create_symlink(stranger, folder.path() / "families/img/link.png");

    const struct {
        const wchar_t* path;
        std::string problem;
    } cases[] = {
        {L"img/gone.png", Families() + "/img/gone.png does not exist"},
        {L"img/empty.png", Families() + "/img/empty.png is empty"},
        {L"img/large.png", Families() + "/img/large.png is larger than 1 MiB"},
        {L"img/text.png", Families() + "/img/text.png is not a PNG, BMP or ICO image"},
        {L"img", Families() + "/img is not a file"},
        {L"../../x.png", "\"../../x.png\" leaves the library folder"},
        {L"img/../../../a.png", "\"img/../../../a.png\" leaves the library folder"},
        {L"img/link.png", "\"img/link.png\" leaves the library folder"},
        {L"/etc/passwd", "\"/etc/passwd\" is not a relative path"},
        {L"\\\\server\\share\\a.png", "\"\\\\server\\share\\a.png\" is not a relative path"},
        {L"C:\\lib\\a.png", "\"C:\\lib\\a.png\" is not a relative path"},
    };
    for (const auto& c : cases) {
        image.bytes = "left over";
        EXPECT_FALSE(Read(c.path)) << problem;
        EXPECT_EQ(problem, c.problem);
        EXPECT_TRUE(image.bytes.empty()) << problem;
    }
}

// The readers name the file that holds the path, and the attribute.
TEST(SourceImageReaders, NameTheFileThatNamesTheImage) {
    LibraryFolder folder;
    const std::string root = folder.path().generic_string();
    const LibraryIndex index(folder.Library());
    FamilySource family;
    SourceError error;

    const auto csv = folder.Write(
        "families/sub/f.csvfamily.xml",
        CsvDescriptionXml(R"(<Name Lang="en-US">F</Name><Category Ref="@10"/><Column Name="a"/>)",
                          " Thumbnail='img/f.png'"));
    folder.Write("families/sub/f.csv", "a\n1\n");
    EXPECT_FALSE(ReadFamily(csv, index, family, error));
    EXPECT_EQ(error.ToString(), root + "/families/sub/f.csvfamily.xml: attribute Thumbnail: " +
                                    root + "/families/sub/img/f.png does not exist");
    folder.Write("families/sub/img/f.png", Png(5));
    ASSERT_TRUE(ReadFamily(csv, index, family, error)) << error.ToString();
    EXPECT_EQ(family.thumbnailImage.bytes, Png(5));
    EXPECT_EQ(family.thumbnailImage.mediaType, "image/png");

    const auto document =
        folder.Write("families/d.family.xml",
                     Ids(R"(<Family InternalName="@200" LastModifiedTime="2024-04-01T10:00:00Z">)"
                         R"(<Thumbnail><File FullFileName="..\..\d.bmp"/></Thumbnail>)"
                         R"(<Categories><Category InternalName="@10"/></Categories></Family>)"));
    EXPECT_FALSE(ReadFamily(document, index, family, error));
    EXPECT_EQ(error.ToString(), root +
                                    "/families/d.family.xml: element Thumbnail/File: "
                                    "\"..\\..\\d.bmp\" leaves the library folder");

    std::string xml = StandardLibraryXml();
    folder.Write("library.xml", xml.replace(xml.find("icons/f.ico"), 11, "icons/f.txt"));
    folder.Write("icons/f.txt", "an icon?");
    LibrarySource library;
    EXPECT_FALSE(ReadLibraryDescription(folder.path(), library, error));
    EXPECT_EQ(error.ToString(), root + "/library.xml:13: element Category: attribute Icon: " +
                                    root + "/icons/f.txt is not a PNG, BMP or ICO image");
}

}  // namespace
}  // namespace VardelSourceTest
