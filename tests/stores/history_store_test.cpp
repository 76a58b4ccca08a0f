// The history store: its rules for adding, the bytes of History.bin, loading
// whole files or nothing, and AddItemToHistory on contexts.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <list>
#include <string>
#include <vector>

#include "api/context_impl.h"
#include "common/archive.h"
#include "stores/history_store.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "vardel/history.h"

namespace {

using namespace VardelTest;
using Strings = std::vector<std::wstring>;

// "His1" as it opens every file: wide-string prefix, length 4, UTF-16LE.
const Bytes kTagBytes = {0xFF, 0xFE, 0xFF, 0x04, 'H', 0, 'i', 0, 's', 0, '1', 0};

// A file of `ids` (newest first) with times 1, 2, ... and the given tag.
Bytes FileOf(const Strings& ids, const std::wstring& tag = L"His1") {
    VardelCommon::ArchiveWriter writer;
    writer.WriteString(tag);
    writer.WriteUInt32(static_cast<std::uint32_t>(ids.size()));
    std::int64_t time = 0;
    for (const std::wstring& id : ids) {
        writer.WriteString(id);
        writer.WriteInt64(++time);
    }
    return writer.Bytes();
}

class HistoryStore : public ::testing::Test {
  protected:
    std::unique_ptr<CHistoryData> Open() {
        return CHistoryData::Initialize(folder_.path().wstring());
    }
    std::filesystem::path File() const { return folder_.path() / "History.bin"; }

    TempFolder folder_;
};

TEST_F(HistoryStore, EmptyHistoryIsSixteenBytes) {
    auto store = Open();
    EXPECT_EQ(store->FilePath(), File());
    EXPECT_TRUE(store->IsEmpty());
    ASSERT_EQ(store->Save(), S_OK);
    EXPECT_EQ(ReadBytes(File()), Concat({kTagBytes, {0, 0, 0, 0}}));
}

TEST_F(HistoryStore, FileHoldsItemsNewestFirstAsUtf16WithTimes) {
    auto store = Open();
    store->AddItem(L"ab", 0x0102030405060708);
    store->AddItem(L"X\U0001D11E", -2);  // a supplementary character is two code units
    const Bytes expected = Concat({kTagBytes,
                                   {2, 0, 0, 0},
                                   {0xFF, 0xFE, 0xFF, 3, 'X', 0, 0x34, 0xD8, 0x1E, 0xDD},
                                   {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
                                   {0xFF, 0xFE, 0xFF, 2, 'a', 0, 'b', 0},
                                   {8, 7, 6, 5, 4, 3, 2, 1}});
    EXPECT_EQ(ReadBytes(File()), expected);

    auto reloaded = Open();
    ASSERT_EQ(reloaded->Items().size(), 2u);
    EXPECT_EQ(reloaded->Items().front().itemId, L"X\U0001D11E");
    EXPECT_EQ(reloaded->Items().front().time, -2);
    EXPECT_EQ(reloaded->Items().back().time, 0x0102030405060708);
}

TEST_F(HistoryStore, ReaddingMovesToFrontWithNewCaseAndTime) {
    auto store = Open();
    store->AddItem(L"abc-1", 10);
    store->AddItem(L"other", 11);
    store->AddItem(L"ABC-1", 12);
    EXPECT_EQ(store->ItemIds(), (Strings{L"ABC-1", L"other"}));
    EXPECT_EQ(store->Items().front().time, 12);
    EXPECT_TRUE(store->ContainsItem(L"Abc-1"));
    EXPECT_FALSE(store->ContainsItem(L"abc"));
    EXPECT_EQ(Open()->ItemIds(), (Strings{L"ABC-1", L"other"}));
}

TEST_F(HistoryStore, FiftyFirstDistinctItemDropsTheOldest) {
    auto store = Open();
    for (int i = 0; i < 51; ++i) {
        store->AddItem(L"item-" + std::to_wstring(i), i);
    }
    ASSERT_EQ(store->Items().size(), 50u);
    EXPECT_EQ(store->Items().front().itemId, L"item-50");
    EXPECT_EQ(store->Items().back().itemId, L"item-1");
    EXPECT_EQ(Open()->Items().size(), 50u);
}

TEST_F(HistoryStore, LoadTakesFileAsItIsWhateverItsTag) {
    Strings ids;
    for (int i = 0; i < 60; ++i) {
        ids.push_back(i % 2 == 0 ? L"dup" : L"DUP");
    }
    WriteBytes(File(), FileOf(ids, L"Other tag"));
    auto store = Open();
    EXPECT_EQ(store->ItemIds(), ids);  // no limit, no de-duplication on loading
    EXPECT_EQ(store->Items().back().time, 60);
}

TEST_F(HistoryStore, TruncatedOrLyingFileLoadsNothingAndStaysOnDisk) {
    const Bytes good = FileOf({L"first", L"second"});
    Bytes lying = good;
    lying[kTagBytes.size()] = 0xFF;  // count 255 with bytes for two items
    Bytes oneMore = good;
    oneMore[kTagBytes.size()] = 3;  // passes the size check, runs out on the third item
    Bytes huge = FileOf({});
    huge[kTagBytes.size() + 3] = 0xFF;  // count near 4 billion, no items
    const Bytes bad[] = {Bytes(good.begin(), good.end() - 1), lying, oneMore, huge,
                         Bytes(kTagBytes.begin(), kTagBytes.begin() + 5)};
    for (const Bytes& bytes : bad) {
        WriteBytes(File(), bytes);
        auto store = Open();
        EXPECT_TRUE(store->IsEmpty());
        EXPECT_EQ(store->Load(), E_FAIL);
        EXPECT_TRUE(store->IsEmpty());
        EXPECT_EQ(ReadBytes(File()), bytes);
    }
    WriteBytes(File(), good);
    auto store = Open();
    EXPECT_EQ(store->Load(), S_OK);
    EXPECT_EQ(store->ItemIds(), (Strings{L"first", L"second"}));
}

TEST_F(HistoryStore, MissingFolderKeepsHistoryInMemoryOnly) {
    auto store = CHistoryData::Initialize((folder_.path() / "absent").wstring());
    EXPECT_TRUE(store->FilePath().empty());
    EXPECT_EQ(store->Load(), S_OK);
    store->AddItem(L"x", 1);
    EXPECT_EQ(store->ItemIds(), (Strings{L"x"}));
    EXPECT_EQ(store->Save(), E_FAIL);
    EXPECT_TRUE(std::filesystem::is_empty(folder_.path()));
}

TEST_F(HistoryStore, FailedSaveKeepsNewItemAndLeavesNoTemporaryFile) {
    auto store = Open();
    std::filesystem::create_directory(File());  // the rename over it must fail
    store->AddItem(L"x", 1);
    EXPECT_EQ(store->ItemIds(), (Strings{L"x"}));
    EXPECT_EQ(store->Save(), E_FAIL);
    EXPECT_EQ(EntriesIn(folder_.path()), 1u);
}

class HistoryContext : public ::testing::Test {
  protected:
    Vardel::CContext Make(Vardel::BrowsingStructureType type) {
        Vardel::CContext context;
        const std::string path = folder_.path().string();
        const std::wstring wide(path.begin(), path.end());
        EXPECT_EQ(context.Initialize(type, &libraries_, nullptr, L"en", nullptr, wide.c_str()),
                  S_OK);
        return context;
    }
    std::list<std::wstring> libraries_{L"A"};
    TempFolder folder_;
};

TEST_F(HistoryContext, OnlyHistoryContextsHaveAStoreAndAcceptItems) {
    for (const auto type :
         {Vardel::LibraryBrowsing, Vardel::SearchBrowsing, Vardel::FavoritesBrowsing}) {
        const Vardel::CContext context = Make(type);
        EXPECT_EQ(Vardel::AddItemToHistory(&context, L"x"), E_INVALIDARG);
        EXPECT_EQ(VardelUtils::GetContextImpl(&context)->GetHistoryData(), nullptr);
    }
    const Vardel::CContext empty;
    EXPECT_EQ(Vardel::AddItemToHistory(&empty, L"x"), E_INVALIDARG);
    EXPECT_EQ(Vardel::AddItemToHistory(nullptr, L"x"), E_INVALIDARG);
    EXPECT_TRUE(std::filesystem::is_empty(folder_.path()));
}

TEST_F(HistoryContext, AddItemToHistoryStampsCurrentTimeAndSaves) {
    const Vardel::CContext context = Make(Vardel::HistoryBrowsing);
    CHistoryData* store = VardelUtils::GetContextImpl(&context)->GetHistoryData();
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(VardelUtils::GetContextImpl(&context)->GetHistoryData(), store);  // created once

    const auto now = [] {
        return std::chrono::duration_cast<std::chrono::seconds>(
                   std::chrono::system_clock::now().time_since_epoch())
            .count();
    };
    const std::int64_t before = now();
    EXPECT_EQ(Vardel::AddItemToHistory(&context, L"fam-1"), S_OK);
    EXPECT_GE(store->Items().front().time, before);
    EXPECT_LE(store->Items().front().time, now());
    EXPECT_EQ(CHistoryData::Initialize(folder_.path().wstring())->ItemIds(), (Strings{L"fam-1"}));
}

}  // namespace
