// Data classes of the content server's proxy interface. A backend (the
// embedded catalogue server, a network client, a test double) receives and
// returns these; the library builds them from contexts, filters and search
// queries and reads the answers back. Plain values: copyable, no behaviour.
//
// Fields that the server distinguishes as "not set" are optional; a set but
// empty text is not the same as an unset one.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "vardel/export.h"
#include "vardel/guid.h"

namespace TarnServerProxies {

using Guid = Vardel::Guid;

/// The one error type of the proxy interface: a backend throws it for every
/// failure, and only the library's server bridge catches it.
class VARDEL_API ProxyError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

namespace Security {

/// The caller's credentials, passed first to every service call.
class VARDEL_API SecurityContext {
  public:
    /// The access option; the library sends 1 for a non-zero host flag, else 0.
    enum class AccessOptionEnum : std::int32_t { Option0 = 0, Option1 = 1 };

    /// Keeps the seven values as given; the library gives them no meaning.
    SecurityContext(std::int64_t number, std::wstring text1, std::wstring text2, std::wstring text3,
                    std::wstring text4, std::wstring text5, AccessOptionEnum accessOption);

    /// The number given at construction.
    std::int64_t Number() const { return number_; }
    /// The five texts in constructor order; `index` is 1 to 5 (else an empty text).
    const std::wstring& Text(int index) const;
    /// The access option given at construction.
    AccessOptionEnum AccessOption() const { return accessOption_; }

    /// Equal when all seven values are equal.
    bool operator==(const SecurityContext& other) const = default;

  private:
    std::int64_t number_;
    std::wstring texts_[5];
    AccessOptionEnum accessOption_;
};

}  // namespace Security

namespace Content {

/// What a navigation request hides: four switches (parts, features,
/// invisible and empty categories) and the standards organisations,
/// manufacturers and category contents the server matches nodes against.
struct DBFilter {
    bool filterParts = false;
    bool filterFeatures = false;
    bool filterInvisibleCategories = false;
    bool filterEmptyCategories = false;
    std::vector<std::wstring> filterStandardOrgs;
    std::vector<std::wstring> filterManufacturers;
    std::vector<std::wstring> filterCategoriesContent;

    bool operator==(const DBFilter& other) const = default;
};

/// Comparison of a query constraint. Backends may define further values.
enum class QueryOperator : std::int32_t {
    Equal = 0,
    NotEqual = 1,
    Like = 2,
    Less = 3,
    LessOrEqual = 4,
    Greater = 5,
    GreaterOrEqual = 6,
    In = 7,
};

/// The field a constraint or return names: a property (or a built-in field
/// such as "ObjectID", "RowID", "Category", "Value"), the index of a
/// repeatable property and the key the property is known by.
struct Field {
    std::optional<std::wstring> property;
    std::optional<std::wstring> propertyIndex;
    std::optional<std::wstring> propertyAlias;

    bool operator==(const Field& other) const = default;
};

/// One condition of a search: the field compares with `value` or `values`,
/// or (with `valueReference`) with the value a return of the same query
/// brings back under that name. `tag` names the constraint for references.
struct QueryConstraint : Field {
    std::optional<std::wstring> tag;
    QueryOperator operator_ = QueryOperator::Equal;  // `operator` is reserved in C++
    std::optional<std::wstring> value;
    std::optional<std::vector<std::wstring>> values;
    std::optional<std::wstring> valueReference;
    std::optional<double> tolerance;

    bool operator==(const QueryConstraint& other) const = default;
};

/// One value a search returns per hit, under the name `returnAs`.
struct QueryReturn : Field {
    std::optional<std::wstring> returnAs;
    std::optional<std::wstring> referencedAs;

    bool operator==(const QueryReturn& other) const = default;
};

/// A parametric search; unset lists were empty on the caller's side. `lang`
/// is the language of returned texts.
struct ContentQuery {
    std::optional<std::vector<QueryConstraint>> constraintFields;
    std::optional<std::vector<QueryReturn>> returnFields;
    std::wstring lang;

    bool operator==(const ContentQuery& other) const = default;
};

}  // namespace Content

/// A library known to the server; a nil `LibraryGuid` means "not found".
struct KnowledgeLibrary {
    std::wstring Name;
    Guid LibraryGuid;

    bool operator==(const KnowledgeLibrary& other) const = default;
};

}  // namespace TarnServerProxies
