// The in-memory form of one library folder as the source readers give it to
// the importer: the library's identity and readers, its category-parameter
// definitions, its category tree and, one at a time, its families. Every
// family reaches the store as a family document of the system's own format
// (rendered from a CSV table, or as read), together with the facts the store
// indexes (names, categories, and the members' values of mapped columns as
// the family model evaluates them).
//
// Texts are wide; documents are UTF-8 bytes as they are stored and served,
// and so are the bytes of the images that categories and families name.
// Language tags are kept lower-cased, so "en-US" and "EN-us" are one key.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "vardel/guid.h"

namespace VardelCatalog {

using Vardel::Guid;

/// For unordered containers of GUIDs: mixes both halves, since sequential
/// GUIDs may share either.
struct GuidHash {
    std::size_t operator()(const Guid& guid) const {
        std::uint64_t low = 0, high = 0;
        std::memcpy(&low, guid.bytes.data(), sizeof low);
        std::memcpy(&high, guid.bytes.data() + sizeof low, sizeof high);
        return static_cast<std::size_t>(low ^ (high * 0x9E3779B97F4A7C15ULL));
    }
};

/// Text per language tag (lower-cased).
using LocalizedTexts = std::map<std::wstring, std::wstring>;

/// An image a category or family names, read and checked (source_image.h);
/// empty bytes when it names none.
struct ImageSource {
    std::string mediaType;  ///< "image/png", "image/bmp" or "image/x-icon".
    std::string bytes;
};

struct ParameterSource {
    Guid id;
    LocalizedTexts names;
    std::wstring valueType = L"string";  ///< "string", "double", "integer" or "boolean".
    std::wstring unitType;
    std::wstring refName;
    std::optional<Guid> usesDefinition;
    bool localized = false;
    bool optional = false;
    bool repeatable = false;
    bool noIndex = false;
    bool definitionOnly = false;
    bool appliesToMember = true;
    int line = 0;  ///< Where it stands in library.xml, for messages.
};

struct CategorySource {
    Guid id;
    LocalizedTexts names;
    bool hidden = false;
    std::wstring domain;  ///< Already inherited from the parent when not given.
    std::wstring mnemonic;
    bool specialAuthoring = false;
    std::wstring icon;  ///< The path the source gives, relative to the library folder.
    ImageSource iconImage;
    std::wstring lastModified;  ///< "YYYY-MM-DDThh:mm:ssZ", the library's when not given.
    Guid revisionId;
    std::vector<Guid> parameters;  ///< Its own, in order.
    std::vector<CategorySource> children;
    int line = 0;
};

/// library.xml of one folder; the families are read one by one afterwards.
struct LibrarySource {
    std::filesystem::path folder;
    std::wstring name;
    Guid id;
    std::wstring defaultLanguage;  ///< Lower-cased.
    std::wstring lastModified;
    std::vector<std::wstring> readers;  ///< Empty: everybody may read it.
    std::vector<ParameterSource> parameters;
    std::vector<CategorySource> categories;  ///< The roots, in document order.
};

/// A category parameter driven by a column of the family table.
struct ParameterColumn {
    Guid parameter;
    std::wstring column;  ///< The column's id.
};

struct MemberSource {
    std::wstring rowId;
    /// The member's value of each mapped column, parallel to
    /// FamilySource::parameterColumns: the value the family model evaluates
    /// for the row's cell, empty for "no value".
    std::vector<std::wstring> values;
};

struct FamilySource {
    std::filesystem::path file;  ///< The description or family document, for messages.
    Guid id;
    LocalizedTexts displayNames;
    LocalizedTexts descriptions;
    bool isFeature = false;
    std::wstring standard;
    std::wstring standardsOrganization;
    std::wstring manufacturer;
    std::wstring folderName;
    std::wstring lastModified;
    Guid revisionId;
    std::wstring thumbnail;  ///< The path the source gives, relative to `file`'s folder.
    ImageSource thumbnailImage;
    std::wstring parentLibraryName;
    std::wstring parentFamilyName;
    std::vector<Guid> categories;       ///< Categories of the library that hold it.
    std::vector<MemberSource> members;  ///< In the table's row order.
    std::vector<ParameterColumn> parameterColumns;
    std::string document;                         ///< The family document, UTF-8.
    std::map<std::wstring, std::string> strings;  ///< Strings document per language, UTF-8.
};

}  // namespace VardelCatalog
