// Browse identifiers: opaque handles on the nodes a host sees through the
// browsing face (categories, families, members, category parameters, the
// history and search roots, favorites folders). Only the library creates
// them; a host stores them, passes them back, compares and orders them, and
// asks for their kind, internal name, member id, revision and modification
// time.
//
// CBrowseId shares a reference-counted, immutable node: copies always agree,
// and copying or destroying handles is safe on any thread. The free accessors
// report an empty handle with E_INVALIDARG and leave their output untouched.
#pragma once

#include <cstdint>
#include <string>

#include "vardel/export.h"
#include "vardel/status.h"

class CBrowseIdBaseImpl;

namespace VardelUtils {
class BrowseIdAccess;
}

namespace Vardel {

/// Kind of a node. The values are distinct bits so that kinds can be tested as masks.
enum EBrowseItemType : std::int32_t {
    BrowseCategory = 1,           ///< A category, or a favorites entry standing for one.
    BrowseFamily = 2,             ///< A family, or a favorites entry standing for one.
    BrowseCategoryParameter = 4,  ///< A category parameter.
    BrowseFamilyMember = 8,       ///< A family member, or a favorites entry standing for one.
    BrowseHistoryRoot = 16,       ///< The root folder of the history.
    BrowseSearchRoot = 32,        ///< The root folder of the stored search results.
    BrowseFavoriteFolder = 64,    ///< A folder or the root of a favorites set.
};

class VARDEL_API CBrowseId {
  public:
    /// An empty handle.
    CBrowseId();
    /// Shares the other's node.
    CBrowseId(const CBrowseId& other);
    /// Drops the own node and shares the other's; nothing happens when both already share.
    CBrowseId& operator=(const CBrowseId& other);
    virtual ~CBrowseId();

    /// True when the handle names no node.
    bool IsNULL() const;
    /// True when the handle NAMES a node (the negation of IsNULL).
    bool operator!() const;
    /// False when either handle is empty; otherwise whether both name the same node.
    bool IsTheSameItem(const CBrowseId& other) const;

    /// The node's identity text; an empty string for an empty handle.
    const std::wstring& GetInternalName() const;
    /// The node's revision identifier; empty unless known, and for an empty handle.
    const std::wstring& GetRevisionId() const;
    /// The node's last-modification time as text; empty unless known, and for an empty handle.
    const std::wstring& GetLastModTime() const;

  private:
    friend class VardelUtils::BrowseIdAccess;

    // Takes `impl` (count 0 when new) and adds a reference when non-null.
    explicit CBrowseId(CBrowseIdBaseImpl* impl);
    void Release();

    CBrowseIdBaseImpl* impl_;
};

/// out := the internal name; E_INVALIDARG for an empty handle.
VARDEL_API HRESULT GetInternalName(const CBrowseId& id, std::wstring& out);
/// out := the member id (empty for a family); E_INVALIDARG for an empty
/// handle or a kind other than family or member.
VARDEL_API HRESULT GetMemberID(const CBrowseId& id, std::wstring& out);
/// out := the node's kind; E_INVALIDARG for an empty handle.
VARDEL_API HRESULT GetBrowseIdType(const CBrowseId& id, EBrowseItemType& out);

namespace Utils {

/// Strict weak ordering for sets and maps keyed by browse identifiers. Empty
/// handles sort first; library nodes order by internal name, and as soon as
/// one side is a favorites entry both order by favorite id.
struct VARDEL_API _BrId_less {
    bool operator()(const CBrowseId& a, const CBrowseId& b) const;
};

}  // namespace Utils
}  // namespace Vardel
