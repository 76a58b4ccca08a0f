// Inputs written to attack a parser: none may read a file, reach the
// network, blow up memory or the stack, or crash.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/atomic_file.h"
#include "support/temp_folder.h"
#include "xml_test_util.h"

namespace fs = std::filesystem;

namespace {

class XmlHostile : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(VardelCommon::WriteFileAtomically(secret, "TOPSECRET"));
        ASSERT_TRUE(VardelCommon::WriteFileAtomically(
            dtd, "<!ENTITY e SYSTEM 'file://" + secret.string() + "'>"));
    }

    // Parses `xml` from a string and from a file; neither may show the secret.
    void ExpectSecretNotRead(const std::wstring& xml) {
        XMLParser fromText;
        fromText.SetXml(xml.c_str());
        EXPECT_EQ(XmlOf(fromText).find(L"TOPSECRET"), std::wstring::npos) << XmlOf(fromText);

        const fs::path file = folder.path() / "hostile.xml";
        ASSERT_TRUE(VardelCommon::WriteFileAtomically(file, std::string(xml.begin(), xml.end())));
        XMLParser fromFile;
        fromFile.LoadXmlDocument(file.wstring().c_str());
        EXPECT_EQ(XmlOf(fromFile).find(L"TOPSECRET"), std::wstring::npos) << XmlOf(fromFile);
    }

    TempFolder folder;
    fs::path secret = folder.path() / "secret.txt";
    fs::path dtd = folder.path() / "evil.dtd";
};

TEST_F(XmlHostile, ExternalEntitiesAndDtdsAreNeverRead) {
    const std::wstring file = L"file://" + secret.wstring();
    ExpectSecretNotRead(L"<!DOCTYPE r [<!ENTITY e SYSTEM '" + file + L"'>]><r>&e;</r>");
    ExpectSecretNotRead(L"<!DOCTYPE r [<!ENTITY e SYSTEM '" + secret.wstring() + L"'>]><r>&e;</r>");
    ExpectSecretNotRead(L"<!DOCTYPE r SYSTEM 'file://" + dtd.wstring() + L"'><r>&e;</r>");
    ExpectSecretNotRead(L"<!DOCTYPE r [<!ENTITY % p SYSTEM 'file://" + dtd.wstring() +
                        L"'> %p;]><r>&e;</r>");
    ExpectSecretNotRead(L"<!DOCTYPE r [<!ENTITY e SYSTEM 'http://127.0.0.1:9/x'>]><r>&e;</r>");
}

TEST_F(XmlHostile, InternalEntitiesStillExpand) {
    XMLParser parser = ParsedXml(L"<!DOCTYPE r [<!ENTITY e 'fine'>]><r a='&e;'>&e;&amp;</r>");
    EXPECT_EQ(TextOf(parser.GetRootNode()), L"fine&");
    std::wstring value;
    ASSERT_TRUE(parser.GetRootNode().GetProperty(L"a", value));
    EXPECT_EQ(value, L"fine");
}

TEST_F(XmlHostile, EntityAmplificationIsRefused) {
    std::wstring xml = L"<!DOCTYPE r [<!ENTITY l0 'lollollollollollollollollollol'>";
    for (int level = 1; level <= 12; ++level) {
        xml += L"<!ENTITY l" + std::to_wstring(level) + L" '";
        for (int i = 0; i < 10; ++i)
            xml += L"&l" + std::to_wstring(level - 1) + L";";
        xml += L"'>";
    }
    xml += L"]><r>&l12;</r>";
    XMLParser parser;
    EXPECT_FALSE(parser.SetXml(xml.c_str()));
    EXPECT_EQ(NameOf(parser.GetRootNode()), L"#document");
}

TEST_F(XmlHostile, VeryDeepNestingFailsWithoutExhaustingTheStack) {
    constexpr int kDepth = 100000;
    std::wstring xml;
    xml.reserve(kDepth * 7);
    for (int i = 0; i < kDepth; ++i)
        xml += L"<a>";
    for (int i = 0; i < kDepth; ++i)
        xml += L"</a>";
    XMLParser parser;
    EXPECT_FALSE(parser.SetXml(xml.c_str()));
    EXPECT_EQ(parser.GetNodesCount(), 0);
}

TEST_F(XmlHostile, MalformedTextSimplyFails) {
    const wchar_t* cases[] = {
        L"",
        L"   ",
        L"<a>",
        L"<a></b>",
        L"<a b='1' b='2'/>",
        L"<a/><b/>",
        L"text only",
        L"<a>&undefined;</a>",
        L"<a>\x01</a>",
        L"<?xml version='1.0'?>",
        L"<a x='<'/>",
        L"<!DOCTYPE a [<!ENTITY e '&e;'>]><a>&e;</a>",
        L"<p:a/>",
    };
    for (const wchar_t* xml : cases) {
        XMLParser parser = ParsedXml(L"<before/>");
        EXPECT_FALSE(parser.SetXml(xml)) << static_cast<const void*>(xml);
        EXPECT_EQ(NameOf(parser.GetRootNode()), L"#document");
    }
}

TEST_F(XmlHostile, GarbageFilesFailToLoad) {
    const std::string cases[] = {
        std::string("\xFF\xFE", 2),  std::string("\xFF\xFE<\0a\0", 6),
        std::string("\0\0\0\0", 4),  std::string("\xEF\xBB\xBF", 3),
        std::string("<a>\xC3(</a>"), std::string(1000, '\0'),
    };
    const fs::path file = folder.path() / "garbage.xml";
    for (const std::string& bytes : cases) {
        ASSERT_TRUE(VardelCommon::WriteFileAtomically(file, bytes));
        XMLParser parser;
        EXPECT_FALSE(parser.LoadXmlDocument(file.wstring().c_str()));
        EXPECT_EQ(NameOf(parser.GetRootNode()), L"#document");
    }
}

}  // namespace
