// The strings documents of a family: languages sharing a key, localised
// cells and column properties, deleting them, the bytes and names of saved
// strings files, and the family copy carrying every language.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/utf16.h"
#include "common/wide_path.h"
#include "family/support/family_xml.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "vardel/family.h"

namespace {

using namespace FamilyTest;
using FamilyPtr = std::unique_ptr<CEncapFamily>;

// Localised strings of column "C": title, column-wide value, a formula and
// the cells of rows r0 and r1; of column "D": the cell of r0.
std::wstring TableStrings(const std::wstring& tag) {
    return L"<Table><ColumnStrings ColumnId=\"C\"><Title>title " + tag +
           L"</Title><ColumnwideValue>cw</ColumnwideValue><Formula>f</Formula><Rows>"
           L"<CellString RowId=\"r0\">c0 " +
           tag +
           L"</CellString><CellString RowId=\"r1\">c1</CellString></Rows></ColumnStrings>"
           L"<ColumnStrings ColumnId=\"D\"><Rows><CellString RowId=\"r0\">d0</CellString>"
           L"</Rows></ColumnStrings></Table>";
}

FamilyPtr TwoLanguages() {
    return LoadFamily(FamilyXml{}.Build(), {StringsXml(L"en-US", TableStrings(L"en")),
                                            StringsXml(L"de-DE", TableStrings(L"de"))});
}

std::wstring StringsText(const CEncapFamily& family, int index) {
    XMLParser strings;
    std::wstring xml;
    family.GetStringsFamilyXML(index, strings);
    strings.GetXml(xml);
    return xml;
}

long Cell(const CEncapFamily& family, const std::wstring& row, const std::wstring& column,
          const std::wstring& language, std::wstring& value) {
    value = L"<unchanged>";
    return family.GetLocalizedCellValue(row, column, language, value);
}

TEST(FamilyStrings, LanguagesDifferingInCaseShareOneDocument) {
    const FamilyPtr family = LoadFamily(
        FamilyXml{}.Build(), {StringsXml(L"en-US", L"<DisplayName>first</DisplayName>"),
                              StringsXml(L"EN-us", L"<DisplayName>later</DisplayName>")});
    EXPECT_EQ(family->GetFamStringsCount(), 2);
    XMLParser first;
    XMLParser second;
    ASSERT_TRUE(family->GetStringsFamilyXML(0, first));
    ASSERT_TRUE(family->GetStringsFamilyXML(1, second));
    EXPECT_EQ(first.GetDocument(), second.GetDocument());
    std::wstring name;
    family->GetDisplayName(name);
    EXPECT_EQ(name, L"later");
    EXPECT_FALSE(family->GetStringsFamilyXML(-1, first));
    EXPECT_FALSE(family->GetStringsFamilyXML(2, first));
}

TEST(FamilyStrings, LocalisedCellsAndPropertiesReadByLanguage) {
    const FamilyPtr family = TwoLanguages();
    std::wstring value;
    EXPECT_EQ(Cell(*family, L"r0", L"C", L"de-de", value), 0);
    EXPECT_EQ(value, L"c0 de");
    EXPECT_EQ(family->GetLocalizedCellValue(L"r0", L"C", value), 0);
    EXPECT_EQ(value, L"c0 en");
    EXPECT_EQ(Cell(*family, L"r0", L"c", L"en-US", value), 1);  // XPath compares exactly
    EXPECT_EQ(value, L"<unchanged>");
    EXPECT_EQ(Cell(*family, L"r9", L"C", L"en-US", value), 1);
    EXPECT_EQ(Cell(*family, L"r0", L"C", L"fr-FR", value), 1);
    EXPECT_EQ(Cell(*family, L"r0' or '1'='1", L"C", L"en-US", value), 1);
    EXPECT_EQ(family->GetLocalizedColumnPropertyValue(L"Title", L"C", L"DE-DE", value), 0);
    EXPECT_EQ(value, L"title de");
    EXPECT_EQ(family->GetLocalizedColumnPropertyValue(L"*", L"C", value), 1);
    EXPECT_EQ(family->GetLocalizedColumnPropertyValue(L"Title | //*", L"C", value), 1);
}

TEST(FamilyStrings, CellsOfColumnsThatAreNotLocalisedAreNeverWritten) {
    const FamilyPtr family = TwoLanguages();
    const std::wstring before = StringsText(*family, 0);
    family->SetLocalizedCellValue(L"r0", L"C", L"");
    family->SetLocalizedCellValue(L"r5", L"C", L"en-US", L"new");
    EXPECT_EQ(StringsText(*family, 0), before);
}

TEST(FamilyStrings, DeletingCellsOfOneColumnOrAllInOneOrEveryLanguage) {
    const FamilyPtr family = TwoLanguages();
    std::wstring value;
    family->DeleteLocalizedCellsValues(L"r0", L"C", false);
    EXPECT_EQ(Cell(*family, L"r0", L"C", L"en-US", value), 1);
    EXPECT_EQ(Cell(*family, L"r0", L"D", L"en-US", value), 0);
    EXPECT_EQ(Cell(*family, L"r0", L"C", L"de-DE", value), 0);
    family->DeleteLocalizedCellsValues(L"r0", L"", true);
    for (const wchar_t* language : {L"en-US", L"de-DE"}) {
        EXPECT_EQ(Cell(*family, L"r0", L"C", language, value), 1);
        EXPECT_EQ(Cell(*family, L"r0", L"D", language, value), 1);
        EXPECT_EQ(Cell(*family, L"r1", L"C", language, value), 0);
    }
}

TEST(FamilyStrings, ColumnPropertiesSetRemoveAndDelete) {
    const FamilyPtr family = LoadFamily(
        FamilyXml{}.Build(), {StringsXml(L"en-US", TableStrings(L"en")), StringsXml(L"de", L"")});
    std::wstring value;
    family->SetLocalizedColumnPropertyValue(L"Title", L"New", L"t");  // every language
    for (const wchar_t* language : {L"en-US", L"DE"}) {
        EXPECT_EQ(family->GetLocalizedColumnPropertyValue(L"Title", L"New", language, value), 0);
        EXPECT_EQ(value, L"t");
    }
    family->SetLocalizedColumnPropertyValue(L"Title", L"C", L"de", L"only de");
    family->SetLocalizedColumnPropertyValue(L"Title", L"New", L"en-US", L"");
    EXPECT_EQ(family->GetLocalizedColumnPropertyValue(L"Title", L"New", L"en-US", value), 1);
    EXPECT_EQ(family->GetLocalizedColumnPropertyValue(L"Title", L"C", L"en-US", value), 0);
    EXPECT_EQ(value, L"title en");
    family->SetLocalizedColumnPropertyValue(L"not a name", L"C", L"x");  // no element, no harm
    family->DeleteLocalizedColumnPropertyValues(L"C");
    for (const wchar_t* language : {L"en-US", L"de"}) {
        EXPECT_EQ(family->GetLocalizedColumnPropertyValue(L"Title", L"C", language, value), 1);
        EXPECT_EQ(
            family->GetLocalizedColumnPropertyValue(L"ColumnwideValue", L"C", language, value), 1);
    }
    EXPECT_EQ(family->GetLocalizedColumnPropertyValue(L"Formula", L"C", L"en-US", value), 0);
    EXPECT_EQ(Cell(*family, L"r1", L"C", L"en-US", value), 0);
}

// A family naming its strings file `fullFileName`, with strings documents of
// `languages`.
FamilyPtr WithStringsFile(const std::wstring& fullFileName,
                          const std::vector<std::wstring>& languages) {
    std::vector<std::wstring> strings;
    for (const std::wstring& language : languages) {
        // The first names an encoding that the saved file does not have.
        strings.push_back(strings.empty() ? L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>" : L"");
        strings.back() += StringsXml(language, L"<DisplayName>Ø 😀</DisplayName>");
    }
    FamilyXml xml;
    xml.rawChildren =
        L"<FamilyStrings><File FullFileName=\"" + Escape(fullFileName) + L"\"/></FamilyStrings>";
    return LoadFamily(xml.Build(), strings);
}

TEST(FamilyStrings, SavedFilesAreUtf16WithoutMarkNamedByUpperCasedLanguage) {
    TempFolder folder;
    // A backslash separates as well as a slash.
    const std::wstring fullName = VardelCommon::FromPath(folder.path()) + L"\\x.xml";
    const FamilyPtr family = WithStringsFile(fullName, {L"de-DE", L"en-us"});
    ASSERT_TRUE(family->SaveFamilyStringsXMLs());
    EXPECT_EQ(VardelTest::EntriesIn(folder.path()), 2u);
    for (int index : {0, 1}) {
        const std::wstring key = index == 0 ? L"DE-DE" : L"EN-US";
        const VardelTest::Bytes bytes = VardelTest::ReadBytes(
            folder.path() / VardelCommon::ToPath(L"FamilyStrings." + key + L".xml"));
        std::u16string expected = VardelCommon::ToUtf16(StringsText(*family, index));
        ASSERT_EQ(bytes.size(), expected.size() * 2);
        EXPECT_EQ(bytes[0], '<');  // no byte-order mark
        EXPECT_EQ(bytes[1], 0);
        std::u16string units;
        for (std::size_t i = 0; i < bytes.size(); i += 2) {
            units += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        }
        EXPECT_EQ(units, expected);
        EXPECT_NE(units.find(u"\xD83D\xDE00"), std::u16string::npos);  // surrogate pair
        XMLParser reread;
        ASSERT_TRUE(reread.LoadXmlBytes(std::string(bytes.begin(), bytes.end())));
        EXPECT_EQ(reread.GetRootNode().GetChildCount(), 1);
    }
}

TEST(FamilyStrings, SavingFailsWithoutUsableFileNameAndStopsAtTheFirstFailure) {
    TempFolder folder;
    const std::wstring base = VardelCommon::FromPath(folder.path());
    EXPECT_FALSE(LoadFamily(FamilyXml{}.Build())->SaveFamilyStringsXMLs());
    EXPECT_FALSE(WithStringsFile(L"", {L"de"})->SaveFamilyStringsXMLs());
    EXPECT_TRUE(WithStringsFile(base + L"/x.xml", {})->SaveFamilyStringsXMLs());
    EXPECT_FALSE(WithStringsFile(L"x.xml", {L"de"})->SaveFamilyStringsXMLs());
    EXPECT_FALSE(WithStringsFile(base + L"/missing/x.xml", {L"de"})->SaveFamilyStringsXMLs());
    // A language holding a separator must not lead out of the folder.
    std::filesystem::create_directory(folder.path() / "sub");
    EXPECT_FALSE(WithStringsFile(base + L"/sub/x.xml", {L"/../a", L"de"})->SaveFamilyStringsXMLs());
    EXPECT_EQ(VardelTest::EntriesIn(folder.path()), 1u);
    EXPECT_EQ(VardelTest::EntriesIn(folder.path() / "sub"), 0u);
}

TEST(FamilyStrings, CopyWithStringsCarriesEveryLanguageInsteadOfTheFileReference) {
    const FamilyPtr family = WithStringsFile(L"/lib/x.xml", {L"de-DE", L"en-US"});
    XMLParser copy;
    ASSERT_TRUE(family->GetFamilyXMLCopyWithStrings(copy));
    XMLNodeArray strings;
    copy.GetRootNode().SelectChildNodes(L"FamilyStrings", strings);
    ASSERT_EQ(strings.GetSize(), 2);
    std::vector<std::wstring> languages(2);
    strings[0].GetProperty(L"xml:lang", languages[0]);
    strings[1].GetProperty(L"xml:lang", languages[1]);
    EXPECT_EQ(languages, (std::vector<std::wstring>{L"de-DE", L"en-US"}));
    XMLNode file;
    EXPECT_FALSE(copy.GetRootNode().GetChildNode(L"//File", file));
    EXPECT_TRUE(family->GetFamilyXML().GetRootNode().GetChildNode(L"FamilyStrings/File", file));
    EXPECT_FALSE(LoadFamily(L"<broken")->GetFamilyXMLCopyWithStrings(copy));
}

// The text of `path` below `root`; "<none>" when nothing is there.
std::wstring TextAt(const XMLNode& root, const std::wstring& path) {
    XMLNode node;
    std::wstring text;
    return root.GetChildNode(path.c_str(), node) && node.GetNodeText(text) ? text : L"<none>";
}

// A family edited in two languages, saved with its strings files, read back
// from those files and merged with its strings carries each language's edit
// and no other.
TEST(FamilyStrings, EditsInTwoLanguagesSurviveSaveReloadAndMerge) {
    TempFolder folder;
    const std::filesystem::path file = folder.path() / "x.xml";
    FamilyXml xml;
    xml.rawChildren = L"<FamilyStrings><File FullFileName=\"" +
                      Escape(VardelCommon::FromPath(file)) + L"\"/></FamilyStrings>";
    xml.columns = {{L"C", {{L"ValueType", L"double"}, {L"Title", L"Width"}}}};
    const FamilyPtr edited =
        LoadFamily(xml.Build(), {StringsXml(L"en-US", L""), StringsXml(L"de-DE", L"")});
    edited->SetLocalizedColumnPropertyValue(L"Title", L"C", L"de-DE", L"Breite");
    edited->SetLocalizedColumnPropertyValue(L"Title", L"C", L"en-US", L"Width (mm)");
    ASSERT_TRUE(edited->SaveFamilyXML(VardelCommon::FromPath(file).c_str()));
    ASSERT_TRUE(edited->SaveFamilyStringsXMLs());

    XMLParser document;
    ASSERT_TRUE(document.LoadXmlDocument(VardelCommon::FromPath(file).c_str()));
    std::wstring familyText;
    document.GetXml(familyText);
    std::vector<std::wstring> strings;
    for (const char* key : {"EN-US", "DE-DE"}) {
        XMLParser saved;
        const VardelTest::Bytes bytes =
            VardelTest::ReadBytes(folder.path() / (std::string("FamilyStrings.") + key + ".xml"));
        ASSERT_TRUE(saved.LoadXmlBytes(std::string(bytes.begin(), bytes.end()))) << key;
        saved.GetXml(strings.emplace_back());
    }
    const FamilyPtr reloaded = LoadFamily(familyText, strings);
    std::wstring title;
    EXPECT_EQ(reloaded->GetLocalizedColumnPropertyValue(L"Title", L"C", L"de-DE", title), 0);
    EXPECT_EQ(title, L"Breite");

    XMLParser merged;
    ASSERT_TRUE(reloaded->GetFamilyXMLCopyWithStrings(merged));
    const XMLNode root = merged.GetRootNode();
    const std::wstring titlePath = L"/Table/ColumnStrings[@ColumnId='C']/Title";
    EXPECT_EQ(TextAt(root, L"FamilyStrings[@xml:lang='de-DE']" + titlePath), L"Breite");
    EXPECT_EQ(TextAt(root, L"FamilyStrings[@xml:lang='en-US']" + titlePath), L"Width (mm)");
    EXPECT_EQ(TextAt(root, L"FamilyTable/Columns/Column/@Title"), L"Width");
}

}  // namespace

namespace {

// The documents a host already holds as trees load as their texts do; the
// family works on the trees given, skips strings documents that did not
// parse, and has no table when the family document did not.
TEST(FamilyStrings, DocumentsHeldAsTreesLoadLikeTheirTexts) {
    const std::wstring familyXml = FamilyXml{}.Build();
    const std::vector<std::wstring> stringsXmls{StringsXml(L"en-US", TableStrings(L"en")),
                                                L"<FamilyStrings", StringsXml(L"de-DE", L"")};
    XMLParser document;
    ASSERT_TRUE(document.SetXml(familyXml.c_str()));
    std::vector<XMLParser> strings(stringsXmls.size());
    for (std::size_t i = 0; i < stringsXmls.size(); ++i)
        strings[i].SetXml(stringsXmls[i].c_str());
    const CEncapFamily fromTrees(document, strings, L"", nullptr, L"en-US", false);
    const FamilyPtr fromTexts = LoadFamily(familyXml, stringsXmls);

    EXPECT_EQ(fromTrees.GetFamilyXML().GetDocument(), document.GetDocument());
    EXPECT_EQ(fromTrees.GetFamStringsCount(), 2);
    EXPECT_EQ(fromTrees.GetFamStringsCount(), fromTexts->GetFamStringsCount());
    std::wstring fromTree, fromText;
    EXPECT_EQ(Cell(fromTrees, L"r0", L"C", L"en-US", fromTree), 0);
    EXPECT_EQ(Cell(*fromTexts, L"r0", L"C", L"en-US", fromText), 0);
    EXPECT_EQ(fromTree, fromText);

    XMLParser broken;
    EXPECT_FALSE(broken.SetXml(L"<Family"));
    const CEncapFamily none(broken, strings, L"", nullptr, L"en-US", false);
    int line = 0;
    std::wstring message;
    EXPECT_TRUE(none.GetFamilyXML().GetParseError(line, message));
    EXPECT_EQ(none.GetEncapFamilyTable(), nullptr);
}

}  // namespace
