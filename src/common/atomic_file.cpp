#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <utility>

#include "common/utf8.h"
#include "vardel/guid.h"

namespace VardelCommon {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Reads `fd` to its end into `bytes` and closes it.
bool ReadAll(int fd, std::string& bytes) {
    bytes.clear();
    char buffer[1 << 16];
    ssize_t got = 0;
    while ((got = ::read(fd, buffer, sizeof buffer)) != 0) {
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return got == 0;
}

constexpr std::string_view kTempMark = ".~";
constexpr std::string_view kTempSuffix = ".tmp";
// Names tried when cleaners keep removing a new temporary before its lock.
constexpr int kCreateAttempts = 8;

// Whether `name` is "<targetName>.~<GUID>.tmp", a temporary of a save of
// `targetName`. The GUID keeps data files that merely look alike safe.
bool IsTemporaryOf(std::string_view name, std::string_view targetName) {
    const std::size_t fixed = targetName.size() + kTempMark.size() + kTempSuffix.size();
    if (name.size() <= fixed || !name.starts_with(targetName) || !name.ends_with(kTempSuffix) ||
        name.substr(targetName.size(), kTempMark.size()) != kTempMark) {
        return false;
    }
    const std::string_view middle =
        name.substr(targetName.size() + kTempMark.size(), name.size() - fixed);
    return Vardel::Guid::Parse(FromUtf8(middle)).has_value();
}

// Creates and locks a new temporary beside `target`; -1 when none can be
// made. A cleaner may remove the file between its creation and the lock:
// the file is then unlinked, and another name is tried.
int CreateLockedTemporary(const std::filesystem::path& target, std::string& temp) {
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        // A random name: O_EXCL never reuses a file someone else made.
        temp = target.string();
        temp += kTempMark;
        temp += ToUtf8(Vardel::Guid::New().ToString());
        temp += kTempSuffix;
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            return -1;
        }
        // Where the file system has no flock() the save goes on unlocked;
        // cleaners cannot lock the file there either, so they leave it.
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        struct stat status {};
        if (::fstat(fd, &status) == 0 && status.st_nlink > 0) {
            return fd;
        }
        ::close(fd);
    }
    return -1;
}

// Removes the temporary `path` when no process holds its lock, that is when
// the save that made it died. The name must still lead to the file locked.
void RemoveIfStale(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    struct stat opened {};
    struct stat named {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 &&
        S_ISREG(opened.st_mode) && ::lstat(path.c_str(), &named) == 0 &&
        opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
        ::unlink(path.c_str());
    }
    ::close(fd);
}

}  // namespace

void RemoveStaleTemporaries(const std::filesystem::path& target) {
    const std::string targetName = target.filename().string();
    if (targetName.empty()) {
        return;
    }
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (IsTemporaryOf(entry->path().filename().native(), targetName)) {
            RemoveIfStale(entry->path());
        }
    }
}

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

bool AtomicFileWriter::Open(const std::filesystem::path& target) {
    if (fd_ >= 0) {
        return false;
    }
    // A device or a pipe cannot be replaced, only written: /dev/stdout stays
    // a link to the output and /dev/full keeps failing as a disk would.
    struct stat status {};
    if (::stat(target.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        inPlace_ = true;
        fd_ = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        return fd_ >= 0;
    }
    // A link to a file keeps linking: the file it names is replaced.
    std::error_code error;
    const bool link = ::lstat(target.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
    target_ = link ? std::filesystem::weakly_canonical(target, error) : target;
    if (error) {
        return false;
    }
    inPlace_ = false;
    RemoveStaleTemporaries(target_);
    fd_ = CreateLockedTemporary(target_, temp_);
    return fd_ >= 0;
}

bool AtomicFileWriter::Write(std::string_view bytes) {
    return fd_ >= 0 && WriteAll(fd_, bytes);
}

bool AtomicFileWriter::Commit() {
    if (fd_ >= 0 && inPlace_) {
        return ::close(std::exchange(fd_, -1)) == 0;
    }
    // The lock is held until the rename is done: a temporary whose lock is
    // free may be removed by any cleaner.
    if (fd_ < 0 || ::fsync(fd_) != 0 || ::rename(temp_.c_str(), target_.c_str()) != 0) {
        Discard();
        return false;
    }
    // The bytes reached the disk with fsync; closing cannot lose them.
    ::close(std::exchange(fd_, -1));
    return true;
}

void AtomicFileWriter::Discard() {
    if (fd_ >= 0) {
        if (!inPlace_) {
            ::unlink(temp_.c_str());
        }
        ::close(std::exchange(fd_, -1));
    }
}

bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
    AtomicFileWriter writer;
    return writer.Open(target) && writer.Write(bytes) && writer.Commit();
}

bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    return fd >= 0 && ReadAll(fd, bytes);
}

// Opened without waiting for a writer, then checked by its descriptor: one
// path look-up, where checking the path first took two.
bool ReadRegularFile(const std::filesystem::path& path, std::string& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return false;
    }
    bytes.reserve(static_cast<std::size_t>(status.st_size));
    return ReadAll(fd, bytes);
}

}  // namespace VardelCommon
