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
    std::wstring& text = store_.text_;
    const Entry* found = LowerBound(language, column);
    if (!Holds(found, language, column)) {
        const std::size_t position = static_cast<std::size_t>(found - Values().data());
        Reserve(count_ + 1);
        Entry* values = MutableValues();
        std::copy_backward(values + position, values + count_, values + count_ + 1);
        values[position] = Entry{language, column, text.size(), value.size()};
        text.append(value);
        ++count_;
    } else {
        Entry& entry = MutableValues()[found - Values().data()];
        if (value.size() <= entry.length) {
            // A value no longer than the old one takes its place.
            text.replace(entry.offset, value.size(), value);
            store_.unusedText_ += entry.length - value.size();
        } else {
            store_.unusedText_ += entry.length;
            entry.offset = text.size();
            text.append(value);
        }
        entry.length = value.size();
    }
    store_.MarkChanged();
    store_.CompactIfWasteful();
}

void CValueCacheLoc::ClearValue(const std::wstring& key) {
    const std::uint32_t column = store_.columnIds_.Find(key);
    Entry* const values = MutableValues();
    Entry* const end = std::remove_if(values, values + count_, [&](const Entry& entry) {
        if (entry.column != column) {
            return false;
        }
        store_.unusedText_ += entry.length;
        return true;
    });
    if (end == values + count_) {
        return;
    }
    count_ = static_cast<std::uint32_t>(end - values);
    store_.MarkChanged();
    store_.CompactIfWasteful();
}

void CValueCacheLoc::ClearValue(const std::wstring& key, const std::wstring& language) {
    const std::uint32_t languageNumber = store_.languageIds_.Find(language);
    const std::uint32_t column = store_.columnIds_.Find(key);
    const Entry* found = LowerBound(languageNumber, column);
    if (!Holds(found, languageNumber, column)) {
        return;
    }
    Erase(found);
    store_.MarkChanged();
    store_.CompactIfWasteful();
}

void CValueCacheLoc::ClearAll() {
    if (count_ != 0) {
        Release();
        store_.MarkChanged();
        store_.CompactIfWasteful();
    }
}

std::span<const CValueCacheLoc::Entry> CValueCacheLoc::Values() const {
    return std::span(store_.entries_).subspan(first_, count_);
}

std::wstring_view CValueCacheLoc::Text() const {
    return store_.text_;
}

CValueCacheLoc::Entry* CValueCacheLoc::MutableValues() {
    return store_.entries_.data() + first_;
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

void CValueCacheLoc::Reserve(std::size_t count) {
    if (count <= capacity_) {
        return;
    }
    Entries& entries = store_.entries_;
    if (first_ + capacity_ == entries.size()) {
        // The last row of the block grows in place.
        entries.resize(first_ + count);
    } else {
        const std::size_t first = entries.size();
        const std::size_t capacity = std::max<std::size_t>(count, 2 * std::size_t{capacity_});
        entries.resize(first + capacity);
        std::copy_n(entries.begin() + static_cast<std::ptrdiff_t>(first_), count_,
                    entries.begin() + static_cast<std::ptrdiff_t>(first));
        store_.unusedEntries_ += capacity_;
        first_ = first;
        count = capacity;
    }
    capacity_ = static_cast<std::uint32_t>(count);
}

void CValueCacheLoc::Erase(const Entry* entry) {
    Entry* const values = MutableValues();
    const std::size_t position = static_cast<std::size_t>(entry - values);
    store_.unusedText_ += entry->length;
    std::copy(values + position + 1, values + count_, values + position);
    --count_;
}

void CValueCacheLoc::Release() {
    for (const Entry& entry : Values()) {
        store_.unusedText_ += entry.length;
    }
    store_.unusedEntries_ += capacity_;
    count_ = 0;
    capacity_ = 0;
}

int CValueCacheLoc::Load(VardelCommon::ArchiveReader& archive) {
    Release();
    Entries& entries = store_.entries_;
    std::wstring& text = store_.text_;
    const std::size_t textBefore = text.size();
    first_ = entries.size();
    const int read = LoadInto(archive, entries, text);
    count_ = static_cast<std::uint32_t>(entries.size() - first_);
    capacity_ = count_;
    // What sorting dropped stays in the text unused.
    std::size_t used = 0;
    for (const Entry& entry : Values()) {
        used += entry.length;
    }
    store_.unusedText_ += text.size() - textBefore - used;
    return read;
}

int CValueCacheLoc::LoadInto(VardelCommon::ArchiveReader& archive, Entries& entries,
                             std::wstring& text) const {
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
                                  std::wstring& text) const {
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
