// Placeholders are numbered from 1 in the order they were appended.
#include "store/search_sql.h"

#include <type_traits>

namespace VardelCatalog {

BoundSql& BoundSql::operator<<(std::string_view fragment) {
    text_ += fragment;
    return *this;
}

BoundSql& BoundSql::BindInt(std::int64_t value) {
    text_ += '?';
    values_.emplace_back(value);
    return *this;
}

BoundSql& BoundSql::BindDouble(double value) {
    text_ += '?';
    values_.emplace_back(value);
    return *this;
}

BoundSql& BoundSql::BindText(std::string value) {
    text_ += '?';
    values_.emplace_back(std::move(value));
    return *this;
}

std::unique_ptr<Statement> BoundSql::Prepare(Database& database) const {
    std::unique_ptr<Statement> statement = database.Prepare(text_);
    int index = 0;
    for (const auto& value : values_) {
        ++index;
        std::visit(
            [&](const auto& v) {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, std::int64_t>) {
                    statement->BindInt(index, v);
                } else if constexpr (std::is_same_v<T, double>) {
                    statement->BindDouble(index, v);
                } else {
                    statement->BindText(index, v);
                }
            },
            value);
    }
    return statement;
}

}  // namespace VardelCatalog
