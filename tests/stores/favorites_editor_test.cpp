// Editing favorites through StoreFavoritesEditResults without a server: each
// operation and edit element, the element-count checks, what a failure keeps
// and saves, hostile names, refused saves, and a new user without a file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <list>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "api/browse_id_factory.h"
#include "api/context_impl.h"
#include "common/atomic_file.h"
#include "common/utf8.h"
#include "stores/favorites_editor.h"
#include "support/temp_folder.h"
#include "vardel/favorites.h"

namespace {

using namespace VardelFavorites;
using Vardel::CBrowseId;
using Strings = std::vector<std::wstring>;
using Ids = std::vector<CBrowseId>;

// Set S1 with a family, a link with a removal inside it and a folder holding
// a folder with a node; set S2 empty.
constexpr char kFavorites[] = R"(<Root>
  <ConfiguredLibraries><Library Name="A"/></ConfiguredLibraries>
  <ConfiguredFavorites>
    <ActiveFavorite Name="Home"/>
    <Favorites Name="Home" InternalName="S1">
      <Node InternalName="N1" DisplayName="Bolt" LibraryId="lib-a" NodeId="fam-1"><Member RowID=""/></Node>
      <Link InternalName="L1" CategoryId="cat-1"/>
      <Folder InternalName="F1" Name="Screws">
        <Folder InternalName="F2" Name="Tiny">
          <Node InternalName="N3" DisplayName="M2" LibraryId="lib-a" NodeId="fam-3"><Member RowID=""/></Node>
        </Folder>
      </Folder>
    </Favorites>
    <Favorites Name="Work" InternalName="S2"/>
    <Modifiers><Modifier Path="S1#L1"><Item Remove="fam-9"/></Modifier></Modifiers>
  </ConfiguredFavorites>
</Root>)";

bool IsNewInternalName(const std::wstring& name) {
    return std::regex_match(VardelCommon::ToUtf8(name), std::regex("[0-9A-F]{32}"));
}

class FavoritesEditor : public ::testing::Test {
  protected:
    void SetUp() override { Write(kFavorites); }

    std::filesystem::path File() const { return folder_.path() / "Favorites.xml"; }
    void Write(const std::string& text) const { std::ofstream(File(), std::ios::binary) << text; }
    std::string Read() const {
        std::string bytes;
        return VardelCommon::ReadWholeFile(File(), bytes) ? bytes : std::string("<no file>");
    }
    Vardel::CContext Open() {
        Vardel::CContext context;
        const std::wstring storage = folder_.path().wstring();
        EXPECT_EQ(context.Initialize(Vardel::FavoritesBrowsing, &libraries_, nullptr, L"en",
                                     nullptr, storage.c_str()),
                  S_OK);
        return context;
    }
    static CFavoritesData& Store(const Vardel::CContext& context) {
        return *VardelUtils::ContextAccess::GetImpl(context)->GetFavoritesData();
    }
    // A store read anew from the file.
    std::unique_ptr<CFavoritesData> Reload() const {
        return CFavoritesData::Initialize(folder_.path().wstring());
    }
    static CBrowseId Folder(const Vardel::CContext& context, const std::wstring& path) {
        return VardelUtils::CreateFavoriteId(&context, L"f", path, Vardel::BrowseFavoriteFolder, {},
                                             L"");
    }
    static CBrowseId Family(const Vardel::CContext& context, const std::wstring& path) {
        return VardelUtils::CreateFavoriteId(&context, L"fam-1", path, Vardel::BrowseFamily, {L"A"},
                                             L"");
    }
    static CBrowseId Link(const Vardel::CContext& context, const std::wstring& path) {
        return VardelUtils::CreateFavoriteId(&context, L"cat-1", path, Vardel::BrowseCategory,
                                             {L"A"}, L"");
    }
    static HRESULT Edit(const Vardel::CContext& context, const Ids& ids, const wchar_t* text,
                        Vardel::EFavoriteOperation operation, bool& changed) {
        return Vardel::StoreFavoritesEditResults(&context, ids, text, operation, changed);
    }
    static Strings Kinds(const CFavoritesData& store, const std::wstring& path) {
        Strings kinds;
        const auto found = store.Index().find(path);
        if (found != store.Index().end()) {
            for (const SFavoriteEntry& entry : found->second) {
                kinds.push_back(std::to_wstring(entry.kind) + L":" + entry.internalName);
            }
        }
        return kinds;
    }
    static Strings Paths(const CFavoritesData& store) {
        Strings paths;
        for (const auto& [path, entries] : store.Index()) {
            paths.push_back(path);
        }
        return paths;
    }
    // The number of nodes `xpath` selects in the saved file.
    int Count(const wchar_t* xpath) const {
        XMLParser saved;
        EXPECT_TRUE(saved.LoadXmlDocument(File().wstring().c_str()));
        XMLNodeArray nodes;
        EXPECT_TRUE(saved.GetRootNode().SelectChildNodes(xpath, nodes));
        return nodes.GetSize();
    }

    TempFolder folder_;
    const std::list<std::wstring> libraries_ = {L"A"};
};

TEST_F(FavoritesEditor, ArgumentsContextsAndElementCountsAreCheckedFirst) {
    const Vardel::CContext context = Open();
    bool changed = true;
    // No ids: nothing happens, whatever the text.
    EXPECT_EQ(Edit(context, {}, L"<not xml", Vardel::FavoriteRemove, changed), S_OK);
    EXPECT_FALSE(changed);
    EXPECT_EQ(Vardel::SaveCopiedFavorites(nullptr, {}), E_INVALIDARG);
    // Only a favorites context has a store to edit.
    const std::wstring storage = folder_.path().wstring();
    Vardel::CContext history;
    ASSERT_EQ(history.Initialize(Vardel::HistoryBrowsing, &libraries_, nullptr, L"en", nullptr,
                                 storage.c_str()),
              S_OK);
    EXPECT_EQ(Vardel::SaveCopiedFavorites(&history, {}), E_INVALIDARG);
    const Vardel::CContext empty;

    // A rename takes exactly one element, a removal one per id, and every id
    // must name a favorite, also after the first.
    const Ids set = {Folder(context, L"S1")};
    const Ids n1 = {Family(context, L"S1#N1")};
    const Ids two = {n1[0], Folder(context, L"S1#F1")};
    const Ids plain = {VardelUtils::CreateFamilyId(&context, L"fam-1", {L"A"})};
    const struct {
        const Vardel::CContext* ctx;
        Ids ids;
        const wchar_t* text;
        Vardel::EFavoriteOperation operation;
    } refused[] = {
        {nullptr, set, L"<e/>", Vardel::FavoriteEdit},
        {&context, set, nullptr, Vardel::FavoriteEdit},
        {&history, set, L"<e><Folder Name=\"x\"/></e>", Vardel::FavoriteEdit},
        {&empty, set, L"<e/>", Vardel::FavoriteEdit},
        {&context, set, L"<e><Folder Name=\"x\">", Vardel::FavoriteEdit},  // does not parse
        {&context, n1, L"<e><Item NewName=\"a\"/><Item NewName=\"b\"/></e>",
         Vardel::FavoriteRename},
        {&context, n1, L"<e/>", Vardel::FavoriteRename},
        {&context, {CBrowseId()}, L"<e><Item NewName=\"a\"/></e>", Vardel::FavoriteRename},
        {&context, plain, L"<e><Item NewName=\"a\"/></e>", Vardel::FavoriteRename},
        {&context, two, L"<e><Item/></e>", Vardel::FavoriteRemove},
        {&context, two, L"<e><Item/><Item/><Item/></e>", Vardel::FavoriteRemoveKeepContents},
        {&context, {n1[0], CBrowseId()}, L"<e><Item/><Item/></e>", Vardel::FavoriteRemove},
    };
    const CFavoritesData::EntryIndex index = Store(context).Index();
    for (const auto& edit : refused) {
        changed = true;
        EXPECT_EQ(Vardel::StoreFavoritesEditResults(edit.ctx, edit.ids, edit.text, edit.operation,
                                                    changed),
                  E_INVALIDARG)
            << testing::PrintToString(std::wstring(edit.text != nullptr ? edit.text : L"null"));
        EXPECT_FALSE(changed);
    }
    EXPECT_EQ(Store(context).Index(), index);
    EXPECT_EQ(Read(), kFavorites);
}

TEST_F(FavoritesEditor, AFailingElementEndsTheCallAndKeepsEarlierEditsUnsaved) {
    const Vardel::CContext context = Open();
    const Ids target = {Folder(context, L"S2")};
    bool changed = true;
    // Without a member nothing says what to add: nothing changes, nothing is written.
    EXPECT_EQ(Edit(context, target, L"<e><Node NodeId=\"n\"/></e>", Vardel::FavoriteEdit, changed),
              S_OK);
    EXPECT_FALSE(changed);
    EXPECT_TRUE(Store(context).Index().at(L"S2").empty());

    const wchar_t* refused[] = {
        L"<e><Folder Name=\"a\"/><Bogus/><Folder Name=\"b\"/></e>",
        L"<e><Folder Name=\"a\"/><Node><Member/></Node><Folder Name=\"b\"/></e>",
        L"<e><Folder Name=\"a\"/><Item InternalName=\"x\"/></e>",
        L"<e><Folder Name=\"a\"/><Favorites/></e>",
        L"<e><Folder Name=\"a\"><Unknown/></Folder><Folder Name=\"b\"/></e>",
    };
    for (const wchar_t* text : refused) {
        Store(context).Load();
        changed = false;
        EXPECT_EQ(Edit(context, target, text, Vardel::FavoriteEdit, changed), E_INVALIDARG)
            << testing::PrintToString(std::wstring(text));
        EXPECT_TRUE(changed);
        ASSERT_EQ(Store(context).Index().at(L"S2").size(), 1u);
        EXPECT_EQ(Store(context).Index().at(L"S2")[0].displayName, L"a");
        EXPECT_EQ(Read(), kFavorites);
    }
}

TEST_F(FavoritesEditor, RenamesChangeStoredEntriesInPlaceAndRecordAnyOtherItem) {
    const Vardel::CContext context = Open();
    CFavoritesData& store = Store(context);
    bool changed = false;
    ASSERT_EQ(Edit(context, {Family(context, L"S1#N1")}, L"<e><Item NewName=\"Big bolt\"/></e>",
                   Vardel::FavoriteRename, changed),
              S_OK);
    EXPECT_TRUE(changed);
    EXPECT_EQ(Kinds(store, L"S1"), (Strings{L"2:N1", L"1:L1", L"8:F1"}));
    EXPECT_EQ(store.Index().at(L"S1")[0].displayName, L"Big bolt");
    EXPECT_EQ(Count(L"//Favorites/Node[@InternalName = 'N1'][@DisplayName = 'Big bolt']"), 1);

    // A library family shown inside the linked category, and the link itself,
    // are not stored where they are shown: each gets a rename entry once.
    const CBrowseId shown = Family(context, L"S1#L1#fam-5");
    ASSERT_EQ(
        Edit(context, {shown}, L"<e><Item NewName=\"One\"/></e>", Vardel::FavoriteRename, changed),
        S_OK);
    ASSERT_EQ(
        Edit(context, {shown}, L"<e><Item NewName=\"Two\"/></e>", Vardel::FavoriteRename, changed),
        S_OK);
    EXPECT_EQ(Kinds(store, L"S1#L1"), (Strings{L"16:fam-9", L"32:fam-5"}));
    EXPECT_EQ(store.Index().at(L"S1#L1")[1].displayName, L"Two");
    ASSERT_EQ(Edit(context, {Link(context, L"S1#L1")}, L"<e><Link NewName=\"Cat\"/></e>",
                   Vardel::FavoriteRename, changed),
              S_OK);
    EXPECT_EQ(Kinds(store, L"S1"), (Strings{L"2:N1", L"1:L1", L"8:F1", L"32:L1"}));
    EXPECT_EQ(Count(L"//Modifier[@Path = 'S1']/Item[@InternalName = 'L1'][@NewName = 'Cat']"), 1);

    // A folder or a set is renamed everywhere its name is kept.
    ASSERT_EQ(Edit(context, {Folder(context, L"S1#F1")}, L"<e><Folder NewName=\"Bolts\"/></e>",
                   Vardel::FavoriteRename, changed),
              S_OK);
    EXPECT_EQ(store.Index().at(L"S1")[2].displayName, L"Bolts");
    // The active set keeps being the active one under its new name.
    ASSERT_EQ(Edit(context, {Folder(context, L"S1")}, L"<e><Folder NewName=\"House\"/></e>",
                   Vardel::FavoriteRename, changed),
              S_OK);
    const auto reloaded = Reload();
    EXPECT_EQ(reloaded->ActiveFavoriteName(), L"House");
    EXPECT_EQ(reloaded->DisplayNames().at(L"S1"), L"House");
    EXPECT_EQ(reloaded->DisplayNames().at(L"F1"), L"Bolts");
}

TEST_F(FavoritesEditor, RemovalDropsTheRemovedSubContainersOnlyWhenAsked) {
    const std::wstring kept[] = {L"S1", L"S1#F1", L"S1#F1#F2", L"S1#L1", L"S2"};
    for (const auto operation : {Vardel::FavoriteRemove, Vardel::FavoriteRemoveKeepContents}) {
        Write(kFavorites);
        const Vardel::CContext context = Open();
        CFavoritesData& store = Store(context);
        bool changed = false;
        ASSERT_EQ(
            Edit(context,
                 {Folder(context, L"S1#F1"), Family(context, L"S1#N1"), Link(context, L"S1#L1")},
                 L"<e><Folder/><Item/><Link/></e>", operation, changed),
            S_OK);
        EXPECT_TRUE(changed);
        EXPECT_EQ(Kinds(store, L"S1"),
                  (Strings{L"2:N1", L"1:L1", L"8:F1", L"16:F1", L"16:N1", L"16:L1"}));
        EXPECT_EQ(store.DisplayNames().count(L"F1"), 0u);
        if (operation == Vardel::FavoriteRemove) {
            EXPECT_EQ(Paths(store), (Strings{L"S1", L"S2"}));
        } else {
            EXPECT_EQ(Paths(store), Strings(std::begin(kept), std::end(kept)));
        }
        EXPECT_EQ(Count(L"//Modifier[@Path = 'S1']/Item[@Remove]"), 3);
        EXPECT_EQ(Count(L"//Modifier[@Path = 'S1#F1#F2']"),
                  operation == Vardel::FavoriteRemove ? 0 : 1);
    }
}

TEST_F(FavoritesEditor, SetsAreAddedActivatedAndRemoved) {
    const Vardel::CContext context = Open();
    CFavoritesData& store = Store(context);
    bool changed = false;
    ASSERT_EQ(Edit(context, {CBrowseId()},
                   L"<e><favorites Name=\"Garage\" Colour=\"red\"><Folder Name=\"Tools\"/>"
                   L"</favorites></e>",
                   Vardel::FavoriteEdit, changed),
              S_OK);
    EXPECT_TRUE(changed);
    ASSERT_EQ(store.FavoritesElements().GetSize(), 3);
    const std::wstring garage = Attribute(store.FavoritesElements()[2], L"InternalName");
    EXPECT_TRUE(IsNewInternalName(garage));
    EXPECT_EQ(store.ActiveFavoriteName(), L"Garage");
    ASSERT_EQ(store.Index().at(garage).size(), 1u);
    EXPECT_EQ(Count(L"/Root/ConfiguredFavorites/Favorites[3][@Name = 'Garage'][@Colour = 'red']"
                    L"/Folder[@Name = 'Tools']"),
              1);

    // Removal matches the internal name in any case, drops the set's whole
    // index and makes the first remaining set active.
    ASSERT_EQ(Edit(context, {CBrowseId()}, L"<e><Favorites Remove=\"s1\"/></e>",
                   Vardel::FavoriteEdit, changed),
              S_OK);
    const std::wstring tools = ChildPath(garage, store.Index().at(garage)[0].internalName);
    EXPECT_EQ(Paths(store), (Strings{garage, tools, L"S2"}));
    EXPECT_EQ(store.DisplayNames().count(L"S1"), 0u);
    EXPECT_EQ(store.ActiveFavoriteName(), L"Work");
    EXPECT_EQ(Count(L"//Favorites"), 2);
    EXPECT_EQ(Count(L"//ActiveFavorite[@Name = 'Work']"), 1);
}

TEST_F(FavoritesEditor, TheLastSetIsNeverRemoved) {
    Write(R"(<Root><ConfiguredFavorites><ActiveFavorite Name="Only"/>)"
          R"(<Favorites Name="Only" InternalName="S1"><Folder InternalName="F" Name="f"/>)"
          R"(</Favorites></ConfiguredFavorites></Root>)");
    const std::string before = Read();
    const Vardel::CContext context = Open();
    CFavoritesData& store = Store(context);
    const CFavoritesData::EntryIndex index = store.Index();
    bool changed = true;
    for (const wchar_t* text :
         {L"<e><Favorites Remove=\"S1\"/></e>", L"<e><Favorites Remove=\"nowhere\"/></e>"}) {
        EXPECT_EQ(Edit(context, {CBrowseId()}, text, Vardel::FavoriteEdit, changed), E_INVALIDARG);
        EXPECT_FALSE(changed);
    }
    EXPECT_EQ(store.FavoritesElements().GetSize(), 1);
    EXPECT_EQ(store.Index(), index);
    EXPECT_EQ(store.ActiveFavoriteName(), L"Only");
    EXPECT_EQ(Read(), before);
}

TEST_F(FavoritesEditor, HostileNamesStayTextAndHashesNeverBecomePathLevels) {
    const Vardel::CContext context = Open();
    CFavoritesData& store = Store(context);
    bool changed = false;
    const wchar_t* hostile = L"<e><Favorites Name=\"a'b&quot;c]|//*[x=&apos;\"/></e>";
    ASSERT_EQ(Edit(context, {CBrowseId()}, hostile, Vardel::FavoriteEdit, changed), S_OK);
    ASSERT_EQ(store.FavoritesElements().GetSize(), 3);
    // The same name again finds that set: the quoting kept the expression whole.
    ASSERT_EQ(Edit(context, {CBrowseId()}, hostile, Vardel::FavoriteEdit, changed), S_OK);
    EXPECT_EQ(store.FavoritesElements().GetSize(), 3);
    EXPECT_EQ(store.ActiveFavoriteName(), L"a'b\"c]|//*[x='");
    ASSERT_EQ(Edit(context, {CBrowseId()}, L"<e><Favorites Name=\"Work'\"/></e>",
                   Vardel::FavoriteEdit, changed),
              S_OK);
    EXPECT_EQ(store.FavoritesElements().GetSize(), 4);

    // "#" may be in display names, never in an internal name the host gives.
    const Ids target = {Folder(context, L"S1")};
    const wchar_t* refused[] = {
        L"<e><Item Remove=\"F1#F2\"/></e>",
        L"<e><Folder Remove=\"F1#F2\"><Folder Name=\"x\"/></Folder></e>",
        L"<e><Item InternalName=\"N1#x\" NewName=\"n\"/></e>",
        L"<e><Folder InternalName=\"F1#F2\" NewName=\"n\"/></e>",
        L"<e><Favorites Remove=\"S1#x\"/></e>",
    };
    const CFavoritesData::EntryIndex index = store.Index();
    for (const wchar_t* text : refused) {
        EXPECT_EQ(Edit(context, target, text, Vardel::FavoriteEdit, changed), E_INVALIDARG)
            << testing::PrintToString(std::wstring(text));
        EXPECT_FALSE(changed);
    }
    EXPECT_EQ(store.Index(), index);
    ASSERT_EQ(Edit(context, target,
                   L"<e><Item InternalName=\"N1\" NewName=\"a#b 'q' &quot;r&quot;\"/></e>",
                   Vardel::FavoriteEdit, changed),
              S_OK);
    const auto reloaded = Reload();
    EXPECT_EQ(reloaded->Index().at(L"S1")[0].displayName, L"a#b 'q' \"r\"");
    EXPECT_EQ(reloaded->ActiveFavoriteName(), L"Work'");
    EXPECT_EQ(reloaded->Index(), store.Index());
}

TEST_F(FavoritesEditor, NewEntriesGetHexNamesAndLoadEditSaveLoadKeepsEveryEntry) {
    const Vardel::CContext context = Open();
    CFavoritesData& store = Store(context);
    bool changed = false;
    // Element names in any case; a comment and text between elements are no elements.
    ASSERT_EQ(Edit(context, {Folder(context, L"S1")},
                   L"<Edit><!-- from the editor --><FOLDER Name=\"New # one\">"
                   L"<node NodeId=\"fam-7\" LibraryId=\"lib-b\" DisplayName=\"Nut\">"
                   L"<Member RowID=\"r7\"><CustomParameter Name=\"L\" Value=\"1\"/>"
                   L"<CustomParameter Name=\"L\" Value=\"2\"/></Member></node>"
                   L"<LINK CategoryId=\"cat-7\"/></FOLDER>text</Edit>",
                   Vardel::FavoriteEdit, changed),
              S_OK);
    EXPECT_TRUE(changed);
    const SFavoriteEntry& folder = store.Index().at(L"S1").back();
    EXPECT_EQ(folder.kind, kFolder);
    EXPECT_TRUE(IsNewInternalName(folder.internalName)) << folder.internalName;
    EXPECT_EQ(store.DisplayNames().at(folder.internalName), L"New # one");

    const auto& inner = store.Index().at(L"S1#" + folder.internalName);
    ASSERT_EQ(inner.size(), 2u);
    EXPECT_EQ(inner[0].kind, kMemberNode);
    EXPECT_TRUE(IsNewInternalName(inner[0].internalName));
    EXPECT_EQ(inner[0].customValues, (decltype(inner[0].customValues){{L"L", L"1"}}));
    EXPECT_EQ(inner[1].kind, kLink);
    EXPECT_TRUE(IsNewInternalName(inner[1].internalName));
    EXPECT_NE(inner[0].internalName, inner[1].internalName);

    // Saved: the folder in its set, its contents under a modifier of its path.
    const std::wstring modifier = L"//Modifier[@Path = 'S1#" + folder.internalName + L"']";
    EXPECT_EQ(Count(L"//Favorites[@InternalName = 'S1']/Folder[@Name = 'New # one']"), 1);
    EXPECT_EQ(Count((modifier + L"/Node[@NodeId = 'fam-7']/Member[@RowID = 'r7']").c_str()), 1);
    EXPECT_EQ(Count((modifier + L"/Link[@CategoryId = 'cat-7']").c_str()), 1);

    ASSERT_EQ(Edit(context, {Folder(context, L"S1#F1#F2")},
                   L"<e><Folder Name=\"Deep\"><Link CategoryId=\"c\"/></Folder>"
                   L"<Node NodeId=\"n\" LibraryId=\"l\" DisplayName=\"d\"><Member RowID=\"7\">"
                   L"<CustomParameter Name=\"b\" Value=\"2\"/><CustomParameter Name=\"a\" "
                   L"Value=\"1\"/></Member></Node><Item Remove=\"N3\"/>"
                   L"<Item InternalName=\"X\" NewName=\"y\"/></e>",
                   Vardel::FavoriteEdit, changed),
              S_OK);
    ASSERT_EQ(Edit(context, {Family(context, L"S1#N1")}, L"<e><Item NewName=\"B\"/></e>",
                   Vardel::FavoriteRename, changed),
              S_OK);
    ASSERT_EQ(Edit(context, {Folder(context, L"S2")}, L"<e><Folder Name=\"W\"/></e>",
                   Vardel::FavoriteEdit, changed),
              S_OK);
    const auto reloaded = Reload();
    EXPECT_EQ(reloaded->Index(), store.Index());
    EXPECT_EQ(reloaded->DisplayNames(), store.DisplayNames());
    EXPECT_EQ(reloaded->ActiveFavoriteName(), L"Home");
    EXPECT_EQ(Kinds(*reloaded, L"S1#F1#F2").size(), 5u);
    EXPECT_EQ(Count(L"/Root/ConfiguredLibraries/Library[@Name = 'A']"), 1);
}

TEST_F(FavoritesEditor, ARefusedSaveKeepsThePreviousFileAndTheEditsInMemory) {
    const Vardel::CContext context = Open();
    // A privileged user writes anywhere; the file-size limit refuses the write.
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = previous;
    tiny.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    bool changed = false;
    const HRESULT status = Edit(context, {Folder(context, L"S2")}, L"<e><Folder Name=\"x\"/></e>",
                                Vardel::FavoriteEdit, changed);
    setrlimit(RLIMIT_FSIZE, &previous);
    signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(status, E_FAIL);
    EXPECT_TRUE(changed);
    EXPECT_EQ(Read(), kFavorites);
    EXPECT_EQ(Kinds(Store(context), L"S2").size(), 1u);
    // The next edit writes both.
    ASSERT_EQ(Edit(context, {Folder(context, L"S2")}, L"<e><Folder Name=\"y\"/></e>",
                   Vardel::FavoriteEdit, changed),
              S_OK);
    EXPECT_EQ(Count(L"//Favorites[@InternalName = 'S2']/Folder"), 2);
}

TEST_F(FavoritesEditor, ANewUserStartsWithoutAFile) {
    std::filesystem::remove(File());
    const Vardel::CContext context = Open();
    CFavoritesData& store = Store(context);
    EXPECT_FALSE(store.IsLoaded());
    bool changed = false;
    ASSERT_EQ(Edit(context, {CBrowseId()},
                   L"<e><Favorites Name=\"Mine\"><Folder Name=\"First\"/></Favorites></e>",
                   Vardel::FavoriteEdit, changed),
              S_OK);
    EXPECT_TRUE(changed);
    EXPECT_EQ(Count(L"/FavoritesConfiguration/*"), 2);
    EXPECT_EQ(Count(L"/FavoritesConfiguration/*[1][self::ConfiguredLibraries]"), 1);
    EXPECT_EQ(Count(L"/FavoritesConfiguration/ConfiguredFavorites/*[1][self::ActiveFavorite]"
                    L"[@Name = 'Mine']"),
              1);
    EXPECT_EQ(Count(L"/FavoritesConfiguration/ConfiguredFavorites/Favorites[@Name = 'Mine']"
                    L"/Folder[@Name = 'First']"),
              1);
    EXPECT_EQ(Read().rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>", 0), 0u);
    EXPECT_EQ(Reload()->Index(), store.Index());

    // Edits into a container of an empty store start a document too; the
    // writer then makes the set element for the container.
    std::filesystem::remove(File());
    store.Load();
    ASSERT_EQ(Edit(context, {Folder(context, L"S9")}, L"<e><Folder Name=\"f\"/></e>",
                   Vardel::FavoriteEdit, changed),
              S_OK);
    EXPECT_EQ(Count(L"/FavoritesConfiguration/ConfiguredFavorites/Favorites[@InternalName = 'S9']"
                    L"/Folder[@Name = 'f']"),
              1);
}

TEST_F(FavoritesEditor, UnparsableOrRootlessFilesStillTakeEdits) {
    // A file that never parsed is replaced by the first edit; a document
    // without favorites keeps its root and gets the section.
    const std::pair<const char*, const wchar_t*> files[] = {
        {"<Root><ConfiguredFavorites>",
         L"/FavoritesConfiguration/ConfiguredFavorites/Favorites[@Name = 'New']"},
        {"<Other keep=\"1\"/>",
         L"/Other[@keep = '1']/ConfiguredFavorites"
         L"[ActiveFavorite/@Name = 'New']/Favorites[@Name = 'New']"},
    };
    for (const auto& [text, xpath] : files) {
        Write(text);
        const Vardel::CContext context = Open();
        bool changed = false;
        ASSERT_EQ(Edit(context, {CBrowseId()}, L"<e><Favorites Name=\"New\"/></e>",
                       Vardel::FavoriteEdit, changed),
                  S_OK);
        EXPECT_EQ(Count(xpath), 1) << text;
    }
}

TEST(FavoritesNames, DropSubIndexTakesThePathAndThePathsBelowOnly) {
    CFavoritesData::EntryIndex index;
    for (const wchar_t* path : {L"S", L"S#F", L"S#F!", L"S#F#G", L"S#F#G#H", L"S#FF", L"S#F$"}) {
        index[path];
    }
    DropSubIndex(index, L"S#F");
    Strings paths;
    for (const auto& [path, entries] : index) {
        paths.push_back(path);
    }
    EXPECT_EQ(paths, (Strings{L"S", L"S#F!", L"S#F$", L"S#FF"}));
}

}  // namespace
