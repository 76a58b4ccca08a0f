// The favorites store on a large file: one set with N folders of 50 family
// favorites each, plus a removal per folder (10,000 favorites at N = 200).
// Measures libxml2's own parse of the file (the baseline, hence the one
// libxml2 include outside the XML layer) against XMLParser's load of it and
// the store's Load (parse and index); Save (rebuild in the writer's layout,
// where every folder's contents go into a modifier of their own, and the
// atomic write); one rename through StoreFavoritesEditResults with its save;
// and the listing of every folder's children through the browsing entry
// points, whose per-folder time should not grow with N. The backend answers
// instantly from values made before timing starts.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "refusing_backend.h"
#include "stores/favorites_store.h"
#include "vardel/app.h"
#include "vardel/browsing.h"
#include "vardel/constants.h"
#include "vardel/favorites.h"
#include "vardel/server_backend.h"

namespace {

namespace tsp = TarnServerProxies;

constexpr int kNodesPerFolder = 50;

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
    std::string File() const { return (path_ / "Favorites.xml").string(); }

  private:
    std::filesystem::path path_;
};

// Answers what listing favorites asks: library names and the version
// properties of the merge.
class InstantBackend : public VardelBench::RefusingBackend {
  public:
    tsp::PropertyValues GetFamilyPropertyValues(const SecurityContext&, const std::wstring&,
                                                const std::vector<tsp::Guid>& nodes,
                                                const std::vector<tsp::Guid>& keys,
                                                const std::wstring&) override {
        return tsp::PropertyValues(nodes.size() * keys.size(), std::optional<std::wstring>(L"1"));
    }
    tsp::Guid CurrentPartitionId() override { return {}; }
    std::vector<tsp::KnowledgeLibrary> FindKnowledgeLibraries(const SecurityContext&,
                                                              const std::vector<tsp::Guid>& ids,
                                                              const tsp::Guid&) override {
        return {{L"Lib", ids.at(0)}};
    }
};

// A favorites context over `storage`, with the backend attached while it lives.
class FavoritesSession {
  public:
    explicit FavoritesSession(const Storage& storage) {
        CVardelApp::Instance().AttachBackend(std::make_shared<InstantBackend>());
        const Vardel::SSecurityContext security;
        const std::wstring path = storage.Path();
        ok_ = context_.Initialize(Vardel::FavoritesBrowsing, &libraries_, nullptr, L"en-US",
                                  &security, path.c_str()) == S_OK;
        std::vector<Vardel::CBrowseId> roots;
        ok_ = ok_ && Vardel::GetFoldersRoots(&context_, roots) == S_OK && roots.size() == 1 &&
              Vardel::GetSubFolders(&context_, roots[0], folders_) == S_OK;
    }
    ~FavoritesSession() { CVardelApp::Instance().AttachBackend(nullptr); }
    FavoritesSession(const FavoritesSession&) = delete;
    FavoritesSession& operator=(const FavoritesSession&) = delete;

    bool ok() const { return ok_; }
    const Vardel::CContext& context() const { return context_; }
    const std::vector<Vardel::CBrowseId>& folders() const { return folders_; }

  private:
    const std::list<std::wstring> libraries_ = {L"Lib"};
    Vardel::CContext context_;
    std::vector<Vardel::CBrowseId> folders_;
    bool ok_ = false;
};

std::int64_t Entries(const benchmark::State& state) {
    return state.range(0) * kNodesPerFolder;
}

void BM_Libxml2ParseFile(benchmark::State& state) {
    const Storage storage(static_cast<int>(state.range(0)));
    const std::string file = storage.File();
    for (auto _ : state) {
        xmlDocPtr doc = xmlReadFile(file.c_str(), nullptr, XML_PARSE_NONET);
        benchmark::DoNotOptimize(doc);
        xmlFreeDoc(doc);
    }
    state.SetItemsProcessed(state.iterations() * Entries(state));
}

void BM_XmlParserLoad(benchmark::State& state) {
    const Storage storage(static_cast<int>(state.range(0)));
    const std::wstring file = storage.Path() + L"/Favorites.xml";
    XMLParser parser;
    for (auto _ : state) {
        benchmark::DoNotOptimize(parser.LoadXmlDocument(file.c_str()));
    }
    state.SetItemsProcessed(state.iterations() * Entries(state));
}

void BM_FavoritesLoad(benchmark::State& state) {
    const Storage storage(static_cast<int>(state.range(0)));
    auto store = CFavoritesData::Initialize(storage.Path());
    for (auto _ : state) {
        store->Load();
        benchmark::DoNotOptimize(store->Index().size());
    }
    state.SetItemsProcessed(state.iterations() * Entries(state));
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
    state.SetItemsProcessed(state.iterations() * Entries(state));
}

// One folder renamed per iteration (a new name each time, so every rename
// changes something and saves).
void BM_FavoritesRenameAndSave(benchmark::State& state) {
    const Storage storage(static_cast<int>(state.range(0)));
    const FavoritesSession session(storage);
    if (!session.ok()) {
        state.SkipWithError("no favorites");
        return;
    }
    int round = 0;
    for (auto _ : state) {
        const std::wstring text =
            L"<e><Folder NewName=\"Renamed " + std::to_wstring(++round) + L"\"/></e>";
        bool changed = false;
        if (Vardel::StoreFavoritesEditResults(&session.context(), {session.folders().front()},
                                              text.c_str(), Vardel::FavoriteRename,
                                              changed) != S_OK ||
            !changed) {
            state.SkipWithError("rename failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * Entries(state));
}

// Every folder's children, one GetChildItems per folder.
void BM_FavoritesListEveryFolder(benchmark::State& state) {
    const Storage storage(static_cast<int>(state.range(0)));
    const FavoritesSession session(storage);
    if (!session.ok() || session.folders().size() != static_cast<std::size_t>(state.range(0))) {
        state.SkipWithError("no favorites");
        return;
    }
    for (auto _ : state) {
        for (const Vardel::CBrowseId& folder : session.folders()) {
            std::vector<Vardel::CBrowseId> items;
            if (Vardel::GetChildItems(&session.context(), folder, items) != S_OK ||
                items.size() != kNodesPerFolder - 1) {
                state.SkipWithError("unexpected children");
                return;
            }
            benchmark::DoNotOptimize(items.data());
        }
    }
    state.counters["per_folder"] = benchmark::Counter(
        static_cast<double>(state.range(0)),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_Libxml2ParseFile)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlParserLoad)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FavoritesLoad)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FavoritesSave)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FavoritesRenameAndSave)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FavoritesListEveryFolder)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace
