#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "api/browse_id_factory.h"
#include "api/browse_id_impl.h"
#include "vardel/browse_id.h"
#include "vardel/context.h"

namespace {

using Vardel::CBrowseId;
using Vardel::EBrowseItemType;
using VardelUtils::BrowseIdAccess;
using Libraries = std::vector<std::wstring>;

const Libraries kTwoLibraries = {L"Metric", L"Imperial"};
const CBrowseIdBaseImpl::Version kVersion = {L"2024-03-01T10:00:00", L"rev-7"};

EBrowseItemType TypeOf(const CBrowseId& id) {
    auto type = static_cast<EBrowseItemType>(0);
    EXPECT_EQ(Vardel::GetBrowseIdType(id, type), S_OK);
    return type;
}

std::wstring LibraryOf(const CBrowseId& id) {
    return BrowseIdAccess::GetImpl(id)->GetLibraryName();
}

std::wstring FavoriteIdOf(const CBrowseId& id) {
    return BrowseIdAccess::GetImpl(id)->GetFavoriteId();
}

bool Less(const CBrowseId& a, const CBrowseId& b) {
    return Vardel::Utils::_BrId_less()(a, b);
}

bool Equivalent(const CBrowseId& a, const CBrowseId& b) {
    return !Less(a, b) && !Less(b, a);
}

TEST(BrowseId, EmptyHandleAnswersWithoutTouchingOutputs) {
    const CBrowseId empty;
    EXPECT_TRUE(empty.IsNULL());
    EXPECT_FALSE(!empty);
    EXPECT_EQ(empty.GetInternalName(), L"");
    EXPECT_EQ(empty.GetRevisionId(), L"");
    EXPECT_EQ(empty.GetLastModTime(), L"");

    std::wstring text = L"keep";
    auto type = Vardel::BrowseSearchRoot;
    EXPECT_EQ(Vardel::GetInternalName(empty, text), E_INVALIDARG);
    EXPECT_EQ(Vardel::GetMemberID(empty, text), E_INVALIDARG);
    EXPECT_EQ(Vardel::GetBrowseIdType(empty, type), E_INVALIDARG);
    EXPECT_EQ(text, L"keep");
    EXPECT_EQ(type, Vardel::BrowseSearchRoot);

    const CBrowseId root = VardelUtils::CreateHistoryRootId(nullptr, L"H");
    EXPECT_FALSE(empty.IsTheSameItem(root));
    EXPECT_FALSE(root.IsTheSameItem(empty));
    EXPECT_FALSE(empty.IsTheSameItem(empty));
}

struct Expected {
    CBrowseId id;
    EBrowseItemType type;
    const wchar_t* library;
    const wchar_t* favoriteId;
};

void ExpectSlots(const std::vector<Expected>& cases) {
    for (const Expected& c : cases) {
        SCOPED_TRACE(c.id.GetInternalName());
        EXPECT_EQ(TypeOf(c.id), c.type);
        EXPECT_EQ(LibraryOf(c.id), c.library);
        EXPECT_EQ(FavoriteIdOf(c.id), c.favoriteId);
    }
}

TEST(BrowseId, LibraryCreatorsGiveKindLibraryAndVersion) {
    using namespace VardelUtils;
    Vardel::CContext ctx;
    const CBrowseId category = CreateCategoryId(&ctx, L"c", kTwoLibraries, kVersion);
    const CBrowseId family = CreateFamilyId(&ctx, L"f", kTwoLibraries);
    ExpectSlots({
        {category, Vardel::BrowseCategory, L"Metric", L""},
        {CreateCategoryParameterId(&ctx, L"p", {}), Vardel::BrowseCategoryParameter, L"", L""},
        {family, Vardel::BrowseFamily, L"Metric", L""},
        {CreateMemberId(&ctx, L"m", L"r", kTwoLibraries), Vardel::BrowseFamilyMember, L"Metric",
         L""},
        {CreateHistoryRootId(&ctx, L"h"), Vardel::BrowseHistoryRoot, L"", L""},
        {CreateSearchRootId(&ctx, L"s"), Vardel::BrowseSearchRoot, L"", L""},
    });
    EXPECT_EQ(BrowseIdAccess::GetImpl(category)->GetContext(), &ctx);
    EXPECT_EQ(category.GetRevisionId(), L"rev-7");
    EXPECT_EQ(category.GetLastModTime(), L"2024-03-01T10:00:00");
    EXPECT_EQ(family.GetRevisionId(), L"");

    // Only the category parameter can do without a library.
    EXPECT_TRUE(CreateCategoryId(nullptr, L"c", {}).IsNULL());
    EXPECT_TRUE(CreateFamilyId(nullptr, L"f", {}, kVersion).IsNULL());
    EXPECT_TRUE(CreateMemberId(nullptr, L"f", L"m", {}).IsNULL());
}

TEST(BrowseId, MemberIdOnlyForFamilyBranch) {
    const CBrowseId family = VardelUtils::CreateFamilyId(nullptr, L"f", kTwoLibraries);
    const CBrowseId member = VardelUtils::CreateMemberId(nullptr, L"f", L"row-9", kTwoLibraries);
    const CBrowseId category = VardelUtils::CreateCategoryId(nullptr, L"c", kTwoLibraries);
    std::wstring out = L"x";
    EXPECT_EQ(Vardel::GetMemberID(family, out), S_OK);
    EXPECT_EQ(out, L"");
    EXPECT_EQ(Vardel::GetMemberID(member, out), S_OK);
    EXPECT_EQ(out, L"row-9");
    EXPECT_EQ(Vardel::GetMemberID(category, out), E_INVALIDARG);
    EXPECT_EQ(out, L"row-9");
}

TEST(BrowseId, FavoritesNodesByKind) {
    using VardelUtils::CreateFavoriteId;
    const CBrowseId member =
        CreateFavoriteId(nullptr, L"m", L"S#3", Vardel::BrowseFamilyMember, kTwoLibraries, L"r");
    ExpectSlots({
        {CreateFavoriteId(nullptr, L"c", L"S#1", Vardel::BrowseCategory, kTwoLibraries, L""),
         Vardel::BrowseCategory, L"Metric", L"S#1"},
        {CreateFavoriteId(nullptr, L"f", L"S#2", Vardel::BrowseFamily, {}, L""),
         Vardel::BrowseFamily, L"", L"S#2"},
        {member, Vardel::BrowseFamilyMember, L"Metric", L"S#3"},
        {CreateFavoriteId(nullptr, L"S", L"S", Vardel::BrowseFavoriteFolder, kTwoLibraries, L"r"),
         Vardel::BrowseFavoriteFolder, L"", L"S"},
    });
    std::wstring memberId;
    EXPECT_EQ(Vardel::GetMemberID(member, memberId), S_OK);
    EXPECT_EQ(memberId, L"r");

    for (const int kind : {0, 3, 4, 16, 32, 65}) {
        EXPECT_TRUE(CreateFavoriteId(nullptr, L"x", L"S#9", static_cast<EBrowseItemType>(kind),
                                     kTwoLibraries, L"")
                        .IsNULL())
            << kind;
    }
}

TEST(BrowseId, FavoriteCounterpartKeepsFieldsAndLeavesCopiesAlone) {
    Vardel::CContext ctx;
    const CBrowseId library =
        VardelUtils::CreateMemberId(&ctx, L"fam", L"row-2", {L"Imperial"}, kVersion);
    CBrowseId favorite = library;
    VardelUtils::ConvertToFavoriteId(favorite, L"S#row");

    EXPECT_EQ(TypeOf(favorite), Vardel::BrowseFamilyMember);
    EXPECT_EQ(FavoriteIdOf(favorite), L"S#row");
    EXPECT_EQ(FavoriteIdOf(library), L"");
    EXPECT_EQ(favorite.GetInternalName(), L"fam");
    EXPECT_EQ(LibraryOf(favorite), L"Imperial");
    EXPECT_EQ(favorite.GetRevisionId(), L"rev-7");
    EXPECT_EQ(BrowseIdAccess::GetImpl(favorite)->GetContext(), &ctx);
    std::wstring memberId;
    EXPECT_EQ(Vardel::GetMemberID(favorite, memberId), S_OK);
    EXPECT_EQ(memberId, L"row-2");

    CBrowseId category = VardelUtils::CreateCategoryId(&ctx, L"cat", kTwoLibraries);
    VardelUtils::ConvertToFavoriteId(category, L"S#cat");
    ASSERT_NE(BrowseIdAccess::As<CBrowseFavoriteCategoryIdImpl>(category), nullptr);
    EXPECT_EQ(BrowseIdAccess::As<CBrowseFavoriteCategoryIdImpl>(category)->GetLibraries(),
              kTwoLibraries);

    CBrowseId folder =
        VardelUtils::CreateFavoriteId(&ctx, L"F", L"S#F", Vardel::BrowseFavoriteFolder, {}, L"");
    VardelUtils::ConvertToFavoriteId(folder, L"T#F");
    EXPECT_EQ(TypeOf(folder), Vardel::BrowseFavoriteFolder);
    EXPECT_EQ(FavoriteIdOf(folder), L"T#F");
}

TEST(BrowseId, FavoriteCounterpartLeavesOtherKindsUnchanged) {
    CBrowseId empty;
    VardelUtils::ConvertToFavoriteId(empty, L"S#1");
    EXPECT_TRUE(empty.IsNULL());
    for (CBrowseId id : {VardelUtils::CreateCategoryParameterId(nullptr, L"p", kTwoLibraries),
                         VardelUtils::CreateHistoryRootId(nullptr, L"H"),
                         VardelUtils::CreateSearchRootId(nullptr, L"S")}) {
        const CBrowseIdBaseImpl* before = BrowseIdAccess::GetImpl(id);
        VardelUtils::ConvertToFavoriteId(id, L"S#1");
        EXPECT_EQ(BrowseIdAccess::GetImpl(id), before);
        EXPECT_EQ(FavoriteIdOf(id), L"");
    }
}

TEST(BrowseIdIdentity, SharedAndNameEqualNodesAreTheSameItem) {
    const CBrowseId a = VardelUtils::CreateFamilyId(nullptr, L"guid-1", {L"Metric"});
    CBrowseId copy;
    copy = a;
    EXPECT_EQ(BrowseIdAccess::GetImpl(copy), BrowseIdAccess::GetImpl(a));
    EXPECT_TRUE(a.IsTheSameItem(copy));
    EXPECT_TRUE(Equivalent(a, copy));

    const CBrowseId otherLibrary = VardelUtils::CreateFamilyId(nullptr, L"guid-1", {L"Imperial"});
    EXPECT_TRUE(a.IsTheSameItem(otherLibrary));
    EXPECT_TRUE(Equivalent(a, otherLibrary));

    const CBrowseId upper = VardelUtils::CreateFamilyId(nullptr, L"GUID-1", {L"Metric"});
    EXPECT_FALSE(a.IsTheSameItem(upper));
    EXPECT_TRUE(Less(upper, a));

    const std::set<CBrowseId, Vardel::Utils::_BrId_less> set = {a, copy, otherLibrary, upper};
    EXPECT_EQ(set.size(), 2u);
}

TEST(BrowseIdIdentity, FavoritesAndLibraryCounterpartDiffer) {
    const CBrowseId library = VardelUtils::CreateFamilyId(nullptr, L"zzz", kTwoLibraries);
    CBrowseId favorite = library;
    VardelUtils::ConvertToFavoriteId(favorite, L"A#1");
    EXPECT_FALSE(favorite.IsTheSameItem(library));
    EXPECT_FALSE(library.IsTheSameItem(favorite));
    // The library side has an empty favorite id, so it sorts first even
    // though its internal name is larger.
    const CBrowseId smallName = VardelUtils::CreateFamilyId(nullptr, L"aaa", kTwoLibraries);
    EXPECT_TRUE(Less(library, favorite));
    EXPECT_TRUE(Less(smallName, favorite));
    EXPECT_FALSE(Less(favorite, library));

    // Favorites entries order and match by favorite id alone.
    CBrowseId sameFavorite = VardelUtils::CreateFamilyId(nullptr, L"other", kTwoLibraries);
    VardelUtils::ConvertToFavoriteId(sameFavorite, L"A#1");
    EXPECT_TRUE(favorite.IsTheSameItem(sameFavorite));
    EXPECT_TRUE(Equivalent(favorite, sameFavorite));
    CBrowseId later = smallName;
    VardelUtils::ConvertToFavoriteId(later, L"B#1");
    EXPECT_TRUE(Less(favorite, later));
}

TEST(BrowseIdIdentity, EmptyHandlesSortFirstAndAreEquivalent) {
    const CBrowseId empty;
    const CBrowseId node = VardelUtils::CreateSearchRootId(nullptr, L"");
    EXPECT_TRUE(Less(empty, node));
    EXPECT_FALSE(Less(node, empty));
    EXPECT_TRUE(Equivalent(empty, CBrowseId()));
    // Internal names order by UTF-16 code units.
    const CBrowseId privateUse = VardelUtils::CreateHistoryRootId(nullptr, L"\uE000");
    const CBrowseId emoji = VardelUtils::CreateHistoryRootId(nullptr, L"\U0001F600");
    EXPECT_TRUE(Less(emoji, privateUse));
}

}  // namespace
