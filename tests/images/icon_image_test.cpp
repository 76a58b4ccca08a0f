// Icon images in memory: icons made from them (pixels and alpha), DIBs made
// into icon images, the clipboard round trip and its refusals, and the
// message sink.
#include <gtest/gtest.h>

#include <stdexcept>

#include "images/icon_image.h"
#include "images/image_builders.h"
#include "images/message_sink.h"
#include "images/test_hooks.h"
#include "vardel/clipboard.h"
#include "vardel/icons.h"

namespace {

using namespace ImagesTest;

// A 2 x 2 1-bit image: top row white, black; bottom row black, white; the
// mask makes the top-right pixel transparent.
Bytes MonoImage() {
    return Concat({InfoHeader(2, 4, 1),
                   {0, 0, 0, 0, 255, 255, 255, 0},
                   {0x40, 0, 0, 0},
                   {0x80, 0, 0, 0},  // XOR: bottom, top
                   {0x00, 0, 0, 0},
                   {0x40, 0, 0, 0}});  // AND: bottom, top
}

TEST(IconImage, IconsDecodePixelsTopRowFirstWithMaskAlpha) {
    CIcons icons;
    OwnedImage image(MonoImage());
    const HICON icon = icons.MakeIconFromResource(&image.image);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->Width, 2u);
    EXPECT_EQ(icon->Height, 2u);
    EXPECT_EQ(icon->Rgba, (Bytes{255, 255, 255, 255, 0, 0, 0, 0,  //
                                 0, 0, 0, 255, 255, 255, 255, 255}));
}

TEST(IconImage, AlphaComesFromTheChannelOnlyWhenOneIsThere) {
    CIcons icons;
    const Bytes mask = {0x80, 0, 0, 0};  // the one pixel masked
    OwnedImage withAlpha(Concat({InfoHeader(1, 2, 32), {1, 2, 3, 77}, mask}));
    OwnedImage withoutAlpha(Concat({InfoHeader(1, 2, 32), {1, 2, 3, 0}, mask}));
    EXPECT_EQ(icons.MakeIconFromResource(&withAlpha.image)->Rgba, (Bytes{3, 2, 1, 77}));
    EXPECT_EQ(icons.MakeIconFromResource(&withoutAlpha.image)->Rgba, (Bytes{3, 2, 1, 0}));
}

TEST(IconImage, NoIconForMissingCompressedOrHugeImages) {
    CIcons icons;
    OwnedImage none;
    Bytes compressed = MonoImage();
    PutU32(compressed, 16, 2);
    OwnedImage packed(compressed);
    // 4097 pixels wide, one row: small in bytes, too wide for an icon.
    OwnedImage wide(Concat({InfoHeader(4097, 2, 1), Palette(2), Bytes(516 + 516, 0)}));
    ASSERT_NE(wide.image.Bits, nullptr);
    ASSERT_EQ(wide.image.Width, 4097u);
    EXPECT_FALSE(icons.MakeIconFromResource(nullptr));
    EXPECT_FALSE(icons.MakeIconFromResource(&none.image));
    EXPECT_FALSE(icons.MakeIconFromResource(&packed.image));
    EXPECT_FALSE(icons.MakeIconFromResource(&wide.image));
    EXPECT_EQ(VardelImages::AdjustIconImagePointers(nullptr), 0);
}

TEST(IconImage, DibsBecomeIconImagesOfTheImagesFormat) {
    CIcons icons;
    // A 1 x 1 white 24-bit DIB made into a 2 x 3 8-bit image, stretched.
    const Bytes dib = Concat({InfoHeader(1, 1, 24), {255, 255, 255, 0}});
    OwnedImage image(IconImage(5, 5, 4));
    image.image.Width = 2;
    image.image.Height = 3;
    image.image.Colors = 8;
    ASSERT_EQ(icons.DIBToIconImage(&image.image, dib, 1), 1);
    // 40 + 1024 + (XOR row 4 + AND row 4) x 3; the header holds twice the height.
    const Bytes bytes = image.Contents();
    ASSERT_EQ(bytes.size(), 40u + 1024 + 8 * 3);
    EXPECT_EQ(Slice(bytes, 0, 40), InfoHeader(2, 6, 8));
    // Both pixels of each row are the first white entry of the halftone table.
    const std::size_t white = 40 + 4 * std::size_t{bytes[1064]};
    EXPECT_EQ(Slice(bytes, white, white + 3), (Bytes{255, 255, 255}));
    EXPECT_EQ(Slice(bytes, 1064, 1068), (Bytes{bytes[1064], bytes[1064], 0, 0}));
    EXPECT_EQ(Slice(bytes, bytes.size() - 12), Bytes(12, 0));
    EXPECT_EQ(image.image.Height, 3u);
    EXPECT_EQ(image.image.XorBits - image.image.Bits, 1064);
    EXPECT_EQ(image.image.AndBits - image.image.Bits, 1064 + 12);
}

TEST(IconImage, FailedConversionsLeaveTheImageAsTheyDocument) {
    CIcons icons;
    const Bytes dib = Concat({InfoHeader(1, 1, 24), {255, 255, 255, 0}});
    OwnedImage image(IconImage(4, 4, 4));
    const Bytes before = image.Contents();
    EXPECT_EQ(icons.DIBToIconImage(&image.image, {}, 0), 0);
    EXPECT_EQ(icons.DIBToIconImage(&image.image, Slice(dib, 0, dib.size() - 1), 0), 0);
    EXPECT_EQ(icons.DIBToIconImage(nullptr, dib, 0), 0);
    image.image.Colors = 3;
    EXPECT_EQ(icons.DIBToIconImage(&image.image, dib, 0), 0);
    EXPECT_EQ(image.Contents(), before);
    // Memory short for the new bytes: the old ones are gone, none replace them.
    image.image.Colors = 4;
    FailingAllocation failing(2);
    EXPECT_EQ(icons.DIBToIconImage(&image.image, dib, 0), 0);
    EXPECT_EQ(image.image.Bits, nullptr);
    EXPECT_EQ(image.image.NumBytes, 0u);
    EXPECT_EQ(image.image.XorBits, nullptr);
}

class ClipboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CClipboard& clipboard = CClipboard::Instance();
        clipboard.Open();
        clipboard.Empty();
        clipboard.Close();
    }
    CIcons icons_;
};

TEST_F(ClipboardTest, IconImagesTravelAsDibsWithTheVisibleHeight) {
    const Bytes original =
        Concat({InfoHeader(3, 4, 8), Palette(256), {1, 2, 3, 0, 4, 5, 6, 0}, Bytes(8, 0xFF)});
    OwnedImage image(original);
    ASSERT_EQ(icons_.IconImageToClipBoard(&image.image), 1);
    CClipboard& clipboard = CClipboard::Instance();
    ASSERT_TRUE(clipboard.IsFormatAvailable(CF_DIB));
    ASSERT_TRUE(clipboard.Open());
    Bytes dib;
    ASSERT_TRUE(clipboard.GetData(CF_DIB, dib));
    clipboard.Close();
    Bytes expected = original;
    PutU32(expected, 8, 2);
    EXPECT_EQ(dib, expected);

    OwnedImage back;
    back.image.Width = 3;
    back.image.Height = 2;
    back.image.Colors = 8;
    ASSERT_EQ(icons_.IconImageFromClipBoard(&back.image, 0), 1);
    const Bytes bytes = back.Contents();
    const std::size_t colourPart = 40 + 1024 + 4 * 2;
    EXPECT_EQ(Slice(bytes, 0, colourPart), Slice(original, 0, colourPart));
    EXPECT_EQ(Slice(bytes, colourPart), Bytes(8, 0));
}

TEST_F(ClipboardTest, RefusesWhenHeldEmptyOrGivenNothing) {
    OwnedImage image(IconImage(2, 2, 24));
    OwnedImage empty;
    EXPECT_EQ(icons_.IconImageFromClipBoard(&image.image, 0), 0);
    EXPECT_EQ(icons_.IconImageToClipBoard(&empty.image), 0);
    EXPECT_EQ(icons_.IconImageToClipBoard(nullptr), 0);
    EXPECT_FALSE(CClipboard::Instance().IsFormatAvailable(CF_DIB));

    ASSERT_EQ(icons_.IconImageToClipBoard(&image.image), 1);
    CClipboard& clipboard = CClipboard::Instance();
    ASSERT_TRUE(clipboard.Open());
    EXPECT_EQ(icons_.IconImageToClipBoard(&image.image), 0);
    EXPECT_EQ(icons_.IconImageFromClipBoard(&image.image, 0), 0);
    EXPECT_TRUE(clipboard.SetData(99, {1}));
    EXPECT_TRUE(clipboard.Close());
    // Putting an image empties what was there.
    ASSERT_EQ(icons_.IconImageToClipBoard(&image.image), 1);
    EXPECT_FALSE(clipboard.IsFormatAvailable(99));
}

TEST(MessageSink, DefaultWritesCaptionAndTextToStandardError) {
    testing::internal::CaptureStderr();
    VardelImages::ShowMessage(L"/tmp/a\u00E9.ico", L"Fail to create a bitmap file\uFF01");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "/tmp/a\xC3\xA9.ico: Fail to create a bitmap file\xEF\xBC\x81\n");
    // A sink that throws loses its message, nothing more.
    const CIcons::MessageSink previous = CIcons::SetMessageSink(
        [](const std::wstring&, const std::wstring&) { throw std::runtime_error("sink"); });
    VardelImages::ShowMessage(L"c", L"t");
    CIcons::SetMessageSink(nullptr);
    testing::internal::CaptureStderr();
    VardelImages::ShowMessage(L"c", L"t");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "c: t\n");
    CIcons::SetMessageSink(previous);
}

}  // namespace
