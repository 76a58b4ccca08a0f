// library.xml: the tree as read, the defaults it fills in, and every kind of
// fault with the line that holds it.
#include <gtest/gtest.h>

#include "source/name_guid.h"
#include "source_test_util.h"

namespace VardelSourceTest {
namespace {

TEST(LibraryReader, ReadsIdentityParametersAndTheTree) {
    LibraryFolder folder;
    const LibrarySource& library = folder.Library();
    EXPECT_EQ(library.folder, folder.path());
    EXPECT_EQ(library.name, L"Test Lib");
    EXPECT_EQ(library.id, GuidOf(1));
    EXPECT_EQ(library.defaultLanguage, L"en-us");
    EXPECT_EQ(library.readers, (std::vector<std::wstring>{L"alice", L"bob"}));

    ASSERT_EQ(library.parameters.size(), 5u);
    const ParameterSource& diameter = library.parameters[0];
    EXPECT_EQ(diameter.unitType, L"mm");
    EXPECT_EQ(diameter.names,
              (LocalizedTexts{{L"de-de", L"Durchmesser"}, {L"en-us", L"Diameter"}}));
    EXPECT_EQ(diameter.line, 5);
    const ParameterSource& material = library.parameters[1];
    EXPECT_EQ(material.valueType, L"string");
    EXPECT_TRUE(material.localized);
    EXPECT_EQ(material.usesDefinition, GuidOf(1));
    EXPECT_TRUE(library.parameters[2].optional);
    EXPECT_FALSE(library.parameters[2].appliesToMember);
    EXPECT_TRUE(library.parameters[3].appliesToMember);

    ASSERT_EQ(library.categories.size(), 2u);
    const CategorySource& fasteners = library.categories[0];
    EXPECT_EQ(fasteners.icon, L"icons/f.ico");
    EXPECT_EQ(fasteners.iconImage.mediaType, "image/x-icon");
    EXPECT_EQ(fasteners.iconImage.bytes, kFastenersIcon);
    EXPECT_TRUE(fasteners.children.at(0).iconImage.bytes.empty());
    EXPECT_EQ(fasteners.parameters, std::vector<Guid>{GuidOf(1)});
    EXPECT_EQ(fasteners.lastModified, L"2024-03-01T00:00:00Z");
    EXPECT_EQ(fasteners.revisionId, DerivedRevision(GuidOf(10), L"2024-03-01T00:00:00Z"));
    const CategorySource& hex = fasteners.children.at(0);
    EXPECT_EQ(hex.domain, L"Fasteners");  // inherited
    EXPECT_TRUE(hex.hidden && hex.specialAuthoring);
    EXPECT_EQ(hex.mnemonic, L"HX");
    EXPECT_EQ(hex.parameters, (std::vector<Guid>{GuidOf(2), GuidOf(4)}));
    const CategorySource& special = hex.children.at(0);
    EXPECT_EQ(special.domain, L"Special");
    EXPECT_EQ(special.lastModified, L"2024-05-06T07:08:09Z");
    EXPECT_EQ(special.revisionId, GuidOf(99));
    EXPECT_EQ(library.categories[1].domain, L"");
}

TEST(LibraryReader, ParametersMayFollowCategoriesAndTextsStayLiteral) {
    const std::string xml = Ids(
        "<Library Name=\"a&quot;'&lt;&amp;%'; DROP TABLE x;--\" Id='{@1}' DefaultLanguage='fr'>\n"
        "<Categories><Category Id='@2' Domain='\xC3\x9C&#10;x'><ParameterRef Id='@3'/>"
        "<Name Lang='FR'>&lt;b&gt;</Name></Category></Categories>\n"
        "<Parameters><Parameter Id='@3'/></Parameters></Library>");
    LibrarySource library;
    SourceError error;
    ASSERT_TRUE(ParseLibraryDescription(xml, "lib", library, error)) << error.ToString();
    EXPECT_EQ(library.name, L"a\"'<&%'; DROP TABLE x;--");
    EXPECT_TRUE(library.readers.empty());
    EXPECT_EQ(library.lastModified, L"");
    const CategorySource& category = library.categories.at(0);
    EXPECT_EQ(category.domain, L"\u00DC\nx");
    EXPECT_EQ(category.names.at(L"fr"), L"<b>");
    EXPECT_EQ(category.revisionId, DerivedRevision(GuidOf(2), L""));
}

TEST(LibraryReader, ReportsEveryFaultWithItsLine) {
    const std::string head = "<Library Name='L' Id='@1' DefaultLanguage='en'>\n";
    const std::string withParameter = head + "<Parameters><Parameter Id='@3'/></Parameters>\n";
    struct Case {
        std::string xml;
        int line;
        std::string where, what;
    };
    const Case cases[] = {
        {"<Library>\n<Open></Library>", 2, "", "not well-formed XML: "},
        {"", 1, "", "not well-formed XML"},
        {"<Lib/>", 1, "element Lib", "the root element must be Library"},
        {"\n<Library Id='@1' DefaultLanguage='en'/>", 2, "element Library",
         "missing required attribute Name"},
        {"<Library Name='' Id='@1' DefaultLanguage='en'/>", 1, "element Library",
         "attribute Name is empty"},
        {"<Library Name='L' Id='x' DefaultLanguage='en'/>", 1, "element Library",
         "attribute Id: \"x\" is not a GUID"},
        {"<Library Name='L' Id='@1'/>", 1, "element Library",
         "missing required attribute DefaultLanguage"},
        {"<Library Name='L' Id='@1' DefaultLanguage='en' LastModified='2024-02-30T00:00:00Z'/>", 1,
         "element Library",
         "attribute LastModified: \"2024-02-30T00:00:00Z\" is not a time of the form "
         "YYYY-MM-DDThh:mm:ssZ"},
        {head + "<Readers>\n<User/></Readers></Library>", 3, "element User",
         "missing required attribute Name"},
        {head + "<Parameters>\n<Parameter Id='@3'/>\n<Parameter Id='@3'/></Parameters></Library>",
         4, "element Parameter", "duplicate id " + Id(3)},
        {head + "<Parameters>\n<Parameter Id='@3' ValueType='real'/></Parameters></Library>", 3,
         "element Parameter",
         "attribute ValueType: \"real\" is not string, double, integer or boolean"},
        {head + "<Parameters>\n<Parameter Id='@3' Localized='yes'/></Parameters></Library>", 3,
         "element Parameter", "attribute Localized: \"yes\" is not true, false, 1 or 0"},
        {head + "<Parameters>\n\n<Parameter Id='@3' UsesDefinition='@4'/></Parameters></Library>",
         4, "element Parameter", "UsesDefinition names no parameter of the library: " + Id(4)},
        {head +
             "<Parameters>\n<Parameter Id='@3'><Name>x</Name></Parameter></Parameters></Library>",
         3, "element Name", "missing required attribute Lang"},
        {head + "<Parameters><Parameter Id='@3'><Name Lang='en'>x</Name>\n<Name Lang='EN'>y</Name>"
                "</Parameter></Parameters></Library>",
         3, "element Name", "language EN given twice"},
        {withParameter + "<Categories>\n<Category/></Categories></Library>", 4, "element Category",
         "missing required attribute Id"},
        {withParameter + "<Categories><Category Id='@5'>\n<Category Id='@5'/></Category>"
                         "</Categories></Library>",
         4, "element Category", "duplicate id " + Id(5)},
        {withParameter + "<Categories><Category Id='@5'>\n<ParameterRef Id='@4'/></Category>"
                         "</Categories></Library>",
         4, "element ParameterRef", "no parameter of the library has the id " + Id(4)},
        {withParameter + "<Categories><Category Id='@5'><ParameterRef Id='@3'/>\n"
                         "<ParameterRef Id='@3'/></Category></Categories></Library>",
         4, "element ParameterRef", "parameter " + Id(3) + " given twice"},
        {head + "<Categories><Category Id='@5'/>\n<Category Id='@6' RevisionId='r'/></Categories>"
                "</Library>",
         3, "element Category", "attribute RevisionId: \"r\" is not a GUID"},
    };
    for (const Case& c : cases) {
        LibrarySource library;
        SourceError error;
        EXPECT_FALSE(ParseLibraryDescription(Ids(c.xml), "lib", library, error)) << c.xml;
        EXPECT_EQ(error.file, std::filesystem::path("lib/library.xml"));
        EXPECT_EQ(error.line, c.line) << c.xml;
        EXPECT_EQ(error.where, c.where) << c.xml;
        EXPECT_EQ(error.what.substr(0, c.what.size()), c.what) << c.xml;
    }

    TempFolder empty;
    LibrarySource library;
    SourceError error;
    EXPECT_FALSE(ReadLibraryDescription(empty.path(), library, error));
    EXPECT_EQ(error.ToString(), (empty.path() / "library.xml").string() + ": cannot be read");
}

}  // namespace
}  // namespace VardelSourceTest
