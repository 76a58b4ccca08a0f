// Reads the summary of a catalogue file through the store's read-only
// engine: the file must exist, open as a database and carry the catalogue
// format this build writes, before any library is read.
#include "vardel/catalog/catalog_summary.h"

#include <system_error>

#include "store/schema.h"
#include "store/sqlite_database.h"
#include "store/summary_queries.h"

namespace VardelCatalog {
namespace {

std::string Quoted(const std::filesystem::path& file) {
    // Appended piece by piece: GCC 12 misreports `"..." + std::string&&` at -O3.
    std::string quoted(1, '"');
    quoted += file.string();
    quoted += '"';
    return quoted;
}

}  // namespace

bool ReadCatalogSummary(const std::filesystem::path& file, CatalogSummary& summary,
                        std::string& error) {
    std::error_code code;
    const std::uintmax_t size = std::filesystem::file_size(file, code);
    if (code) {
        error = Quoted(file) + ": " + code.message();
        return false;
    }
    try {
        const std::unique_ptr<Database> database = OpenSqliteDatabase(file);
        const std::optional<std::string> format = ReadCatalogFormat(*database);
        if (format != kCatalogFormat) {
            error = Quoted(file) + ": not a catalogue of format " + std::string(kCatalogFormat);
            return false;
        }
        CatalogSummary read;
        read.libraries = ReadLibrarySummaries(*database);
        read.fileSize = size;
        summary = std::move(read);
        return true;
    } catch (const DatabaseError& failure) {
        error = Quoted(file) + ": not a catalogue file or damaged (" + failure.what() + ")";
        return false;
    }
}

}  // namespace VardelCatalog
