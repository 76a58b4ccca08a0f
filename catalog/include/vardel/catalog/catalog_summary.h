// What a catalogue file holds, read without opening a server: its libraries
// with their identity, readers, sizes and the languages of their names, and
// the size of the file. A tool lists it, and a host uses it to know which
// library names a user's contexts may hold (a context naming a library its
// user may not read fails every library request).
//
// ReadCatalogSummary opens the file read-only and changes nothing; it may be
// called from any thread. Failure is a value: false with a message.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "vardel/export.h"
#include "vardel/guid.h"

namespace VardelCatalog {

struct LibrarySummary {
    std::wstring name;
    Vardel::Guid guid;
    /// Lower-cased language tag, as the catalogue stores it.
    std::wstring defaultLanguage;
    /// True when only `readers` may read the library.
    bool restricted = false;
    /// The user names allowed to read a restricted library, ascending.
    std::vector<std::wstring> readers;
    std::size_t families = 0;
    std::size_t members = 0;
    /// Every language (lower-cased) that names a category, parameter or
    /// family of the library, ascending.
    std::vector<std::wstring> languages;

    /// Whether `user` may read the library (exact comparison of names).
    bool IsReadableBy(const std::wstring& user) const {
        return !restricted || std::find(readers.begin(), readers.end(), user) != readers.end();
    }
};

struct CatalogSummary {
    /// In the order the build stored them.
    std::vector<LibrarySummary> libraries;
    std::uintmax_t fileSize = 0;
};

/// Fills `summary` from the catalogue `file`. False, with `error` set (UTF-8)
/// and `summary` untouched, when the file is missing, is not a catalogue file
/// or is damaged.
VARDEL_API bool ReadCatalogSummary(const std::filesystem::path& file, CatalogSummary& summary,
                                   std::string& error);

}  // namespace VardelCatalog
