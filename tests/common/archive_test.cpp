// Byte layout of the archive codec, its length escalation and its failure
// paths on truncated or hostile input.
#include "common/archive.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

using VardelCommon::ArchiveReader;
using VardelCommon::ArchiveWriter;
using Bytes = std::vector<std::uint8_t>;

Bytes Encode(std::wstring_view text) {
    ArchiveWriter writer;
    writer.WriteString(text);
    return writer.Bytes();
}

Bytes Prefix(const Bytes& bytes, std::size_t count) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// A wide string of `units` code units, each the letter 'a' (61 00).
Bytes WideBody(std::size_t units) {
    Bytes body;
    for (std::size_t i = 0; i < units; ++i) {
        body.push_back(0x61);
        body.push_back(0x00);
    }
    return body;
}

void ExpectFailedAndUntouched(ArchiveReader& reader, const std::wstring& text) {
    EXPECT_TRUE(reader.Failed());
    EXPECT_EQ(reader.Remaining(), 0u);
    EXPECT_EQ(text, L"untouched");
    std::uint8_t byte = 7;
    EXPECT_FALSE(reader.ReadUInt8(byte));
    EXPECT_EQ(byte, 7);
}

TEST(ArchiveWriter, TagIsMarkerLengthAndUtf16Units) {
    EXPECT_EQ(Encode(L"His1"),
              (Bytes{0xFF, 0xFE, 0xFF, 0x04, 0x48, 0x00, 0x69, 0x00, 0x73, 0x00, 0x31, 0x00}));
}

TEST(ArchiveWriter, LengthPrefixEscalatesAtEachBoundary) {
    struct Case {
        std::size_t units;
        Bytes prefix;
    };
    const Case cases[] = {
        {0, {0xFF, 0xFE, 0xFF, 0x00}},
        {254, {0xFF, 0xFE, 0xFF, 0xFE}},
        {255, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}},
        {0xFFFD, {0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.units);
        const std::wstring text(c.units, L'a');
        const Bytes bytes = Encode(text);
        ASSERT_EQ(bytes.size(), c.prefix.size() + 2 * c.units);
        EXPECT_EQ(Prefix(bytes, c.prefix.size()), c.prefix);

        ArchiveReader reader(bytes);
        std::wstring back;
        EXPECT_TRUE(reader.ReadString(back));
        EXPECT_EQ(back, text);
        EXPECT_EQ(reader.Remaining(), 0u);
    }
}

TEST(ArchiveWriter, SupplementaryCharacterBecomesSurrogatePair) {
    const std::wstring text = L"x\U0001F600";
    const Bytes bytes = Encode(text);
    EXPECT_EQ(bytes, (Bytes{0xFF, 0xFE, 0xFF, 0x03, 0x78, 0x00, 0x3D, 0xD8, 0x00, 0xDE}));

    ArchiveReader reader(bytes);
    std::wstring back;
    ASSERT_TRUE(reader.ReadString(back));
    EXPECT_EQ(back, text);
}

TEST(ArchiveWriter, IntegersAreLittleEndian) {
    ArchiveWriter writer;
    writer.WriteUInt8(0xAB);
    writer.WriteUInt16(0x1234);
    writer.WriteUInt32(0x89ABCDEF);
    writer.WriteInt32(-2);
    writer.WriteInt64(-0x0102030405060708);
    EXPECT_EQ(writer.Bytes(), (Bytes{0xAB, 0x34, 0x12, 0xEF, 0xCD, 0xAB, 0x89, 0xFE, 0xFF, 0xFF,
                                     0xFF, 0xF8, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE}));
}

TEST(ArchiveReader, ReadsNarrowStringsAsLatin1WithEveryPrefix) {
    const Bytes body(300, 'q');
    const Bytes bytes = Concat({{0x03, 'a', 0xE4, 'z', 0x00, 0xFF, 0x2C, 0x01},
                                body,
                                {0xFF, 0xFF, 0xFF, 0x2C, 0x01, 0x00, 0x00},
                                body});
    ArchiveReader reader(bytes);
    std::wstring text;
    ASSERT_TRUE(reader.ReadString(text));
    EXPECT_EQ(text, L"a\u00E4z");
    ASSERT_TRUE(reader.ReadString(text));
    EXPECT_EQ(text, L"");
    ASSERT_TRUE(reader.ReadString(text));
    EXPECT_EQ(text, std::wstring(300, L'q'));
    ASSERT_TRUE(reader.ReadString(text));
    EXPECT_EQ(text, std::wstring(300, L'q'));
    EXPECT_EQ(reader.Remaining(), 0u);
}

TEST(ArchiveReader, DecodesEveryWideLengthForm) {
    const Bytes forms[] = {
        {0xFF, 0xFE, 0xFF, 0x03},
        {0xFF, 0xFE, 0xFF, 0xFF, 0x03, 0x00},
        {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x03, 0x00, 0x00, 0x00},
        {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x03, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const Bytes& prefix : forms) {
        SCOPED_TRACE(prefix.size());
        const Bytes bytes = Concat({prefix, WideBody(3), {0x2A}});
        ArchiveReader reader(bytes);
        std::wstring text;
        ASSERT_TRUE(reader.ReadString(text));
        EXPECT_EQ(text, L"aaa");
        EXPECT_EQ(reader.Remaining(), 1u);
    }
}

TEST(ArchiveReader, SixteenBitFffeAfterMarkerIsALength) {
    const Bytes bytes = Concat({{0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF}, WideBody(0xFFFE)});
    ArchiveReader reader(bytes);
    std::wstring text;
    ASSERT_TRUE(reader.ReadString(text));
    EXPECT_EQ(text.size(), 0xFFFEu);
}

TEST(ArchiveReader, TruncatedStringOrPrefixFailsAndStaysFailed) {
    const Bytes whole = Encode(L"His1");
    const Bytes truncated[] = {{},
                               {0xFF},
                               {0xFF, 0xFE},
                               {0xFF, 0xFE, 0xFF},
                               {0xFF, 0xFE, 0xFF, 0xFF},
                               {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x01},
                               Prefix(whole, whole.size() - 1)};
    for (const Bytes& bytes : truncated) {
        SCOPED_TRACE(bytes.size());
        ArchiveReader reader(bytes);
        std::wstring text = L"untouched";
        EXPECT_FALSE(reader.ReadString(text));
        ExpectFailedAndUntouched(reader, text);
    }
}

TEST(ArchiveReader, AppendStringAddsBothFormsAndNothingOnFailure) {
    const Bytes bytes = Concat({Encode(L"\U0001F600b"), {2, 'c', 0xE9}, {0xFF, 0xFE, 0xFF, 0x02}});
    ArchiveReader reader(bytes);
    std::wstring text = L"a";
    ASSERT_TRUE(reader.AppendString(text));
    ASSERT_TRUE(reader.AppendString(text));
    EXPECT_EQ(text, L"a\U0001F600bc\u00e9");
    text = L"untouched";
    EXPECT_FALSE(reader.AppendString(text));
    ExpectFailedAndUntouched(reader, text);
}

TEST(ArchiveReader, TruncatedIntegerFailsAndLeavesValue) {
    const Bytes bytes{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07};
    ArchiveReader reader(bytes);
    std::int64_t value = 42;
    EXPECT_FALSE(reader.ReadInt64(value));
    EXPECT_EQ(value, 42);
    EXPECT_TRUE(reader.Failed());
    EXPECT_EQ(reader.Remaining(), 0u);

    // Bytes that would have sufficed before the failure are refused too.
    std::uint32_t small = 9;
    EXPECT_FALSE(reader.ReadUInt32(small));
    EXPECT_EQ(small, 9u);
}

TEST(ArchiveReader, LyingLengthFailsWithoutAllocating) {
    const Bytes hostile[] = {
        Concat({{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF}, WideBody(5)}),
        Concat({{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, Bytes(8, 0xFF)}),
        Concat({{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}, Bytes(10, 'a')}),
        // Five units announced, nine bytes present: one byte short of the last unit.
        Concat({{0xFF, 0xFE, 0xFF, 0x05}, Bytes(9, 'a')}),
    };
    for (const Bytes& bytes : hostile) {
        SCOPED_TRACE(bytes.size());
        ArchiveReader reader(bytes);
        std::wstring text = L"untouched";
        EXPECT_FALSE(reader.ReadString(text));
        ExpectFailedAndUntouched(reader, text);
    }
}

TEST(ArchiveReader, RecordOfStringsAndExtremeIntegersRoundTrips) {
    ArchiveWriter writer;
    writer.WriteString(L"His1");
    writer.WriteUInt8(0xAB);
    writer.WriteUInt16(0xFFFF);
    writer.WriteUInt32(0xFFFFFFFF);
    writer.WriteString(L"\u00FCber \u4E2D\u6587");
    writer.WriteInt32(INT32_MIN);
    writer.WriteInt64(INT64_MIN);

    ArchiveReader reader(writer.Bytes());
    std::wstring tag, text;
    std::uint8_t u8 = 0;
    std::uint16_t u16 = 0;
    std::uint32_t u32 = 0;
    std::int32_t i32 = 0;
    std::int64_t i64 = 0;
    EXPECT_TRUE(reader.ReadString(tag) && reader.ReadUInt8(u8) && reader.ReadUInt16(u16) &&
                reader.ReadUInt32(u32) && reader.ReadString(text) && reader.ReadInt32(i32) &&
                reader.ReadInt64(i64));
    EXPECT_EQ(tag, L"His1");
    EXPECT_EQ(u8, 0xAB);
    EXPECT_EQ(u16, 0xFFFF);
    EXPECT_EQ(u32, 0xFFFFFFFFu);
    EXPECT_EQ(text, L"\u00FCber \u4E2D\u6587");
    EXPECT_EQ(i32, INT32_MIN);
    EXPECT_EQ(i64, INT64_MIN);
    EXPECT_FALSE(reader.Failed());
    EXPECT_EQ(reader.Remaining(), 0u);
}

}  // namespace
