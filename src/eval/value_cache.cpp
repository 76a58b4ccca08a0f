// Row caches: values in memory and their records in the cache file.
#include "eval/value_cache.h"

#include <cstdint>
#include <iterator>
#include <utility>

#include "eval/value_store.h"

namespace VardelEval {
namespace {

constexpr std::uint16_t kNoIndex = 0xFFFF;

// The index of `key` in `index`, kNoIndex when it has none.
template <typename IndexMap>
std::uint16_t IndexOf(const IndexMap& index, const std::wstring& key) {
    const auto found = index.find(key);
    return found == index.end() ? kNoIndex : found->second;
}

// Reads a value block into `values`, or past it when `values` is null.
// Entries with a column index outside `columns` are skipped. Entries read
// before a failure stay; a count larger than the bytes left fails on the
// first read that runs short, before anything is allocated for it.
bool ReadValueBlock(VardelCommon::ArchiveReader& archive, const std::vector<std::wstring>& columns,
                    ValueMap* values) {
    std::uint32_t count = 0;
    if (!archive.ReadUInt32(count)) {
        return false;
    }
    std::wstring value;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint16_t column = 0;
        if (!archive.ReadUInt16(column) || !archive.ReadString(value)) {
            return false;
        }
        if (values != nullptr && column < columns.size()) {
            // Written in ascending order, so the end is the right place.
            values->emplace_hint(values->end(), columns[column], std::move(value));
        }
    }
    return true;
}

void WriteValueBlock(const ValueMap& values,
                     const std::unordered_map<std::wstring, std::uint16_t>& columnIndex,
                     VardelCommon::ArchiveWriter& archive) {
    archive.WriteUInt32(static_cast<std::uint32_t>(values.size()));
    for (const auto& [column, value] : values) {
        archive.WriteUInt16(IndexOf(columnIndex, column));
        archive.WriteString(value);
    }
}

int LoadResult(bool whole, bool empty) {
    if (whole) {
        return 1;
    }
    return empty ? -1 : 0;
}

}  // namespace
}  // namespace VardelEval

void CValueCacheLoc::SetValue(const std::wstring& key, const std::wstring& language,
                              const std::wstring& value) {
    languages_[language].insert_or_assign(key, value);
    store_.MarkChanged();
}

int CValueCacheLoc::GetValue(const std::wstring& key, const std::wstring& language,
                             std::wstring& value) const {
    const auto values = languages_.find(language);
    if (values == languages_.end()) {
        return 1;
    }
    const auto found = values->second.find(key);
    if (found == values->second.end()) {
        return 1;
    }
    value = found->second;
    return 0;
}

void CValueCacheLoc::ClearValue(const std::wstring& key) {
    bool removed = false;
    for (auto values = languages_.begin(); values != languages_.end();) {
        removed = values->second.erase(key) != 0 || removed;
        values = values->second.empty() ? languages_.erase(values) : std::next(values);
    }
    if (removed) {
        store_.MarkChanged();
    }
}

void CValueCacheLoc::ClearValue(const std::wstring& key, const std::wstring& language) {
    const auto values = languages_.find(language);
    if (values == languages_.end() || values->second.erase(key) == 0) {
        return;
    }
    if (values->second.empty()) {
        languages_.erase(values);
    }
    store_.MarkChanged();
}

void CValueCacheLoc::ClearAll() {
    if (!languages_.empty()) {
        languages_.clear();
        store_.MarkChanged();
    }
}

int CValueCacheLoc::Load(VardelCommon::ArchiveReader& archive) {
    languages_.clear();
    std::uint32_t count = 0;
    bool whole = archive.ReadUInt32(count);
    for (std::uint32_t i = 0; whole && i < count; ++i) {
        whole = LoadLanguage(archive);
    }
    return VardelEval::LoadResult(whole, languages_.empty());
}

bool CValueCacheLoc::LoadLanguage(VardelCommon::ArchiveReader& archive) {
    std::uint16_t index = 0;
    if (!archive.ReadUInt16(index)) {
        return false;
    }
    if (index >= store_.languages_.size()) {
        return VardelEval::ReadValueBlock(archive, store_.columns_, nullptr);
    }
    const auto values = languages_.try_emplace(store_.languages_[index]).first;
    const bool whole = VardelEval::ReadValueBlock(archive, store_.columns_, &values->second);
    if (values->second.empty()) {
        languages_.erase(values);
    }
    return whole;
}

int CValueCacheLoc::Save(VardelCommon::ArchiveWriter& archive) const {
    archive.WriteUInt32(static_cast<std::uint32_t>(languages_.size()));
    for (const auto& [language, values] : languages_) {
        archive.WriteUInt16(VardelEval::IndexOf(store_.languageIndex_, language));
        VardelEval::WriteValueBlock(values, store_.columnIndex_, archive);
    }
    return 1;
}

void CValueCacheSimple::SetValue(const std::wstring& key, const std::wstring&,
                                 const std::wstring& value) {
    values_.insert_or_assign(key, value);
    store_.MarkChanged();
}

int CValueCacheSimple::GetValue(const std::wstring& key, const std::wstring&,
                                std::wstring& value) const {
    const auto found = values_.find(key);
    if (found == values_.end()) {
        return 1;
    }
    value = found->second;
    return 0;
}

void CValueCacheSimple::ClearValue(const std::wstring& key) {
    if (values_.erase(key) != 0) {
        store_.MarkChanged();
    }
}

void CValueCacheSimple::ClearValue(const std::wstring& key, const std::wstring&) {
    ClearValue(key);
}

void CValueCacheSimple::ClearAll() {
    if (!values_.empty()) {
        values_.clear();
        store_.MarkChanged();
    }
}

int CValueCacheSimple::Load(VardelCommon::ArchiveReader& archive) {
    values_.clear();
    const bool whole = VardelEval::ReadValueBlock(archive, store_.columns_, &values_);
    return VardelEval::LoadResult(whole, values_.empty());
}

int CValueCacheSimple::Save(VardelCommon::ArchiveWriter& archive) const {
    VardelEval::WriteValueBlock(values_, store_.columnIndex_, archive);
    return 1;
}
