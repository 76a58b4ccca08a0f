// The file a build writes: a new database under a unique temporary name in
// the target's folder (so the final rename stays within one file system),
// published over the target only once it is complete and on the disk. Until
// then the target is untouched; a pending file that is never published is
// closed and removed when the object goes.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "store/database.h"

namespace VardelCatalog {

class PendingCatalogFile {
  public:
    /// False, with `error` naming the cause, when `target` cannot be written:
    /// no file name, no such folder, or a folder by that name.
    static bool CanWrite(const std::filesystem::path& target, std::string& error);

    /// Creates the temporary database beside `target`; throws DatabaseError
    /// when it cannot.
    explicit PendingCatalogFile(const std::filesystem::path& target);
    ~PendingCatalogFile();
    PendingCatalogFile(const PendingCatalogFile&) = delete;
    PendingCatalogFile& operator=(const PendingCatalogFile&) = delete;

    /// Open until Publish.
    Database& database() { return *database_; }

    /// Closes the database, flushes the file to the disk and renames it over
    /// the target; false with `error` set when a step fails (the target is
    /// then untouched unless the rename itself succeeded).
    bool Publish(std::string& error);

  private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::unique_ptr<Database> database_;
    bool published_ = false;
};

}  // namespace VardelCatalog
