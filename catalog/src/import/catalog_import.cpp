// Building a catalogue file: the library folders are scanned and checked,
// then read family by family into a pending file in one transaction, which
// replaces the target only when everything was stored. Every failure ends
// as the result's message; the pending file is removed on the way out.
#include "vardel/catalog/catalog_import.h"

#include "import/pending_catalog_file.h"
#include "import/source_walk.h"
#include "store/catalog_writer.h"

namespace VardelCatalog {
namespace {

// Scope of the writer: its statements are finalised before the file closes.
bool Store(SourceWalk& walk, Database& database, const ImportProgressCallback& progress,
           ImportResult& result) {
    database.Begin();
    CatalogWriter writer(database);
    if (!walk.Walk(&writer, progress, result)) {
        return false;
    }
    writer.Finish();
    database.Commit();
    return true;
}

bool Import(const std::vector<std::filesystem::path>& sources, const std::filesystem::path& output,
            const ImportProgressCallback& progress, ImportResult& result) {
    SourceWalk walk;
    if (!PendingCatalogFile::CanWrite(output, result.error) ||
        !walk.Scan(sources, static_cast<bool>(progress), result.error)) {
        return false;
    }
    try {
        PendingCatalogFile file(output);
        return Store(walk, file.database(), progress, result) && file.Publish(result.error);
    } catch (const DatabaseError& error) {
        result.error = output.generic_string() + ": " + error.what();
        return false;
    }
}

// The borders of the catalogue: nothing thrown inside gets out.
template <typename Run>
ImportResult Guarded(Run run) {
    ImportResult result;
    try {
        result.ok = run(result);
    } catch (const std::exception& error) {
        result.error = error.what();
        result.ok = false;
    }
    return result;
}

}  // namespace

ImportResult ImportCatalog(const std::vector<std::filesystem::path>& sources,
                           const std::filesystem::path& output,
                           const ImportProgressCallback& progress) {
    return Guarded([&](ImportResult& result) { return Import(sources, output, progress, result); });
}

ImportResult CheckCatalogSources(const std::vector<std::filesystem::path>& sources,
                                 const ImportProgressCallback& progress) {
    return Guarded([&](ImportResult& result) {
        SourceWalk walk;
        return walk.Scan(sources, static_cast<bool>(progress), result.error) &&
               walk.Walk(nullptr, progress, result);
    });
}

}  // namespace VardelCatalog
