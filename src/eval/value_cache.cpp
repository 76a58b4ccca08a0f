// Row caches: values in memory and their records in the cache file.
#include "eval/value_cache.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "eval/value_store.h"

namespace VardelEval {
namespace {

constexpr std::uint16_t kNoIndex = 0xFFFF;
// Each value of a block takes at least its column index and a length byte.
constexpr std::size_t kMinValueBytes = 3;

// Reads a value block: its count, handed to `expect(count)`, then for each
// value its column index, handed to `readValue(column)`, which reads the
// value's string and answers false when that fails. Values read before a
// failure stay with the caller; a count larger than the bytes left fails on
// the first read that runs short.
template <typename Expect, typename ReadValue>
bool ReadValueBlock(VardelCommon::ArchiveReader& archive, Expect&& expect, ReadValue&& readValue) {
    std::uint32_t count = 0;
    if (!archive.ReadUInt32(count)) {
        return false;
    }
    expect(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint16_t column = 0;
        if (!archive.ReadUInt16(column) || !readValue(column)) {
            return false;
        }
    }
    return true;
}

int LoadResult(bool whole, bool empty) {
    if (whole) {
        return 1;
    }
    return empty ? -1 : 0;
}

}  // namespace
}  // namespace VardelEval

// ---- CValueCacheLoc ----

void CValueCacheLoc::SetValue(const std::wstring& key, const std::wstring& language,
                              const std::wstring& value) {
    SetValue(store_.languageIds_.Add(language), store_.columnIds_.Add(key), value);
}

int CValueCacheLoc::GetValue(const std::wstring& key, const std::wstring& language,
                             std::wstring& value) const {
    return GetValue(store_.languageIds_.Find(language), store_.columnIds_.Find(key), value);
}

int CValueCacheLoc::GetValue(std::uint32_t language, std::uint32_t column,
                             std::wstring& value) const {
    const std::optional<std::wstring_view> found = FindValue(language, column);
    if (!found) {
        return 1;
    }
    value.assign(*found);
    return 0;
}

std::optional<std::wstring_view> CValueCacheLoc::FindValue(std::uint32_t language,
                                                           std::uint32_t column) const {
    const auto found = LowerBound(language, column);
    if (!Holds(found, language, column)) {
        return std::nullopt;
    }
    return std::wstring_view(text_).substr(found->offset, found->length);
}

void CValueCacheLoc::SetValue(std::uint32_t language, std::uint32_t column,
                              std::wstring_view value) {
    const auto found = LowerBound(language, column);
    if (!Holds(found, language, column)) {
        entries_.insert(found, Entry{language, column, text_.size(), value.size()});
        text_.append(value);
    } else {
        Entry& entry = entries_[static_cast<std::size_t>(found - entries_.begin())];
        if (value.size() <= entry.length) {
            // A value no longer than the old one takes its place.
            text_.replace(entry.offset, value.size(), value);
            unused_ += entry.length - value.size();
        } else {
            unused_ += entry.length;
            entry.offset = text_.size();
            text_.append(value);
        }
        entry.length = value.size();
        CompactIfWasteful();
    }
    store_.MarkChanged();
}

void CValueCacheLoc::ClearValue(const std::wstring& key) {
    const std::uint32_t column = store_.columnIds_.Find(key);
    const auto removed = std::remove_if(entries_.begin(), entries_.end(), [&](const Entry& entry) {
        if (entry.column != column) {
            return false;
        }
        unused_ += entry.length;
        return true;
    });
    if (removed == entries_.end()) {
        return;
    }
    entries_.erase(removed, entries_.end());
    CompactIfWasteful();
    store_.MarkChanged();
}

void CValueCacheLoc::ClearValue(const std::wstring& key, const std::wstring& language) {
    const std::uint32_t languageNumber = store_.languageIds_.Find(language);
    const std::uint32_t column = store_.columnIds_.Find(key);
    const auto found = LowerBound(languageNumber, column);
    if (!Holds(found, languageNumber, column)) {
        return;
    }
    Erase(found);
    store_.MarkChanged();
}

void CValueCacheLoc::ClearAll() {
    if (!entries_.empty()) {
        entries_.clear();
        text_.clear();
        unused_ = 0;
        store_.MarkChanged();
    }
}

CValueCacheLoc::Entries::const_iterator CValueCacheLoc::LowerBound(std::uint32_t language,
                                                                   std::uint32_t column) const {
    return std::lower_bound(
        entries_.begin(), entries_.end(), std::pair(language, column),
        [](const Entry& entry, const std::pair<std::uint32_t, std::uint32_t>& key) {
            return std::pair(entry.language, entry.column) < key;
        });
}

bool CValueCacheLoc::Holds(Entries::const_iterator entry, std::uint32_t language,
                           std::uint32_t column) const {
    return entry != entries_.end() && entry->language == language && entry->column == column;
}

void CValueCacheLoc::Erase(Entries::const_iterator entry) {
    unused_ += entry->length;
    entries_.erase(entry);
    CompactIfWasteful();
}

void CValueCacheLoc::CompactIfWasteful() {
    if (unused_ <= text_.size() / 2) {
        return;
    }
    std::wstring compact;
    compact.reserve(text_.size() - unused_);
    for (Entry& entry : entries_) {
        const std::size_t offset = compact.size();
        compact.append(text_, entry.offset, entry.length);
        entry.offset = offset;
    }
    text_ = std::move(compact);
    unused_ = 0;
}

int CValueCacheLoc::Load(VardelCommon::ArchiveReader& archive) {
    entries_.clear();
    text_.clear();
    unused_ = 0;
    std::uint32_t count = 0;
    bool whole = archive.ReadUInt32(count);
    for (std::uint32_t i = 0; whole && i < count; ++i) {
        whole = LoadLanguage(archive);
    }
    SortLoaded();
    return VardelEval::LoadResult(whole, entries_.empty());
}

bool CValueCacheLoc::LoadLanguage(VardelCommon::ArchiveReader& archive) {
    std::uint16_t index = 0;
    if (!archive.ReadUInt16(index)) {
        return false;
    }
    const std::vector<std::uint32_t>& languages = store_.loadedLanguages_;
    const std::vector<std::uint32_t>& columns = store_.loadedColumns_;
    const bool known = index < languages.size();
    const auto expect = [&](std::uint32_t count) {
        // A count is trusted only as far as the bytes left can hold it.
        entries_.reserve(
            entries_.size() +
            std::min<std::size_t>(count, archive.Remaining() / VardelEval::kMinValueBytes));
    };
    return VardelEval::ReadValueBlock(archive, expect, [&](std::uint16_t column) {
        const std::size_t offset = text_.size();
        if (!archive.AppendString(text_)) {
            return false;
        }
        if (known && column < columns.size()) {
            entries_.push_back(
                Entry{languages[index], columns[column], offset, text_.size() - offset});
        } else {
            text_.resize(offset);
        }
        return true;
    });
}

void CValueCacheLoc::SortLoaded() {
    const auto before = [](const Entry& a, const Entry& b) {
        return std::pair(a.language, a.column) < std::pair(b.language, b.column);
    };
    if (!std::is_sorted(entries_.begin(), entries_.end(), before)) {
        // Offsets grow in reading order, so the first read of two equal
        // entries sorts first.
        std::sort(entries_.begin(), entries_.end(), [&](const Entry& a, const Entry& b) {
            return before(a, b) || (!before(b, a) && a.offset < b.offset);
        });
    }
    const auto repeated =
        std::unique(entries_.begin(), entries_.end(),
                    [&](const Entry& a, const Entry& b) { return !before(a, b) && !before(b, a); });
    entries_.erase(repeated, entries_.end());
    // What unique left behind the kept entries is unspecified, so the
    // characters in use are counted over the kept ones.
    std::size_t used = 0;
    for (const Entry& entry : entries_) {
        used += entry.length;
    }
    unused_ = text_.size() - used;
}

int CValueCacheLoc::Save(VardelCommon::ArchiveWriter& archive) const {
    const std::vector<std::uint32_t>& languageRanks = store_.LanguageRanks();
    const std::vector<std::uint32_t>& columnRanks = store_.ColumnRanks();
    const auto rank = [&](const Entry& entry) {
        return std::pair(languageRanks[entry.language], columnRanks[entry.column]);
    };
    std::vector<const Entry*> ordered;
    ordered.reserve(entries_.size());
    for (const Entry& entry : entries_) {
        ordered.push_back(&entry);
    }
    const auto before = [&](const Entry* a, const Entry* b) { return rank(*a) < rank(*b); };
    if (!std::is_sorted(ordered.begin(), ordered.end(), before)) {
        std::sort(ordered.begin(), ordered.end(), before);
    }
    std::uint32_t languages = 0;
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        languages += i == 0 || ordered[i]->language != ordered[i - 1]->language ? 1U : 0U;
    }
    archive.WriteUInt32(languages);
    for (auto block = ordered.begin(); block != ordered.end();) {
        const std::uint32_t language = (*block)->language;
        const auto end = std::find_if(
            block, ordered.end(), [&](const Entry* entry) { return entry->language != language; });
        archive.WriteUInt16(store_.LanguageIndex(language));
        archive.WriteUInt32(static_cast<std::uint32_t>(end - block));
        for (; block != end; ++block) {
            archive.WriteUInt16(store_.ColumnIndex((*block)->column));
            archive.WriteString(
                std::wstring_view(text_).substr((*block)->offset, (*block)->length));
        }
    }
    return 1;
}

// ---- CValueCacheSimple ----

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
    const std::vector<std::uint32_t>& columns = store_.loadedColumns_;
    std::wstring value;
    const auto expect = [](std::uint32_t) {};
    const bool whole = VardelEval::ReadValueBlock(archive, expect, [&](std::uint16_t column) {
        if (!archive.ReadString(value)) {
            return false;
        }
        if (column < columns.size()) {
            // Written in ascending order, so the end is the right place.
            values_.emplace_hint(values_.end(), store_.columnIds_.Text(columns[column]),
                                 std::move(value));
        }
        return true;
    });
    return VardelEval::LoadResult(whole, values_.empty());
}

int CValueCacheSimple::Save(VardelCommon::ArchiveWriter& archive) const {
    archive.WriteUInt32(static_cast<std::uint32_t>(values_.size()));
    for (const auto& [column, value] : values_) {
        const std::uint32_t number = store_.columnIds_.Find(column);
        archive.WriteUInt16(number == VardelEval::IdTable::kNone ? VardelEval::kNoIndex
                                                                 : store_.ColumnIndex(number));
        archive.WriteString(value);
    }
    return 1;
}
