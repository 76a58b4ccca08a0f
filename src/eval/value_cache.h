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
/// row, so the values live in two blocks per row rather than in one node per
/// value: entries keyed by the store's numbers for languages and columns, and
/// one buffer holding every value's characters. Rows that the store read from
/// its file view their part of two blocks shared by all of them instead,
/// until they change.
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
    /// The value by the numbers, in place: valid until the row changes.
    /// Nullopt when absent.
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
    // One value: where its characters lie in the text.
    struct Entry {
        std::uint32_t language;
        std::uint32_t column;
        std::size_t offset;
        std::size_t length;
    };
    using Entries = std::vector<Entry>;

    // The row's entries, ascending by language, then column, and the text
    // they point into: the row's own, or the store's for a row it read.
    std::span<const Entry> Values() const;
    std::wstring_view Text() const;
    // Gives a row that views its store's values its own copy of them; every
    // change of the row goes through it first.
    void Own();
    // The first entry not before (language, column).
    const Entry* LowerBound(std::uint32_t language, std::uint32_t column) const;
    // Whether `entry` (a LowerBound) is the entry of (language, column).
    bool Holds(const Entry* entry, std::uint32_t language, std::uint32_t column) const;
    // Of an owning row.
    void Erase(const Entry* entry);
    // Rewrites text_ without its unused characters once they outweigh the
    // used ones.
    void CompactIfWasteful();
    // Reads a record into the store's loaded values, which the row then
    // views (the store reads its file with it: no block of its own per row).
    int LoadShared(VardelCommon::ArchiveReader& archive);
    // Reads a record's values onto the end of `entries` and `text`, in
    // order, and answers as Load.
    int LoadInto(VardelCommon::ArchiveReader& archive, Entries& entries, std::wstring& text);
    bool LoadLanguage(VardelCommon::ArchiveReader& archive, Entries& entries, std::wstring& text);
    // Orders the entries from `first` on and drops repeated ones (the first
    // read stays).
    static void SortLoaded(Entries& entries, std::size_t first);

    friend class CValueStore;

    // Small, as a table holds a row per member: the counts that no store
    // reaches are 32 bits.
    CValueStore& store_;
    std::uint32_t order_ = 0;  // the row's place in its store's row order
    // A row read by its store views the store's loaded entries from
    // sharedFirst_ on, sharedCount_ of them, until its first change.
    bool shared_ = false;
    std::uint32_t sharedFirst_ = 0;
    std::uint32_t sharedCount_ = 0;
    Entries entries_;
    std::wstring text_;
    std::size_t unused_ = 0;  // characters of text_ no entry refers to
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
