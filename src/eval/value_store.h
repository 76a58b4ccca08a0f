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
#include <memory_resource>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/archive.h"
#include "eval/id_table.h"
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
    /// GetValue in parts, for a caller reading a whole table: the row's
    /// cache (null when the row has no value), and the numbers its values
    /// are kept under (VardelEval::IdTable::kNone while a column or language
    /// has none), found once and used for many cells. A row cache stays valid
    /// until its row is dropped; numbers never change once given.
    const CValueCacheLoc* RowCache(const std::wstring& rowId) const { return FindRow(rowId); }
    std::uint32_t ColumnNumber(const std::wstring& columnId) const {
        return columnIds_.Find(columnId);
    }
    std::uint32_t LanguageNumber(const std::wstring& language) const {
        return languageIds_.Find(language);
    }
    void SetValue(const std::wstring& rowId, const std::wstring& columnId,
                  const std::wstring& language, const std::wstring& value);
    /// For a caller that writes one row again and again (a table row): the
    /// row's cache, added when it has none, and SetValue on it. The cache
    /// stays valid while RowsGeneration() gives the same number.
    CValueCacheLoc& RowCacheForWriting(const std::wstring& rowId) { return FindOrAddRow(rowId); }
    void SetValue(CValueCacheLoc& row, const std::wstring& columnId, const std::wstring& language,
                  const std::wstring& value);
    /// A number that changes whenever a row cache goes (a dropped row, a
    /// load); no two stores of the process ever share one.
    std::uint64_t RowsGeneration() const { return rowsGeneration_; }
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
    // Row ids hashed and compared as views, so that a lookup by a
    // std::wstring makes no key.
    struct IdHash : std::hash<std::wstring_view> {
        using is_transparent = void;
    };
    struct IdEqual {
        using is_transparent = void;
        bool operator()(std::wstring_view a, std::wstring_view b) const { return a == b; }
    };
    using RowMap = std::pmr::unordered_map<std::pmr::wstring, CValueCacheLoc, IdHash, IdEqual>;
    // The row caches translate indexes through the lists below.
    friend class CValueCacheLoc;
    friend class CValueCacheSimple;
    static constexpr std::uint16_t kNoIndex = 0xFFFF;

    const CValueCacheLoc* FindRow(const std::wstring& rowId) const;
    CValueCacheLoc* FindRow(const std::wstring& rowId);
    CValueCacheLoc& FindOrAddRow(const std::wstring& rowId);
    // Files a row just added to rows_ at the end of the row order.
    void AppendToOrder(RowMap::iterator row);
    void ForgetOrder();
    // Gives rowsGeneration_ a number no store has had.
    void NewRowsGeneration();
    // Called after every change of a row's values.
    void CompactIfWasteful();
    // The file index of a column or language number; kNoIndex when the
    // last save's column list or the language list has none for it.
    std::uint16_t ColumnIndex(std::uint32_t column) const;
    std::uint16_t LanguageIndex(std::uint32_t language) const;
    // The order of the numbers' strings, kept until a new string is numbered.
    const std::vector<std::uint32_t>& ColumnRanks() const;
    const std::vector<std::uint32_t>& LanguageRanks() const;
    // The sections of the cache file (value_store_file.cpp).
    bool ReadLists(VardelCommon::ArchiveReader& reader);
    bool ReadRows(VardelCommon::ArchiveReader& reader);
    void WriteLists(const std::vector<std::wstring>& columnIds,
                    VardelCommon::ArchiveWriter& writer);

    // Row ids compare exactly; the file lists rows in UTF-16 order, sorted
    // when saving.
    // The rows and their ids come from pools of the store's own, so that
    // rows added one after another lie one after another in memory whatever
    // the state of the heap.
    std::pmr::unsynchronized_pool_resource rowMemory_;
    RowMap rows_{&rowMemory_};
    // The values of every row: each row's entries lie together in one
    // block, and their characters in another. What rows left behind when
    // their values moved, shrank or went counts as unused until both blocks
    // are rewritten in row order, once it outweighs what is used.
    std::vector<CValueCacheLoc::Entry> entries_;
    std::wstring text_;
    std::size_t unusedEntries_ = 0;
    std::size_t unusedText_ = 0;
    // Every column id and language a value was kept under, numbered: the
    // row caches key their values by these numbers.
    VardelEval::IdTable columnIds_;
    VardelEval::IdTable languageIds_;
    // The language list of the file: languages by index, and the index of
    // each language number. A language gets the list's length as its index
    // when first set; a loaded list may name a language twice, and then its
    // first index counts. At most 0xFFFF: the file counts in 16 bits.
    std::vector<std::wstring> languages_;
    std::vector<std::uint16_t> languageIndexes_;
    // The lists as numbers: the column list and language list of the last
    // load, by index, and the file index of each column number that the last
    // save's column list gave.
    std::vector<std::uint32_t> loadedColumns_;
    std::vector<std::uint32_t> loadedLanguages_;
    std::vector<std::uint16_t> columnIndexes_;
    mutable std::vector<std::uint32_t> columnRanks_;
    mutable std::vector<std::uint32_t> languageRanks_;
    std::filesystem::path filePath_;
    std::filesystem::path savedFilePath_;
    bool changed_ = false;
    std::uint64_t rowsGeneration_ = 0;
    // The rows in the order they were added (rows_ never moves its
    // elements), each row knowing its place (CValueCacheLoc::order_), and
    // the place of the row last found. Evaluation and edits go through the
    // rows in the order that first filled them, so a lookup tries the row
    // last found and the one after it, in order in memory, before hashing.
    std::vector<RowMap::value_type*> order_;
    mutable std::size_t current_ = 0;
};
