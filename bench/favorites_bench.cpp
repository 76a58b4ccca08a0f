// The favorites store on a large file: one set with N folders of 20 family
// favorites each, plus a removal per folder. Measures Load (parse and index)
// and Save (rebuild in the writer's layout, where every folder's contents go
// into a modifier of their own, and the atomic write).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "stores/favorites_store.h"

namespace {

constexpr int kNodesPerFolder = 20;

std::string FavoritesText(int folders) {
    // Built by appending only: GCC 12 at -O3 warns falsely on literal + string.
    std::string text = "<Root><ConfiguredFavorites><ActiveFavorite Name=\"Home\"/>";
    text += "<Favorites Name=\"Home\" InternalName=\"S\">";
    for (int f = 0; f < folders; ++f) {
        const std::string folder = std::to_string(f);
        text.append("<Folder InternalName=\"F").append(folder).append("\" Name=\"Folder ");
        text.append(folder).append("\">");
        for (int n = 0; n < kNodesPerFolder; ++n) {
            text.append("<Node InternalName=\"F").append(folder).append("N");
            text.append(std::to_string(n)).append("\" DisplayName=\"Bolt\" LibraryId=\"");
            text.append("00000000-0000-0000-0000-000000000001\" NodeId=\"");
            text.append("00000000-0000-0000-0000-00000000").append(std::to_string(1000 + n));
            text.append("\"><Member RowID=\"\"/></Node>");
        }
        text.append("<Item Remove=\"F").append(folder).append("N0\"/></Folder>");
    }
    text += "</Favorites></ConfiguredFavorites></Root>";
    return text;
}

// A storage folder holding the favorites of `folders` folders, removed at exit.
class Storage {
  public:
    explicit Storage(int folders)
        : path_(std::filesystem::temp_directory_path() / "vardel-favorites-bench") {
        path_ += std::to_string(::getpid());
        path_ += "-";
        path_ += std::to_string(folders);
        std::filesystem::create_directories(path_);
        std::ofstream(path_ / "Favorites.xml") << FavoritesText(folders);
    }
    ~Storage() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::wstring Path() const { return path_.wstring(); }

  private:
    std::filesystem::path path_;
};

void BM_FavoritesLoad(benchmark::State& state) {
    const Storage storage(static_cast<int>(state.range(0)));
    auto store = CFavoritesData::Initialize(storage.Path());
    for (auto _ : state) {
        store->Load();
        benchmark::DoNotOptimize(store->Index().size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * kNodesPerFolder);
}

void BM_FavoritesSave(benchmark::State& state) {
    const Storage storage(static_cast<int>(state.range(0)));
    auto store = CFavoritesData::Initialize(storage.Path());
    for (auto _ : state) {
        if (store->Save() != S_OK) {
            state.SkipWithError("save failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * kNodesPerFolder);
}

BENCHMARK(BM_FavoritesLoad)->Arg(10)->Arg(500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FavoritesSave)->Arg(10)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace
