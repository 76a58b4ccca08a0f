#include "common/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

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

}  // namespace
