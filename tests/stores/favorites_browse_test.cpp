// The favorites tree as browsing sees it, over a scripted server: roots,
// sub-folders and child items of sets, folders and linked categories, what
// the server must confirm, and the library-name cache.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/utf8.h"
#include "stores/favorites_store.h"
#include "support/browse_fixture.h"
#include "support/temp_folder.h"
#include "vardel/constants.h"

namespace VardelTest {
namespace {

using namespace Vardel::Constants;
using Vardel::CBrowseId;

const std::wstring kLibraryA = Id(100);
const std::wstring kLibraryB = Id(101);

// Set S1 holds nodes, links and folders, some removed by its modifier (in
// other letter case); S2 holds a node id the server refuses beside a good one.
std::wstring FavoritesXml() {
    const auto node = [](const std::wstring& name, const std::wstring& library, int family,
                         const std::wstring& row = L"") {
        return L"<Node InternalName=\"" + name + L"\" DisplayName=\"d\" LibraryId=\"" + library +
               L"\" NodeId=\"" + (family != 0 ? Id(family) : L"bogus") + L"\"><Member RowID=\"" +
               row + L"\"/></Node>";
    };
    const auto link = [](const std::wstring& name, int category) {
        return L"<Link InternalName=\"" + name + L"\" CategoryId=\"" + Id(category) + L"\"/>";
    };
    return L"<Root><ConfiguredFavorites><ActiveFavorite Name=\"WORK\"/>"
           L"<Favorites Name=\"Home\" InternalName=\"S1\">" +
           node(L"M1", kLibraryA, 11, L"row-1") + node(L"N1", kLibraryA, 11) +
           node(L"N2", kLibraryB, 12) + node(L"N3", kLibraryA, 13) + node(L"N4", Id(199), 11) +
           node(L"NR", kLibraryA, 14) + link(L"L1", 1) +
           L"<Folder InternalName=\"F1\" Name=\"Screws\"/>" + link(L"L3", 3) + link(L"L9", 9) +
           link(L"LR", 2) +
           L"<Folder InternalName=\"FR\" Name=\"Gone\"/></Favorites>"
           L"<Favorites Name=\"Work\" InternalName=\"S2\">" +
           node(L"B1", kLibraryA, 0) + node(L"B2", kLibraryA, 14) +
           L"</Favorites><Favorites Name=\"work\" InternalName=\"S3\"/>"
           L"<Modifiers><Modifier Path=\"S1\"><Item Remove=\"nr\"/><Item Remove=\"lr\"/>"
           L"<Item Remove=\"FR\"/></Modifier><Modifier Path=\"S1#L1\"><Item Remove=\"" +
           Id(4) + L"\"/><Item Remove=\"" + Id(14) +
           L"\"/></Modifier></Modifiers></ConfiguredFavorites></Root>";
}

class FavoritesBrowse : public BrowseTest {
  protected:
    void SetUp() override {
        BrowseTest::SetUp();
        // Library A: root 1 with sub-folders 2 and 4; category 3 under 1 is
        // one the server does not list; families 11 and 14 in category 1,
        // family 13 unconfirmed. Library B: family 12.
        CatalogueLibrary& a = catalogue_[L"A"];
        a.roots = {Id(1)};
        a.subFolders[Id(1)] = {Id(2), Id(4)};
        for (const int category : {1, 2, 3, 4}) {
            a.properties[Id(category)][FLD_LASTMODTIME] = L"2020";
            if (category != 1) {
                a.parents[Id(category)] = Id(1);
            }
        }
        a.families[Id(1)] = {Id(11), Id(14)};
        for (const int family : {11, 14}) {
            a.properties[Id(family)] = {{FAM_LASTMODTIME, L"1"}, {FAM_REVGUID, L"r"}};
        }
        catalogue_[L"B"].properties[Id(12)] = {{FAM_LASTMODTIME, L"2"}, {FAM_REVGUID, L"s"}};
        InstallCatalogue();
        backend_->Respond(Method::FindKnowledgeLibraries, [](const RecordedCall& call) {
            std::vector<tsp::KnowledgeLibrary> found;
            for (const tsp::Guid& id : call.nodes) {
                if (id.ToString() == kLibraryA || id.ToString() == kLibraryB) {
                    found.push_back({id.ToString() == kLibraryA ? L"A" : L"B", id});
                }
            }
            return Reply::Libraries(found);
        });
        std::ofstream(folder_.path() / "Favorites.xml") << VardelCommon::ToUtf8(FavoritesXml());
    }

    Vardel::CContext Open(const Vardel::FilterStruct* filter = nullptr) {
        return MakeContext(Vardel::FavoritesBrowsing, {L"A", L"B"}, folder_.path().wstring(),
                           filter);
    }
    CFavoritesData& Store(const Vardel::CContext& context) {
        return *Impl(context).GetFavoritesData();
    }
    // The root of the set `internalName`.
    CBrowseId Set(const Vardel::CContext& context, const std::wstring& internalName) {
        BrowseIds roots;
        EXPECT_EQ(Store(context).GetRoots(&context, roots), S_OK);
        for (const CBrowseId& root : roots) {
            if (FavoriteIdOf(root) == internalName) {
                return root;
            }
        }
        return {};
    }
    static std::wstring FavoriteIdOf(const CBrowseId& id) {
        return VardelUtils::BrowseIdAccess::GetImpl(id)->GetFavoriteId();
    }
    static Strings FavoriteIds(const BrowseIds& ids) {
        Strings paths;
        for (const CBrowseId& id : ids) {
            paths.push_back(FavoriteIdOf(id));
        }
        return paths;
    }
    static std::vector<int> Kinds(const BrowseIds& ids) {
        std::vector<int> kinds;
        for (const CBrowseId& id : ids) {
            kinds.push_back(KindOf(id));
        }
        return kinds;
    }

    TempFolder folder_;
    const BrowseIds kSentinel = {VardelUtils::CreateHistoryRootId(nullptr, L"sentinel")};
};

TEST_F(FavoritesBrowse, RootsPutTheFirstSetNamedActiveInAnyCaseFirst) {
    const Vardel::CContext context = Open();
    BrowseIds roots = kSentinel;
    ASSERT_EQ(Store(context).GetRoots(&context, roots), S_OK);
    EXPECT_EQ(NamesOf(roots), (Strings{L"sentinel", L"Work", L"Home", L"work"}));
    EXPECT_EQ(FavoriteIds({roots.begin() + 1, roots.end()}), (Strings{L"S2", L"S1", L"S3"}));
    EXPECT_EQ(KindOf(roots[1]), Vardel::BrowseFavoriteFolder);
}

TEST_F(FavoritesBrowse, StoresWithoutUsableFileHaveNoRoots) {
    TempFolder empty;
    const Vardel::CContext none =
        MakeContext(Vardel::FavoritesBrowsing, {L"A"}, empty.path().wstring());
    BrowseIds roots = kSentinel;
    EXPECT_EQ(Store(none).GetRoots(&none, roots), S_OK);
    std::ofstream(empty.path() / "Favorites.xml") << "<Root><ConfiguredFavorites>";
    Store(none).Load();
    EXPECT_TRUE(Store(none).IsLoaded());
    EXPECT_EQ(Store(none).GetRoots(&none, roots), S_OK);
    EXPECT_EQ(NamesOf(roots), (Strings{L"sentinel"}));
    EXPECT_EQ(Store(none).GetRoots(nullptr, roots), E_INVALIDARG);
}

TEST_F(FavoritesBrowse, SubFoldersOfASetAreLinksThenFoldersWithoutRemovedOrUnknownOnes) {
    const Vardel::CContext context = Open();
    BrowseIds folders = kSentinel;
    ASSERT_EQ(Store(context).GetSubFolders(&context, Set(context, L"S1"), folders), S_OK);
    folders.erase(folders.begin());
    // L9 names a category no library has; LR and FR are removed.
    EXPECT_EQ(FavoriteIds(folders), (Strings{L"S1#L1", L"S1#L3", L"S1#F1"}));
    EXPECT_EQ(NamesOf(folders), (Strings{Id(1), Id(3), L"Screws"}));
    EXPECT_EQ(Kinds(folders), (std::vector<int>{Vardel::BrowseCategory, Vardel::BrowseCategory,
                                                Vardel::BrowseFavoriteFolder}));
    EXPECT_EQ(LibrariesOf(folders[0]), (Strings{L"A"}));
    EXPECT_EQ(folders[0].GetLastModTime(), L"2020");

    BrowseIds none;
    ASSERT_EQ(Store(context).GetSubFolders(&context, folders[2], none), S_OK);
    EXPECT_TRUE(none.empty());
}

TEST_F(FavoritesBrowse, ContentFilterDropsLinksTheServerDoesNotListUnderIt) {
    Vardel::FilterStruct filter;
    filter.categoriesContent = {L"bolts"};
    const Vardel::CContext context = Open(&filter);
    BrowseIds folders;
    ASSERT_EQ(Store(context).GetSubFolders(&context, Set(context, L"S1"), folders), S_OK);
    EXPECT_EQ(FavoriteIds(folders), (Strings{L"S1#L1", L"S1#F1"}));
    // Category 1 was checked among the roots, category 3 among 1's sub-folders,
    // both with the filter.
    std::size_t filtered = 0;
    for (const RecordedCall& call : backend_->Calls()) {
        if (call.method == Method::GetCategoryRoots ||
            call.method == Method::GetCategoriesByParent) {
            ASSERT_TRUE(call.filter.has_value());
            EXPECT_EQ(call.filter->filterCategoriesContent, (Strings{L"bolts"}));
            ++filtered;
        }
    }
    EXPECT_EQ(filtered, 2u);
}

TEST_F(FavoritesBrowse, LinkedCategoryShowsTheLibraryContentsUnderItsPath) {
    const Vardel::CContext context = Open();
    BrowseIds links;
    ASSERT_EQ(Store(context).GetSubFolders(&context, Set(context, L"S1"), links), S_OK);
    const CBrowseId linked = links.at(0);

    BrowseIds folders;
    ASSERT_EQ(Store(context).GetSubFolders(&context, linked, folders), S_OK);
    // Sub-folder 4 and family 14 are removed in the link's container.
    EXPECT_EQ(FavoriteIds(folders), (Strings{L"S1#L1#" + Id(2)}));
    EXPECT_EQ(KindOf(folders[0]), Vardel::BrowseCategory);

    BrowseIds items;
    ASSERT_EQ(Store(context).GetChildItems(&context, linked, items), S_OK);
    EXPECT_EQ(FavoriteIds(items), (Strings{L"S1#L1#" + Id(11)}));
    EXPECT_EQ(NamesOf(items), (Strings{Id(11)}));
    EXPECT_EQ(LibraryOf(items[0]), L"A");

    backend_->Fail(Method::GetFamiliesByCategory);
    BrowseIds untouched = kSentinel;
    EXPECT_EQ(Store(context).GetChildItems(&context, linked, untouched), E_FAIL);
    EXPECT_EQ(NamesOf(untouched), (Strings{L"sentinel"}));
}

TEST_F(FavoritesBrowse, ChildItemsAreConfirmedFamiliesThenMembersWithTheirLibraries) {
    const Vardel::CContext context = Open();
    BrowseIds items = kSentinel;
    ASSERT_EQ(Store(context).GetChildItems(&context, Set(context, L"S1"), items), S_OK);
    items.erase(items.begin());
    // N3 is unconfirmed, N4's library unknown, NR removed.
    EXPECT_EQ(FavoriteIds(items), (Strings{L"S1#N1", L"S1#N2", L"S1#M1"}));
    EXPECT_EQ(NamesOf(items), (Strings{Id(11), Id(12), Id(11)}));
    EXPECT_EQ(Kinds(items), (std::vector<int>{Vardel::BrowseFamily, Vardel::BrowseFamily,
                                              Vardel::BrowseFamilyMember}));
    EXPECT_EQ(LibraryOf(items[1]), L"B");
    EXPECT_EQ(LibraryOf(items[2]), L"A");
    std::wstring member;
    EXPECT_EQ(Vardel::GetMemberID(items[2], member), S_OK);
    EXPECT_EQ(member, L"row-1");
    EXPECT_EQ(items[2].GetRevisionId(), L"r");  // the member keeps the merged version
    EXPECT_EQ(items[1].GetLastModTime(), L"2");

    // Library names: one request per library id; an unknown one is asked
    // again next time, and a load forgets the known ones.
    EXPECT_EQ(CallsOf(Method::FindKnowledgeLibraries), 3u);
    ASSERT_EQ(Store(context).GetChildItems(&context, Set(context, L"S1"), items), S_OK);
    EXPECT_EQ(CallsOf(Method::FindKnowledgeLibraries), 4u);
    Store(context).Load();
    EXPECT_EQ(Store(context).LibraryName(Impl(context), kLibraryB), L"B");
    EXPECT_EQ(CallsOf(Method::FindKnowledgeLibraries), 5u);

    // A node id the server refuses drops only its own entry.
    BrowseIds work;
    ASSERT_EQ(Store(context).GetChildItems(&context, Set(context, L"S2"), work), S_OK);
    EXPECT_EQ(FavoriteIds(work), (Strings{L"S2#B2"}));
}

TEST_F(FavoritesBrowse, ParentsAreTheListingNodesAndForeignNodesAreRefusedUntouched) {
    const Vardel::CContext context = Open();
    CFavoritesData& store = Store(context);
    const CBrowseId home = Set(context, L"S1");
    BrowseIds folders;
    BrowseIds items;
    ASSERT_EQ(store.GetSubFolders(&context, home, folders), S_OK);
    ASSERT_EQ(store.GetChildItems(&context, home, items), S_OK);
    const CBrowseId linked = folders.at(0);
    BrowseIds inLink;
    ASSERT_EQ(store.GetSubFolders(&context, linked, inLink), S_OK);
    ASSERT_EQ(store.GetChildItems(&context, linked, inLink), S_OK);
    ASSERT_EQ(FavoriteIds(inLink), (Strings{L"S1#L1#" + Id(2), L"S1#L1#" + Id(11)}));

    // Each node's parent equals the node its listing came from, in identity,
    // kind, internal name and libraries.
    const auto expectParent = [&](const CBrowseId& node, const CBrowseId& expected) {
        CBrowseId parent = kSentinel[0];
        ASSERT_EQ(store.GetParentFolder(&context, node, parent), S_OK) << FavoriteIdOf(node);
        EXPECT_TRUE(parent.IsTheSameItem(expected)) << FavoriteIdOf(node);
        EXPECT_EQ(KindOf(parent), KindOf(expected));
        EXPECT_EQ(parent.GetInternalName(), expected.GetInternalName());
        if (KindOf(expected) == Vardel::BrowseCategory) {
            EXPECT_EQ(LibrariesOf(parent), LibrariesOf(expected));
        }
    };
    expectParent(items.at(0), home);
    expectParent(inLink[1], linked);
    expectParent(VardelUtils::CreateFavoriteId(&context, L"x", L"S1#F1#X",
                                               Vardel::BrowseFavoriteFolder, {}, L""),
                 folders.at(2));
    expectParent(VardelUtils::CreateFavoriteId(&context, Id(11), L"S1#L1#" + Id(2) + L"#" + Id(11),
                                               Vardel::BrowseFamily, {L"A"}, L""),
                 inLink[0]);
    // A set root has no parent.
    CBrowseId parent = kSentinel[0];
    ASSERT_EQ(store.GetParentFolder(&context, home, parent), S_OK);
    EXPECT_TRUE(parent.IsNULL());

    // Listings of anything but a set, folder or link, parents of nodes outside
    // the store or without a favorite path, and calls without a context are
    // refused with the output untouched.
    const CBrowseId family = VardelUtils::CreateFamilyId(&context, Id(11), {L"A"});
    for (const CBrowseId& node :
         {CBrowseId(), VardelUtils::CreateCategoryId(&context, Id(1), {L"A"}), family, items[0]}) {
        BrowseIds out = kSentinel;
        EXPECT_EQ(store.GetSubFolders(&context, node, out), E_INVALIDARG);
        EXPECT_EQ(store.GetChildItems(&context, node, out), E_INVALIDARG);
        EXPECT_EQ(NamesOf(out), (Strings{L"sentinel"}));
    }
    const auto folder = [&](const std::wstring& path) {
        return VardelUtils::CreateFavoriteId(&context, L"x", path, Vardel::BrowseFavoriteFolder, {},
                                             L"");
    };
    for (const CBrowseId& node :
         {CBrowseId(), family, folder(L"S9#X"), folder(L"S1#NOPE#X"), folder(L"S1#N1#X")}) {
        parent = kSentinel[0];
        EXPECT_EQ(store.GetParentFolder(&context, node, parent), E_INVALIDARG);
        EXPECT_EQ(parent.GetInternalName(), L"sentinel");
    }
    BrowseIds out;
    EXPECT_EQ(store.GetSubFolders(nullptr, home, out), E_INVALIDARG);
    EXPECT_EQ(store.GetChildItems(nullptr, home, out), E_INVALIDARG);
    EXPECT_EQ(store.GetParentFolder(nullptr, items.at(0), parent), E_INVALIDARG);
}

}  // namespace
}  // namespace VardelTest
