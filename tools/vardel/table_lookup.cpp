// Each lookup lists every name a column or member answers to and lets
// name_match pick one, so that ids, titles, key values and numbers follow
// one set of rules.
#include "table_lookup.h"

#include <algorithm>

#include "family_cells.h"
#include "name_match.h"
#include "output.h"

namespace VardelTool {
namespace {

std::vector<NamedNode> ColumnNames(const std::vector<CEncapFamilyColumn*>& columns) {
    std::vector<NamedNode> names;
    for (const CEncapFamilyColumn* column : columns) {
        names.push_back({column->GetColumnID(), column->GetColumnID()});
        std::wstring title;
        column->GetTitle(title);
        if (!title.empty()) {
            names.push_back({std::move(title), column->GetColumnID()});
        }
    }
    return names;
}

// Row ids, numbers, the values of the key columns and, with several key
// columns, the whole key; a key value that fails to evaluate names nothing.
std::vector<NamedNode> MemberNames(CEncapFamilyTable& table) {
    std::vector<NamedNode> names;
    const std::vector<CEncapFamilyColumn*> keys = KeyColumns(table);
    const std::vector<std::wstring>& rows = table.GetAllRowIDs();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        names.push_back({rows[i], rows[i]});
        names.push_back({std::to_wstring(i + 1), rows[i]});
        for (const CEncapFamilyColumn* key : keys) {
            CellValue value = EvaluateCell(table, rows[i], key->GetColumnID());
            if (value.ok() && !value.text.empty()) {
                names.push_back({std::move(value.text), rows[i]});
            }
        }
        if (keys.size() > 1) {
            names.push_back({KeyText(table, rows[i], keys), rows[i]});
        }
    }
    return names;
}

// The column of the id PickByName chose.
CEncapFamilyColumn* ColumnOf(const std::vector<CEncapFamilyColumn*>& columns,
                             const std::wstring& id) {
    for (CEncapFamilyColumn* column : columns) {
        if (column->GetColumnID() == id) {
            return column;
        }
    }
    return nullptr;
}

}  // namespace

Result<CEncapFamilyColumn*> FindColumn(const CEncapFamilyTable& table, const std::string& text) {
    Result<std::vector<CEncapFamilyColumn*>> picked = PickColumns(table, {text});
    if (!picked.ok()) {
        return picked.failure();
    }
    return picked.value().front();
}

Result<std::wstring> FindMember(CEncapFamilyTable& table, const std::string& text) {
    Result<std::vector<std::wstring>> picked = PickMembers(table, {text});
    if (!picked.ok()) {
        return picked.failure();
    }
    return picked.value().front();
}

Result<std::vector<CEncapFamilyColumn*>> PickColumns(const CEncapFamilyTable& table,
                                                     const std::vector<std::string>& names) {
    const std::vector<CEncapFamilyColumn*> columns = TableColumns(table);
    if (names.empty()) {
        return columns;
    }
    const std::vector<NamedNode> nodes = ColumnNames(columns);
    std::vector<CEncapFamilyColumn*> picked;
    for (const std::string& name : names) {
        Result<std::size_t> found = PickByName(nodes, Wide(name), "column");
        if (!found.ok()) {
            return found.failure();
        }
        picked.push_back(ColumnOf(columns, nodes[found.value()].id));
    }
    return picked;
}

Result<std::vector<std::wstring>> PickMembers(CEncapFamilyTable& table,
                                              const std::vector<std::string>& names) {
    if (names.empty()) {
        return table.GetAllRowIDs();
    }
    const std::vector<NamedNode> nodes = MemberNames(table);
    std::vector<std::wstring> picked;
    for (const std::string& name : names) {
        Result<std::size_t> found = PickByName(nodes, Wide(name), "member");
        if (!found.ok()) {
            return found.failure();
        }
        picked.push_back(nodes[found.value()].id);
    }
    return picked;
}

std::vector<CEncapFamilyColumn*> KeyColumns(const CEncapFamilyTable& table) {
    std::vector<CEncapFamilyColumn*> keys = table.GetKeyColumns();
    std::stable_sort(keys.begin(), keys.end(), [](const auto* a, const auto* b) {
        return a->GetKeyWeight() < b->GetKeyWeight();
    });
    return keys;
}

std::wstring KeyText(CEncapFamilyTable& table, const std::wstring& rowId,
                     const std::vector<CEncapFamilyColumn*>& keys) {
    std::wstring text;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        text += i == 0 ? L"" : L",";
        text += EvaluateCell(table, rowId, keys[i]->GetColumnID()).text;
    }
    return text;
}

std::size_t MemberNumber(const CEncapFamilyTable& table, const std::wstring& rowId) {
    return static_cast<std::size_t>(table.GetFamilyRowIndexByID(rowId) + 1);
}

}  // namespace VardelTool
