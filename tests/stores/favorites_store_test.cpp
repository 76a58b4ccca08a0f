// The favorites store without a server: reading Favorites.xml into the
// index, the writer's layout, round trips, failed saves, hostile names and
// files.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "api/browse_id_factory.h"
#include "common/atomic_file.h"
#include "stores/favorites_store.h"
#include "support/temp_folder.h"
#include "xml/xpath_literal.h"

namespace {

using namespace VardelFavorites;
using Strings = std::vector<std::wstring>;

// Two sets, a folder inside a folder, a member with a repeated column and
// modifiers of the first set.
constexpr char kFavorites[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Root>
  <ConfiguredLibraries><Library Name="A"/></ConfiguredLibraries>
  <ConfiguredFavorites>
    <ActiveFavorite Name="work"/>
    <Favorites Name="Home" InternalName="S1">
      <Link InternalName="L1" CategoryId="cat-1"/>
      <Node InternalName="N1" DisplayName="Bolt" Name="Bolt" LibraryId="lib-a" NodeId="fam-1">
        <Member RowID=""/>
      </Node>
      <Node InternalName="N2" DisplayName="Bolt M8" LibraryId="lib-a" NodeId="fam-1">
        <Member RowID="r8">
          <CustomParameter Name="Len" Value="10"/>
          <CustomParameter Name="Len" Value="20"/>
          <CustomParameter Name="Dia" Value="8"/>
        </Member>
      </Node>
      <Folder InternalName="F1" Name="Screws">
        <Folder InternalName="F2" Name="Tiny">
          <Node InternalName="N3" DisplayName="M2" LibraryId="lib-b" NodeId="fam-3">
            <Member RowID=""/>
          </Node>
        </Folder>
      </Folder>
    </Favorites>
    <Favorites Name="Work" InternalName="S2"/>
    <Modifiers>
      <Modifier Path="S1">
        <Item Remove="N9"/>
        <Item InternalName="N1" NewName="Big bolt"/>
      </Modifier>
    </Modifiers>
  </ConfiguredFavorites>
</Root>
)";

class FavoritesStore : public ::testing::Test {
  protected:
    std::filesystem::path File() const { return folder_.path() / "Favorites.xml"; }
    void Write(const std::string& text) const { std::ofstream(File(), std::ios::binary) << text; }
    std::string Read() const {
        std::string bytes;
        EXPECT_TRUE(VardelCommon::ReadWholeFile(File(), bytes));
        return bytes;
    }
    std::unique_ptr<CFavoritesData> Open() const {
        return CFavoritesData::Initialize(folder_.path().wstring());
    }
    // The number of nodes `xpath` selects in the saved file.
    int Count(const wchar_t* xpath) const {
        XMLParser saved;
        EXPECT_TRUE(saved.LoadXmlDocument(File().wstring().c_str()));
        XMLNodeArray nodes;
        EXPECT_TRUE(saved.GetRootNode().SelectChildNodes(xpath, nodes));
        return nodes.GetSize();
    }
    static Strings Kinds(const CFavoritesData::Entries& entries) {
        Strings names;
        for (const SFavoriteEntry& entry : entries) {
            names.push_back(std::to_wstring(entry.kind) + L":" + entry.internalName);
        }
        return names;
    }
    static Strings Paths(const CFavoritesData& store) {
        Strings paths;
        for (const auto& [path, entries] : store.Index()) {
            paths.push_back(path);
        }
        return paths;
    }

    TempFolder folder_;
};

TEST_F(FavoritesStore, IndexesSetsFoldersAndModifiersByPath) {
    Write(kFavorites);
    auto store = Open();
    EXPECT_TRUE(store->IsLoaded());
    EXPECT_EQ(store->ActiveFavoriteName(), L"work");
    EXPECT_EQ(Paths(*store), (Strings{L"S1", L"S1#F1", L"S1#F1#F2", L"S2"}));
    // The set's own children first, then what its modifier adds.
    EXPECT_EQ(Kinds(store->Index().at(L"S1")),
              (Strings{L"1:L1", L"2:N1", L"4:N2", L"8:F1", L"16:N9", L"32:N1"}));
    EXPECT_EQ(Kinds(store->Index().at(L"S1#F1")), (Strings{L"8:F2"}));
    EXPECT_EQ(Kinds(store->Index().at(L"S1#F1#F2")), (Strings{L"2:N3"}));
    EXPECT_TRUE(store->Index().at(L"S2").empty());
    EXPECT_EQ(store->DisplayNames(),
              (CFavoritesData::NameMap{
                  {L"F1", L"Screws"}, {L"F2", L"Tiny"}, {L"S1", L"Home"}, {L"S2", L"Work"}}));

    const SFavoriteEntry& member = store->Index().at(L"S1")[2];
    EXPECT_EQ(member.rowId, L"r8");
    // A repeated column keeps its first value.
    EXPECT_EQ(member.customValues,
              (decltype(member.customValues){{L"Dia", L"8"}, {L"Len", L"10"}}));
    EXPECT_EQ(store->Index().at(L"S1")[0].nodeId, L"cat-1");
    EXPECT_EQ(store->Index().at(L"S1")[5].displayName, L"Big bolt");
}

TEST_F(FavoritesStore, ElementNamesMatchWithoutCaseAndUselessElementsYieldNothing) {
    Write(R"(<r><configuredfavorites><ACTIVEFAVORITE Name="x"/>
        <FAVORITES Name="X" InternalName="S">
          <link InternalName="L" CategoryId="c"/>
          <node InternalName="N" NodeId="n"><!-- a note --><member RowID="7"/></node>
          <Node InternalName="bare" NodeId="n"/>
          <Item InternalName="only"/>
          <Unknown InternalName="u"/>
          <FOLDER InternalName="F" Name="f"><ITEM Remove="gone"/></FOLDER>
        </FAVORITES>
        <MODIFIERS><modifier Path="S#F"><Link InternalName="L2"/></modifier><Modifier/></MODIFIERS>
        </configuredfavorites></r>)");
    auto store = Open();
    EXPECT_EQ(store->ActiveFavoriteName(), L"x");
    EXPECT_EQ(Kinds(store->Index().at(L"S")), (Strings{L"1:L", L"4:N", L"8:F"}));
    EXPECT_EQ(Kinds(store->Index().at(L"S#F")), (Strings{L"16:gone", L"1:L2"}));
    EXPECT_EQ(store->Index().size(), 2u);  // the Modifier without a path adds nothing
}

TEST_F(FavoritesStore, LooksUpEntriesByMaskAndBrowseIdAndResolvesFromTheDocument) {
    Write(kFavorites);
    auto store = Open();
    EXPECT_EQ(Kinds(store->EntriesOf(L"S1", kFamilyNode | kMemberNode)),
              (Strings{L"2:N1", L"4:N2"}));
    EXPECT_TRUE(store->EntriesOf(L"nowhere", ~0u).empty());

    const auto favorite = [](const std::wstring& path) {
        return VardelUtils::CreateFavoriteId(nullptr, L"fam-1", path, Vardel::BrowseFamilyMember,
                                             {L"A"}, L"r8");
    };
    const SFavoriteEntry* found = store->FindEntry(favorite(L"S1#N2"), kMemberNode);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->rowId, L"r8");
    // The renamed entry of N1 is found only when its kind is asked for.
    ASSERT_NE(store->FindEntry(favorite(L"S1#N1"), kRenamed), nullptr);
    EXPECT_EQ(store->FindEntry(favorite(L"S1#N1"), kRenamed)->displayName, L"Big bolt");
    EXPECT_EQ(store->FindEntry(favorite(L"S1#n2"), ~0u), nullptr);  // names are case-sensitive
    EXPECT_NE(store->FindEntry(favorite(L"S1#F1#F2#N3"), kFamilyNode), nullptr);
    EXPECT_EQ(store->FindEntry(Vardel::CBrowseId(), ~0u), nullptr);

    EXPECT_EQ(store->Resolve(L"L1", Vardel::BrowseCategory), L"cat-1");
    EXPECT_EQ(store->Resolve(L"N3", Vardel::BrowseFamily), L"fam-3");
    EXPECT_EQ(store->Resolve(L"N1", Vardel::BrowseCategory), L"");  // a node, not a link
    EXPECT_EQ(store->Resolve(L"nothing", Vardel::BrowseFavoriteFolder), L"");
}

TEST(XPathLiteral, QuotesEveryTextSoThatItEvaluatesToItself) {
    const std::wstring texts[] = {L"", L"']|//*|x['", L"\"", L"a'b\"c", L"'\"'", L"]]"};
    for (const std::wstring& text : texts) {
        XMLParser parser;
        ASSERT_TRUE(parser.SetXml(L"<r/>"));
        XMLNode root = parser.GetRootNode();
        root.AddNode(L"e", nullptr, L"v", L"other");
        root.AddNode(L"e", nullptr, L"v", text.c_str());
        XMLNodeArray found;
        ASSERT_TRUE(root.SelectChildNodes(
            (L"e[@v = " + VardelXml::XPathLiteral(text) + L"]").c_str(), found));
        ASSERT_EQ(found.GetSize(), 1) << "text " << testing::PrintToString(text);
        std::wstring value;
        EXPECT_TRUE(found[0].GetProperty(L"v", value));
        EXPECT_EQ(value, text);
    }
}

TEST_F(FavoritesStore, HostileNamesResolveAndSaveIntoTheirOwnContainers) {
    // Internal names with quotes of both kinds, brackets and an injection try.
    Write(R"(<r><ConfiguredFavorites>
        <Favorites Name="q" InternalName="a'b&quot;c">
          <Link InternalName="x' or '1'='1" CategoryId="wrong"/>
          <Link InternalName="x'" CategoryId="quote"/>
          <Link InternalName="]&quot;[" CategoryId="brackets"/>
          <Folder InternalName="F'&quot;" Name="f"><Link InternalName="in" CategoryId="deep"/></Folder>
        </Favorites></ConfiguredFavorites></r>)");
    auto store = Open();
    EXPECT_EQ(store->Resolve(L"x'", Vardel::BrowseCategory), L"quote");
    EXPECT_EQ(store->Resolve(L"]\"[", Vardel::BrowseCategory), L"brackets");
    EXPECT_EQ(store->Resolve(L"x' or '1'='1", Vardel::BrowseCategory), L"wrong");
    EXPECT_EQ(store->Resolve(L"' or ''='", Vardel::BrowseCategory), L"");
    EXPECT_EQ(store->Resolve(L"a'b\"c", Vardel::BrowseFavoriteFolder), L"a'b\"c");
    EXPECT_EQ(store->Resolve(L"F'\"", Vardel::BrowseFavoriteFolder), L"F'\"");

    ASSERT_EQ(store->Save(), S_OK);
    // One set, holding its three links and folder; one modifier for the folder.
    EXPECT_EQ(Count(L"//Favorites"), 1);
    EXPECT_EQ(Count(L"//Favorites/Link"), 3);
    EXPECT_EQ(Count(L"//Modifier"), 1);
    EXPECT_EQ(Count(L"//Modifier[@Path = concat('a', \"'\", 'b\"c#F', \"'\", '\"')]/Link"), 1);
    auto reloaded = Open();
    EXPECT_EQ(reloaded->Index(), store->Index());
}

TEST_F(FavoritesStore, SaveWritesTheWritersLayoutAndLoadSaveLoadKeepsEveryEntry) {
    Write(kFavorites);
    auto store = Open();
    ASSERT_EQ(store->Save(), S_OK);
    const std::string text = Read();
    EXPECT_NE(text.find(R"(<ConfiguredFavorites xmlns:xsd="http://www.w3.org/2001/XMLSchema" )"
                        R"(xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">)"),
              std::string::npos);
    // Kept and rebuilt: ConfiguredLibraries stays, the sets follow ActiveFavorite.
    EXPECT_EQ(Count(L"/Root/ConfiguredLibraries/Library[@Name = 'A']"), 1);
    EXPECT_EQ(Count(L"/Root/ConfiguredFavorites/*[1][self::ActiveFavorite][@Name = 'work']"), 1);
    EXPECT_EQ(Count(L"/Root/ConfiguredFavorites/*[2][self::Favorites][@InternalName = 'S1']"), 1);
    EXPECT_EQ(Count(L"/Root/ConfiguredFavorites/*[3][self::Favorites][@Name = 'Work']"), 1);
    EXPECT_EQ(Count(L"/Root/ConfiguredFavorites/*[4][self::Modifiers]"), 1);
    // The set holds its own links, nodes and folders, in order; the folder is empty.
    EXPECT_EQ(Count(L"//Favorites[@InternalName = 'S1']/*"), 4);
    EXPECT_EQ(Count(L"//Favorites[@InternalName = 'S1']/Folder[@Name = 'Screws'][not(*)]"), 1);
    EXPECT_EQ(Count(L"//Favorites/Node[@InternalName = 'N2'][@Name = 'Bolt M8']"
                    L"[@DisplayName = 'Bolt M8'][@LibraryId = 'lib-a'][@NodeId = 'fam-1']"
                    L"/Member[@RowID = 'r8']/CustomParameter"),
              2);
    EXPECT_EQ(Count(L"//CustomParameter[@Name = 'Len'][@Value = '10']"), 1);
    EXPECT_EQ(Count(L"//Favorites/Node[@InternalName = 'N1']/Member[@RowID = '']"), 1);
    // Removals and renames of the set, and the folders' contents, go under modifiers.
    EXPECT_EQ(Count(L"//Modifier[@Path = 'S1']/Item[1][@Remove = 'N9']"), 1);
    EXPECT_EQ(Count(L"//Modifier[@Path = 'S1']/Item[2][@InternalName = 'N1'][@NewName = 'Big "
                    L"bolt']"),
              1);
    EXPECT_EQ(Count(L"//Modifier[@Path = 'S1#F1']/Folder[@InternalName = 'F2'][@Name = 'Tiny']"),
              1);
    EXPECT_EQ(Count(L"//Modifier[@Path = 'S1#F1#F2']/Node[@InternalName = 'N3']"), 1);
    EXPECT_EQ(Count(L"//Modifier"), 3);

    // Load, save, load keeps every entry; saving twice gives the same bytes.
    auto second = Open();
    EXPECT_EQ(second->Index(), store->Index());
    EXPECT_EQ(second->DisplayNames(), store->DisplayNames());
    EXPECT_EQ(second->ActiveFavoriteName(), L"work");
    ASSERT_EQ(second->Save(), S_OK);
    ASSERT_EQ(second->Save(), S_OK);
    EXPECT_EQ(Read(), text);
}

TEST_F(FavoritesStore, EmptyIndexWritesNoModifiers) {
    Write(R"(<r><ConfiguredFavorites><ActiveFavorite Name="a"/><Modifiers/>)"
          R"(</ConfiguredFavorites></r>)");
    auto store = Open();
    EXPECT_TRUE(store->Index().empty());
    ASSERT_EQ(store->Save(), S_OK);
    EXPECT_EQ(Read(),
              "<r><ConfiguredFavorites xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
              "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
              "<ActiveFavorite Name=\"a\"/></ConfiguredFavorites></r>\n");
}

TEST_F(FavoritesStore, RefusedSaveKeepsThePreviousFileAndTheIndex) {
    Write(kFavorites);
    auto store = Open();
    const CFavoritesData::EntryIndex index = store->Index();
    namespace fs = std::filesystem;
    fs::permissions(folder_.path(), fs::perms::owner_read | fs::perms::owner_exec);
    // A privileged user writes into read-only folders; the file-size limit
    // refuses that user's write instead.
    const bool folderRefuses = !std::ofstream(folder_.path() / "probe").is_open();
    fs::remove(folder_.path() / "probe");
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    if (!folderRefuses) {
        rlimit tiny = previous;
        tiny.rlim_cur = 16;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    }
    const HRESULT status = store->Save();
    setrlimit(RLIMIT_FSIZE, &previous);
    signal(SIGXFSZ, oldHandler);
    fs::permissions(folder_.path(), fs::perms::owner_all);

    EXPECT_EQ(status, E_FAIL);
    EXPECT_EQ(Read(), kFavorites);
    EXPECT_EQ(store->Index(), index);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_.path()), fs::directory_iterator()), 1);
}

TEST_F(FavoritesStore, UnparsableFileIsLoadedButEmptyAndNeverOverwritten) {
    const std::string broken = "<r><ConfiguredFavorites><Favorites Name=\"x\" InternalName=\"S\">";
    Write(broken);
    auto store = Open();
    EXPECT_TRUE(store->IsLoaded());
    EXPECT_TRUE(store->Index().empty());
    EXPECT_EQ(store->Save(), E_FAIL);  // no root element to write into
    EXPECT_EQ(Read(), broken);
}

TEST_F(FavoritesStore, DeepFoldersIndexUpToTheParserLimitAndNeverCrash) {
    // Folders nested `depth` deep inside a set, each named "f".
    const auto nested = [](int depth) {
        std::string text = "<r><ConfiguredFavorites><Favorites InternalName=\"S\">";
        for (int i = 0; i < depth; ++i) {
            text += "<Folder InternalName=\"f\">";
        }
        for (int i = 0; i < depth; ++i) {
            text += "</Folder>";
        }
        return text + "</Favorites></ConfiguredFavorites></r>";
    };
    Write(nested(200));
    auto store = Open();
    std::wstring deepest = L"S";
    for (int i = 0; i < 200; ++i) {
        deepest += L"#f";
    }
    EXPECT_EQ(store->Index().size(), 201u);
    EXPECT_EQ(store->Index().count(deepest), 1u);

    Write(nested(5000));
    store->Load();
    EXPECT_TRUE(store->IsLoaded());
    EXPECT_TRUE(store->Index().empty());
}

TEST_F(FavoritesStore, MissingFolderOrFileGivesAnEmptyStoreThatCannotSave) {
    auto missingFolder = CFavoritesData::Initialize((folder_.path() / "absent").wstring());
    EXPECT_FALSE(missingFolder->IsLoaded());
    EXPECT_EQ(missingFolder->Save(), E_FAIL);
    EXPECT_TRUE(CFavoritesData::Initialize(L"")->FilePath().empty());

    auto missingFile = Open();
    EXPECT_FALSE(missingFile->IsLoaded());
    EXPECT_EQ(missingFile->Save(), E_FAIL);
    EXPECT_FALSE(std::filesystem::exists(File()));
}

}  // namespace
