// Columns and members of a family table as a user names them, with the
// matching rules of name_match.h (any case; an exact spelling wins; a name
// that fits two is an error listing their ids).
//
// A column is named by its id or its title. A member (row) is named by its
// row id, by its value in a key column, by its key (the values of every key
// column joined by ",", by key weight: "M8,30" for size M8 and length 30),
// or by its number (1 for the first row). "M8" finds the member whose size
// is M8; a number that is both a key value of one member and the number of
// another is an error.
#pragma once

#include <string>
#include <vector>

#include "tool_result.h"
#include "vardel/family_table.h"

namespace VardelTool {

/// The column `text` names.
Result<CEncapFamilyColumn*> FindColumn(const CEncapFamilyTable& table, const std::string& text);
/// The row id of the member `text` names.
Result<std::wstring> FindMember(CEncapFamilyTable& table, const std::string& text);

/// The columns `names` name, in the order given; every column, in table
/// order, when `names` is empty.
Result<std::vector<CEncapFamilyColumn*>> PickColumns(const CEncapFamilyTable& table,
                                                     const std::vector<std::string>& names);
/// The row ids of the members `names` name, in the order given; every row
/// when `names` is empty.
Result<std::vector<std::wstring>> PickMembers(CEncapFamilyTable& table,
                                              const std::vector<std::string>& names);

/// The key columns, by key weight.
std::vector<CEncapFamilyColumn*> KeyColumns(const CEncapFamilyTable& table);
/// The member's values of `keys`, evaluated, joined by ",".
std::wstring KeyText(CEncapFamilyTable& table, const std::wstring& rowId,
                     const std::vector<CEncapFamilyColumn*>& keys);

/// The member's number as users count (1 for the first row); 0 when absent.
std::size_t MemberNumber(const CEncapFamilyTable& table, const std::wstring& rowId);

}  // namespace VardelTool
