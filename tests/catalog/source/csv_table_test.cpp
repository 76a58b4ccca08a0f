// The CSV layer: RFC 4180 quoting, blank lines, line ends, the line each
// record starts on, and the faults that stop a table.
#include <gtest/gtest.h>

#include "source/csv_table.h"

namespace VardelCatalog {
namespace {

using Fields = std::vector<std::wstring>;

CsvTable Parsed(std::string_view bytes) {
    CsvTable table;
    CsvError error;
    EXPECT_TRUE(ParseCsv(bytes, table, error)) << error.line << ": " << error.what;
    return table;
}

TEST(CsvTable, QuotedFieldsHoldCommasQuotesAndLineBreaks) {
    const CsvTable table = Parsed(
        "a,b,c\n"
        "\"x, y\",\"say \"\"hi\"\"\",\"two\nlines\"\n"
        "\"\",\" padded \",3\n"
        "plain , , \n");
    EXPECT_EQ(table.header.fields, (Fields{L"a", L"b", L"c"}));
    EXPECT_EQ(table.header.line, 1);
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.rows[0].fields, (Fields{L"x, y", L"say \"hi\"", L"two\nlines"}));
    EXPECT_EQ(table.rows[0].line, 2);
    EXPECT_EQ(table.rows[1].fields, (Fields{L"", L" padded ", L"3"}));
    EXPECT_EQ(table.rows[1].line, 4);
    // Blanks of unquoted fields are data too.
    EXPECT_EQ(table.rows[2].fields, (Fields{L"plain ", L" ", L" "}));
    EXPECT_EQ(table.rows[2].line, 5);
}

TEST(CsvTable, BlankLinesAreSkippedAndEveryLineEndCounts) {
    const CsvTable table =
        Parsed("\xEF\xBB\xBF\n \t\nsize,d\r\n\r\nM8,8\r\rM10,10\n\n\"M\n\n12\",12");
    EXPECT_EQ(table.header.line, 3);
    EXPECT_EQ(table.header.fields, (Fields{L"size", L"d"}));
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.rows[0].line, 5);
    EXPECT_EQ(table.rows[1].line, 7);
    EXPECT_EQ(table.rows[1].fields, (Fields{L"M10", L"10"}));
    // A blank line inside a quoted field is part of it; the last record has no line end.
    EXPECT_EQ(table.rows[2].line, 9);
    EXPECT_EQ(table.rows[2].fields, (Fields{L"M\n\n12", L"12"}));
}

TEST(CsvTable, DecodesUtf8) {
    const CsvTable table = Parsed(
        "Gr\xC3\xB6\xC3\x9F"
        "e,\xF0\x9F\x94\xA9\n\xE2\x82\xAC,x\n");
    EXPECT_EQ(table.header.fields, (Fields{L"Gr\u00F6\u00DFe", L"\U0001F529"}));
    EXPECT_EQ(table.rows[0].fields[0], L"\u20AC");
}

TEST(CsvTable, FaultsNameTheirLine) {
    struct Case {
        std::string bytes;
        int line;
        std::string what;
    };
    const Case cases[] = {
        {"", 0, "no header line"},
        {"\n\n \n", 0, "no header line"},
        {"a,b\n1,2\n\n1,2,3\n", 4, "3 fields where the header has 2"},
        {"a,b\n1\n", 2, "1 fields where the header has 2"},
        {"a,b\n1,x\"y\n", 2, "a quote stands where RFC 4180 allows none"},
        {"a,b\n\"1\"x,2\n", 2, "a quote stands where RFC 4180 allows none"},
        {"a,b\n1,2\n\"open,\nstill open\n", 3, "a quoted field is not closed"},
        {"a,b\n1,\xFF\n", 2, "not valid UTF-8"},
        {"a,b\n1,\xC3\n", 2, "not valid UTF-8"},
        {"a,b\n1,\xED\xA0\x80\n", 2, "not valid UTF-8"},
    };
    for (const Case& c : cases) {
        CsvTable table;
        CsvError error;
        const bool ok = ParseCsv(c.bytes, table, error);
        EXPECT_EQ(ok, c.what.empty()) << c.bytes;
        EXPECT_EQ(error.line, c.line) << c.bytes;
        EXPECT_NE(error.what.find(c.what), std::string::npos) << c.bytes << "\n" << error.what;
    }
}

}  // namespace
}  // namespace VardelCatalog
