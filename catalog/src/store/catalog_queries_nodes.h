// The node ids of one property request as the temporary table
// requested_node (position: 0, 1, ... in request order; guid), so that a
// request for N nodes is one join instead of N look-ups. The table lives as
// long as the connection; it is filled inside the caller's transaction,
// several rows per INSERT, and left filled afterwards, because the next
// request usually names the same nodes (the merge asks for the revision of
// a list of families, then the host for their names): then it is not filled
// again. A caller whose transaction was rolled back calls Forget.
//
// Works on a read-only connection: temporary tables live outside the file.
#pragma once

#include <vector>

#include "store/catalog_queries.h"
#include "store/multi_row_insert.h"

namespace VardelCatalog {

class NodeListTable {
  public:
    /// Creates the table; call outside any transaction.
    explicit NodeListTable(StatementCache& cache);

    /// Makes the table hold exactly `nodes`.
    void Fill(const std::vector<Vardel::Guid>& nodes);
    /// The table's content is unknown (its filling may have been undone).
    void Forget();

  private:
    StatementCache& cache_;
    MultiRowInsert insert_;
    std::vector<Vardel::Guid> held_;
    bool known_ = true;
};

}  // namespace VardelCatalog
