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
    const Entry* found = LowerBound(language, column);
    if (!Holds(found, language, column)) {
        return std::nullopt;
    }
    return Text().substr(found->offset, found->length);
}

void CValueCacheLoc::SetValue(std::uint32_t language, std::uint32_t column,
                              std::wstring_view value) {
    Own();
    const Entry* found = LowerBound(language, column);
    if (!Holds(found, language, column)) {
        entries_.insert(entries_.begin() + (found - entries_.data()),
                        Entry{language, column, text_.size(), value.size()});
        text_.append(value);
    } else {
        Entry& entry = entries_[static_cast<std::size_t>(found - entries_.data())];
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
    const auto ofColumn = [&](const Entry& entry) { return entry.column == column; };
    const std::span<const Entry> values = Values();
    // A column is cleared in every row at once: rows without it stay as
    // they are, shared or not.
    if (std::none_of(values.begin(), values.end(), ofColumn)) {
        return;
    }
    Own();
    const auto removed = std::remove_if(entries_.begin(), entries_.end(), [&](const Entry& entry) {
        if (!ofColumn(entry)) {
            return false;
        }
        unused_ += entry.length;
        return true;
    });
    entries_.erase(removed, entries_.end());
    CompactIfWasteful();
    store_.MarkChanged();
}

void CValueCacheLoc::ClearValue(const std::wstring& key, const std::wstring& language) {
    const std::uint32_t languageNumber = store_.languageIds_.Find(language);
    const std::uint32_t column = store_.columnIds_.Find(key);
    if (!Holds(LowerBound(languageNumber, column), languageNumber, column)) {
        return;
    }
    Own();
    Erase(LowerBound(languageNumber, column));
    store_.MarkChanged();
}

void CValueCacheLoc::ClearAll() {
    if (!Values().empty()) {
        shared_ = false;
        entries_.clear();
        text_.clear();
        unused_ = 0;
        store_.MarkChanged();
    }
}

std::span<const CValueCacheLoc::Entry> CValueCacheLoc::Values() const {
    if (shared_) {
        return std::span(store_.loadedEntries_).subspan(sharedFirst_, sharedCount_);
    }
    return entries_;
}

std::wstring_view CValueCacheLoc::Text() const {
    return shared_ ? std::wstring_view(store_.loadedText_) : std::wstring_view(text_);
}

void CValueCacheLoc::Own() {
    if (!shared_) {
        return;
    }
    const std::span<const Entry> values = Values();
    const std::wstring_view text = Text();
    entries_.assign(values.begin(), values.end());
    text_.clear();
    for (Entry& entry : entries_) {
        const std::size_t offset = text_.size();
        text_.append(text.substr(entry.offset, entry.length));
        entry.offset = offset;
    }
    unused_ = 0;
    shared_ = false;
}

const CValueCacheLoc::Entry* CValueCacheLoc::LowerBound(std::uint32_t language,
                                                        std::uint32_t column) const {
    const std::span<const Entry> values = Values();
    return std::lower_bound(
        values.data(), values.data() + values.size(), std::pair(language, column),
        [](const Entry& entry, const std::pair<std::uint32_t, std::uint32_t>& key) {
            return std::pair(entry.language, entry.column) < key;
        });
}

bool CValueCacheLoc::Holds(const Entry* entry, std::uint32_t language, std::uint32_t column) const {
    return entry != Values().data() + Values().size() && entry->language == language &&
           entry->column == column;
}

void CValueCacheLoc::Erase(const Entry* entry) {
    unused_ += entry->length;
    entries_.erase(entries_.begin() + (entry - entries_.data()));
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
    shared_ = false;
    entries_.clear();
    text_.clear();
    const int read = LoadInto(archive, entries_, text_);
    // What sorting dropped stays in the text unused.
    std::size_t used = 0;
    for (const Entry& entry : entries_) {
        used += entry.length;
    }
    unused_ = text_.size() - used;
    return read;
}

int CValueCacheLoc::LoadShared(VardelCommon::ArchiveReader& archive) {
    // Past what 32 bits count, rows hold their values themselves.
    if (store_.loadedEntries_.size() + archive.Remaining() > UINT32_MAX) {
        return Load(archive);
    }
    entries_.clear();
    text_.clear();
    unused_ = 0;
    sharedFirst_ = static_cast<std::uint32_t>(store_.loadedEntries_.size());
    const int read = LoadInto(archive, store_.loadedEntries_, store_.loadedText_);
    sharedCount_ = static_cast<std::uint32_t>(store_.loadedEntries_.size() - sharedFirst_);
    shared_ = true;
    return read;
}

int CValueCacheLoc::LoadInto(VardelCommon::ArchiveReader& archive, Entries& entries,
                             std::wstring& text) {
    const std::size_t first = entries.size();
    std::uint32_t count = 0;
    bool whole = archive.ReadUInt32(count);
    for (std::uint32_t i = 0; whole && i < count; ++i) {
        whole = LoadLanguage(archive, entries, text);
    }
    SortLoaded(entries, first);
    return VardelEval::LoadResult(whole, entries.size() == first);
}

bool CValueCacheLoc::LoadLanguage(VardelCommon::ArchiveReader& archive, Entries& entries,
                                  std::wstring& text) {
    std::uint16_t index = 0;
    if (!archive.ReadUInt16(index)) {
        return false;
    }
    const std::vector<std::uint32_t>& languages = store_.loadedLanguages_;
    const std::vector<std::uint32_t>& columns = store_.loadedColumns_;
    const bool known = index < languages.size();
    const auto expect = [&](std::uint32_t count) {
        // A count is trusted only as far as the bytes left can hold it; the
        // store's entries keep growing by doubling.
        const std::size_t needed =
            entries.size() +
            std::min<std::size_t>(count, archive.Remaining() / VardelEval::kMinValueBytes);
        if (needed > entries.capacity()) {
            entries.reserve(std::max(needed, 2 * entries.capacity()));
        }
    };
    return VardelEval::ReadValueBlock(archive, expect, [&](std::uint16_t column) {
        const std::size_t offset = text.size();
        if (!archive.AppendString(text)) {
            return false;
        }
        if (known && column < columns.size()) {
            entries.push_back(
                Entry{languages[index], columns[column], offset, text.size() - offset});
        } else {
            text.resize(offset);
        }
        return true;
    });
}

void CValueCacheLoc::SortLoaded(Entries& entries, std::size_t first) {
    const auto before = [](const Entry& a, const Entry& b) {
        return std::pair(a.language, a.column) < std::pair(b.language, b.column);
    };
    const auto begin = entries.begin() + static_cast<std::ptrdiff_t>(first);
    if (!std::is_sorted(begin, entries.end(), before)) {
        // Offsets grow in reading order, so the first read of two equal
        // entries sorts first.
        std::sort(begin, entries.end(), [&](const Entry& a, const Entry& b) {
            return before(a, b) || (!before(b, a) && a.offset < b.offset);
        });
    }
    const auto repeated = std::unique(begin, entries.end(), [&](const Entry& a, const Entry& b) {
        return !before(a, b) && !before(b, a);
    });
    entries.erase(repeated, entries.end());
}

int CValueCacheLoc::Save(VardelCommon::ArchiveWriter& archive) const {
    const std::vector<std::uint32_t>& languageRanks = store_.LanguageRanks();
    const std::vector<std::uint32_t>& columnRanks = store_.ColumnRanks();
    const auto rank = [&](const Entry& entry) {
        return std::pair(languageRanks[entry.language], columnRanks[entry.column]);
    };
    const std::span<const Entry> values = Values();
    const std::wstring_view text = Text();
    std::vector<const Entry*> ordered;
    ordered.reserve(values.size());
    for (const Entry& entry : values) {
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
            archive.WriteString(text.substr((*block)->offset, (*block)->length));
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
