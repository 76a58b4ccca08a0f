// Category-parameter lists. The ancestors of a category are the categories
// whose position range holds its position.
#include "store/parameter_queries.h"

#include <algorithm>

namespace VardelCatalog {

std::vector<Vardel::Guid> QueryParametersOfCategory(StatementCache& cache, std::int64_t library,
                                                    const Vardel::Guid& category,
                                                    bool withAncestors) {
    QueryText query("SELECT p.guid FROM category c JOIN category a ON a.library_id = c.library_id");
    query.Sql(withAncestors ? " AND a.position <= c.position AND a.last_position >= c.position"
                            : " AND a.id = c.id");
    query.Sql(
        " JOIN category_parameter cp ON cp.category_id = a.id"
        " JOIN parameter p ON p.id = cp.parameter_id WHERE c.library_id = ");
    query.Int(library).Sql(" AND c.guid = ").Id(category);
    query.Sql(" ORDER BY a.position, cp.position");
    std::vector<Vardel::Guid> ids = QueryGuids(cache, query);
    // A parameter listed by an ancestor and again below it counts where it
    // first appears.
    std::vector<Vardel::Guid> unique;
    for (const Vardel::Guid& id : ids) {
        if (std::find(unique.begin(), unique.end(), id) == unique.end()) {
            unique.push_back(id);
        }
    }
    return unique;
}

std::vector<Vardel::Guid> QueryParametersOfParameter(StatementCache& cache, std::int64_t library,
                                                     const Vardel::Guid& parameter) {
    QueryText query(
        "SELECT p.guid FROM parameter s JOIN parameter p ON p.library_id = s.library_id"
        " AND (p.id = s.id OR p.uses_definition = s.guid) WHERE s.library_id = ");
    query.Int(library).Sql(" AND s.guid = ").Id(parameter);
    query.Sql(" ORDER BY CASE WHEN p.id = s.id THEN 0 ELSE 1 END, p.id");
    return QueryGuids(cache, query);
}

}  // namespace VardelCatalog
