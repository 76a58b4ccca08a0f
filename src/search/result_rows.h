// Reading a library's answer to a search. The answer is an XML text whose
// rows are the "row" elements under "results" (when the document element has
// a "results" child) or directly under the document element. A row names its
// family in the attribute "FamilyId" (rows without one are skipped) and holds
// the returned values as attributes named by the query's return names.
//
// Each row becomes a property map: every return name with the row's value
// for it (the attribute of that name or, failing that, the first attribute
// whose name begins with it; empty when neither exists), then every client
// return of the query under its own name, its expression with each return
// name replaced by the row's value for that name.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "vardel/search_query.h"
#include "vardel/xml_node_array.h"

namespace VardelSearch {

/// Return name or client return name -> value of one found row.
using RowProperties = std::map<std::wstring, std::wstring>;

/// The rows one library found, grouped by family.
struct LibraryRows {
    /// Family ids in the order of their first row.
    std::vector<std::wstring> families;
    /// Family id -> its rows in answer order.
    std::map<std::wstring, std::vector<RowProperties>> rows;
};

/// The names under which `query` expects returned values back: the "Value"
/// and "InternalName" pairs (any case) of its returns records, ascending.
std::set<std::wstring> ReturnNames(const Vardel::CSearchQueryData& query);

/// The row elements of the answer `xml`; empty when the text does not load.
/// The array keeps the answer's document alive.
XMLNodeArray SelectResultRows(const std::wstring& xml);

/// The rows of the answer `xml` read for `query`; empty when it does not load.
LibraryRows ReadResultRows(const std::wstring& xml, const Vardel::CSearchQueryData& query);

}  // namespace VardelSearch
