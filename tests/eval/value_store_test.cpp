// The value store: its file bytes, the persistence rule, loading of damaged
// files, and the row caches' own records.
#include "eval/value_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "common/atomic_file.h"
#include "common/user_locale.h"
#include "common/wide_path.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using VardelTest::Bytes;
using VardelTest::Concat;

constexpr std::uint32_t kLocale = 1033;

Bytes U16(std::uint16_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
}

Bytes U32(std::uint32_t value) {
    return Concat(
        {U16(static_cast<std::uint16_t>(value)), U16(static_cast<std::uint16_t>(value >> 16))});
}

// A short wide string of ASCII characters: FF FE FF, its length, UTF-16LE.
Bytes Str(std::string_view text) {
    Bytes bytes{0xFF, 0xFE, 0xFF, static_cast<std::uint8_t>(text.size())};
    for (char c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(0);
    }
    return bytes;
}

// Columns A, B and languages en, de; the rows follow.
Bytes Lists() {
    return Concat({U32(1), U16(2), Str("A"), Str("B"), U16(2), Str("en"), Str("de")});
}

// One language block holding one value.
Bytes Block(std::uint16_t language, std::uint16_t column, std::string_view value) {
    return Concat({U16(language), U32(1), U16(column), Str(value)});
}

// r1: en A=1; r2: de B=2.
const Bytes kRow1 = Concat({Str("r1"), U32(1), Block(0, 0, "1")});
const Bytes kRow2 = Concat({Str("r2"), U32(1), Block(1, 1, "2")});
const Bytes kValidFile = Concat({Lists(), U32(2), kRow1, kRow2});

// Every value of rows r1..r3, columns A and B, languages en and de.
std::string Dump(const CValueStore& store) {
    std::string dump;
    for (const wchar_t* row : {L"r1", L"r2", L"r3"}) {
        for (const wchar_t* column : {L"A", L"B"}) {
            for (const wchar_t* language : {L"en", L"de"}) {
                std::wstring value;
                if (store.GetValue(row, column, language, value) == 0) {
                    dump += VardelCommon::ToUtf8(std::wstring(row) + L"/" + column + L"/" +
                                                 language + L"=" + value + L" ");
                }
            }
        }
    }
    return dump;
}

class ValueStoreFile : public ::testing::Test {
  protected:
    fs::path CacheFile() const { return folder_.path() / "TableCache_1033.dat"; }
    std::wstring Folder() const { return VardelCommon::FromPath(folder_.path()); }

    TempFolder folder_;
};

TEST(ValueStore, FilePathJoinsFolderAndLocaleName) {
    struct Case {
        std::wstring folder;
        std::string path;
    } cases[] = {
        {L"cache", "cache/TableCache_1031.dat"},
        {L"cache/", "cache/TableCache_1031.dat"},
        {L"cache\\", "cache\\TableCache_1031.dat"},
        {L"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CValueStore(c.folder, 1031).GetFilePath().string(), c.path);
    }
    EXPECT_EQ(CValueStore(L"cache").GetFilePath().filename().string(),
              "TableCache_" + std::to_string(VardelCommon::GetUserLocale().localeId) + ".dat");
}

TEST(ValueStore, ClearsOneLanguageOneColumnOrOneRow) {
    CValueStore store(L"", kLocale);
    for (const wchar_t* row : {L"r1", L"r2"}) {
        for (const wchar_t* column : {L"A", L"B"}) {
            store.SetValue(row, column, L"en", L"1");
            store.SetValue(row, column, L"de", L"1");
        }
    }
    std::wstring value = L"untouched";
    EXPECT_EQ(store.GetValue(L"R1", L"A", L"en", value), 1);  // ids are case-sensitive here
    EXPECT_EQ(value, L"untouched");
    store.ClearValue(L"r1", L"A", L"de");
    store.ClearValue(L"r1", L"B");
    EXPECT_EQ(Dump(store), "r1/A/en=1 r2/A/en=1 r2/A/de=1 r2/B/en=1 r2/B/de=1 ");
    store.ClearColumn(L"A");
    EXPECT_EQ(Dump(store), "r2/B/en=1 r2/B/de=1 ");

    // r2 is the current row: its shortcut must go with it.
    store.DropRow(L"r2");
    EXPECT_EQ(store.GetValue(L"r2", L"B", L"en", value), 1);
    store.SetValue(L"r2", L"A", L"en", L"5");
    EXPECT_EQ(Dump(store), "r2/A/en=5 ");
}

// A row cleared whole holds nothing in any language and takes values again;
// the store's other rows keep theirs.
TEST(ValueStore, RowCacheClearedWholeTakesValuesAgain) {
    CValueStore store(L"", kLocale);
    store.SetValue(L"r1", L"A", L"en", L"kept");
    CValueCacheLoc row(store);
    row.SetValue(L"A", L"en", L"1");
    row.SetValue(L"B", L"de", L"2");
    row.ClearAll();
    std::wstring value;
    EXPECT_EQ(row.GetValue(L"A", L"en", value) + row.GetValue(L"B", L"de", value), 2);
    row.SetValue(L"B", L"en", L"longer value");
    ASSERT_EQ(row.GetValue(L"B", L"en", value), 0);
    EXPECT_EQ(value, L"longer value");
    EXPECT_EQ(Dump(store), "r1/A/en=kept ");
}

// A row cache handed out for writing stays the row's while the store's
// rows generation stays; a row dropped or a load renews it, and no two
// stores share one.
TEST(ValueStore, RowsGenerationChangesOnlyWhenRowCachesGo) {
    CValueStore store(L"", kLocale);
    const CValueStore other(L"", kLocale);
    EXPECT_NE(store.RowsGeneration(), other.RowsGeneration());
    const std::uint64_t first = store.RowsGeneration();
    CValueCacheLoc& row = store.RowCacheForWriting(L"r1");
    store.SetValue(row, L"A", L"en", L"1");
    store.SetValue(L"r2", L"A", L"en", L"2");
    store.DropRow(L"missing");
    EXPECT_EQ(&store.RowCacheForWriting(L"r1"), &row);
    EXPECT_EQ(store.RowsGeneration(), first);
    EXPECT_EQ(Dump(store), "r1/A/en=1 r2/A/en=2 ");
    store.DropRow(L"r2");
    const std::uint64_t dropped = store.RowsGeneration();
    EXPECT_NE(dropped, first);
    store.Load();
    EXPECT_NE(store.RowsGeneration(), dropped);
    EXPECT_EQ(Dump(store), "");
}

// Rows are looked up along the order they were added in; dropping rows
// shifts that order, and lookups in any order must still find each row.
TEST(ValueStore, RowsAreFoundInAnyOrderAfterDrops) {
    CValueStore store(L"", kLocale);
    for (int i = 0; i < 6; ++i)
        store.SetValue(L"r" + std::to_wstring(i), L"A", L"en", std::to_wstring(i));
    store.DropRow(L"r2");
    store.DropRow(L"r0");
    store.SetValue(L"r2", L"A", L"en", L"new");
    const auto value = [&](int row) {
        std::wstring text;
        return store.GetValue(L"r" + std::to_wstring(row), L"A", L"en", text) == 0 ? text
                                                                                   : L"<none>";
    };
    for (const std::vector<int>& order :
         {std::vector<int>{1, 3, 4, 5, 2, 0}, std::vector<int>{0, 2, 5, 4, 3, 1},
          std::vector<int>{3, 1, 5, 2, 4, 0}}) {
        for (const int row : order) {
            EXPECT_EQ(value(row), row == 0   ? L"<none>"
                                  : row == 2 ? L"new"
                                             : std::to_wstring(row))
                << row;
        }
    }
}

// All rows keep their values in two blocks of the store: values rewritten
// shorter, as long or longer, added, cleared and dropped with their row, in
// rows taking turns, must leave every other value as it was, also when a
// row's entries move to the end of the block and when the blocks are
// compacted.
TEST(ValueStore, RewritingAndClearingLeaveTheOtherValues) {
    CValueStore store(L"", kLocale);
    using Key = std::tuple<std::wstring, std::wstring, std::wstring>;
    std::map<Key, std::wstring> expected;
    const std::vector<std::wstring> rows = {L"r1", L"r2", L"r3"};
    const std::vector<std::wstring> columns = {L"A", L"B", L"C", L"D"};
    const std::vector<std::wstring> languages = {L"en", L"de"};
    for (int step = 0; step < 600; ++step) {
        const std::wstring& row = rows[static_cast<std::size_t>(step * 5 % 3)];
        const std::wstring& column = columns[static_cast<std::size_t>(step * 7 % 4)];
        const std::wstring& language = languages[static_cast<std::size_t>(step / 3 % 2)];
        if (step % 11 == 5) {
            store.ClearValue(row, column, language);
            expected.erase({row, column, language});
        } else if (step % 29 == 13) {
            store.ClearValue(row, column);
            std::erase_if(expected, [&](const auto& entry) {
                return std::get<0>(entry.first) == row && std::get<1>(entry.first) == column;
            });
        } else if (step % 97 == 50) {
            store.DropRow(row);
            std::erase_if(expected,
                          [&](const auto& entry) { return std::get<0>(entry.first) == row; });
        } else {
            const std::wstring value(static_cast<std::size_t>(step * 13 % 17),
                                     wchar_t(L'a' + step % 26));
            store.SetValue(row, column, language, value);
            expected[{row, column, language}] = value;
        }
        for (const std::wstring& r : rows) {
            for (const std::wstring& c : columns) {
                for (const std::wstring& l : languages) {
                    std::wstring value = L"none";
                    const auto found = expected.find({r, c, l});
                    ASSERT_EQ(store.GetValue(r, c, l, value), found == expected.end() ? 1 : 0)
                        << "step " << step;
                    if (found != expected.end()) {
                        ASSERT_EQ(value, found->second) << "step " << step;
                    }
                }
            }
        }
    }
}

TEST_F(ValueStoreFile, RecordsOutOfOrderOrRepeatingAColumnKeepTheFirstValue) {
    // r1 en: B=b1, A=a, B=b2 (a repeat), then an empty de block.
    VardelTest::WriteBytes(
        CacheFile(), Concat({Lists(), U32(1), Str("r1"), U32(2), U16(0), U32(3), U16(1), Str("b1"),
                             U16(0), Str("a"), U16(1), Str("b2"), U16(1), U32(0)}));
    CValueStore store(Folder(), kLocale);
    EXPECT_EQ(Dump(store), "r1/A/en=a r1/B/en=b1 ");
    store.SetValue(L"r1", L"A", L"en", L"x");
    store.Save({L"A", L"B"});
    EXPECT_EQ(VardelTest::ReadBytes(CacheFile()),
              Concat({Lists(), U32(1), Str("r1"), U32(1), U16(0), U32(2), U16(0), Str("x"), U16(1),
                      Str("b1")}));

    // A long value before three repeats of a short one: the characters the
    // repeats leave unused must be counted right when a clear compacts them.
    const std::string longValue(40, 'b');
    VardelTest::WriteBytes(CacheFile(), Concat({Lists(), U32(1), Str("r1"), U32(1), U16(0), U32(4),
                                                U16(1), Str(longValue), U16(0), Str("1"), U16(0),
                                                Str("2"), U16(0), Str("3")}));
    CValueStore repeats(Folder(), kLocale);
    repeats.ClearValue(L"r1", L"B", L"en");
    EXPECT_EQ(Dump(repeats), "r1/A/en=1 ");
}

// Rows read from a file lie one after another in the store's blocks: a
// change to one row, or a column cleared in all, must leave every other
// value as it was, through a save and a reload too.
TEST_F(ValueStoreFile, RowsReadFromTheFileChangeOneByOne) {
    VardelTest::WriteBytes(CacheFile(),
                           Concat({Lists(), U32(3), Str("r1"), U32(1), Block(0, 0, "x"), Str("r2"),
                                   U32(2), U16(0), U32(2), U16(0), Str("1"), U16(1), Str("22"),
                                   Block(1, 0, "333"), Str("r3"), U32(1), Block(1, 1, "yy")}));
    CValueStore store(Folder(), kLocale);
    EXPECT_EQ(Dump(store), "r1/A/en=x r2/A/en=1 r2/A/de=333 r2/B/en=22 r3/B/de=yy ");
    const std::vector<std::pair<std::function<void()>, std::string>> steps = {
        {[&] { store.SetValue(L"r1", L"A", L"en", L"longer"); },
         "r1/A/en=longer r2/A/en=1 r2/A/de=333 r2/B/en=22 r3/B/de=yy "},
        {[&] { store.ClearColumn(L"B"); }, "r1/A/en=longer r2/A/en=1 r2/A/de=333 "},
        {[&] { store.ClearValue(L"r2", L"A", L"de"); }, "r1/A/en=longer r2/A/en=1 "},
        {[&] { store.SetValue(L"r3", L"A", L"de", L"z"); }, "r1/A/en=longer r2/A/en=1 r3/A/de=z "},
    };
    for (const auto& [step, expected] : steps) {
        step();
        EXPECT_EQ(Dump(store), expected);
    }
    store.Save({L"A", L"B"});
    EXPECT_EQ(Dump(CValueStore(Folder(), kLocale)), steps.back().second);
}

TEST_F(ValueStoreFile, SaveWritesSectionsInFileOrder) {
    CValueStore store(Folder(), kLocale);
    // Languages get indexes in the order first set (en 0, de 1); rows,
    // languages and entries are written in ascending order of their ids.
    store.SetValue(L"r2", L"B", L"en", L"1");
    store.SetValue(L"r2", L"A", L"de", L"2");
    store.SetValue(L"r1", L"Gone", L"en", L"3");
    store.SetValue(L"r1", L"A", L"en", L"4");
    store.Save({L"B", L"A"});
    const Bytes expected = Concat({
        U32(1),      U16(2),    Str("B"),  Str("A"), U16(2),           Str("en"),        Str("de"),
        U32(2),      Str("r1"), U32(1),    U16(0),   U32(2),           U16(1),           Str("4"),
        U16(0xFFFF), Str("3"),  Str("r2"), U32(2),   Block(1, 1, "2"), Block(0, 0, "1"),
    });
    EXPECT_EQ(VardelTest::ReadBytes(CacheFile()), expected);

    // The value of the missing column is dropped on the next load.
    CValueStore reloaded(Folder(), kLocale);
    std::wstring value;
    EXPECT_EQ(reloaded.GetValue(L"r1", L"Gone", L"en", value), 1);
    EXPECT_EQ(reloaded.GetValue(L"r1", L"A", L"en", value), 0);
    EXPECT_EQ(value, L"4");
}

TEST_F(ValueStoreFile, EntriesFollowUtf16OrderAndLongValuesRoundTrip) {
    CValueStore store(Folder(), kLocale);
    const std::wstring privateUse = L"\uE000";
    const std::wstring supplementary = L"\U00010000";  // D800 DC00 sorts before E000
    const std::wstring longValue(300, L'x');
    store.SetValue(L"r", privateUse, L"en", L"p");
    store.SetValue(L"r", supplementary, L"en", longValue);
    store.Save({privateUse, supplementary});
    const Bytes bytes = VardelTest::ReadBytes(CacheFile());
    const Bytes entries = Concat({U32(2), U16(1), {0xFF, 0xFE, 0xFF, 0xFF}, U16(300)});
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), entries.begin(), entries.end()), bytes.end());

    CValueStore reloaded(Folder(), kLocale);
    std::wstring value;
    ASSERT_EQ(reloaded.GetValue(L"r", supplementary, L"en", value), 0);
    EXPECT_EQ(value, longValue);
    ASSERT_EQ(reloaded.GetValue(L"r", privateUse, L"en", value), 0);
    EXPECT_EQ(value, L"p");
}

TEST_F(ValueStoreFile, WritesOnlyWhenPersistingChangedAndHoldingRows) {
    struct Case {
        const char* name;
        std::function<void(CValueStore&)> act;
        bool writes;
    } cases[] = {
        {"nothing cached", [](CValueStore&) {}, false},
        {"value set", [](CValueStore& s) { s.SetValue(L"r1", L"A", L"en", L"1"); }, true},
        {"persistence off",
         [](CValueStore& s) {
             s.SetValue(L"r1", L"A", L"en", L"1");
             s.DisablePersistence();
         },
         false},
        {"persistence off and back",
         [](CValueStore& s) {
             s.DisablePersistence();
             s.SetValue(L"r1", L"A", L"en", L"1");
             s.RestorePersistence();
         },
         true},
        {"only row dropped",
         [](CValueStore& s) {
             s.SetValue(L"r1", L"A", L"en", L"1");
             s.DropRow(L"r1");
         },
         false},
    };
    for (const Case& c : cases) {
        fs::remove(CacheFile());
        CValueStore store(Folder(), kLocale);
        c.act(store);
        store.Save({L"A"});
        EXPECT_EQ(fs::exists(CacheFile()), c.writes) << c.name;
    }
    CValueStore off(Folder(), kLocale);
    off.DisablePersistence();
    EXPECT_TRUE(off.GetFilePath().empty());
    EXPECT_FALSE(off.Load());
    CValueStore none(L"", kLocale);
    EXPECT_FALSE(none.Load());
}

TEST_F(ValueStoreFile, LoadedStoreRewritesOnlyAfterAChange) {
    VardelTest::WriteBytes(CacheFile(), kValidFile);
    CValueStore store(Folder(), kLocale);
    EXPECT_EQ(Dump(store), "r1/A/en=1 r2/B/de=2 ");
    fs::remove(CacheFile());
    store.Save({L"A", L"B"});
    EXPECT_FALSE(fs::exists(CacheFile()));

    // Clearing counts as a change; the language left empty leaves the record.
    store.ClearValue(L"r2", L"B", L"de");
    store.Save({L"A", L"B"});
    EXPECT_EQ(VardelTest::ReadBytes(CacheFile()),
              Concat({Lists(), U32(2), kRow1, Str("r2"), U32(0)}));
}

TEST_F(ValueStoreFile, NewLanguageGetsAFreshIndexBesideDuplicatesInTheFile) {
    VardelTest::WriteBytes(CacheFile(),
                           Concat({U32(1), U16(1), Str("A"), U16(2), Str("en"), Str("en"), U32(1),
                                   Str("r1"), U32(1), Block(1, 0, "1")}));
    CValueStore store(Folder(), kLocale);
    store.SetValue(L"r1", L"A", L"de", L"2");
    store.Save({L"A"});
    CValueStore reloaded(Folder(), kLocale);
    EXPECT_EQ(Dump(reloaded), "r1/A/en=1 r1/A/de=2 ");
}

TEST_F(ValueStoreFile, DamagedFilesLoadWhatPrecedesTheDamage) {
    const Bytes lying32 = U32(0xFFFFFFFF);
    struct Case {
        const char* name;
        Bytes file;
        bool loads;
        std::string dump;
    } cases[] = {
        {"whole", kValidFile, true, "r1/A/en=1 r2/B/de=2 "},
        {"version 2", Concat({U32(2), Bytes(kValidFile.begin() + 4, kValidFile.end())}), false, ""},
        {"no rows", Concat({Lists(), U32(0)}), false, ""},
        {"column count past the end", Concat({U32(1), U16(0xFFFF), Str("A")}), false, ""},
        {"row count past the end", Concat({Lists(), lying32, kRow1}), false, "r1/A/en=1 "},
        {"language count past the end",
         Concat({Lists(), U32(2), Str("r1"), lying32, Block(0, 0, "1")}), false, "r1/A/en=1 "},
        {"entry count past the end",
         Concat({Lists(), U32(1), Str("r1"), U32(1), U16(0), lying32, U16(0), Str("1")}), false,
         "r1/A/en=1 "},
        {"string length past the end",
         Concat({Lists(),
                 U32(1),
                 Str("r1"),
                 U32(1),
                 U16(0),
                 U32(1),
                 U16(0),
                 {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF},
                 U32(0x7FFFFFFF)}),
         false, ""},
        {"language index outside the list",
         Concat({Lists(), U32(1), Str("r1"), U32(2), Block(7, 1, "x"), Block(0, 0, "1")}), true,
         "r1/A/en=1 "},
        {"column index outside the list",
         Concat({Lists(), U32(1), Str("r1"), U32(1), U16(0), U32(2), U16(9), Str("x"), U16(0),
                 Str("1")}),
         true, "r1/A/en=1 "},
        {"empty row id", Concat({Lists(), U32(3), kRow1, Str(""), kRow2}), false, "r1/A/en=1 "},
        {"row without a readable language", Concat({Lists(), U32(2), kRow1, Str("r2"), U32(1)}),
         false, "r1/A/en=1 "},
        {"narrow strings",
         Concat({Lists(), U32(1), {2, 'r', '1'}, U32(1), U16(0), U32(1), U16(0), {1, '1'}}), true,
         "r1/A/en=1 "},
    };
    for (const Case& c : cases) {
        VardelTest::WriteBytes(CacheFile(), c.file);
        CValueStore store(Folder(), kLocale);
        EXPECT_EQ(Dump(store), c.dump) << c.name;
        store.Save({L"A", L"B"});  // unchanged: the damaged file stays as it is
        EXPECT_EQ(VardelTest::ReadBytes(CacheFile()), c.file) << c.name;
        // A row dropped for its damage leaves the others findable.
        store.SetValue(L"r9", L"A", L"en", L"9");
        std::wstring value;
        EXPECT_EQ(store.GetValue(L"r9", L"A", L"en", value), 0) << c.name;
        EXPECT_EQ(store.GetValue(L"r1", L"A", L"en", value), c.dump.empty() ? 1 : 0) << c.name;
    }
}

TEST_F(ValueStoreFile, TruncationAnywhereFailsAndKeepsWholeRows) {
    for (std::size_t size = 0; size < kValidFile.size(); ++size) {
        const Bytes prefix(kValidFile.begin(),
                           kValidFile.begin() + static_cast<std::ptrdiff_t>(size));
        VardelTest::WriteBytes(CacheFile(), prefix);
        CValueStore store(Folder(), kLocale);
        EXPECT_FALSE(store.Load()) << size;
        const std::string dump = Dump(store);
        EXPECT_TRUE(dump.empty() || dump == "r1/A/en=1 ") << size << ": " << dump;
        store.Save({L"A", L"B"});
        EXPECT_EQ(VardelTest::ReadBytes(CacheFile()), prefix) << size;
    }
}

TEST_F(ValueStoreFile, LoadRemovesOnlyStaleTemporariesOfItsFile) {
    const fs::path stale =
        folder_.path() / "TableCache_1033.dat.~0f8fad5b-d9cb-469f-a165-70867728950e.tmp";
    const fs::path other =
        folder_.path() / "TableCache_1031.dat.~0f8fad5b-d9cb-469f-a165-70867728950e.tmp";
    VardelTest::WriteBytes(stale, {1});
    VardelTest::WriteBytes(other, {1});
    CValueStore store(Folder(), kLocale);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(other));
}

TEST_F(ValueStoreFile, RowCachesTellWholePartAndNothingRead) {
    VardelTest::WriteBytes(CacheFile(), kValidFile);  // gives the store its lists
    CValueStore store(Folder(), kLocale);
    const auto loadLoc = [&](const Bytes& record) {
        VardelCommon::ArchiveReader reader(record);
        return CValueCacheLoc(store).Load(reader);
    };
    EXPECT_EQ(loadLoc(Concat({U32(1), Block(0, 1, "v")})), 1);
    EXPECT_EQ(loadLoc(U32(0)), 1);
    EXPECT_EQ(loadLoc(Concat({U32(2), Block(0, 1, "v")})), 0);
    EXPECT_EQ(loadLoc(Concat({U32(2), Block(7, 1, "v")})), -1);  // only a skipped language
    EXPECT_EQ(loadLoc(Concat({U32(1), U16(0), U32(2)})), -1);
    EXPECT_EQ(loadLoc({}), -1);

    const auto loadSimple = [&](const Bytes& record) {
        VardelCommon::ArchiveReader reader(record);
        return CValueCacheSimple(store).Load(reader);
    };
    EXPECT_EQ(loadSimple(Concat({U32(1), U16(1), Str("v")})), 1);
    EXPECT_EQ(loadSimple(Concat({U32(2), U16(1), Str("v")})), 0);
    EXPECT_EQ(loadSimple(Concat({U32(2), U16(9), Str("v")})), -1);
    EXPECT_EQ(loadSimple({}), -1);
}

TEST_F(ValueStoreFile, SimpleCacheIgnoresLanguagesAndWritesAValueBlock) {
    CValueStore store(Folder(), kLocale);
    CValueCacheSimple simple(store);
    simple.SetValue(L"B", L"en", L"x");
    std::wstring value;
    ASSERT_EQ(simple.GetValue(L"B", L"de", value), 0);
    EXPECT_EQ(value, L"x");
    store.SetValue(L"r1", L"A", L"en", L"1");
    store.Save({L"A", L"B"});  // indexes the columns for the record below
    VardelCommon::ArchiveWriter writer;
    EXPECT_EQ(simple.Save(writer), 1);
    EXPECT_EQ(writer.Bytes(), Concat({U32(1), U16(1), Str("x")}));
    simple.ClearValue(L"B", L"fr");
    EXPECT_EQ(simple.GetValue(L"B", L"en", value), 1);
}

}  // namespace
