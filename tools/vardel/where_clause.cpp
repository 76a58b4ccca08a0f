// Parsing of --where texts.
#include "where_clause.h"

#include <algorithm>
#include <cctype>

namespace VardelTool {
namespace {

constexpr std::string_view kOperatorCharacters = "=!<>~";

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The position of " in " (any case) in `text`, or npos.
std::size_t FindInWord(const std::string& text) {
    return Lower(text).find(" in ");
}

Result<std::vector<std::string>> SplitList(const std::string& list, const std::string& clause) {
    std::vector<std::string> values;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        values.push_back(Trimmed(std::string_view(list).substr(start, comma - start)));
        if (values.back().empty()) {
            return UsageError("malformed --where " + Quoted(clause) + ": empty value in the list");
        }
        if (comma == std::string::npos) {
            return values;
        }
        start = comma + 1;
    }
}

// The operator text starting at `at` and its length in `text`.
Result<std::pair<std::string, std::size_t>> SymbolAt(const std::string& text, std::size_t at) {
    const std::string_view rest = std::string_view(text).substr(at);
    for (const std::string_view two : {"!=", "<=", ">="}) {
        if (rest.substr(0, 2) == two) {
            return std::pair{std::string(two), std::size_t{2}};
        }
    }
    switch (rest.front()) {
        case '=':
        case '<':
        case '>':
            return std::pair{std::string(1, rest.front()), std::size_t{1}};
        case '~':
            return std::pair{std::string("LIKE"), std::size_t{1}};
        default:
            return UsageError("malformed --where " + Quoted(text) + ": unknown operator " +
                              Quoted(std::string(rest.substr(0, 1))));
    }
}

Result<WhereClause> Finish(const std::string& text, std::string name, std::string op,
                           const std::string& value) {
    if (Trimmed(name).empty()) {
        return UsageError("malformed --where " + Quoted(text) + ": no parameter name");
    }
    WhereClause clause{Trimmed(name), std::move(op), {}};
    if (clause.op == "IN") {
        Result<std::vector<std::string>> values = SplitList(value, text);
        if (!values.ok()) {
            return values.failure();
        }
        clause.values = std::move(values.value());
    } else {
        clause.values.push_back(Trimmed(value));
    }
    if (clause.values.front().empty()) {
        return UsageError("malformed --where " + Quoted(text) + ": no value");
    }
    return clause;
}

}  // namespace

Result<WhereClause> ParseWhere(const std::string& text) {
    const std::size_t symbol = text.find_first_of(kOperatorCharacters);
    if (symbol != std::string::npos) {
        Result<std::pair<std::string, std::size_t>> op = SymbolAt(text, symbol);
        if (!op.ok()) {
            return op.failure();
        }
        return Finish(text, text.substr(0, symbol), op.value().first,
                      text.substr(symbol + op.value().second));
    }
    const std::size_t in = FindInWord(text);
    if (in != std::string::npos) {
        return Finish(text, text.substr(0, in), "IN", text.substr(in + 4));
    }
    return UsageError("malformed --where " + Quoted(text) +
                      ": expected NAME OP VALUE with OP one of = != < <= > >= ~ in");
}

}  // namespace VardelTool
