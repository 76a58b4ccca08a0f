// Property values of categories, families and category parameters: every
// documented key, the answer's shape, languages and their fallback.
#include "catalog/service/service_fixture.h"
#include "catalog/support/test_images.h"
#include "common/base64.h"
#include "common/utf8.h"
#include "vardel/constants.h"

namespace VardelCatalogTest {
namespace {

namespace Keys = Vardel::Constants;
using Answers = std::vector<std::optional<std::wstring>>;

// The answer for an image: a data URI.
std::wstring DataUri(const std::string& mediaType, const std::string& bytes) {
    return VardelCommon::FromUtf8("data:" + mediaType + ";base64," +
                                  VardelCommon::EncodeBase64(bytes));
}

std::vector<Guid> KeyIds(const std::vector<const wchar_t*>& keys) {
    std::vector<Guid> ids;
    for (const wchar_t* key : keys) {
        ids.push_back(*Guid::Parse(key));
    }
    return ids;
}

using ServiceProperties = ServedCatalog;

TEST_F(ServiceProperties, CategoryKeys) {
    const auto keys = KeyIds({Keys::FLD_DISPLAYNAME, Keys::FLD_ISVISIBLE, Keys::FLD_REFGUID,
                              Keys::FLD_LASTMODTIME, Keys::FLD_ICON, Keys::FLD_HASANYCHILD,
                              Keys::CAT_MNEMONIC, Keys::CAT_SPECAUTH, Keys::CAT_DOMAIN});
    const Answers answers =
        server->GetCategoryPropertyValues(bob, fasteners, Ids({13, 11, 30}), keys, L"en-US");
    const Answers expected = {
        // Socket: a leaf holding a family.
        L"Socket", L"true", TestGuid(13 + 0x100000).ToString(), L"2024-01-01T00:00:00Z",
        DataUri("image/x-icon", VardelTestImages::Ico(0x0000FF)), L"true", L"SK", L"true",
        std::nullopt,
        // Hex: hidden, holds a sub-category.
        L"Hex", L"false", TestGuid(11 + 0x100000).ToString(), L"2024-01-01T00:00:00Z", std::nullopt,
        L"true", std::nullopt, L"false", std::nullopt,
        // Misc: nothing below it.
        L"Misc", L"true", TestGuid(30 + 0x100000).ToString(), L"2024-01-01T00:00:00Z", std::nullopt,
        L"false", std::nullopt, L"false", std::nullopt};
    EXPECT_EQ(answers, expected);
    EXPECT_EQ(server->GetCategoryPropertyValues(bob, fasteners, Ids({10}),
                                                KeyIds({Keys::CAT_DOMAIN}), L"en-us"),
              Answers{L"Fasteners"});
}

TEST_F(ServiceProperties, FamilyKeys) {
    const auto keys = KeyIds({Keys::FAM_DISPLAYNAME, Keys::FAM_DESCRIPTION, Keys::FAM_MANUFACTURER,
                              Keys::FAM_STANDORG, Keys::FAM_STANDARD, Keys::FAM_FOLDERNAME,
                              Keys::FAM_LASTMODTIME, Keys::FAM_REVGUID, Keys::FAM_ICON,
                              Keys::FAM_DATATYPE, Keys::FAM_SRCLIBRARY, Keys::FAM_SRCFAMILY});
    const Answers answers =
        server->GetFamilyPropertyValues(bob, fasteners, Ids({100, 102}), keys, L"en-US");
    const Answers expected = {L"Hex bolt", L"Fully threaded", L"Acme", L"ISO", L"ISO 4017",
                              std::nullopt, L"2024-01-01T00:00:00Z",
                              TestGuid(100 + 0x200000).ToString(),
                              DataUri("image/png", VardelTestImages::Png(0xFF0000)), L"part",
                              L"Base <&\"> lib", L"Base bolt",
                              //
                              L"I-beam", std::nullopt, L"Acme", L"EN", std::nullopt, std::nullopt,
                              L"2024-01-01T00:00:00Z", TestGuid(102 + 0x200000).ToString(),
                              std::nullopt, L"feature", std::nullopt, std::nullopt};
    EXPECT_EQ(answers, expected);
}

TEST_F(ServiceProperties, ParameterKeys) {
    const auto keys =
        KeyIds({Keys::CP_DISPLAYNAME, Keys::CP_VALUETYPE, Keys::CP_UNITTYPE,
                Keys::CP_VALUELOCALIZED, Keys::CP_REFNAME, Keys::CP_USESDEFINITION,
                Keys::CP_OPTIONAL, Keys::CP_REPEATABLE, Keys::CP_NOINDEX, Keys::CP_DEFINITIONONLY,
                Keys::CP_APPLIESTOMEMBER, Keys::CP_PARENTCATEGORY});
    const Answers answers =
        server->GetCategoryParameterPropertyValues(bob, fasteners, Ids({51, 52}), keys, L"de-DE");
    const Answers expected = {
        L"Length", L"double", std::nullopt, L"false", std::nullopt, TestGuid(50).ToString(),
        L"true", L"false", L"false", L"false", L"true", TestGuid(11).ToString(),
        //
        L"Material", L"string", std::nullopt, L"false", std::nullopt, std::nullopt, L"false",
        L"false", L"false", L"false", L"false", std::nullopt};
    EXPECT_EQ(answers, expected);
}

TEST_F(ServiceProperties, AnswersAreNodeMajorWithNoValueForWhatIsUnknown) {
    // A repeated key, a key of another node kind, an unknown key; an unknown
    // node, a node of another library, and a node requested twice.
    const auto keys = KeyIds({Keys::FAM_DATATYPE, Keys::FLD_DISPLAYNAME, Keys::FAM_DATATYPE,
                              L"11111111-2222-3333-4444-555555555555"});
    const Answers answers =
        server->GetFamilyPropertyValues(bob, fasteners, Ids({102, 999, 200, 102}), keys, L"en-us");
    const Answers expected = {L"feature",   std::nullopt, L"feature",   std::nullopt,
                              std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                              std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                              L"feature",   std::nullopt, L"feature",   std::nullopt};
    EXPECT_EQ(answers, expected);
    EXPECT_TRUE(server->GetFamilyPropertyValues(bob, fasteners, {}, keys, L"en-us").empty());
    EXPECT_TRUE(server->GetFamilyPropertyValues(bob, fasteners, Ids({102}), {}, L"en-us").empty());
}

TEST_F(ServiceProperties, NamesFallBackToTheDefaultThenTheFirstLanguage) {
    const struct {
        const wchar_t* language;
        std::vector<unsigned> nodes;
        Answers names;
    } cases[] = {
        {L"de-DE", {13, 21, 30}, {L"Innensechskant", L"Blatt", L"Misc"}},
        {L"DE-de", {13}, {L"Innensechskant"}},
        {L"fr-FR", {13, 21}, {L"Socket", L"Feuille"}},
        // Leaf has no en-us name: the first language in byte order, de-de.
        {L"it-IT", {13, 21}, {L"Socket", L"Blatt"}},
        {L"", {21}, {L"Blatt"}},
    };
    const auto name = KeyIds({Keys::FLD_DISPLAYNAME});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        EXPECT_EQ(server->GetCategoryPropertyValues(bob, fasteners, Ids(c.nodes), name, c.language),
                  c.names);
    }
    // A description falls back on its own: the German row has a name only.
    EXPECT_EQ(server->GetFamilyPropertyValues(
                  bob, fasteners, Ids({100}),
                  KeyIds({Keys::FAM_DISPLAYNAME, Keys::FAM_DESCRIPTION}), L"de-de"),
              (Answers{L"Sechskantschraube", L"Fully threaded"}));
    EXPECT_EQ(server->GetCategoryParameterPropertyValues(bob, fasteners, Ids({50}),
                                                         KeyIds({Keys::CP_DISPLAYNAME}), L"de-de"),
              Answers{L"Durchmesser"});
}

TEST_F(ServiceProperties, SuccessiveRequestsForOtherNodesAnswerThoseNodes) {
    // The node table is reused between requests; a new list must replace it.
    const auto name = KeyIds({Keys::FAM_DISPLAYNAME});
    const auto all = server->GetAllFamilies(bob, fasteners);
    EXPECT_EQ(server->GetFamilyPropertyValues(bob, fasteners, all, name, L"en").size(), 6u);
    EXPECT_EQ(server->GetFamilyPropertyValues(bob, fasteners, Ids({104, 100}), name, L"en"),
              (Answers{L"Bolt 104", L"Hex bolt"}));
    EXPECT_EQ(server->GetFamilyPropertyValues(bob, fasteners, Ids({100, 104}), name, L"en"),
              (Answers{L"Hex bolt", L"Bolt 104"}));
    EXPECT_THROW(server->GetFamilyPropertyValues(bob, L"nope", Ids({104}), name, L"en"),
                 TarnServerProxies::ProxyError);
    EXPECT_EQ(server->GetFamilyPropertyValues(bob, fasteners, Ids({104}), name, L"en"),
              Answers{L"Bolt 104"});
}

TEST(ServiceNodeTable, EachRequestReadsItsOwnLibraryAndKind) {
    // The same GUID is a family in A and in B and a category in A; A's
    // families follow the category in row order, so the node table's row
    // order differs from the order the GUIDs are asked in.
    TestLibrary a{Library(L"A", 1), {}};
    a.library.categories = {Category(1, L"Root", {Category(8, L"Category eight")})};
    a.families = {Family(9, L"Nine in A", {1}), Family(8, L"Eight in A", {1})};
    TestLibrary b{Library(L"B", 2), {}};
    b.library.categories = {Category(1, L"Root")};
    b.families = {Family(8, L"Eight in B", {1})};
    TempFolder folder;
    std::string error;
    const auto server = VardelCatalog::CCatalogServer::Open(
        WriteCatalog(folder.path() / "two.catalog", {a, b}), error);
    ASSERT_NE(server, nullptr) << error;
    const auto name = KeyIds({Keys::FAM_DISPLAYNAME});
    const auto bob = User(L"bob");

    EXPECT_EQ(server->GetFamilyPropertyValues(bob, L"A", Ids({8, 9}), name, L"en"),
              (Answers{L"Eight in A", L"Nine in A"}));
    EXPECT_EQ(server->GetFamilyPropertyValues(bob, L"B", Ids({8, 9}), name, L"en"),
              (Answers{L"Eight in B", std::nullopt}));
    EXPECT_EQ(server->GetCategoryPropertyValues(bob, L"A", Ids({8, 9}),
                                                KeyIds({Keys::FLD_DISPLAYNAME}), L"en"),
              (Answers{L"Category eight", std::nullopt}));
    // Repeated nodes, the first of them asked last: every place is answered.
    EXPECT_EQ(server->GetFamilyPropertyValues(bob, L"A", Ids({9, 8, 9, 7, 9}), name, L"en-US"),
              (Answers{L"Nine in A", L"Eight in A", L"Nine in A", std::nullopt, L"Nine in A"}));
}

}  // namespace
}  // namespace VardelCatalogTest
