// CDib: colour counts and sizes from headers, the colour tables of new DIBs,
// conversion between sizes and depths (nearest colours, stretching,
// unscaled copies), single mask pixels, and refused conversions.
#include "images/dib.h"

#include <gtest/gtest.h>

#include "images/dib_header.h"
#include "images/image_builders.h"
#include "images/palettes.h"
#include "images/test_hooks.h"

namespace {

using namespace ImagesTest;

BITMAPINFOHEADER HeaderOf(const Bytes& bytes) {
    VardelImages::ByteReader reader(bytes);
    BITMAPINFOHEADER header{};
    EXPECT_TRUE(VardelImages::ReadInfoHeader(reader, header));
    return header;
}

TEST(CDib, CountsAndSizesFollowTheHeader) {
    const struct {
        std::int32_t width;
        std::uint32_t bits, clrUsed, colors, palette;
        std::uint64_t line;
    } cases[] = {
        {1, 1, 0, 2, 8, 4},
        {32, 1, 0, 2, 8, 4},
        {33, 1, 0, 2, 8, 8},
        {7, 4, 0, 16, 64, 4},
        {9, 4, 0, 16, 64, 8},
        {5, 8, 0, 256, 1024, 8},
        {5, 8, 17, 17, 68, 8},
        {3, 16, 0, 0, 0, 8},
        {3, 24, 0, 0, 0, 12},
        {3, 32, 0, 0, 0, 12},
        {2, 24, 3, 3, 12, 8},
        {2, 8, 0x10000, 0x10000, 0, 4},
        {2, 8, 0x10001, 0x10001, 4, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " px " << c.bits << " bits " << c.clrUsed);
        const BITMAPINFOHEADER header = HeaderOf(InfoHeader(c.width, 1, c.bits, c.clrUsed));
        EXPECT_EQ(CDib::DIBNumColors(header), c.colors);
        EXPECT_EQ(CDib::PaletteSize(header), c.palette);
        EXPECT_EQ(CDib::BytesPerLine(header), c.line);
        EXPECT_EQ(CDib::FindDIBBits(header), 40u + c.palette);
    }
}

// A 2 x 2 24-bit DIB: top row red, green; bottom row blue, white.
Bytes TrueColour2x2() {
    return Concat({InfoHeader(2, 2, 24),
                   {255, 0, 0, 255, 255, 255, 0, 0},  // bottom: blue, white, padding
                   {0, 0, 255, 0, 255, 0, 0, 0}});    // top: red, green, padding
}

Bytes Converted(const Bytes& dib, std::uint32_t width, std::uint32_t height, std::uint16_t bits,
                bool stretch) {
    const std::optional<VardelImages::Buffer> out =
        CDib::ConvertDIBFormat(dib, width, height, bits, stretch);
    EXPECT_TRUE(out);
    return out ? Slice(out->Bytes(), 0) : Bytes();
}

TEST(CDib, ConvertsToEachDepthWithTheNearestColours) {
    const Bytes dib = TrueColour2x2();
    const Bytes blackWhite = {0, 0, 0, 0, 255, 255, 255, 0};
    // 1 bit: red, green and blue are nearer black; white is white.
    EXPECT_EQ(Converted(dib, 2, 2, 1, false),
              Concat({InfoHeader(2, 2, 1), blackWhite, {0x40, 0, 0, 0}, {0x00, 0, 0, 0}}));
    // 4 bits: default palette entries 12 blue, 15 white, 9 red, 10 green.
    const Bytes four = Converted(dib, 2, 2, 4, false);
    EXPECT_EQ(Slice(four, 104), (Bytes{0xCF, 0, 0, 0, 0x9A, 0, 0, 0}));
    // 8 bits: the primaries and white are halftone colours, so they come back whole.
    const Bytes eight = Converted(dib, 2, 2, 8, false);
    ASSERT_EQ(eight.size(), 40u + 1024 + 8);
    EXPECT_EQ(Converted(eight, 2, 2, 24, false), dib);
    EXPECT_EQ(Converted(dib, 2, 2, 16, false),
              Concat({InfoHeader(2, 2, 16), {0x1F, 0, 0xFF, 0x7F}, {0, 0x7C, 0xE0, 0x03}}));
    EXPECT_EQ(Converted(dib, 2, 2, 24, false), dib);
    EXPECT_EQ(Converted(dib, 2, 2, 32, false), Concat({InfoHeader(2, 2, 32),
                                                       {255, 0, 0, 0, 255, 255, 255, 0},
                                                       {0, 0, 255, 0, 0, 255, 0, 0}}));
}

TEST(CDib, StretchesByNearestPixelOrCopiesFromTheTopLeft) {
    const Bytes dib = TrueColour2x2();
    const Bytes red = {0, 0, 255}, green = {0, 255, 0}, blue = {255, 0, 0}, white = {255, 255, 255};
    const Bytes black = {0, 0, 0};
    // 4 x 4 stretched: each source pixel becomes a 2 x 2 block.
    EXPECT_EQ(Converted(dib, 4, 4, 24, true),
              Concat({InfoHeader(4, 4, 24), blue, blue, white, white, blue, blue, white, white, red,
                      red, green, green, red, red, green, green}));
    // 3 x 3 unscaled: the picture sits top-left, the rest stays zero.
    const Bytes pad = {0, 0, 0};
    EXPECT_EQ(Converted(dib, 3, 3, 24, false),
              Concat({InfoHeader(3, 3, 24), black, black, black, pad, blue, white, black, pad, red,
                      green, black, pad}));
    // 1 x 1: unscaled keeps the top-left pixel, stretched samples it too.
    EXPECT_EQ(Converted(dib, 1, 1, 24, false), Concat({InfoHeader(1, 1, 24), red, {0}}));
    EXPECT_EQ(Converted(dib, 1, 1, 24, true), Concat({InfoHeader(1, 1, 24), red, {0}}));
    // The same size is copied, stretch or not.
    EXPECT_EQ(Converted(dib, 2, 2, 24, true), dib);
}

TEST(CDib, TopDownAndPaletteSourcesReadTheirRowsInOrder) {
    // Top-down 8-bit: the first stored row is the top.
    const Bytes topDown =
        Concat({InfoHeader(1, -2, 8, 2), {0, 0, 255, 0, 255, 0, 0, 0}, {0, 0, 0, 0}, {1, 0, 0, 0}});
    EXPECT_EQ(Converted(topDown, 1, 2, 24, false),
              Concat({InfoHeader(1, 2, 24), {255, 0, 0, 0}, {0, 0, 255, 0}}));
    // An index past a short colour table reads as black.
    const Bytes shortTable = Concat({InfoHeader(1, 1, 8, 1), {255, 255, 255, 0}, {7, 0, 0, 0}});
    EXPECT_EQ(Converted(shortTable, 1, 1, 24, false), Concat({InfoHeader(1, 1, 24), {0, 0, 0, 0}}));
}

TEST(CDib, ColourTablesComeFromTheSourceOrTheFixedPalettes) {
    const auto table = [](const Bytes& source, std::uint16_t bits) {
        const std::optional<VardelImages::DibView> view =
            VardelImages::DibView::Parse(source, VardelImages::DibKind::Plain);
        EXPECT_TRUE(view);
        Bytes out(4u << bits, 0xAA);
        CDib::CopyColorTable(out, bits, *view);
        return out;
    };
    const Bytes four = Concat({InfoHeader(1, 1, 4), Pattern(64, 1), {0, 0, 0, 0}});
    const Bytes eight = Concat({InfoHeader(1, 1, 8, 3), Pattern(12, 1), {0, 0, 0, 0}});
    const Bytes trueColour = Concat({InfoHeader(1, 1, 24), {0, 0, 0, 0}});
    EXPECT_EQ(table(trueColour, 1), (Bytes{0, 0, 0, 0, 255, 255, 255, 0}));
    EXPECT_EQ(table(four, 1), (Bytes{0, 0, 0, 0, 255, 255, 255, 0}));
    // The source's own colours, with the fourth byte of each entry cleared.
    Bytes expected = Pattern(64, 1);
    for (std::size_t i = 3; i < 64; i += 4) {
        expected[i] = 0;
    }
    EXPECT_EQ(table(four, 4), expected);
    // A source with three colours: the rest of the 256 are black.
    const Bytes fromEight = table(eight, 8);
    EXPECT_EQ(Slice(fromEight, 0, 12), (Bytes{1, 2, 3, 0, 5, 6, 7, 0, 9, 10, 11, 0}));
    EXPECT_EQ(Slice(fromEight, 12), Bytes(1024 - 12, 0));
    // Other depths take the fixed palettes.
    Bytes defaults(64), halftone(1024);
    VardelImages::StoreColorTable(VardelImages::DefaultPalette16(), defaults);
    VardelImages::StoreColorTable(VardelImages::HalftonePalette(), halftone);
    EXPECT_EQ(table(trueColour, 4), defaults);
    EXPECT_EQ(table(eight, 4), defaults);
    EXPECT_EQ(table(four, 8), halftone);
}

TEST(CDib, RefusesWhatItCannotConvert) {
    const Bytes dib = TrueColour2x2();
    Bytes compressed = dib;
    PutU32(compressed, 16, 1);
    Bytes twoPlanes = dib;
    PutU16(twoPlanes, 12, 2);
    const struct {
        const char* name;
        Bytes source;
        std::uint32_t width, height;
        std::uint16_t bits;
    } cases[] = {
        {"2 bits", dib, 2, 2, 2},
        {"0 bits", dib, 2, 2, 0},
        {"64 bits", dib, 2, 2, 64},
        {"width 0", dib, 0, 2, 24},
        {"height 0", dib, 2, 0, 24},
        {"width 4097", dib, 4097, 1, 24},
        {"compressed", compressed, 2, 2, 24},
        {"two planes", twoPlanes, 2, 2, 24},
        {"cut rows", Slice(dib, 0, dib.size() - 1), 2, 2, 24},
        {"empty", {}, 2, 2, 24},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(CDib::ConvertDIBFormat(c.source, c.width, c.height, c.bits, true));
    }
    EXPECT_TRUE(CDib::ConvertDIBFormat(dib, 4096, 1, 1, true));
    FailingAllocation failing(1);
    EXPECT_FALSE(CDib::ConvertDIBFormat(dib, 2, 2, 24, false));
}

TEST(CDib, MonoPixelsAreStoredBottomUpLeftmostInBitSeven) {
    Bytes bits(8, 0);  // 9 x 2: two rows of 4 bytes
    EXPECT_TRUE(CDib::SetMonoDIBPixel(bits, 9, 2, 0, 0, true));
    EXPECT_TRUE(CDib::SetMonoDIBPixel(bits, 9, 2, 8, 1, true));
    EXPECT_TRUE(CDib::SetMonoDIBPixel(bits, 9, 2, 1, 1, true));
    EXPECT_EQ(bits, (Bytes{0x40, 0x80, 0, 0, 0x80, 0, 0, 0}));
    EXPECT_TRUE(CDib::SetMonoDIBPixel(bits, 9, 2, 1, 1, false));
    EXPECT_EQ(bits, (Bytes{0x00, 0x80, 0, 0, 0x80, 0, 0, 0}));
    EXPECT_FALSE(CDib::SetMonoDIBPixel(bits, 9, 2, 9, 0, true));
    EXPECT_FALSE(CDib::SetMonoDIBPixel(bits, 9, 2, 0, 2, true));
    EXPECT_FALSE(CDib::SetMonoDIBPixel(bits, 9, 3, 0, 0, true));
    EXPECT_EQ(bits, (Bytes{0x00, 0x80, 0, 0, 0x80, 0, 0, 0}));
}

}  // namespace
