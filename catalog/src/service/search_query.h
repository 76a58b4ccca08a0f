// A ContentQuery read into the request the store runs and the list of
// attributes each row of the answer carries. Constraints on "Category",
// "ObjectID" and "Value" (with propertyAlias = a parameter id) become
// conditions; one with neither value nor values constrains nothing (it only
// pairs a return with its parameter). Returns on "ObjectID", "RowID" and
// "Value" become attributes named by returnAs; one without returnAs is
// skipped. Hits are members when a value is constrained or a row id or
// member value is returned, families otherwise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "store/search_statement.h"
#include "vardel/server_proxies.h"

namespace VardelCatalog {

struct SearchReturn {
    enum class Kind { FamilyId, RowId, Value };
    Kind kind = Kind::FamilyId;
    std::string name;           ///< The attribute name, UTF-8.
    std::size_t parameter = 0;  ///< Value: index into SearchRequest::returnParameters.
};

struct SearchPlan {
    SearchRequest request;
    std::vector<SearchReturn> returns;
};

/// Throws TarnServerProxies::ProxyError for a field it does not know, an
/// operator a field does not take, a returnAs that is no XML name, is
/// "FamilyId" or is given twice, and a query larger than one statement
/// carries (kMaxValueConditions and its siblings).
SearchPlan ReadSearchQuery(const TarnServerProxies::Content::ContentQuery& query,
                           std::int64_t libraryId, bool recursive);

}  // namespace VardelCatalog
