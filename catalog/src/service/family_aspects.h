// The aspects of a family that the server hands out as UTF-8 XML bytes:
//   DerivedFamilyLinkAspect  <DerivedFamilyLink ParentLibraryName="..."
//                            ParentFamilyName="..."/>
//   FamilyDocument           the stored family document
//   FamilyStringsLanguages   <Languages><Language Name="..."/>...</Languages>,
//                            the languages of its strings documents
//   FamilyStrings.LANG       the strings document of LANG (any case)
// Aspect names compare exactly; any other name is no aspect.
#pragma once

#include <optional>
#include <string>

#include "store/family_queries.h"

namespace VardelCatalog {

/// The bytes of `aspect` of `family`; none for an unknown aspect or a
/// strings language the family lacks.
std::optional<std::string> ReadFamilyAspect(StatementCache& cache, const FamilyRow& family,
                                            const std::wstring& aspect);

}  // namespace VardelCatalog
