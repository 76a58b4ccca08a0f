// The description of a CSV family (NAME.csvfamily.xml) as read and checked
// against its library: the family's properties, names and categories, its
// columns with their types, titles, key weights and formulas, and the maps
// from category parameters to columns, and its template. The table itself is read afterwards
// (csv_family_reader.cpp) and checked against these columns.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "source/family_document_writer.h"
#include "source/library_index.h"
#include "source/library_source.h"
#include "source/source_error.h"

namespace VardelCatalog {

struct CsvColumn {
    /// Its id is the header text; a column with a formula (or a range) takes
    /// no values from the table and is not in its header.
    RenderedColumn column;
    int line = 0;  ///< Of its Column element.
};

struct CsvMap {
    Guid parameter;
    std::wstring column;
    Guid category;  ///< The family's category that has the parameter.
    int line = 0;
};

struct CsvDescription {
    FamilySource family;  ///< Properties, names and categories so far.
    std::filesystem::path table;
    std::vector<CsvColumn> columns;  ///< In the order of the description.
    std::vector<CsvMap> maps;
    std::optional<RenderedTemplate> familyTemplate;
};

/// Reads the description `file` from its bytes.
bool ParseCsvDescription(std::string_view bytes, const std::filesystem::path& file,
                         const LibraryIndex& index, CsvDescription& description,
                         SourceError& error);

/// The table a description names in `bytes` (its Table attribute, by default
/// NAME.csv beside it); empty when the bytes are not a description.
std::filesystem::path CsvTableOf(std::string_view bytes, const std::filesystem::path& file);

}  // namespace VardelCatalog
