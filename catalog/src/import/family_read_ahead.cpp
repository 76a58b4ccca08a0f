// The read-ahead worker: one thread per library, a bounded queue of read
// families between it and the caller. One worker is enough: measured with
// two, a build was no faster, as storing is then the limit.
#include "import/family_read_ahead.h"

#include <exception>

#include "source/source_readers.h"

namespace VardelCatalog {
namespace {

// Enough to keep the caller fed through a slow file, few enough that the
// families held in memory stay a handful.
constexpr std::size_t kWindow = 8;

FamilyRead ReadOne(const std::filesystem::path& file, const LibraryIndex& index) {
    FamilyRead read;
    try {
        read.ok = ReadFamily(file, index, read.family, read.error);
    } catch (const std::exception& exception) {
        read.error = {file, 0, {}, exception.what()};
        read.ok = false;
    }
    return read;
}

}  // namespace

FamilyReadAhead::FamilyReadAhead(const std::vector<std::filesystem::path>& files,
                                 const LibraryIndex& index)
    : files_(files), index_(index), worker_([this] { Run(); }) {}

FamilyReadAhead::~FamilyReadAhead() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

FamilyRead FamilyReadAhead::Next() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !ready_.empty(); });
    FamilyRead read = std::move(ready_.front());
    ready_.pop_front();
    lock.unlock();
    changed_.notify_all();
    return read;
}

void FamilyReadAhead::Run() {
    for (const std::filesystem::path& file : files_) {
        if (!WaitForRoom()) {
            return;
        }
        FamilyRead read = ReadOne(file, index_);
        const bool ok = read.ok;
        {
            const std::lock_guard lock(mutex_);
            ready_.push_back(std::move(read));
        }
        changed_.notify_all();
        if (!ok) {
            return;
        }
    }
}

// False when the caller has gone.
bool FamilyReadAhead::WaitForRoom() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return stopping_ || ready_.size() < kWindow; });
    return !stopping_;
}

}  // namespace VardelCatalog
