// Browsing a real catalogue through the browsing face: merging copies found
// in several libraries, every filter flag, names in the context's language.
#include <functional>

#include "catalog/integration/catalog_fixture.h"
#include "vardel/browsing.h"
#include "vardel/constants.h"
#include "vardel/properties.h"

namespace VardelCatalogTest {
namespace {

using Vardel::CBrowseId;
using Ids = std::vector<CBrowseId>;
using Strings = std::vector<std::wstring>;

CBrowseId Folder(const Vardel::CContext& context, unsigned id) {
    CBrowseId folder;
    EXPECT_EQ(S_OK, Vardel::CreateFolderBrowseId(&context, Id(id), folder));
    return folder;
}

TEST_F(CatalogIntegrationTest, RootsMergeCopiesAndNameThemFromTheNewestOne) {
    const auto context = Context(Vardel::LibraryBrowsing, {L"Beta", L"Alpha"});
    Ids roots;
    ASSERT_EQ(S_OK, Vardel::GetFoldersRoots(&context, roots));
    ASSERT_EQ(2u, roots.size());
    EXPECT_EQ(Id(kFasteners), roots[0].GetInternalName());
    // Alpha's copy of Fasteners was modified last, so it names the merged root;
    // Empty has only a German name, the last fallback.
    EXPECT_EQ((Strings{L"Fasteners", L"Leer"}), Names(context, roots, true));
    Strings libraries;
    ASSERT_EQ(S_OK, Vardel::GetLibraries(&context, roots[0], libraries));
    EXPECT_EQ((Strings{L"Alpha", L"Beta"}), libraries);
}

TEST_F(CatalogIntegrationTest, FamilyInTwoLibrariesIsServedFromItsNewestCopy) {
    const auto context = Context(Vardel::LibraryBrowsing, {L"Alpha", L"Beta"});
    Ids families;
    ASSERT_EQ(S_OK, Vardel::GetChildItems(&context, Folder(context, kNuts), families));
    ASSERT_EQ(1u, families.size());
    std::wstring library;
    ASSERT_EQ(S_OK, Vardel::GetLibrary(&context, families[0], library));
    EXPECT_EQ(L"Beta", library);
    EXPECT_EQ(L"2024-06-01T00:00:00Z", families[0].GetLastModTime());
    EXPECT_EQ((Strings{L"Hex nut (new)"}), Names(context, families, false));
}

TEST_F(CatalogIntegrationTest, NamesFollowTheContextLanguageThenTheDefault) {
    const auto german = Context(Vardel::LibraryBrowsing, {L"Alpha"}, {}, L"de-DE");
    const Ids folders = {Folder(german, kFasteners), Folder(german, kNuts),
                         Folder(german, kScrews)};
    EXPECT_EQ((Strings{L"Verbindungselemente", L"Muttern", L"Screws"}),
              Names(german, folders, true));
    const auto french = Context(Vardel::LibraryBrowsing, {L"Alpha"}, {}, L"FR-fr");
    EXPECT_EQ((Strings{L"Fasteners", L"Nuts", L"Screws"}), Names(french, folders, true));
}

struct FilterCase {
    const char* name;
    std::function<void(Vardel::FilterStruct&)> set;
    unsigned parent;  // 0: the roots; a category: its families and (all-level) sub-folders
    Strings expected;
};

// Lists what `parent` shows under `filter`: folder names, then family names.
Strings Listing(const Vardel::CContext& context, unsigned parent) {
    Ids folders;
    Ids families;
    if (parent == 0) {
        EXPECT_EQ(S_OK, Vardel::GetFoldersRoots(&context, folders));
    } else {
        const CBrowseId folder = Folder(context, parent);
        EXPECT_EQ(S_OK, Vardel::GetAllSubFolders(&context, folder, folders));
        EXPECT_EQ(S_OK, Vardel::GetChildItems(&context, folder, families));
    }
    Strings names =
        folders.empty() ? Strings{} : CatalogIntegrationTest::Names(context, folders, true);
    if (!families.empty()) {
        const Strings items = CatalogIntegrationTest::Names(context, families, false);
        names.insert(names.end(), items.begin(), items.end());
    }
    return names;
}

TEST_F(CatalogIntegrationTest, EveryFilterFlagHidesWhatItNames) {
    const FilterCase cases[] = {
        {"default hides hidden categories",
         [](auto&) {},
         kFasteners,
         {L"Screws", L"Hex head", L"Nuts"}},
        {"showing hidden categories",
         [](auto& f) { f.filterInvisibleCategories = false; },
         kFasteners,
         {L"Screws", L"Hex head", L"Nuts", L"Withdrawn"}},
        {"empty categories", [](auto& f) { f.filterEmptyCategories = true; }, 0, {L"Fasteners"}},
        {"parts", [](auto& f) { f.filterParts = true; }, kScrews, {L"Hex head", L"Thread"}},
        {"parts leave categories empty",
         [](auto& f) { f.filterParts = f.filterEmptyCategories = true; },
         kScrews,
         {L"Thread"}},
        {"features", [](auto& f) { f.filterFeatures = true; }, kScrews, {L"Hex head"}},
        {"standards organisations",
         [](auto& f) { f.propertyFilters[Vardel::Constants::FAM_STANDORG] = {L"ISO"}; },
         kHexHead,
         {L"Hex screw"}},
        {"manufacturers",
         [](auto& f) {
             f.filterInvisibleCategories = false;
             f.propertyFilters[Vardel::Constants::FAM_MANUFACTURER] = {L"Nordwerk"};
         },
         kWithdrawn,
         {L"Old screw"}},
        {"categories content", [](auto& f) { f.categoriesContent = {L"Other"}; }, 0, {L"Leer"}},
    };
    for (const FilterCase& c : cases) {
        Vardel::FilterStruct filter;
        c.set(filter);
        const auto context = Context(Vardel::LibraryBrowsing, {L"Alpha"}, filter);
        EXPECT_EQ(c.expected, Listing(context, c.parent)) << c.name;
    }
}

TEST_F(CatalogIntegrationTest, HostileTextsInSourcesComeBackAsWritten) {
    const auto context = Context(Vardel::LibraryBrowsing, {L"Alpha"});
    Ids families;
    ASSERT_EQ(S_OK, Vardel::GetChildItems(&context, Folder(context, kHexHead), families));
    std::vector<Vardel::ReturnValue> values;
    ASSERT_EQ(S_OK,
              Vardel::GetItemsProperties(
                  &context, families,
                  {Vardel::Constants::FAM_DISPLAYNAME, Vardel::Constants::FAM_STANDORG}, values));
    ASSERT_EQ(4u, values.size());
    EXPECT_STREQ(L"Quote's \"100%\" <b> & co", values[2]);
    EXPECT_STREQ(L"O'Brien; DROP TABLE family; --", values[3]);
}

}  // namespace
}  // namespace VardelCatalogTest
