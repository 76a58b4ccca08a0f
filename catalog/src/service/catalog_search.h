// Parametric search of one library of a catalogue: turns a ContentQuery into
// one prepared, bound statement over the member values and writes the hits
// as the "results"/"row" XML the library's search reads (format in
// docs/catalog-format.md). No text of the query reaches the SQL: values are
// bound, and the statement is made only of fixed fragments.
#pragma once

#include <cstdint>
#include <string>

#include "store/database.h"
#include "vardel/server_proxies.h"

namespace VardelCatalog {

/// Runs `query` on the library `libraryId`; `recursive` widens category
/// constraints to sub-categories. Throws TarnServerProxies::ProxyError for a
/// query it cannot answer (a return name that is no XML name, an unknown
/// field).
std::wstring SearchLibrary(Database& database, std::int64_t libraryId,
                           const TarnServerProxies::Content::ContentQuery& query, bool recursive);

}  // namespace VardelCatalog
