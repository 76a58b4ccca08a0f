// The category tree of a family as the server sends it:
//
//   <CategoryTree FamilyId="..." Library="...">
//     <Category InternalName="..." DisplayName="..." Hidden="false">
//       <Category ... HoldsFamily="true"/>
//     </Category>
//   </CategoryTree>
//
// Nested, every path from a root to a holding category (kNestedTree); or
// only the holding categories, flat (kHoldingCategories).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/family_queries.h"

namespace VardelCatalog {

inline constexpr std::int32_t kNestedTree = 0;
inline constexpr std::int32_t kHoldingCategories = 1;

/// `categories` as QueryCategoryTree gives them; `type` is one of the two above.
std::wstring CategoryTreeXml(const std::vector<TreeCategory>& categories,
                             const Vardel::Guid& family, const std::wstring& library,
                             std::int32_t type);

}  // namespace VardelCatalog
