// The answer text at the byte level: any stored byte sequence, malformed
// UTF-8 included, gives a well-formed answer that reads back as the stored
// text (U+FFFD where XML cannot carry it); only names that stay plain
// attributes name them.
#include <gtest/gtest.h>

#include "service/search_answer.h"
#include "vardel/xml_parser.h"

namespace VardelCatalog {
namespace {

TEST(SearchAnswer, EscapesValuesSoTheyReadBackUnchanged) {
    struct Case {
        std::string stored;
        std::wstring written;
        std::wstring read;
    };
    const Case cases[] = {
        {"", L"", L""},
        {"\x01x\x1F", L"\xFFFDx\xFFFD", L"\xFFFDx\xFFFD"},
        {"\xEF\xBF\xBE\xEF\xBF\xBF!", L"\xFFFD\xFFFD!", L"\xFFFD\xFFFD!"},
        {"\xEF\xBF\xBD", L"\xFFFD", L"\xFFFD"},
        {"\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E", L"\xE9\x20AC\x1D11E", L"\xE9\x20AC\x1D11E"},
        {"\xFF<", L"\xFFFD&lt;", L"\xFFFD<"},
        {"x\xEF\xBF", L"x\xFFFD", L"x\xFFFD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.stored));
        SearchAnswer answer;
        answer.BeginRow("f");
        answer.Attribute("v", c.stored);
        answer.EndRow();
        const std::wstring text = answer.Finish();
        EXPECT_EQ(L"<results><row FamilyId=\"f\" v=\"" + c.written + L"\"/></results>", text);
        XMLParser parsed(text.c_str());
        XMLNode row;
        ASSERT_TRUE(parsed.GetRootNode().GetChildNode(L"row", row));
        std::wstring value;
        EXPECT_TRUE(row.GetProperty(L"v", value));
        EXPECT_EQ(c.read, value);
    }
}

TEST(SearchAnswer, AttributeNamesAreXmlNamesWithoutNamespaces) {
    for (const wchar_t* name :
         {L"a", L"_", L"A1", L"a-b.c", L"\xE9t\xE9", L"x\xB7y", L"\x10000", L"xmlnsX", L"xml"}) {
        EXPECT_TRUE(IsAnswerAttributeName(name)) << testing::PrintToString(std::wstring(name));
    }
    for (const wchar_t* name : {L"", L"1a", L"-a", L".a", L"a b", L"a:b", L":a", L"xmlns", L"a\"",
                                L"a=", L"\xD7", L"a\xFFFE", L"\xB7"}) {
        EXPECT_FALSE(IsAnswerAttributeName(name)) << testing::PrintToString(std::wstring(name));
    }
}

}  // namespace
}  // namespace VardelCatalog
