// Reads the family files of one library on a worker thread, in order and a
// few files ahead of the caller, so that reading and parsing overlap with
// storing. The caller takes the families in file order; the worker stops at
// the first file it cannot read (that result is the last one handed out)
// and when the object goes, which waits for it.
//
// Next() is called from one thread; the library index must allow its const
// calls from the worker while the object lives.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <filesystem>
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
    bool WaitForRoom();

    const std::vector<std::filesystem::path>& files_;
    const LibraryIndex& index_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<FamilyRead> ready_;
    bool stopping_ = false;
    std::thread worker_;  // last: starts once the members above exist
};

}  // namespace VardelCatalog
