// Small catalogues for the catalogue's tests, built straight from in-memory
// sources through the store writer (no source folders): a test describes its
// libraries with the helpers below, writes them to a file and opens a server
// or a database on it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "source/library_source.h"
#include "store/database.h"

namespace VardelCatalogTest {

using VardelCatalog::CategorySource;
using VardelCatalog::FamilySource;
using VardelCatalog::Guid;
using VardelCatalog::LibrarySource;
using VardelCatalog::ParameterSource;

/// A library with the families the writer adds after it.
struct TestLibrary {
    LibrarySource library;
    std::vector<FamilySource> families;
};

/// The GUID 00000000-0000-0000-0000-<n as 12 hex digits>, so tests can name
/// nodes by number.
Guid TestGuid(unsigned n);

/// A library named `name` with id TestGuid(id), default language en-us, last
/// modified "2024-01-01T00:00:00Z".
LibrarySource Library(const std::wstring& name, unsigned id);

/// A category TestGuid(id) with the en-us name `name`.
CategorySource Category(unsigned id, const std::wstring& name,
                        std::vector<CategorySource> children = {});

/// A parameter TestGuid(id) with the en-us name `name` and value type `valueType`.
ParameterSource Parameter(unsigned id, const std::wstring& name,
                          const std::wstring& valueType = L"double");

/// A family TestGuid(id) with the en-us display name `name`, held by the
/// categories TestGuid(c) for c in `categories`, last modified `lastModified`.
FamilySource Family(unsigned id, const std::wstring& name, const std::vector<unsigned>& categories,
                    const std::wstring& lastModified = L"2024-01-01T00:00:00Z");

/// Maps parameter TestGuid(parameters[i]) to column `columns[i]` where
/// parameters[i] is not 0, and gives `family` one member per row of `rows`
/// (row id "r<index>") whose values are the row's cells of the mapped
/// columns (a cell past the row's end is empty).
void AddTable(FamilySource& family, const std::vector<std::wstring>& columns,
              const std::vector<unsigned>& parameters,
              const std::vector<std::vector<std::wstring>>& rows);

/// Writes `libraries` into a new catalogue file `file` (replacing one that
/// exists) and returns `file`.
std::filesystem::path WriteCatalog(const std::filesystem::path& file,
                                   const std::vector<TestLibrary>& libraries);

/// Every row that `sql` answers, each as the texts of its first `columns`
/// columns joined by "|" (NULL as "NULL"), so a test compares a whole table
/// in one expectation.
std::vector<std::string> QueryRows(VardelCatalog::Database& database, std::string_view sql,
                                   int columns);

}  // namespace VardelCatalogTest
