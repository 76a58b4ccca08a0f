// The SQLite engine of the catalogue's database seam. A catalogue file is
// created by the importer (Create) and opened read-only by the server
// (OpenReadOnly); opening checks nothing of the content, the schema does.
#pragma once

#include <filesystem>
#include <memory>

#include "store/database.h"

namespace VardelCatalog {

/// Creates a new, empty database file at `path` (which must not exist) for a
/// bulk load: one writer, no other readers until it is closed.
std::unique_ptr<Database> CreateSqliteDatabase(const std::filesystem::path& path);

/// Opens an existing file read-only; throws DatabaseError when it is missing
/// or not a database.
std::unique_ptr<Database> OpenSqliteDatabase(const std::filesystem::path& path);

}  // namespace VardelCatalog
