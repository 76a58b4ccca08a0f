// Fills the node table with the store's batched INSERT, from the row ids
// of each library's nodes.
#include "store/catalog_queries_nodes.h"

#include <algorithm>

namespace VardelCatalog {

NodeListTable::NodeListTable(StatementCache& cache)
    : cache_(cache),
      insert_(cache.database(), "INSERT INTO requested_node (node_id, position) VALUES", 2) {
    cache_.database().Execute(
        "CREATE TEMPORARY TABLE requested_node (node_id INTEGER PRIMARY KEY,"
        " position INTEGER NOT NULL)");
}

void NodeListTable::Fill(std::string_view table, std::int64_t library,
                         const std::vector<Guid>& nodes) {
    if (known_ && heldOwner_.first == table && heldOwner_.second == library && held_ == nodes) {
        return;
    }
    const RowIds& ids = RowIdsOf(table, library);
    // Row id and place, by row id, then place.
    std::vector<std::pair<std::int64_t, std::size_t>> rows;
    rows.reserve(nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (const auto found = ids.find(nodes[i]); found != ids.end()) {
            rows.emplace_back(found->second, i);
        }
    }
    std::sort(rows.begin(), rows.end());
    repeats_.clear();
    for (std::size_t i = 1, first = 0; i < rows.size(); ++i) {
        if (rows[i].first != rows[first].first) {
            first = i;
        } else {
            repeats_.emplace_back(rows[first].second, rows[i].second);
        }
    }
    rows.erase(std::unique(rows.begin(), rows.end(),
                           [](const auto& a, const auto& b) { return a.first == b.first; }),
               rows.end());
    known_ = false;
    RunAndReset(cache_.Get("DELETE FROM requested_node"));
    insert_.Insert(rows.size(), [&](Statement& statement, int offset, std::size_t i) {
        statement.BindInt(offset + 1, rows[i].first);
        statement.BindInt(offset + 2, static_cast<std::int64_t>(rows[i].second));
    });
    heldOwner_ = {std::string(table), library};
    held_ = nodes;
    known_ = true;
}

void NodeListTable::Forget() {
    known_ = false;
}

const NodeListTable::RowIds& NodeListTable::RowIdsOf(std::string_view table, std::int64_t library) {
    Owner owner(table, library);
    if (const auto found = rowIds_.find(owner); found != rowIds_.end()) {
        return found->second;
    }
    QueryText query("SELECT guid, id FROM ");
    query.Sql(table).Sql(" WHERE library_id = ").Int(library);
    RowIds ids;
    QueryRows rows(cache_, query);
    while (rows.Next()) {
        ids.emplace(ColumnGuid(rows.row(), 0), rows.row().ColumnInt(1));
    }
    return rowIds_.emplace(std::move(owner), std::move(ids)).first->second;
}

}  // namespace VardelCatalog
