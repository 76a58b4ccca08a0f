// Library categories as a user names them: a category id, or a path of
// display names from a root separated by "/" ("Fasteners/Bolts and screws"),
// each name matched as name_match.h describes. Also the way back: the path
// of a category. Everything goes through the browsing face of a library
// context, so the context's filter decides what can be named.
#pragma once

#include <string>
#include <vector>

#include "tool_result.h"
#include "vardel/browse_id.h"
#include "vardel/context.h"

namespace VardelTool {

/// The root categories of the context's libraries.
Result<std::vector<Vardel::CBrowseId>> RootCategories(const Vardel::CContext& context);
/// The direct sub-categories of `parent`.
Result<std::vector<Vardel::CBrowseId>> SubCategories(const Vardel::CContext& context,
                                                     const Vardel::CBrowseId& parent);

/// The category an id or a display-name path names.
Result<Vardel::CBrowseId> FindCategory(const Vardel::CContext& context, const std::string& text);

/// The display-name path of `category` from its root, "/"-separated.
Result<std::wstring> CategoryPath(const Vardel::CContext& context,
                                  const Vardel::CBrowseId& category);

/// "/"-separated parts of `path`; empty parts are dropped.
std::vector<std::string> SplitPath(const std::string& path);

}  // namespace VardelTool
