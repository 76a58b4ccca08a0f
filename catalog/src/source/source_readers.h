// Readers of one library folder (the layout is documented in
// docs/catalog-format.md). Each returns false and fills `error` at the first
// fault, naming the file and the line or element; on success the result is
// complete and checked against the library description (every category and
// parameter it names is defined there, every mapped column exists).
// Nothing here touches the store.
//
// A build reads library.xml once, builds one LibraryIndex over it and reads
// every family with that index. The Parse* forms read bytes already in
// memory (the file forms read the files and call them; the fuzz targets
// call them directly).
#pragma once

#include <filesystem>
#include <string_view>
#include <utility>
#include <vector>

#include "source/library_index.h"
#include "source/library_source.h"
#include "source/source_error.h"

namespace VardelCatalog {

/// Reads `folder`/library.xml.
bool ReadLibraryDescription(const std::filesystem::path& folder, LibrarySource& library,
                            SourceError& error);

/// Reads the bytes of `folder`/library.xml; messages name that file.
bool ParseLibraryDescription(std::string_view xml, const std::filesystem::path& folder,
                             LibrarySource& library, SourceError& error);

/// The family files below `folder`/families (descriptions of CSV families and
/// family documents), sorted by path.
std::vector<std::filesystem::path> ListFamilyFiles(const std::filesystem::path& folder);

/// A cheap count of the members `file` holds (data lines of a CSV table, rows
/// of a family document), for progress totals; 0 when it cannot be read.
std::size_t EstimateMemberCount(const std::filesystem::path& file);

/// Reads one family file of the library `index` was built over: a CSV family
/// (description and table, rendered into a family document) or a family
/// document with its strings documents.
bool ReadFamily(const std::filesystem::path& file, const LibraryIndex& index, FamilySource& family,
                SourceError& error);

/// As above, building the index for this one call: for a single family; a
/// build of many families keeps one index instead.
bool ReadFamily(const std::filesystem::path& file, const LibrarySource& library,
                FamilySource& family, SourceError& error);

/// Reads a CSV family from the bytes of its description `file` and of its
/// table (the file its Table attribute names, which messages name).
bool ParseCsvFamily(std::string_view description, std::string_view table,
                    const std::filesystem::path& file, const LibraryIndex& index,
                    FamilySource& family, SourceError& error);

/// A strings document: its file (for messages) and its bytes.
using StringsFile = std::pair<std::filesystem::path, std::string>;

/// Reads a family document from the bytes of `file` and of its strings
/// documents.
bool ParseFamilyDocument(std::string document, const std::vector<StringsFile>& strings,
                         const std::filesystem::path& file, const LibraryIndex& index,
                         FamilySource& family, SourceError& error);

}  // namespace VardelCatalog
