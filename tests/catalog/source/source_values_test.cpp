// The small grammars and codecs under the readers: times, counts, language
// keys, name-based GUIDs and XML escaping.
#include <gtest/gtest.h>

#include "source/name_guid.h"
#include "source/sha1.h"
#include "source/source_values.h"
#include "source/xml_escape.h"

namespace VardelCatalog {
namespace {

TEST(SourceValues, TimesMustBeExactAndReal) {
    for (const wchar_t* text : {L"2024-03-01T00:00:00Z", L"2024-02-29T23:59:59Z",
                                L"2000-02-29T12:00:00Z", L"0001-12-31T00:00:00Z"})
        EXPECT_TRUE(IsTimestamp(text)) << text;
    for (const wchar_t* text :
         {L"", L"2024-03-01", L"2024-03-01T00:00:00", L"2024-03-01T00:00:00z",
          L"2024-03-01 00:00:00Z", L"2024-03-01T00:00:00.0Z", L"2023-02-29T00:00:00Z",
          L"1900-02-29T00:00:00Z", L"2024-04-31T00:00:00Z", L"2024-13-01T00:00:00Z",
          L"2024-00-01T00:00:00Z", L"2024-01-00T00:00:00Z", L"2024-01-01T24:00:00Z",
          L"2024-01-01T00:60:00Z", L"2024-01-01T00:00:60Z", L"2024-1-01T00:00:00Z",
          L"+024-01-01T00:00:00Z", L"2024-01-01T0a:00:00Z"})
        EXPECT_FALSE(IsTimestamp(text)) << text;
}

TEST(SourceValues, CountsAndLanguageKeys) {
    EXPECT_EQ(ParseCount(L"007"), 7);
    EXPECT_EQ(ParseCount(L"999999999"), 999999999);
    for (const wchar_t* text : {L"", L"-1", L"+1", L"1.0", L"1000000000", L" 1"})
        EXPECT_FALSE(ParseCount(text).has_value()) << text;
    EXPECT_EQ(LanguageKey(L"EN-us"), L"en-us");
    EXPECT_EQ(LanguageKey(L"\u00C4-X"), L"\u00C4-x");  // only ASCII letters fold
}

TEST(NameGuid, FollowsTheVersion5Derivation) {
    // Published examples of version-5 GUIDs in the DNS namespace.
    const Vardel::Guid dns = *Vardel::Guid::Parse(L"6ba7b810-9dad-11d1-80b4-00c04fd430c8");
    EXPECT_EQ(NameBasedGuid(dns, "python.org").ToString(), L"886313e1-3b8a-5372-9b90-0c9aee199e5d");
    EXPECT_EQ(NameBasedGuid(dns, "www.example.com").ToString(),
              L"2ed6657d-e927-568b-95e1-2665a8aea6a2");
    // A name longer than one SHA-1 block.
    EXPECT_NE(NameBasedGuid(dns, std::string(100, 'a')), NameBasedGuid(dns, std::string(101, 'a')));

    const Vardel::Guid family = *Vardel::Guid::Parse(L"be6c0de3-072a-4eee-98b7-1bba1b36a7b4");
    EXPECT_EQ(CsvRowId(family, 0), NameBasedGuid(family, "row:0"));
    EXPECT_EQ(CsvRowId(family, 12), NameBasedGuid(family, "row:12"));
    EXPECT_EQ(DerivedRevision(family, L"2024-03-01T00:00:00Z"),
              NameBasedGuid(family, "revision:2024-03-01T00:00:00Z"));
    const std::wstring text = CsvRowId(family, 3).ToString();
    EXPECT_EQ(text[14], L'5');
    EXPECT_NE(std::wstring(L"89ab").find(text[19]), std::wstring::npos);
}

TEST(Sha1, KnownDigestsAcrossBlockBoundaries) {
    EXPECT_EQ(Sha1Hex(""), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
    EXPECT_EQ(Sha1Hex("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
    // 56 bytes: the length no longer fits the first block.
    EXPECT_EQ(Sha1Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
    EXPECT_EQ(Sha1Hex(std::string(1000000, 'a')), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
}

TEST(XmlEscape, EscapesMarkupAndKeepsEveryOtherCharacter) {
    std::string out = "x";
    AppendEscaped(out, L"<a b=\"c\" d='e'>&amp;</a>");
    EXPECT_EQ(out, "x&lt;a b=&quot;c&quot; d='e'&gt;&amp;amp;&lt;/a&gt;");

    out.clear();
    AppendEscaped(out, L"\t\n\r|\u00E9\u20AC\U0001F529\uFFFD\u007F");
    EXPECT_EQ(out, "&#9;&#10;&#13;|\xC3\xA9\xE2\x82\xAC\xF0\x9F\x94\xA9\xEF\xBF\xBD\x7F");

    // What XML cannot hold becomes U+FFFD.
    out.clear();
    AppendEscaped(out, std::wstring{L'\0', L'\x1', L'\x1F', L'\xFFFE', L'\xFFFF',
                                    static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0x110000)});
    std::string expected;
    for (int i = 0; i < 7; ++i)
        expected += "\xEF\xBF\xBD";
    EXPECT_EQ(out, expected);

    EXPECT_TRUE(IsXmlCharacter(U'\t'));
    EXPECT_TRUE(IsXmlCharacter(U'\U0010FFFF'));
    EXPECT_FALSE(IsXmlCharacter(U'\x0B'));
    EXPECT_FALSE(IsXmlCharacter(0xDFFF));
}

}  // namespace
}  // namespace VardelCatalog
