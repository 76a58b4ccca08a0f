// The catalogue against hand-written SQL on the same file, at two sizes
// (N = 5,000 and 20,000 families of 10 members in three libraries, see
// catalog_generator.h), so that every cost can be checked to grow linearly.
//
// Import: ImportCatalog of the three generated source folders into a new
//   file (reading, checking, rendering family documents, storing, indexing,
//   renaming), the file removed after each run. Counter: members per second
//   of wall time: families are read on worker threads, so the main
//   thread's processor time would leave most of the work out.
// BrowseFullStack: GetChildItems of library 0's large category (N/2
//   families) in a context of the three libraries, then GetItemsProperties
//   of FAM_DISPLAYNAME for every family found: browsing face, bridge and
//   server, as a host does it. The browse id of the category is made once.
// BrowseHandSql: one prepared join on the same file returning the same
//   families' ids and display names, copied into wide strings as the full
//   stack hands them to its caller.
// SearchFullStack: Vardel::Search in a search context of the three
//   libraries for "d = 8 and l >= 30" with a member-id return: query
//   conversion, one server search per library, the answer's XML written and
//   parsed, the merge, one browse id per hit.
// SearchHandSql: per library one prepared join of the two member-value
//   conditions returning family id and row id of the same hits, copied into
//   wide strings.
#include <benchmark/benchmark.h>

#include <list>
#include <memory>
#include <string>
#include <vector>

#include "catalog/catalog_generator.h"
#include "common/utf8.h"
#include "store/sqlite_database.h"
#include "vardel/app.h"
#include "vardel/browsing.h"
#include "vardel/catalog/catalog_import.h"
#include "vardel/catalog/catalog_server.h"
#include "vardel/constants.h"
#include "vardel/properties.h"
#include "vardel/search.h"

namespace {

namespace fs = std::filesystem;
using VardelBench::CatalogOfSize;
using VardelBench::GeneratedCatalog;

void Import(benchmark::State& state) {
    const std::size_t families = static_cast<std::size_t>(state.range(0));
    const fs::path root = fs::temp_directory_path() / "vardel-bench-import";
    fs::remove_all(root);
    const GeneratedCatalog catalog = VardelBench::WriteSources(root / "sources", families);
    const fs::path output = root / "import.catalog";
    for (auto _ : state) {
        const auto result = VardelCatalog::ImportCatalog(catalog.sources, output);
        if (!result.ok) {
            state.SkipWithError(result.error.c_str());
            break;
        }
        state.PauseTiming();
        fs::remove(output);
        state.ResumeTiming();
    }
    state.counters["members/s"] = benchmark::Counter(static_cast<double>(catalog.members),
                                                     benchmark::Counter::kIsIterationInvariantRate);
    fs::remove_all(root);
}
BENCHMARK(Import)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();

// The generated catalogue attached as the content server, and a context of
// `type` over its three libraries.
struct Attached {
    explicit Attached(const GeneratedCatalog& catalog, Vardel::BrowsingStructureType type) {
        std::string error;
        server = VardelCatalog::CCatalogServer::Open(catalog.file, error);
        if (!server) {
            throw std::runtime_error(error);
        }
        CVardelApp::Instance().AttachBackend(server);
        const std::list<std::wstring> libraries(catalog.libraries.begin(), catalog.libraries.end());
        Vardel::SSecurityContext security;
        security.text1 = L"bench";
        const Vardel::FilterStruct filter;
        storage = fs::temp_directory_path() / "vardel-bench-store";
        fs::create_directories(storage);
        context.Initialize(type, &libraries, &filter, L"en-US", &security,
                           storage.wstring().c_str());
    }
    ~Attached() { CVardelApp::Instance().AttachBackend(nullptr); }

    std::shared_ptr<VardelCatalog::CCatalogServer> server;
    fs::path storage;
    Vardel::CContext context;
};

void BrowseFullStack(benchmark::State& state) {
    const GeneratedCatalog& catalog = CatalogOfSize(static_cast<std::size_t>(state.range(0)));
    Attached attached(catalog, Vardel::LibraryBrowsing);
    Vardel::CBrowseId category;
    Vardel::CreateFolderBrowseId(&attached.context, catalog.largeCategory, category);
    const std::vector<std::wstring> keys = {Vardel::Constants::FAM_DISPLAYNAME};
    for (auto _ : state) {
        std::vector<Vardel::CBrowseId> families;
        Vardel::GetChildItems(&attached.context, category, families);
        std::vector<Vardel::ReturnValue> names;
        Vardel::GetItemsProperties(&attached.context, families, keys, names);
        if (names.size() != catalog.families / 2) {
            state.SkipWithError("wrong number of families");
            break;
        }
        benchmark::DoNotOptimize(names.data());
    }
    state.counters["families"] = static_cast<double>(catalog.families / 2);
}
BENCHMARK(BrowseFullStack)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

void BrowseHandSql(benchmark::State& state) {
    const GeneratedCatalog& catalog = CatalogOfSize(static_cast<std::size_t>(state.range(0)));
    auto database = VardelCatalog::OpenSqliteDatabase(catalog.file);
    auto statement = database->Prepare(
        "SELECT f.guid, n.display_name FROM category c"
        " JOIN family_category fc ON fc.category_id = c.id"
        " JOIN family f ON f.id = fc.family_id"
        " JOIN family_name n ON n.family_id = f.id AND n.language = ?"
        " WHERE c.library_id = (SELECT id FROM library WHERE name = ?) AND c.guid = ?");
    const std::string category = VardelCommon::ToUtf8(catalog.largeCategory);
    for (auto _ : state) {
        statement->BindText(1, "en-us");
        statement->BindText(2, "Library 0");
        statement->BindText(3, category);
        std::vector<std::pair<std::wstring, std::wstring>> rows;
        while (statement->Step()) {
            rows.emplace_back(VardelCommon::FromUtf8(statement->ColumnText(0)),
                              VardelCommon::FromUtf8(statement->ColumnText(1)));
        }
        statement->Reset();
        if (rows.size() != catalog.families / 2) {
            state.SkipWithError("wrong number of families");
            break;
        }
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BrowseHandSql)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

// "d = 8 and l >= 30", returning member ids as a host asks for them.
void AddSearchConstraints(Vardel::CSearchQueryData& query, const GeneratedCatalog& catalog) {
    const std::pair<const std::wstring*, const wchar_t*> conditions[] = {{&catalog.diameter, L"="},
                                                                         {&catalog.length, L">="}};
    const wchar_t* const values[] = {L"8", L"30"};
    for (std::size_t i = 0; i < 2; ++i) {
        auto* constraint = new Vardel::CSearchData(Vardel::CSearchData::SearchProperty);
        constraint->AddAttribute(L"InternalName", conditions[i].first->c_str());
        constraint->AddAttribute(L"Operator", conditions[i].second);
        constraint->AddProperty(L"Value", values[i], nullptr);
        query.AddConstraintData(constraint);
    }
    auto* member = new Vardel::CSearchData(Vardel::CSearchData::SearchMember);
    member->AddProperty(L"InternalName", L"member", &query);
    query.AddReturnsData(member);
}

// Hits of the generated data: 1 in 12 families has d = 8 (index 7 of the
// diameters), and 3 of its 10 members have l >= 30 (30, 35 and 40).
std::size_t ExpectedHits(const GeneratedCatalog& catalog) {
    std::size_t families = 0;
    for (std::size_t f = 0; f < catalog.families; ++f) {
        families += f % 12 == 7 ? 1 : 0;
    }
    return families * 3;
}

void SearchFullStack(benchmark::State& state) {
    const GeneratedCatalog& catalog = CatalogOfSize(static_cast<std::size_t>(state.range(0)));
    Attached attached(catalog, Vardel::SearchBrowsing);
    Vardel::CSearchQueryData query;
    AddSearchConstraints(query, catalog);
    for (auto _ : state) {
        std::vector<Vardel::CBrowseId> hits;
        Vardel::Search(&attached.context, &query, hits);
        if (hits.size() != ExpectedHits(catalog)) {
            state.SkipWithError("wrong number of hits");
            break;
        }
        benchmark::DoNotOptimize(hits.data());
    }
    state.counters["hits"] = static_cast<double>(ExpectedHits(catalog));
}
BENCHMARK(SearchFullStack)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

void SearchHandSql(benchmark::State& state) {
    const GeneratedCatalog& catalog = CatalogOfSize(static_cast<std::size_t>(state.range(0)));
    auto database = VardelCatalog::OpenSqliteDatabase(catalog.file);
    auto statement = database->Prepare(
        "SELECT f.guid, m.row_id FROM member_value a"
        " JOIN member_value b ON b.member_id = a.member_id AND b.parameter_id = ("
        "  SELECT p.id FROM parameter p JOIN library l ON l.id = p.library_id"
        "  WHERE l.name = ? AND p.guid = ?) AND b.number_value >= ?"
        " JOIN member m ON m.id = a.member_id JOIN family f ON f.id = m.family_id"
        " WHERE a.parameter_id = (SELECT p.id FROM parameter p JOIN library l"
        "  ON l.id = p.library_id WHERE l.name = ? AND p.guid = ?) AND a.number_value = ?");
    const std::string diameter = VardelCommon::ToUtf8(catalog.diameter);
    const std::string length = VardelCommon::ToUtf8(catalog.length);
    for (auto _ : state) {
        std::vector<std::pair<std::wstring, std::wstring>> rows;
        for (const std::wstring& library : catalog.libraries) {
            const std::string name = VardelCommon::ToUtf8(library);
            statement->BindText(1, name);
            statement->BindText(2, length);
            statement->BindDouble(3, 30);
            statement->BindText(4, name);
            statement->BindText(5, diameter);
            statement->BindDouble(6, 8);
            while (statement->Step()) {
                rows.emplace_back(VardelCommon::FromUtf8(statement->ColumnText(0)),
                                  VardelCommon::FromUtf8(statement->ColumnText(1)));
            }
            statement->Reset();
        }
        if (rows.size() != ExpectedHits(catalog)) {
            state.SkipWithError("wrong number of hits");
            break;
        }
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(SearchHandSql)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
