// The value cache of one family table: every evaluated cell value, keyed by
// row, language and column, held in memory and kept in the cache file
// "TableCache_<locale id>.dat" of the family's cache folder, so that the
// next opening of the same family finds its values computed.
//
// The file is read when the store is built and written by Save (the table's
// destructor) only when values were computed or cleared since the load and
// no edit switched persistence off: edited values never reach the file. A
// damaged file loads what it can and is otherwise ignored; nothing throws.
// Saves are atomic, and stale temporaries of saves that died are removed
// when the store loads. The file counts columns and languages in 16 bits:
// past 0xFFFF of either, values are written with index 0xFFFF, which no load
// keeps. One thread at a time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "api/utf16_order.h"
#include "common/archive.h"
#include "eval/value_cache.h"

class CValueStore {
  public:
    /// A store with the cache file of `cachePath` (a folder), loaded at once;
    /// an empty path gives a store that never reads or writes a file.
    explicit CValueStore(const std::wstring& cachePath);
    /// The same with an explicit locale identifier in the file name.
    CValueStore(const std::wstring& cachePath, std::uint32_t localeId);
    CValueStore(const CValueStore&) = delete;
    CValueStore& operator=(const CValueStore&) = delete;
    ~CValueStore();

    /// 0 and the value when cached, else 1.
    int GetValue(const std::wstring& rowId, const std::wstring& columnId,
                 const std::wstring& language, std::wstring& value) const;
    void SetValue(const std::wstring& rowId, const std::wstring& columnId,
                  const std::wstring& language, const std::wstring& value);
    void ClearValue(const std::wstring& rowId, const std::wstring& columnId,
                    const std::wstring& language);
    /// In every language.
    void ClearValue(const std::wstring& rowId, const std::wstring& columnId);
    /// The column in every row and language.
    void ClearColumn(const std::wstring& columnId);
    /// Forgets every value of the row.
    void DropRow(const std::wstring& rowId);
    /// Called by every edit: the file is not written any more.
    void DisablePersistence();
    /// Called when a row's range values are cleared.
    void RestorePersistence();
    /// Reads the file (see the header comment); false when there is none or
    /// it is damaged. Marks the store unchanged.
    bool Load();
    /// Writes the file when persisting and changed; `columnIds` are the
    /// table's columns in column order.
    void Save(const std::vector<std::wstring>& columnIds);

    /// The file this store reads and writes; empty when it does not persist.
    const std::filesystem::path& GetFilePath() const { return filePath_; }
    /// Marks the store changed; the row caches call it on every change.
    void MarkChanged() { changed_ = true; }

  private:
    // The row caches translate indexes through the lists below.
    friend class CValueCacheLoc;
    friend class CValueCacheSimple;
    using IndexMap = std::map<std::wstring, std::uint16_t, VardelUtils::Utf16Less>;

    CValueCacheLoc* FindRow(const std::wstring& rowId) const;
    CValueCacheLoc& FindOrAddRow(const std::wstring& rowId);
    void ForgetCurrentRow();
    // The sections of the cache file (value_store_file.cpp).
    bool ReadLists(VardelCommon::ArchiveReader& reader);
    bool ReadRows(VardelCommon::ArchiveReader& reader);
    void WriteLists(const std::vector<std::wstring>& columnIds,
                    VardelCommon::ArchiveWriter& writer);

    std::map<std::wstring, std::unique_ptr<CValueCacheLoc>, VardelUtils::Utf16Less> rows_;
    // Languages by index and back; a language gets the list's length as its
    // index when first set (a loaded list may name a language twice, so the
    // dictionary can be shorter). At most 0xFFFF: the file counts in 16 bits.
    IndexMap languageIndex_;
    std::vector<std::wstring> languages_;
    // The column list as the last load read it or the last save wrote it, and
    // the index of each column id, built by the save.
    std::unordered_map<std::wstring, std::uint16_t> columnIndex_;
    std::vector<std::wstring> columns_;
    std::filesystem::path filePath_;
    std::filesystem::path savedFilePath_;
    bool changed_ = false;
    // The last row looked up, a one-entry shortcut: evaluation reads and
    // writes the cells of one row after another.
    mutable std::wstring currentRowId_;
    mutable CValueCacheLoc* currentRow_ = nullptr;
};
