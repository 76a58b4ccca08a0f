// The one statement of a parametric search over a library's families or
// members. A SearchRequest says which conditions must hold (all of them) and
// which parameter values each hit brings back; PrepareSearch composes a
// single statement from fixed fragments, binds every value, and leaves it
// ready to step through the hits in family order, then member order.
//
// Comparisons: a member value compares as a number when it has one and the
// condition's value is a number, else as text; texts compare by their bytes
// (SQLite's default collation; a PostgreSQL engine must give the text
// columns the "C" collation). LIKE knows `%` and `_` only (a backslash is a
// plain character) and ignores ASCII case. A member without a value for a
// constrained parameter matches no condition on it, not even NotEqual.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "store/database.h"

namespace VardelCatalog {

enum class SearchComparison { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual, Like };

/// The number `text` spells as a whole in the C locale, the rule by which a
/// member value holds a number beside its text; none for any other text and
/// for infinities and NaN.
std::optional<double> NumberOfText(const std::wstring& text);

/// One value a field compares with: its UTF-8 text and, when that text is a
/// number, the number.
struct SearchValue {
    std::string text;
    std::optional<double> number;
};

/// Holds when the field matches any of `values` (never empty); NotEqual
/// holds when it equals none of them. `tolerance` widens Equal and NotEqual
/// on numbers to |number - value| <= tolerance.
struct SearchCondition {
    SearchComparison comparison = SearchComparison::Equal;
    std::vector<SearchValue> values;
    std::optional<double> tolerance;
};

/// A condition on the member's value of a parameter, named by its GUID text
/// (lower-case, no braces). A parameter the library lacks matches nothing.
struct ValueCondition {
    std::string parameter;
    SearchCondition condition;
};

/// The family lies in one of `categories` (GUID texts), or with `exclude`
/// in none of them.
struct CategoryCondition {
    std::vector<std::string> categories;
    bool exclude = false;
};

struct SearchRequest {
    std::int64_t libraryId = 0;
    /// One hit per member; otherwise one per family.
    bool members = false;
    /// Category conditions also take the families of sub-categories.
    bool recursive = false;
    std::vector<CategoryCondition> categories;
    /// Conditions on the family GUID text (compared as text only).
    std::vector<SearchCondition> familyIds;
    /// Conditions on member values; member requests only.
    std::vector<ValueCondition> values;
    /// Parameters (GUID texts, each once) whose value each member hit
    /// returns; member requests only.
    std::vector<std::string> returnParameters;
};

/// The largest request one statement carries on every engine (SQLite joins
/// at most 64 tables, nests expressions at most 1000 deep and unites at most
/// 500 selects): value conditions, distinct return parameters, and values of
/// value and family-id conditions in all.
inline constexpr std::size_t kMaxValueConditions = 16;
inline constexpr std::size_t kMaxReturnParameters = 40;
inline constexpr std::size_t kMaxConditionValues = 200;

/// Columns of a hit: the family GUID text; for members also the row id and
/// then the value text of each return parameter (NULL when the member has
/// none).
inline constexpr int kFamilyIdColumn = 0;
inline constexpr int kRowIdColumn = 1;
inline constexpr int kFirstReturnColumn = 2;

/// The bound statement of `request`; null when it can match nothing (a
/// value condition on a parameter the library lacks).
std::unique_ptr<Statement> PrepareSearch(Database& database, const SearchRequest& request);

}  // namespace VardelCatalog
