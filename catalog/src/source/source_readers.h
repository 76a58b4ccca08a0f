// Readers of one library folder (the layout is documented in
// docs/catalog-format.md). Each returns false and fills `error` at the first
// fault, naming the file and the line or element; on success the result is
// complete and checked against the library description (every category and
// parameter it names is defined there, every mapped column exists).
// Nothing here touches the store.
#pragma once

#include <filesystem>
#include <vector>

#include "source/library_source.h"
#include "source/source_error.h"

namespace VardelCatalog {

/// Reads `folder`/library.xml.
bool ReadLibraryDescription(const std::filesystem::path& folder, LibrarySource& library,
                            SourceError& error);

/// The family files below `folder`/families (descriptions of CSV families and
/// family documents), sorted by path.
std::vector<std::filesystem::path> ListFamilyFiles(const std::filesystem::path& folder);

/// A cheap count of the members `file` holds (data lines of a CSV table, rows
/// of a family document), for progress totals; 0 when it cannot be read.
std::size_t EstimateMemberCount(const std::filesystem::path& file);

/// Reads one family file of `library`: a CSV family (description and table,
/// rendered into a family document) or a family document with its strings
/// documents.
bool ReadFamily(const std::filesystem::path& file, const LibrarySource& library,
                FamilySource& family, SourceError& error);

}  // namespace VardelCatalog
