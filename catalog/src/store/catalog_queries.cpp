// Query texts with bound values, the statement cache, and the GUID texts of
// the catalogue's columns.
#include "store/catalog_queries.h"

#include <array>
#include <optional>

#include "common/utf8.h"

namespace VardelCatalog {
namespace {

constexpr std::size_t kGuidTextLength = 36;
constexpr char kHexDigits[] = "0123456789abcdef";
// Where each byte's two digits and each dash stand in the text.
constexpr std::array<std::size_t, 16> kByteOffsets = {0,  2,  4,  6,  9,  11, 14, 16,
                                                      19, 21, 24, 26, 28, 30, 32, 34};
constexpr std::array<std::size_t, 4> kDashOffsets = {8, 13, 18, 23};

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
    for (const std::size_t dash : kDashOffsets) {
        if (text[dash] != '-') {
            return std::nullopt;
        }
    }
    Vardel::Guid id;
    for (std::size_t i = 0; i < kByteOffsets.size(); ++i) {
        const int high = HexValue(text[kByteOffsets[i]]);
        const int low = HexValue(text[kByteOffsets[i] + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        id.bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
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
    std::string text(kGuidTextLength, '-');
    for (std::size_t i = 0; i < id.bytes.size(); ++i) {
        text[kByteOffsets[i]] = kHexDigits[id.bytes[i] >> 4];
        text[kByteOffsets[i] + 1] = kHexDigits[id.bytes[i] & 0x0f];
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
