// Navigation answers of the catalogue server: order, levels, unknown nodes
// and every filter of DBFilter.
#include "catalog/service/service_fixture.h"

namespace VardelCatalogTest {
namespace {

using TarnServerProxies::ProxyError;
using TarnServerProxies::Content::DBFilter;

using ServiceNavigation = ServedCatalog;

TEST_F(ServiceNavigation, CategoriesComeInDocumentOrderOneOrAllLevels) {
    EXPECT_EQ(server->GetCategoryRoots(bob, fasteners, {}), Ids({10, 20, 30}));
    EXPECT_EQ(server->GetCategoriesByParent(bob, fasteners, TestGuid(10), false, {}),
              Ids({11, 13}));
    EXPECT_EQ(server->GetCategoriesByParent(bob, fasteners, TestGuid(10), true, {}),
              Ids({11, 12, 13}));
    EXPECT_TRUE(server->GetCategoriesByParent(bob, fasteners, TestGuid(30), true, {}).empty());
    EXPECT_TRUE(server->GetCategoriesByParent(bob, fasteners, TestGuid(999), false, {}).empty());
}

TEST_F(ServiceNavigation, FamiliesComeInImportOrder) {
    EXPECT_EQ(server->GetFamiliesByCategory(bob, fasteners, TestGuid(10), {}),
              Ids({103, 105, 104}));
    EXPECT_EQ(server->GetAllFamilies(bob, fasteners), Ids({100, 101, 102, 103, 105, 104}));
    EXPECT_TRUE(server->GetFamiliesByCategory(bob, fasteners, TestGuid(999), {}).empty());
    // A category of another library is unknown here.
    EXPECT_TRUE(server->GetFamiliesByCategory(alice, fasteners, TestGuid(40), {}).empty());
}

TEST_F(ServiceNavigation, CategoriesOfAFamilyAndParents) {
    EXPECT_EQ(server->GetCategoriesByFamily(bob, fasteners, TestGuid(101)), Ids({12, 13}));
    EXPECT_TRUE(server->GetCategoriesByFamily(bob, fasteners, TestGuid(999)).empty());
    EXPECT_EQ(server->GetParentCategory(bob, fasteners, TestGuid(12)), TestGuid(11));
    EXPECT_TRUE(server->GetParentCategory(bob, fasteners, TestGuid(10)).IsNil());
    EXPECT_THROW(server->GetParentCategory(bob, fasteners, TestGuid(101)), ProxyError);
}

struct FilterCase {
    const char* name;
    DBFilter filter;
    std::vector<unsigned> roots;
    std::vector<unsigned> belowBolts;  // all levels
    std::vector<unsigned> belowProfiles;
    std::vector<unsigned> familiesOfBolts;
    std::vector<unsigned> familiesOfFine;
};

DBFilter Filter(bool parts, bool features, bool invisible, bool empty,
                std::vector<std::wstring> organisations = {},
                std::vector<std::wstring> manufacturers = {},
                std::vector<std::wstring> content = {}) {
    return {parts, features, invisible, empty, organisations, manufacturers, content};
}

TEST_F(ServiceNavigation, FiltersHideWhatTheyName) {
    const FilterCase cases[] = {
        {"none", {}, {10, 20, 30}, {11, 12, 13}, {21, 22}, {103, 105, 104}, {101}},
        {"invisible",
         Filter(false, false, true, false),
         {10, 20, 30},
         {13},
         {21, 22},
         {103, 105, 104},
         {}},
        {"parts", Filter(true, false, false, false), {10, 20, 30}, {11, 12, 13}, {21, 22}, {}, {}},
        {"features",
         Filter(false, true, false, false),
         {10, 20, 30},
         {11, 12, 13},
         {21, 22},
         {103, 105, 104},
         {101}},
        {"empty",
         Filter(false, false, false, true),
         {10, 20},
         {11, 12, 13},
         {22},
         {103, 105, 104},
         {101}},
        {"empty after parts", Filter(true, false, false, true), {20}, {}, {22}, {}, {}},
        {"empty after invisible",
         Filter(false, false, true, true),
         {10, 20},
         {13},
         {22},
         {103, 105, 104},
         {}},
        {"organisations",
         Filter(false, false, false, true, {L"DIN", L"EN"}),
         {10, 20},
         {11, 12, 13},
         {22},
         {},
         {101}},
        {"manufacturers",
         Filter(false, false, false, true, {}, {L"Acme"}),
         {10, 20},
         {11},
         {22},
         {},
         {}},
        {"content",
         Filter(false, false, false, false, {}, {}, {L"Steel"}),
         {20},
         {},
         {21, 22},
         {},
         {}},
        {"hostile values",
         Filter(false, false, false, true, {L"ISO' OR '1'='1", L"%"},
                {L"\"); DROP TABLE family; --"}),
         {},
         {},
         {},
         {},
         {}},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(server->GetCategoryRoots(bob, fasteners, c.filter), Ids(c.roots));
        EXPECT_EQ(server->GetCategoriesByParent(bob, fasteners, TestGuid(10), true, c.filter),
                  Ids(c.belowBolts));
        EXPECT_EQ(server->GetCategoriesByParent(bob, fasteners, TestGuid(20), false, c.filter),
                  Ids(c.belowProfiles));
        EXPECT_EQ(server->GetFamiliesByCategory(bob, fasteners, TestGuid(10), c.filter),
                  Ids(c.familiesOfBolts));
        EXPECT_EQ(server->GetFamiliesByCategory(bob, fasteners, TestGuid(12), c.filter),
                  Ids(c.familiesOfFine));
    }
    EXPECT_EQ(server->GetAllFamilies(bob, fasteners).size(), 6u);
}

TEST_F(ServiceNavigation, CategoryParametersOfACategoryAndOfAParameter) {
    EXPECT_EQ(server->GetCategoryParametersByCategory(bob, fasteners, TestGuid(11), false),
              Ids({51, 50}));
    // Ancestors first, root first, each parameter once.
    EXPECT_EQ(server->GetCategoryParametersByCategory(bob, fasteners, TestGuid(12), true),
              Ids({50, 51}));
    EXPECT_TRUE(
        server->GetCategoryParametersByCategory(bob, fasteners, TestGuid(12), false).empty());
    EXPECT_EQ(server->GetCategoryParametersByParameter(bob, fasteners, TestGuid(50)),
              Ids({50, 51}));
    EXPECT_EQ(server->GetCategoryParametersByParameter(bob, fasteners, TestGuid(51)), Ids({51}));
    EXPECT_TRUE(server->GetCategoryParametersByParameter(bob, fasteners, TestGuid(60)).empty());
}

}  // namespace
}  // namespace VardelCatalogTest
