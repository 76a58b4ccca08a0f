#include "stores/search_results_store.h"

#include <unordered_set>

#include "api/browse_id_impl.h"
#include "api/context_impl.h"
#include "common/archive.h"
#include "common/case_fold.h"
#include "stores/store_file.h"
#include "vardel/search.h"

namespace {

constexpr wchar_t kFileName[] = L"TarnSearch.bin";

void WriteEntry(const SSearchResultEntry& entry, VardelCommon::ArchiveWriter& writer) {
    writer.WriteString(entry.internalName);
    writer.WriteString(entry.memberId);
    writer.WriteUInt32(static_cast<std::uint32_t>(entry.properties.size()));
    for (const auto& [key, value] : entry.properties) {
        writer.WriteString(key);
        writer.WriteString(value);
    }
}

// Reads one entry; false at the first fault. A repeated key keeps its first value.
bool ReadEntry(VardelCommon::ArchiveReader& reader, SSearchResultEntry& entry) {
    std::uint32_t count = 0;
    if (!reader.ReadString(entry.internalName) || !reader.ReadString(entry.memberId) ||
        !reader.ReadUInt32(count)) {
        return false;
    }
    // Every pair needs bytes of its own, so a lying count ends at the end of the file.
    for (std::uint32_t i = 0; i < count; ++i) {
        std::wstring key;
        std::wstring value;
        if (!reader.ReadString(key) || !reader.ReadString(value)) {
            return false;
        }
        entry.properties.try_emplace(std::move(key), std::move(value));
    }
    return true;
}

// The entry that stands for `id`, when it names a node.
bool MakeEntry(const Vardel::CBrowseId& id, SSearchResultEntry& entry) {
    const CBrowseIdBaseImpl* node = VardelUtils::BrowseIdAccess::GetImpl(id);
    if (node == nullptr) {
        return false;
    }
    entry.internalName = node->GetInternalName();
    if (auto* family = VardelUtils::BrowseIdAccess::As<CBrowseFamilyIdImpl>(id)) {
        entry.memberId = family->GetMemberId();
        entry.properties = family->CachedProperties();
    }
    return true;
}

}  // namespace

std::unique_ptr<CSearchResultsData> CSearchResultsData::Initialize(
    const std::wstring& storagePath) {
    auto store = std::make_unique<CSearchResultsData>();
    store->filePath_ = VardelStores::StoreFilePath(storagePath, kFileName);
    (void)store->Load();
    return store;
}

HRESULT CSearchResultsData::Load() {
    entries_.clear();
    std::string bytes;
    if (!VardelStores::ReadStoreFile(filePath_, bytes)) {
        return S_OK;
    }
    VardelCommon::ArchiveReader reader(VardelStores::AsBytes(bytes));
    std::uint32_t count = 0;
    if (!reader.ReadUInt32(count) || !reader.ReadInt64(timeStamp_)) {
        return E_FAIL;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        SSearchResultEntry entry;
        if (!ReadEntry(reader, entry)) {
            return E_FAIL;
        }
        entries_.push_back(std::move(entry));
    }
    return S_OK;
}

HRESULT CSearchResultsData::Save() {
    if (filePath_.empty()) {
        return E_FAIL;
    }
    VardelCommon::ArchiveWriter writer;
    writer.WriteUInt32(static_cast<std::uint32_t>(entries_.size()));
    timeStamp_ = VardelStores::SecondsNow();
    writer.WriteInt64(timeStamp_);
    for (const SSearchResultEntry& entry : entries_) {
        WriteEntry(entry, writer);
    }
    return VardelStores::WriteStoreFile(filePath_, writer) ? S_OK : E_FAIL;
}

HRESULT CSearchResultsData::StoreResults(const std::vector<Vardel::CBrowseId>& ids, bool saveOnly) {
    if (!saveOnly) {
        entries_.clear();
        for (const Vardel::CBrowseId& id : ids) {
            SSearchResultEntry entry;
            if (MakeEntry(id, entry)) {
                entries_.push_back(std::move(entry));
            }
        }
    }
    return Save();
}

bool CSearchResultsData::ContainsItem(const std::wstring& id) const {
    for (const SSearchResultEntry& entry : entries_) {
        if (VardelCommon::EqualsNoCase(entry.internalName, id)) {
            return true;
        }
    }
    return false;
}

std::vector<std::wstring> CSearchResultsData::ItemIds() const {
    std::vector<std::wstring> ids;
    std::unordered_set<std::wstring> seen;
    for (const SSearchResultEntry& entry : entries_) {
        if (seen.insert(entry.internalName).second) {
            ids.push_back(entry.internalName);
        }
    }
    return ids;
}

namespace Vardel {

HRESULT StoreSearchResults(const CContext* ctx, const std::vector<CBrowseId>& ids, bool saveOnly) {
    ContextImpl* context = VardelUtils::FindContextImpl(ctx);
    if (context == nullptr || context->GetBrowsingType() != SearchBrowsing) {
        return E_INVALIDARG;
    }
    CSearchResultsData* store = context->GetSearchResultsData();
    if (store == nullptr) {
        return E_INVALIDARG;
    }
    return store->StoreResults(ids, saveOnly);
}

}  // namespace Vardel
