#include "vardel/xml_document_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xml_test_util.h"

namespace {

// One builder call: '<' starts element `a` on line `line`, '=' adds
// attribute `a` with value `b`, 't' adds text `a`, '>' ends an element.
struct Step {
    char call;
    std::string a;
    std::string b;
    long line = 0;
};

XMLParser Build(const std::vector<Step>& steps) {
    XMLDocumentBuilder builder;
    for (const Step& step : steps) {
        switch (step.call) {
            case '<':
                builder.StartElement(step.a, step.line);
                break;
            case '=':
                builder.Attribute(step.a, step.b);
                break;
            case 't':
                builder.Text(step.a);
                break;
            default:
                builder.EndElement();
        }
    }
    return builder.Finish();
}

std::wstring ParseErrorOf(const XMLParser& parser) {
    int line = -1;
    std::wstring message;
    EXPECT_TRUE(parser.GetParseError(line, message));
    EXPECT_EQ(line, 0);
    return message;
}

const std::wstring kDeclaration = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

TEST(XmlDocumentBuilder, BuildsWhatParsingTheSameTextGives) {
    const Step end{'>', "", ""};
    const struct Case {
        std::wstring text;
        std::vector<Step> steps;
    } cases[] = {
        {L"<a x=\"1\" xml:lang=\"de\"><b>t&amp;&lt;\"</b><c/></a>",
         {{'<', "a", ""},
          {'=', "x", "1"},
          {'=', "xml:lang", "de"},
          {'<', "b", ""},
          {'t', "t&<\"", ""},
          end,
          {'<', "c", ""},
          end,
          end}},
        // Whitespace alone between elements is dropped, under
        // xml:space="preserve" kept; whitespace next to text is part of it.
        {L"<a>\n  <b> </b>\n</a>",
         {{'<', "a", ""},
          {'t', "\n  ", ""},
          {'<', "b", ""},
          {'t', " ", ""},
          end,
          {'t', "\n", ""},
          end}},
        {L"<a xml:space=\"preserve\"> <b> </b><c xml:space=\"default\"> </c></a>",
         {{'<', "a", ""},
          {'=', "xml:space", "preserve"},
          {'t', " ", ""},
          {'<', "b", ""},
          {'t', " ", ""},
          end,
          {'<', "c", ""},
          {'=', "xml:space", "default"},
          {'t', " ", ""},
          end,
          end}},
        {L"<a><b>  x</b><c>x </c><d>\t</d></a>",
         {{'<', "a", ""},
          {'<', "b", ""},
          {'t', " ", ""},
          {'t', " ", ""},
          {'t', "x", ""},
          end,
          {'<', "c", ""},
          {'t', "x", ""},
          {'t', " ", ""},
          end,
          {'<', "d", ""},
          {'t', "\t", ""},
          end,
          end}},
        {L"<a n=\"a value of sixteen\" m=\"fifteen bytes..\">a text of sixteen</a>",
         {{'<', "a", ""},
          {'=', "n", "a value of sixteen"},
          {'=', "m", "fifteen bytes.."},
          {'t', "a text of sixteen", ""},
          end}},
        {L"<a>0123456789\t\u00e9abcdefgh\u007f</a>",
         {{'<', "a", ""},
          {'t',
           "0123456789\t\xC3\xA9"
           "abcdefgh\x7F",
           ""},
          end}},
        {L"<a n=\"\u00e9\" m=\"\">\u65e5\U0001F600</a>",
         {{'<', "a", ""},
          {'=', "n", "\xC3\xA9"},
          {'=', "m", ""},
          {'t', "\xE6\x97\xA5\xF0\x9F\x98\x80", ""},
          end}},
    };
    for (const Case& c : cases) {
        const XMLParser built = Build(c.steps);
        EXPECT_EQ(XmlOf(built), XmlOf(ParsedXml((kDeclaration + c.text).c_str()))) << c.text;
    }
}

// Short texts live inside their nodes, as the parser keeps them: editing
// and freeing them must work as for parsed ones, and xml:id is an id.
TEST(XmlDocumentBuilder, TextsItBuiltCanBeEditedAndIdsFound) {
    XMLParser built = Build({{'<', "a", ""},
                             {'=', "xml:id", "k"},
                             {'=', "v", "1"},
                             {'<', "b", ""},
                             {'t', "short", ""},
                             {'>', "", ""},
                             {'<', "c", ""},
                             {'t', "longer than sixteen", ""},
                             {'>', "", ""},
                             {'>', "", ""}});
    XMLNodeArray found;
    ASSERT_TRUE(built.GetRootNode().SelectChildNodes(L"id('k')", found));
    EXPECT_EQ(found.GetSize(), 1);
    XMLNode b, c;
    ASSERT_TRUE(built.GetRootNode().GetChildNode(L"b", b));
    ASSERT_TRUE(built.GetRootNode().GetChildNode(L"c", c));
    EXPECT_TRUE(b.SetNodeText(L"now it is longer than sixteen"));
    EXPECT_TRUE(c.SetNodeText(L"x"));
    EXPECT_TRUE(built.GetRootNode().SetProperty(L"v", L"a value longer than sixteen"));
    EXPECT_TRUE(built.GetRootNode().RemoveProperty(L"xml:id"));
    EXPECT_EQ(XmlOf(built), kDeclaration +
                                L"<a v=\"a value longer than sixteen\">"
                                L"<b>now it is longer than sixteen</b><c>x</c></a>\n");
}

TEST(XmlDocumentBuilder, ElementsKeepTheLinesGiven) {
    const XMLParser built = Build({{'<', "a", "", 2},
                                   {'<', "b", "", 3},
                                   {'>', "", ""},
                                   {'<', "c", "", 70000},
                                   {'>', "", ""},
                                   {'>', "", ""}});
    XMLNodeArray children;
    ASSERT_TRUE(built.GetRootNode().GetChildNodes(children));
    ASSERT_EQ(children.GetCount(), 2);
    EXPECT_EQ(built.GetRootNode().GetLineNumber(), 2);
    EXPECT_EQ(children.GetAt(0).GetLineNumber(), 3);
    EXPECT_EQ(children.GetAt(1).GetLineNumber(), 70000);
}

TEST(XmlDocumentBuilder, AMisuseLeavesNoDocumentAndSaysWhy) {
    const Step root{'<', "r", ""};
    const Step end{'>', "", ""};
    const struct Case {
        std::vector<Step> steps;
        std::wstring message;
    } cases[] = {
        {{}, L"no document element"},
        {{root}, L"an element left open"},
        {{root, end, root, end}, L"a second document element"},
        {{end}, L"an element closed that is not open"},
        {{{'<', "1a", ""}, end}, L"element name \"1a\" is no XML name"},
        {{{'<', "p:a", ""}, end}, L"element name \"p:a\" is no XML name"},
        {{{'<', "", ""}, end}, L"element name \"\" is no XML name"},
        {{{'<', "\xC3", ""}, end}, L"element name \"\xFFFD\" is no XML name"},
        {{root, {'=', "a b", "1"}, end}, L"attribute name \"a b\" is no XML name"},
        {{root, {'=', "p:a", "1"}, end}, L"attribute name \"p:a\" is no XML name"},
        {{root, {'=', "a", "\x01"}, end}, L"the value of attribute \"a\" is no XML text"},
        {{root, {'=', "a", "\xEF\xBF\xBE"}, end}, L"the value of attribute \"a\" is no XML text"},
        {{root, {'=', "a", "1"}, {'=', "a", "2"}, end}, L"attribute \"a\" given twice"},
        {{root, {'t', "x", ""}, {'=', "a", "1"}, end}, L"attribute \"a\" outside a start tag"},
        {{root, end, {'=', "a", "1"}}, L"attribute \"a\" outside a start tag"},
        {{root, {'t', "\xED\xA0\x80", ""}, end}, L"a text that is no XML text"},
        {{root, {'t', "a\x0B", ""}, end}, L"a text that is no XML text"},
        {{root, {'t', "\xEF\xBF\xBF", ""}, end}, L"a text that is no XML text"},
        {{root, {'t', "01234567\x01", ""}, end}, L"a text that is no XML text"},
        {{root,
          {'t',
           "012\x02"
           "4567890123",
           ""},
          end},
         L"a text that is no XML text"},
        {{root, {'t', "0123456789ABCDE\xEF\xBF\xBE", ""}, end}, L"a text that is no XML text"},
        {{root, end, {'t', "x", ""}}, L"text outside the document element"},
    };
    for (const Case& c : cases) {
        const XMLParser built = Build(c.steps);
        EXPECT_EQ(ParseErrorOf(built), c.message);
        EXPECT_EQ(NameOf(built.GetRootNode()), L"#document") << c.message;
    }
}

TEST(XmlDocumentBuilder, StartsANewDocumentAfterFinishing) {
    XMLDocumentBuilder builder;
    builder.StartElement("a");
    builder.StartElement("b");
    const XMLParser open = builder.Finish();
    builder.StartElement("c");
    builder.Text("\xEF\xBF\xBD");
    builder.EndElement();
    const XMLParser second = builder.Finish();
    EXPECT_EQ(ParseErrorOf(open), L"an element left open");
    EXPECT_EQ(XmlOf(second), kDeclaration + L"<c>\xFFFD</c>\n");
}

}  // namespace
