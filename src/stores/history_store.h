// The history of a history context: the items the user used last, at most 50,
// newest first, each with the time (seconds since 1970-01-01 UTC) it was
// added. After every addition no two item ids are equal without regard to
// case; a loaded file is taken as it is, without that limit or check.
//
// The store lives in "History.bin" in the context's storage folder. It is
// read once, when the store is created, and rewritten whole after every
// addition; the write replaces the file atomically, so a failed save leaves
// the previous file as it was. A load reads the whole file or nothing: a
// corrupt or truncated file gives E_FAIL and an empty history. Without an
// existing storage folder the store has no file: it starts empty, additions
// work in memory and every save fails.
//
// File layout (little-endian): the archive string "His1" (not checked when
// reading), a 32-bit item count, then per item, newest first, the id as an
// archive string and the time as a signed 64-bit integer.
//
// One store per context, used by one thread at a time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "browse/root_items.h"
#include "vardel/status.h"

struct SHistoryItem {
    std::wstring itemId;  ///< Exactly as it was added.
    std::int64_t time = 0;
};

class CHistoryData : public VardelBrowse::RootItemSource {
  public:
    static constexpr std::size_t kMaxItems = 50;

    /// A store for `storagePath`, loaded from its file; the load's status is
    /// not reported (a failed load leaves the store empty).
    static std::unique_ptr<CHistoryData> Initialize(const std::wstring& storagePath);

    /// Replaces the items by those of the file: S_OK with no items when there
    /// is no file to open, E_FAIL with no items when it is corrupt.
    HRESULT Load();
    /// Writes every item; E_FAIL when the store has no file or writing fails.
    HRESULT Save() const;

    /// Puts `itemId` first with time `now`, removing the ids equal to it
    /// without regard to case and the oldest items beyond 50, then saves;
    /// a failed save is not reported.
    void AddItem(const std::wstring& itemId, std::int64_t now);

    const std::list<SHistoryItem>& Items() const { return items_; }
    /// The file of the store; empty when the storage folder did not exist.
    const std::filesystem::path& FilePath() const { return filePath_; }

    bool IsEmpty() const override { return items_.empty(); }
    bool ContainsItem(const std::wstring& id) const override;
    std::vector<std::wstring> ItemIds() const override;

  private:
    std::list<SHistoryItem> items_;
    std::filesystem::path filePath_;
};
