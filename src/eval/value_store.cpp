// The value store in memory: row caches and the persistence switch.
#include "eval/value_store.h"

#include "common/user_locale.h"
#include "common/wide_path.h"

namespace {

// The cache file of the folder `cachePath`: a path ending in either
// separator is joined as it is, any other gets "/".
std::filesystem::path CacheFilePath(const std::wstring& cachePath, std::uint32_t localeId) {
    if (cachePath.empty()) {
        return {};
    }
    std::wstring path = cachePath;
    if (path.back() != L'\\' && path.back() != L'/') {
        path += L'/';
    }
    path += L"TableCache_";
    path += std::to_wstring(localeId);
    path += L".dat";
    return VardelCommon::ToPath(path);
}

}  // namespace

CValueStore::CValueStore(const std::wstring& cachePath)
    : CValueStore(cachePath, VardelCommon::GetUserLocale().localeId) {}

CValueStore::CValueStore(const std::wstring& cachePath, std::uint32_t localeId)
    : filePath_(CacheFilePath(cachePath, localeId)), savedFilePath_(filePath_) {
    Load();
}

CValueStore::~CValueStore() = default;

int CValueStore::GetValue(const std::wstring& rowId, const std::wstring& columnId,
                          const std::wstring& language, std::wstring& value) const {
    const CValueCacheLoc* row = FindRow(rowId);
    return row == nullptr ? 1 : row->GetValue(columnId, language, value);
}

void CValueStore::SetValue(const std::wstring& rowId, const std::wstring& columnId,
                           const std::wstring& language, const std::wstring& value) {
    FindOrAddRow(rowId).SetValue(columnId, language, value);
    // Index 0xFFFF stays free: the file counts languages in 16 bits, and a
    // language without an index is written as 0xFFFF, which no load keeps.
    if (languages_.size() < 0xFFFF && languageIndex_.find(language) == languageIndex_.end()) {
        languageIndex_.emplace(language, static_cast<std::uint16_t>(languages_.size()));
        languages_.push_back(language);
    }
}

void CValueStore::ClearValue(const std::wstring& rowId, const std::wstring& columnId,
                             const std::wstring& language) {
    if (CValueCacheLoc* row = FindRow(rowId)) {
        row->ClearValue(columnId, language);
    }
}

void CValueStore::ClearValue(const std::wstring& rowId, const std::wstring& columnId) {
    if (CValueCacheLoc* row = FindRow(rowId)) {
        row->ClearValue(columnId);
    }
}

void CValueStore::ClearColumn(const std::wstring& columnId) {
    for (auto& [rowId, row] : rows_) {
        row->ClearValue(columnId);
    }
}

void CValueStore::DropRow(const std::wstring& rowId) {
    const auto found = rows_.find(rowId);
    if (found == rows_.end()) {
        return;
    }
    if (currentRow_ == found->second.get()) {
        ForgetCurrentRow();
    }
    rows_.erase(found);
    MarkChanged();
}

void CValueStore::DisablePersistence() {
    filePath_.clear();
}

void CValueStore::RestorePersistence() {
    filePath_ = savedFilePath_;
}

CValueCacheLoc* CValueStore::FindRow(const std::wstring& rowId) const {
    if (currentRow_ != nullptr && rowId == currentRowId_) {
        return currentRow_;
    }
    const auto found = rows_.find(rowId);
    if (found == rows_.end()) {
        return nullptr;
    }
    currentRowId_ = rowId;
    currentRow_ = found->second.get();
    return currentRow_;
}

CValueCacheLoc& CValueStore::FindOrAddRow(const std::wstring& rowId) {
    if (CValueCacheLoc* row = FindRow(rowId)) {
        return *row;
    }
    const auto added = rows_.emplace(rowId, std::make_unique<CValueCacheLoc>(*this)).first;
    MarkChanged();
    currentRowId_ = rowId;
    currentRow_ = added->second.get();
    return *currentRow_;
}

void CValueStore::ForgetCurrentRow() {
    currentRowId_.clear();
    currentRow_ = nullptr;
}
