// A CSV table as libcsv reads it (RFC 4180: fields holding commas, quotes or
// line breaks are quoted with ", a quote inside is doubled; strict, so a
// stray quote is an error). The first record is the header; blank lines are
// skipped; every record must have as many fields as the header. Fields are
// taken literally (blanks are kept) and decoded from UTF-8, which they must
// be. Each record knows the line it starts on, for messages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace VardelCatalog {

struct CsvRecord {
    int line = 0;  ///< 1-based line of the file where the record starts.
    std::vector<std::wstring> fields;
};

struct CsvTable {
    CsvRecord header;
    std::vector<CsvRecord> rows;
};

/// Why a table could not be read: the line (0 when it concerns the whole
/// table) and what is wrong.
struct CsvError {
    int line = 0;
    std::string what;
};

/// Reads `bytes` (a leading UTF-8 byte-order mark is dropped) into `table`;
/// false with `error` at the first fault.
bool ParseCsv(std::string_view bytes, CsvTable& table, CsvError& error);

}  // namespace VardelCatalog
