// The UTF-16 and UTF-8 codecs: surrogate pairs, replacement of ill-formed
// input, and round trips of every kind of scalar value.
#include <gtest/gtest.h>

#include "common/utf16.h"
#include "common/utf8.h"

namespace {

using VardelCommon::FromUtf16;
using VardelCommon::FromUtf8;
using VardelCommon::ToUtf16;
using VardelCommon::ToUtf8;

std::wstring Wide(std::initializer_list<std::uint32_t> code_points) {
    std::wstring text;
    for (std::uint32_t c : code_points) {
        text.push_back(static_cast<wchar_t>(c));
    }
    return text;
}

TEST(Utf16, SupplementaryCodePointsBecomePairsAndUnencodableOnesReplacement) {
    const std::wstring text = Wide({0x41, 0xFFFF, 0x10000, 0x1F600, 0x10FFFF});
    const std::u16string units = ToUtf16(text);
    EXPECT_EQ(units,
              (std::u16string{0x41, 0xFFFF, 0xD800, 0xDC00, 0xD83D, 0xDE00, 0xDBFF, 0xDFFF}));
    EXPECT_EQ(FromUtf16(units), text);
    // Surrogates and values beyond U+10FFFF cannot be encoded.
    EXPECT_EQ(ToUtf16(Wide({0xD800, 0xDFFF, 0x110000, 0xFFFFFFFF, 0x61})),
              (std::u16string{0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0x61}));
}

TEST(Utf16, LoneSurrogatesDecodeToReplacement) {
    // High at the end, low alone, high followed by a non-surrogate, two highs then a low.
    EXPECT_EQ(FromUtf16(u"\xD800"), Wide({0xFFFD}));
    EXPECT_EQ(FromUtf16(std::u16string{0xDC00, 0x61}), Wide({0xFFFD, 0x61}));
    EXPECT_EQ(FromUtf16(std::u16string{0xD800, 0x61}), Wide({0xFFFD, 0x61}));
    EXPECT_EQ(FromUtf16(std::u16string{0xD800, 0xD800, 0xDC00}), Wide({0xFFFD, 0x10000}));
    EXPECT_EQ(FromUtf16(std::u16string{}), L"");
}

TEST(Utf8, EncodesEachSequenceLengthAndReplacesUnencodableValues) {
    EXPECT_EQ(ToUtf8(Wide({0x7F, 0x80, 0x7FF, 0x800, 0xFFFF, 0x10000, 0x10FFFF})),
              "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF");
    EXPECT_EQ(ToUtf8(Wide({0xD800, 0x110000})), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Utf8, RoundTripsScalarValuesAroundEveryBoundaryKeepingAByteOrderMark) {
    const std::wstring text = Wide({0x00, 0x7F, 0x80, 0x7FF, 0x800, 0xD7FF, 0xE000, 0xFEFF, 0xFFFD,
                                    0xFFFF, 0x10000, 0x10FFFF});
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(FromUtf8("\xEF\xBB\xBFx"), Wide({0xFEFF, 0x78}));  // a byte order mark is kept
}

TEST(Utf8, IllFormedInputGivesOneReplacementPerMaximalSubpart) {
    struct Case {
        const char* name;
        std::string bytes;
        std::wstring expected;
    };
    const Case cases[] = {
        {"stray continuation", "a\x80z", Wide({0x61, 0xFFFD, 0x7A})},
        {"invalid lead bytes", "\xC0\xC1\xF5\xFF", Wide({0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD})},
        {"overlong two-byte slash", "\xC0\xAF", Wide({0xFFFD, 0xFFFD})},
        {"overlong three-byte", "\xE0\x80\xAF", Wide({0xFFFD, 0xFFFD, 0xFFFD})},
        {"overlong four-byte", "\xF0\x80\x80\xAF", Wide({0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD})},
        {"encoded surrogate", "\xED\xA0\x80", Wide({0xFFFD, 0xFFFD, 0xFFFD})},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", Wide({0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD})},
        {"truncated at end", "a\xE2\x82", Wide({0x61, 0xFFFD})},
        {"truncated before ASCII", "\xF0\x9F\x98z", Wide({0xFFFD, 0x7A})},
        {"truncated before lead", "\xE2\x82\xE2\x82\xAC", Wide({0xFFFD, 0x20AC})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FromUtf8(c.bytes), c.expected);
        // The first bad byte is where the first replacement came from.
        const std::size_t bad = VardelCommon::FirstBadUtf8(c.bytes);
        ASSERT_NE(bad, std::string::npos);
        EXPECT_EQ(FromUtf8(c.bytes.substr(0, bad)), c.expected.substr(0, c.expected.find(0xFFFD)));
    }
    // ASCII runs of every length around a word of eight bytes before the
    // first fault, or before a well-formed sequence, are skipped correctly.
    for (std::size_t run = 0; run <= 17; ++run) {
        SCOPED_TRACE(run);
        const std::string ascii(run, 'a');
        EXPECT_EQ(VardelCommon::FirstBadUtf8(ascii + "\x80" + ascii), run);
        EXPECT_EQ(VardelCommon::FirstBadUtf8(ascii + "\xC3\xA9" + ascii + "\xFF"), 2 * run + 2);
        EXPECT_EQ(VardelCommon::FirstBadUtf8(ascii), std::string::npos);
        const std::wstring wide(run, L'a');
        EXPECT_EQ(ToUtf8(wide + Wide({0xE9}) + wide), ascii + "\xC3\xA9" + ascii);
    }
    // A well-formed U+FFFD is no fault.
    EXPECT_EQ(VardelCommon::FirstBadUtf8("a\xEF\xBF\xBD\xE2\x82\xAC"), std::string::npos);
    EXPECT_EQ(VardelCommon::FirstBadUtf8("\xEF\xBF\xBD\xEF\xBF"), 3u);
}

}  // namespace
