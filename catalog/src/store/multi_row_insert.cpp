// The statements of a multi-row INSERT, one per group size, made from the
// head and one "(?, ...)" per row.
#include "store/multi_row_insert.h"

namespace VardelCatalog {

MultiRowInsert::MultiRowInsert(Database& database, std::string_view head, int columns)
    : database_(database), head_(head), columns_(columns) {}

Statement& MultiRowInsert::For(std::size_t rows) {
    std::unique_ptr<Statement>& statement = statements_[rows];
    if (!statement) {
        std::string row = "(?";
        for (int column = 1; column < columns_; ++column) {
            row += ", ?";
        }
        row += ")";
        std::string sql = head_;
        for (std::size_t i = 0; i < rows; ++i) {
            sql += (i == 0 ? " " : ", ") + row;
        }
        statement = database_.Prepare(sql);
    }
    return *statement;
}

}  // namespace VardelCatalog
