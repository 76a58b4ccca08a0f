// The family table on a generated family of N rows by 30 columns (about
// 6 MB at 5,000 rows), laid out as a formatted save lays it out.
//
// Load: libxml2's own parse of the UTF-8 bytes with blank text dropped,
// short texts kept in their nodes (as the library parses) and the document
// freed (the baseline, hence the one libxml2 include outside
// the XML layer) against constructing a CEncapFamily from the same document
// as wide text (conversion, parse, columns, rows, no cache file) and
// destroying it. The other measures run on one loaded family: reading every
// raw cell, writing one cell of every row, deleting and inserting 100 rows
// spread over the table (the size stays the same), and saving the family
// document to a file.
//
// Reading and writing cells also run "cold": before each timed pass a
// 64 MB buffer (twice this machine's last-level cache) is walked outside
// the timing, so every pass finds the rows out of the caches, as an edit
// after other work does. Warm passes over 5,000 rows keep them cached
// from the pass before, which 20,000 rows cannot; the cold variant shows
// how the work itself grows with the table.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/utf8.h"
#include "family/family_text.h"
#include "vardel/family.h"

namespace {

// "RID" and 29 number columns.
const std::wstring& CachedText(int rows) {
    return VardelBench::FamilyText(rows, 29);
}

std::unique_ptr<CEncapFamily> LoadFamily(int rows) {
    return std::make_unique<CEncapFamily>(CachedText(rows).c_str(), std::vector<std::wstring>{},
                                          L"", nullptr, L"en-US", false);
}

void BM_Libxml2ParseNoBlanks(benchmark::State& state) {
    const std::string bytes = VardelCommon::ToUtf8(CachedText(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        xmlDocPtr doc =
            xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, "UTF-8",
                          XML_PARSE_NOBLANKS | XML_PARSE_NONET | XML_PARSE_COMPACT);
        benchmark::DoNotOptimize(doc);
        xmlFreeDoc(doc);
    }
    state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
}

void BM_FamilyLoad(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    CachedText(rows);
    for (auto _ : state) {
        auto family = LoadFamily(rows);
        benchmark::DoNotOptimize(family->GetEncapFamilyTable());
    }
}

// Walks a buffer larger than the last-level cache, evicting the rows.
void EvictCaches(benchmark::State& state) {
    static std::vector<char> buffer(64 << 20);
    state.PauseTiming();
    for (std::size_t i = 0; i < buffer.size(); i += 64)
        ++buffer[i];
    benchmark::DoNotOptimize(buffer.data());
    state.ResumeTiming();
}

void BM_ReadAllRawCells(benchmark::State& state, bool cold) {
    auto family = LoadFamily(static_cast<int>(state.range(0)));
    CEncapFamilyTable* table = family->GetEncapFamilyTable();
    const std::vector<std::wstring> rowIds = table->GetAllRowIDs();
    const std::vector<std::wstring> columnIds = table->GetAllColumnIDs();
    std::wstring value;
    for (auto _ : state) {
        if (cold)
            EvictCaches(state);
        std::size_t found = 0;
        for (const std::wstring& rowId : rowIds) {
            for (const std::wstring& columnId : columnIds) {
                if (table->GetRawValue(rowId, columnId, value) == 0)
                    ++found;
            }
        }
        benchmark::DoNotOptimize(found);
    }
    state.counters["cells"] = static_cast<double>(rowIds.size() * columnIds.size());
}

void BM_WriteOneCellPerRow(benchmark::State& state, bool cold) {
    auto family = LoadFamily(static_cast<int>(state.range(0)));
    CEncapFamilyTable* table = family->GetEncapFamilyTable();
    const std::vector<std::wstring> rowIds = table->GetAllRowIDs();
    int round = 0;
    for (auto _ : state) {
        if (cold)
            EvictCaches(state);
        const std::wstring value = std::to_wstring(++round) + L".5";
        for (const std::wstring& rowId : rowIds) {
            table->SetValue(rowId, L"C7", value, false);
        }
    }
}

void BM_DeleteAndInsert100Rows(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    auto family = LoadFamily(rows);
    CEncapFamilyTable* table = family->GetEncapFamilyTable();
    const int stride = rows / 100;
    for (auto _ : state) {
        for (int i = 99; i >= 0; --i) {
            table->DeleteRow(i * stride);
        }
        for (int i = 0; i < 100; ++i) {
            table->InsertNewRow(i * stride, L"");
        }
    }
    state.counters["rows"] = table->GetRowsCount();
}

void BM_SaveFamily(benchmark::State& state) {
    auto family = LoadFamily(static_cast<int>(state.range(0)));
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "vardel-family-bench.xml";
    for (auto _ : state) {
        benchmark::DoNotOptimize(family->SaveFamilyXML(file.wstring().c_str()));
    }
    std::filesystem::remove(file);
}

}  // namespace

BENCHMARK(BM_Libxml2ParseNoBlanks)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FamilyLoad)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
// Reading and writing cells run at two more sizes, to show how their cost
// per row rises as the rows they touch outgrow the processor's caches.
BENCHMARK_CAPTURE(BM_ReadAllRawCells, warm, false)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadAllRawCells, cold, true)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WriteOneCellPerRow, warm, false)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WriteOneCellPerRow, cold, true)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteAndInsert100Rows)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveFamily)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
