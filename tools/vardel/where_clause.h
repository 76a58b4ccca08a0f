// A --where constraint of vardel search: NAME OP VALUE, where OP is one of
// = != < <= > >= (comparisons), ~ (a LIKE pattern with % and _) or the word
// "in" between spaces (VALUE a comma-separated list). The operator is the
// first operator character in the text, so a name cannot hold one of
// "=!<>~" but a value may. Names and values are trimmed of spaces; neither
// may be empty.
#pragma once

#include <string>
#include <vector>

#include "tool_result.h"

namespace VardelTool {

struct WhereClause {
    std::string name;
    /// The operator as the search query spells it: "=", "!=", "<", "<=",
    /// ">", ">=", "LIKE" or "IN".
    std::string op;
    /// One value, or the list of "in".
    std::vector<std::string> values;
};

/// The clause `text` states; a usage error says what is malformed.
Result<WhereClause> ParseWhere(const std::string& text);

}  // namespace VardelTool
