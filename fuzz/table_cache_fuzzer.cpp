// Fuzz target: the table cache file. The input becomes the cache file of a
// scratch folder, read by a value store with a fixed locale identifier; the
// store is changed a little and saved. Any input must load without a crash
// or a hang, and what the store saves must load back whole with the same
// values.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/wide_path.h"
#include "eval/value_store.h"

namespace {

constexpr std::uint32_t kLocale = 1033;
const std::vector<std::wstring> kColumns = {L"A", L"B", L"C"};

// A folder of this process, removed at exit. In memory where possible:
// every save syncs its file, which a disk makes slow.
class Scratch {
  public:
    Scratch() {
        std::error_code error;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "vardel-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            __builtin_trap();
        }
        path_ = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// The values of a few cells that the seed files use, as one text.
std::wstring Probe(const CValueStore& store) {
    std::wstring probe;
    for (const wchar_t* row : {L"r1", L"r2", L"r3"}) {
        for (const std::wstring& column : kColumns) {
            for (const wchar_t* language : {L"en", L"de"}) {
                std::wstring value;
                const int found = store.GetValue(row, column, language, value);
                probe += found == 0 ? value + L'|' : L"-|";
            }
        }
    }
    return probe;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Scratch scratch;
    const std::wstring folder = VardelCommon::FromPath(scratch.path());
    {
        std::ofstream file(scratch.path() / "TableCache_1033.dat",
                           std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!file) {
            __builtin_trap();
        }
    }
    CValueStore store(folder, kLocale);
    store.SetValue(L"r1", L"A", L"en", L"fuzz");
    store.ClearColumn(L"B");
    store.DropRow(L"r2");
    const std::wstring before = Probe(store);
    store.Save(kColumns);

    CValueStore reloaded(folder, kLocale);
    if (!reloaded.Load() || Probe(reloaded) != before) {
        __builtin_trap();
    }
    return 0;
}
