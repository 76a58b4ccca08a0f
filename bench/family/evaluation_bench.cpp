// Evaluation of a family table on a generated family of N rows by 30
// columns: "RID", 19 number columns in "mm" with a cell in every row, and 10
// formula columns whose column-wide formulas refer to other columns in
// chains three deep (three number chains and a text column joining a number
// column with the end of the first chain); rows have no cells of their own
// for the formula columns. Every measure starts from the same wide family
// text, builds the family with a new CReferenceEvaluatorProvider, the cache
// folder below, the language "en-US" and no localised decimal separator,
// and destroys the family (and with it the provider) inside the timing. No
// measure pauses its timing: the allocator returns memory that one round
// freed during the next round's allocations, and every measure pays that
// alike.
//
// Load: construct and destroy over an empty cache folder, no cell read.
// Cold: the same, with the table's GetEvaluatedXml (every cell evaluated,
// the evaluated table as text) before the destruction, which then writes
// the table cache file; the file is then removed (one unlink, timed) so
// that each round starts empty. Per cell counts all N x 30 cells. Warm: the
// cache folder holds the file that one earlier unedited opening wrote after
// its GetEvaluatedXml; construct (the file is read), GetEvaluatedXml (every
// value comes from the cache, so the destruction writes nothing), destroy.
// Warm construction: the same without GetEvaluatedXml. Warm text only: the
// GetEvaluatedXml of Warm alone, repeated on one opening. Warm over load: a
// Load and a Warm round timed in pairs (see BM_WarmOverLoad), for the ratio
// of the two. Cold reads: as
// Cold, but every cell read through the table's GetValue instead, row after
// row or one column after another (the order in which a host fills a grid
// column by column).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/user_locale.h"
#include "family/family_text.h"
#include "vardel/family.h"
#include "vardel/reference_evaluator_provider.h"

namespace {

constexpr int kPlainColumns = 19;

using VardelBench::FormulaColumn;

constexpr FormulaColumn kFormulaColumns[] = {
    {L"F1", L"double", L"{C1}*2+{C2}"},
    {L"F2", L"double", L"{F1}+{C3}"},
    {L"F3", L"double", L"{F2}/2"},
    {L"F4", L"double", L"{C4}+{C5}*3"},
    {L"F5", L"double", L"{F4}-{C6}"},
    {L"F6", L"double", L"{F5}*1.5"},
    {L"F7", L"double", L"{C7}/4+{C8}"},
    {L"F8", L"double", L"{F7}+{C9}-{C10}"},
    {L"F9", L"double", L"{F8}*0.5"},
    {L"F10", L"string", L"&quot;M&quot; &amp; {C1} &amp; &quot;x&quot; &amp; {F3}"},
};

const std::wstring& CachedText(int rows) {
    return VardelBench::FamilyText(rows, kPlainColumns, kFormulaColumns);
}

// A cache folder of its own per measure, emptied on creation and removal.
class CacheFolder {
  public:
    explicit CacheFolder(const char* name) : path_(std::filesystem::temp_directory_path() / name) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    CacheFolder(const CacheFolder&) = delete;
    CacheFolder& operator=(const CacheFolder&) = delete;
    ~CacheFolder() { std::filesystem::remove_all(path_); }

    std::wstring Path() const { return path_.wstring(); }
    // The table cache file a family writes here: one unlink, no directory
    // scan, so that it costs next to nothing inside a timing.
    void RemoveCacheFile() const {
        std::filesystem::remove(
            path_ /
            ("TableCache_" + std::to_string(VardelCommon::GetUserLocale().localeId) + ".dat"));
    }

  private:
    std::filesystem::path path_;
};

std::unique_ptr<CEncapFamily> OpenFamily(int rows, const std::wstring& cacheFolder) {
    return std::make_unique<CEncapFamily>(CachedText(rows).c_str(), std::vector<std::wstring>{},
                                          cacheFolder.c_str(), new CReferenceEvaluatorProvider(),
                                          L"en-US", false);
}

// The table with every cell evaluated, as the host asks for it; the length
// of the text, or 0 when it failed.
std::size_t EvaluateAll(CEncapFamilyTable& table) {
    std::wstring xml;
    return table.GetEvaluatedXml(xml) ? xml.size() : 0;
}

// Every cell read through GetValue, row after row or column after column;
// the number of cells that failed.
std::size_t ReadAll(CEncapFamilyTable& table, bool columnAfterColumn) {
    std::size_t failed = 0;
    std::wstring value;
    const auto read = [&](const std::wstring& rowId, const std::wstring& columnId) {
        failed += table.GetValue(rowId, columnId, value) != 0 ? 1U : 0U;
    };
    const std::vector<std::wstring>& rowIds = table.GetAllRowIDs();
    const std::vector<std::wstring>& columnIds = table.GetAllColumnIDs();
    if (columnAfterColumn) {
        for (const std::wstring& columnId : columnIds) {
            for (const std::wstring& rowId : rowIds) {
                read(rowId, columnId);
            }
        }
    } else {
        for (const std::wstring& rowId : rowIds) {
            for (const std::wstring& columnId : columnIds) {
                read(rowId, columnId);
            }
        }
    }
    return failed;
}

// Time per cell, all rows x 30 columns counted.
void CountCells(benchmark::State& state, int rows) {
    const double cells = rows * (1.0 + kPlainColumns + std::size(kFormulaColumns));
    state.counters["cells"] = cells;
    state.counters["per_cell"] = benchmark::Counter(
        cells, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Load(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    CachedText(rows);
    const CacheFolder folder("vardel-eval-bench-load");
    for (auto _ : state) {
        auto family = OpenFamily(rows, folder.Path());
        benchmark::DoNotOptimize(family->GetEncapFamilyTable());
    }
}

void BM_ColdEvaluation(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    CachedText(rows);
    const CacheFolder folder("vardel-eval-bench-cold");
    std::size_t length = 0;
    for (auto _ : state) {
        {
            auto family = OpenFamily(rows, folder.Path());
            length = EvaluateAll(*family->GetEncapFamilyTable());
        }
        folder.RemoveCacheFile();
    }
    CountCells(state, rows);
    state.counters["MB"] = static_cast<double>(length) / 1e6;
}

// Writes the cache file of one unedited opening that evaluated every cell.
void WarmUp(int rows, const CacheFolder& folder) {
    auto family = OpenFamily(rows, folder.Path());
    EvaluateAll(*family->GetEncapFamilyTable());
}

void BM_WarmEvaluation(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const CacheFolder folder("vardel-eval-bench-warm");
    WarmUp(rows, folder);
    std::size_t length = 0;
    for (auto _ : state) {
        auto family = OpenFamily(rows, folder.Path());
        length = EvaluateAll(*family->GetEncapFamilyTable());
    }
    CountCells(state, rows);
    state.counters["MB"] = static_cast<double>(length) / 1e6;
}

void BM_WarmConstruction(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const CacheFolder folder("vardel-eval-bench-warm-construction");
    WarmUp(rows, folder);
    for (auto _ : state) {
        auto family = OpenFamily(rows, folder.Path());
        benchmark::DoNotOptimize(family->GetEncapFamilyTable());
    }
}

// The part of Warm after construction alone: GetEvaluatedXml again and
// again on one warm opening (every value in the cache, nothing computed).
void BM_WarmTextOnly(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const CacheFolder folder("vardel-eval-bench-warm-text");
    WarmUp(rows, folder);
    auto family = OpenFamily(rows, folder.Path());
    std::size_t length = 0;
    for (auto _ : state) {
        length = EvaluateAll(*family->GetEncapFamilyTable());
    }
    CountCells(state, rows);
    state.counters["MB"] = static_cast<double>(length) / 1e6;
}

// Warm against Load on a machine whose speed drifts: every iteration times
// one round of Load and one of Warm back to back, in turns which goes
// first, each over its own cache folder as above; the counter is the median
// of the iterations' ratios (Warm / Load), the time that of both rounds.
void BM_WarmOverLoad(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const int rows = static_cast<int>(state.range(0));
    const CacheFolder empty("vardel-eval-bench-ratio-load");
    const CacheFolder warm("vardel-eval-bench-ratio-warm");
    WarmUp(rows, warm);
    const auto load = [&] {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(OpenFamily(rows, empty.Path())->GetEncapFamilyTable());
        return Clock::now() - start;
    };
    const auto reopen = [&] {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(
            EvaluateAll(*OpenFamily(rows, warm.Path())->GetEncapFamilyTable()));
        return Clock::now() - start;
    };
    std::vector<double> ratios;
    for (auto _ : state) {
        const bool loadFirst = ratios.size() % 2 == 0;
        const auto first = loadFirst ? load() : reopen();
        const auto second = loadFirst ? reopen() : load();
        const auto [loaded, reopened] =
            loadFirst ? std::pair(first, second) : std::pair(second, first);
        ratios.push_back(std::chrono::duration<double>(reopened) /
                         std::chrono::duration<double>(loaded));
    }
    std::nth_element(ratios.begin(),
                     ratios.begin() + static_cast<std::ptrdiff_t>(ratios.size() / 2), ratios.end());
    state.counters["warm_over_load"] = ratios[ratios.size() / 2];
}

// Cold, every cell read through GetValue; the argument after the size
// picks the order: 0 row after row, 1 column after column.
void BM_ColdReads(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    CachedText(rows);
    const CacheFolder folder("vardel-eval-bench-reads");
    std::size_t failed = 0;
    for (auto _ : state) {
        {
            auto family = OpenFamily(rows, folder.Path());
            failed += ReadAll(*family->GetEncapFamilyTable(), state.range(1) != 0);
        }
        folder.RemoveCacheFile();
    }
    CountCells(state, rows);
    state.counters["failed"] = static_cast<double>(failed);
}

}  // namespace

BENCHMARK(BM_Load)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColdEvaluation)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WarmEvaluation)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WarmConstruction)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WarmTextOnly)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WarmOverLoad)->Arg(5000)->Arg(20000)->MinTime(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColdReads)
    ->ArgsProduct({{5000, 20000}, {0, 1}})
    ->ArgNames({"rows", "by_column"})
    ->Unit(benchmark::kMillisecond);
