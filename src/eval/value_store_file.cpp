// The value store's cache file: version 1, the column list, the language
// list, then the rows in ascending row-id order, each with its languages and
// values (see CValueCacheLoc). Read whole into memory and parsed with
// bounded reads; written whole and atomically.
#include <algorithm>
#include <numeric>
#include <span>
#include <string>
#include <string_view>

#include "common/atomic_file.h"
#include "eval/value_store.h"

namespace {

constexpr std::uint32_t kVersion = 1;
// The lists are counted in 16 bits; index 0xFFFF marks a missing column.
constexpr std::size_t kMaxListSize = 0xFFFF;
// Each row record takes at least its id's length, one character and its
// language count.
constexpr std::size_t kMinRowBytes = 6;
// A value of six characters takes 16 bytes in the file: its column index,
// its length and its UTF-16 characters.
constexpr std::size_t kTypicalValueBytes = 16;
constexpr std::size_t kTypicalValueCharacters = 6;

// Reads a 16-bit count and as many strings into `list`.
bool ReadList(VardelCommon::ArchiveReader& reader, std::vector<std::wstring>& list) {
    std::uint16_t count = 0;
    if (!reader.ReadUInt16(count)) {
        return false;
    }
    std::wstring text;
    for (std::uint16_t i = 0; i < count; ++i) {
        if (!reader.ReadString(text)) {
            return false;
        }
        list.push_back(std::move(text));
    }
    return true;
}

void WriteList(std::span<const std::wstring> list, VardelCommon::ArchiveWriter& writer) {
    writer.WriteUInt16(static_cast<std::uint16_t>(list.size()));
    for (const std::wstring& text : list) {
        writer.WriteString(text);
    }
}

}  // namespace

bool CValueStore::Load() {
    rows_.clear();
    NewRowsGeneration();
    entries_ = {};
    text_ = {};
    unusedEntries_ = 0;
    unusedText_ = 0;
    ForgetOrder();
    columnIds_ = {};
    languageIds_ = {};
    columnRanks_.clear();
    languageRanks_.clear();
    languages_.clear();
    languageIndexes_.clear();
    loadedColumns_.clear();
    loadedLanguages_.clear();
    columnIndexes_.clear();
    changed_ = false;
    if (filePath_.empty()) {
        return false;
    }
    VardelCommon::RemoveStaleTemporaries(filePath_);
    std::string bytes;
    if (!VardelCommon::ReadRegularFile(filePath_, bytes)) {
        return false;
    }
    VardelCommon::ArchiveReader reader(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    std::uint32_t version = 0;
    return reader.ReadUInt32(version) && version == kVersion && ReadLists(reader) &&
           ReadRows(reader);
}

// Both lists become numbers at once. The columns are numbered in ascending
// order of their ids, the order in which the records list values, so that
// the values of a record arrive in the order the row caches keep.
bool CValueStore::ReadLists(VardelCommon::ArchiveReader& reader) {
    std::vector<std::wstring> columns;
    if (!ReadList(reader, columns) || !ReadList(reader, languages_)) {
        return false;
    }
    std::vector<std::size_t> byId(columns.size());
    std::iota(byId.begin(), byId.end(), std::size_t{0});
    std::sort(byId.begin(), byId.end(), [&](std::size_t a, std::size_t b) {
        return VardelUtils::CompareUtf16Order(columns[a], columns[b]) < 0;
    });
    loadedColumns_.resize(columns.size());
    for (const std::size_t index : byId) {
        loadedColumns_[index] = columnIds_.Add(columns[index]);
    }
    for (std::size_t i = 0; i < languages_.size(); ++i) {
        const std::uint32_t language = languageIds_.Add(languages_[i]);
        loadedLanguages_.push_back(language);
        if (LanguageIndex(language) == kNoIndex) {
            languageIndexes_.resize(languageIds_.Size(), kNoIndex);
            languageIndexes_[language] = static_cast<std::uint16_t>(i);
        }
    }
    return true;
}

// Rows before a failure stay: each holds values that were computed right.
bool CValueStore::ReadRows(VardelCommon::ArchiveReader& reader) {
    std::uint32_t count = 0;
    if (!reader.ReadUInt32(count) || count < 1) {
        return false;
    }
    // Room for the rows at once, as far as the bytes left can hold them:
    // growing the map step by step would rehash every row read so far.
    rows_.reserve(std::min<std::size_t>(count, reader.Remaining() / kMinRowBytes));
    // The values' blocks sized for values of a few characters, as tables
    // hold, so that they are not moved while they fill.
    entries_.reserve(reader.Remaining() / kTypicalValueBytes);
    text_.reserve(reader.Remaining() / kTypicalValueBytes * kTypicalValueCharacters);
    std::wstring rowId;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!reader.ReadString(rowId) || rowId.empty()) {
            return false;
        }
        // Of two records of one row the first is kept; the second is read
        // all the same, and its damage counts.
        const auto [slot, added] = rows_.try_emplace(std::pmr::wstring(rowId, &rowMemory_), *this);
        if (added) {
            AppendToOrder(slot);
        }
        // A repeated record is read into blocks of its own and dropped.
        CValueCacheLoc::Entries skipped;
        std::wstring skippedText;
        const int read =
            added ? slot->second.Load(reader) : slot->second.LoadInto(reader, skipped, skippedText);
        if (read < 0 && added) {
            order_.pop_back();
            current_ = 0;
            rows_.erase(slot);
        }
        if (read <= 0) {
            return false;
        }
    }
    return true;
}

void CValueStore::Save(const std::vector<std::wstring>& columnIds) {
    if (filePath_.empty() || rows_.empty() || !changed_) {
        return;
    }
    VardelCommon::ArchiveWriter writer;
    writer.WriteUInt32(kVersion);
    WriteLists(columnIds, writer);
    std::vector<const RowMap::value_type*> rows;
    rows.reserve(rows_.size());
    for (const auto& row : rows_) {
        rows.push_back(&row);
    }
    std::sort(rows.begin(), rows.end(), [](const auto* a, const auto* b) {
        return VardelUtils::CompareUtf16Order(a->first, b->first) < 0;
    });
    writer.WriteUInt32(static_cast<std::uint32_t>(rows.size()));
    for (const auto* row : rows) {
        writer.WriteString(row->first);
        row->second.Save(writer);
    }
    const std::vector<std::uint8_t>& bytes = writer.Bytes();
    if (VardelCommon::WriteFileAtomically(
            filePath_,
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))) {
        changed_ = false;
    }
}

// The column list is the table's, index = position; columns past what 16
// bits count are left out and their values written with index 0xFFFF. The
// list written is also the one later row records are read with.
void CValueStore::WriteLists(const std::vector<std::wstring>& columnIds,
                             VardelCommon::ArchiveWriter& writer) {
    const std::span<const std::wstring> columns(columnIds.data(),
                                                std::min(columnIds.size(), kMaxListSize));
    loadedColumns_.clear();
    for (const std::wstring& id : columns) {
        loadedColumns_.push_back(columnIds_.Add(id));
    }
    columnIndexes_.assign(columnIds_.Size(), kNoIndex);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        std::uint16_t& index = columnIndexes_[loadedColumns_[i]];
        if (index == kNoIndex) {
            index = static_cast<std::uint16_t>(i);
        }
    }
    WriteList(columns, writer);
    WriteList(languages_, writer);
}
