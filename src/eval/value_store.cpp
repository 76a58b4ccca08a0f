// The value store in memory: row caches and the persistence switch.
#include "eval/value_store.h"

#include <algorithm>
#include <atomic>
#include <utility>

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
    if (row == nullptr) {
        return 1;
    }
    return row->GetValue(languageIds_.Find(language), columnIds_.Find(columnId), value);
}

void CValueStore::SetValue(const std::wstring& rowId, const std::wstring& columnId,
                           const std::wstring& language, const std::wstring& value) {
    SetValue(FindOrAddRow(rowId), columnId, language, value);
}

void CValueStore::SetValue(CValueCacheLoc& row, const std::wstring& columnId,
                           const std::wstring& language, const std::wstring& value) {
    const std::uint32_t languageNumber = languageIds_.Add(language);
    row.SetValue(languageNumber, columnIds_.Add(columnId), value);
    // Index 0xFFFF stays free: the file counts languages in 16 bits, and a
    // language without an index is written as 0xFFFF, which no load keeps.
    if (languages_.size() < kNoIndex && LanguageIndex(languageNumber) == kNoIndex) {
        languageIndexes_.resize(languageIds_.Size(), kNoIndex);
        languageIndexes_[languageNumber] = static_cast<std::uint16_t>(languages_.size());
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
        row.ClearValue(columnId);
    }
}

void CValueStore::DropRow(const std::wstring& rowId) {
    const auto found = rows_.find(rowId);
    if (found == rows_.end()) {
        return;
    }
    // Later rows move up one place.
    const std::size_t place = found->second.order_;
    order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(place));
    for (std::size_t i = place; i < order_.size(); ++i) {
        order_[i]->second.order_ = static_cast<std::uint32_t>(i);
    }
    current_ = 0;
    found->second.Release();
    rows_.erase(found);
    NewRowsGeneration();
    MarkChanged();
    CompactIfWasteful();
}

void CValueStore::DisablePersistence() {
    filePath_.clear();
}

void CValueStore::RestorePersistence() {
    filePath_ = savedFilePath_;
}

const CValueCacheLoc* CValueStore::FindRow(const std::wstring& rowId) const {
    const std::size_t end = std::min(current_ + 2, order_.size());
    for (std::size_t i = current_; i < end; ++i) {
        if (std::wstring_view(order_[i]->first) == rowId) {
            current_ = i;
            return &order_[i]->second;
        }
    }
    const auto found = rows_.find(rowId);
    if (found == rows_.end()) {
        return nullptr;
    }
    current_ = found->second.order_;
    return &found->second;
}

CValueCacheLoc* CValueStore::FindRow(const std::wstring& rowId) {
    return const_cast<CValueCacheLoc*>(std::as_const(*this).FindRow(rowId));
}

CValueCacheLoc& CValueStore::FindOrAddRow(const std::wstring& rowId) {
    if (CValueCacheLoc* row = FindRow(rowId)) {
        return *row;
    }
    const auto added = rows_.try_emplace(std::pmr::wstring(rowId, &rowMemory_), *this).first;
    MarkChanged();
    AppendToOrder(added);
    return added->second;
}

void CValueStore::AppendToOrder(RowMap::iterator row) {
    row->second.order_ = static_cast<std::uint32_t>(order_.size());
    current_ = order_.size();
    order_.push_back(&*row);
}

void CValueStore::NewRowsGeneration() {
    static std::atomic<std::uint64_t> last{0};
    rowsGeneration_ = ++last;
}

void CValueStore::ForgetOrder() {
    order_.clear();
    current_ = 0;
}

void CValueStore::CompactIfWasteful() {
    if (unusedEntries_ <= entries_.size() / 2 && unusedText_ <= text_.size() / 2) {
        return;
    }
    std::vector<CValueCacheLoc::Entry> entries;
    entries.reserve(entries_.size() - unusedEntries_);
    std::wstring text;
    text.reserve(text_.size() - unusedText_);
    // In row order, so that going through the rows in order goes through
    // their values in order.
    for (RowMap::value_type* row : order_) {
        CValueCacheLoc& cache = row->second;
        const std::size_t first = entries.size();
        for (CValueCacheLoc::Entry entry : cache.Values()) {
            text.append(text_, entry.offset, entry.length);
            entry.offset = text.size() - entry.length;
            entries.push_back(entry);
        }
        cache.first_ = first;
        cache.capacity_ = cache.count_;
    }
    entries_ = std::move(entries);
    text_ = std::move(text);
    unusedEntries_ = 0;
    unusedText_ = 0;
}

std::uint16_t CValueStore::ColumnIndex(std::uint32_t column) const {
    return column < columnIndexes_.size() ? columnIndexes_[column] : kNoIndex;
}

std::uint16_t CValueStore::LanguageIndex(std::uint32_t language) const {
    return language < languageIndexes_.size() ? languageIndexes_[language] : kNoIndex;
}

const std::vector<std::uint32_t>& CValueStore::ColumnRanks() const {
    if (columnRanks_.size() != columnIds_.Size()) {
        columnRanks_ = columnIds_.Ranks();
    }
    return columnRanks_;
}

const std::vector<std::uint32_t>& CValueStore::LanguageRanks() const {
    if (languageRanks_.size() != languageIds_.Size()) {
        languageRanks_ = languageIds_.Ranks();
    }
    return languageRanks_;
}
