// Which category parameters belong together: those of a category (in the
// category's order, optionally after its ancestors', root first, each
// once), and a parameter with the parameters whose definition it gives.
// An id the library does not hold has none.
#pragma once

#include <cstdint>
#include <vector>

#include "store/catalog_queries.h"

namespace VardelCatalog {

std::vector<Vardel::Guid> QueryParametersOfCategory(StatementCache& cache, std::int64_t library,
                                                    const Vardel::Guid& category,
                                                    bool withAncestors);

/// `parameter` itself, then the parameters whose UsesDefinition names it,
/// in definition order.
std::vector<Vardel::Guid> QueryParametersOfParameter(StatementCache& cache, std::int64_t library,
                                                     const Vardel::Guid& parameter);

}  // namespace VardelCatalog
