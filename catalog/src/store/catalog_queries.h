// How the catalogue server's queries reach the database: SQL text built
// together with the values bound to its placeholders (so a list of N values
// becomes `IN (?, ..., ?)` with N bound values, and no text of a caller ever
// becomes SQL), each distinct text prepared once per connection and reused,
// and rows read through a guard that resets the statement however the
// reading ends. GUID columns hold lower-case 8-4-4-4-12 text; the helpers
// here convert without going through wide strings.
//
// One thread at a time, like the Database it runs on.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "store/database.h"
#include "vardel/guid.h"

namespace VardelCatalog {

/// SQL text and the values of its placeholders, in order of appearance.
class QueryText {
  public:
    QueryText() = default;
    explicit QueryText(std::string_view sql) : sql_(sql) {}

    QueryText& Sql(std::string_view sql);
    /// Appends one placeholder bound to `value`.
    QueryText& Text(std::string_view value);
    QueryText& Wide(std::wstring_view value);
    QueryText& Int(std::int64_t value);
    QueryText& Id(const Vardel::Guid& value);
    /// Appends "(?, ?, ...)" bound to `values`; `values` must not be empty.
    QueryText& WideList(const std::vector<std::wstring>& values);

    const std::string& sql() const { return sql_; }
    /// How many placeholders have values.
    std::size_t bound() const { return values_.size(); }
    void BindTo(Statement& statement) const;

  private:
    std::string sql_;
    std::vector<std::variant<std::int64_t, std::string>> values_;
};

/// Prepared statements by their text, for the life of one connection.
class StatementCache {
  public:
    explicit StatementCache(Database& database) : database_(database) {}

    /// The statement for `sql`, prepared on its first use.
    Statement& Get(const std::string& sql);
    /// Drops every statement once more than `limit` texts were prepared;
    /// call only while no statement is being read.
    void Trim(std::size_t limit);

    Database& database() { return database_; }

  private:
    Database& database_;
    std::map<std::string, std::unique_ptr<Statement>, std::less<>> statements_;
};

/// The rows of one run of a query; resets the statement when it goes.
class QueryRows {
  public:
    QueryRows(StatementCache& cache, const QueryText& query);
    /// Runs `statement`, prepared from `query`'s text.
    QueryRows(Statement& statement, const QueryText& query);
    ~QueryRows() { statement_.Reset(); }
    QueryRows(const QueryRows&) = delete;
    QueryRows& operator=(const QueryRows&) = delete;

    bool Next() { return statement_.Step(); }
    const Statement& row() const { return statement_; }

  private:
    Statement& statement_;
};

/// `id` as its stored text.
std::string GuidText(const Vardel::Guid& id);
/// The GUID stored in `column`; the nil GUID for NULL. A text that is not a
/// GUID throws DatabaseError (the file is damaged).
Vardel::Guid ColumnGuid(const Statement& row, int column);
std::wstring ColumnWide(const Statement& row, int column);

/// Every GUID of the first column of `query`'s rows, in order.
std::vector<Vardel::Guid> QueryGuids(StatementCache& cache, const QueryText& query);

}  // namespace VardelCatalog
