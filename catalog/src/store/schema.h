// The catalogue file's schema: tables created before a build loads them, the
// search indexes created after (a bulk load into unindexed tables is several
// times faster), and the format number a server checks on opening.
#pragma once

#include <span>
#include <string_view>

namespace VardelCatalog {

/// Stored as catalog_info("format"); a server refuses any other value.
inline constexpr std::string_view kCatalogFormat = "1";

/// CREATE TABLE statements, in dependency order.
std::span<const std::string_view> SchemaTables();

/// CREATE INDEX statements to run once the data is in.
std::span<const std::string_view> SchemaIndexes();

}  // namespace VardelCatalog
