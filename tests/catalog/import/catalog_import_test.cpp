// Building catalogue files from library folders written into a scratch
// folder: counts and progress, all-or-nothing on failure and cancellation,
// the duplicates refused across folders and within a library, and the
// check that writes nothing.
#include "vardel/catalog/catalog_import.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "catalog/support/catalog_builder.h"
#include "common/atomic_file.h"
#include "store/sqlite_database.h"
#include "support/temp_folder.h"

namespace VardelCatalog {
namespace {

namespace fs = std::filesystem;
using VardelCatalogTest::QueryRows;
using Rows = std::vector<std::string>;

std::string Id(unsigned n) {
    char text[40];
    std::snprintf(text, sizeof text, "00000000-0000-0000-0000-%012x", n);
    return text;
}

void WriteText(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    ASSERT_TRUE(VardelCommon::WriteFileAtomically(file, text)) << file;
}

std::string ReadText(const fs::path& file) {
    std::string bytes;
    VardelCommon::ReadWholeFile(file, bytes);
    return bytes;
}

// A library folder with category 10 and parameter 20 (double).
fs::path WriteLibrary(const fs::path& folder, const std::string& name, unsigned id) {
    WriteText(folder / "library.xml",
              "<Library Name=\"" + name + "\" Id=\"" + Id(id) +
                  "\" DefaultLanguage=\"en-US\">"
                  "<Parameters><Parameter Id=\"" +
                  Id(20) +
                  "\" ValueType=\"double\"/></Parameters>"
                  "<Categories><Category Id=\"" +
                  Id(10) + "\"><Name Lang=\"en-US\">Screws</Name><ParameterRef Id=\"" + Id(20) +
                  "\"/></Category></Categories></Library>");
    return folder;
}

// families/<stem>.csvfamily.xml with id `id` in category 10, mapping column
// d to parameter 20, and its table with one line per value of d.
void WriteFamily(const fs::path& folder, const std::string& stem, unsigned id,
                 const std::vector<std::string>& d) {
    WriteText(folder / "families" / (stem + ".csvfamily.xml"),
              "<CsvFamily Id=\"" + Id(id) +
                  "\" LastModified=\"2024-03-01T00:00:00Z\">"
                  "<Name Lang=\"en-US\">" +
                  stem + "</Name><Category Ref=\"" + Id(10) +
                  "\"/><Column Name=\"size\" Key=\"1\"/><Column Name=\"d\" Type=\"double\"/>"
                  "<Map Parameter=\"" +
                  Id(20) + "\" Column=\"d\"/></CsvFamily>");
    std::string table = "size,d\n";
    for (const std::string& value : d) {
        table += "M" + value + "," + value + "\n";
    }
    WriteText(folder / "families" / (stem + ".csv"), table);
}

class CatalogImportTest : public ::testing::Test {
  protected:
    CatalogImportTest() {
        // Two libraries: 2 + 3 members, then 1.
        WriteLibrary(First(), "Screws", 1);
        WriteFamily(First(), "a", 100, {"8", "10"});
        WriteFamily(First(), "b/c", 101, {"3", "4", "5"});
        WriteLibrary(Second(), "Nuts", 2);
        WriteFamily(Second(), "n", 100, {"6"});
        fs::create_directory(Out());
    }

    fs::path First() const { return folder_.path() / "first"; }
    fs::path Second() const { return folder_.path() / "second"; }
    fs::path Out() const { return folder_.path() / "out"; }
    fs::path Output() const { return Out() / "parts.catalog"; }
    std::vector<fs::path> Sources() const { return {First(), Second()}; }

    // The names in the output folder, sorted: no temporary file may stay.
    Rows OutEntries() const {
        Rows names;
        for (const auto& entry : fs::directory_iterator(Out())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder folder_;
};

TEST_F(CatalogImportTest, ImportsEveryFolderOverAnEarlierCatalogue) {
    ASSERT_TRUE(ImportCatalog({Second()}, Output()).ok);
    std::vector<ImportProgress> calls;
    const ImportResult result = ImportCatalog(Sources(), Output(), [&](const ImportProgress& p) {
        calls.push_back(p);
        return true;
    });
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.libraries, 2u);
    EXPECT_EQ(result.families, 3u);
    EXPECT_EQ(result.members, 6u);
    EXPECT_EQ(OutEntries(), Rows{"parts.catalog"});

    ASSERT_EQ(calls.size(), 5u);
    const std::vector<std::size_t> membersDone = {0, 2, 5, 5, 6};
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].filesDone, i + 1);
        EXPECT_EQ(calls[i].filesTotal, 5u);
        EXPECT_EQ(calls[i].membersDone, membersDone[i]);
        EXPECT_EQ(calls[i].membersTotal, 6u);
    }

    auto database = OpenSqliteDatabase(Output());
    EXPECT_EQ(QueryRows(*database,
                        "SELECT l.name, f.position, f.member_count, count(v.member_id)"
                        " FROM family f JOIN library l ON l.id = f.library_id"
                        " JOIN member m ON m.family_id = f.id"
                        " JOIN member_value v ON v.member_id = m.id GROUP BY f.id ORDER BY f.id",
                        4),
              (Rows{"Screws|0|2|2", "Screws|1|3|3", "Nuts|0|1|1"}));
}

// families/t.family.xml in the second folder: a family document whose
// column D1, mapped to parameter 20, is the minor diameter derived from d
// and P by `formula`; the row "short" has no P.
void WriteThreadDocument(const fs::path& folder, const std::string& formula) {
    WriteText(folder / "families/t.family.xml",
              "<Family InternalName='" + Id(102) +
                  "' LastModifiedTime='2024-03-01T00:00:00Z'>"
                  "<Categories><Category InternalName='" +
                  Id(10) +
                  "'/></Categories><ParameterMap><MemberParametersMap><ParamsToColumn>"
                  "<ParamToColumn TableColumn='D1'><CategoryParameterRef CategoryParameter='" +
                  Id(20) +
                  "'/></ParamToColumn></ParamsToColumn></MemberParametersMap></ParameterMap>"
                  "<FamilyTable><Columns><Column ColumnId='d' ValueType='double' UnitType='mm'/>"
                  "<Column ColumnId='P' ValueType='double' UnitType='mm'/>\n"
                  "<Column ColumnId='D1' ValueType='double' UnitType='mm' ColumnwideValue='" +
                  formula +
                  "'/></Columns><Rows>"
                  "<Row RowId='m8'><Cell ColumnId='d'>8</Cell><Cell ColumnId='P'>1.25</Cell></Row>"
                  "<Row RowId='short'><Cell ColumnId='d'>8</Cell></Row>"
                  "<Row RowId='m10'><Cell ColumnId='d'>10</Cell><Cell ColumnId='P'>1.5</Cell></Row>"
                  "</Rows></FamilyTable></Family>");
}

TEST_F(CatalogImportTest, StoresTheValuesFormulasGive) {
    WriteThreadDocument(Second(), "{d} - 5*sqrt(3)/8*{P}");
    const ImportResult imported = ImportCatalog(Sources(), Output());
    ASSERT_TRUE(imported.ok) << imported.error;
    EXPECT_EQ(imported.members, 9u);
    // The cell that cannot be computed has no value; the others are numbers.
    auto database = OpenSqliteDatabase(Output());
    EXPECT_EQ(QueryRows(*database,
                        "SELECT m.row_id, v.text_value, v.number_value FROM member m"
                        " JOIN family f ON f.id = m.family_id JOIN library l"
                        " ON l.id = f.library_id LEFT JOIN member_value v ON v.member_id = m.id"
                        " WHERE l.name = 'Nuts' AND f.position = 1 ORDER BY m.position",
                        3),
              (Rows{"m8|6.6468353|6.6468353", "short|NULL|NULL", "m10|8.3762024|8.3762024"}));
    database.reset();

    // A formula naming a column the table lacks fails the build at its column.
    WriteThreadDocument(Second(), "{d} - {pitch}");
    const ImportResult refused = ImportCatalog(Sources(), Output());
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error, (Second() / "families/t.family.xml").generic_string() +
                                 ":2: element Column: column D1: the formula \"{d} - {pitch}\""
                                 " refers to column \"pitch\", which the table does not have");
    EXPECT_EQ(OutEntries(), Rows{"parts.catalog"});
}

TEST_F(CatalogImportTest, ABadLibraryLeavesNoFileOrThePreviousOne) {
    WriteFamily(Second(), "z", 102, {"M8"});  // not a number in a double column
    for (const bool previous : {false, true}) {
        if (previous) {
            WriteText(Output(), "previous bytes");
        }
        const ImportResult result = ImportCatalog(Sources(), Output());
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find("z.csv"), std::string::npos) << result.error;
        EXPECT_EQ(OutEntries(), previous ? Rows{"parts.catalog"} : Rows{});
    }
    EXPECT_EQ(ReadText(Output()), "previous bytes");
}

// Families are read in parallel but reported in path order: the first bad
// file is the one named, whatever the workers reached first.
TEST_F(CatalogImportTest, TheFirstBadFileInPathOrderIsNamed) {
    for (unsigned i = 0; i < 20; ++i) {
        const bool bad = i == 7 || i == 15;
        WriteFamily(First(), "m" + std::to_string(10 + i), 300 + i, {bad ? "x" : "1"});
    }
    for (int run = 0; run < 3; ++run) {
        const ImportResult result = ImportCatalog(Sources(), Output());
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error.substr(0, result.error.find(':')),
                  (First() / "families/m17.csv").generic_string());
        EXPECT_EQ(result.families, 9u);  // a, b/c and m10 to m16
    }
    EXPECT_EQ(OutEntries(), Rows{});
}

TEST_F(CatalogImportTest, CancellingKeepsThePreviousFile) {
    // More families than are read ahead, so a cancel finds the reader waiting.
    for (unsigned i = 0; i < 12; ++i) {
        WriteFamily(First(), "e" + std::to_string(10 + i), 200 + i, {"1"});
    }
    WriteText(Output(), "previous bytes");
    for (std::size_t cancelAt : {1u, 2u, 17u}) {
        std::size_t calls = 0;
        const ImportResult result = ImportCatalog(
            Sources(), Output(), [&](const ImportProgress&) { return ++calls < cancelAt; });
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, "build cancelled");
        EXPECT_EQ(calls, cancelAt);
        EXPECT_EQ(OutEntries(), Rows{"parts.catalog"});
        EXPECT_EQ(ReadText(Output()), "previous bytes");
    }
}

TEST_F(CatalogImportTest, RefusesADuplicateLibraryNamingBothFolders) {
    const fs::path third = folder_.path() / "third";
    struct Case {
        std::string name;
        unsigned id;
        std::string what;
    };
    for (const Case& c :
         {Case{"Screws", 3, "library name \"Screws\""}, Case{"Bolts", 1, "library id " + Id(1)}}) {
        WriteLibrary(third, c.name, c.id);
        for (const bool check : {false, true}) {
            const std::vector<fs::path> sources = {First(), Second(), third};
            const ImportResult result =
                check ? CheckCatalogSources(sources) : ImportCatalog(sources, Output());
            EXPECT_FALSE(result.ok);
            EXPECT_EQ(result.error, third.generic_string() + ": " + c.what +
                                        " is already used by " + First().generic_string());
        }
    }
    EXPECT_EQ(OutEntries(), Rows{});
}

TEST_F(CatalogImportTest, RefusesAFamilyIdUsedTwiceInALibrary) {
    WriteFamily(First(), "d", 101, {"1"});
    for (const bool check : {false, true}) {
        const ImportResult result =
            check ? CheckCatalogSources(Sources()) : ImportCatalog(Sources(), Output());
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, (First() / "families/d.csvfamily.xml").generic_string() +
                                    ": family id " + Id(101) + " is already used by " +
                                    (First() / "families/b/c.csvfamily.xml").generic_string());
    }
    EXPECT_EQ(OutEntries(), Rows{});
}

TEST_F(CatalogImportTest, CheckReadsEverythingAndWritesNothing) {
    std::size_t calls = 0;
    const ImportResult result = CheckCatalogSources(Sources(), [&](const ImportProgress& p) {
        ++calls;
        return p.filesTotal == 5;
    });
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.families, 3u);
    EXPECT_EQ(result.members, 6u);
    EXPECT_EQ(calls, 5u);
    EXPECT_EQ(OutEntries(), Rows{});

    WriteFamily(Second(), "z", 102, {"M8"});
    EXPECT_NE(CheckCatalogSources(Sources()).error.find("z.csv"), std::string::npos);
    EXPECT_EQ(CheckCatalogSources(Sources(), [](const ImportProgress&) { return false; }).error,
              "build cancelled");
}

TEST_F(CatalogImportTest, NamesAMissingFolderOrABadOutput) {
    const fs::path missing = folder_.path() / "missing";
    struct Case {
        std::vector<fs::path> sources;
        fs::path output;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{First(), missing}, Output(), missing.generic_string() + ": library folder not found"},
        {{}, Output(), "no library folder given"},
        {Sources(), missing / "x.catalog", missing.generic_string() + ": output folder not found"},
        {Sources(), Out(), Out().generic_string() + ": is a folder, not a catalogue file"},
        {{Out()}, Output(), (Out() / "library.xml").generic_string()},
    };
    for (const Case& c : cases) {
        const ImportResult result = ImportCatalog(c.sources, c.output);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error.substr(0, c.error.size()), c.error);
    }
    EXPECT_EQ(CheckCatalogSources({missing}).error,
              missing.generic_string() + ": library folder not found");
    EXPECT_EQ(OutEntries(), Rows{});
}

}  // namespace
}  // namespace VardelCatalog
