// ICO files: reading into records (pointers, names, handles), writing byte
// for byte, round trips, every failure code with its message, and hostile
// files built by mutating a valid one.
#include <gtest/gtest.h>

#include <functional>

#include "images/ico_reader.h"
#include "images/icon_image.h"
#include "images/image_builders.h"
#include "images/test_hooks.h"
#include "support/temp_folder.h"
#include "vardel/icons.h"

namespace {

using namespace ImagesTest;

const ICONIMAGE& ImageOf(const Record& record, std::size_t index) {
    return *(record->Images + index);
}

class IcoFileTest : public ::testing::Test {
  protected:
    std::wstring PathOf(const char* name) const { return (folder_.path() / name).wstring(); }
    std::wstring Write(const char* name, const Bytes& bytes) const {
        VardelTest::WriteBytes(folder_.path() / name, bytes);
        return PathOf(name);
    }
    Bytes ReadBack(const std::wstring& path) const { return VardelTest::ReadBytes(path); }

    // Reads `bytes` with the error form; the code in `error`.
    Record ReadWithCode(const Bytes& bytes, Error_ReadIconFromICOFile& error) {
        const std::wstring path = Write("in.ico", bytes);
        return Record(icons_.ReadIconFromICOFile(path.c_str(), nullptr, error));
    }

    CIcons icons_;
    TempFolder folder_;
};

const std::vector<Bytes> kThreeImages = {IconImage(16, 16, 4, 1), IconImage(32, 32, 8, 2),
                                         IconImage(48, 48, 32, 3)};

TEST_F(IcoFileTest, ReadsImagesWithSizesAndPointersIntoTheirBytes) {
    const std::wstring path = Write("three.ico", IcoFile(kThreeImages));
    const Record record(icons_.ReadIconFromICOFile(path.c_str()));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->Changed, 0);
    EXPECT_EQ(std::wstring(record->IcoFileName), path);
    EXPECT_EQ(std::wstring(record->ModuleFileName), L"");
    ASSERT_EQ(record->ImageCount, 3u);
    const struct {
        std::uint32_t side, bits;
        std::size_t table;
    } expected[] = {{16, 4, 64}, {32, 8, 1024}, {48, 32, 0}};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const ICONIMAGE& image = ImageOf(record, i);
        EXPECT_EQ(image.Width, expected[i].side);
        EXPECT_EQ(image.Height, expected[i].side);
        EXPECT_EQ(image.Colors, expected[i].bits);
        EXPECT_EQ(Bytes(image.Bits, image.Bits + image.NumBytes), kThreeImages[i]);
        EXPECT_EQ(static_cast<void*>(image.Header), static_cast<void*>(image.Bits));
        EXPECT_EQ(image.XorBits - image.Bits, static_cast<std::ptrdiff_t>(40 + expected[i].table));
        EXPECT_EQ(image.AndBits - image.XorBits,
                  static_cast<std::ptrdiff_t>(Stride(expected[i].side, expected[i].bits) *
                                              expected[i].side));
        EXPECT_EQ(image.Header->Height, static_cast<std::int32_t>(2 * expected[i].side));
    }
}

TEST_F(IcoFileTest, RoundTripIsByteForByte) {
    for (const std::vector<Bytes>& images :
         {kThreeImages, std::vector<Bytes>{IconImage(1, 1, 1)}, std::vector<Bytes>{}}) {
        const Bytes original = IcoFile(images);
        const std::wstring in = Write("in.ico", original);
        const Record record(icons_.ReadIconFromICOFile(in.c_str()));
        ASSERT_TRUE(record);
        EXPECT_EQ(record->ImageCount, images.size());
        const std::wstring out = PathOf("out.ico");
        ASSERT_EQ(icons_.WriteIconToICOFile(record.get(), out.c_str()), 1);
        EXPECT_EQ(ReadBack(out), original);
    }
}

TEST_F(IcoFileTest, WritesHeaderAndEntriesAsLaidOut) {
    // One 1-bit 33 x 2 image: rows of 8 bytes, mask rows of 8 bytes.
    OwnedImage image(IconImage(33, 2, 1));
    ASSERT_EQ(image.image.NumBytes, 40u + 8 + 16 + 16);
    const std::wstring out = PathOf("one.ico");
    ASSERT_EQ(icons_.WriteIconToICOFile(std::vector<ICONIMAGE*>{&image.image}, out.c_str()), 1);
    const Bytes expected = Concat({
        {0x00, 0x00, 0x01, 0x00, 0x01, 0x00},   // reserved, type, count
        {33, 2, 2, 0, 0x01, 0x00, 0x01, 0x00},  // width, height, colours, 0, planes, bits
        {80, 0, 0, 0, 22, 0, 0, 0},             // size, offset 6 + 16
        image.Contents(),
    });
    EXPECT_EQ(ReadBack(out), expected);
}

TEST_F(IcoFileTest, ImageOffsetsFollowTheSizesBeforeThem) {
    ICONIMAGE a{}, b{}, c{};
    a.NumBytes = 744;
    b.NumBytes = 296;
    c.NumBytes = 5;
    const ICONIMAGE* images[] = {&a, &b, &c};
    EXPECT_EQ(VardelImages::CalculateImageOffset(images, 0), 54u);
    EXPECT_EQ(VardelImages::CalculateImageOffset(images, 2), 6u + 48 + 744 + 296);
}

TEST_F(IcoFileTest, ZeroImagesGiveAnEmptyRecordAndASixByteFile) {
    Error_ReadIconFromICOFile error = ICOERR_OPEN;
    const Record record = ReadWithCode({0, 0, 1, 0, 0, 0}, error);
    ASSERT_TRUE(record);
    EXPECT_EQ(error, ICOERR_NONE);
    EXPECT_EQ(record->ImageCount, 0u);
    const std::wstring out = PathOf("empty.ico");
    ASSERT_EQ(icons_.WriteIconToICOFile(record.get(), out.c_str()), 1);
    EXPECT_EQ(ReadBack(out), (Bytes{0, 0, 1, 0, 0, 0}));
}

TEST_F(IcoFileTest, HandlesAreMadeForEveryImageAndEmptiedOnFailure) {
    const std::wstring path = Write("three.ico", IcoFile(kThreeImages));
    std::vector<HICON> handles(3);
    const Record record(icons_.ReadIconFromICOFile(path.c_str(), handles.data()));
    ASSERT_TRUE(record);
    for (std::size_t i = 0; i < 3; ++i) {
        ASSERT_TRUE(handles[i]);
        EXPECT_EQ(handles[i]->Width, ImageOf(record, i).Width);
        EXPECT_EQ(handles[i]->Rgba.size(), 4u * handles[i]->Width * handles[i]->Height);
    }
    // The third image runs past the end: the first two handles are dropped.
    Bytes cut = IcoFile(kThreeImages);
    cut.resize(cut.size() - 1);
    const std::wstring bad = Write("cut.ico", cut);
    std::vector<HICON> none(3);
    Error_ReadIconFromICOFile error = ICOERR_NONE;
    EXPECT_EQ(icons_.ReadIconFromICOFile(bad.c_str(), none.data(), error), nullptr);
    EXPECT_EQ(error, ICOERR_IMAGE_SHORT);
    for (const HICON& handle : none) {
        EXPECT_FALSE(handle);
    }
}

// Each mutation of a valid two-image file and the failure it must give.
struct Hostile {
    const char* name;
    std::function<void(Bytes&)> mutate;
    Error_ReadIconFromICOFile code;
    const wchar_t* text;
};

// Offsets in the two-image file: entries at 6 and 22, images from 38.
const Hostile kHostile[] = {
    {"cursor file", [](Bytes& b) { b[2] = 2; }, ICOERR_HEADER,
     L"Error when reading header of an icon file!"},
    {"reserved word", [](Bytes& b) { b[0] = 1; }, ICOERR_HEADER,
     L"Error when reading header of an icon file!"},
    {"short header", [](Bytes& b) { b.resize(5); }, ICOERR_HEADER,
     L"Error when reading header of an icon file!"},
    {"empty file", [](Bytes& b) { b.clear(); }, ICOERR_HEADER,
     L"Error when reading header of an icon file!"},
    {"truncated directory", [](Bytes& b) { b.resize(30); }, ICOERR_DIRECTORY_READ,
     L"Error when reading an icon file!"},
    {"huge count", [](Bytes& b) { PutU16(b, 4, 0xFFFF); }, ICOERR_DIRECTORY_READ,
     L"Error when reading an icon file!"},
    {"offset past the end",
     [](Bytes& b) { PutU32(b, 34, static_cast<std::uint32_t>(b.size() + 1)); }, ICOERR_IMAGE_READ,
     L"Error when locating content of an icon!"},
    {"offset 4 GiB", [](Bytes& b) { PutU32(b, 18, 0xFFFFFFFF); }, ICOERR_IMAGE_READ,
     L"Error when locating content of an icon!"},
    {"size past the end", [](Bytes& b) { PutU32(b, 30, U32At(b, 30) + 1); }, ICOERR_IMAGE_SHORT,
     L"Error when reading content of an icon!"},
    {"size 4 GiB", [](Bytes& b) { PutU32(b, 14, 0xFFFFFFFF); }, ICOERR_IMAGE_SHORT,
     L"Error when reading content of an icon!"},
    {"image of 10 bytes", [](Bytes& b) { PutU32(b, 14, 10); }, ICOERR_IMAGE_FORMAT,
     L"Error when transforming inner format of an icon!"},
    {"OS/2 image header", [](Bytes& b) { PutU32(b, 38, 12); }, ICOERR_IMAGE_FORMAT,
     L"Error when transforming inner format of an icon!"},
    {"header size past the image", [](Bytes& b) { PutU32(b, 38, 0x7FFFFFFF); }, ICOERR_IMAGE_FORMAT,
     L"Error when transforming inner format of an icon!"},
    {"3 bits per pixel", [](Bytes& b) { PutU16(b, 38 + 14, 3); }, ICOERR_IMAGE_FORMAT,
     L"Error when transforming inner format of an icon!"},
    {"two planes", [](Bytes& b) { PutU16(b, 38 + 12, 2); }, ICOERR_IMAGE_FORMAT,
     L"Error when transforming inner format of an icon!"},
    {"height 1", [](Bytes& b) { PutU32(b, 38 + 8, 1); }, ICOERR_IMAGE_FORMAT,
     L"Error when transforming inner format of an icon!"},
    {"negative width", [](Bytes& b) { PutU32(b, 38 + 4, 0xFFFFFFF0); }, ICOERR_IMAGE_FORMAT,
     L"Error when transforming inner format of an icon!"},
    {"rows past the image", [](Bytes& b) { PutU32(b, 38 + 4, 0x7FFFFFFF); }, ICOERR_IMAGE_FORMAT,
     L"Error when transforming inner format of an icon!"},
    {"mask past the image", [](Bytes& b) { PutU32(b, 14, U32At(b, 14) - 1); }, ICOERR_IMAGE_FORMAT,
     L"Error when transforming inner format of an icon!"},
    {"colour table past the image", [](Bytes& b) { PutU32(b, 38 + 32, 0xFFFF); },
     ICOERR_IMAGE_FORMAT, L"Error when transforming inner format of an icon!"},
};

TEST_F(IcoFileTest, HostileFilesGiveTheirCodeAndMessage) {
    const Bytes valid = IcoFile({IconImage(8, 8, 4), IconImage(16, 16, 24)});
    for (const Hostile& hostile : kHostile) {
        SCOPED_TRACE(hostile.name);
        Bytes bytes = valid;
        hostile.mutate(bytes);
        const std::wstring path = Write("hostile.ico", bytes);
        Error_ReadIconFromICOFile error = ICOERR_NONE;
        {
            MessageLog log;
            EXPECT_EQ(icons_.ReadIconFromICOFile(path.c_str(), nullptr, error), nullptr);
            EXPECT_TRUE(log.messages.empty());
        }
        EXPECT_EQ(error, hostile.code);
        MessageLog log;
        EXPECT_EQ(icons_.ReadIconFromICOFile(path.c_str()), nullptr);
        ASSERT_EQ(log.messages.size(), 1u);
        EXPECT_EQ(log.messages[0].first, path);
        EXPECT_EQ(log.messages[0].second, hostile.text);
    }
}

TEST_F(IcoFileTest, FilesThatCannotBeOpenedGiveCodeOne) {
    for (const std::wstring& path : {PathOf("missing.ico"), folder_.path().wstring()}) {
        Error_ReadIconFromICOFile error = ICOERR_NONE;
        EXPECT_EQ(icons_.ReadIconFromICOFile(path.c_str(), nullptr, error), nullptr);
        EXPECT_EQ(error, ICOERR_OPEN);
        MessageLog log;
        EXPECT_EQ(icons_.ReadIconFromICOFile(path.c_str()), nullptr);
        EXPECT_EQ(log.Texts(), std::vector<std::wstring>{L"Error when opening an icon file!"});
    }
}

TEST_F(IcoFileTest, EachAllocationFailureHasItsCode) {
    // Allocations in order: record, grown record, directory, first image.
    const struct {
        int failing;
        Error_ReadIconFromICOFile code;
        const wchar_t* text;
    } cases[] = {
        {1, ICOERR_RECORD_MEMORY, L"Error when allocating memory for an icon!"},
        {2, ICOERR_GROW_MEMORY, L"Error when reallocating memory for an icon!"},
        {3, ICOERR_DIRECTORY_MEMORY, L"Error when reallocating memory for an icon file!"},
        {4, ICOERR_IMAGE_READ, L"Error when reallocating memory for an icon!"},
    };
    const std::wstring path = Write("two.ico", IcoFile({IconImage(8, 8, 4), IconImage(4, 4, 1)}));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing);
        Error_ReadIconFromICOFile error = ICOERR_NONE;
        {
            FailingAllocation failing(c.failing);
            EXPECT_EQ(icons_.ReadIconFromICOFile(path.c_str(), nullptr, error), nullptr);
        }
        EXPECT_EQ(error, c.code);
        MessageLog log;
        FailingAllocation failing(c.failing);
        EXPECT_EQ(icons_.ReadIconFromICOFile(path.c_str()), nullptr);
        EXPECT_EQ(log.Texts(), std::vector<std::wstring>{c.text});
    }
}

TEST_F(IcoFileTest, WriteFailuresReportTheStepThatFailed) {
    OwnedImage image(IconImage(4, 4, 8));
    const std::vector<ICONIMAGE*> images = {&image.image};
    {
        MessageLog log;
        const std::wstring path = PathOf("no/such/folder.ico");
        EXPECT_EQ(icons_.WriteIconToICOFile(images, path.c_str()), 0);
        ASSERT_EQ(log.messages.size(), 1u);
        EXPECT_EQ(log.messages[0],
                  std::make_pair(path, std::wstring(L"Error when creating a file!")));
    }
    {
        MessageLog log;
        EXPECT_EQ(icons_.WriteIconToICOFile(images, L"/dev/full"), 0);
        EXPECT_EQ(log.Texts(),
                  std::vector<std::wstring>{L"Error when writing header of an icon file!"});
    }
    // An image without a DIB header cannot be described: nothing is written.
    OwnedImage empty;
    MessageLog log;
    const std::wstring path = PathOf("none.ico");
    EXPECT_EQ(icons_.WriteIconToICOFile(std::vector<ICONIMAGE*>{&empty.image}, path.c_str()), 0);
    EXPECT_EQ(icons_.WriteIconToICOFile(static_cast<const ICONRESOURCE*>(nullptr), path.c_str()),
              0);
    EXPECT_TRUE(log.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(IcoFileTest, LongFileNamesAreRecordedCutAndTerminated) {
    std::error_code ignored;
    const std::filesystem::path folder = folder_.path() / std::string(200, 'f');
    std::filesystem::create_directory(folder, ignored);
    const std::wstring path = (folder / std::string(200, 'n')).wstring();
    VardelTest::WriteBytes(path, IcoFile({IconImage(4, 4, 1)}));
    const Record record(icons_.ReadIconFromICOFile(path.c_str()));
    ASSERT_TRUE(record);
    EXPECT_EQ(std::wstring(record->IcoFileName), path.substr(0, ICON_NAME_CHARS - 1));
}

}  // namespace
