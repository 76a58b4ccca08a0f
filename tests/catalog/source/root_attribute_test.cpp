// The quick look at a root attribute: what it settles alone, and every form
// it leaves to a real parser.
#include "source/root_attribute.h"

#include <gtest/gtest.h>

#include <string>

namespace VardelCatalog {
namespace {

TEST(RootAttribute, ReadsTheStartTagPastWhatMayPrecedeTheRoot) {
    const struct {
        std::string bytes;
        std::optional<std::string_view> value;
    } cases[] = {
        {"<CsvFamily Table=\"a.csv\">", "a.csv"},
        {"\xEF\xBB\xBF<?xml version='1.0'?>\n<!-- a > b -->\n<?pi x?> <CsvFamily\n"
         " Id='1'\tTable = 'sub/b c.csv' Kind=\"part\"/>",
         "sub/b c.csv"},
        {"<CsvFamily Id='1' XTable='x' TableName='y'></CsvFamily>", std::nullopt},
        {"<CsvFamily/>", std::nullopt},
        {"<CsvFamily Table=''>", ""},
        {"<CsvFamily Table='a>b.csv'>", "a>b.csv"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        const RootAttribute found = ScanRootAttribute(c.bytes, "Table");
        EXPECT_TRUE(found.decided);
        EXPECT_EQ(found.value, c.value);
    }
}

TEST(RootAttribute, LeavesEveryOtherFormToAParser) {
    for (const char* bytes : {
             "",
             "   ",
             "text<CsvFamily Table='a'/>",
             "<!DOCTYPE CsvFamily><CsvFamily Table='a'/>",
             "<!-- unclosed <CsvFamily Table='a'/>",
             "<?xml version='1.0'",
             "<CsvFamily Table='a&amp;b'/>",
             "<CsvFamily Table='a&#10;b'/>",
             "<CsvFamily Table='a\nb'/>",
             "<CsvFamily Table='a' Table='b'/>",
             "<CsvFamily Table='a'Id='b'/>",
             "<CsvFamily Table=a/>",
             "<CsvFamily Table 'a'/>",
             "<CsvFamily Table='a",
             "<CsvFamily Table='a'",
             "< CsvFamily/>",
         }) {
        SCOPED_TRACE(bytes);
        EXPECT_FALSE(ScanRootAttribute(bytes, "Table").decided);
    }
}

}  // namespace
}  // namespace VardelCatalog
