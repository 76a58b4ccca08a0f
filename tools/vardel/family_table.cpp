// Reading the family document: "FamilyTable/Columns/Column" (attributes
// ColumnId, Title, UnitType, Hidden, ColumnwideValue) and
// "FamilyTable/Rows/Row" (attribute RowId, "Cell" children with ColumnId).
#include "family_table.h"

#include <map>

#include "common/case_fold.h"
#include "output.h"
#include "vardel/guid.h"
#include "vardel/xml_node_array.h"
#include "vardel/xml_parser.h"

namespace VardelTool {
namespace {

Result<std::wstring> FetchDocument(const Session& session, const std::wstring& library,
                                   const std::wstring& familyId) {
    const std::optional<Vardel::Guid> id = Vardel::Guid::Parse(familyId);
    if (!id) {
        return Refused("no family with id " + Quoted(Utf8(familyId)));
    }
    std::vector<std::uint8_t> bytes;
    try {
        session.Server().GetFamilyAspect(session.Security(), library, *id, L"FamilyDocument", L"",
                                         bytes);
    } catch (const TarnServerProxies::ProxyError& error) {
        return Refused("cannot read the table of family " + Utf8(familyId) + ": " + error.what());
    }
    return Wide(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::wstring Attribute(const XMLNode& node, const wchar_t* name) {
    std::wstring value;
    node.GetProperty(name, value);
    return value;
}

std::vector<FamilyColumn> ReadColumns(const XMLNode& root, std::vector<std::wstring>& columnwide) {
    XMLNodeArray nodes;
    root.SelectChildNodes(L"FamilyTable/Columns/Column[@ColumnId]", nodes);
    std::vector<FamilyColumn> columns;
    for (int i = 0; i < nodes.GetSize(); ++i) {
        FamilyColumn column;
        column.id = Attribute(nodes[i], L"ColumnId");
        column.title = Attribute(nodes[i], L"Title");
        if (column.title.empty()) {
            column.title = column.id;
        }
        column.unit = Attribute(nodes[i], L"UnitType");
        nodes[i].GetProperty(L"Hidden", column.hidden);
        columns.push_back(std::move(column));
        columnwide.push_back(Attribute(nodes[i], L"ColumnwideValue"));
    }
    return columns;
}

FamilyMember ReadMember(const XMLNode& row, const std::vector<FamilyColumn>& columns,
                        const std::vector<std::wstring>& columnwide) {
    std::map<std::wstring, std::wstring, VardelCommon::LessNoCase> cells;
    XMLNodeArray nodes;
    row.SelectChildNodes(L"Cell[@ColumnId]", nodes);
    for (int i = 0; i < nodes.GetSize(); ++i) {
        std::wstring text;
        nodes[i].GetNodeText(text);
        cells.emplace(Attribute(nodes[i], L"ColumnId"), std::move(text));
    }
    FamilyMember member{Attribute(row, L"RowId"), {}};
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const auto cell = cells.find(columns[c].id);
        member.values.push_back(cell != cells.end() ? cell->second : columnwide[c]);
    }
    return member;
}

}  // namespace

Result<FamilyTable> ReadFamilyTable(const Session& session, const std::wstring& library,
                                    const std::wstring& familyId) {
    Result<std::wstring> text = FetchDocument(session, library, familyId);
    if (!text.ok()) {
        return text.failure();
    }
    XMLParser document;
    if (!document.SetXml(text.value().c_str())) {
        return Refused("the document of family " + Utf8(familyId) + " does not parse");
    }
    const XMLNode root = document.GetRootNode();
    FamilyTable table;
    std::vector<std::wstring> columnwide;
    table.columns = ReadColumns(root, columnwide);
    XMLNodeArray rows;
    root.SelectChildNodes(L"FamilyTable/Rows/Row[@RowId]", rows);
    for (int i = 0; i < rows.GetSize(); ++i) {
        table.members.push_back(ReadMember(rows[i], table.columns, columnwide));
    }
    return table;
}

}  // namespace VardelTool
