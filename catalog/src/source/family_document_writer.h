// Renders a family read from a CSV table into the system's own family
// document and its strings documents (layout in docs/catalog-format.md),
// so the catalogue holds one kind of family. The text is composed directly
// (every text through one escaping function) and the family model gets the
// same documents as trees built alongside, not by parsing that text again:
// this runs once per family on the import's hot path.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "source/library_source.h"
#include "vardel/xml_parser.h"

namespace VardelCatalog {

/// A column of the rendered table.
struct RenderedColumn {
    std::wstring id;
    std::wstring valueType = L"string";
    std::wstring unitType;
    /// The column-wide value (a formula); empty for a column of plain cells.
    std::wstring formula;
    bool range = false;  ///< The formula is a range: the column is a custom one.
    LocalizedTexts titles;
    int keyWeight = 0;
    bool hidden = false;
};

/// A row of the rendered table: its id and its cells of the first columns,
/// in column order; an empty cell, or one past the end, is no cell.
struct RenderedRow {
    std::wstring rowId;
    std::vector<std::wstring> cells;
};

/// The family's template: its model file and the columns that drive its
/// parameters, one user parameter per column, named like the column.
struct RenderedTemplate {
    std::wstring name;
    std::wstring fileName;
    std::vector<std::wstring> columns;  ///< Ids of columns of the table.
};

/// What it says about a mapped parameter: the family's category that has it,
/// and whether its values are localized.
struct MappedParameter {
    Guid category;
    bool localized = false;
};

/// The rendered documents as trees, equal to what parsing family.document
/// and family.strings (in their order) gives.
struct RenderedTrees {
    XMLParser document;
    std::vector<XMLParser> strings;
};

/// Fills family.document and family.strings, and `trees` with their trees, from the rest of
/// `family` and the table of `columns` and `rows`; `mapped` runs parallel to
/// family.parameterColumns; `familyTemplate` (none when null) is rendered
/// with the columns bound to its parameters. Names, descriptions and titles in
/// `defaultLanguage` (else the first language that has one) go into the
/// document's attributes; there is one strings document per language that
/// has any of them.
void RenderFamilyDocuments(FamilySource& family, std::span<const RenderedColumn> columns,
                           std::span<const RenderedRow> rows,
                           std::span<const MappedParameter> mapped,
                           const RenderedTemplate* familyTemplate,
                           std::wstring_view defaultLanguage, RenderedTrees& trees);

/// DataTypeCategory of feature and part families.
inline constexpr std::wstring_view kFeatureDataType = L"9ce1a3c8-5164-4421-8b65-e51b0a387cfc";
inline constexpr std::wstring_view kPartDataType = L"c0e0b642-3bcb-4cc8-9e80-f96d35c4afa4";

}  // namespace VardelCatalog
