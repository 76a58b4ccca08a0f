// Fills the node table with the store's batched INSERT.
#include "store/catalog_queries_nodes.h"

namespace VardelCatalog {

NodeListTable::NodeListTable(StatementCache& cache)
    : cache_(cache),
      insert_(cache.database(), "INSERT INTO requested_node (position, guid) VALUES", 2) {
    cache_.database().Execute(
        "CREATE TEMPORARY TABLE requested_node (position INTEGER PRIMARY KEY, guid TEXT NOT NULL)");
}

void NodeListTable::Fill(const std::vector<Vardel::Guid>& nodes) {
    if (known_ && held_ == nodes) {
        return;
    }
    known_ = false;
    RunAndReset(cache_.Get("DELETE FROM requested_node"));
    insert_.Insert(nodes.size(), [&](Statement& statement, int offset, std::size_t i) {
        statement.BindInt(offset + 1, static_cast<std::int64_t>(i));
        statement.BindText(offset + 2, GuidText(nodes[i]));
    });
    held_ = nodes;
    known_ = true;
}

void NodeListTable::Forget() {
    known_ = false;
}

}  // namespace VardelCatalog
