// The tables of a catalogue file. Ids are assigned by the importer (no
// engine-specific auto-increment); texts are UTF-8; booleans are 0 or 1;
// times are "YYYY-MM-DDThh:mm:ssZ" texts, which sort chronologically;
// languages are lower-cased tags. Every statement runs on SQLite and
// PostgreSQL alike.
//
// A node's localized texts live in its name table, one row per language;
// the node's own row also holds the text it answers for a language that has
// none: the library's default language's, else that of the first language
// in byte order that has one, empty when no language has one. So a request
// in the default language, the usual one, reads no name table at all.
#include "store/schema.h"

#include <array>

namespace VardelCatalog {
namespace {

constexpr std::array<std::string_view, 16> kTables = {
    // name: "format" (kCatalogFormat), "partition" (the partition GUID).
    "CREATE TABLE catalog_info (name TEXT PRIMARY KEY, value TEXT NOT NULL)",

    // restricted: 1 when only the users of library_reader may read it.
    "CREATE TABLE library (id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE,"
    " guid TEXT NOT NULL UNIQUE, default_language TEXT NOT NULL,"
    " restricted INTEGER NOT NULL)",

    "CREATE TABLE library_reader (library_id INTEGER NOT NULL, user_name TEXT NOT NULL,"
    " PRIMARY KEY (library_id, user_name))",

    // One row per distinct image that categories (icons) and families
    // (thumbnails) name, however many name it. digest: the SHA-1 of the
    // bytes in hex; media_type: "image/png", "image/bmp" or "image/x-icon";
    // data: the bytes in base64, the form the server answers in (a data
    // URI), and a text, which both engines keep alike.
    "CREATE TABLE image (id INTEGER PRIMARY KEY, digest TEXT NOT NULL UNIQUE,"
    " media_type TEXT NOT NULL, data TEXT NOT NULL)",

    // position: pre-order position in its library (document order);
    // last_position: the position of its last descendant, its own for a
    // leaf, so the sub-tree of c is position BETWEEN c.position AND
    // c.last_position. hidden: its own flag; hidden_path: it or an
    // ancestor is hidden. domain: inherited from the parent when not given.
    // image_id: its icon, NULL for none. name: the name for languages
    // without one (see above).
    "CREATE TABLE category (id INTEGER PRIMARY KEY, library_id INTEGER NOT NULL,"
    " guid TEXT NOT NULL, parent_id INTEGER, position INTEGER NOT NULL,"
    " last_position INTEGER NOT NULL, hidden INTEGER NOT NULL, hidden_path INTEGER NOT NULL,"
    " domain TEXT NOT NULL, mnemonic TEXT NOT NULL, special_authoring INTEGER NOT NULL,"
    " image_id INTEGER, last_modified TEXT NOT NULL, revision TEXT NOT NULL,"
    " name TEXT NOT NULL, UNIQUE (library_id, guid), UNIQUE (library_id, position))",

    "CREATE TABLE category_name (category_id INTEGER NOT NULL, language TEXT NOT NULL,"
    " name TEXT NOT NULL, PRIMARY KEY (category_id, language))",

    // uses_definition: the GUID text of the parameter whose definition it
    // uses, empty for none. parent_category_id: the first category in
    // document order that lists it, NULL for none. name: the name for
    // languages without one (see above).
    "CREATE TABLE parameter (id INTEGER PRIMARY KEY, library_id INTEGER NOT NULL,"
    " guid TEXT NOT NULL, value_type TEXT NOT NULL, unit_type TEXT NOT NULL,"
    " ref_name TEXT NOT NULL, uses_definition TEXT NOT NULL, localized INTEGER NOT NULL,"
    " optional INTEGER NOT NULL, repeatable INTEGER NOT NULL, no_index INTEGER NOT NULL,"
    " definition_only INTEGER NOT NULL, applies_to_member INTEGER NOT NULL,"
    " parent_category_id INTEGER, name TEXT NOT NULL, UNIQUE (library_id, guid))",

    "CREATE TABLE parameter_name (parameter_id INTEGER NOT NULL, language TEXT NOT NULL,"
    " name TEXT NOT NULL, PRIMARY KEY (parameter_id, language))",

    // position: the parameter's place in the category's own list.
    "CREATE TABLE category_parameter (category_id INTEGER NOT NULL,"
    " parameter_id INTEGER NOT NULL, position INTEGER NOT NULL,"
    " PRIMARY KEY (category_id, parameter_id))",

    // position: import order in its library. The document lives in its own
    // table so that property lookups read small rows. image_id: its
    // thumbnail, NULL for none. display_name, description: the texts for
    // languages without one (see above).
    "CREATE TABLE family (id INTEGER PRIMARY KEY, library_id INTEGER NOT NULL,"
    " guid TEXT NOT NULL, position INTEGER NOT NULL, is_feature INTEGER NOT NULL,"
    " standard TEXT NOT NULL, standards_organization TEXT NOT NULL,"
    " manufacturer TEXT NOT NULL, folder_name TEXT NOT NULL, last_modified TEXT NOT NULL,"
    " revision TEXT NOT NULL, image_id INTEGER, parent_library_name TEXT NOT NULL,"
    " parent_family_name TEXT NOT NULL, member_count INTEGER NOT NULL,"
    " display_name TEXT NOT NULL, description TEXT NOT NULL, UNIQUE (library_id, guid))",

    "CREATE TABLE family_name (family_id INTEGER NOT NULL, language TEXT NOT NULL,"
    " display_name TEXT NOT NULL, description TEXT NOT NULL,"
    " PRIMARY KEY (family_id, language))",

    "CREATE TABLE family_document (family_id INTEGER PRIMARY KEY, document TEXT NOT NULL)",

    "CREATE TABLE family_strings (family_id INTEGER NOT NULL, language TEXT NOT NULL,"
    " document TEXT NOT NULL, PRIMARY KEY (family_id, language))",

    "CREATE TABLE family_category (category_id INTEGER NOT NULL, family_id INTEGER NOT NULL,"
    " PRIMARY KEY (category_id, family_id))",

    // position: the row's place in its family table.
    "CREATE TABLE member (id INTEGER PRIMARY KEY, family_id INTEGER NOT NULL,"
    " row_id TEXT NOT NULL, position INTEGER NOT NULL)",

    // One value per member and mapped category parameter: the cell text and,
    // when that text is a number, the number. The rows live in the key's own
    // tree (no rowid), so an import writes one tree for them, not two.
    "CREATE TABLE member_value (member_id INTEGER NOT NULL, parameter_id INTEGER NOT NULL,"
    " text_value TEXT NOT NULL, number_value DOUBLE PRECISION,"
    " PRIMARY KEY (member_id, parameter_id)) WITHOUT ROWID",
};

constexpr std::array<std::string_view, 6> kIndexes = {
    "CREATE INDEX category_by_parent ON category (library_id, parent_id, position)",
    "CREATE INDEX family_category_by_family ON family_category (family_id)",
    "CREATE INDEX member_by_family ON member (family_id, position)",
    "CREATE INDEX parameter_by_definition ON parameter (library_id, uses_definition)",
    // A numeric comparison walks the first, a comparison with the texts that
    // are no numbers the second; member_id (and number_value, always null
    // there, which the index's condition reads) let either answer without
    // reading the table. Most values are numbers, so leaving them out of the
    // text index halves the indexing of an import.
    "CREATE INDEX member_value_by_number ON member_value"
    " (parameter_id, number_value, member_id)",
    "CREATE INDEX member_value_by_text ON member_value"
    " (parameter_id, text_value, member_id, number_value) WHERE number_value IS NULL",
};

// Every table but the three name tables and the images. A property
// request joins the node table with a name table; when that has
// statistics, SQLite first builds a Bloom filter by reading the whole name
// table, so that every request, even for one node, would cost the size of
// the catalogue. The name tables and the images are only ever read through
// their primary keys, which need no statistics.
constexpr std::array<std::string_view, 12> kAnalyzedTables = {
    "catalog_info",    "library",         "library_reader",
    "category",        "parameter",       "category_parameter",
    "family",          "family_document", "family_strings",
    "family_category", "member",          "member_value",
};

}  // namespace

std::span<const std::string_view> SchemaTables() {
    return kTables;
}

std::span<const std::string_view> SchemaIndexes() {
    return kIndexes;
}

std::span<const std::string_view> AnalyzedTables() {
    return kAnalyzedTables;
}

}  // namespace VardelCatalog
