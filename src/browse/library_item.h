// Library items: one per distinct node id collected across the libraries of a
// context. A category or family may exist in several libraries under the same
// id; the merge asks every library that holds an item for its copy's
// last-modified time and revision (or reference) GUID, and the item then
// names the library of the most recently modified copy. Items live for one
// browsing or search call: built from the collected ids (which they take
// over), merged, turned into browse identifiers, destroyed.
//
// Merge entries are ordered by last-modified text, descending, in UTF-16
// order; equal texts are all kept, in the order the libraries answered
// (library-name order). That text order is chronological only for texts that
// sort chronologically, which is what the server sends.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "api/browse_id_impl.h"
#include "api/utf16_order.h"
#include "browse/collected_ids.h"
#include "vardel/browse_id.h"
#include "vardel/context.h"
#include "vardel/return_value.h"
#include "vardel/status.h"

class ContextImpl;

/// One copy of a category in a library: its reference GUID (empty when that
/// answer failed) and the library, one of the item's own library names.
struct CCategoryMergeData {
    std::wstring guid;
    std::wstring_view library;
};

/// One copy of a family in a library: its revision GUID and the library, one
/// of the item's own library names.
struct CFamilyMergeData {
    std::wstring guid;
    std::wstring_view library;
};

class CLibraryItem {
  public:
    enum Kind { CategoryItem = 0, FamilyItem = 1 };

    /// An item for `id` found in `libraries`.
    CLibraryItem(std::wstring id, VardelBrowse::LibrarySet libraries)
        : id_(std::move(id)), libraries_(std::move(libraries)) {}
    CLibraryItem(const CLibraryItem&) = delete;
    CLibraryItem& operator=(const CLibraryItem&) = delete;
    virtual ~CLibraryItem() = default;

    virtual Kind GetItemKind() const = 0;
    /// The library of the newest copy, or the first library of the set when no copy answered.
    virtual std::wstring GetPreferredLibrary() const = 0;
    /// True once at least one library answered the merge request.
    virtual bool IsMerged() const = 0;
    /// The browse identifier of the item for `context`; a non-empty `memberId`
    /// makes a family item a member identifier. Empty when the item has no library.
    virtual Vardel::CBrowseId CreateBrowseId(const Vardel::CContext* context,
                                             const std::wstring& memberId = {}) const = 0;
    /// CreateBrowseId(context) for an item that is done with: the browse id
    /// takes the item's id and version texts instead of copies of them.
    virtual Vardel::CBrowseId TakeBrowseId(const Vardel::CContext* context) = 0;
    /// Records the answer of `library` (one of the item's own library names)
    /// to the merge request: last-modified time, then GUID, whose texts the
    /// item may take. Each kind decides which answers make an entry.
    virtual void AddMergeAnswer(Vardel::ReturnValue& lastModTime, Vardel::ReturnValue& guid,
                                std::wstring_view library) = 0;

    const std::wstring& GetId() const { return id_; }
    const VardelBrowse::LibrarySet& GetLibraries() const { return libraries_; }

  protected:
    /// The id, moved out of the item.
    std::wstring TakeId() { return std::move(id_); }

  private:
    std::wstring id_;
    VardelBrowse::LibrarySet libraries_;
};

namespace VardelBrowse {

/// What the two item kinds share: the ordered merge entries and what they say.
template <class MergeData>
class MergedItem : public CLibraryItem {
  public:
    using CLibraryItem::CLibraryItem;
    /// Last-modified text and copy, newest first; copies of equal times in
    /// the order they were added.
    using Entries = std::vector<std::pair<std::wstring, MergeData>>;

    std::wstring GetPreferredLibrary() const override {
        if (!entries_.empty()) {
            return std::wstring(entries_.front().second.library);
        }
        return GetLibraries().empty() ? std::wstring() : *GetLibraries().begin();
    }
    bool IsMerged() const override { return !entries_.empty(); }
    const Entries& GetMergeEntries() const { return entries_; }

  protected:
    void AddEntry(std::wstring lastModTime, MergeData data);
    /// The libraries a browse id carries: every answering library, newest
    /// first; without answers the first library of the set.
    std::vector<std::wstring> BrowseLibraries() const;
    /// The newest copy's time and GUID, when some library answered.
    std::optional<CBrowseIdBaseImpl::Version> NewestVersion() const;
    /// NewestVersion, moved out of the item.
    std::optional<CBrowseIdBaseImpl::Version> TakeNewestVersion();

  private:
    Entries entries_;
};

}  // namespace VardelBrowse

class CLibraryItemCategory : public VardelBrowse::MergedItem<CCategoryMergeData> {
  public:
    using MergedItem::MergedItem;
    Kind GetItemKind() const override { return CategoryItem; }
    /// Always a category identifier; `memberId` is ignored.
    Vardel::CBrowseId CreateBrowseId(const Vardel::CContext* context,
                                     const std::wstring& memberId = {}) const override;
    Vardel::CBrowseId TakeBrowseId(const Vardel::CContext* context) override;
    /// An entry whenever the time came back; a failed GUID answer leaves the GUID empty.
    void AddMergeAnswer(Vardel::ReturnValue& lastModTime, Vardel::ReturnValue& guid,
                        std::wstring_view library) override;
};

class CLibraryItemFamily : public VardelBrowse::MergedItem<CFamilyMergeData> {
  public:
    using MergedItem::MergedItem;
    Kind GetItemKind() const override { return FamilyItem; }
    Vardel::CBrowseId CreateBrowseId(const Vardel::CContext* context,
                                     const std::wstring& memberId = {}) const override;
    Vardel::CBrowseId TakeBrowseId(const Vardel::CContext* context) override;
    /// An entry only when both the time and the revision came back.
    void AddMergeAnswer(Vardel::ReturnValue& lastModTime, Vardel::ReturnValue& guid,
                        std::wstring_view library) override;
};

namespace VardelBrowse {

/// Items of one kind, in ascending id order (the order of the collected ids).
using LibraryItems = std::vector<std::unique_ptr<CLibraryItem>>;

/// Appends one family item per entry of `collected`, in id order, moving
/// the ids and sets into the items. E_OUTOFMEMORY when an allocation fails,
/// with the items built so far left in `items`.
HRESULT BuildFamilyItems(CollectedIds collected, LibraryItems& items);
/// The same with category items.
HRESULT BuildCategoryItems(CollectedIds collected, LibraryItems& items);

/// Asks every library that holds some of `items` (all of one kind) for their
/// last-modified times and GUIDs, one request per library in library-name
/// order, and records the answers. A library that fails or answers the wrong
/// number of values contributes nothing; the merge itself cannot fail.
void MergeItems(const ContextImpl& context, LibraryItems& items);

/// Removes the items whose properties do not pass the context's item filter:
/// the filter's property filters when it uses them and, in search contexts,
/// the part/feature choice as a FAM_DATATYPE criterion. An item passes when
/// every criterion's allowed values hold its value (a missing value counts as
/// the empty text). Without criteria nothing is asked or removed. The values
/// are asked per item library, one request each; a failing request ends the
/// filter with its status and leaves `items` as they were.
HRESULT FilterItems(const ContextImpl& context, LibraryItems& items);

}  // namespace VardelBrowse
