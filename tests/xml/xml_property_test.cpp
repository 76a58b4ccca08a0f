#include <gtest/gtest.h>

#include <clocale>

#include "xml_test_util.h"

namespace {

class XmlProperty : public ::testing::Test {
  protected:
    XMLParser parser = ParsedXml(L"<R z='last' a='first'/>");
    XMLNode node = parser.GetRootNode();

    std::wstring Stored(const wchar_t* name) {
        std::wstring value;
        node.GetProperty(name, value);
        return value;
    }
};

TEST_F(XmlProperty, DoublesUseTwelveDecimalsAndAPointInAnyLocale) {
    const char* previous = std::setlocale(LC_ALL, "de_DE.UTF-8");
    ASSERT_TRUE(node.SetProperty(L"d", 2.0));
    ASSERT_TRUE(node.SetProperty(L"e", -1.5));
    if (previous != nullptr)
        std::setlocale(LC_ALL, "C");
    EXPECT_EQ(Stored(L"d"), L"2.000000000000");
    EXPECT_EQ(Stored(L"e"), L"-1.500000000000");

    double value = 7;
    ASSERT_TRUE(node.SetProperty(L"comma", L"2,5"));
    ASSERT_TRUE(node.GetProperty(L"comma", value));
    EXPECT_EQ(value, 2.0);
    ASSERT_TRUE(node.SetProperty(L"word", L"abc"));
    ASSERT_TRUE(node.GetProperty(L"word", value));
    EXPECT_EQ(value, 0.0);
    value = 7;
    EXPECT_FALSE(node.GetProperty(L"missing", value));
    EXPECT_EQ(value, 0.0);
}

TEST_F(XmlProperty, BooleansReadBackAndAcceptNumbersAndAnyCase) {
    bool value = false;
    ASSERT_TRUE(node.SetProperty(L"yes", true));
    ASSERT_TRUE(node.GetProperty(L"yes", value));
    EXPECT_TRUE(value);

    const std::pair<const wchar_t*, bool> cases[] = {
        {L"TRUE", true},   {L"1", true},    {L"-2.5", true}, {L" true ", true}, {L"0", false},
        {L"False", false}, {L"yes", false}, {L"", false},    {L"0x1", false},
    };
    for (const auto& [text, expected] : cases) {
        ASSERT_TRUE(node.SetProperty(L"b", text));
        value = !expected;
        EXPECT_TRUE(node.GetProperty(L"b", value)) << text;
        EXPECT_EQ(value, expected) << text;
    }
    value = true;
    EXPECT_FALSE(node.GetProperty(L"missing", value));
    EXPECT_FALSE(value);

    ASSERT_TRUE(node.SetStrBoolProperty(L"s", true));
    EXPECT_EQ(Stored(L"s"), L"true");
    ASSERT_TRUE(node.SetProperty(L"s", L"TrUe"));
    ASSERT_TRUE(node.GetStrBoolProperty(L"s", value));
    EXPECT_TRUE(value);
    ASSERT_TRUE(node.SetProperty(L"s", L"1"));
    ASSERT_TRUE(node.GetStrBoolProperty(L"s", value));
    EXPECT_FALSE(value);
}

TEST_F(XmlProperty, IntegersRoundHalfToEvenAndFailCleanly) {
    ASSERT_TRUE(node.SetProperty(L"l", -7L));
    EXPECT_EQ(Stored(L"l"), L"-7");

    const std::pair<const wchar_t*, int> good[] = {
        {L" 12 ", 12}, {L"2.5", 2},    {L"3.5", 4},
        {L"-0.5", 0},  {L"1e3", 1000}, {L"2147483647", 2147483647},
    };
    for (const auto& [text, expected] : good) {
        ASSERT_TRUE(node.SetProperty(L"n", text));
        int value = -1;
        EXPECT_TRUE(node.GetProperty(L"n", value)) << text;
        EXPECT_EQ(value, expected) << text;
    }
    for (const wchar_t* bad : {L"", L"12abc", L"2147483648", L"0x10", L"inf", L"nan", L"1,5"}) {
        ASSERT_TRUE(node.SetProperty(L"n", bad));
        int value = -1;
        EXPECT_FALSE(node.GetProperty(L"n", value)) << bad;
        EXPECT_EQ(value, 0) << bad;
    }
    short small = -1;
    ASSERT_TRUE(node.SetProperty(L"n", L"32768"));
    EXPECT_FALSE(node.GetProperty(L"n", small));
    ASSERT_TRUE(node.SetProperty(L"n", L"-32768"));
    EXPECT_TRUE(node.GetProperty(L"n", small));
    EXPECT_EQ(small, -32768);
    long wide = 0;
    ASSERT_TRUE(node.SetProperty(L"n", 9000000000L));
    EXPECT_TRUE(node.GetProperty(L"n", wide));
    EXPECT_EQ(wide, 9000000000L);
}

TEST_F(XmlProperty, AttributeOrderIsKeptWhenValuesChange) {
    ASSERT_TRUE(node.SetProperty(L"m", L"middle"));
    ASSERT_TRUE(node.SetProperty(L"z", L"changed"));
    std::vector<std::wstring> names;
    ASSERT_TRUE(node.GetProperties(names));
    EXPECT_EQ(names, (std::vector<std::wstring>{L"z", L"a", L"m"}));
    EXPECT_EQ(XmlOf(node), L"<R z=\"changed\" a=\"first\" m=\"middle\"/>");

    EXPECT_TRUE(node.RemoveProperty(L"a"));
    EXPECT_TRUE(node.RemoveProperty(L"a"));  // already gone: still success
    EXPECT_FALSE(node.SetProperty(L"a", static_cast<const wchar_t*>(nullptr)));
    EXPECT_FALSE(node.SetProperty(L"bad name", L"x"));
    std::wstring value = L"x";
    EXPECT_FALSE(node.GetProperty(L"a", value));
    EXPECT_EQ(value, L"");
    EXPECT_EQ(XmlOf(node), L"<R z=\"changed\" m=\"middle\"/>");
}

TEST_F(XmlProperty, OnlyElementsHaveProperties) {
    XMLNode text = node.AddNode(L"T", L"t");
    XMLNode child;
    ASSERT_TRUE(text.GetFirstChildNode(child));
    std::wstring value;
    std::vector<std::wstring> names;
    EXPECT_FALSE(child.SetProperty(L"a", L"b"));
    EXPECT_FALSE(child.GetProperty(L"a", value));
    EXPECT_FALSE(child.RemoveProperty(L"a"));
    EXPECT_FALSE(child.GetProperties(names));
    EXPECT_FALSE(parser.GetRootNode().GetParentNode().SetProperty(L"a", L"b"));
}

TEST_F(XmlProperty, NamespaceDeclarationsReadLikeAttributes) {
    XMLParser declared = ParsedXml(L"<R xmlns:x='urn:x' x:a='1' b='2'/>");
    XMLNode root = declared.GetRootNode();
    std::vector<std::wstring> names;
    ASSERT_TRUE(root.GetProperties(names));
    EXPECT_EQ(names, (std::vector<std::wstring>{L"xmlns:x", L"x:a", L"b"}));
    std::wstring value;
    ASSERT_TRUE(root.GetProperty(L"xmlns:x", value));
    EXPECT_EQ(value, L"urn:x");
    ASSERT_TRUE(root.GetProperty(L"x:a", value));
    EXPECT_EQ(value, L"1");
    EXPECT_FALSE(root.GetProperty(L"a", value));

    // A plain name finds the attribute without a prefix, whatever comes first;
    // names beyond ASCII and the default declaration are found too.
    XMLParser both = ParsedXml(L"<R xmlns='urn:d' xmlns:x='urn:x' x:a='1' a='2' \u00e4='3'/>");
    const std::pair<const wchar_t*, const wchar_t*> reads[] = {
        {L"a", L"2"}, {L"x:a", L"1"}, {L"\u00e4", L"3"}, {L"xmlns", L"urn:d"}};
    for (const auto& [name, expected] : reads) {
        ASSERT_TRUE(both.GetRootNode().GetProperty(name, value)) << name;
        EXPECT_EQ(value, expected);
    }
    EXPECT_FALSE(both.GetRootNode().GetProperty(L"", value));

    // Setting a declaration that exists changes it instead of doubling it.
    ASSERT_TRUE(root.SetProperty(L"xmlns:x", L"urn:y"));
    ASSERT_TRUE(root.SetProperty(L"xmlns:n", L"urn:n"));
    EXPECT_EQ(XmlOf(root), L"<R xmlns:x=\"urn:y\" xmlns:n=\"urn:n\" x:a=\"1\" b=\"2\"/>");
    EXPECT_TRUE(ParsedXml(XmlOf(root).c_str()).GetRootNode().IsNode());
}

}  // namespace
