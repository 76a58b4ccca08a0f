// The SQLite engine: binding and stepping, texts that must arrive as they
// were bound, transactions, the read-only connection, and the files that
// are not databases.
#include "store/sqlite_database.h"

#include <gtest/gtest.h>

#include <fstream>

#include "catalog/support/catalog_builder.h"
#include "common/atomic_file.h"
#include "support/temp_folder.h"

namespace VardelCatalog {
namespace {

using VardelCatalogTest::QueryRows;

class SqliteDatabaseTest : public ::testing::Test {
  protected:
    std::filesystem::path File() const { return folder_.path() / "test.db"; }

    std::unique_ptr<Database> CreateWithTable() {
        auto database = CreateSqliteDatabase(File());
        database->Execute("CREATE TABLE t (k INTEGER PRIMARY KEY, d DOUBLE PRECISION, s TEXT)");
        return database;
    }

    static std::string ReadText(const std::filesystem::path& file) {
        std::string bytes;
        VardelCommon::ReadWholeFile(file, bytes);
        return bytes;
    }

    static void WriteText(const std::filesystem::path& file, const std::string& text) {
        std::ofstream(file, std::ios::binary) << text;
    }

    TempFolder folder_;
};

TEST_F(SqliteDatabaseTest, BindsStepsAndResetClearsBindings) {
    auto database = CreateWithTable();
    auto insert = database->Prepare("INSERT INTO t (k, d, s) VALUES (?, ?, ?)");
    insert->BindInt(1, 1);
    insert->BindDouble(2, 2.5);
    insert->BindText(3, "x");
    EXPECT_FALSE(insert->Step());
    insert->Reset();
    insert->BindInt(1, -9000000000);  // beyond 32 bits; d and s were cleared
    EXPECT_FALSE(insert->Step());
    insert->Reset();
    insert->BindInt(1, 3);
    insert->BindNull(2);
    insert->BindText(3, "");  // stays a text, not NULL
    insert->Step();
    EXPECT_EQ(QueryRows(*database, "SELECT k, d, s, s IS NULL FROM t ORDER BY k", 4),
              (std::vector<std::string>{"-9000000000|NULL|NULL|1", "1|2.5|x|0", "3|NULL||0"}));

    auto select = database->Prepare("SELECT k, d, s FROM t WHERE k = ?");
    select->BindInt(1, 1);
    ASSERT_TRUE(select->Step());
    EXPECT_EQ(select->ColumnInt(0), 1);
    EXPECT_EQ(select->ColumnDouble(1), 2.5);
    EXPECT_EQ(select->ColumnText(2), "x");
    EXPECT_FALSE(select->IsNull(2));
    EXPECT_FALSE(select->Step());
}

TEST_F(SqliteDatabaseTest, HostileTextsRoundTripAsBound) {
    const std::vector<std::string> texts = {
        "O'Brien",    "\"quoted\" and 'single'", "'); DROP TABLE t; --", "100% _match_",
        "Größe €, 𝄞", std::string(100000, 'x'),  "line\nbreak\ttab",     "?",
    };
    auto database = CreateWithTable();
    auto insert = database->Prepare("INSERT INTO t (k, s) VALUES (?, ?)");
    for (std::size_t i = 0; i < texts.size(); ++i) {
        insert->BindInt(1, static_cast<std::int64_t>(i));
        insert->BindText(2, std::string_view(texts[i]));
        insert->Step();
        insert->Reset();
    }
    auto select = database->Prepare("SELECT s FROM t WHERE s = ?");
    for (const std::string& text : texts) {
        select->BindText(1, text);
        ASSERT_TRUE(select->Step()) << text;
        EXPECT_EQ(select->ColumnText(0), text);
        select->Reset();
    }
    EXPECT_EQ(QueryRows(*database, "SELECT count(*) FROM t", 1),
              std::vector<std::string>{std::to_string(texts.size())});
}

TEST_F(SqliteDatabaseTest, FailuresThrowWithoutBoundValues) {
    auto database = CreateWithTable();
    EXPECT_THROW(database->Prepare("SELEKT nothing"), DatabaseError);
    EXPECT_THROW(database->Prepare(""), DatabaseError);
    EXPECT_THROW(database->Execute("INSERT INTO missing VALUES (1)"), DatabaseError);

    auto insert = database->Prepare("INSERT INTO t (k, s) VALUES (?, ?)");
    EXPECT_THROW(insert->BindInt(3, 1), DatabaseError);
    insert->BindInt(1, 7);
    insert->BindText(2, "secret-value");
    insert->Step();
    insert->Reset();
    insert->BindInt(1, 7);
    insert->BindText(2, "secret-value");
    try {
        insert->Step();
        FAIL() << "a duplicate key was accepted";
    } catch (const DatabaseError& error) {
        EXPECT_NE(std::string(error.what()).find("UNIQUE"), std::string::npos) << error.what();
        EXPECT_EQ(std::string(error.what()).find("secret-value"), std::string::npos);
    }
    insert->Reset();  // usable again after a failed step
    insert->BindInt(1, 8);
    EXPECT_FALSE(insert->Step());
}

TEST_F(SqliteDatabaseTest, RollbackUndoesAndIsHarmlessOutsideATransaction) {
    auto database = CreateWithTable();
    database->Rollback();
    database->Begin();
    database->Execute("INSERT INTO t (k) VALUES (1)");
    database->Rollback();
    EXPECT_EQ(QueryRows(*database, "SELECT count(*) FROM t", 1), std::vector<std::string>{"0"});
    database->Begin();
    database->Execute("INSERT INTO t (k) VALUES (2)");
    database->Commit();
    database->Rollback();
    EXPECT_EQ(QueryRows(*database, "SELECT k FROM t", 1), std::vector<std::string>{"2"});
}

TEST_F(SqliteDatabaseTest, CreateRefusesAnExistingFile) {
    WriteText(File(), "keep me");
    EXPECT_THROW(CreateSqliteDatabase(File()), DatabaseError);
    EXPECT_EQ(ReadText(File()), "keep me");
    EXPECT_THROW(CreateSqliteDatabase(folder_.path() / "no-folder" / "x.db"), DatabaseError);
}

TEST_F(SqliteDatabaseTest, ReadOnlyConnectionRefusesWritesButKeepsTemporaryTables) {
    CreateWithTable()->Execute("INSERT INTO t (k, s) VALUES (1, 'a')");
    auto database = OpenSqliteDatabase(File());
    EXPECT_EQ(QueryRows(*database, "SELECT k, s FROM t", 2), std::vector<std::string>{"1|a"});
    EXPECT_THROW(database->Execute("INSERT INTO t (k) VALUES (2)"), DatabaseError);
    EXPECT_THROW(database->Execute("CREATE TABLE u (x INTEGER)"), DatabaseError);

    database->Execute("CREATE TEMPORARY TABLE picked (k INTEGER)");
    database->Execute("INSERT INTO picked SELECT k FROM t");
    EXPECT_EQ(QueryRows(*database, "SELECT t.s FROM t JOIN picked ON picked.k = t.k", 1),
              std::vector<std::string>{"a"});
}

TEST_F(SqliteDatabaseTest, OpenRefusesWhatIsNoDatabase) {
    const std::filesystem::path empty = folder_.path() / "empty.db";
    const std::filesystem::path garbage = folder_.path() / "garbage.db";
    WriteText(empty, "");
    WriteText(garbage, std::string(4096, 'G'));
    for (const std::filesystem::path& file :
         {empty, garbage, folder_.path() / "missing.db", folder_.path()}) {
        try {
            OpenSqliteDatabase(file);
            ADD_FAILURE() << file << " was opened";
        } catch (const DatabaseError& error) {
            EXPECT_NE(std::string(error.what()).find(file.string()), std::string::npos)
                << error.what();
        }
    }
    EXPECT_EQ(ReadText(empty), "") << "opening must not write";
}

}  // namespace
}  // namespace VardelCatalog
