// Property values of many nodes read in one call of the browsing face, as
// a table: one row per node, one text per key, empty when the node has no
// value for the key. A failing call is a failure of the command.
#pragma once

#include <string>
#include <vector>

#include "tool_result.h"
#include "vardel/browse_id.h"
#include "vardel/context.h"

namespace VardelTool {

using PropertyRows = std::vector<std::vector<std::wstring>>;

/// Families and members (GetItemsProperties).
Result<PropertyRows> ReadItemProperties(const Vardel::CContext& context,
                                        const std::vector<Vardel::CBrowseId>& ids,
                                        const std::vector<std::wstring>& keys);
/// Categories and folders (GetFoldersProperties).
Result<PropertyRows> ReadFolderProperties(const Vardel::CContext& context,
                                          const std::vector<Vardel::CBrowseId>& ids,
                                          const std::vector<std::wstring>& keys);
/// Category parameters (GetCategoryParameterPropertyValues).
Result<PropertyRows> ReadParameterProperties(const Vardel::CContext& context,
                                             const std::vector<Vardel::CBrowseId>& ids,
                                             const std::vector<std::wstring>& keys);

/// The display name of every folder of `ids` (FLD_DISPLAYNAME).
Result<std::vector<std::wstring>> FolderNames(const Vardel::CContext& context,
                                              const std::vector<Vardel::CBrowseId>& ids);
/// The display name of every family or member of `ids` (FAM_DISPLAYNAME).
Result<std::vector<std::wstring>> ItemNames(const Vardel::CContext& context,
                                            const std::vector<Vardel::CBrowseId>& ids);

/// A failure naming `what` unless `status` is S_OK.
Status CheckCall(HRESULT status, const std::string& what);

}  // namespace VardelTool
