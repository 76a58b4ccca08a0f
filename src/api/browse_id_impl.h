// The nodes behind Vardel::CBrowseId: a reference-counted base with the
// node's identity (internal name), optional version (modification time and
// revision) and the context it came from, and ten concrete classes, one per
// kind of node and favorites entry. Nodes are immutable after creation except
// for the family property cache, which only the stored search results use and
// which is not locked. A node keeps a plain pointer to its context handle and
// does not keep it alive.
//
// Identity (IsSameItem): library nodes and roots are the same item as another
// node without favorite id that has the same internal name; favorites entries
// are the same item as a node with the same favorite id. Either way a node is
// the same item as itself. A favorites entry and the library node it stands
// for are therefore never the same item, whichever side asks, which agrees
// with the ordering of Vardel::Utils::_BrId_less.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "api/ref_counter.h"
#include "vardel/browse_id.h"
#include "vardel/context.h"

namespace VardelUtils {

/// The first of `libraries`, or empty: the library reported by a node that
/// several libraries hold.
const std::wstring& FirstLibrary(const std::vector<std::wstring>& libraries);
/// An empty text that outlives every node: what the accessors returning a
/// reference give when a node has no such text.
const std::wstring& EmptyText();

}  // namespace VardelUtils

class CBrowseIdBaseImpl : public CRefCounter {
  public:
    /// When and in which revision a node was last changed; creators get both or neither.
    struct Version {
        std::wstring lastModTime;
        std::wstring revisionId;
    };

    CBrowseIdBaseImpl(const Vardel::CContext* context, std::wstring internalName,
                      std::optional<Version> version);

    /// The kind of the concrete class.
    virtual Vardel::EBrowseItemType GetBrowseItemType() const = 0;
    /// The library the node belongs to; empty for roots and favorites folders.
    virtual const std::wstring& GetLibraryName() const = 0;
    /// Whether `other` (non-null) names the same node; see the header comment.
    virtual bool IsSameItem(const CBrowseIdBaseImpl* other) const;
    /// The favorites-store identifier; empty for library nodes and roots.
    virtual std::wstring GetFavoriteId() const;

    const std::wstring& GetInternalName() const { return internalName_; }
    const std::wstring& GetRevisionId() const { return revisionId_; }
    const std::wstring& GetLastModTime() const { return lastModTime_; }
    /// Both version fields, for creators that copy a node.
    Version GetVersion() const { return {lastModTime_, revisionId_}; }
    /// The context the node was obtained through; may be null.
    const Vardel::CContext* GetContext() const { return context_; }

  protected:
    /// Identity of favorites entries: the same object or the same favorite id.
    bool IsSameFavorite(const CBrowseIdBaseImpl* other) const;

  private:
    std::wstring revisionId_;
    std::wstring lastModTime_;
    const Vardel::CContext* context_;
    std::wstring internalName_;
};

/// A library category; `libraries` are those that hold it, in order.
class CBrowseCategoryIdImpl : public CBrowseIdBaseImpl {
  public:
    CBrowseCategoryIdImpl(const Vardel::CContext* context, std::wstring internalName,
                          std::vector<std::wstring> libraries, std::optional<Version> version);
    Vardel::EBrowseItemType GetBrowseItemType() const override { return Vardel::BrowseCategory; }
    /// The first library, or empty.
    const std::wstring& GetLibraryName() const override;
    const std::vector<std::wstring>& GetLibraries() const { return libraries_; }

  private:
    std::vector<std::wstring> libraries_;
};

/// A category parameter; `libraries` are those that hold it, in order.
class CBrowseCategoryParameterIdImpl : public CBrowseIdBaseImpl {
  public:
    CBrowseCategoryParameterIdImpl(const Vardel::CContext* context, std::wstring internalName,
                                   std::vector<std::wstring> libraries);
    Vardel::EBrowseItemType GetBrowseItemType() const override {
        return Vardel::BrowseCategoryParameter;
    }
    /// The first library, or empty.
    const std::wstring& GetLibraryName() const override;
    const std::vector<std::wstring>& GetLibraries() const { return libraries_; }

  private:
    std::vector<std::wstring> libraries_;
};

/// A family in one library, with a cache of property values.
class CBrowseFamilyIdImpl : public CBrowseIdBaseImpl {
  public:
    CBrowseFamilyIdImpl(const Vardel::CContext* context, std::wstring internalName,
                        std::wstring library, std::optional<Version> version);
    Vardel::EBrowseItemType GetBrowseItemType() const override { return Vardel::BrowseFamily; }
    const std::wstring& GetLibraryName() const override { return library_; }
    /// The member id; empty for a family.
    virtual const std::wstring& GetMemberId() const;
    /// Property key -> value text; empty at creation, filled by the stored search results.
    std::map<std::wstring, std::wstring>& CachedProperties() { return cachedProperties_; }

  private:
    std::wstring library_;
    std::map<std::wstring, std::wstring> cachedProperties_;
};

/// One member (table row) of a family.
class CBrowseFamilyMemberIdImpl : public CBrowseFamilyIdImpl {
  public:
    CBrowseFamilyMemberIdImpl(const Vardel::CContext* context, std::wstring internalName,
                              std::wstring library, std::wstring memberId,
                              std::optional<Version> version);
    Vardel::EBrowseItemType GetBrowseItemType() const override {
        return Vardel::BrowseFamilyMember;
    }
    const std::wstring& GetMemberId() const override { return memberId_; }

  private:
    std::wstring memberId_;
};

/// The root folder of the history.
class CBrowseHistoryIdImpl : public CBrowseIdBaseImpl {
  public:
    CBrowseHistoryIdImpl(const Vardel::CContext* context, std::wstring internalName);
    Vardel::EBrowseItemType GetBrowseItemType() const override { return Vardel::BrowseHistoryRoot; }
    const std::wstring& GetLibraryName() const override { return VardelUtils::EmptyText(); }
};

/// The root folder of the stored search results.
class CBrowseSearchIdImpl : public CBrowseIdBaseImpl {
  public:
    CBrowseSearchIdImpl(const Vardel::CContext* context, std::wstring internalName);
    Vardel::EBrowseItemType GetBrowseItemType() const override { return Vardel::BrowseSearchRoot; }
    const std::wstring& GetLibraryName() const override { return VardelUtils::EmptyText(); }
};

/// A folder or the root of a favorites set.
class CBrowseFavoriteFolderIdImpl : public CBrowseIdBaseImpl {
  public:
    CBrowseFavoriteFolderIdImpl(const Vardel::CContext* context, std::wstring internalName,
                                std::wstring favoriteId, std::optional<Version> version);
    Vardel::EBrowseItemType GetBrowseItemType() const override {
        return Vardel::BrowseFavoriteFolder;
    }
    const std::wstring& GetLibraryName() const override { return VardelUtils::EmptyText(); }
    bool IsSameItem(const CBrowseIdBaseImpl* other) const override { return IsSameFavorite(other); }
    std::wstring GetFavoriteId() const override { return favoriteId_; }

  private:
    std::wstring favoriteId_;
};

/// A favorites entry standing for a library category.
class CBrowseFavoriteCategoryIdImpl : public CBrowseCategoryIdImpl {
  public:
    CBrowseFavoriteCategoryIdImpl(const Vardel::CContext* context, std::wstring internalName,
                                  std::vector<std::wstring> libraries, std::wstring favoriteId,
                                  std::optional<Version> version);
    bool IsSameItem(const CBrowseIdBaseImpl* other) const override { return IsSameFavorite(other); }
    std::wstring GetFavoriteId() const override { return favoriteId_; }

  private:
    std::wstring favoriteId_;
};

/// A favorites entry standing for a family.
class CBrowseFavoriteFamilyIdImpl : public CBrowseFamilyIdImpl {
  public:
    CBrowseFavoriteFamilyIdImpl(const Vardel::CContext* context, std::wstring internalName,
                                std::wstring library, std::wstring favoriteId,
                                std::optional<Version> version);
    bool IsSameItem(const CBrowseIdBaseImpl* other) const override { return IsSameFavorite(other); }
    std::wstring GetFavoriteId() const override { return favoriteId_; }

  private:
    std::wstring favoriteId_;
};

/// A favorites entry standing for a family member.
class CBrowseFavoriteMemberIdImpl : public CBrowseFamilyMemberIdImpl {
  public:
    CBrowseFavoriteMemberIdImpl(const Vardel::CContext* context, std::wstring internalName,
                                std::wstring library, std::wstring memberId,
                                std::wstring favoriteId, std::optional<Version> version);
    bool IsSameItem(const CBrowseIdBaseImpl* other) const override { return IsSameFavorite(other); }
    std::wstring GetFavoriteId() const override { return favoriteId_; }

  private:
    std::wstring favoriteId_;
};

namespace VardelUtils {

/// Internal access to the private parts of CBrowseId.
class BrowseIdAccess {
  public:
    /// A handle taking `impl` (count 0 when new); null gives an empty handle.
    static Vardel::CBrowseId Wrap(CBrowseIdBaseImpl* impl) { return Vardel::CBrowseId(impl); }
    /// The node behind `id`, or null for an empty handle.
    static CBrowseIdBaseImpl* GetImpl(const Vardel::CBrowseId& id) { return id.impl_; }
    /// The node behind `id` as a `T`, or null when empty or of another class.
    template <class T>
    static T* As(const Vardel::CBrowseId& id) {
        return dynamic_cast<T*>(id.impl_);
    }
};

}  // namespace VardelUtils
