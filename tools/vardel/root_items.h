// The families under the one root folder of a search or history context:
// the stored search results, or the families of the history. Both are read
// the same way through the browsing face (the root, its child items, their
// properties) and printed as the same table.
#pragma once

#include <string>
#include <vector>

#include "tool_result.h"
#include "vardel/context.h"

namespace VardelTool {

struct RootItem {
    std::wstring id;
    std::wstring name;
    std::wstring standard;
    std::wstring library;
};

/// The items of the context's root, in the store's order.
Result<std::vector<RootItem>> ReadRootItems(const Vardel::CContext& context);

/// Prints `items` as a table, or as {"count": N, "<listName>": [...]}.
void PrintRootItems(const std::vector<RootItem>& items, const std::string& listName, bool json);

}  // namespace VardelTool
