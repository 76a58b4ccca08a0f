// The routing tables of the exported browsing functions: which browsing
// types each one refuses, with which status, and that a refusal touches no
// output. What the served rows do is pinned down by the worker tests.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>

#include "support/browse_fixture.h"
#include "support/temp_folder.h"
#include "vardel/browsing.h"
#include "vardel/constants.h"
#include "vardel/history.h"
#include "vardel/properties.h"
#include "vardel/search.h"

namespace VardelTest {
namespace {

using namespace Vardel;

const CBrowseId kCategory = VardelUtils::CreateCategoryId(nullptr, Id(1), {L"A"});
const CBrowseId kFamily = VardelUtils::CreateFamilyId(nullptr, Id(2), {L"A"});
const CBrowseId kParameter = VardelUtils::CreateCategoryParameterId(nullptr, Id(3), {L"A"});
const std::vector<std::wstring> kKeys = {Constants::FLD_DISPLAYNAME};

// Every kind of output, filled with sentinels.
struct Outputs {
    BrowseIds ids = {kFamily};
    CBrowseId id = kFamily;
    std::wstring text = L"x";
    Strings texts = {L"x"};
    std::vector<ReturnValue> values = std::vector<ReturnValue>(7);
    DerivedFamilyLinkNames names{L"x", L"y"};

    bool Untouched() const {
        return ids.size() == 1 && ids[0].IsTheSameItem(kFamily) && id.IsTheSameItem(kFamily) &&
               text == L"x" && texts == Strings{L"x"} && values.size() == 7 &&
               names.parentLibraryName == L"x" && names.parentFamilyName == L"y";
    }
};

constexpr std::optional<HRESULT> S = std::nullopt;  // served: see the worker tests
constexpr std::optional<HRESULT> I = E_INVALIDARG;
constexpr std::optional<HRESULT> F = E_FAIL;

struct Row {
    const char* name;
    std::function<HRESULT(const CContext*, Outputs&)> call;
    std::array<std::optional<HRESULT>, 4> byType;  // library, search, history, favorites
    bool clearsIds = false;                        // a refused conversion empties its output
};

// Whether a refusal left the outputs as `row` promises.
bool AsPromised(const Row& row, Outputs& outputs) {
    if (row.clearsIds) {
        if (!outputs.ids.empty()) {
            return false;
        }
        outputs.ids = {kFamily};
    }
    return outputs.Untouched();
}

const Row kRows[] = {
    {"GetFoldersRoots", [](auto c, auto& o) { return GetFoldersRoots(c, o.ids); }, {S, S, S, S}},
    {"GetSubFolders",
     [](auto c, auto& o) { return GetSubFolders(c, kCategory, o.ids); },
     {S, S, S, S}},
    {"GetAllSubFolders",
     [](auto c, auto& o) { return GetAllSubFolders(c, kCategory, o.ids); },
     {S, S, S, S}},
    {"GetChildItems",
     [](auto c, auto& o) { return GetChildItems(c, kCategory, o.ids); },
     {S, S, S, S}},
    {"GetFoldersByItem",
     [](auto c, auto& o) { return GetFoldersByItem(c, kFamily, o.ids); },
     {S, S, S, I}},
    {"GetParentFolder",
     [](auto c, auto& o) { return GetParentFolder(c, kCategory, o.id); },
     {S, S, S, S}},
    {"GetAllItems", [](auto c, auto& o) { return GetAllItems(c, o.ids); }, {S, I, I, I}},
    {"CreateFolderBrowseId",
     [](auto c, auto& o) { return CreateFolderBrowseId(c, Id(1), o.id); },
     {S, I, I, I}},
    {"CreateItemBrowseId",
     [](auto c, auto& o) { return CreateItemBrowseId(c, Id(2), o.id); },
     {S, I, S, I}},
    {"CreateCategoryParameterBrowseId",
     [](auto c, auto& o) { return CreateCategoryParameterBrowseId(c, L"P", kCategory, o.id); },
     {S, I, I, I}},
    {"ConvertFolderStrIdsToBrowseIds",
     [](auto c, auto& o) { return ConvertFolderStrIdsToBrowseIds(c, {Id(1)}, o.ids); },
     {S, I, I, I},
     true},
    {"ConvertItemStrIdsToBrowseIds",
     [](auto c, auto& o) { return ConvertItemStrIdsToBrowseIds(c, {Id(2)}, o.ids); },
     {S, I, S, I},
     true},
    {"GetLibraries",
     [](auto c, auto& o) { return GetLibraries(c, kCategory, o.texts); },
     {S, F, F, F}},
    {"GetLibrary", [](auto c, auto& o) { return GetLibrary(c, kParameter, o.text); }, {S, S, S, I}},
    {"GetDerivedFamilyLinkNameOffline",
     [](auto c, auto& o) { return GetDerivedFamilyLinkNameOffline(c, kCategory, o.names); },
     {S, S, S, I}},
    {"GetFoldersProperties",
     [](auto c, auto& o) { return GetFoldersProperties(c, {kCategory}, kKeys, o.values); },
     {S, S, S, S}},
    {"GetItemsProperties",
     [](auto c, auto& o) { return GetItemsProperties(c, {kFamily}, kKeys, o.values); },
     {S, S, S, S}},
    {"GetCategoryParameterPropertyValues",
     [](auto c, auto& o) {
         return GetCategoryParameterPropertyValues(c, {kParameter}, kKeys, o.values);
     },
     {S, I, I, I}},
    {"GetCategoryParametersByCategory",
     [](auto c, auto& o) { return GetCategoryParametersByCategory(c, kCategory, o.ids, true); },
     {S, I, I, I}},
    {"GetCategoryParametersByCategoryParameter",
     [](auto c, auto& o) { return GetCategoryParametersByCategoryParameter(c, kParameter, o.ids); },
     {S, I, I, I}},
    {"GetCategoryTreeByFamily",
     [](auto c, auto& o) { return GetCategoryTreeByFamily(c, kFamily, {}, o.text); },
     {S, I, I, I}},
    {"GetCustomValuesXML",
     [](auto c, auto& o) { return GetCustomValuesXML(c, kFamily, o.text); },
     {I, I, I, S}},
    {"AddItemToHistory", [](auto c, auto&) { return AddItemToHistory(c, Id(2)); }, {I, I, S, I}},
    {"Search", [](auto c, auto& o) { return Search(c, nullptr, o.ids); }, {I, S, I, I}},
    {"StoreSearchResults",
     [](auto c, auto& o) { return StoreSearchResults(c, o.ids, false); },
     {I, S, I, I}},
    {"SearchCatParamData",
     [](auto c, auto& o) { return SearchCatParamData(c, Id(3), o.texts); },
     {S, S, S, S}},
};

class EntryRouting : public BrowseTest {
  protected:
    TempFolder storage_;
};

TEST_F(EntryRouting, RefusedBrowsingTypesGiveTheirStatusAndTouchNoOutput) {
    const std::wstring storage = storage_.path().wstring();
    const CContext contexts[] = {MakeContext(LibraryBrowsing, {L"A"}, storage),
                                 MakeContext(SearchBrowsing, {L"A"}, storage),
                                 MakeContext(HistoryBrowsing, {L"A"}, storage),
                                 MakeContext(FavoritesBrowsing, {L"A"}, storage)};
    for (const Row& row : kRows) {
        for (std::size_t type = 0; type < 4; ++type) {
            if (row.byType[type]) {
                SCOPED_TRACE(std::string(row.name) + " in browsing type " + std::to_string(type));
                Outputs outputs;
                EXPECT_EQ(row.call(&contexts[type], outputs), *row.byType[type]);
                if (std::string(row.name) == "GetParentFolder") {
                    outputs.id = kFamily;  // emptied before routing, see below
                }
                EXPECT_TRUE(AsPromised(row, outputs));
            }
        }
    }
    EXPECT_TRUE(backend_->Calls().empty());
}

TEST_F(EntryRouting, NullAndEmptyContextsAreRefusedEverywhere) {
    const CContext empty;
    for (const Row& row : kRows) {
        for (const CContext* context : {static_cast<const CContext*>(nullptr), &empty}) {
            SCOPED_TRACE(std::string(row.name) + (context == nullptr ? " null" : " empty"));
            Outputs outputs;
            EXPECT_EQ(row.call(context, outputs), E_INVALIDARG);
            EXPECT_TRUE(AsPromised(row, outputs));
        }
    }
}

TEST_F(EntryRouting, ParentFolderIsEmptiedEvenWhenRefused) {
    const CContext favorites = MakeContext(FavoritesBrowsing, {L"A"}, storage_.path().wstring());
    CBrowseId parent = kFamily;
    EXPECT_EQ(GetParentFolder(&favorites, kCategory, parent), E_INVALIDARG);
    EXPECT_TRUE(parent.IsNULL());
}

}  // namespace
}  // namespace VardelTest
