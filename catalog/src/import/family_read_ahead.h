// Reads the family files of one library on worker threads, up to a bounded
// window of files ahead of the caller, so that reading (parsing, rendering and evaluating
// each family's table) overlaps with storing and, with several workers,
// with itself. The caller takes the families in file order; no file past
// the first one that cannot be read is started (that result is the last
// one handed out), and the object waits for its workers when it goes.
//
// Next() is called from one thread; the library index must allow its const
// calls from the workers while the object lives.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "source/library_index.h"
#include "source/source_error.h"

namespace VardelCatalog {

struct FamilyRead {
    FamilySource family;
    bool ok = false;
    SourceError error;  ///< Set when not ok.
};

class FamilyReadAhead {
  public:
    /// Starts reading `files` (which must outlive the object) with `index`.
    FamilyReadAhead(const std::vector<std::filesystem::path>& files, const LibraryIndex& index);
    ~FamilyReadAhead();
    FamilyReadAhead(const FamilyReadAhead&) = delete;
    FamilyReadAhead& operator=(const FamilyReadAhead&) = delete;

    /// The next file's family, waiting for it to be read. Call once per
    /// file, and not after a result that is not ok.
    FamilyRead Next();

  private:
    void Run();
    /// The next file to read, waiting for room; false when there is none.
    bool Claim(std::size_t& file);

    const std::vector<std::filesystem::path>& files_;
    const LibraryIndex& index_;
    std::mutex mutex_;
    std::condition_variable readyChanged_;     // the caller waits for its result
    std::condition_variable room_;             // workers wait for room in the window
    std::map<std::size_t, FamilyRead> ready_;  // by file position
    std::size_t claimed_ = 0;                  // files started by a worker
    std::size_t taken_ = 0;                    // files handed out
    bool failed_ = false;                      // a file could not be read
    bool stopping_ = false;
    std::vector<std::thread> workers_;  // last: they start once the members above exist
};

}  // namespace VardelCatalog
