// The SQLite engine of the database seam. A created file is tuned for one
// bulk load by one writer (no journal on disk, no syncs: the importer syncs
// and renames the finished file itself); an opened file is read-only and
// checked to be a database before it is handed out. Error messages carry
// SQLite's own text and never a bound value.
#include "store/sqlite_database.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace VardelCatalog {
namespace {

[[noreturn]] void Fail(sqlite3* db, const std::string& what) {
    throw DatabaseError(what + ": " + (db != nullptr ? sqlite3_errmsg(db) : "out of memory"));
}

class SqliteStatement final : public Statement {
  public:
    SqliteStatement(sqlite3* db, sqlite3_stmt* statement) : db_(db), statement_(statement) {}
    ~SqliteStatement() override { sqlite3_finalize(statement_); }
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void BindInt(int index, std::int64_t value) override {
        Check(sqlite3_bind_int64(statement_, index, value), index);
    }
    void BindDouble(int index, double value) override {
        Check(sqlite3_bind_double(statement_, index, value), index);
    }
    void BindText(int index, std::string_view value) override {
        // An empty view may have no data pointer, which SQLite would bind as
        // NULL; an empty text must stay a text.
        const char* data = value.data() != nullptr ? value.data() : "";
        Check(sqlite3_bind_text64(statement_, index, data, value.size(), SQLITE_TRANSIENT,
                                  SQLITE_UTF8),
              index);
    }
    void BindNull(int index) override { Check(sqlite3_bind_null(statement_, index), index); }

    bool Step() override {
        const int result = sqlite3_step(statement_);
        if (result == SQLITE_ROW) {
            return true;
        }
        if (result == SQLITE_DONE) {
            return false;
        }
        Fail(db_, "cannot run statement");
    }
    void Reset() override {
        // sqlite3_reset repeats the error of the last step, already reported.
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }

    bool IsNull(int column) const override {
        return sqlite3_column_type(statement_, column) == SQLITE_NULL;
    }
    std::int64_t ColumnInt(int column) const override {
        return sqlite3_column_int64(statement_, column);
    }
    double ColumnDouble(int column) const override {
        return sqlite3_column_double(statement_, column);
    }
    std::string_view ColumnText(int column) const override {
        const auto* text = sqlite3_column_text(statement_, column);
        if (text == nullptr) {
            return {};
        }
        const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement_, column));
        return {reinterpret_cast<const char*>(text), size};
    }

  private:
    void Check(int result, int index) {
        if (result != SQLITE_OK) {
            Fail(db_, "cannot bind value " + std::to_string(index));
        }
    }

    sqlite3* db_;
    sqlite3_stmt* statement_;
};

class SqliteDatabase final : public Database {
  public:
    explicit SqliteDatabase(sqlite3* db) : db_(db) {}
    // close_v2 waits for statements that outlive the database.
    ~SqliteDatabase() override { sqlite3_close_v2(db_); }
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    std::unique_ptr<Statement> Prepare(std::string_view sql) override {
        sqlite3_stmt* statement = nullptr;
        const int result = sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()),
                                              SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
        if (result != SQLITE_OK) {
            Fail(db_, "cannot prepare \"" + std::string(sql) + "\"");
        }
        if (statement == nullptr) {
            throw DatabaseError("cannot prepare an empty statement");
        }
        return std::make_unique<SqliteStatement>(db_, statement);
    }

    void Execute(std::string_view sql) override {
        const std::string text(sql);
        if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            Fail(db_, "cannot run \"" + text + "\"");
        }
    }

    void Begin() override { Execute("BEGIN"); }
    void Commit() override { Execute("COMMIT"); }
    void Rollback() override {
        if (sqlite3_get_autocommit(db_) == 0) {
            Execute("ROLLBACK");
        }
    }

    // A count read through the engine: the first read of the file, which is
    // where SQLite finds out that a file is not a database.
    std::int64_t ReadCount(std::string_view sql) {
        auto statement = Prepare(sql);
        return statement->Step() ? statement->ColumnInt(0) : 0;
    }

  private:
    sqlite3* db_;
};

std::unique_ptr<SqliteDatabase> OpenFile(const std::filesystem::path& path, int flags) {
    sqlite3* db = nullptr;
    const int result = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    auto database = std::make_unique<SqliteDatabase>(db);
    if (result != SQLITE_OK) {
        Fail(db, "cannot open " + path.string());
    }
    sqlite3_extended_result_codes(db, 1);
    return database;
}

// Creates the file itself with O_EXCL, so an existing file is never reused,
// even one that appears between a check and the open.
void CreateEmptyFile(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        throw DatabaseError("cannot create " + path.string() + ": " + std::strerror(errno));
    }
    ::close(fd);
}

}  // namespace

std::unique_ptr<Database> CreateSqliteDatabase(const std::filesystem::path& path) {
    CreateEmptyFile(path);
    auto database = OpenFile(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX);
    // page_size takes effect only before the first table is created. The
    // rows are appended, so a small cache costs the load little; the index
    // builds at the end sort in runs of the cache's size, which helper
    // threads sort while the main one reads on (the readers of the import
    // are done by then, so their cores are free). 4 MiB measured best: 2 MiB
    // slowed the inserts, 8 MiB and more the sorts. ANALYZE samples the
    // indexes instead of reading them whole.
    database->Execute(
        "PRAGMA page_size = 8192; PRAGMA journal_mode = MEMORY; PRAGMA synchronous = OFF;"
        " PRAGMA locking_mode = EXCLUSIVE; PRAGMA cache_size = -4096;"
        " PRAGMA analysis_limit = 1000; PRAGMA threads = 4");
    return database;
}

std::unique_ptr<Database> OpenSqliteDatabase(const std::filesystem::path& path) {
    auto database = OpenFile(path, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX);
    try {
        database->ReadCount("SELECT count(*) FROM sqlite_master");
    } catch (const DatabaseError& error) {
        throw DatabaseError(path.string() + " is not a catalogue database (" + error.what() + ")");
    }
    // SQLite takes an empty file for an empty database; a catalogue is never empty.
    if (database->ReadCount("PRAGMA page_count") == 0) {
        throw DatabaseError(path.string() + " is empty, not a catalogue database");
    }
    return database;
}

}  // namespace VardelCatalog
