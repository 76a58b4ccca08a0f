// Query texts with bound values, the statement cache, and the GUID texts of
// the catalogue's columns.
#include "store/catalog_queries.h"

#include <optional>

#include "common/utf8.h"

namespace VardelCatalog {
namespace {

constexpr std::size_t kGuidTextLength = 36;
constexpr char kHexDigits[] = "0123456789abcdef";

bool IsDashPosition(std::size_t i) {
    return i == 8 || i == 13 || i == 18 || i == 23;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::optional<Vardel::Guid> ParseGuidText(std::string_view text) {
    if (text.size() != kGuidTextLength) {
        return std::nullopt;
    }
    Vardel::Guid id;
    std::size_t byte = 0;
    for (std::size_t i = 0; i < kGuidTextLength; i += 2) {
        if (IsDashPosition(i)) {
            if (text[i] != '-') {
                return std::nullopt;
            }
            ++i;
        }
        const int high = HexValue(text[i]);
        const int low = HexValue(text[i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        id.bytes[byte++] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return id;
}

}  // namespace

QueryText& QueryText::Sql(std::string_view sql) {
    sql_ += sql;
    return *this;
}

QueryText& QueryText::Text(std::string_view value) {
    sql_ += '?';
    values_.emplace_back(std::string(value));
    return *this;
}

QueryText& QueryText::Wide(std::wstring_view value) {
    return Text(VardelCommon::ToUtf8(value));
}

QueryText& QueryText::Int(std::int64_t value) {
    sql_ += '?';
    values_.emplace_back(value);
    return *this;
}

QueryText& QueryText::Id(const Vardel::Guid& value) {
    return Text(GuidText(value));
}

QueryText& QueryText::WideList(const std::vector<std::wstring>& values) {
    sql_ += '(';
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            sql_ += ", ";
        }
        Wide(values[i]);
    }
    sql_ += ')';
    return *this;
}

void QueryText::BindTo(Statement& statement) const {
    int index = 0;
    for (const auto& value : values_) {
        ++index;
        if (const auto* number = std::get_if<std::int64_t>(&value)) {
            statement.BindInt(index, *number);
        } else {
            statement.BindText(index, std::get<std::string>(value));
        }
    }
}

Statement& StatementCache::Get(const std::string& sql) {
    auto found = statements_.find(sql);
    if (found == statements_.end()) {
        found = statements_.emplace(sql, database_.Prepare(sql)).first;
    }
    return *found->second;
}

void StatementCache::Trim(std::size_t limit) {
    if (statements_.size() > limit) {
        statements_.clear();
    }
}

QueryRows::QueryRows(StatementCache& cache, const QueryText& query)
    : QueryRows(cache.Get(query.sql()), query) {}

QueryRows::QueryRows(Statement& statement, const QueryText& query) : statement_(statement) {
    try {
        query.BindTo(statement_);
    } catch (...) {
        statement_.Reset();
        throw;
    }
}

std::string GuidText(const Vardel::Guid& id) {
    std::string text;
    text.reserve(kGuidTextLength);
    for (std::size_t byte = 0; byte < id.bytes.size(); ++byte) {
        if (byte == 4 || byte == 6 || byte == 8 || byte == 10) {
            text += '-';
        }
        text += kHexDigits[id.bytes[byte] >> 4];
        text += kHexDigits[id.bytes[byte] & 0x0f];
    }
    return text;
}

Vardel::Guid ColumnGuid(const Statement& row, int column) {
    if (row.IsNull(column)) {
        return {};
    }
    const auto id = ParseGuidText(row.ColumnText(column));
    if (!id) {
        throw DatabaseError("damaged catalogue: a stored identifier is not a GUID");
    }
    return *id;
}

std::wstring ColumnWide(const Statement& row, int column) {
    return VardelCommon::FromUtf8(row.ColumnText(column));
}

std::vector<Vardel::Guid> QueryGuids(StatementCache& cache, const QueryText& query) {
    std::vector<Vardel::Guid> ids;
    QueryRows rows(cache, query);
    while (rows.Next()) {
        ids.push_back(ColumnGuid(rows.row(), 0));
    }
    return ids;
}

}  // namespace VardelCatalog
