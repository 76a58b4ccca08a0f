#include "common/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

std::size_t FileCount(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(AtomicFile, ReplacesWholeContentAndLeavesNoTemporaryFile) {
    TempFolder folder;
    const fs::path target = folder.path() / "store.bin";
    ASSERT_TRUE(VardelCommon::WriteFileAtomically(target, std::string("first content, long")));
    ASSERT_TRUE(VardelCommon::WriteFileAtomically(target, std::string("x\0y", 3)));
    std::string bytes;
    ASSERT_TRUE(VardelCommon::ReadWholeFile(target, bytes));
    EXPECT_EQ(bytes, std::string("x\0y", 3));
    EXPECT_EQ(FileCount(folder.path()), 1u);

    ASSERT_TRUE(VardelCommon::WriteFileAtomically(target, ""));
    ASSERT_TRUE(VardelCommon::ReadWholeFile(target, bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(AtomicFile, FailedSaveKeepsThePreviousFile) {
    TempFolder folder;
    const fs::path target = folder.path() / "store.bin";
    ASSERT_TRUE(VardelCommon::WriteFileAtomically(target, "previous"));

    // A folder in the way of the rename: the write succeeds, the rename fails.
    const fs::path blocked = folder.path() / "blocked";
    fs::create_directories(blocked / "child");
    EXPECT_FALSE(VardelCommon::WriteFileAtomically(blocked, "new"));
    // A folder that does not exist: the temporary file cannot be made.
    EXPECT_FALSE(VardelCommon::WriteFileAtomically(folder.path() / "missing" / "f", "new"));

    std::string bytes;
    ASSERT_TRUE(VardelCommon::ReadWholeFile(target, bytes));
    EXPECT_EQ(bytes, "previous");
    EXPECT_EQ(FileCount(folder.path()), 2u);  // store.bin and blocked/
    EXPECT_FALSE(VardelCommon::ReadWholeFile(folder.path() / "absent", bytes));
}

TEST(AtomicFile, ALinkStaysALinkAndADeviceIsWrittenInPlace) {
    TempFolder folder;
    const fs::path data = folder.path() / "data.bin";
    const fs::path link = folder.path() / "link.bin";
    ASSERT_TRUE(VardelCommon::WriteFileAtomically(data, "old"));
    fs::create_symlink(data.filename(), link);
    ASSERT_TRUE(VardelCommon::WriteFileAtomically(link, "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    std::string bytes;
    ASSERT_TRUE(VardelCommon::ReadWholeFile(data, bytes));
    EXPECT_EQ(bytes, "new");
    EXPECT_EQ(FileCount(folder.path()), 2u);

    // Replacing a device would put a plain file in its place.
    EXPECT_TRUE(VardelCommon::WriteFileAtomically("/dev/null", "bytes"));
    EXPECT_FALSE(VardelCommon::WriteFileAtomically("/dev/full", "bytes"));
    for (const char* device : {"/dev/null", "/dev/full"}) {
        EXPECT_TRUE(fs::is_character_file(device)) << device;
    }
}

TEST(AtomicFile, ReadsRegularFilesOnlyAndNeverWaitsOnAPipe) {
    TempFolder folder;
    const fs::path file = folder.path() / "data.bin";
    std::string bytes = "stale";
    ASSERT_TRUE(VardelCommon::WriteFileAtomically(file, std::string(70000, 'x') + "end"));
    ASSERT_TRUE(VardelCommon::ReadRegularFile(file, bytes));
    EXPECT_EQ(bytes, std::string(70000, 'x') + "end");
    ASSERT_TRUE(VardelCommon::WriteFileAtomically(file, ""));
    ASSERT_TRUE(VardelCommon::ReadRegularFile(file, bytes));
    EXPECT_TRUE(bytes.empty());

    const fs::path pipe = folder.path() / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(VardelCommon::ReadRegularFile(pipe, bytes));
    EXPECT_FALSE(VardelCommon::ReadRegularFile(folder.path(), bytes));
    EXPECT_FALSE(VardelCommon::ReadRegularFile(folder.path() / "absent", bytes));
}

bool HasTemporary(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".tmp") {
            return true;
        }
    }
    return false;
}

// Forks a child that saves `payload` to `target` and kills it with SIGKILL
// as soon as its temporary appears. True when the kill landed before the
// rename, leaving the temporary behind.
bool KillWriterMidSave(const fs::path& target, const std::string& payload) {
    const pid_t child = ::fork();
    if (child == 0) {
        VardelCommon::WriteFileAtomically(target, payload);
        ::_exit(0);
    }
    int status = 0;
    bool exited = false;
    while (!HasTemporary(target.parent_path()) && !exited) {
        exited = ::waitpid(child, &status, WNOHANG) == child;
    }
    if (!exited) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
    }
    return HasTemporary(target.parent_path());
}

TEST(AtomicFile, NextOpenOrSaveRemovesTheTemporaryOfAKilledWriter) {
    const std::string payload(8 << 20, 'x');  // saves take long enough to be caught
    using Cleaner = void (*)(const fs::path&);
    const Cleaner cleaners[] = {
        [](const fs::path& target) { VardelCommon::RemoveStaleTemporaries(target); },
        [](const fs::path& target) {
            EXPECT_TRUE(VardelCommon::WriteFileAtomically(target, "new"));
        },
    };
    for (const Cleaner clean : cleaners) {
        TempFolder folder;
        const fs::path target = folder.path() / "History.bin";
        ASSERT_TRUE(VardelCommon::WriteFileAtomically(target, "previous"));
        bool landed = false;
        for (int attempt = 0; attempt < 20 && !landed; ++attempt) {
            ASSERT_TRUE(VardelCommon::WriteFileAtomically(target, "previous"));
            landed = KillWriterMidSave(target, payload);
        }
        ASSERT_TRUE(landed);
        std::string bytes;
        ASSERT_TRUE(VardelCommon::ReadWholeFile(target, bytes));
        EXPECT_EQ(bytes, "previous");  // the target stays whole

        clean(target);
        EXPECT_FALSE(HasTemporary(folder.path()));
        EXPECT_EQ(FileCount(folder.path()), 1u);
    }
}

TEST(AtomicFile, TemporaryOfALiveSaveAndUnrelatedFilesAreLeftAlone) {
    TempFolder folder;
    const fs::path target = folder.path() / "History.bin";
    const fs::path live = folder.path() / "History.bin.~0f8fad5b-d9cb-469f-a165-70867728950e.tmp";
    const fs::path stale = folder.path() / "History.bin.~7c9e6679-7425-40de-944b-e07fc1f90ae7.tmp";
    const fs::path unrelated[] = {
        folder.path() / "History.bin.~not-a-guid.tmp",
        folder.path() / "History.bin.~7c9e6679-7425-40de-944b-e07fc1f90ae7.tmp.keep",
        folder.path() / "History.bin.bak",
        folder.path() / "Favorites.xml.~7c9e6679-7425-40de-944b-e07fc1f90ae7.tmp",
        folder.path() / "History.bin.~16fd2706-8baf-433b-82eb-8c7fada847da.tmp" / "",  // a folder
    };
    for (const fs::path& path : unrelated) {
        path.has_filename() ? (void)VardelCommon::WriteFileAtomically(path, "keep")
                            : (void)fs::create_directory(path);
    }
    ASSERT_TRUE(VardelCommon::WriteFileAtomically(stale, "stale"));

    // A writer in another process holds the lock on its temporary.
    int ready[2];
    int release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        ::close(release[1]);
        const int fd = ::open(live.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        char byte = 0;
        if (fd >= 0 && ::flock(fd, LOCK_EX) == 0 && ::write(ready[1], &byte, 1) == 1) {
            (void)::read(release[0], &byte, 1);  // returns once the parent closes its end
        }
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    char byte = 0;
    const bool locked = ::read(ready[0], &byte, 1) == 1;
    if (locked) {
        VardelCommon::RemoveStaleTemporaries(target);
        EXPECT_TRUE(VardelCommon::WriteFileAtomically(target, "saved"));
        EXPECT_TRUE(fs::exists(live));
        EXPECT_FALSE(fs::exists(stale));
    }
    ::close(release[1]);
    ::close(ready[0]);
    ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(locked);

    // The writer is gone, and its lock with it.
    VardelCommon::RemoveStaleTemporaries(target);
    EXPECT_FALSE(fs::exists(live));
    for (const fs::path& path : unrelated) {
        EXPECT_TRUE(fs::exists(path)) << path;
    }
    EXPECT_TRUE(fs::exists(target));
}

}  // namespace
