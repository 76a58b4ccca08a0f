// The stored results of a search context: the items the host kept from its
// last search, in the order it stored them, each with its member id (empty
// for a family) and a copy of the property values cached on its browse id.
// The store also keeps a time stamp (seconds since 1970-01-01 UTC): the
// moment of the last save, or the value read from the file.
//
// The store lives in "TarnSearch.bin" in the context's storage folder. It is
// read once, when the store is created, and written only when the host
// stores results; the write replaces the file atomically, so a failed save
// leaves the previous file and the list in memory as they were. A corrupt or
// truncated file gives E_FAIL from the load and keeps the entries read
// before the fault. Without an existing storage folder the store has no
// file: it starts empty and every save fails.
//
// File layout (little-endian): a 32-bit entry count, the 64-bit signed time
// stamp, then per entry the internal name and the member id as archive
// strings, a 32-bit count of cached properties and that many key and value
// strings in ascending key order.
//
// One store per context, used by one thread at a time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "browse/root_items.h"
#include "vardel/browse_id.h"
#include "vardel/status.h"

struct SSearchResultEntry {
    std::wstring internalName;
    std::wstring memberId;  ///< Empty for a family.
    /// Property key -> value, one value per key, ascending by key.
    std::map<std::wstring, std::wstring> properties;
};

class CSearchResultsData : public VardelBrowse::RootItemSource {
  public:
    /// A store for `storagePath`, loaded from its file; the load's status is
    /// not reported.
    static std::unique_ptr<CSearchResultsData> Initialize(const std::wstring& storagePath);

    /// Replaces the entries by those of the file: S_OK with none when there is
    /// no file to open; E_FAIL when it is corrupt, keeping the entries read
    /// before the fault.
    HRESULT Load();
    /// Stamps the store with the current time and writes every entry; E_FAIL
    /// when the store has no file (the stamp then stays) or writing fails.
    HRESULT Save();

    /// With `saveOnly`, saves the current entries. Otherwise replaces them by
    /// one entry per non-empty id of `ids`, in order (its internal name,
    /// member id and cached properties), and saves. Returns the save's status.
    HRESULT StoreResults(const std::vector<Vardel::CBrowseId>& ids, bool saveOnly);

    const std::list<SSearchResultEntry>& Entries() const { return entries_; }
    std::int64_t TimeStamp() const { return timeStamp_; }
    /// The file of the store; empty when the storage folder did not exist.
    const std::filesystem::path& FilePath() const { return filePath_; }

    bool IsEmpty() const override { return entries_.empty(); }
    bool ContainsItem(const std::wstring& id) const override;
    /// The distinct internal names of the entries, in stored order.
    std::vector<std::wstring> ItemIds() const override;

  private:
    std::list<SSearchResultEntry> entries_;
    std::filesystem::path filePath_;
    std::int64_t timeStamp_ = 0;
};
