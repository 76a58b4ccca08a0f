// Loads libraries into a new catalogue database: the schema first, then each
// library's description and its families one at a time (so a build holds one
// family in memory, not the catalogue), then the search indexes. The caller
// owns the transaction; the writer assigns every row id itself.
#pragma once

#include "source/library_source.h"
#include "store/database.h"

namespace VardelCatalog {

class CatalogWriter {
  public:
    /// Creates the schema in `database`, which must be empty.
    explicit CatalogWriter(Database& database);
    ~CatalogWriter();

    /// Stores the library, its readers, parameters and category tree; its
    /// families follow with AddFamily.
    void AddLibrary(const LibrarySource& library);
    /// Stores one family of the library added last: its properties, names,
    /// documents, categories, members and the values of its mapped columns.
    void AddFamily(const FamilySource& family);
    /// Creates the search indexes and the catalogue's info rows.
    void Finish();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace VardelCatalog
