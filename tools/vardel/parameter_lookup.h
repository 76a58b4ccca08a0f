// The category parameters a search can name, gathered from the libraries
// of a context through the browsing face: every category of every level
// (hidden ones too), the parameters each one lists, and their display and
// reference names. A user names a parameter by its id, its display name in
// the context's language or its reference name, in any case; a name that
// fits two parameters is an error listing them.
#pragma once

#include <string>
#include <vector>

#include "tool_result.h"
#include "vardel/context.h"

namespace VardelTool {

struct CategoryParameter {
    std::wstring id;
    std::wstring displayName;
    std::wstring refName;
};

class ParameterIndex {
  public:
    /// Reads the parameters of every library of `context`, a library
    /// context whose filter shows hidden categories.
    static Result<ParameterIndex> Read(const Vardel::CContext& context);

    /// The parameter `name` names.
    Result<CategoryParameter> Find(const std::string& name) const;

  private:
    std::vector<CategoryParameter> parameters_;
};

}  // namespace VardelTool
