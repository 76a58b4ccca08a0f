// The family files of a folder: which files count and in what order, the
// member estimates for progress, the choice of reader, and the bundled
// sample libraries read end to end.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "source_test_util.h"

namespace VardelSourceTest {
namespace {

namespace fs = std::filesystem;

TEST(FamilyFiles, ListsFamilyFilesInByteOrderOfTheirPaths) {
    LibraryFolder folder;
    for (const char* name :
         {"families/b.csvfamily.xml", "families/sub/c.csvfamily.xml", "families/a/z.family.xml",
          "families/A.csvfamily.xml", "families/x.csv", "families/x.strings.en.xml",
          "families/y.family.xml.bak", "families/csvfamily.xml", "other.csvfamily.xml"}) {
        folder.Write(name, "");
    }
    fs::create_directories(folder.path() / "families/d.family.xml");
    const std::vector<fs::path> expected = {
        folder.path() / "families/A.csvfamily.xml", folder.path() / "families/a/z.family.xml",
        folder.path() / "families/b.csvfamily.xml", folder.path() / "families/sub/c.csvfamily.xml"};
    EXPECT_EQ(ListFamilyFiles(folder.path()), expected);

    TempFolder empty;
    EXPECT_TRUE(ListFamilyFiles(empty.path()).empty());
}

TEST(FamilyFiles, EstimatesMembersCheaply) {
    LibraryFolder folder;
    const auto csv = folder.Write("families/a.csvfamily.xml", CsvDescriptionXml(""));
    folder.Write("families/a.csv", "h\n1\n\n \n2\r\n3");
    EXPECT_EQ(EstimateMemberCount(csv), 3u);
    const auto named =
        folder.Write("families/b.csvfamily.xml", CsvDescriptionXml("", " Table='t/b table.csv'"));
    folder.Write("families/t/b table.csv", "h\n1\n");
    EXPECT_EQ(EstimateMemberCount(named), 1u);
    folder.Write("families/t/b table.csv", "");
    EXPECT_EQ(EstimateMemberCount(named), 0u);
    const auto document = folder.Write("families/c.family.xml",
                                       "<Family><FamilyTable><Rows><Row RowId='1'/><Row>\n</Row>"
                                       "<Row/><Rows/></Rows></FamilyTable></Family>");
    EXPECT_EQ(EstimateMemberCount(document), 3u);

    // A table that is no regular file is never read (a pipe would block).
    const auto piped = folder.Write(
        "families/p.csvfamily.xml",
        CsvDescriptionXml("<Name Lang='en'>P</Name><Category Ref='@10'/><Column Name='h'/>"));
    ASSERT_EQ(::mkfifo((folder.path() / "families/p.csv").c_str(), 0600), 0);
    EXPECT_EQ(EstimateMemberCount(piped), 0u);
    FamilySource family;
    SourceError error;
    EXPECT_FALSE(ReadFamily(piped, folder.Library(), family, error));
    EXPECT_EQ(error.ToString(), (folder.path() / "families/p.csv").string() + ": cannot be read");
    EXPECT_EQ(EstimateMemberCount(folder.path() / "families/none.csvfamily.xml"), 0u);
    EXPECT_EQ(EstimateMemberCount(folder.Write("families/bad.csvfamily.xml", "<CsvFamily")), 0u);
    EXPECT_EQ(EstimateMemberCount(folder.Write("families/lone.csvfamily.xml", "<CsvFamily/>")), 0u);
}

TEST(FamilyFiles, ReadFamilyPicksTheReaderByName) {
    LibraryFolder folder;
    const LibrarySource& library = folder.Library();
    FamilySource family;
    SourceError error;
    const auto csv = folder.Write(
        "families/a.csvfamily.xml",
        CsvDescriptionXml("<Name Lang='en'>A</Name><Category Ref='@10'/><Column Name='h'/>"));
    folder.Write("families/a.csv", "h\n1\n");
    ASSERT_TRUE(ReadFamily(csv, library, family, error)) << error.ToString();
    EXPECT_EQ(family.members.size(), 1u);

    const auto other = folder.Write("families/a.xml", "<Family/>");
    EXPECT_FALSE(ReadFamily(other, library, family, error));
    EXPECT_EQ(error.ToString(), other.string() + ": is neither a CSV family nor a family document");
    EXPECT_FALSE(ReadFamily(folder.path() / "families/gone.family.xml", library, family, error));
    EXPECT_EQ(error.what, "cannot be read");
}

TEST(FamilyFiles, TheBundledSampleLibrariesRead) {
    const fs::path data = fs::path(__FILE__).parent_path() / "../../../data";
    std::size_t libraries = 0, families = 0;
    for (const auto& entry : fs::directory_iterator(data)) {
        if (!fs::exists(entry.path() / "library.xml"))
            continue;
        ++libraries;
        LibrarySource library;
        SourceError error;
        ASSERT_TRUE(ReadLibraryDescription(entry.path(), library, error)) << error.ToString();
        const LibraryIndex index(library);
        for (const fs::path& file : ListFamilyFiles(entry.path())) {
            FamilySource family;
            ASSERT_TRUE(ReadFamily(file, index, family, error)) << error.ToString();
            EXPECT_EQ(family.members.size(), EstimateMemberCount(file)) << file;
            ++families;
        }
    }
    EXPECT_GT(libraries, 0u);
    EXPECT_GT(families, libraries);
}

}  // namespace
}  // namespace VardelSourceTest
