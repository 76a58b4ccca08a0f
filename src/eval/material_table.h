// The materials of the reference evaluator provider: key and display name
// pairs, looked up either way ignoring case. The built-in set covers the
// common materials of standard parts; a material file replaces it. A file
// is UTF-8 text (a byte-order mark is allowed), one "key = display name" per
// line, both sides trimmed and not empty; blank lines and lines whose first
// non-blank character is "#" are skipped. A file is taken whole or not at
// all.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace VardelEval {

/// Upper-cased key -> (key as written, display name).
using Materials = std::map<std::wstring, std::pair<std::wstring, std::wstring>>;

/// The built-in materials.
Materials BuiltInMaterials();

/// Adds the material, replacing one of the same key (ignoring case).
void AddMaterial(Materials& materials, std::wstring_view key, std::wstring_view name);

/// The material whose key is `key`, ignoring case; null when none.
const std::pair<std::wstring, std::wstring>* FindMaterialByKey(const Materials& materials,
                                                               std::wstring_view key);
/// The material whose display name is `name`, ignoring case; null when none.
const std::pair<std::wstring, std::wstring>* FindMaterialByName(const Materials& materials,
                                                                std::wstring_view name);

/// Reads the material file at `path` into `materials` (replaced only on
/// success). False with `error` naming the file, and the line for a line
/// that is not "key = name" or repeats a key.
bool ReadMaterialFile(const std::filesystem::path& path, Materials& materials, std::wstring& error);

}  // namespace VardelEval
