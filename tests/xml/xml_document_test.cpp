#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "common/atomic_file.h"
#include "support/temp_folder.h"
#include "xml_test_util.h"

namespace fs = std::filesystem;

namespace {

std::string Bytes(const fs::path& path) {
    std::string bytes;
    EXPECT_TRUE(VardelCommon::ReadWholeFile(path, bytes));
    return bytes;
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    ASSERT_TRUE(VardelCommon::WriteFileAtomically(path, bytes));
}

std::wstring Wide(const fs::path& path) {
    return path.wstring();
}

// UTF-16LE code units of an ASCII text.
std::string Utf16Le(const std::string& text) {
    std::string bytes;
    for (char c : text) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

TEST(XmlDocument, FormattedSaveIndentsTwoSpacesPerLevel) {
    TempFolder folder;
    const fs::path file = folder.path() / "f.xml";
    XMLParser parser = ParsedXml(L"<Root><A><B/></A><C>text</C></Root>");
    ASSERT_TRUE(parser.SaveXmlDocument(Wide(file).c_str(), true));
    EXPECT_EQ(Bytes(file), "<Root>\n  <A>\n    <B/>\n  </A>\n  <C>text</C>\n</Root>\n");

    // A second formatted save keeps the first one's whitespace.
    ASSERT_TRUE(parser.SaveXmlDocument(Wide(file).c_str(), true));
    EXPECT_EQ(Bytes(file),
              "<Root>\n  \n  <A>\n    \n    <B/>\n  </A>\n  \n  <C>text</C>\n</Root>\n");
    // Loading drops the whitespace again.
    XMLParser loaded;
    ASSERT_TRUE(loaded.LoadXmlDocument(Wide(file).c_str()));
    EXPECT_EQ(XmlOf(loaded), L"<Root><A><B/></A><C>text</C></Root>\n");
}

TEST(XmlDocument, IndentationStopsGrowingAt78Spaces) {
    XMLParser parser = ParsedXml(L"<R/>");
    XMLNode node = parser.GetRootNode();
    for (int level = 0; level < 45; ++level)
        node = node.AddNode(L"N");
    TempFolder folder;
    const fs::path file = folder.path() / "deep.xml";
    ASSERT_TRUE(parser.SaveXmlDocument(Wide(file).c_str(), true));
    const std::string bytes = Bytes(file);
    EXPECT_NE(bytes.find("\n" + std::string(78, ' ') + "<N/>"), std::string::npos);
    EXPECT_EQ(bytes.find(std::string(79, ' ')), std::string::npos);
    EXPECT_NE(bytes.find("\n" + std::string(76, ' ') + "<N>"), std::string::npos);
}

TEST(XmlDocument, Utf16DeclarationSavesUtf16AndLoadsBack) {
    TempFolder folder;
    const fs::path file = folder.path() / "u16.xml";
    XMLParser parser;
    ASSERT_TRUE(parser.CreateXmlDocument(L"UTF-16"));
    XMLNode root = parser.AddNode(L"CustomValues");
    root.AddNode(L"Column", nullptr, L"Id", L"c1", L"Value", L"Ø 12 – µm");
    EXPECT_EQ(XmlOf(parser),
              L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
              L"<CustomValues><Column Id=\"c1\" Value=\"Ø 12 – µm\"/></CustomValues>\n");
    ASSERT_TRUE(parser.SaveXmlDocument(Wide(file).c_str(), false));
    const std::string bytes = Bytes(file);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(bytes.substr(2, 10), Utf16Le("<?xml"));

    XMLParser loaded;
    ASSERT_TRUE(loaded.LoadXmlDocument(Wide(file).c_str()));
    EXPECT_EQ(XmlOf(loaded), XmlOf(parser));
}

TEST(XmlDocument, LoadsUtf8AndUtf16WithAndWithoutByteOrderMark) {
    TempFolder folder;
    const std::string body = "<R a='\xC3\xA9'/>";  // é
    const std::string utf16Body = Utf16Le("<R a='") + std::string("\xE9\0", 2) + Utf16Le("'/>");
    const std::string cases[] = {
        body,
        "\xEF\xBB\xBF" + body,
        "<?xml version='1.0' encoding='UTF-8'?>" + body,
        "\xFF\xFE" + utf16Body,
        utf16Body,
        Utf16Le("<?xml version='1.0' encoding='UTF-16'?>") + utf16Body,
    };
    int index = 0;
    for (const std::string& bytes : cases) {
        const fs::path file = folder.path() / ("case" + std::to_string(index++) + ".xml");
        WriteBytes(file, bytes);
        XMLParser parser;
        ASSERT_TRUE(parser.LoadXmlDocument(Wide(file).c_str())) << index;
        std::wstring value;
        EXPECT_TRUE(parser.GetRootNode().GetProperty(L"a", value)) << index;
        EXPECT_EQ(value, L"\u00e9") << index;
    }
}

TEST(XmlDocument, SetXmlAcceptsAnyDeclaredEncoding) {
    XMLParser parser;
    ASSERT_TRUE(parser.SetXml(L"<?xml version=\"1.0\" encoding=\"UTF-16\"?><R>\u4e2d</R>"));
    EXPECT_EQ(TextOf(parser.GetRootNode()), L"\u4e2d");
    EXPECT_EQ(XmlOf(parser), L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<R>\u4e2d</R>\n");
    ASSERT_TRUE(parser.SetXml(L"\ufeff<R/>"));
    EXPECT_EQ(XmlOf(parser), L"<R/>\n");

    // The UTF-8 form reads the same way, the declaration recorded as written.
    ASSERT_TRUE(parser.SetXmlUtf8(
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><R>\xE4\xB8\xAD</R>"));
    EXPECT_EQ(XmlOf(parser), L"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<R>\u4e2d</R>\n");
    EXPECT_FALSE(parser.SetXmlUtf8("<R>\xE4</R>"));
    int line = 0;
    std::wstring message;
    EXPECT_TRUE(parser.GetParseError(line, message));
}

TEST(XmlDocument, FailuresLeaveTheDocumentAsTheContractSays) {
    TempFolder folder;
    XMLParser parser = ParsedXml(L"<Kept/>");
    XMLParser copy = parser;
    EXPECT_FALSE(parser.LoadXmlDocument(Wide(folder.path() / "missing.xml").c_str()));
    EXPECT_FALSE(parser.LoadXmlDocument(Wide(folder.path()).c_str()));
    EXPECT_EQ(NameOf(copy.GetRootNode()), L"Kept");

    const fs::path broken = folder.path() / "broken.xml";
    WriteBytes(broken, "<A><B></A>");
    EXPECT_FALSE(parser.LoadXmlDocument(Wide(broken).c_str()));
    EXPECT_EQ(NameOf(copy.GetRootNode()), L"#document");  // copies share the emptied document

    ASSERT_TRUE(parser.SetXml(L"<Again/>"));
    EXPECT_EQ(NameOf(copy.GetRootNode()), L"Again");
    EXPECT_FALSE(parser.SetXml(L"<unclosed>"));
    EXPECT_EQ(copy.GetNodesCount(), 0);
    EXPECT_EQ(copy.GetRootNode().GetChildCount(), 0);
    EXPECT_FALSE(parser.SetXml(nullptr));
    EXPECT_FALSE(XMLParser(L"not xml").GetDocument() == nullptr);
}

TEST(XmlDocument, WithoutDocumentEveryOperationFails) {
    XMLParser parser;
    parser.SetDocument(nullptr);
    std::wstring xml;
    XMLNode node;
    XMLNodeArray nodes;
    EXPECT_FALSE(parser.SetXml(L"<R/>"));
    EXPECT_FALSE(parser.GetXml(xml));
    EXPECT_FALSE(parser.SaveXmlDocument(nullptr, false));
    EXPECT_FALSE(parser.CreateXmlDocument(L"UTF-16"));
    EXPECT_FALSE(parser.GetRootNode().IsNode());
    EXPECT_FALSE(parser.GetNode(node));
    EXPECT_FALSE(parser.AddNode(L"A").IsNode());
    EXPECT_FALSE(parser.GetNodesByTag(L"A", nodes));
    EXPECT_EQ(parser.GetNodesCount(), 0);
}

TEST(XmlDocument, SaveWithoutPathWritesAGuidNamedTemporaryFile) {
    XMLParser parser = ParsedXml(L"<Temp/>");
    const auto before = fs::file_time_type::clock::now() - std::chrono::seconds(2);
    ASSERT_TRUE(parser.SaveXmlDocument(nullptr, false));
    const std::wregex name(
        L"\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}\\.xml");
    int found = 0;
    for (const auto& entry : fs::directory_iterator(fs::temp_directory_path())) {
        if (!std::regex_match(entry.path().filename().wstring(), name))
            continue;
        if (entry.last_write_time() < before || Bytes(entry.path()) != "<Temp/>\n")
            continue;
        ++found;
        fs::remove(entry.path());
    }
    EXPECT_EQ(found, 1);
}

TEST(XmlDocument, FailedSaveKeepsThePreviousFile) {
    TempFolder folder;
    const fs::path file = folder.path() / "keep.xml";
    XMLParser parser = ParsedXml(L"<Old/>");
    ASSERT_TRUE(parser.SaveXmlDocument(Wide(file).c_str(), false));
    ASSERT_TRUE(parser.SetXml(L"<New/>"));
    ASSERT_TRUE(parser.CreateXmlDocument(L"no-such-encoding"));
    EXPECT_FALSE(parser.SaveXmlDocument(Wide(file).c_str(), false));
    EXPECT_FALSE(parser.SaveXmlDocument(Wide(folder.path() / "none" / "x.xml").c_str(), false));
    EXPECT_EQ(Bytes(file), "<Old/>\n");
}

TEST(XmlDocument, RoundTripKeepsAttributeOrderTextAndSpecialCharacters) {
    TempFolder folder;
    const fs::path file = folder.path() / "trip.xml";
    const wchar_t* source =
        L"<Family z='1' a='2' m='&lt;&amp;&quot;'><!--note--><Table>"
        L"<Row><Cell ColumnId='c' Formula='=a+b'>  spaced  </Cell></Row>"
        L"<Keep xml:space='preserve'> </Keep><Data><![CDATA[<raw>]]></Data></Table></Family>";
    XMLParser parser = ParsedXml(source);
    XMLNode cell;
    ASSERT_TRUE(parser.GetRootNode().GetChildNode(L"Table/Row/Cell", cell));
    ASSERT_TRUE(cell.SetProperty(L"Value", 2.5));
    ASSERT_TRUE(parser.SaveXmlDocument(Wide(file).c_str(), true));

    XMLParser loaded;
    ASSERT_TRUE(loaded.LoadXmlDocument(Wide(file).c_str()));
    XMLNode root = loaded.GetRootNode();
    std::vector<std::wstring> names;
    root.GetProperties(names);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"z", L"a", L"m"}));
    std::wstring value;
    root.GetProperty(L"m", value);
    EXPECT_EQ(value, L"<&\"");
    ASSERT_TRUE(root.GetChildNode(L"Table/Row/Cell", cell));
    EXPECT_EQ(TextOf(cell), L"  spaced  ");
    cell.GetProperties(names);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"ColumnId", L"Formula", L"Value"}));
    XMLNode keep, data;
    ASSERT_TRUE(root.GetChildNode(L"Table/Keep", keep));
    EXPECT_EQ(TextOf(keep), L" ");
    ASSERT_TRUE(root.GetChildNode(L"Table/Data", data));
    EXPECT_EQ(TextOf(data), L"<raw>");
    ASSERT_TRUE(root.GetFirstChildNode(data));
    EXPECT_EQ(NameOf(data), L"#comment");
}

TEST(XmlDocument, TopLevelLookupsAndTagQueries) {
    XMLParser parser = ParsedXml(L"<Y><X/><Z><X/></Z></Y><!--after-->");
    XMLNode node = parser.GetRootNode();
    EXPECT_FALSE(parser.GetNode(L"X", node));
    EXPECT_FALSE(node.IsNode());
    ASSERT_TRUE(parser.GetNode(L"#comment", node));
    EXPECT_EQ(TextOf(node), L"after");
    ASSERT_TRUE(parser.GetNode(nullptr, node));
    EXPECT_EQ(NameOf(node), L"Y");
    EXPECT_EQ(parser.GetNodesCount(), 2);

    XMLNodeArray nodes;
    ASSERT_TRUE(parser.GetNodesByTag(L"*", nodes));
    EXPECT_EQ(nodes.GetSize(), 4);
    ASSERT_TRUE(parser.RemoveNodesByTag(L"X"));
    EXPECT_EQ(XmlOf(parser), L"<Y><Z/></Y>\n<!--after-->\n");

    XMLParser empty;
    EXPECT_EQ(NameOf(empty.GetRootNode()), L"#document");
    EXPECT_TRUE(empty.AddNode(L"First", L"t").IsNode());
    EXPECT_TRUE(empty.AddNode(L"Second").IsNode());  // goes below the new root
    EXPECT_EQ(XmlOf(empty), L"<First>t<Second/></First>\n");
}

TEST(XmlDocument, LoadingDropsOnlyWhitespaceOnlyText) {
    XMLParser parser = ParsedXml(
        L"<R>\n  <Empty>  \t </Empty>\n  <Mixed>x <b/> y</Mixed>\n  <Kinds><b/>  <!--c-->\r\n"
        L"  <![CDATA[ ]]>  <?pi d?>  </Kinds>\n  <P xml:space='preserve'> <Q> </Q>"
        L"<D xml:space='default'> <E/> </D> </P>\n"
        L"  <Refs><S> &#32;\t</S><A> &amp; </A><X> &#120;</X><L>\r\n\r\n y\r\n</L></Refs>\n</R>");
    EXPECT_EQ(XmlOf(parser),
              L"<R><Empty/><Mixed>x <b/> y</Mixed><Kinds><b/><!--c--><![CDATA[ ]]><?pi d?></Kinds>"
              L"<P xml:space=\"preserve\"> <Q> </Q><D xml:space=\"default\"><E/></D> </P>"
              L"<Refs><S/><A> &amp; </A><X> x</X><L>\n\n y\n</L></Refs></R>\n");
}

}  // namespace
