// The catalogue's database seam: the few operations the store needs from an
// SQL engine (open, prepare, bind, step, transactions). The store (this
// folder) holds every SQL statement and the schema and talks only to these
// interfaces; SQLite implements them now (sqlite_database.h), and a shared
// multi-user catalogue on PostgreSQL will implement them next. So the SQL
// the store writes must run on both engines: no engine-specific syntax
// outside an engine's own files.
//
// Texts cross this seam as UTF-8. Placeholders are `?`, numbered from 1 in
// the order they appear. Engine failures (I/O, a corrupt file, a constraint
// violated) throw DatabaseError: they are rare, deep and fatal to the whole
// operation, and the two borders of the catalogue (the importer and the
// server) turn them into their own failure results.
//
// A Database and its statements are used by one thread at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace VardelCatalog {

class DatabaseError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// One prepared statement. Bind values, step through the rows, reset to run
/// it again with other values.
class Statement {
  public:
    virtual ~Statement() = default;

    virtual void BindInt(int index, std::int64_t value) = 0;
    virtual void BindDouble(int index, double value) = 0;
    /// The text is copied; `value` need not outlive the call.
    virtual void BindText(int index, std::string_view value) = 0;
    virtual void BindNull(int index) = 0;

    /// Advances to the next row: true when one is ready, false when done.
    virtual bool Step() = 0;
    /// Ready to run again; bound values are cleared.
    virtual void Reset() = 0;

    /// Column values of the current row, numbered from 0.
    virtual bool IsNull(int column) const = 0;
    virtual std::int64_t ColumnInt(int column) const = 0;
    virtual double ColumnDouble(int column) const = 0;
    /// Valid until the next Step or Reset.
    virtual std::string_view ColumnText(int column) const = 0;
};

class Database {
  public:
    virtual ~Database() = default;

    /// Compiles `sql` once for many runs.
    virtual std::unique_ptr<Statement> Prepare(std::string_view sql) = 0;
    /// Runs statements that take no values and return no rows (schema, indexes).
    virtual void Execute(std::string_view sql) = 0;

    virtual void Begin() = 0;
    virtual void Commit() = 0;
    /// Undoes the open transaction; does nothing when none is open.
    virtual void Rollback() = 0;
};

}  // namespace VardelCatalog
