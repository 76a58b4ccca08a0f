// The favorites rows of the browsing entry points: roots, sub-folders and
// items through the exported functions, the favorites folder and item
// property workers, and the custom values of a favorite member.
#include <gtest/gtest.h>

#include <fstream>

#include "common/utf8.h"
#include "support/browse_fixture.h"
#include "support/temp_folder.h"
#include "vardel/browsing.h"
#include "vardel/constants.h"
#include "vardel/properties.h"

namespace VardelTest {
namespace {

using namespace Vardel::Constants;
using Vardel::CBrowseId;
using Values = std::vector<Vardel::ReturnValue>;

const std::wstring kLibraryA = Id(100);

std::wstring Node(const std::wstring& name, const std::wstring& display, int family,
                  const std::wstring& row, const std::wstring& parameters = L"") {
    return L"<Node InternalName=\"" + name + L"\" DisplayName=\"" + display + L"\" LibraryId=\"" +
           kLibraryA + L"\" NodeId=\"" + Id(family) + L"\"><Member RowID=\"" + row + L"\">" +
           parameters + L"</Member></Node>";
}

// One set: a member with custom values, one without, a family without a name
// of its own, two links (the second renamed by a modifier) and an empty folder.
std::wstring FavoritesXml() {
    return L"<Root><ConfiguredFavorites><ActiveFavorite Name=\"Home\"/>"
           L"<Favorites Name=\"Home\" InternalName=\"S1\">" +
           Node(L"M1", L"My bolt", 11, L"row-1",
                L"<CustomParameter Name=\"b\" Value=\"2\"/>"
                L"<CustomParameter Name=\"a\" Value=\"1\"/>") +
           Node(L"M2", L"", 11, L"row-2") + Node(L"N1", L"", 12, L"") +
           L"<Link InternalName=\"L1\" CategoryId=\"" + Id(1) + L"\"/><Link InternalName=\"L2\" " +
           L"CategoryId=\"" + Id(2) + L"\"/><Folder InternalName=\"F1\" Name=\"Empty\"/>" +
           L"</Favorites><Modifiers><Modifier Path=\"S1\"><Item InternalName=\"L2\" "
           L"NewName=\"Renamed link\"/></Modifier></Modifiers></ConfiguredFavorites></Root>";
}

class FavoritesEntry : public BrowseTest {
  protected:
    void SetUp() override {
        BrowseTest::SetUp();
        CatalogueLibrary& a = catalogue_[L"A"];
        a.roots = {Id(1), Id(2)};
        a.families[Id(1)] = {Id(11)};
        for (const int category : {1, 2}) {
            a.properties[Id(category)] = {{FLD_LASTMODTIME, L"1"},
                                          {FLD_DISPLAYNAME, L"Cat " + std::to_wstring(category)},
                                          {FLD_ICON, L"icon" + std::to_wstring(category)}};
        }
        a.properties[Id(11)] = {{FAM_LASTMODTIME, L"1"},
                                {FAM_REVGUID, L"r"},
                                {FAM_DISPLAYNAME, L"Lib bolt"},
                                {FAM_ICON, L"fi"}};
        a.properties[Id(12)] = {
            {FAM_LASTMODTIME, L"1"}, {FAM_REVGUID, L"r"}, {FAM_DISPLAYNAME, L"Lib nut"}};
        InstallCatalogue();
        backend_->Respond(Method::FindKnowledgeLibraries, [](const RecordedCall& call) {
            return Reply::Libraries({{L"A", call.nodes.at(0)}});
        });
        std::ofstream(folder_.path() / "Favorites.xml") << VardelCommon::ToUtf8(FavoritesXml());
        context_ = MakeContext(Vardel::FavoritesBrowsing, {L"A"}, folder_.path().wstring());
        BrowseIds roots = {CBrowseId()};
        EXPECT_EQ(Vardel::GetFoldersRoots(&context_, roots), S_OK);
        EXPECT_EQ(roots.size(), 1u);
        set_ = roots.at(0);
    }

    TempFolder folder_;
    Vardel::CContext context_;
    CBrowseId set_;
};

TEST_F(FavoritesEntry, NavigationListsTheSetThroughTheExportedFunctions) {
    EXPECT_EQ(KindOf(set_), Vardel::BrowseFavoriteFolder);
    BrowseIds folders = {set_};  // sub-folders are appended
    ASSERT_EQ(Vardel::GetSubFolders(&context_, set_, folders), S_OK);
    EXPECT_EQ(NamesOf(folders), (Strings{L"Home", Id(1), Id(2), L"Empty"}));
    BrowseIds all = {set_};
    ASSERT_EQ(Vardel::GetAllSubFolders(&context_, set_, all), S_OK);
    EXPECT_EQ(NamesOf(all), NamesOf(folders));

    BrowseIds items = {set_};  // items replace what the vector held
    ASSERT_EQ(Vardel::GetChildItems(&context_, set_, items), S_OK);
    EXPECT_EQ(NamesOf(items), (Strings{Id(12), Id(11), Id(11)}));
    EXPECT_EQ(KindOf(items[1]), Vardel::BrowseFamilyMember);

    CBrowseId parent;
    ASSERT_EQ(Vardel::GetParentFolder(&context_, items[1], parent), S_OK);
    EXPECT_TRUE(parent.IsTheSameItem(set_));
    ASSERT_EQ(Vardel::GetParentFolder(&context_, folders[3], parent), S_OK);
    EXPECT_TRUE(parent.IsTheSameItem(set_));
    ASSERT_EQ(Vardel::GetParentFolder(&context_, set_, parent), S_OK);
    EXPECT_TRUE(parent.IsNULL());

    BrowseIds byItem = {set_};
    EXPECT_EQ(Vardel::GetFoldersByItem(&context_, items[0], byItem), E_INVALIDARG);
    EXPECT_EQ(byItem.size(), 1u);
}

TEST_F(FavoritesEntry, FolderWorkerAnswersFromTheStoreAndTheLinkedCategories) {
    BrowseIds folders;
    ASSERT_EQ(Vardel::GetSubFolders(&context_, set_, folders), S_OK);
    folders.push_back(set_);
    // Keys are compared without regard to case here.
    std::wstring hasChild = FLD_HASANYCHILD;
    for (wchar_t& c : hasChild) {
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    }
    Values values;
    ASSERT_EQ(Vardel::GetFoldersProperties(
                  &context_, folders,
                  {FLD_DISPLAYNAME, hasChild, FLD_ISVISIBLE, FLD_ICON, FAM_DISPLAYNAME}, values),
              S_OK);
    EXPECT_EQ(TextsOf(values),
              (Strings{// link: the library's name and icon; it lists family 11
                       L"Cat 1", L"true", L"true", L"icon1", L"<no value>",
                       // renamed link: its own name, an empty category
                       L"Renamed link", L"false", L"true", L"icon2", L"<no value>",
                       // folder and set: names from the store, no icon
                       L"Empty", L"false", L"true", L"<no value>", L"<no value>", L"Home", L"true",
                       L"true", L"<no value>", L"<no value>"}));

    // A link whose children cannot be listed fails the whole call.
    backend_->Fail(Method::GetFamiliesByCategory);
    EXPECT_EQ(Vardel::GetFoldersProperties(&context_, {folders[0]}, {FLD_HASANYCHILD}, values),
              E_FAIL);

    const CBrowseId library = VardelUtils::CreateCategoryId(&context_, Id(1), {L"A"});
    EXPECT_EQ(Vardel::GetFoldersProperties(&context_, {set_, library}, {FLD_ICON}, values),
              E_INVALIDARG);
}

TEST_F(FavoritesEntry, ItemWorkerPutsTheFavoriteNameInPlaceOfTheLibraryName) {
    BrowseIds items;
    ASSERT_EQ(Vardel::GetChildItems(&context_, set_, items), S_OK);
    Values values;
    ASSERT_EQ(Vardel::GetItemsProperties(&context_, items, {FAM_DISPLAYNAME, FAM_ICON}, values),
              S_OK);
    EXPECT_EQ(TextsOf(values),
              (Strings{L"Lib nut", L"<no value>", L"My bolt", L"fi", L"Lib bolt", L"fi"}));
    EXPECT_EQ(Vardel::GetItemsProperties(&context_, {items[0], set_}, {FAM_ICON}, values),
              E_INVALIDARG);
}

TEST_F(FavoritesEntry, CustomValuesOfMembersInColumnOrder) {
    BrowseIds items;
    ASSERT_EQ(Vardel::GetChildItems(&context_, set_, items), S_OK);
    std::wstring xml;
    ASSERT_EQ(Vardel::GetCustomValuesXML(&context_, items[1], xml), S_OK);
    EXPECT_NE(xml.find(L"<CustomValues><Column Id=\"a\" Value=\"1\"/>"
                       L"<Column Id=\"b\" Value=\"2\"/></CustomValues>"),
              std::wstring::npos)
        << VardelCommon::ToUtf8(xml);
    ASSERT_EQ(Vardel::GetCustomValuesXML(&context_, items[2], xml), S_OK);
    EXPECT_NE(xml.find(L"<CustomValues/>"), std::wstring::npos) << VardelCommon::ToUtf8(xml);

    xml = L"untouched";
    EXPECT_EQ(Vardel::GetCustomValuesXML(&context_, items[0], xml), E_INVALIDARG);  // a family
    EXPECT_EQ(Vardel::GetCustomValuesXML(&context_, CBrowseId(), xml), E_INVALIDARG);
    EXPECT_EQ(xml, L"untouched");
}

}  // namespace
}  // namespace VardelTest
