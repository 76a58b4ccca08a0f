// The SQL behind the catalogue summary: the format mark, and per library its
// identity, readers, family and member counts and the languages of its
// names. Each read is one statement over the whole catalogue (not one per
// library), and every statement runs on SQLite and PostgreSQL alike.
// Database failures throw DatabaseError, as everywhere in the store.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/database.h"
#include "vardel/catalog/catalog_summary.h"

namespace VardelCatalog {

/// The catalogue's format mark; nothing when the file has none.
std::optional<std::string> ReadCatalogFormat(Database& database);

/// Every library of the catalogue, in the order the build stored them.
std::vector<LibrarySummary> ReadLibrarySummaries(Database& database);

}  // namespace VardelCatalog
