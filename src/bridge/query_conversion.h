// Conversion of a host's search query (Vardel::CSearchQueryData) into the
// server's ContentQuery. Pure: reads the query, builds new proxy objects and
// keeps nothing. Attribute keys are looked up exactly, pair names without
// regard to case.
//
// Returns come first and may already add constraints: every "Value" alias of
// a property return is paired with a constraint tagged "constraintTag1",
// "constraintTag2", ... (one counter per query) that references the returned
// value. The one failure is a "Tolerance" attribute that is not a finite
// decimal number (point as separator, independent of the process's locale).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "vardel/search_query.h"
#include "vardel/server_proxies.h"

namespace VardelBridge {

/// The operator of `text` (any case): "=" 0, "!=" 1, "LIKE" 2, "<" 3, "<=" 4,
/// ">" 5, ">=" 6, "IN" 7; anything else is "=".
TarnServerProxies::Content::QueryOperator GetManagedOperator(const std::wstring& text);

/// Appends the returns of `query` (null: nothing) and the constraints they imply.
void ConvertReturns(const Vardel::CSearchQueryData* query,
                    std::vector<TarnServerProxies::Content::QueryReturn>& returns,
                    std::vector<TarnServerProxies::Content::QueryConstraint>& constraints);

/// Appends the category and property constraints of `records` (null:
/// nothing). False when a tolerance is not a number; what came before stays.
bool ConvertConstraints(const std::vector<Vardel::CSearchData*>* records,
                        std::vector<TarnServerProxies::Content::QueryConstraint>& constraints);

/// The whole query in `language`; empty lists leave their fields unset, and a
/// null query gives an empty query. No value when a tolerance is not a number.
std::optional<TarnServerProxies::Content::ContentQuery> ConvertContentQuery(
    const Vardel::CSearchQueryData* query, const std::wstring& language);

}  // namespace VardelBridge
