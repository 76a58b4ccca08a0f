// Text and JSON printing. Column widths count code points, not bytes, so
// names with accents line up.
#include "output.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "common/utf8.h"

namespace VardelTool {
namespace {

std::size_t DisplayWidth(std::string_view text) {
    // Continuation bytes (10xxxxxx) do not start a code point.
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0U) != 0x80U;
    }));
}

std::string Escaped(unsigned char c) {
    switch (c) {
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        default: {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\x%02X", static_cast<unsigned>(c));
            return buffer;
        }
    }
}

}  // namespace

std::string Utf8(std::wstring_view text) {
    return VardelCommon::ToUtf8(text);
}

std::wstring Wide(std::string_view text) {
    return VardelCommon::FromUtf8(text);
}

Json TextList(const std::vector<std::wstring>& texts) {
    Json list = Json::array();
    for (const std::wstring& text : texts) {
        list.push_back(Utf8(text));
    }
    return list;
}

std::string Printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20U || byte == 0x7FU) {
            out += Escaped(byte);
        } else {
            out += c;
        }
    }
    return out;
}

void TextTable::AddRow(std::vector<std::string> cells) {
    for (std::string& cell : cells) {
        cell = Printable(cell);
    }
    rows_.push_back(std::move(cells));
}

void TextTable::Print(std::ostream& out, std::size_t indent) const {
    std::vector<std::size_t> widths;
    for (const auto& row : rows_) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], DisplayWidth(row[i]));
        }
    }
    for (const auto& row : rows_) {
        std::string line(indent, ' ');
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) {
                line.append(widths[i] - DisplayWidth(row[i]) + 2, ' ');
            }
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    }
}

void PrintJson(const Json& document) {
    std::cout << document.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

int Report(const Failure& failure) {
    std::cout.flush();
    std::cerr << "vardel: " << Printable(failure.message) << '\n';
    return failure.exitCode;
}

int Finish(const Status& status) {
    return status ? Report(*status) : kExitOk;
}

}  // namespace VardelTool
