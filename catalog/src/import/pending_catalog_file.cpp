// A build's file from its temporary name to its target: created with a
// random name beside the target, synced and renamed, then the folder synced
// so that the rename itself survives a crash.
#include "import/pending_catalog_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "common/utf8.h"
#include "store/sqlite_database.h"
#include "vardel/guid.h"

namespace VardelCatalog {
namespace {

// Flushes a file or, with O_DIRECTORY, a folder's entries to the disk.
bool Sync(const std::filesystem::path& path, int flags, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | flags);
    const bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (!ok) {
        error = path.generic_string() + ": cannot flush to the disk: " + std::strerror(errno);
    }
    if (fd >= 0) {
        ::close(fd);
    }
    return ok;
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

}  // namespace

bool PendingCatalogFile::CanWrite(const std::filesystem::path& target, std::string& error) {
    std::error_code ignored;
    if (target.empty() || !target.has_filename()) {
        error = "no output file given";
    } else if (!std::filesystem::is_directory(FolderOf(target), ignored)) {
        error = FolderOf(target).generic_string() + ": output folder not found";
    } else if (std::filesystem::is_directory(target, ignored)) {
        error = target.generic_string() + ": is a folder, not a catalogue file";
    }
    return error.empty();
}

PendingCatalogFile::PendingCatalogFile(const std::filesystem::path& target)
    : target_(target),
      temporary_(target.string() + ".~" + VardelCommon::ToUtf8(Vardel::Guid::New().ToString()) +
                 ".tmp"),
      database_(CreateSqliteDatabase(temporary_)) {}

PendingCatalogFile::~PendingCatalogFile() {
    database_.reset();
    if (!published_) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
}

bool PendingCatalogFile::Publish(std::string& error) {
    database_.reset();
    if (!Sync(temporary_, 0, error)) {
        return false;
    }
    std::error_code renameError;
    std::filesystem::rename(temporary_, target_, renameError);
    if (renameError) {
        error = target_.generic_string() + ": cannot replace: " + renameError.message();
        return false;
    }
    published_ = true;
    return Sync(FolderOf(target_), O_DIRECTORY, error);
}

}  // namespace VardelCatalog
