// An INSERT that writes several rows of one table per run ("INSERT INTO t
// (a, b) VALUES (?, ?), (?, ?), ..."). A bulk load of small rows spends most
// of its time per statement run rather than per row, so the writer stores
// member rows and values in groups. One statement per group size is prepared
// on first use and kept; multi-row VALUES runs on SQLite and PostgreSQL.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "store/bind_values.h"

namespace VardelCatalog {

class MultiRowInsert {
  public:
    static constexpr std::size_t kMaxRows = 64;

    /// `head` is "INSERT INTO t (a, b) VALUES"; each row has `columns` values.
    MultiRowInsert(Database& database, std::string_view head, int columns);

    /// Writes `count` rows: `bindRow(statement, offset, i)` binds row i
    /// (0-based) after the first `offset` placeholders of `statement`.
    template <typename BindRow>
    void Insert(std::size_t count, BindRow bindRow) {
        for (std::size_t first = 0; first < count; first += kMaxRows) {
            const std::size_t rows = count - first < kMaxRows ? count - first : kMaxRows;
            Statement& statement = For(rows);
            for (std::size_t i = 0; i < rows; ++i) {
                bindRow(statement, static_cast<int>(i) * columns_, first + i);
            }
            RunAndReset(statement);
        }
    }

  private:
    Statement& For(std::size_t rows);

    Database& database_;
    std::string head_;
    int columns_;
    std::array<std::unique_ptr<Statement>, kMaxRows + 1> statements_;
};

}  // namespace VardelCatalog
