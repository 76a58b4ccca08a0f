// The tool's one output layer. Data goes to standard output, either as text
// (aligned tables, indented trees) or, with --json, as one JSON document;
// messages go to standard error as one line "vardel: ...". Texts are UTF-8;
// control characters of catalogue or user texts are shown escaped so that
// no name can break a table line or drive the terminal.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "tool_result.h"

namespace VardelTool {

/// Key order as inserted, so documents read in the order commands build them.
using Json = nlohmann::ordered_json;

/// The UTF-8 form of a text of the library.
std::string Utf8(std::wstring_view text);
/// The library's form of a UTF-8 text of the command line.
std::wstring Wide(std::string_view text);

/// A JSON array of the UTF-8 forms of `texts`.
Json TextList(const std::vector<std::wstring>& texts);

/// `text` with every control character written as \n, \t or \xHH.
std::string Printable(std::string_view text);

/// Rows of cells printed in columns as wide as their widest cell, two
/// spaces apart; the last column is not padded.
class TextTable {
  public:
    void AddRow(std::vector<std::string> cells);
    bool empty() const { return rows_.empty(); }
    /// Prints each row on its own line, after `indent` spaces.
    void Print(std::ostream& out, std::size_t indent = 0) const;

  private:
    std::vector<std::vector<std::string>> rows_;
};

/// Prints `document` on standard output, indented by two.
void PrintJson(const Json& document);

/// Prints "vardel: <message>" on standard error; returns its exit code.
int Report(const Failure& failure);
/// The exit code of a command that ended with `status`, reported.
int Finish(const Status& status);

}  // namespace VardelTool
