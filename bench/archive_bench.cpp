// Writes and reads N archive strings; the complexity fit shows whether the
// codec stays linear in the number of strings.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "common/archive.h"

namespace {

// Identifier-like strings of the size the stores hold, with one character
// outside the BMP so the surrogate-pair path is part of the measurement.
std::vector<std::wstring> MakeStrings(std::size_t count) {
    std::vector<std::wstring> strings;
    strings.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        strings.push_back(L"3f2504e0-4f89-11d3-9a0c-" + std::to_wstring(i) + L"\U0001F600");
    }
    return strings;
}

void BM_ArchiveWriteRead(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const std::vector<std::wstring> strings = MakeStrings(count);
    for (auto _ : state) {
        VardelCommon::ArchiveWriter writer;
        for (const std::wstring& text : strings) {
            writer.WriteString(text);
            writer.WriteInt64(0);
        }
        VardelCommon::ArchiveReader reader(writer.Bytes());
        std::wstring text;
        std::int64_t time = 0;
        for (std::size_t i = 0; i < count; ++i) {
            reader.ReadString(text);
            reader.ReadInt64(time);
        }
        benchmark::DoNotOptimize(text);
        if (reader.Failed()) {
            state.SkipWithError("archive did not read back");
        }
    }
    state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_ArchiveWriteRead)->RangeMultiplier(10)->Range(1000, 100000)->Complexity(benchmark::oN);

}  // namespace
