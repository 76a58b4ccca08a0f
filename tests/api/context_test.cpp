#include <gtest/gtest.h>

#include <list>
#include <string>

#include "api/context_impl.h"
#include "vardel/context.h"

namespace {

using Vardel::CContext;
using Vardel::FilterStruct;
using Vardel::SSecurityContext;
using AccessOption = TarnServerProxies::Security::SecurityContext::AccessOptionEnum;

const std::list<std::wstring> kLibraries = {L"Metric", L"Imperial"};

HRESULT Init(CContext& ctx, Vardel::BrowsingStructureType type,
             const wchar_t* storage = L"/tmp/store", const FilterStruct* filter = nullptr,
             const SSecurityContext* security = nullptr) {
    return ctx.Initialize(type, &kLibraries, filter, L"de", security, storage);
}

ContextImpl* Impl(const CContext& ctx) {
    return VardelUtils::GetContextImpl(&ctx);
}

SSecurityContext Security(std::int32_t accessOption) {
    SSecurityContext record;
    record.number = -9'000'000'000;
    record.text1 = L"t1";
    record.text2 = L"t2";
    record.text3 = L"t3";
    record.text4 = L"t4";
    record.text5 = L"t5";
    record.accessOption = accessOption;
    return record;
}

TEST(Context, EmptyUntilInitialisedAndNotOperatorIsInverted) {
    CContext ctx;
    EXPECT_TRUE(ctx.IsNULL());
    EXPECT_FALSE(!ctx);
    ctx.SetFilter(nullptr);
    EXPECT_TRUE(Vardel::GetLibraries(&ctx).empty());
    EXPECT_EQ(Vardel::GetFilters(&ctx), nullptr);

    ASSERT_EQ(Init(ctx, Vardel::HistoryBrowsing), S_OK);
    EXPECT_FALSE(ctx.IsNULL());
    EXPECT_TRUE(!ctx);
}

TEST(Context, InitializeRejectsBadArgumentsAndStaysEmpty) {
    CContext ctx;
    const auto outOfRange = static_cast<Vardel::BrowsingStructureType>(4);
    const auto negative = static_cast<Vardel::BrowsingStructureType>(-1);
    EXPECT_EQ(Init(ctx, outOfRange), E_INVALIDARG);
    EXPECT_EQ(Init(ctx, negative), E_INVALIDARG);
    EXPECT_EQ(ctx.Initialize(Vardel::LibraryBrowsing, nullptr, nullptr, L"", nullptr, L"/x"),
              E_INVALIDARG);
    EXPECT_EQ(Init(ctx, Vardel::FavoritesBrowsing, nullptr), E_INVALIDARG);
    EXPECT_EQ(Init(ctx, Vardel::SearchBrowsing, nullptr), E_INVALIDARG);
    EXPECT_TRUE(ctx.IsNULL());

    // The library tree needs no storage folder and keeps none.
    ASSERT_EQ(Init(ctx, Vardel::LibraryBrowsing, L"/ignored"), S_OK);
    EXPECT_EQ(Impl(ctx)->GetStoragePath(), L"");
    CContext noPath;
    EXPECT_EQ(Init(noPath, Vardel::LibraryBrowsing, nullptr), S_OK);
}

TEST(Context, SecondInitializeIsUnexpectedBeforeAnyArgumentCheck) {
    CContext ctx;
    ASSERT_EQ(Init(ctx, Vardel::LibraryBrowsing), S_OK);
    const std::list<std::wstring> other = {L"Other"};
    EXPECT_EQ(ctx.Initialize(Vardel::HistoryBrowsing, &other, nullptr, L"fr", nullptr, L"/p"),
              E_UNEXPECTED);
    EXPECT_EQ(ctx.Initialize(static_cast<Vardel::BrowsingStructureType>(9), nullptr, nullptr, L"",
                             nullptr, nullptr),
              E_UNEXPECTED);
    EXPECT_EQ(Impl(ctx)->GetBrowsingType(), Vardel::LibraryBrowsing);
    EXPECT_EQ(Vardel::GetLibraries(&ctx), kLibraries);
}

TEST(Context, InitializeCopiesEveryArgument) {
    std::list<std::wstring> libraries = {L"B", L"A", L"C"};
    FilterStruct filter;
    filter.categoriesContent = {L"bolts"};
    const SSecurityContext security = Security(0);
    CContext ctx;
    ASSERT_EQ(ctx.Initialize(Vardel::FavoritesBrowsing, &libraries, &filter, L"en", &security,
                             L"/home/u/store"),
              S_OK);
    libraries.clear();
    filter.filterParts = true;

    const ContextImpl* impl = Impl(ctx);
    EXPECT_EQ(impl->GetLibraries(), (std::list<std::wstring>{L"B", L"A", L"C"}));
    EXPECT_EQ(impl->GetStoragePath(), L"/home/u/store");
    ASSERT_NE(impl->GetFilter(), nullptr);
    EXPECT_FALSE(impl->GetFilter()->filterParts);
    EXPECT_EQ(impl->GetFilter()->categoriesContent, std::set<std::wstring>{L"bolts"});
    ASSERT_NE(impl->GetSecurityContext(), nullptr);
    EXPECT_EQ(impl->GetSecurityContext()->text5, L"t5");
}

TEST(Context, ManagedSecurityObjectCarriesTheRecord) {
    for (const std::int32_t option : {0, -3}) {
        const SSecurityContext security = Security(option);
        CContext ctx;
        ASSERT_EQ(Init(ctx, Vardel::LibraryBrowsing, nullptr, nullptr, &security), S_OK);
        const auto* managed = Impl(ctx)->GetManSecurityContext();
        ASSERT_NE(managed, nullptr);
        EXPECT_EQ(managed->Number(), -9'000'000'000);
        for (int i = 1; i <= 5; ++i) {
            EXPECT_EQ(managed->Text(i), L"t" + std::to_wstring(i));
        }
        EXPECT_EQ(managed->AccessOption(),
                  option != 0 ? AccessOption::Option1 : AccessOption::Option0);
        EXPECT_EQ(Impl(ctx)->GetSecurityContext()->accessOption, option);
    }
    CContext unsecured;
    ASSERT_EQ(Init(unsecured, Vardel::LibraryBrowsing), S_OK);
    EXPECT_EQ(Impl(unsecured)->GetManSecurityContext(), nullptr);
    EXPECT_EQ(Impl(unsecured)->GetSecurityContext(), nullptr);
}

TEST(Context, CopiesShareStateWhileClonesAreIndependent) {
    const SSecurityContext security = Security(1);
    FilterStruct filter;
    CContext ctx;
    ASSERT_EQ(Init(ctx, Vardel::SearchBrowsing, L"/s", &filter, &security), S_OK);
    CContext copy(ctx);
    CContext assigned;
    assigned = ctx;
    CContext clone;
    ctx.CloneContext(clone);

    FilterStruct parts;
    parts.filterParts = true;
    copy.SetFilter(&parts);
    EXPECT_TRUE(ctx.GetFilter()->filterParts);
    EXPECT_EQ(assigned.GetFilter(), ctx.GetFilter());
    ASSERT_NE(clone.GetFilter(), nullptr);
    EXPECT_FALSE(clone.GetFilter()->filterParts);

    const ContextImpl* original = Impl(ctx);
    const ContextImpl* cloned = Impl(clone);
    ASSERT_NE(cloned, original);
    EXPECT_EQ(cloned->GetBrowsingType(), Vardel::SearchBrowsing);
    EXPECT_EQ(cloned->GetLibraries(), kLibraries);
    EXPECT_EQ(cloned->GetLanguage(), L"de");
    EXPECT_EQ(cloned->GetStoragePath(), L"/s");
    EXPECT_NE(cloned->GetSecurityContext(), original->GetSecurityContext());
    EXPECT_NE(cloned->GetManSecurityContext(), original->GetManSecurityContext());
    EXPECT_EQ(cloned->GetManSecurityContext()->AccessOption(), AccessOption::Option1);

    // Self-assignment keeps the shared state; assigning an empty one releases it.
    assigned = *&assigned;
    EXPECT_EQ(Impl(assigned), original);
    assigned = CContext();
    EXPECT_TRUE(assigned.IsNULL());
    EXPECT_FALSE(ctx.IsNULL());
}

TEST(Context, CloneIntoHeldContextAndFromEmptyChangeNothing) {
    CContext ctx;
    ASSERT_EQ(Init(ctx, Vardel::HistoryBrowsing), S_OK);
    const std::list<std::wstring> other = {L"Other"};
    CContext target;
    ASSERT_EQ(target.Initialize(Vardel::LibraryBrowsing, &other, nullptr, L"", nullptr, nullptr),
              S_OK);
    ctx.CloneContext(target);
    EXPECT_EQ(Vardel::GetLibraries(&target), other);

    CContext empty;
    CContext untouched;
    empty.CloneContext(untouched);
    EXPECT_TRUE(untouched.IsNULL());
}

TEST(Context, SetFilterCopiesIntoOwnFilterAndNullRemovesIt) {
    CContext ctx;
    ASSERT_EQ(Init(ctx, Vardel::LibraryBrowsing), S_OK);
    EXPECT_EQ(ctx.GetFilter(), nullptr);

    FilterStruct filter;
    filter.SetEmptyFilter();
    filter.propertyFilters[L"FAM_DATATYPE"] = {L"part"};
    ctx.SetFilter(&filter);
    FilterStruct* own = ctx.GetFilter();
    ASSERT_NE(own, nullptr);
    EXPECT_NE(own, &filter);
    EXPECT_EQ(*own, filter);

    filter.filterEmptyCategories = true;
    ctx.SetFilter(&filter);
    EXPECT_EQ(ctx.GetFilter(), own);
    EXPECT_TRUE(own->filterEmptyCategories);
    ctx.SetFilter(ctx.GetFilter());  // its own filter: no self-copy damage
    EXPECT_EQ(*ctx.GetFilter(), filter);

    ctx.SetFilter(nullptr);
    EXPECT_EQ(Vardel::GetFilters(&ctx), nullptr);
}

TEST(FilterStruct, DefaultHidesInvisibleCategoriesAndEmptyFilterClearsEverything) {
    FilterStruct filter;
    EXPECT_TRUE(filter.filterInvisibleCategories);
    EXPECT_FALSE(filter.usePropertyFilters || filter.filterParts || filter.filterFeatures ||
                 filter.filterEmptyCategories);

    filter.categoriesContent = {L"a"};
    filter.propertyFilters[L"k"] = {L"v1", L"v2"};
    filter.usePropertyFilters = filter.filterParts = filter.filterFeatures = true;
    filter.filterEmptyCategories = true;
    filter.SetEmptyFilter();
    EXPECT_TRUE(filter.categoriesContent.empty());
    EXPECT_TRUE(filter.propertyFilters.empty());
    EXPECT_FALSE(filter.usePropertyFilters || filter.filterParts || filter.filterFeatures ||
                 filter.filterInvisibleCategories || filter.filterEmptyCategories);
}

}  // namespace
