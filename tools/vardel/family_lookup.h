// Families as a user names them: a family id, or a display name in the
// context's language matched as name_match.h describes (two families of the
// same name are an error listing both ids).
#pragma once

#include <string>

#include "tool_result.h"
#include "vardel/browse_id.h"
#include "vardel/context.h"

namespace VardelTool {

/// The family `text` names, in a library context.
Result<Vardel::CBrowseId> FindFamily(const Vardel::CContext& context, const std::string& text);

}  // namespace VardelTool
