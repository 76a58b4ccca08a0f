// One pass over the library folders of a build, shared by the import and
// the check: first every library description is read and the libraries
// are checked against each other (names and ids unique), the family files
// listed and their members estimated for progress totals; then the
// families are read in order, each checked against the others of its
// library (ids unique), and handed to the writer when there is one.
//
// Failures are values: the message names the file (or both files of a
// duplicate) and what is wrong. Writer failures (DatabaseError) pass
// through to the caller.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "source/library_source.h"
#include "vardel/catalog/catalog_import.h"

namespace VardelCatalog {

class CatalogWriter;

class SourceWalk {
  public:
    /// Reads every folder's library.xml and lists its family files; false
    /// with `error` set at the first fault. With `estimateMembers`, also
    /// estimates the member total that progress reports carry, which reads
    /// every family's table once more.
    bool Scan(const std::vector<std::filesystem::path>& folders, bool estimateMembers,
              std::string& error);

    /// Reads every family and, with a writer, stores the libraries and
    /// families; `progress` hears of each file and may cancel. Counts go
    /// to `result`; false with result.error set at the first fault.
    bool Walk(CatalogWriter* writer, const ImportProgressCallback& progress, ImportResult& result);

  private:
    struct Folder {
        LibrarySource library;
        std::vector<std::filesystem::path> families;
    };

    bool WalkLibrary(const Folder& folder, CatalogWriter* writer,
                     const ImportProgressCallback& progress, ImportResult& result);
    bool Report(const ImportProgressCallback& progress, std::size_t members, ImportResult& result);

    std::vector<Folder> folders_;
    ImportProgress progress_;
};

}  // namespace VardelCatalog
