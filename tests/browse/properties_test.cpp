// Property readers of library contexts, the category-parameter and tree
// lookups, and the node-library lookups: grouping by library, input order,
// and what reaches the caller when a library does not answer.
#include <gtest/gtest.h>

#include <string>

#include "support/browse_fixture.h"
#include "vardel/browsing.h"
#include "vardel/constants.h"
#include "vardel/properties.h"

namespace VardelTest {
namespace {

using namespace Vardel::Constants;
using Vardel::CBrowseId;
using Values = std::vector<Vardel::ReturnValue>;

class LibraryProperties : public BrowseTest {
  protected:
    void SetUp() override {
        BrowseTest::SetUp();
        for (const wchar_t* library : {L"A", L"B"}) {
            for (const int node : {1, 2}) {
                const std::wstring name = std::wstring(library) + std::to_wstring(node);
                catalogue_[library].properties[Id(node)] = {{FLD_DISPLAYNAME, name},
                                                            {FAM_DISPLAYNAME, L"fam " + name},
                                                            {CP_DISPLAYNAME, L"cp " + name}};
            }
        }
        InstallCatalogue();
    }
    CBrowseId Category(const wchar_t* library, int node) {
        return VardelUtils::CreateCategoryId(&context_, Id(node), {library});
    }
    CBrowseId Family(const wchar_t* library, int node) {
        return VardelUtils::CreateFamilyId(&context_, Id(node), {library});
    }

    Vardel::CContext context_ = MakeContext(Vardel::LibraryBrowsing, {L"A", L"B"});
};

TEST_F(LibraryProperties, InterleavedLibrariesAnswerInInputOrderWithOneCallEach) {
    Values values(3);
    ASSERT_EQ(Vardel::GetFoldersProperties(
                  &context_, {Category(L"A", 1), Category(L"B", 1), Category(L"A", 2)},
                  {FLD_DISPLAYNAME, FLD_ICON}, values),
              S_OK);
    EXPECT_EQ(TextsOf(values),
              (Strings{L"A1", L"<no value>", L"B1", L"<no value>", L"A2", L"<no value>"}));
    EXPECT_EQ(CallsOf(Method::GetCategoryPropertyValues, L"A"), 1u);
    EXPECT_EQ(CallsOf(Method::GetCategoryPropertyValues, L"B"), 1u);
    EXPECT_EQ(backend_->Calls()[0].library, L"A");  // libraries in name order
    EXPECT_EQ(backend_->Calls()[0].nodes.size(), 2u);
}

TEST_F(LibraryProperties, UnansweredAndForeignNodesAreNotFound) {
    const CBrowseId family = Family(L"A", 1);
    const CBrowseId member = VardelUtils::CreateMemberId(&context_, Id(2), L"row", {L"B"});
    const BrowseIds ids = {family, Category(L"A", 1),    CBrowseId(), member,
                           family, Family(L"Nowhere", 1)};
    Values values;
    ASSERT_EQ(
        Vardel::GetItemsProperties(&context_, ids, {FAM_DISPLAYNAME, FLD_DISPLAYNAME}, values),
        S_OK);
    EXPECT_EQ(TextsOf(values), (Strings{L"fam A1", L"A1", L"<not found>", L"<not found>",
                                        L"<not found>", L"<not found>", L"fam B2", L"B2", L"fam A1",
                                        L"A1", L"<not found>", L"<not found>"}));
    // The family passed twice is asked once; the unknown library fails alone.
    EXPECT_EQ(backend_->Calls().size(), 3u);
    for (const auto& call : backend_->Calls()) {
        EXPECT_EQ(call.nodes.size(), 1u);
    }
}

TEST_F(LibraryProperties, ShortAnswerFailsTheCallButKeepsWhatWasAppended) {
    backend_->Script(Method::GetFamilyPropertyValues, Reply::Values({L"x", L"y", L"z"}));
    Values values;
    EXPECT_EQ(Vardel::GetItemsProperties(&context_, {Family(L"A", 1), Family(L"A", 2)},
                                         {FAM_DISPLAYNAME, FAM_ICON}, values),
              E_FAIL);
    EXPECT_EQ(TextsOf(values), (Strings{L"x", L"y", L"z"}));
}

TEST_F(LibraryProperties, ContextWithoutSecurityFindsNothing) {
    Vardel::CContext bare;
    const std::list<std::wstring> libraries{L"A"};
    ASSERT_EQ(
        bare.Initialize(Vardel::LibraryBrowsing, &libraries, nullptr, L"en", nullptr, nullptr),
        S_OK);
    Values values;
    EXPECT_EQ(Vardel::GetFoldersProperties(&bare, {Category(L"A", 1)}, {FLD_DISPLAYNAME}, values),
              S_OK);
    EXPECT_EQ(TextsOf(values), (Strings{L"<not found>"}));
    EXPECT_TRUE(backend_->Calls().empty());
}

TEST_F(LibraryProperties, CategoryParametersComeFromTheNodesLibrary) {
    catalogue_[L"B"].parameters[Id(1)] = {Id(7), Id(6)};
    const CBrowseId category = VardelUtils::CreateCategoryId(&context_, Id(1), {L"B", L"A"});
    BrowseIds parameters = {category};
    ASSERT_EQ(Vardel::GetCategoryParametersByCategory(&context_, category, parameters, true), S_OK);
    EXPECT_EQ(NamesOf(parameters), (Strings{Id(1), Id(7), Id(6)}));  // appended in server order
    EXPECT_EQ(KindOf(parameters[1]), Vardel::BrowseCategoryParameter);
    EXPECT_EQ(LibrariesOf(parameters[1]), (Strings{L"B"}));
    EXPECT_EQ(backend_->OnlyCall().flag, true);

    catalogue_[L"B"].parameters[Id(7)] = {Id(2)};
    BrowseIds related;
    ASSERT_EQ(Vardel::GetCategoryParametersByCategoryParameter(&context_, parameters[1], related),
              S_OK);
    EXPECT_EQ(NamesOf(related), (Strings{Id(2)}));
    Values values;
    ASSERT_EQ(Vardel::GetCategoryParameterPropertyValues(&context_, {related[0], category},
                                                         {CP_DISPLAYNAME}, values),
              S_OK);
    EXPECT_EQ(TextsOf(values), (Strings{L"cp B2", L"<not found>"}));

    backend_->Fail(Method::GetCategoryParametersByCategory);
    EXPECT_EQ(Vardel::GetCategoryParametersByCategory(&context_, category, related, false), E_FAIL);
    EXPECT_EQ(Vardel::GetCategoryParametersByCategory(&context_, parameters[1], related, false),
              E_INVALIDARG);
    EXPECT_EQ(Vardel::GetCategoryParametersByCategoryParameter(&context_, category, related),
              E_INVALIDARG);
    EXPECT_EQ(NamesOf(related), (Strings{Id(2)}));
}

TEST_F(LibraryProperties, CategoryTreeOfFamilyOrMemberIsPassedThrough) {
    backend_->Script(Method::GetCategoryTreeByFamily, Reply::Text(L"<tree/>"));
    backend_->Script(Method::GetCategoryTreeByFamily, Reply::Text(L""));
    const CBrowseId member = VardelUtils::CreateMemberId(&context_, Id(2), L"row", {L"B"});
    std::wstring xml;
    ASSERT_EQ(Vardel::GetCategoryTreeByFamily(&context_, member,
                                              static_cast<Vardel::ECategoryTreeType>(3), xml),
              S_OK);
    EXPECT_EQ(xml, L"<tree/>");
    EXPECT_EQ(backend_->OnlyCall().treeType, 3);
    EXPECT_EQ(backend_->OnlyCall().library, L"B");
    EXPECT_EQ(Vardel::GetCategoryTreeByFamily(&context_, member, {}, xml), E_FAIL);
    EXPECT_EQ(Vardel::GetCategoryTreeByFamily(&context_, Category(L"A", 1), {}, xml), E_INVALIDARG);
    EXPECT_EQ(xml, L"<tree/>");
}

TEST_F(LibraryProperties, NodeLibrariesAndDerivedFamilyLinks) {
    const CBrowseId category = VardelUtils::CreateCategoryId(&context_, Id(1), {L"B", L"A"});
    Strings libraries;
    ASSERT_EQ(Vardel::GetLibraries(&context_, category, libraries), S_OK);
    EXPECT_EQ(libraries, (Strings{L"B", L"A"}));
    EXPECT_EQ(Vardel::GetLibraries(&context_, Family(L"A", 1), libraries), E_INVALIDARG);
    EXPECT_EQ(Vardel::GetLibraries(&context_, CBrowseId(), libraries), E_INVALIDARG);

    std::wstring library;
    ASSERT_EQ(Vardel::GetLibrary(&context_, category, library), S_OK);
    EXPECT_EQ(library, L"B");
    const CBrowseId root = VardelUtils::CreateHistoryRootId(&context_, HISTORY_ROOT_ID);
    EXPECT_EQ(Vardel::GetLibrary(&context_, root, library), E_INVALIDARG);

    const std::string aspect = "<L ParentLibraryName='Inch' ParentFamilyName='Hex'/>";
    backend_->Script(Method::GetFamilyAspect, Reply::Bytes({aspect.begin(), aspect.end()}));
    Vardel::DerivedFamilyLinkNames names;
    ASSERT_EQ(Vardel::GetDerivedFamilyLinkNameOffline(&context_, Family(L"B", 2), names), S_OK);
    EXPECT_EQ(names.parentLibraryName, L"Inch");
    EXPECT_EQ(names.parentFamilyName, L"Hex");
    EXPECT_EQ(backend_->OnlyCall().library, L"B");
    // A node without a library cannot be asked about.
    EXPECT_EQ(Vardel::GetDerivedFamilyLinkNameOffline(&context_, root, names), E_FAIL);
}

}  // namespace
}  // namespace VardelTest
