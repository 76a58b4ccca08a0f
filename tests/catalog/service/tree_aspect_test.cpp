// The category tree XML of a family and the family aspects' bytes.
#include "catalog/service/service_fixture.h"
#include "common/utf8.h"
#include "vardel/xml_parser.h"

namespace VardelCatalogTest {
namespace {

using TarnServerProxies::ProxyError;

std::wstring Entry(const XMLNode& category);

// "[entry entry ...]" for the children of `node`, empty without children.
std::wstring Children(const XMLNode& node) {
    XMLNodeArray children;
    node.GetChildNodes(children);
    std::wstring text;
    for (int i = 0; i < children.GetSize(); ++i) {
        text += (i > 0 ? L" " : L"[") + Entry(children.GetAt(i));
    }
    return text.empty() ? text : text + L"]";
}

// "<last two digits of the id>(DisplayName,Hidden[,holds])[children]".
std::wstring Entry(const XMLNode& category) {
    std::wstring id, name, hidden, holds;
    category.GetProperty(L"InternalName", id);
    category.GetProperty(L"DisplayName", name);
    category.GetProperty(L"Hidden", hidden);
    category.GetProperty(L"HoldsFamily", holds);
    return id.substr(id.size() - 2) + L"(" + name + L"," + hidden +
           (holds == L"true" ? L",holds" : L"") + L")" + Children(category);
}

std::string AspectOf(VardelCatalog::CCatalogServer& server, unsigned family,
                     const std::wstring& aspect) {
    std::vector<std::uint8_t> bytes;
    server.GetFamilyAspect(User(L"bob"), L"Fasteners", TestGuid(family), aspect, L"", bytes);
    return {bytes.begin(), bytes.end()};
}

using ServiceTreeAndAspects = ServedCatalog;

TEST_F(ServiceTreeAndAspects, TreeHoldsEveryPathOrOnlyTheHoldingCategories) {
    const struct {
        std::int32_t type;
        const wchar_t* language;
        const wchar_t* outline;
    } cases[] = {
        {0, L"de-DE",
         L"[0a(Bolts,false)[0b(Hex,true)[0c(Fine,false,holds)] 0d(Innensechskant,false,holds)]]"},
        {1, L"en-US", L"[0c(Fine,false,holds) 0d(Socket,false,holds)]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const std::wstring xml =
            server->GetCategoryTreeByFamily(bob, fasteners, TestGuid(101), c.type, c.language);
        XMLParser parser(xml.c_str());
        XMLNode root = parser.GetRootNode();
        std::wstring name, family, library;
        root.GetNodeName(name);
        root.GetProperty(L"FamilyId", family);
        root.GetProperty(L"Library", library);
        EXPECT_EQ(name, L"CategoryTree");
        EXPECT_EQ(family, TestGuid(101).ToString());
        EXPECT_EQ(library, L"Fasteners");
        EXPECT_EQ(Children(root), c.outline);
    }
}

TEST_F(ServiceTreeAndAspects, TreeRefusesOtherTypesAndUnknownFamilies) {
    EXPECT_THROW(server->GetCategoryTreeByFamily(bob, fasteners, TestGuid(101), 2, L"en"),
                 ProxyError);
    EXPECT_THROW(server->GetCategoryTreeByFamily(bob, fasteners, TestGuid(101), -1, L"en"),
                 ProxyError);
    EXPECT_THROW(server->GetCategoryTreeByFamily(bob, fasteners, TestGuid(12), 0, L"en"),
                 ProxyError);
}

TEST_F(ServiceTreeAndAspects, AspectBytes) {
    EXPECT_EQ(AspectOf(*server, 100, L"FamilyDocument"),
              "<Family InternalName=\"x\">\xc3\xa4</Family>");
    EXPECT_EQ(AspectOf(*server, 100, L"FamilyStrings.DE-de"), "<S xml:lang=\"de-DE\"/>");

    XMLParser link(
        VardelCommon::FromUtf8(AspectOf(*server, 100, L"DerivedFamilyLinkAspect")).c_str());
    std::wstring parentLibrary, parentFamily;
    link.GetRootNode().GetProperty(L"ParentLibraryName", parentLibrary);
    link.GetRootNode().GetProperty(L"ParentFamilyName", parentFamily);
    EXPECT_EQ(parentLibrary, L"Base <&\"> lib");
    EXPECT_EQ(parentFamily, L"Base bolt");

    XMLParser languages(
        VardelCommon::FromUtf8(AspectOf(*server, 100, L"FamilyStringsLanguages")).c_str());
    XMLNodeArray entries;
    languages.GetNodesByTag(L"Language", entries);
    ASSERT_EQ(entries.GetSize(), 2);
    std::wstring first, second;
    entries.GetAt(0).GetProperty(L"Name", first);
    entries.GetAt(1).GetProperty(L"Name", second);
    EXPECT_EQ(first + L" " + second, L"de-de en-us");
    XMLParser none(
        VardelCommon::FromUtf8(AspectOf(*server, 101, L"FamilyStringsLanguages")).c_str());
    EXPECT_EQ(none.GetNodesCount(), 0);
    EXPECT_TRUE(none.GetRootNode().IsNode());
}

TEST_F(ServiceTreeAndAspects, UnknownAspectsAndFamiliesFail) {
    for (const wchar_t* aspect :
         {L"familydocument", L"FamilyStrings.fr-fr", L"FamilyStrings.", L""}) {
        SCOPED_TRACE(VardelCommon::ToUtf8(aspect));
        EXPECT_THROW(AspectOf(*server, 100, aspect), ProxyError);
    }
    EXPECT_THROW(AspectOf(*server, 999, L"FamilyDocument"), ProxyError);
    EXPECT_THROW(AspectOf(*server, 200, L"FamilyDocument"), ProxyError);
}

}  // namespace
}  // namespace VardelCatalogTest
