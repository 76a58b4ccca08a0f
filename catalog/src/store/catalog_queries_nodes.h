// The nodes of one property request as the temporary table requested_node
// (node_id: the node's row id; position: its place in the request, from 0),
// so that a request for N nodes is one join on row ids instead of N
// look-ups. A node the library does not hold gets no row; a node requested
// again keeps the row of its first place, and the caller copies its answers
// to the later places (Repeats). The rows are kept in row-id order, so the
// join reads the node tables forward, not in the order of the request.
//
// GUIDs become row ids through a map of each library's nodes of a kind,
// read on the first request for them and kept: the server's file is opened
// read-only, so the map never goes stale, and each request then costs one
// hash look-up per node instead of an index search on a GUID text.
//
// The table lives as long as the connection; it is filled inside the
// caller's transaction, several rows per INSERT, and left filled
// afterwards, because the next request usually names the same nodes (the
// merge asks for the revision of a list of families, then the host for
// their names): then it is not filled again. A caller whose transaction was
// rolled back calls Forget.
//
// Works on a read-only connection: temporary tables live outside the file.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "source/library_source.h"
#include "store/catalog_queries.h"
#include "store/multi_row_insert.h"

namespace VardelCatalog {

class NodeListTable {
  public:
    /// Creates the table; call outside any transaction.
    explicit NodeListTable(StatementCache& cache);

    /// Makes the table hold the row ids of those of `nodes` that `library`
    /// holds in `table` (category, family or parameter).
    void Fill(std::string_view table, std::int64_t library, const std::vector<Guid>& nodes);
    /// The table's content is unknown (its filling may have been undone).
    void Forget();
    /// For each place of the filled list that repeats a node of the table,
    /// the node's first place and that place.
    const std::vector<std::pair<std::size_t, std::size_t>>& Repeats() const { return repeats_; }

  private:
    using RowIds = std::unordered_map<Guid, std::int64_t, GuidHash>;
    // A node table's name and a library id.
    using Owner = std::pair<std::string, std::int64_t>;

    const RowIds& RowIdsOf(std::string_view table, std::int64_t library);

    StatementCache& cache_;
    MultiRowInsert insert_;
    std::map<Owner, RowIds> rowIds_;
    Owner heldOwner_;
    std::vector<Guid> held_;
    std::vector<std::pair<std::size_t, std::size_t>> repeats_;
    bool known_ = false;
};

}  // namespace VardelCatalog
