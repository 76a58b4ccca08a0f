// A library that names its readers, seen through the browsing face: it
// fails every request of anybody else, and searches over several libraries
// quietly leave it out.
#include "catalog/integration/catalog_fixture.h"
#include "vardel/browsing.h"
#include "vardel/search.h"

namespace VardelCatalogTest {
namespace {

TEST_F(CatalogIntegrationTest, RestrictedLibraryAnswersOnlyItsReaders) {
    std::vector<Vardel::CBrowseId> roots;
    const auto bob = Context(Vardel::LibraryBrowsing, {L"Alpha", L"Gamma"});
    EXPECT_EQ(E_FAIL, Vardel::GetFoldersRoots(&bob, roots));
    EXPECT_TRUE(roots.empty());
    Vardel::CBrowseId pin;
    EXPECT_EQ(S_OK, Vardel::CreateItemBrowseId(&bob, Id(kPrivatePin), pin));
    EXPECT_TRUE(pin.IsNULL());

    const auto alice =
        Context(Vardel::LibraryBrowsing, {L"Alpha", L"Gamma"}, {}, L"en-US", L"alice");
    ASSERT_EQ(S_OK, Vardel::GetFoldersRoots(&alice, roots));
    EXPECT_EQ((std::vector<std::wstring>{L"Fasteners", L"Leer", L"Private"}),
              Names(alice, roots, true));
    ASSERT_EQ(S_OK, Vardel::CreateItemBrowseId(&alice, Id(kPrivatePin), pin));
    EXPECT_FALSE(pin.IsNULL());
}

TEST_F(CatalogIntegrationTest, SearchLeavesOutWhatTheCallerMayNotRead) {
    Vardel::CSearchQueryData query;
    auto* constraint = new Vardel::CSearchData(Vardel::CSearchData::SearchProperty);
    constraint->AddAttribute(L"InternalName", Id(kDiameter).c_str());
    constraint->AddProperty(L"Value", L"8", nullptr);
    query.AddConstraintData(constraint);
    const auto search = [&](const std::list<std::wstring>& libraries, const wchar_t* user,
                            std::vector<Vardel::CBrowseId>& ids) {
        const auto context = Context(Vardel::SearchBrowsing, libraries, {}, L"en-US", user);
        return Vardel::Search(&context, &query, ids);
    };
    std::vector<Vardel::CBrowseId> ids;
    EXPECT_EQ(E_FAIL, search({L"Gamma"}, L"bob", ids));
    ASSERT_EQ(S_OK, search({L"Alpha", L"Gamma"}, L"bob", ids));
    for (const Vardel::CBrowseId& id : ids) {
        EXPECT_NE(Id(kPrivatePin), id.GetInternalName());
    }
    ids.clear();
    ASSERT_EQ(S_OK, search({L"Gamma"}, L"alice", ids));
    ASSERT_EQ(1u, ids.size());
    EXPECT_EQ(Id(kPrivatePin), ids[0].GetInternalName());
}

}  // namespace
}  // namespace VardelCatalogTest
