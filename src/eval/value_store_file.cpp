// The value store's cache file: version 1, the column list, the language
// list, then the rows in ascending row-id order, each with its languages and
// values (see CValueCacheLoc). Read whole into memory and parsed with
// bounded reads; written whole and atomically.
#include <span>
#include <string>
#include <string_view>

#include "common/atomic_file.h"
#include "eval/value_store.h"

namespace {

constexpr std::uint32_t kVersion = 1;
// The lists are counted in 16 bits; index 0xFFFF marks a missing column.
constexpr std::size_t kMaxListSize = 0xFFFF;

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

void WriteList(const std::vector<std::wstring>& list, VardelCommon::ArchiveWriter& writer) {
    writer.WriteUInt16(static_cast<std::uint16_t>(list.size()));
    for (const std::wstring& text : list) {
        writer.WriteString(text);
    }
}

}  // namespace

bool CValueStore::Load() {
    rows_.clear();
    ForgetCurrentRow();
    languageIndex_.clear();
    languages_.clear();
    columnIndex_.clear();
    columns_.clear();
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

bool CValueStore::ReadLists(VardelCommon::ArchiveReader& reader) {
    if (!ReadList(reader, columns_) || !ReadList(reader, languages_)) {
        return false;
    }
    for (std::size_t i = 0; i < languages_.size(); ++i) {
        languageIndex_.emplace(languages_[i], static_cast<std::uint16_t>(i));
    }
    return true;
}

// Rows before a failure stay: each holds values that were computed right.
bool CValueStore::ReadRows(VardelCommon::ArchiveReader& reader) {
    std::uint32_t count = 0;
    if (!reader.ReadUInt32(count) || count < 1) {
        return false;
    }
    std::wstring rowId;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!reader.ReadString(rowId) || rowId.empty()) {
            return false;
        }
        auto row = std::make_unique<CValueCacheLoc>(*this);
        const int read = row->Load(reader);
        if (read < 0) {
            return false;
        }
        // Written in ascending order, so the end is the right place; of two
        // records of one row the first is kept.
        rows_.emplace_hint(rows_.end(), std::move(rowId), std::move(row));
        if (read == 0) {
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
    writer.WriteUInt32(static_cast<std::uint32_t>(rows_.size()));
    for (const auto& [rowId, row] : rows_) {
        writer.WriteString(rowId);
        row->Save(writer);
    }
    const std::vector<std::uint8_t>& bytes = writer.Bytes();
    if (VardelCommon::WriteFileAtomically(
            filePath_,
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))) {
        changed_ = false;
    }
}

// The column list is the table's, index = position; columns past what 16
// bits count are left out and their values written with index 0xFFFF.
void CValueStore::WriteLists(const std::vector<std::wstring>& columnIds,
                             VardelCommon::ArchiveWriter& writer) {
    const std::size_t count = std::min(columnIds.size(), kMaxListSize);
    columns_.assign(columnIds.begin(), columnIds.begin() + static_cast<std::ptrdiff_t>(count));
    columnIndex_.clear();
    columnIndex_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        columnIndex_.emplace(columns_[i], static_cast<std::uint16_t>(i));
    }
    WriteList(columns_, writer);
    WriteList(languages_, writer);
}
