// The catalogue's libraries as the server finds them for a caller: by name
// or by id, and only when the caller may read them (a library without
// readers is open to everybody, one with readers only to those user names,
// compared exactly), so an unreadable library looks exactly like a missing
// one. Also the catalogue's info values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "store/catalog_queries.h"

namespace VardelCatalog {

struct LibraryRow {
    std::int64_t id = 0;
    Vardel::Guid guid;
    std::wstring name;
    std::string defaultLanguage;  ///< Lower-cased, UTF-8.
};

/// The readable library named `name` (exact comparison) for `user`.
std::optional<LibraryRow> FindReadableLibrary(StatementCache& cache, std::wstring_view name,
                                              std::wstring_view user);

/// The readable library with the id `id` for `user`.
std::optional<LibraryRow> FindReadableLibrary(StatementCache& cache, const Vardel::Guid& id,
                                              std::wstring_view user);

/// catalog_info's value for `name`; none when the row is missing.
std::optional<std::string> CatalogInfo(StatementCache& cache, std::string_view name);

}  // namespace VardelCatalog
