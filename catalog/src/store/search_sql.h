// SQL text composed together with the values its placeholders take. The text
// grows only from fixed fragments that the store writes; every value goes in
// through a placeholder, in the order the placeholders appear, so no value
// can change what the statement does.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "store/database.h"

namespace VardelCatalog {

class BoundSql {
  public:
    /// Appends fixed statement text (never a value).
    BoundSql& operator<<(std::string_view fragment);

    /// Each appends one placeholder and the value it takes.
    BoundSql& BindInt(std::int64_t value);
    BoundSql& BindDouble(double value);
    BoundSql& BindText(std::string value);

    const std::string& Text() const { return text_; }

    /// Prepares the text and binds every value.
    std::unique_ptr<Statement> Prepare(Database& database) const;

  private:
    std::string text_;
    std::vector<std::variant<std::int64_t, double, std::string>> values_;
};

}  // namespace VardelCatalog
