// The catalogue file's schema: tables created before a build loads them, the
// search indexes created after (a bulk load into unindexed tables is several
// times faster), and the format number a server checks on opening.
#pragma once

#include <span>
#include <string_view>

namespace VardelCatalog {

/// Stored as catalog_info("format"); a server refuses any other value.
inline constexpr std::string_view kCatalogFormat = "3";

/// Stored as catalog_info("partition"): the partition every library of an
/// embedded catalogue belongs to (lower-case GUID text).
inline constexpr std::string_view kCatalogPartition = "5313a07a-61e9-44e0-89e2-29dea1f05560";

/// CREATE TABLE statements, in dependency order.
std::span<const std::string_view> SchemaTables();

/// CREATE INDEX statements to run once the data is in.
std::span<const std::string_view> SchemaIndexes();

/// The tables whose statistics are gathered once the indexes are built.
std::span<const std::string_view> AnalyzedTables();

}  // namespace VardelCatalog
