// Copying and pasting favorites over a scripted server: what the copy buffer
// takes from stored favorites and from library nodes, pasting under new
// names with the sub-containers of folders, the name-clash rule, and the
// refusals. Display names come through the exported property readers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/atomic_file.h"
#include "common/utf8.h"
#include "stores/favorites_editor.h"
#include "support/browse_fixture.h"
#include "support/temp_folder.h"
#include "vardel/constants.h"
#include "vardel/favorites.h"
#include "vardel/properties.h"

namespace VardelTest {
namespace {

using namespace Vardel::Constants;
using namespace VardelFavorites;
using Vardel::CBrowseId;

const std::wstring kLibraryA = Id(100);

std::wstring NodeXml(const std::wstring& name, const std::wstring& shown, int family) {
    return L"<Node InternalName=\"" + name + L"\" DisplayName=\"" + shown + L"\" LibraryId=\"" +
           kLibraryA + L"\" NodeId=\"" + Id(family) + L"\"><Member RowID=\"\"/></Node>";
}

// S1 holds a renamed family, a folder with contents two levels deep and a
// link to category 1; S2 holds a folder "SCREWS" and a family "Washer"; S3
// is empty.
std::wstring FavoritesXml() {
    return L"<Root><ConfiguredFavorites><ActiveFavorite Name=\"Home\"/>"
           L"<Favorites Name=\"Home\" InternalName=\"S1\">" +
           NodeXml(L"N1", L"Bolt", 11) +
           L"<Folder InternalName=\"F1\" Name=\"Screws\"/><Link InternalName=\"L1\" CategoryId=\"" +
           Id(1) +
           L"\"/></Favorites><Favorites Name=\"Work\" InternalName=\"S2\">"
           L"<Folder InternalName=\"FW\" Name=\"SCREWS\"/>" +
           NodeXml(L"NW", L"Washer", 12) +
           L"</Favorites><Favorites Name=\"Garage\" InternalName=\"S3\"/><Modifiers>"
           L"<Modifier Path=\"S1\"><Item InternalName=\"N1\" NewName=\"Big bolt\"/></Modifier>"
           L"<Modifier Path=\"S1#F1\">" +
           NodeXml(L"N2", L"Nut", 12) +
           L"<Folder InternalName=\"F2\" Name=\"Tiny\"/></Modifier>"
           L"<Modifier Path=\"S1#F1#F2\"><Item Remove=\"gone\"/></Modifier>"
           L"</Modifiers></ConfiguredFavorites></Root>";
}

class FavoritesPaste : public BrowseTest {
  protected:
    void SetUp() override {
        BrowseTest::SetUp();
        // Library A: category 1 "Fasteners" with families 11 "Bolt" and 12 "Nut".
        CatalogueLibrary& a = catalogue_[L"A"];
        a.roots = {Id(1)};
        a.families[Id(1)] = {Id(11), Id(12)};
        a.properties[Id(1)] = {{FLD_DISPLAYNAME, L"Fasteners"}, {FLD_LASTMODTIME, L"1"}};
        a.properties[Id(11)] = {
            {FAM_DISPLAYNAME, L"Bolt"}, {FAM_LASTMODTIME, L"1"}, {FAM_REVGUID, L"r"}};
        a.properties[Id(12)] = {
            {FAM_DISPLAYNAME, L"Nut"}, {FAM_LASTMODTIME, L"1"}, {FAM_REVGUID, L"r"}};
        InstallCatalogue();
        const tsp::KnowledgeLibrary libraryA{L"A", tsp::Guid::Parse(kLibraryA).value()};
        backend_->Respond(Method::FindKnowledgeLibraries, [=](const RecordedCall& call) {
            const bool known = !call.nodes.empty() && call.nodes[0] == libraryA.LibraryGuid;
            return Reply::Libraries(known ? std::vector{libraryA}
                                          : std::vector<tsp::KnowledgeLibrary>{});
        });
        backend_->Respond(Method::FindKnowledgeLibrariesByNames, [=](const RecordedCall& call) {
            const bool known = call.names == std::vector<std::wstring>{L"A"};
            return Reply::Libraries(known ? std::vector{libraryA}
                                          : std::vector<tsp::KnowledgeLibrary>{});
        });
        std::ofstream(File()) << VardelCommon::ToUtf8(FavoritesXml());
        context_ = MakeContext(Vardel::FavoritesBrowsing, {L"A"}, folder_.path().wstring());
    }

    std::filesystem::path File() const { return folder_.path() / "Favorites.xml"; }
    std::string Read() const {
        std::string bytes;
        EXPECT_TRUE(VardelCommon::ReadWholeFile(File(), bytes));
        return bytes;
    }
    CFavoritesData& Store() { return *Impl(context_).GetFavoritesData(); }
    CBrowseId Root(const std::wstring& path) {
        return VardelUtils::CreateFavoriteId(&context_, L"root", path, Vardel::BrowseFavoriteFolder,
                                             {}, L"");
    }
    // The listed sub-folder or child item of `parent` whose favorite id is `path`.
    CBrowseId Listed(const CBrowseId& parent, const std::wstring& path) {
        BrowseIds listed;
        EXPECT_EQ(Store().GetSubFolders(&context_, parent, listed), S_OK);
        EXPECT_EQ(Store().GetChildItems(&context_, parent, listed), S_OK);
        for (const CBrowseId& id : listed) {
            if (VardelUtils::BrowseIdAccess::GetImpl(id)->GetFavoriteId() == path) {
                return id;
            }
        }
        ADD_FAILURE() << "nothing listed at " << testing::PrintToString(path);
        return {};
    }
    HRESULT Paste(const CBrowseId& target, bool& changed) {
        return Vardel::StoreFavoritesEditResults(&context_, {target}, L"not read",
                                                 Vardel::FavoritePaste, changed);
    }
    Strings Kinds(const std::wstring& path) {
        Strings kinds;
        for (const SFavoriteEntry& entry : Store().EntriesOf(path, ~0u)) {
            kinds.push_back(std::to_wstring(entry.kind) + L":" + entry.displayName);
        }
        return kinds;
    }

    TempFolder folder_;
    Vardel::CContext context_;
};

TEST_F(FavoritesPaste, CopyTakesStoredFavoritesAndPasteNeedsAFolderAndAWholeBuffer) {
    bool changed = true;
    // Nothing copied yet: nothing to paste.
    ASSERT_EQ(Paste(Root(L"S3"), changed), S_OK);
    EXPECT_FALSE(changed);
    const CBrowseId set = Root(L"S1");
    const BrowseIds ids = {Listed(set, L"S1#N1"), Listed(set, L"S1#F1"), Listed(set, L"S1#L1")};
    ASSERT_EQ(Vardel::SaveCopiedFavorites(&context_, ids), S_OK);
    const auto& copied = Store().CopiedEntries();
    ASSERT_EQ(copied.size(), 3u);
    EXPECT_EQ(copied[0].kind, kFamilyNode);
    EXPECT_EQ(copied[0].displayName, L"Big bolt");  // the rename entry's name
    EXPECT_EQ(copied[1].kind, kFolder);
    EXPECT_EQ(copied[1].displayName, L"Screws");
    EXPECT_EQ(copied[2].kind, kLink);
    EXPECT_EQ(copied[2].nodeId, Id(1));
    // Only a favorites folder takes a paste.
    EXPECT_EQ(Paste(ids[0], changed), E_INVALIDARG);
    EXPECT_EQ(Paste(ids[2], changed), E_INVALIDARG);
    EXPECT_EQ(Paste(CBrowseId(), changed), E_INVALIDARG);
    EXPECT_FALSE(changed);

    // A new copy replaces the buffer; an id that gives no favorite fails the
    // copy, and the incomplete buffer is refused by a paste.
    EXPECT_EQ(Vardel::SaveCopiedFavorites(&context_, {ids[1], CBrowseId()}), E_FAIL);
    EXPECT_EQ(Store().CopiedEntries().size(), 1u);
    changed = true;
    EXPECT_EQ(Paste(Root(L"S3"), changed), E_INVALIDARG);
    EXPECT_FALSE(changed);
    EXPECT_TRUE(Store().EntriesOf(L"S3", ~0u).empty());
}

TEST_F(FavoritesPaste, CopyBuildsFavoritesOfNodesTheStoreDoesNotHold) {
    const CBrowseId linked = Listed(Root(L"S1"), L"S1#L1");
    const BrowseIds ids = {VardelUtils::CreateFamilyId(&context_, Id(12), {L"A"}), Root(L"S2"),
                           Listed(linked, L"S1#L1#" + Id(11)),
                           VardelUtils::CreateMemberId(&context_, Id(11), L"row-3", {L"A"})};
    ASSERT_EQ(Vardel::SaveCopiedFavorites(&context_, ids), S_OK);
    const auto& copied = Store().CopiedEntries();
    ASSERT_EQ(copied.size(), 4u);
    EXPECT_EQ(copied[0].kind, kFamilyNode);
    EXPECT_EQ(copied[0].libraryId, kLibraryA);
    EXPECT_EQ(copied[0].displayName, L"Nut");
    EXPECT_EQ(copied[1].kind, kFolder);
    EXPECT_EQ(copied[1].displayName, L"Work");
    EXPECT_EQ(copied[2].displayName, L"Bolt");
    EXPECT_EQ(copied[3].kind, kMemberNode);
    EXPECT_EQ(copied[3].rowId, L"row-3");

    // A node of a library the server does not know could never be shown again.
    EXPECT_EQ(Vardel::SaveCopiedFavorites(&context_,
                                          {VardelUtils::CreateFamilyId(&context_, Id(12), {L"Z"})}),
              E_FAIL);
    EXPECT_TRUE(Store().CopiedEntries().empty());
}

TEST_F(FavoritesPaste, PastedFavoritesGetNewNamesAndFoldersTheirContents) {
    const CBrowseId set = Root(L"S1");
    ASSERT_EQ(Vardel::SaveCopiedFavorites(
                  &context_, {Listed(set, L"S1#F1"), Listed(set, L"S1#N1"), Listed(set, L"S1#L1")}),
              S_OK);
    const CFavoritesData::Entries s1 = Store().EntriesOf(L"S1", ~0u);
    bool changed = false;
    ASSERT_EQ(Paste(Root(L"S3"), changed), S_OK);
    EXPECT_TRUE(changed);
    // A folder keeps its name in the name map, other favorites in a rename entry.
    EXPECT_EQ(Kinds(L"S3"), (Strings{L"8:Screws", L"2:Big bolt", L"32:Big bolt", L"1:"}));
    const CFavoritesData::Entries pasted = Store().EntriesOf(L"S3", ~0u);
    for (const SFavoriteEntry& entry : pasted) {
        EXPECT_EQ(entry.internalName.size(), 32u);
    }
    EXPECT_EQ(pasted[1].internalName, pasted[2].internalName);
    EXPECT_EQ(pasted[3].nodeId, Id(1));
    const std::wstring folder = ChildPath(L"S3", pasted[0].internalName);
    EXPECT_EQ(Store().Index().at(folder), Store().Index().at(L"S1#F1"));
    EXPECT_EQ(Store().Index().at(folder + L"#F2"), Store().Index().at(L"S1#F1#F2"));
    EXPECT_EQ(Store().EntriesOf(L"S1", ~0u), s1);

    // Saved, and browsable as any favorite.
    // The file keeps every entry; only the order between kinds may differ.
    const auto reloaded = CFavoritesData::Initialize(folder_.path().wstring());
    ASSERT_EQ(reloaded->Index().size(), Store().Index().size());
    for (const auto& [path, entries] : Store().Index()) {
        for (const std::uint32_t kind : {kLink, kFamilyNode, kFolder, kRenamed, kRemoved}) {
            EXPECT_EQ(reloaded->EntriesOf(path, kind), Store().EntriesOf(path, kind));
        }
    }
    BrowseIds items;
    ASSERT_EQ(Store().GetChildItems(&context_, Listed(Root(L"S3"), folder), items), S_OK);
    EXPECT_EQ(NamesOf(items), (Strings{Id(12)}));
    std::vector<Vardel::ReturnValue> names;
    ASSERT_EQ(Vardel::GetFoldersProperties(&context_, {Listed(Root(L"S3"), folder)},
                                           {FLD_DISPLAYNAME}, names),
              S_OK);
    EXPECT_EQ(TextsOf(names), (Strings{L"Screws"}));
}

TEST_F(FavoritesPaste, ANameTheDestinationShowsInAnyCaseIsNotPastedAgain) {
    const CBrowseId set = Root(L"S1");
    const CBrowseId screws = Listed(set, L"S1#F1");
    ASSERT_EQ(Vardel::SaveCopiedFavorites(&context_, {screws}), S_OK);
    const std::string before = Read();
    const CFavoritesData::EntryIndex index = Store().Index();
    bool changed = true;
    ASSERT_EQ(Paste(Root(L"S2"), changed), S_OK);
    EXPECT_FALSE(changed);
    EXPECT_EQ(Store().Index(), index);
    EXPECT_EQ(Read(), before);

    // Of several favorites only those without a clash are pasted: the nut,
    // not the folder nor the family the destination shows as "Washer".
    Store().Load();
    const CBrowseId washer = Listed(Root(L"S2"), L"S2#NW");
    ASSERT_EQ(Vardel::SaveCopiedFavorites(&context_, {screws, Listed(screws, L"S1#F1#N2"), washer}),
              S_OK);
    ASSERT_EQ(Paste(Root(L"S2"), changed), S_OK);
    EXPECT_TRUE(changed);
    EXPECT_EQ(Kinds(L"S2"), (Strings{L"8:SCREWS", L"2:Washer", L"2:Nut", L"32:Nut"}));
}

TEST_F(FavoritesPaste, AFolderPastedIntoItselfIsCopiedOnce) {
    const CBrowseId screws = Listed(Root(L"S1"), L"S1#F1");
    ASSERT_EQ(Vardel::SaveCopiedFavorites(&context_, {screws}), S_OK);
    const CFavoritesData::Entries before = Store().EntriesOf(L"S1#F1", ~0u);
    bool changed = false;
    ASSERT_EQ(Paste(screws, changed), S_OK);
    ASSERT_TRUE(changed);
    EXPECT_EQ(Kinds(L"S1#F1"), (Strings{L"2:Nut", L"8:Tiny", L"8:Screws"}));
    const std::wstring copy = ChildPath(L"S1#F1", Store().Index().at(L"S1#F1").back().internalName);
    EXPECT_EQ(Store().Index().at(copy), before);
    EXPECT_EQ(Store().Index().at(copy + L"#F2"), Store().Index().at(L"S1#F1#F2"));
    // S1, S1#F1, S1#F1#F2, S2, S2#FW, S3 and the two copies.
    EXPECT_EQ(Store().Index().size(), 8u);
}

}  // namespace
}  // namespace VardelTest
