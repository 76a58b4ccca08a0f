#include "stores/history_store.h"

#include <span>

#include "api/context_impl.h"
#include "common/archive.h"
#include "common/case_fold.h"
#include "stores/store_file.h"
#include "vardel/history.h"

namespace {

constexpr wchar_t kFileName[] = L"History.bin";
constexpr wchar_t kTag[] = L"His1";
// The smallest item the archive can hold: a one-byte (narrow, empty) string
// and the 8-byte time. A count beyond remaining / this is a lying file.
constexpr std::size_t kMinItemBytes = 1 + 8;

VardelCommon::ArchiveWriter Encode(const std::list<SHistoryItem>& items) {
    VardelCommon::ArchiveWriter writer;
    writer.WriteString(kTag);
    writer.WriteUInt32(static_cast<std::uint32_t>(items.size()));
    for (const SHistoryItem& item : items) {
        writer.WriteString(item.itemId);
        writer.WriteInt64(item.time);
    }
    return writer;
}

bool Decode(std::span<const std::uint8_t> bytes, std::list<SHistoryItem>& items) {
    VardelCommon::ArchiveReader reader(bytes);
    std::wstring tag;
    std::uint32_t count = 0;
    if (!reader.ReadString(tag) || !reader.ReadUInt32(count) ||
        count > reader.Remaining() / kMinItemBytes) {
        return false;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        SHistoryItem item;
        if (!reader.ReadString(item.itemId) || !reader.ReadInt64(item.time)) {
            return false;
        }
        items.push_back(std::move(item));
    }
    return true;
}

}  // namespace

std::unique_ptr<CHistoryData> CHistoryData::Initialize(const std::wstring& storagePath) {
    auto store = std::make_unique<CHistoryData>();
    store->filePath_ = VardelStores::StoreFilePath(storagePath, kFileName);
    (void)store->Load();
    return store;
}

HRESULT CHistoryData::Load() {
    items_.clear();
    std::string bytes;
    if (!VardelStores::ReadStoreFile(filePath_, bytes)) {
        return S_OK;
    }
    std::list<SHistoryItem> loaded;
    if (!Decode(VardelStores::AsBytes(bytes), loaded)) {
        return E_FAIL;
    }
    items_ = std::move(loaded);
    return S_OK;
}

HRESULT CHistoryData::Save() const {
    return VardelStores::WriteStoreFile(filePath_, Encode(items_)) ? S_OK : E_FAIL;
}

void CHistoryData::AddItem(const std::wstring& itemId, std::int64_t now) {
    items_.remove_if(
        [&](const SHistoryItem& item) { return VardelCommon::EqualsNoCase(item.itemId, itemId); });
    items_.push_front({itemId, now});
    while (items_.size() > kMaxItems) {
        items_.pop_back();
    }
    (void)Save();
}

bool CHistoryData::ContainsItem(const std::wstring& id) const {
    for (const SHistoryItem& item : items_) {
        if (VardelCommon::EqualsNoCase(item.itemId, id)) {
            return true;
        }
    }
    return false;
}

std::vector<std::wstring> CHistoryData::ItemIds() const {
    std::vector<std::wstring> ids;
    ids.reserve(items_.size());
    for (const SHistoryItem& item : items_) {
        ids.push_back(item.itemId);
    }
    return ids;
}

namespace Vardel {

HRESULT AddItemToHistory(const CContext* ctx, const std::wstring& itemId) {
    ContextImpl* context = VardelUtils::FindContextImpl(ctx);
    if (context == nullptr || context->GetBrowsingType() != HistoryBrowsing) {
        return E_INVALIDARG;
    }
    CHistoryData* history = context->GetHistoryData();
    if (history == nullptr) {
        return E_INVALIDARG;
    }
    history->AddItem(itemId, VardelStores::SecondsNow());
    return S_OK;
}

}  // namespace Vardel
