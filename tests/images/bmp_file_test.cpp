// BMP files: the bytes written for each depth (file header, halved height,
// colour table, padded bottom-up rows, no mask), reading them back into
// DIBs and icon images, and each failure of reading and writing with its
// message.
#include <gtest/gtest.h>

#include <functional>

#include "images/dib.h"
#include "images/image_builders.h"
#include "images/test_hooks.h"
#include "support/temp_folder.h"
#include "vardel/icons.h"

namespace {

using namespace ImagesTest;

// A 3 x 2 picture at one depth: the literal file header and pixel rows
// (bottom row first) its BMP file must hold.
struct Depth {
    std::uint32_t bits;
    Bytes fileHeader;
    Bytes rows;
};

const Depth kDepths[] = {
    {1, {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0}, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}},
    {4, {'B', 'M', 126, 0, 0, 0, 0, 0, 0, 0, 118, 0, 0, 0}, {0x12, 0x30, 0, 0, 0x45, 0x60, 0, 0}},
    {8, {'B', 'M', 0x3E, 0x04, 0, 0, 0, 0, 0, 0, 0x36, 0x04, 0, 0}, {1, 2, 3, 0, 4, 5, 6, 0}},
    {16,
     {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0},
     {0x1F, 0x00, 0xE0, 0x03, 0x00, 0x7C, 0, 0, 0xFF, 0x7F, 0, 0, 0x21, 0x04, 0, 0}},
    {24,
     {'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0},
     {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0}},
    {32,
     {'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0},
     {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}},
};

// The colour table of a depth; 1-bit images are black and white, the only
// table a 1-bit conversion makes.
Bytes TableOf(std::uint32_t bits) {
    if (bits == 1) {
        return {0, 0, 0, 0, 255, 255, 255, 0};
    }
    return Palette(bits <= 8 ? std::size_t{1} << bits : 0);
}

// The 3 x 2 icon image of `depth` with an opaque mask.
Bytes IconImageOf(const Depth& depth) {
    return Concat({InfoHeader(3, 4, depth.bits), TableOf(depth.bits), depth.rows, Bytes(8, 0)});
}

class BmpFileTest : public ::testing::Test {
  protected:
    std::wstring PathOf(const char* name) const { return (folder_.path() / name).wstring(); }
    std::wstring Write(const char* name, const Bytes& bytes) const {
        VardelTest::WriteBytes(folder_.path() / name, bytes);
        return PathOf(name);
    }

    CIcons icons_;
    TempFolder folder_;
};

TEST_F(BmpFileTest, WritesEachDepthAsLaidOut) {
    // The 1-bit header in full: width 3, height 2 (halved), one plane, 1 bit.
    const Bytes oneBitInfo = {40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0,
                              0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(InfoHeader(3, 2, 1), oneBitInfo);
    for (const Depth& depth : kDepths) {
        SCOPED_TRACE(depth.bits);
        OwnedImage image(IconImageOf(depth));
        ASSERT_EQ(image.image.Colors, depth.bits);
        const std::wstring path = PathOf("out.bmp");
        ASSERT_EQ(icons_.IconImageToBMPFile(path.c_str(), &image.image), 1);
        EXPECT_EQ(VardelTest::ReadBytes(path),
                  Concat({depth.fileHeader, InfoHeader(3, 2, depth.bits), TableOf(depth.bits),
                          depth.rows}));
        // The image itself keeps its doubled height.
        EXPECT_EQ(image.Contents(), IconImageOf(depth));
    }
}

TEST_F(BmpFileTest, ReadsEachDepthBackIntoDibAndIconImage) {
    for (const Depth& depth : kDepths) {
        SCOPED_TRACE(depth.bits);
        const Bytes file = Concat(
            {depth.fileHeader, InfoHeader(3, 2, depth.bits), TableOf(depth.bits), depth.rows});
        const std::wstring path = Write("in.bmp", file);
        const std::optional<VardelImages::Buffer> dib = CDib::ReadBMPFile(path.c_str());
        ASSERT_TRUE(dib);
        EXPECT_EQ(Slice(dib->Bytes(), 0), Slice(file, 14));

        OwnedImage image;
        image.image.Width = 3;
        image.image.Height = 2;
        image.image.Colors = depth.bits;
        ASSERT_EQ(icons_.IconImageFromBMPFile(path.c_str(), &image.image, 0), 1);
        EXPECT_EQ(image.Contents(), IconImageOf(depth));
    }
}

TEST_F(BmpFileTest, PixelsStartAtTheOffsetTheHeaderGives) {
    const Depth& depth = kDepths[4];
    Bytes file = Concat({depth.fileHeader, InfoHeader(3, 2, 24), Bytes(6, 0xEE), depth.rows});
    PutU32(file, 10, 60);
    const std::wstring path = Write("gap.bmp", file);
    const std::optional<VardelImages::Buffer> dib = CDib::ReadBMPFile(path.c_str());
    ASSERT_TRUE(dib);
    EXPECT_EQ(Slice(dib->Bytes(), 40), depth.rows);
}

TEST_F(BmpFileTest, TrueColourBmpBecomesA16ColourIconWithDefaultPaletteAndOpaqueMask) {
    Bytes rows;
    for (int i = 0; i < 32 * 32; ++i) {
        rows.insert(rows.end(), {0x00, 0x00, 0xFF});  // pure red, stored blue, green, red
    }
    const std::wstring path = Write("red.bmp", BmpFile(Concat({InfoHeader(32, 32, 24), rows})));
    OwnedImage image;
    image.image.Width = 32;
    image.image.Height = 32;
    image.image.Colors = 4;
    ASSERT_EQ(icons_.IconImageFromBMPFile(path.c_str(), &image.image, 1), 1);
    const Bytes bytes = image.Contents();
    ASSERT_EQ(bytes.size(), 40u + 64 + (16 + 4) * 32);
    EXPECT_EQ(U32At(bytes, 8), 64u);
    const Bytes defaultPalette = {0,   0,   0,   0,   0,   0,   128, 0,   0,   128, 0,   0,   0,
                                  128, 128, 0,   128, 0,   0,   0,   128, 0,   128, 0,   128, 128,
                                  0,   0,   192, 192, 192, 0,   128, 128, 128, 0,   0,   0,   255,
                                  0,   0,   255, 0,   0,   0,   255, 255, 0,   255, 0,   0,   0,
                                  255, 0,   255, 0,   255, 255, 0,   0,   255, 255, 255, 0};
    EXPECT_EQ(Slice(bytes, 40, 104), defaultPalette);
    // Red is entry 9 of the palette: every pixel byte is 0x99.
    EXPECT_EQ(Slice(bytes, 104, 104 + 16 * 32), Bytes(16 * 32, 0x99));
    EXPECT_EQ(Slice(bytes, 104 + 16 * 32), Bytes(4 * 32, 0));
    EXPECT_EQ(image.image.AndBits - image.image.Bits, 104 + 16 * 32);
}

struct BadBmp {
    const char* name;
    std::function<void(Bytes&)> mutate;
    const wchar_t* text;
};

// Offsets: file header 0..13, info header 14..53 (width 18, height 22,
// planes 26, bits 28, colours used 46), colour table from 54.
const BadBmp kBadBmps[] = {
    {"10 bytes", [](Bytes& b) { b.resize(10); }, L"Error when reading header of a bitmap file!"},
    {"type BX", [](Bytes& b) { b[1] = 'X'; }, L"Unknown bitmap format file!"},
    {"reserved word", [](Bytes& b) { b[6] = 1; }, L"Unknown bitmap format file!"},
    {"short info header", [](Bytes& b) { b.resize(40); },
     L"Error when reading a bitmap information header!"},
    {"OS/2 header", [](Bytes& b) { PutU32(b, 14, 12); }, L"Not support a bitmap of OS/2 style!"},
    {"version 5 header", [](Bytes& b) { PutU32(b, 14, 124); },
     L"Not support a bitmap of OS/2 style!"},
    {"width 0", [](Bytes& b) { PutU32(b, 18, 0); },
     L"Fail to reallocate memory a bitmap information header needs!"},
    {"top-down", [](Bytes& b) { PutU32(b, 22, static_cast<std::uint32_t>(-2)); },
     L"Fail to reallocate memory a bitmap information header needs!"},
    {"no bits", [](Bytes& b) { PutU16(b, 28, 0); },
     L"Fail to reallocate memory a bitmap information header needs!"},
    {"64 bits", [](Bytes& b) { PutU16(b, 28, 64); },
     L"Fail to reallocate memory a bitmap information header needs!"},
    {"colour table cut", [](Bytes& b) { b.resize(54 + 1000); },
     L"Error when reading bitmap color table!"},
    {"65535 colours", [](Bytes& b) { PutU32(b, 46, 0xFFFF); },
     L"Error when reading bitmap color table!"},
    {"offset past the end", [](Bytes& b) { PutU32(b, 10, 0x7FFFFFFF); },
     L"Error when locating size of a bitmap file!"},
    {"rows cut", [](Bytes& b) { b.pop_back(); }, L"Error when reading a bitmap file!"},
    {"height 2^30", [](Bytes& b) { PutU32(b, 22, 1u << 30); },
     L"Error when reading a bitmap file!"},
    {"width 2^31 - 1", [](Bytes& b) { PutU32(b, 18, 0x7FFFFFFF); },
     L"Error when reading a bitmap file!"},
};

TEST_F(BmpFileTest, BadFilesShowTheirMessageCaptionedWithThePath) {
    const Bytes valid = BmpFile(Concat({InfoHeader(3, 2, 8), Palette(256), Bytes(8, 1)}));
    for (const BadBmp& bad : kBadBmps) {
        SCOPED_TRACE(bad.name);
        Bytes bytes = valid;
        bad.mutate(bytes);
        const std::wstring path = Write("bad.bmp", bytes);
        MessageLog log;
        EXPECT_FALSE(CDib::ReadBMPFile(path.c_str()));
        ASSERT_EQ(log.messages.size(), 1u);
        EXPECT_EQ(log.messages[0], std::make_pair(path, std::wstring(bad.text)));
        OwnedImage image(IconImage(2, 2, 8));
        const Bytes before = image.Contents();
        EXPECT_EQ(icons_.IconImageFromBMPFile(path.c_str(), &image.image, 1), 0);
        EXPECT_EQ(image.Contents(), before);
    }
}

TEST_F(BmpFileTest, MissingFilesAndShortMemoryShowTheirMessages) {
    MessageLog log;
    EXPECT_FALSE(CDib::ReadBMPFile(PathOf("missing.bmp").c_str()));
    const std::wstring path = Write("ok.bmp", BmpFile(Concat({InfoHeader(1, 1, 24), Bytes(4, 0)})));
    for (int failing : {1, 2}) {
        FailingAllocation failure(failing);
        EXPECT_FALSE(CDib::ReadBMPFile(path.c_str()));
    }
    EXPECT_EQ(log.Texts(), (std::vector<std::wstring>{
                               L"Error when opening a bitmap file!",
                               L"Error when reallocating memory of a bitmap!",
                               L"Fail to reallocate memory a bitmap information header needs!"}));
}

TEST_F(BmpFileTest, WriteFailuresShowTheirMessages) {
    OwnedImage image(IconImageOf(kDepths[0]));
    MessageLog log;
    const std::wstring missing = PathOf("no/such/folder.bmp");
    EXPECT_EQ(icons_.IconImageToBMPFile(missing.c_str(), &image.image), 0);
    EXPECT_EQ(icons_.IconImageToBMPFile(L"/dev/full", &image.image), 0);
    EXPECT_EQ(log.Texts(),
              (std::vector<std::wstring>{L"Fail to create a bitmap file\uFF01",
                                         L"Error when writing header of a bitmap file!"}));
    EXPECT_EQ(log.messages[0].first, missing);
    // An image without valid bytes writes nothing and shows nothing.
    OwnedImage empty;
    EXPECT_EQ(icons_.IconImageToBMPFile(PathOf("x.bmp").c_str(), &empty.image), 0);
    EXPECT_EQ(icons_.IconImageToBMPFile(PathOf("x.bmp").c_str(), nullptr), 0);
    EXPECT_EQ(log.messages.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(PathOf("x.bmp")));
}

}  // namespace
