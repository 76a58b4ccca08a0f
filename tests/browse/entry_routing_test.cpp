// The routing tables of the exported browsing functions: which browsing
// types each one refuses, with which status, and that a refusal touches no
// output. What the served rows do is pinned down by the worker tests.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>

#include "browse_fixture.h"
#include "support/temp_folder.h"
#include "vardel/browsing.h"
#include "vardel/constants.h"
#include "vardel/history.h"
#include "vardel/properties.h"

namespace VardelTest {
namespace {

using Vardel::CBrowseId;
using Vardel::CContext;
using BrowseIds = std::vector<CBrowseId>;

// One entry point, called with sentinel outputs; `untouched` tells whether
// they came back as they were passed.
using Call = std::function<HRESULT(const CContext* ctx, bool& untouched)>;

constexpr std::optional<HRESULT> kServed = std::nullopt;
constexpr std::optional<HRESULT> kInvalid = E_INVALIDARG;
constexpr std::optional<HRESULT> kFail = E_FAIL;

struct Row {
    const char* name;
    Call call;
    std::array<std::optional<HRESULT>, 4> byType;  // library, search, history, favorites
};

const CBrowseId& Category() {
    static const CBrowseId id = VardelUtils::CreateCategoryId(nullptr, Id(1), {L"A"});
    return id;
}
const CBrowseId& Family() {
    static const CBrowseId id = VardelUtils::CreateFamilyId(nullptr, Id(2), {L"A"});
    return id;
}
const CBrowseId& Parameter() {
    static const CBrowseId id = VardelUtils::CreateCategoryParameterId(nullptr, Id(3), {L"A"});
    return id;
}

// Calls `f` with a one-element id vector and tells whether it is unchanged.
template <class F>
HRESULT WithIds(bool& untouched, F f) {
    BrowseIds ids = {Family()};
    const HRESULT status = f(ids);
    untouched = ids.size() == 1 && ids[0].IsTheSameItem(Family());
    return status;
}

template <class F>
HRESULT WithId(bool& untouched, F f) {
    CBrowseId id = Family();
    const HRESULT status = f(id);
    untouched = id.IsTheSameItem(Family());
    return status;
}

template <class Out, class F>
HRESULT WithValue(bool& untouched, Out sentinel, F f) {
    Out out = sentinel;
    const HRESULT status = f(out);
    untouched = out == sentinel;
    return status;
}

std::vector<Row> Rows() {
    using namespace Vardel;
    const std::vector<std::wstring> keys = {Constants::FLD_DISPLAYNAME};
    return {
        {"GetFoldersRoots",
         [](auto c, bool& u) { return WithIds(u, [&](auto& o) { return GetFoldersRoots(c, o); }); },
         {kServed, kServed, kServed, kInvalid}},
        {"GetSubFolders",
         [](auto c, bool& u) {
             return WithIds(u, [&](auto& o) { return GetSubFolders(c, Category(), o); });
         },
         {kServed, kServed, kServed, kInvalid}},
        {"GetAllSubFolders",
         [](auto c, bool& u) {
             return WithIds(u, [&](auto& o) { return GetAllSubFolders(c, Category(), o); });
         },
         {kServed, kServed, kServed, kInvalid}},
        {"GetChildItems",
         [](auto c, bool& u) {
             return WithIds(u, [&](auto& o) { return GetChildItems(c, Category(), o); });
         },
         {kServed, kServed, kServed, kInvalid}},
        {"GetFoldersByItem",
         [](auto c, bool& u) {
             return WithIds(u, [&](auto& o) { return GetFoldersByItem(c, Family(), o); });
         },
         {kServed, kServed, kServed, kInvalid}},
        {"GetParentFolder",
         [](auto c, bool& u) {
             CBrowseId parent = Family();
             const HRESULT status = GetParentFolder(c, Category(), parent);
             // Emptied for every initialised context before routing.
             u = c == nullptr || VardelUtils::FindContextImpl(c) == nullptr ? !parent.IsNULL()
                                                                            : parent.IsNULL();
             return status;
         },
         {kServed, kServed, kServed, kInvalid}},
        {"GetAllItems",
         [](auto c, bool& u) { return WithIds(u, [&](auto& o) { return GetAllItems(c, o); }); },
         {kServed, kInvalid, kInvalid, kInvalid}},
        {"CreateFolderBrowseId",
         [](auto c, bool& u) {
             return WithId(u, [&](auto& o) { return CreateFolderBrowseId(c, Id(1), o); });
         },
         {kServed, kInvalid, kInvalid, kInvalid}},
        {"CreateItemBrowseId",
         [](auto c, bool& u) {
             return WithId(u, [&](auto& o) { return CreateItemBrowseId(c, Id(2), o); });
         },
         {kServed, kInvalid, kServed, kInvalid}},
        {"CreateCategoryParameterBrowseId",
         [](auto c, bool& u) {
             return WithId(u, [&](auto& o) {
                 return CreateCategoryParameterBrowseId(c, L"P", Category(), o);
             });
         },
         {kServed, kInvalid, kInvalid, kInvalid}},
        {"ConvertFolderStrIdsToBrowseIds",
         [](auto c, bool& u) {
             BrowseIds ids;
             const HRESULT status = ConvertFolderStrIdsToBrowseIds(c, {Id(1)}, ids);
             u = ids.empty();
             return status;
         },
         {kServed, kInvalid, kInvalid, kInvalid}},
        {"ConvertItemStrIdsToBrowseIds",
         [](auto c, bool& u) {
             BrowseIds ids;
             const HRESULT status = ConvertItemStrIdsToBrowseIds(c, {Id(2)}, ids);
             u = ids.empty();
             return status;
         },
         {kServed, kInvalid, kServed, kInvalid}},
        {"GetLibraries",
         [](auto c, bool& u) {
             return WithValue(u, std::vector<std::wstring>{L"x"},
                              [&](auto& o) { return GetLibraries(c, Category(), o); });
         },
         {kServed, kFail, kFail, kFail}},
        {"GetLibrary",
         [](auto c, bool& u) {
             return WithValue(u, std::wstring(L"x"),
                              [&](auto& o) { return GetLibrary(c, Parameter(), o); });
         },
         {kServed, kServed, kServed, kInvalid}},
        {"GetDerivedFamilyLinkNameOffline",
         [](auto c, bool& u) {
             DerivedFamilyLinkNames names{L"x", L"y"};
             const HRESULT status = GetDerivedFamilyLinkNameOffline(c, Category(), names);
             u = names.parentLibraryName == L"x" && names.parentFamilyName == L"y";
             return status;
         },
         {kServed, kServed, kServed, kInvalid}},
        {"GetFoldersProperties",
         [keys](auto c, bool& u) {
             return WithValue(u, std::size_t{7}, [&](auto& o) {
                 std::vector<ReturnValue> values(o);
                 const HRESULT status = GetFoldersProperties(c, {Category()}, keys, values);
                 o = values.size();
                 return status;
             });
         },
         {kServed, kServed, kServed, kInvalid}},
        {"GetItemsProperties",
         [keys](auto c, bool& u) {
             return WithValue(u, std::size_t{7}, [&](auto& o) {
                 std::vector<ReturnValue> values(o);
                 const HRESULT status = GetItemsProperties(c, {Family()}, keys, values);
                 o = values.size();
                 return status;
             });
         },
         {kServed, kServed, kServed, kInvalid}},
        {"GetCategoryParameterPropertyValues",
         [keys](auto c, bool& u) {
             return WithValue(u, std::size_t{7}, [&](auto& o) {
                 std::vector<ReturnValue> values(o);
                 const HRESULT status =
                     GetCategoryParameterPropertyValues(c, {Parameter()}, keys, values);
                 o = values.size();
                 return status;
             });
         },
         {kServed, kInvalid, kInvalid, kInvalid}},
        {"GetCategoryParametersByCategory",
         [](auto c, bool& u) {
             return WithIds(u, [&](auto& o) {
                 return GetCategoryParametersByCategory(c, Category(), o, true);
             });
         },
         {kServed, kInvalid, kInvalid, kInvalid}},
        {"GetCategoryParametersByCategoryParameter",
         [](auto c, bool& u) {
             return WithIds(u, [&](auto& o) {
                 return GetCategoryParametersByCategoryParameter(c, Parameter(), o);
             });
         },
         {kServed, kInvalid, kInvalid, kInvalid}},
        {"GetCategoryTreeByFamily",
         [](auto c, bool& u) {
             return WithValue(u, std::wstring(L"x"), [&](auto& o) {
                 return GetCategoryTreeByFamily(c, Family(), ECategoryTreeType{}, o);
             });
         },
         {kServed, kInvalid, kInvalid, kInvalid}},
        {"GetCustomValuesXML",
         [](auto c, bool& u) {
             return WithValue(u, std::wstring(L"x"),
                              [&](auto& o) { return GetCustomValuesXML(c, Family(), o); });
         },
         {kInvalid, kInvalid, kInvalid, kInvalid}},
        {"AddItemToHistory",
         [](auto c, bool& u) {
             u = true;
             return AddItemToHistory(c, Id(2));
         },
         {kInvalid, kInvalid, kServed, kInvalid}},
    };
}

class EntryRouting : public BrowseTest {
  protected:
    TempFolder storage_;
};

TEST_F(EntryRouting, RefusedBrowsingTypesGiveTheirStatusAndTouchNoOutput) {
    const std::wstring storage = storage_.path().wstring();
    const CContext contexts[] = {
        MakeContext(Vardel::LibraryBrowsing, {L"A"}, storage),
        MakeContext(Vardel::SearchBrowsing, {L"A"}, storage),
        MakeContext(Vardel::HistoryBrowsing, {L"A"}, storage),
        MakeContext(Vardel::FavoritesBrowsing, {L"A"}, storage),
    };
    for (const Row& row : Rows()) {
        for (std::size_t type = 0; type < 4; ++type) {
            if (!row.byType[type]) {
                continue;
            }
            SCOPED_TRACE(std::string(row.name) + " in browsing type " + std::to_string(type));
            bool untouched = false;
            EXPECT_EQ(row.call(&contexts[type], untouched), *row.byType[type]);
            EXPECT_TRUE(untouched);
        }
    }
    EXPECT_TRUE(backend_->Calls().empty());
}

TEST_F(EntryRouting, NullAndEmptyContextsAreRefusedEverywhere) {
    const CContext empty;
    for (const Row& row : Rows()) {
        for (const CContext* context : {static_cast<const CContext*>(nullptr), &empty}) {
            SCOPED_TRACE(std::string(row.name) + (context == nullptr ? " null" : " empty"));
            bool untouched = false;
            EXPECT_EQ(row.call(context, untouched), E_INVALIDARG);
            EXPECT_TRUE(untouched);
        }
    }
}

}  // namespace
}  // namespace VardelTest
