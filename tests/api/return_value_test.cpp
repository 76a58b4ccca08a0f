#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "api/return_value_builder.h"
#include "api/utf16_order.h"
#include "vardel/return_value.h"

namespace {

using Vardel::ReturnValue;
using VardelUtils::CompareUtf16Order;
using VardelUtils::ReturnValueBuilder;

ReturnValue Valid(const wchar_t* text) {
    return ReturnValueBuilder::Make(text, Vardel::NoError);
}

TEST(ReturnValue, DefaultAndBuiltResultsCarryCodeAndText) {
    const ReturnValue rv;
    EXPECT_EQ(rv.GetErrorCode(), 2);
    EXPECT_TRUE(!rv);
    EXPECT_EQ(static_cast<const wchar_t*>(rv), nullptr);

    const ReturnValue found = Valid(L"steel");
    EXPECT_TRUE(found.IsValid());
    EXPECT_EQ(std::wstring(found), L"steel");
    // A null text is an empty value, not a null conversion.
    const ReturnValue blank = Valid(nullptr);
    ASSERT_NE(static_cast<const wchar_t*>(blank), nullptr);
    EXPECT_EQ(std::wstring(blank), L"");

    const ReturnValue missing = ReturnValueBuilder::Make(Vardel::ItemNotFound);
    EXPECT_EQ(missing.GetErrorCode(), Vardel::ItemNotFound);
    EXPECT_EQ(static_cast<const wchar_t*>(missing), nullptr);
    EXPECT_EQ(ReturnValueBuilder::FromText(L"").GetErrorCode(), Vardel::NoValue);
}

TEST(ReturnValue, CopiesKeepTheValueAndMovesLeaveTheSourceWithout) {
    ReturnValue source = Valid(L"M6");
    ReturnValue copy = ReturnValueBuilder::Make(Vardel::ItemNotFound);
    copy = source;
    EXPECT_EQ(copy.GetErrorCode(), Vardel::NoError);
    EXPECT_EQ(std::wstring(copy), L"M6");

    ReturnValue moved(std::move(source));
    EXPECT_EQ(std::wstring(moved), L"M6");
    EXPECT_EQ(source.GetErrorCode(), Vardel::NoValue);  // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(static_cast<const wchar_t*>(source), nullptr);
    ReturnValue target = ReturnValueBuilder::Make(Vardel::ItemNotFound);
    target = std::move(moved);
    EXPECT_EQ(target.GetErrorCode(), Vardel::NoError);
    EXPECT_EQ(std::wstring(target), L"M6");
    EXPECT_FALSE(moved.IsValid());  // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(ReturnValueBuilder::FromText(std::wstring()).GetErrorCode(), Vardel::NoValue);
}

TEST(ReturnValue, InvalidSideComparesAsEmptyText) {
    const ReturnValue b = Valid(L"b");
    const ReturnValue invalid;
    EXPECT_TRUE(b > invalid);
    EXPECT_TRUE(invalid < b);
    // An empty valid text and an invalid result are equivalent.
    EXPECT_FALSE(Valid(L"") < invalid);
    EXPECT_FALSE(Valid(L"") > invalid);
}

TEST(ReturnValue, OrderingIsOrdinalAndCaseSensitive) {
    EXPECT_TRUE(Valid(L"B") < Valid(L"a"));
    EXPECT_TRUE(Valid(L"ab") < Valid(L"abc"));
    EXPECT_FALSE(Valid(L"x") < Valid(L"x"));
    EXPECT_FALSE(Valid(L"x") > Valid(L"x"));
    // U+1F600 is a surrogate pair in UTF-16 and so precedes U+FF21.
    EXPECT_TRUE(Valid(L"\U0001F600") < Valid(L"\uFF21"));
}

TEST(ReturnValue, TakingTheTextLeavesNoValueAndStopsAtANullCharacter) {
    ReturnValue found = ReturnValueBuilder::FromText(L"2024-01-01");
    EXPECT_EQ(ReturnValueBuilder::TakeText(found), L"2024-01-01");
    EXPECT_EQ(found.GetErrorCode(), Vardel::NoValue);
    EXPECT_EQ(static_cast<const wchar_t*>(found), nullptr);
    // What a host reads through the text pointer, no more.
    ReturnValue embedded = ReturnValueBuilder::FromText(std::wstring(L"ab\0cd", 5));
    EXPECT_EQ(ReturnValueBuilder::TakeText(embedded), L"ab");
}

TEST(Utf16Order, MatchesCodeUnitOrderAroundSurrogates) {
    EXPECT_EQ(CompareUtf16Order(L"a\U00010000", L"a\U00010000"), 0);
    EXPECT_LT(CompareUtf16Order(L"", L"a"), 0);
    EXPECT_LT(CompareUtf16Order(L"\uD7FF", L"\U00010000"), 0);
    EXPECT_GT(CompareUtf16Order(L"\uE000", L"\U0010FFFF"), 0);
    EXPECT_GT(CompareUtf16Order(L"\uFFFF", L"\U00010000"), 0);
    EXPECT_LT(CompareUtf16Order(L"\U00010000", L"\U00010001"), 0);
    EXPECT_LT(CompareUtf16Order(L"\U0001F600z", L"\U0001F601a"), 0);
}

}  // namespace
