// The row caches of a value store. CValueCacheLoc holds one row's values by
// language and column id; CValueCacheSimple one map of values (its record is
// the inner part of CValueCacheLoc's, and no table creates one). Both mark
// their store changed on every change of content and read and write their
// part of the cache file through the archive codec, translating column and
// language indexes through the store's lists; reads are bounded by the bytes
// that remain. Records list languages and columns by UTF-16 code unit,
// case-sensitive, ascending. A cache refers to its store, which must outlive
// it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "api/utf16_order.h"
#include "common/archive.h"

class CValueStore;

class CValueCache {
  public:
    virtual ~CValueCache() = default;
    virtual void SetValue(const std::wstring& key, const std::wstring& language,
                          const std::wstring& value) = 0;
    /// 0 and the value when present, 1 when not.
    virtual int GetValue(const std::wstring& key, const std::wstring& language,
                         std::wstring& value) const = 0;
    /// In every language.
    virtual void ClearValue(const std::wstring& key) = 0;
    virtual void ClearValue(const std::wstring& key, const std::wstring& language) = 0;
    virtual void ClearAll() = 0;
    /// Replaces the content by the record read: 1 when it was read whole;
    /// when reading broke off, 0 if some values were kept, -1 if none.
    virtual int Load(VardelCommon::ArchiveReader& archive) = 0;
    /// Writes the record; returns 1.
    virtual int Save(VardelCommon::ArchiveWriter& archive) const = 0;
};

namespace VardelEval {
/// Values by column id, in ascending order.
using ValueMap = std::map<std::wstring, std::wstring, VardelUtils::Utf16Less>;
}  // namespace VardelEval

/// One row: values by language, then by column id. A table holds one per
/// row, so a row holds no block of its own: its entries, keyed by the
/// store's numbers for languages and columns, lie together in one block of
/// its store shared by all rows, and their characters in another. A row is
/// made by its store, or briefly to check a record; its values stay valid
/// while the store's rows do not change.
class CValueCacheLoc final : public CValueCache {
  public:
    explicit CValueCacheLoc(CValueStore& store) : store_(store) {}

    void SetValue(const std::wstring& key, const std::wstring& language,
                  const std::wstring& value) override;
    int GetValue(const std::wstring& key, const std::wstring& language,
                 std::wstring& value) const override;
    void ClearValue(const std::wstring& key) override;
    /// A language left without values is removed.
    void ClearValue(const std::wstring& key, const std::wstring& language) override;
    void ClearAll() override;
    /// Language blocks whose index is outside the store's language list are
    /// skipped whole; values whose column index is outside its column list
    /// too. Of two values of one column and language the first is kept.
    int Load(VardelCommon::ArchiveReader& archive) override;
    int Save(VardelCommon::ArchiveWriter& archive) const override;

    /// The same by the store's numbers of the language and the column.
    int GetValue(std::uint32_t language, std::uint32_t column, std::wstring& value) const;
    /// The value by the numbers, in place: valid until a row of the store
    /// changes. Nullopt when absent.
    std::optional<std::wstring_view> FindValue(std::uint32_t language, std::uint32_t column) const;
    void SetValue(std::uint32_t language, std::uint32_t column, std::wstring_view value);
    /// Calls `visit(column, value)` for every value of `language` in place,
    /// in ascending column number: a row read whole visits its values once
    /// instead of searching for each one.
    template <typename Visit>
    void VisitValues(std::uint32_t language, Visit visit) const {
        const std::wstring_view text = Text();
        const Entry* const end = Values().data() + Values().size();
        for (const Entry* entry = LowerBound(language, 0);
             entry != end && entry->language == language; ++entry) {
            visit(entry->column, text.substr(entry->offset, entry->length));
        }
    }

  private:
    // One value: where its characters lie in the store's text.
    struct Entry {
        std::uint32_t language;
        std::uint32_t column;
        std::size_t offset;
        std::size_t length;
    };
    using Entries = std::vector<Entry>;

    // The row's entries, ascending by language, then column, and the text
    // they point into.
    std::span<const Entry> Values() const;
    std::wstring_view Text() const;
    Entry* MutableValues();
    // The first entry not before (language, column).
    const Entry* LowerBound(std::uint32_t language, std::uint32_t column) const;
    // Whether `entry` (a LowerBound) is the entry of (language, column).
    bool Holds(const Entry* entry, std::uint32_t language, std::uint32_t column) const;
    // Gives the row room for `count` entries, moving them to the end of the
    // store's block when they cannot grow where they are.
    void Reserve(std::size_t count);
    void Erase(const Entry* entry);
    // Leaves the row without values; what it held counts as unused.
    void Release();
    // Reads a record's values onto the end of `entries` and `text`, in
    // order, and answers as Load; the row itself is left as it is.
    int LoadInto(VardelCommon::ArchiveReader& archive, Entries& entries, std::wstring& text) const;
    bool LoadLanguage(VardelCommon::ArchiveReader& archive, Entries& entries,
                      std::wstring& text) const;
    // Orders the entries from `first` on and drops repeated ones (the first
    // read stays).
    static void SortLoaded(Entries& entries, std::size_t first);

    friend class CValueStore;

    // Small, as a table holds a row per member.
    CValueStore& store_;
    std::uint32_t order_ = 0;     // the row's place in its store's row order
    std::uint32_t count_ = 0;     // the row's entries
    std::uint32_t capacity_ = 0;  // the slots it holds from first_ on
    std::size_t first_ = 0;       // of its entries in the store's block
};

/// One map of values; the language arguments are ignored.
class CValueCacheSimple final : public CValueCache {
  public:
    explicit CValueCacheSimple(CValueStore& store) : store_(store) {}

    void SetValue(const std::wstring& key, const std::wstring& language,
                  const std::wstring& value) override;
    int GetValue(const std::wstring& key, const std::wstring& language,
                 std::wstring& value) const override;
    void ClearValue(const std::wstring& key) override;
    void ClearValue(const std::wstring& key, const std::wstring& language) override;
    void ClearAll() override;
    int Load(VardelCommon::ArchiveReader& archive) override;
    int Save(VardelCommon::ArchiveWriter& archive) const override;

  private:
    CValueStore& store_;
    VardelEval::ValueMap values_;
};
