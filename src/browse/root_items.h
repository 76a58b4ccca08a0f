// What the browsing face asks of a personal store that sits behind a
// synthetic root folder (the history root, the search-results root): whether
// it holds anything, whether it holds an item, and the ids of its items. The
// root's children are made from those ids by the item-id conversion.
#pragma once

#include <string>
#include <vector>

namespace VardelBrowse {

class RootItemSource {
  public:
    virtual ~RootItemSource() = default;

    /// True when the store holds no item.
    virtual bool IsEmpty() const = 0;
    /// Whether an item's id equals `id` without regard to case.
    virtual bool ContainsItem(const std::wstring& id) const = 0;
    /// The ids of the items, in the store's order.
    virtual std::vector<std::wstring> ItemIds() const = 0;
};

}  // namespace VardelBrowse
