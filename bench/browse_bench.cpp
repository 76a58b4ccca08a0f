// Browsing a large category: GetChildItems, then GetItemsProperties (display
// name, icon, last-modified) of every family found, in a context of three
// libraries. The category holds N families spread over the libraries, a
// third of them in two libraries, so the merge has copies to choose from.
// The backend answers instantly: the member lists are made before timing
// starts and property values are composed per request.
//
// Counters: seconds per family (should stay flat as N grows) and the most
// backend calls any one library got during one operation.
#include <benchmark/benchmark.h>

#include <array>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "api/browse_id_factory.h"
#include "refusing_backend.h"
#include "vardel/app.h"
#include "vardel/browsing.h"
#include "vardel/constants.h"
#include "vardel/properties.h"
#include "vardel/server_backend.h"

namespace {

namespace tsp = TarnServerProxies;
using tsp::Guid;

const std::array<std::wstring, 3> kLibraries = {L"Inch", L"Metric", L"Shared"};
constexpr std::uint8_t kFamilyTag = 0x10;
constexpr std::uint8_t kCategoryTag = 0x20;

// A GUID naming node `index` of a kind: scrambled leading bytes, as the
// random GUIDs of a server have, and the index in the last four bytes.
Guid NodeGuid(std::uint8_t tag, std::uint32_t index) {
    Guid guid;
    std::uint64_t mixed = (index + 1) * 0x9E3779B97F4A7C15ull;
    for (std::size_t i = 0; i < 8; ++i, mixed >>= 8) {
        guid.bytes[i] = static_cast<std::uint8_t>(mixed);
    }
    guid.bytes[8] = tag;
    for (std::size_t i = 0; i < 4; ++i) {
        guid.bytes[15 - i] = static_cast<std::uint8_t>(index >> (8 * i));
    }
    return guid;
}

std::uint32_t IndexOf(const Guid& guid) {
    std::uint32_t index = 0;
    for (std::size_t i = 12; i < 16; ++i) {
        index = (index << 8) | guid.bytes[i];
    }
    return index;
}

// Answers the two calls this benchmark makes; counts calls per library.
class InstantBackend : public VardelBench::RefusingBackend {
  public:
    explicit InstantBackend(std::uint32_t families) {
        using namespace Vardel::Constants;
        keys_ = {Guid::Parse(FAM_DISPLAYNAME).value(), Guid::Parse(FAM_ICON).value(),
                 Guid::Parse(FAM_LASTMODTIME).value(), Guid::Parse(FAM_REVGUID).value()};
        for (std::uint32_t i = 0; i < families; ++i) {
            const std::size_t home = i % 3;
            members_[kLibraries[home]].push_back(NodeGuid(kFamilyTag, i));
            if (i % 3 == 1) {  // a third of the families also live in the next library
                members_[kLibraries[(home + 1) % 3]].push_back(NodeGuid(kFamilyTag, i));
            }
        }
    }

    std::map<std::wstring, int> calls;

    std::vector<Guid> GetFamiliesByCategory(const SecurityContext&, const std::wstring& library,
                                            const Guid&, const tsp::Content::DBFilter&) override {
        ++calls[library];
        return members_[library];
    }
    tsp::PropertyValues GetFamilyPropertyValues(const SecurityContext&, const std::wstring& library,
                                                const std::vector<Guid>& nodes,
                                                const std::vector<Guid>& keys,
                                                const std::wstring&) override {
        ++calls[library];
        tsp::PropertyValues answer;
        answer.reserve(nodes.size() * keys.size());
        for (const Guid& node : nodes) {
            const std::wstring n = std::to_wstring(IndexOf(node));
            for (const Guid& key : keys) {
                answer.push_back(ValueOf(key, n));
            }
        }
        return answer;
    }

  private:
    // Composes the value of `key` for family number `n` into fresh memory, as
    // a reply decoded off the wire would be.
    std::optional<std::wstring> ValueOf(const Guid& key, const std::wstring& n) const {
        static const std::array<const wchar_t*, 4> kPrefixes = {L"Family ", L"icon-", L"2024-05-",
                                                                L"rev-"};
        for (std::size_t k = 0; k < keys_.size(); ++k) {
            if (keys_[k] == key) {
                return kPrefixes[k] + n;
            }
        }
        return std::nullopt;
    }

    std::array<Guid, 4> keys_;
    std::map<std::wstring, std::vector<Guid>> members_;
};

int MostCalls(const std::map<std::wstring, int>& calls) {
    int most = 0;
    for (const auto& entry : calls) {
        most = std::max(most, entry.second);
    }
    return most;
}

void BM_ChildItemsThenProperties(benchmark::State& state) {
    const auto families = static_cast<std::uint32_t>(state.range(0));
    auto backend = std::make_shared<InstantBackend>(families);
    CVardelApp::Instance().AttachBackend(backend);

    const std::list<std::wstring> libraries(kLibraries.begin(), kLibraries.end());
    Vardel::SSecurityContext security;
    Vardel::CContext context;
    if (context.Initialize(Vardel::LibraryBrowsing, &libraries, nullptr, L"en-US", &security,
                           nullptr) != S_OK) {
        state.SkipWithError("context");
        return;
    }
    const Vardel::CBrowseId category = VardelUtils::CreateCategoryId(
        &context, NodeGuid(kCategoryTag, 1).ToString(), {kLibraries.begin(), kLibraries.end()});
    const std::vector<std::wstring> keys = {Vardel::Constants::FAM_DISPLAYNAME,
                                            Vardel::Constants::FAM_ICON,
                                            Vardel::Constants::FAM_LASTMODTIME};
    int childCalls = 0;
    int propertyCalls = 0;
    for (auto _ : state) {
        std::vector<Vardel::CBrowseId> items;
        std::vector<Vardel::ReturnValue> values;
        backend->calls.clear();
        const HRESULT listed = Vardel::GetChildItems(&context, category, items);
        childCalls = std::max(childCalls, MostCalls(backend->calls));
        backend->calls.clear();
        const HRESULT read = Vardel::GetItemsProperties(&context, items, keys, values);
        propertyCalls = std::max(propertyCalls, MostCalls(backend->calls));
        if (listed != S_OK || read != S_OK || items.size() != families ||
            values.size() != families * keys.size()) {
            state.SkipWithError("unexpected answer");
            break;
        }
        benchmark::DoNotOptimize(values.data());
    }
    state.counters["per_family"] = benchmark::Counter(
        families, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["calls_per_library_GetChildItems"] = childCalls;
    state.counters["calls_per_library_GetItemsProperties"] = propertyCalls;
    CVardelApp::Instance().AttachBackend(nullptr);
}

}  // namespace

BENCHMARK(BM_ChildItemsThenProperties)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond);
