// The stored search results: the bytes of TarnSearch.bin, what a corrupt
// file leaves, saving and its failures, and StoreSearchResults on contexts.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <list>
#include <string>
#include <vector>

#include "api/browse_id_factory.h"
#include "api/browse_id_impl.h"
#include "api/context_impl.h"
#include "common/archive.h"
#include "stores/search_results_store.h"
#include "stores/store_file.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "vardel/search.h"

namespace {

using namespace VardelTest;
using Strings = std::vector<std::wstring>;
using Properties = std::map<std::wstring, std::wstring>;

// An archive wide string: FF FE FF, a one-byte length, UTF-16LE units.
Bytes Wide(const std::string& ascii) {
    Bytes bytes = {0xFF, 0xFE, 0xFF, static_cast<std::uint8_t>(ascii.size())};
    for (const char c : ascii) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(0);
    }
    return bytes;
}

Bytes UInt32(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

Bytes Int64(std::int64_t value) {
    Bytes bytes;
    for (int i = 0; i < 8; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> (8 * i)));
    }
    return bytes;
}

std::int64_t StampOf(const Bytes& file) {
    std::int64_t stamp = 0;
    for (int i = 7; i >= 0; --i) {
        stamp = (stamp << 8) | file.at(4 + static_cast<std::size_t>(i));
    }
    return stamp;
}

Vardel::CBrowseId Family(const std::wstring& name, const Properties& cache = {}) {
    Vardel::CBrowseId id = VardelUtils::CreateFamilyId(nullptr, name, {L"Lib"});
    VardelUtils::BrowseIdAccess::As<CBrowseFamilyIdImpl>(id)->CachedProperties() = cache;
    return id;
}

Vardel::CBrowseId Member(const std::wstring& name, const std::wstring& member,
                         const Properties& cache = {}) {
    Vardel::CBrowseId id = VardelUtils::CreateMemberId(nullptr, name, member, {L"Lib"});
    VardelUtils::BrowseIdAccess::As<CBrowseFamilyIdImpl>(id)->CachedProperties() = cache;
    return id;
}

class SearchStore : public ::testing::Test {
  protected:
    std::unique_ptr<CSearchResultsData> Open() {
        return CSearchResultsData::Initialize(folder_.path().wstring());
    }
    std::filesystem::path File() const { return folder_.path() / "TarnSearch.bin"; }

    TempFolder folder_;
};

TEST_F(SearchStore, EmptyResultsAreCountAndTimeStamp) {
    auto store = Open();
    const std::int64_t before = VardelStores::SecondsNow();
    ASSERT_EQ(store->StoreResults({}, false), S_OK);
    const Bytes file = ReadBytes(File());
    ASSERT_EQ(file.size(), 12u);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 4), UInt32(0));
    EXPECT_GE(StampOf(file), before);
    EXPECT_LE(StampOf(file), VardelStores::SecondsNow());
    EXPECT_EQ(store->TimeStamp(), StampOf(file));
}

TEST_F(SearchStore, FileHoldsEntriesInOrderWithSortedCaches) {
    auto store = Open();
    const std::vector<Vardel::CBrowseId> ids = {
        Member(L"F1", L"row-7", {{L"b", L"2"}, {L"a", L"1"}}), Vardel::CBrowseId(), Family(L"F2")};
    ASSERT_EQ(store->StoreResults(ids, false), S_OK);
    const Bytes file = ReadBytes(File());
    const Bytes expected = Concat({UInt32(2), Int64(store->TimeStamp()), Wide("F1"), Wide("row-7"),
                                   UInt32(2), Wide("a"), Wide("1"), Wide("b"), Wide("2"),
                                   // A family: its member id is the empty string FF FE FF 00.
                                   Wide("F2"), Bytes{0xFF, 0xFE, 0xFF, 0x00}, UInt32(0)});
    EXPECT_EQ(file, expected);

    auto reloaded = Open();
    ASSERT_EQ(reloaded->Entries().size(), 2u);
    EXPECT_EQ(reloaded->Entries().front().memberId, L"row-7");
    EXPECT_EQ(reloaded->Entries().front().properties, (Properties{{L"a", L"1"}, {L"b", L"2"}}));
    EXPECT_EQ(reloaded->TimeStamp(), store->TimeStamp());
}

TEST_F(SearchStore, SaveOnlyKeepsEntriesAndRefreshesTheStamp) {
    WriteBytes(File(), Concat({UInt32(1), Int64(5), Wide("F1"), Wide(""), UInt32(0)}));
    auto store = Open();
    ASSERT_EQ(store->TimeStamp(), 5);
    ASSERT_EQ(store->StoreResults({Family(L"ignored")}, true), S_OK);
    const Bytes file = ReadBytes(File());
    EXPECT_EQ(Bytes(file.begin() + 12, file.end()), Concat({Wide("F1"), Wide(""), UInt32(0)}));
    EXPECT_GT(StampOf(file), 5);
    EXPECT_EQ(store->ItemIds(), (Strings{L"F1"}));
}

TEST_F(SearchStore, ReaderTakesNarrowStringsAndKeepsTheFirstOfRepeatedKeys) {
    const Bytes narrowName = {0x02, 'F', '1'};
    WriteBytes(File(), Concat({UInt32(2), Int64(1), narrowName, Wide(""), UInt32(2), Wide("k"),
                               Wide("first"), Wide("k"), Wide("second"), Wide("f1"), Wide("m"),
                               UInt32(0)}));
    auto store = Open();
    ASSERT_EQ(store->Entries().size(), 2u);
    EXPECT_EQ(store->Entries().front().internalName, L"F1");
    EXPECT_EQ(store->Entries().front().properties, (Properties{{L"k", L"first"}}));
    // Distinct names in stored order; the lookup ignores case.
    EXPECT_EQ(store->ItemIds(), (Strings{L"F1", L"f1"}));
    EXPECT_TRUE(store->ContainsItem(L"f1"));
    EXPECT_FALSE(store->ContainsItem(L"F"));
}

TEST_F(SearchStore, CorruptFileKeepsTheEntriesReadBeforeTheFault) {
    const Bytes one = Concat({Wide("F1"), Wide(""), UInt32(0)});
    // A count larger than the entries, a cache count larger than its pairs,
    // a file cut inside a string, and one too short for its header.
    const std::vector<std::pair<Bytes, std::size_t>> cases = {
        {Concat({UInt32(1000000000), Int64(1), one}), 1},
        {Concat({UInt32(2), Int64(1), one, Wide("F2"), Wide(""), UInt32(0xFFFFFFFF)}), 1},
        {Concat({UInt32(2), Int64(1), one, Bytes{0xFF, 0xFE, 0xFF, 0x09, 'x'}}), 1},
        {Bytes{0x01, 0x00, 0x00}, 0},
    };
    for (const auto& [bytes, kept] : cases) {
        WriteBytes(File(), bytes);
        auto store = Open();
        EXPECT_EQ(store->Entries().size(), kept);
        EXPECT_EQ(store->Load(), E_FAIL);
        EXPECT_EQ(store->Entries().size(), kept);
        EXPECT_EQ(ReadBytes(File()), bytes);  // a failed load never rewrites the file
    }
}

TEST_F(SearchStore, FailedSaveKeepsTheListAndLeavesNoTemporaryFile) {
    WriteBytes(File(), Concat({UInt32(0), Int64(5)}));
    auto store = Open();
    std::filesystem::remove(File());
    std::filesystem::create_directory(File());  // the rename over it must fail
    EXPECT_EQ(store->StoreResults({Family(L"F2")}, false), E_FAIL);
    EXPECT_EQ(store->ItemIds(), (Strings{L"F2"}));
    EXPECT_GT(store->TimeStamp(), 5);  // stamped before the write
    EXPECT_EQ(EntriesIn(folder_.path()), 1u);
}

TEST_F(SearchStore, MissingFolderGivesAnEmptyStoreThatCannotSave) {
    auto store = CSearchResultsData::Initialize((folder_.path() / "absent").wstring());
    EXPECT_TRUE(store->FilePath().empty());
    EXPECT_TRUE(store->IsEmpty());
    EXPECT_EQ(store->StoreResults({Family(L"F1")}, false), E_FAIL);
    EXPECT_EQ(store->ItemIds(), (Strings{L"F1"}));
}

TEST(StoreSearchResults, OnlySearchContextsStore) {
    TempFolder folder;
    const std::wstring path = folder.path().wstring();
    const std::list<std::wstring> libraries = {L"A"};
    EXPECT_EQ(Vardel::StoreSearchResults(nullptr, {}, false), E_INVALIDARG);
    for (const auto type : {Vardel::LibraryBrowsing, Vardel::HistoryBrowsing,
                            Vardel::FavoritesBrowsing, Vardel::SearchBrowsing}) {
        Vardel::CContext context;
        ASSERT_EQ(context.Initialize(type, &libraries, nullptr, L"en", nullptr, path.c_str()),
                  S_OK);
        const HRESULT expected = type == Vardel::SearchBrowsing ? S_OK : E_INVALIDARG;
        EXPECT_EQ(Vardel::StoreSearchResults(&context, {Family(L"F1")}, false), expected);
        EXPECT_EQ(std::filesystem::exists(folder.path() / "TarnSearch.bin"),
                  type == Vardel::SearchBrowsing);
    }
}

}  // namespace
