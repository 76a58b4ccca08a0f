// Vardel::Guid: the accepted text forms, the written form, random creation.
#include "vardel/guid.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Vardel::Guid;

TEST(Guid, ParsesPlainAndBracedInAnyCase) {
    const auto plain = Guid::Parse(L"3f2504e0-4f89-11d3-9a0c-0305e82c3301");
    ASSERT_TRUE(plain.has_value());
    EXPECT_EQ(plain->bytes,
              (std::array<std::uint8_t, 16>{0x3F, 0x25, 0x04, 0xE0, 0x4F, 0x89, 0x11, 0xD3, 0x9A,
                                            0x0C, 0x03, 0x05, 0xE8, 0x2C, 0x33, 0x01}));
    EXPECT_EQ(Guid::Parse(L"{3F2504E0-4F89-11D3-9A0C-0305E82C3301}"), plain);
    EXPECT_EQ(Guid::Parse(L"3F2504e0-4f89-11D3-9a0C-0305E82c3301"), plain);
}

TEST(Guid, RejectsEveryOtherForm) {
    const wchar_t* rejected[] = {
        L"",
        L"{}",
        L"3f2504e0-4f89-11d3-9a0c-0305e82c330",       // one digit short
        L"3f2504e0-4f89-11d3-9a0c-0305e82c33011",     // one digit long
        L"3f2504e04f8911d39a0c0305e82c3301",          // no dashes
        L"3f2504e-04f89-11d3-9a0c-0305e82c3301",      // wrong grouping
        L"3f2504e0-4f89-11d3-9a0c+0305e82c3301",      // wrong separator
        L"3f2504e0-4f89-11d3-9a0c-0305e82c330g",      // bad digit
        L"3f2504e0-4f89-11d3-9a0c-0305e82c33\u0661",  // non-ASCII digit
        L"{3f2504e0-4f89-11d3-9a0c-0305e82c3301",     // opening brace only
        L"3f2504e0-4f89-11d3-9a0c-0305e82c3301}",     // closing brace only
        L"(3f2504e0-4f89-11d3-9a0c-0305e82c3301)",
        L" 3f2504e0-4f89-11d3-9a0c-0305e82c3301",
    };
    for (const wchar_t* text : rejected) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(text)));
        EXPECT_FALSE(Guid::Parse(text).has_value());
    }
}

TEST(Guid, FormatsLowerCaseWithoutBracesAndOnlyAllZeroIsNil) {
    const auto guid = Guid::Parse(L"{ABCDEF01-2345-6789-ABCD-EF0123456789}");
    ASSERT_TRUE(guid.has_value());
    EXPECT_EQ(guid->ToString(), L"abcdef01-2345-6789-abcd-ef0123456789");
    EXPECT_EQ(Guid::Parse(guid->ToString()), guid);
    EXPECT_EQ(Guid{}.ToString(), L"00000000-0000-0000-0000-000000000000");
    EXPECT_TRUE(Guid{}.IsNil());
    Guid last;
    last.bytes[15] = 1;
    EXPECT_FALSE(last.IsNil());
}

TEST(Guid, NewIsVersionFourAndDistinct) {
    std::set<Guid> seen;
    for (int i = 0; i < 64; ++i) {
        const Guid guid = Guid::New();
        const std::wstring text = guid.ToString();
        EXPECT_EQ(text[14], L'4');
        EXPECT_NE(std::wstring(L"89ab").find(text[19]), std::wstring::npos);
        EXPECT_TRUE(seen.insert(guid).second);
    }
}

}  // namespace
