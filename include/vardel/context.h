// A browsing context: the host's working session with the content library.
// It fixes, for its whole life, which tree is browsed (the server's libraries,
// the stored search results, the history or the favorites), the library names
// it may see, the filter of server requests, the caller's security record, the
// language of returned texts and the folder of the personal stores.
//
// CContext is a handle on shared, reference-counted state: copies share it and
// never clone it (CloneContext makes an independent context). Copying and
// destroying handles is safe on any thread; everything else assumes one thread
// at a time per context. Initialize reports failure as a status and leaves the
// handle empty.
#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <set>
#include <string>

#include "vardel/export.h"
#include "vardel/status.h"

class ContextImpl;

namespace VardelUtils {
class ContextAccess;
}

namespace Vardel {

/// The tree a context browses.
enum BrowsingStructureType : std::int32_t {
    LibraryBrowsing = 0,    ///< The server's libraries.
    SearchBrowsing = 1,     ///< The stored results of the last search.
    HistoryBrowsing = 2,    ///< The history of used items.
    FavoritesBrowsing = 3,  ///< The user's favorites.
};

/// The caller's security record. The library gives the values no meaning; it
/// only hands them to the server interface.
struct VARDEL_API SSecurityContext {
    std::int64_t number = 0;
    std::wstring text1;
    std::wstring text2;
    std::wstring text3;
    std::wstring text4;
    std::wstring text5;
    std::int32_t accessOption = 0;  ///< Zero or non-zero.
};

/// What server requests and local item lists hide.
struct VARDEL_API FilterStruct {
    /// Category-content values sent to the server.
    std::set<std::wstring> categoriesContent;
    /// Allowed values per property key; applied locally when usePropertyFilters is set.
    std::map<std::wstring, std::set<std::wstring>> propertyFilters;
    bool usePropertyFilters = false;
    bool filterParts = false;
    bool filterFeatures = false;
    bool filterInvisibleCategories = true;
    bool filterEmptyCategories = false;

    /// Sets all five flags to false and empties both containers.
    void SetEmptyFilter();

    bool operator==(const FilterStruct& other) const = default;
};

class VARDEL_API CContext {
  public:
    /// An empty context.
    CContext();
    /// Shares the other's state.
    CContext(const CContext& other);
    /// Drops the own state and shares the other's; nothing happens when both already share.
    CContext& operator=(const CContext& other);
    virtual ~CContext();

    /// True when the context holds no state.
    bool IsNULL() const;
    /// True when the context HOLDS state (the negation of IsNULL).
    bool operator!() const;

    /// Fills an empty context. E_UNEXPECTED when it already holds state;
    /// E_INVALIDARG for a type outside 0..3, a null library list, or a null
    /// storage path for the three local trees. On failure the context stays
    /// empty. The storage path is ignored for LibraryBrowsing.
    HRESULT Initialize(BrowsingStructureType type, const std::list<std::wstring>* libraries,
                       const FilterStruct* filter, const std::wstring& language,
                       const SSecurityContext* security, const wchar_t* storagePath);

    /// Initialises `target` as an independent copy of this context; does
    /// nothing when `target` already holds state or this context is empty.
    void CloneContext(CContext& target) const;

    /// The context's own filter, or null when empty or unfiltered.
    FilterStruct* GetFilter();
    /// Copies `*filter` into the context's filter; null removes it. No effect on an empty context.
    void SetFilter(const FilterStruct* filter);

  private:
    friend class VardelUtils::ContextAccess;

    // Takes `impl` (count 0 when new) and adds a reference when non-null.
    explicit CContext(ContextImpl* impl);
    void Release();

    ContextImpl* impl_;
};

/// The context's library names in the caller's order (empty for an empty context).
VARDEL_API const std::list<std::wstring>& GetLibraries(const CContext* ctx);
/// The context's filter, or null when it has none.
VARDEL_API const FilterStruct* GetFilters(const CContext* ctx);

}  // namespace Vardel
