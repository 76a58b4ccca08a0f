// The read-ahead workers: files are claimed in order, read in parallel and
// handed out in order from a bounded window. Reading a family (the family
// model parses its document and evaluates its table) costs about twice
// what storing it does, so two workers keep the storing thread busy.
#include "import/family_read_ahead.h"

#include <algorithm>
#include <exception>

#include "source/source_readers.h"

namespace VardelCatalog {
namespace {

// Enough to keep the caller fed through a slow file and to let the workers
// run on while it stores, few enough that the families held in memory stay
// a few megabytes.
constexpr std::size_t kWindow = 64;

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

// Two workers even on two cores: the storing thread waits for them most of
// the time, so they are the ones to keep busy.
std::size_t WorkerCount(std::size_t files) {
    const std::size_t cores = std::max(std::thread::hardware_concurrency(), 1u);
    return std::clamp<std::size_t>(files, 1, std::min<std::size_t>(cores, 2));
}

}  // namespace

FamilyReadAhead::FamilyReadAhead(const std::vector<std::filesystem::path>& files,
                                 const LibraryIndex& index)
    : files_(files), index_(index) {
    const std::size_t count = WorkerCount(files.size());
    for (std::size_t i = 0; i < count; ++i)
        workers_.emplace_back([this] { Run(); });
}

FamilyReadAhead::~FamilyReadAhead() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    room_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
}

FamilyRead FamilyReadAhead::Next() {
    std::unique_lock lock(mutex_);
    readyChanged_.wait(lock, [this] { return ready_.contains(taken_); });
    const auto found = ready_.find(taken_++);
    FamilyRead read = std::move(found->second);
    ready_.erase(found);
    const bool workersWait = claimed_ == taken_ - 1 + kWindow;
    lock.unlock();
    if (workersWait)
        room_.notify_all();
    return read;
}

void FamilyReadAhead::Run() {
    std::size_t file = 0;
    while (Claim(file)) {
        FamilyRead read = ReadOne(files_[file], index_);
        bool awaited = false;
        {
            const std::lock_guard lock(mutex_);
            failed_ = failed_ || !read.ok;
            ready_.emplace(file, std::move(read));
            awaited = file == taken_;
        }
        // Only the caller waits for a result, and only for the next one.
        if (awaited)
            readyChanged_.notify_one();
    }
}

// Files before a failed one were all claimed already, so the caller gets
// every result up to the failure.
bool FamilyReadAhead::Claim(std::size_t& file) {
    std::unique_lock lock(mutex_);
    room_.wait(lock, [this] {
        return stopping_ || failed_ || claimed_ == files_.size() || claimed_ < taken_ + kWindow;
    });
    if (stopping_ || failed_ || claimed_ == files_.size())
        return false;
    file = claimed_++;
    return true;
}

}  // namespace VardelCatalog
