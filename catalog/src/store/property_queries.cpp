// The property keys of each node kind as SQL expressions over the node's
// row, and the one lookup that answers them.
#include "store/property_queries.h"

#include <algorithm>
#include <array>
#include <span>

#include "common/utf8.h"
#include "vardel/constants.h"

namespace VardelCatalog {
namespace {

namespace Keys = Vardel::Constants;

// How a selected value becomes an answer.
enum class Render {
    Text,       // the stored text; empty is no value
    Localized,  // `sql` names the text column of the node's name table and row
    Flag,       // 0 or 1 as "false" or "true"
    NotFlag,    // 0 or 1 as "true" or "false"
    Kind,       // is_feature as "part" or "feature"
};

struct PropertyColumn {
    const wchar_t* key;
    std::string_view sql;
    Render render;
};

struct NodeTable {
    std::string_view table;
    std::string_view alias;
    NameTable names;
    std::span<const PropertyColumn> columns;
};

// A category's icon and a family's thumbnail as a data URI, NULL when it
// has none. The image is stored in base64 already, so an answer is one
// concatenation.
constexpr std::string_view kCategoryImage =
    "(SELECT 'data:' || i.media_type || ';base64,' || i.data FROM image i"
    " WHERE i.id = c.image_id)";
constexpr std::string_view kFamilyImage =
    "(SELECT 'data:' || i.media_type || ';base64,' || i.data FROM image i"
    " WHERE i.id = f.image_id)";

constexpr std::array kCategoryColumns = {
    PropertyColumn{Keys::FLD_DISPLAYNAME, "name", Render::Localized},
    PropertyColumn{Keys::FLD_ISVISIBLE, "c.hidden", Render::NotFlag},
    PropertyColumn{Keys::FLD_REFGUID, "c.revision", Render::Text},
    PropertyColumn{Keys::FLD_LASTMODTIME, "c.last_modified", Render::Text},
    PropertyColumn{Keys::FLD_ICON, kCategoryImage, Render::Text},
    PropertyColumn{Keys::FLD_HASANYCHILD,
                   "CASE WHEN c.last_position > c.position OR EXISTS (SELECT 1 FROM"
                   " family_category h WHERE h.category_id = c.id) THEN 1 ELSE 0 END",
                   Render::Flag},
    PropertyColumn{Keys::CAT_MNEMONIC, "c.mnemonic", Render::Text},
    PropertyColumn{Keys::CAT_SPECAUTH, "c.special_authoring", Render::Flag},
    PropertyColumn{Keys::CAT_DOMAIN, "c.domain", Render::Text},
};

constexpr std::array kFamilyColumns = {
    PropertyColumn{Keys::FAM_DISPLAYNAME, "display_name", Render::Localized},
    PropertyColumn{Keys::FAM_DESCRIPTION, "description", Render::Localized},
    PropertyColumn{Keys::FAM_MANUFACTURER, "f.manufacturer", Render::Text},
    PropertyColumn{Keys::FAM_STANDORG, "f.standards_organization", Render::Text},
    PropertyColumn{Keys::FAM_STANDARD, "f.standard", Render::Text},
    PropertyColumn{Keys::FAM_FOLDERNAME, "f.folder_name", Render::Text},
    PropertyColumn{Keys::FAM_LASTMODTIME, "f.last_modified", Render::Text},
    PropertyColumn{Keys::FAM_REVGUID, "f.revision", Render::Text},
    PropertyColumn{Keys::FAM_ICON, kFamilyImage, Render::Text},
    PropertyColumn{Keys::FAM_DATATYPE, "f.is_feature", Render::Kind},
    PropertyColumn{Keys::FAM_SRCLIBRARY, "f.parent_library_name", Render::Text},
    PropertyColumn{Keys::FAM_SRCFAMILY, "f.parent_family_name", Render::Text},
};

constexpr std::array kParameterColumns = {
    PropertyColumn{Keys::CP_DISPLAYNAME, "name", Render::Localized},
    PropertyColumn{Keys::CP_VALUETYPE, "p.value_type", Render::Text},
    PropertyColumn{Keys::CP_UNITTYPE, "p.unit_type", Render::Text},
    PropertyColumn{Keys::CP_VALUELOCALIZED, "p.localized", Render::Flag},
    PropertyColumn{Keys::CP_REFNAME, "p.ref_name", Render::Text},
    PropertyColumn{Keys::CP_USESDEFINITION, "p.uses_definition", Render::Text},
    PropertyColumn{Keys::CP_OPTIONAL, "p.optional", Render::Flag},
    PropertyColumn{Keys::CP_REPEATABLE, "p.repeatable", Render::Flag},
    PropertyColumn{Keys::CP_NOINDEX, "p.no_index", Render::Flag},
    PropertyColumn{Keys::CP_DEFINITIONONLY, "p.definition_only", Render::Flag},
    PropertyColumn{Keys::CP_APPLIESTOMEMBER, "p.applies_to_member", Render::Flag},
    PropertyColumn{Keys::CP_PARENTCATEGORY,
                   "(SELECT pc.guid FROM category pc WHERE pc.id = p.parent_category_id)",
                   Render::Text},
};

const NodeTable& TableOf(NodeKind kind) {
    static const NodeTable kCategories{
        "category", "c", {"category_name", "category_id"}, kCategoryColumns};
    static const NodeTable kFamilies{"family", "f", {"family_name", "family_id"}, kFamilyColumns};
    static const NodeTable kParameters{
        "parameter", "p", {"parameter_name", "parameter_id"}, kParameterColumns};
    switch (kind) {
        case NodeKind::Category:
            return kCategories;
        case NodeKind::Family:
            return kFamilies;
        case NodeKind::Parameter:
            break;
    }
    return kParameters;
}

// The key GUIDs of `table`'s columns, parsed once.
const std::vector<Vardel::Guid>& KeysOf(NodeKind kind) {
    static const auto parse = [](NodeKind of) {
        std::vector<Vardel::Guid> keys;
        for (const PropertyColumn& column : TableOf(of).columns) {
            keys.push_back(*Vardel::Guid::Parse(column.key));
        }
        return keys;
    };
    static const std::vector<Vardel::Guid> kCategoryKeys = parse(NodeKind::Category);
    static const std::vector<Vardel::Guid> kFamilyKeys = parse(NodeKind::Family);
    static const std::vector<Vardel::Guid> kParameterKeys = parse(NodeKind::Parameter);
    switch (kind) {
        case NodeKind::Category:
            return kCategoryKeys;
        case NodeKind::Family:
            return kFamilyKeys;
        case NodeKind::Parameter:
            break;
    }
    return kParameterKeys;
}

// For each requested key, the index of its column in the select list (-1
// for a key the kind does not answer); `selected` receives the table's
// columns in select-list order, each once.
std::vector<int> SelectColumns(NodeKind kind, const std::vector<Vardel::Guid>& keys,
                               std::vector<std::size_t>& selected) {
    const std::vector<Vardel::Guid>& known = KeysOf(kind);
    std::vector<int> positions;
    positions.reserve(keys.size());
    for (const Vardel::Guid& key : keys) {
        const auto found = std::find(known.begin(), known.end(), key);
        if (found == known.end()) {
            positions.push_back(-1);
            continue;
        }
        const auto column = static_cast<std::size_t>(found - known.begin());
        auto at = std::find(selected.begin(), selected.end(), column);
        if (at == selected.end()) {
            at = selected.insert(selected.end(), column);
        }
        positions.push_back(static_cast<int>(at - selected.begin()));
    }
    return positions;
}

// "SELECT r.position, <columns> FROM requested_node r CROSS JOIN <table>
// ...": the node table holds only nodes of the library, so the join is on
// row ids alone. CROSS JOIN keeps the node table the outer loop: both
// sides are keyed by row id, and SQLite would otherwise scan the larger
// table whole.
QueryText JoinStatement(const NodeTable& table, const std::vector<std::size_t>& selected,
                        const NameLanguages& languages) {
    constexpr std::string_view kRequested = "nr";
    QueryText query("SELECT r.position");
    bool localized = false;
    for (const std::size_t index : selected) {
        const PropertyColumn& column = table.columns[index];
        query.Sql(", ");
        if (column.render == Render::Localized) {
            AddLocalizedText(query, kRequested, table.alias, column.sql, languages);
            localized = true;
        } else {
            query.Sql(column.sql);
        }
    }
    query.Sql(" FROM requested_node r CROSS JOIN ").Sql(table.table).Sql(" ").Sql(table.alias);
    if (localized) {
        AddRequestedNames(query, table.names, kRequested, "r.node_id", languages);
    }
    query.Sql(" WHERE ").Sql(table.alias).Sql(".id = r.node_id");
    return query;
}

std::optional<std::wstring> Answer(const Statement& row, int column, Render render) {
    if (row.IsNull(column)) {
        return std::nullopt;
    }
    switch (render) {
        case Render::Flag:
            return row.ColumnInt(column) != 0 ? L"true" : L"false";
        case Render::NotFlag:
            return row.ColumnInt(column) != 0 ? L"false" : L"true";
        case Render::Kind:
            return row.ColumnInt(column) != 0 ? L"feature" : L"part";
        case Render::Text:
        case Render::Localized:
            break;
    }
    const std::string_view text = row.ColumnText(column);
    if (text.empty()) {
        return std::nullopt;
    }
    return VardelCommon::FromUtf8(text);
}

}  // namespace

void AddRequestedNames(QueryText& query, const NameTable& names, std::string_view alias,
                       std::string_view node, const NameLanguages& languages) {
    if (languages.RequestsDefault()) {
        return;
    }
    query.Sql(" LEFT JOIN ").Sql(names.table).Sql(" ").Sql(alias).Sql(" ON ").Sql(alias);
    query.Sql(".").Sql(names.owner).Sql(" = ").Sql(node).Sql(" AND ").Sql(alias);
    query.Sql(".language = ").Text(languages.requested);
}

void AddLocalizedText(QueryText& query, std::string_view alias, std::string_view nodeAlias,
                      std::string_view column, const NameLanguages& languages) {
    const auto own = [&] { query.Sql(nodeAlias).Sql(".").Sql(column); };
    if (languages.RequestsDefault()) {
        own();
        return;
    }
    // CASE rather than COALESCE over NULLIF: SQLite copies every value
    // COALESCE passes on.
    const auto requested = [&] { query.Sql(alias).Sql(".").Sql(column); };
    query.Sql("CASE WHEN ");
    requested();
    query.Sql(" <> '' THEN ");
    requested();
    query.Sql(" ELSE ");
    own();
    query.Sql(" END");
}

std::vector<std::optional<std::wstring>> QueryPropertyValues(StatementCache& cache,
                                                             NodeListTable& table, NodeKind kind,
                                                             std::int64_t library,
                                                             const std::vector<Vardel::Guid>& nodes,
                                                             const std::vector<Vardel::Guid>& keys,
                                                             const NameLanguages& languages) {
    std::vector<std::optional<std::wstring>> values(nodes.size() * keys.size());
    std::vector<std::size_t> selected;
    const std::vector<int> positions = SelectColumns(kind, keys, selected);
    if (selected.empty() || nodes.empty()) {
        return values;
    }
    const NodeTable& nodeTable = TableOf(kind);
    table.Fill(nodeTable.table, library, nodes);
    QueryRows rows(cache, JoinStatement(nodeTable, selected, languages));
    while (rows.Next()) {
        const Statement& row = rows.row();
        const auto first = static_cast<std::size_t>(row.ColumnInt(0)) * keys.size();
        for (std::size_t k = 0; k < keys.size(); ++k) {
            if (positions[k] >= 0) {
                const auto column = static_cast<std::size_t>(positions[k]);
                values[first + k] =
                    Answer(row, positions[k] + 1, nodeTable.columns[selected[column]].render);
            }
        }
    }
    for (const auto& [first, repeat] : table.Repeats()) {
        std::copy_n(values.begin() + static_cast<std::ptrdiff_t>(first * keys.size()), keys.size(),
                    values.begin() + static_cast<std::ptrdiff_t>(repeat * keys.size()));
    }
    return values;
}

}  // namespace VardelCatalog
