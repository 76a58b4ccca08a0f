// A member search is driven by the most selective value condition an index
// can answer: its hits come from a derived table whose arms each seek one of
// the member_value indexes, and CROSS JOIN keeps that table the outer loop
// (SQLite never reorders across it; PostgreSQL reads it as a plain join and
// plans from its statistics). The other value conditions join through the
// (member_id, parameter_id) key, the returned values through LEFT JOINs on
// the same key, and family conditions test the family row reached by its id.
#include "store/search_statement.h"

#include <cmath>
#include <string_view>

#include "common/text.h"
#include "store/search_sql.h"

namespace VardelCatalog {
namespace {

// A parameter as the statement needs it: its id in the library, whether
// any value of it lacks a number (only then can a numeric condition on it
// match a stored text) and whether any has one (only then can a text
// condition on it match a number's text).
struct ParameterInfo {
    std::int64_t id = 0;
    bool hasTexts = false;
    bool hasNumbers = false;
};

struct Parameters {
    std::vector<ParameterInfo> values;                  // one per value condition
    std::vector<std::optional<ParameterInfo>> returns;  // one per return parameter
};

std::optional<ParameterInfo> FindParameter(Statement& lookup, std::int64_t libraryId,
                                           const std::string& guid) {
    lookup.Reset();
    lookup.BindInt(1, libraryId);
    lookup.BindText(2, guid);
    if (!lookup.Step()) {
        return std::nullopt;
    }
    return ParameterInfo{lookup.ColumnInt(0), lookup.ColumnInt(1) != 0, lookup.ColumnInt(2) != 0};
}

// Nothing when a value condition names a parameter the library lacks.
std::optional<Parameters> ResolveParameters(Database& database, const SearchRequest& request) {
    Parameters parameters;
    if (request.values.empty() && request.returnParameters.empty()) {
        return parameters;
    }
    const std::unique_ptr<Statement> lookup = database.Prepare(
        "SELECT p.id, CASE WHEN EXISTS (SELECT 1 FROM member_value v"
        " WHERE v.parameter_id = p.id AND v.number_value IS NULL) THEN 1 ELSE 0 END,"
        " CASE WHEN EXISTS (SELECT 1 FROM member_value v"
        " WHERE v.parameter_id = p.id AND v.number_value IS NOT NULL) THEN 1 ELSE 0 END"
        " FROM parameter p WHERE p.library_id = ? AND p.guid = ?");
    for (const ValueCondition& value : request.values) {
        const std::optional<ParameterInfo> found =
            FindParameter(*lookup, request.libraryId, value.parameter);
        if (!found) {
            return std::nullopt;
        }
        parameters.values.push_back(*found);
    }
    for (const std::string& parameter : request.returnParameters) {
        parameters.returns.push_back(FindParameter(*lookup, request.libraryId, parameter));
    }
    return parameters;
}

// Lower is more selective. NotEqual never drives: it reads nearly every value.
std::optional<int> DriverRank(const SearchCondition& condition) {
    switch (condition.comparison) {
        case SearchComparison::Equal:
            return condition.tolerance ? 1 : 0;
        case SearchComparison::Less:
        case SearchComparison::LessOrEqual:
        case SearchComparison::Greater:
        case SearchComparison::GreaterOrEqual:
            return 2;
        case SearchComparison::Like:
            return 3;
        case SearchComparison::NotEqual:
            break;
    }
    return std::nullopt;
}

std::optional<std::size_t> ChooseDriver(const std::vector<ValueCondition>& values) {
    std::optional<std::size_t> driver;
    std::optional<int> best;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::optional<int> rank = DriverRank(values[i].condition);
        if (rank && (!best || *rank < *best)) {
            driver = i;
            best = rank;
        }
    }
    return driver;
}

std::string_view OperatorText(SearchComparison comparison) {
    switch (comparison) {
        case SearchComparison::Equal:
            return "=";
        case SearchComparison::NotEqual:
            return "<>";
        case SearchComparison::Less:
            return "<";
        case SearchComparison::LessOrEqual:
            return "<=";
        case SearchComparison::Greater:
            return ">";
        case SearchComparison::GreaterOrEqual:
            return ">=";
        case SearchComparison::Like:
            break;
    }
    return "LIKE";
}

// Both engines are told that backslash escapes, and every backslash of the
// value is doubled, so only % and _ are special whatever the engine's default
// (PostgreSQL reads '\' as one backslash with standard_conforming_strings,
// its default).
std::string LikePattern(const std::string& text) {
    std::string pattern;
    pattern.reserve(text.size());
    for (char c : text) {
        if (c == '\\') {
            pattern += '\\';
        }
        pattern += c;
    }
    return pattern;
}

void AppendTextMatch(BoundSql& sql, std::string_view column, SearchComparison comparison,
                     const std::string& text) {
    if (comparison == SearchComparison::Like) {
        sql << "LOWER(" << column << ") LIKE LOWER(";
        sql.BindText(LikePattern(text)) << ") ESCAPE '\\'";
        return;
    }
    sql << column << " " << OperatorText(comparison) << " ";
    sql.BindText(text);
}

// A tolerance is written as a range so that the number index answers it.
void AppendNumberMatch(BoundSql& sql, std::string_view column, const SearchCondition& condition,
                       SearchComparison comparison, double number) {
    sql << column;
    if (condition.tolerance && comparison == SearchComparison::Equal) {
        sql << " BETWEEN ";
        sql.BindDouble(number - *condition.tolerance) << " AND ";
        sql.BindDouble(number + *condition.tolerance);
        return;
    }
    sql << " " << OperatorText(comparison) << " ";
    sql.BindDouble(number);
}

bool ComparesNumbers(SearchComparison comparison, const SearchValue& value) {
    return comparison != SearchComparison::Like && value.number.has_value();
}

// The columns a condition reads; `number` is empty for a text-only field.
struct Field {
    std::string text;
    std::string number;
};

void AppendValueMatch(BoundSql& sql, const Field& field, const SearchCondition& condition,
                      SearchComparison comparison, const SearchValue& value) {
    if (field.number.empty() || !ComparesNumbers(comparison, value)) {
        AppendTextMatch(sql, field.text, comparison, value.text);
        return;
    }
    sql << "(CASE WHEN " << field.number << " IS NULL THEN ";
    AppendTextMatch(sql, field.text, comparison, value.text);
    sql << " ELSE ";
    AppendNumberMatch(sql, field.number, condition, comparison, *value.number);
    sql << " END)";
}

void AppendCondition(BoundSql& sql, const Field& field, const SearchCondition& condition) {
    const bool negate = condition.comparison == SearchComparison::NotEqual;
    const SearchComparison comparison = negate ? SearchComparison::Equal : condition.comparison;
    sql << (negate ? "NOT (" : "(");
    std::string_view separator;
    for (const SearchValue& value : condition.values) {
        sql << separator;
        separator = " OR ";
        AppendValueMatch(sql, field, condition, comparison, value);
    }
    sql << ")";
}

void AppendArmStart(BoundSql& sql, std::int64_t parameter) {
    sql << "SELECT member_id FROM member_value WHERE parameter_id = ";
    sql.BindInt(parameter) << " AND ";
}

// The members matching the driving condition, as the derived table d. The
// number and text arms of one value exclude each other; several values may
// match one member twice, so then UNION drops the repeats. A number needs a
// text arm only when the parameter has values without a number, and never
// for an equality: a stored text equal to the value would spell the number
// and so have it. For the same reason a text that is no number equals no
// stored number's text, and a parameter without numbers has none: those
// text arms read only the texts without a number, which the text index
// holds.
void AppendDriver(BoundSql& sql, const SearchCondition& condition, const ParameterInfo& parameter) {
    const std::string_view separator = condition.values.size() > 1 ? " UNION " : " UNION ALL ";
    const bool textArms = parameter.hasTexts && condition.comparison != SearchComparison::Equal;
    sql << "(";
    std::string_view before;
    for (const SearchValue& value : condition.values) {
        sql << before;
        before = separator;
        AppendArmStart(sql, parameter.id);
        if (!ComparesNumbers(condition.comparison, value)) {
            if (condition.comparison == SearchComparison::Equal || !parameter.hasNumbers) {
                sql << "number_value IS NULL AND ";
            }
            AppendTextMatch(sql, "text_value", condition.comparison, value.text);
            continue;
        }
        AppendNumberMatch(sql, "number_value", condition, condition.comparison, *value.number);
        if (textArms) {
            sql << separator;
            AppendArmStart(sql, parameter.id);
            sql << "number_value IS NULL AND ";
            AppendTextMatch(sql, "text_value", condition.comparison, value.text);
        }
    }
    sql << ") d";
}

std::string Alias(char table, std::size_t index) {
    return table + std::to_string(index);
}

void AppendCategoryCondition(BoundSql& sql, const SearchRequest& request,
                             const CategoryCondition& condition) {
    sql << (condition.exclude ? " AND f.id NOT IN (" : " AND f.id IN (")
        << "SELECT fc.family_id FROM category s";
    if (request.recursive) {
        sql << " JOIN category c ON c.library_id = s.library_id"
               " AND c.position BETWEEN s.position AND s.last_position"
               " JOIN family_category fc ON fc.category_id = c.id";
    } else {
        sql << " JOIN family_category fc ON fc.category_id = s.id";
    }
    sql << " WHERE s.library_id = ";
    sql.BindInt(request.libraryId) << " AND s.guid IN (";
    std::string_view separator;
    for (const std::string& category : condition.categories) {
        sql << separator;
        separator = ", ";
        sql.BindText(category);
    }
    sql << "))";
}

class SearchComposer {
  public:
    SearchComposer(const SearchRequest& request, const Parameters& parameters)
        : request_(request), parameters_(parameters), driver_(ChooseDriver(request.values)) {}

    BoundSql Compose() {
        AppendSelect();
        AppendFrom();
        AppendWhere();
        sql_ << (request_.members ? " ORDER BY f.position, m.position" : " ORDER BY f.position");
        return std::move(sql_);
    }

  private:
    bool IsFilter(std::size_t value) const { return !driver_ || *driver_ != value; }

    // The filter joined on the parameter of return `index`: its row holds the
    // value, so the return needs no join of its own.
    std::optional<std::size_t> FilterFor(std::size_t index) const {
        for (std::size_t i = 0; i < request_.values.size(); ++i) {
            if (IsFilter(i) && parameters_.values[i].id == parameters_.returns[index]->id) {
                return i;
            }
        }
        return std::nullopt;
    }

    std::string ReturnColumn(std::size_t index) const {
        if (!parameters_.returns[index]) {
            return "NULL";
        }
        const std::optional<std::size_t> filter = FilterFor(index);
        return (filter ? Alias('c', *filter) : Alias('r', index)) + ".text_value";
    }

    void AppendSelect() {
        sql_ << "SELECT f.guid";
        if (!request_.members) {
            return;
        }
        sql_ << ", m.row_id";
        for (std::size_t i = 0; i < parameters_.returns.size(); ++i) {
            sql_ << ", " << ReturnColumn(i);
        }
    }

    void AppendFrom() {
        sql_ << " FROM ";
        if (driver_) {
            AppendDriver(sql_, request_.values[*driver_].condition, parameters_.values[*driver_]);
            sql_ << " CROSS JOIN member m CROSS JOIN family f";
        } else {
            sql_ << (request_.members ? "family f CROSS JOIN member m" : "family f");
        }
        for (std::size_t i = 0; i < request_.values.size(); ++i) {
            if (IsFilter(i)) {
                sql_ << " CROSS JOIN member_value " << Alias('c', i);
            }
        }
        for (std::size_t i = 0; i < parameters_.returns.size(); ++i) {
            if (parameters_.returns[i] && !FilterFor(i)) {
                const std::string alias = Alias('r', i);
                sql_ << " LEFT JOIN member_value " << alias << " ON " << alias
                     << ".member_id = m.id AND " << alias << ".parameter_id = ";
                sql_.BindInt(parameters_.returns[i]->id);
            }
        }
    }

    void AppendWhere() {
        sql_ << " WHERE f.library_id = ";
        sql_.BindInt(request_.libraryId);
        if (driver_) {
            sql_ << " AND m.id = d.member_id AND f.id = m.family_id";
        } else if (request_.members) {
            sql_ << " AND m.family_id = f.id";
        }
        for (std::size_t i = 0; i < request_.values.size(); ++i) {
            if (IsFilter(i)) {
                AppendValueFilter(i);
            }
        }
        for (const CategoryCondition& category : request_.categories) {
            AppendCategoryCondition(sql_, request_, category);
        }
        for (const SearchCondition& condition : request_.familyIds) {
            sql_ << " AND ";
            AppendCondition(sql_, {"f.guid", ""}, condition);
        }
    }

    void AppendValueFilter(std::size_t index) {
        const std::string alias = Alias('c', index);
        sql_ << " AND " << alias << ".member_id = m.id AND " << alias << ".parameter_id = ";
        sql_.BindInt(parameters_.values[index].id) << " AND ";
        AppendCondition(sql_, {alias + ".text_value", alias + ".number_value"},
                        request_.values[index].condition);
    }

    const SearchRequest& request_;
    const Parameters& parameters_;
    const std::optional<std::size_t> driver_;
    BoundSql sql_;
};

}  // namespace

std::optional<double> NumberOfText(const std::wstring& text) {
    std::size_t consumed = 0;
    const double number = VardelCommon::ParseLeadingNumber(text.c_str(), &consumed);
    if (consumed == 0 || consumed != text.size() || !std::isfinite(number)) {
        return std::nullopt;
    }
    return number;
}

std::unique_ptr<Statement> PrepareSearch(Database& database, const SearchRequest& request) {
    const std::optional<Parameters> parameters = ResolveParameters(database, request);
    if (!parameters) {
        return nullptr;
    }
    return SearchComposer(request, *parameters).Compose().Prepare(database);
}

}  // namespace VardelCatalog
