// The family command group, shared by its source files: the options every
// family sub-command fills, the description of a column both text and JSON
// outputs give, and the runs of the sub-commands: show
// (family_command.cpp), table and eval (family_cells_command.cpp), validate
// (family_validate_command.cpp), set (family_set_command.cpp), title and
// map (family_edit_command.cpp) and export (family_export_command.cpp). Each
// opens the family through the document face (family_document.h).
#pragma once

#include <string>
#include <vector>

#include "options.h"
#include "output.h"
#include "tool_result.h"
#include "vardel/family_column.h"

namespace VardelTool {

struct FamilyOptions {
    CatalogOptions catalog;
    /// A family of the catalogue, or a family document file.
    std::string family;
    std::vector<std::string> columns;  ///< --columns
    std::vector<std::string> members;  ///< --member
    /// set: ROW COLUMN VALUE, or COLUMN FORMULA with --formula; title:
    /// COLUMN TITLE; map: COLUMN PARAMETER.
    std::vector<std::string> edit;
    std::string output;  ///< set, title, map and export: -o
    bool formula = false;
    bool json = false;
};

/// The column's data type as family documents name it ("double", ...).
std::string TypeName(const CEncapFamilyColumn& column);
/// {"id", "title", "type", "unit", "keyWeight", "hidden", "custom", "formula"}.
Json ColumnJson(const CEncapFamilyColumn& column);

/// A usage error unless `output` names a family document file (*.xml), so
/// that what is written can be read back.
Status CheckOutputFile(const std::string& output);

Status RunFamilyTable(const FamilyOptions& options);
Status RunFamilyEval(const FamilyOptions& options);
Status RunFamilyValidate(const FamilyOptions& options);
Status RunFamilySet(const FamilyOptions& options);
Status RunFamilyTitle(const FamilyOptions& options);
Status RunFamilyMap(const FamilyOptions& options);
Status RunFamilyExport(const FamilyOptions& options);

}  // namespace VardelTool
