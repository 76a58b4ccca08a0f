// Who may read what: a restricted library answers its readers only and is
// otherwise indistinguishable from a missing one; the library look-ups;
// hostile names; opening files that are no catalogue; concurrent callers.
#include <atomic>
#include <fstream>
#include <functional>
#include <thread>

#include "catalog/service/service_fixture.h"
#include "common/utf8.h"
#include "store/schema.h"
#include "store/sqlite_database.h"
#include "vardel/constants.h"

namespace VardelCatalogTest {
namespace {

using TarnServerProxies::KnowledgeLibrary;
using TarnServerProxies::ProxyError;
using TarnServerProxies::Security::SecurityContext;

using Call = std::function<void(VardelCatalog::CCatalogServer&, const SecurityContext&,
                                const std::wstring&)>;

// Every call that names a library, on nodes of the Secret library.
std::vector<std::pair<const char*, Call>> LibraryCalls() {
    const auto key = std::vector{*Guid::Parse(Vardel::Constants::FLD_DISPLAYNAME)};
    TarnServerProxies::Content::QueryConstraint category;
    category.property = L"Category";
    category.value = TestGuid(40).ToString();
    TarnServerProxies::Content::ContentQuery query;
    query.constraintFields = std::vector{category};
    using Server = VardelCatalog::CCatalogServer;
    using Security = const SecurityContext&;
    using Name = const std::wstring&;
    return {
        {"roots", [](Server& s, Security u, Name l) { s.GetCategoryRoots(u, l, {}); }},
        {"sub-categories", [](Server& s, Security u,
                              Name l) { s.GetCategoriesByParent(u, l, TestGuid(40), true, {}); }},
        {"families",
         [](Server& s, Security u, Name l) { s.GetFamiliesByCategory(u, l, TestGuid(40), {}); }},
        {"categories",
         [](Server& s, Security u, Name l) { s.GetCategoriesByFamily(u, l, TestGuid(200)); }},
        {"parent", [](Server& s, Security u, Name l) { s.GetParentCategory(u, l, TestGuid(40)); }},
        {"all families", [](Server& s, Security u, Name l) { s.GetAllFamilies(u, l); }},
        {"category values",
         [key](Server& s, Security u, Name l) {
             s.GetCategoryPropertyValues(u, l, Ids({40}), key, L"en");
         }},
        {"family values",
         [key](Server& s, Security u, Name l) {
             s.GetFamilyPropertyValues(u, l, Ids({200}), key, L"en");
         }},
        {"parameter values",
         [key](Server& s, Security u, Name l) {
             s.GetCategoryParameterPropertyValues(u, l, Ids({60}), key, L"en");
         }},
        {"parameters", [](Server& s, Security u,
                          Name l) { s.GetCategoryParametersByCategory(u, l, TestGuid(40), true); }},
        {"related parameters",
         [](Server& s, Security u, Name l) {
             s.GetCategoryParametersByParameter(u, l, TestGuid(60));
         }},
        {"tree", [](Server& s, Security u,
                    Name l) { s.GetCategoryTreeByFamily(u, l, TestGuid(200), 0, L"en"); }},
        {"search", [query](Server& s, Security u, Name l) { s.Search(u, l, query, true); }},
        {"aspect",
         [](Server& s, Security u, Name l) {
             std::vector<std::uint8_t> bytes;
             s.GetFamilyAspect(u, l, TestGuid(200), L"FamilyDocument", L"", bytes);
         }},
    };
}

std::string FailureOf(const Call& call, VardelCatalog::CCatalogServer& server,
                      const SecurityContext& user, const std::wstring& library) {
    try {
        call(server, user, library);
    } catch (const ProxyError& error) {
        return error.what();
    }
    return "no failure";
}

using ServiceAccess = ServedCatalog;

TEST_F(ServiceAccess, RestrictedLibraryFailsLikeAMissingOneForOthers) {
    for (const auto& [name, call] : LibraryCalls()) {
        SCOPED_TRACE(name);
        EXPECT_NO_THROW(call(*server, alice, L"Secret"));
        const std::string missing = FailureOf(call, *server, alice, L"Nowhere");
        EXPECT_NE(missing, "no failure");
        EXPECT_EQ(FailureOf(call, *server, bob, L"Secret"), missing);
        EXPECT_EQ(FailureOf(call, *server, User(L"Alice"), L"Secret"), missing);
        EXPECT_EQ(FailureOf(call, *server, User(L""), L"Secret"), missing);
        EXPECT_EQ(missing.find("Secret"), std::string::npos);
    }
}

TEST_F(ServiceAccess, HostileLibraryNamesAreSimplyUnknown) {
    const Call roots = LibraryCalls().front().second;
    const std::string missing = FailureOf(roots, *server, bob, L"Nowhere");
    for (const wchar_t* name : {L"Fasteners' OR '1'='1", L"\"Fasteners\"", L"%", L"fasteners",
                                L"Fasteners; DROP TABLE library; --"}) {
        SCOPED_TRACE(VardelCommon::ToUtf8(name));
        EXPECT_EQ(FailureOf(roots, *server, bob, name), missing);
    }
    EXPECT_EQ(FailureOf(roots, *server, bob, std::wstring(L"Fasteners\0", 10)), missing);
    EXPECT_EQ(server->GetCategoryRoots(bob, fasteners, {}).size(), 3u);
}

TEST_F(ServiceAccess, LibraryLookupsFindOnlyReadableLibraries) {
    const Guid partition = server->CurrentPartitionId();
    EXPECT_EQ(partition.ToString(), VardelCommon::FromUtf8(VardelCatalog::kCatalogPartition));
    const std::vector<KnowledgeLibrary> mine = {{L"Secret", TestGuid(2)},
                                                {L"Fasteners", TestGuid(1)}};
    EXPECT_EQ(server->FindKnowledgeLibraries(alice, Ids({2, 999, 1}), partition), mine);
    EXPECT_EQ(server->FindKnowledgeLibraries(bob, Ids({2, 999, 1}), partition),
              std::vector<KnowledgeLibrary>({mine[1]}));
    EXPECT_TRUE(server->FindKnowledgeLibraries(alice, Ids({1, 2}), TestGuid(7)).empty());

    const std::vector<std::wstring> names = {L"Secret", L"x' OR 1=1 --", L"Fasteners"};
    EXPECT_EQ(server->FindKnowledgeLibrariesByNames(alice, names),
              (std::vector<KnowledgeLibrary>{mine[0], {L"x' OR 1=1 --", Guid()}, mine[1]}));
    EXPECT_EQ(
        server->FindKnowledgeLibrariesByNames(bob, names),
        (std::vector<KnowledgeLibrary>{{L"Secret", Guid()}, {L"x' OR 1=1 --", Guid()}, mine[1]}));
}

TEST_F(ServiceAccess, ConcurrentCallersGetConsistentAnswers) {
    const auto name = std::vector{*Guid::Parse(Vardel::Constants::FAM_DISPLAYNAME)};
    std::vector<std::thread> threads;
    std::atomic<int> wrong = 0;
    for (unsigned t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            const auto nodes = Ids({t % 2 == 0 ? 100u : 104u});
            const std::wstring expected = t % 2 == 0 ? L"Hex bolt" : L"Bolt 104";
            for (int i = 0; i < 50; ++i) {
                const auto values =
                    server->GetFamilyPropertyValues(bob, fasteners, nodes, name, L"en");
                wrong += values.size() != 1 || values[0] != expected;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, 0);
}

TEST(ServiceOpen, RefusesWhatIsNoCatalogueOfThisFormat) {
    TempFolder folder;
    const auto path = [&](const char* name) { return folder.path() / name; };
    std::ofstream(path("text")) << "hello, this is no database";
    std::ofstream(path("empty"));
    VardelCatalog::CreateSqliteDatabase(path("plain"))->Execute("CREATE TABLE t (x INTEGER)");
    VardelCatalog::CreateSqliteDatabase(path("future"))
        ->Execute(
            "CREATE TABLE catalog_info (name TEXT PRIMARY KEY, value TEXT NOT NULL);"
            " INSERT INTO catalog_info VALUES ('format', '99')");
    const struct {
        const char* file;
        const char* message;
    } cases[] = {
        {"missing", "no such catalogue file"},
        {"text", "not a catalogue"},
        {"empty", "not a catalogue"},
        {"plain", "not a catalogue file"},
        {"future", "format 99"},
        {".", "no such catalogue file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::string error;
        EXPECT_FALSE(VardelCatalog::CCatalogServer::Open(path(c.file), error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace VardelCatalogTest
