#include "source/csv_table.h"

#include <csv.h>

#include <climits>

#include "common/utf8.h"

namespace VardelCatalog {
namespace {

bool IsAscii(std::string_view bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// The length of the line at the start of `text`, its line break included
// (LF, CR LF or a lone CR).
std::size_t LineLength(std::string_view text) {
    const std::size_t end = text.find_first_of("\r\n");
    if (end == std::string_view::npos)
        return text.size();
    return text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
}

bool IsBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// Blanks at the ends of unquoted fields are data, not padding.
int NoSpace(unsigned char) {
    return 0;
}

// Feeds libcsv one line at a time, so each record is known to start on the
// line that was being fed when its first field began.
class CsvReader {
  public:
    CsvReader(CsvTable& table, CsvError& error) : table_(table), error_(error) {
        csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI);
        csv_set_space_func(&parser_, NoSpace);
    }
    ~CsvReader() { csv_free(&parser_); }
    CsvReader(const CsvReader&) = delete;
    CsvReader& operator=(const CsvReader&) = delete;

    bool Read(std::string_view bytes) {
        while (!bytes.empty() && !failed_) {
            const std::string_view line = bytes.substr(0, LineLength(bytes));
            bytes.remove_prefix(line.size());
            ++line_;
            if (recordLine_ == 0 && IsBlankLine(line))
                continue;
            if (recordLine_ == 0)
                recordLine_ = line_;
            if (csv_parse(&parser_, line.data(), line.size(), OnField, OnRecord, this) !=
                line.size()) {
                return Fail(line_, csv_error(&parser_) == CSV_EPARSE
                                       ? "a quote stands where RFC 4180 allows none"
                                       : "the table is too large");
            }
        }
        if (!failed_ && csv_fini(&parser_, OnField, OnRecord, this) != 0)
            return Fail(recordLine_, "a quoted field is not closed");
        if (!failed_ && table_.header.fields.empty())
            return Fail(0, "the table has no header line");
        return !failed_;
    }

  private:
    bool Fail(int line, std::string what) {
        if (!failed_)
            error_ = {line, std::move(what)};
        failed_ = true;
        return false;
    }

    static void OnField(void* data, std::size_t size, void* self) {
        static_cast<CsvReader*>(self)->AddField(
            std::string_view(static_cast<const char*>(data), data != nullptr ? size : 0));
    }

    static void OnRecord(int, void* self) { static_cast<CsvReader*>(self)->EndRecord(); }

    void AddField(std::string_view bytes) {
        std::wstring text = VardelCommon::FromUtf8(bytes);
        if (!IsAscii(bytes) && VardelCommon::ToUtf8(text) != bytes)
            Fail(recordLine_, "the line is not valid UTF-8");
        if (record_.fields.empty())
            record_.fields.reserve(table_.header.fields.size());
        record_.fields.push_back(std::move(text));
    }

    void EndRecord() {
        record_.line = recordLine_;
        recordLine_ = 0;
        if (table_.header.fields.empty()) {
            table_.header = std::move(record_);
        } else if (record_.fields.size() != table_.header.fields.size()) {
            Fail(record_.line, std::to_string(record_.fields.size()) +
                                   " fields where the header has " +
                                   std::to_string(table_.header.fields.size()));
        } else {
            table_.rows.push_back(std::move(record_));
        }
        record_ = CsvRecord();
    }

    csv_parser parser_{};
    CsvTable& table_;
    CsvError& error_;
    CsvRecord record_;
    int line_ = 0;
    int recordLine_ = 0;  // 0 between records
    bool failed_ = false;
};

}  // namespace

bool ParseCsv(std::string_view bytes, CsvTable& table, CsvError& error) {
    table = CsvTable();
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    // Line numbers are ints.
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        error = {0, "the table is too large"};
        return false;
    }
    return CsvReader(table, error).Read(bytes);
}

}  // namespace VardelCatalog
