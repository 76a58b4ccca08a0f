// The family table of a family as the catalogue server serves it: the
// columns and rows of the family document ("FamilyDocument" aspect) of the
// family in one library. Only the server knows the document, so this is the
// one place the tool calls the server directly; the session's security
// record goes with the call, so a library the user may not read answers
// nothing here either.
#pragma once

#include <string>
#include <vector>

#include "session.h"
#include "tool_result.h"

namespace VardelTool {

struct FamilyColumn {
    std::wstring id;
    std::wstring title;  ///< The id when the document gives none.
    std::wstring unit;
    bool hidden = false;
};

struct FamilyMember {
    std::wstring rowId;
    /// One value per column, in column order; a row without a cell of its
    /// own takes the column-wide value.
    std::vector<std::wstring> values;
};

struct FamilyTable {
    std::vector<FamilyColumn> columns;
    std::vector<FamilyMember> members;
};

/// The table of `familyId` in `library`.
Result<FamilyTable> ReadFamilyTable(const Session& session, const std::wstring& library,
                                    const std::wstring& familyId);

}  // namespace VardelTool
