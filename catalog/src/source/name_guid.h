// GUIDs derived from facts of the sources rather than drawn at random, so a
// rebuild of the same sources gives the same ids: name-based GUIDs of
// version 5 (SHA-1), the standard derivation of a GUID from a namespace GUID
// and a name. Pure functions, safe from any thread.
#pragma once

#include <cstddef>
#include <string_view>

#include "vardel/guid.h"

namespace VardelCatalog {

/// The version-5 GUID of `name` (bytes) in the namespace `space`: the first
/// 16 bytes of SHA-1(the 16 bytes of `space` in text order, then `name`),
/// with the version nibble 5 and the variant bits 10.
Vardel::Guid NameBasedGuid(const Vardel::Guid& space, std::string_view name);

/// The row id of the data line number `index` (0-based, blank lines not
/// counted) of a CSV family: NameBasedGuid(family, "row:" + index in decimal).
Vardel::Guid CsvRowId(const Vardel::Guid& family, std::size_t index);

/// The revision a category or family gets when its source names none:
/// NameBasedGuid(id, "revision:" + the last-modified text in UTF-8), so it
/// changes exactly when the last-modified time does.
Vardel::Guid DerivedRevision(const Vardel::Guid& id, std::wstring_view lastModified);

}  // namespace VardelCatalog
