// Finding one node among siblings by the name a user typed. Names compare
// without regard to case; an exact spelling wins over other spellings, and
// more than one node of the same name is an error that lists them, so that
// the user can name one by its id instead.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tool_result.h"

namespace VardelTool {

/// One name of a candidate and its id (shown when names clash). A node with
/// several names (a display name and a reference name) has one entry each.
struct NamedNode {
    std::wstring name;
    std::wstring id;
};

/// The index in `nodes` of the entry naming the one node named `wanted`; a
/// failure naming `what` (e.g. "category") when no node or several match.
Result<std::size_t> PickByName(const std::vector<NamedNode>& nodes, const std::wstring& wanted,
                               const std::string& what);

}  // namespace VardelTool
