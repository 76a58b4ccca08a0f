#include "search/result_rows.h"

#include "common/case_fold.h"
#include "vardel/xml_parser.h"

namespace VardelSearch {
namespace {

// The row's value for `name`: the attribute of that name, else the first
// attribute whose name begins with it, else empty.
std::wstring RowValue(const XMLNode& row, const std::vector<std::wstring>& attributes,
                      const std::wstring& name) {
    std::wstring value;
    if (row.GetProperty(name.c_str(), value)) {
        return value;
    }
    for (const std::wstring& attribute : attributes) {
        if (attribute.starts_with(name)) {
            row.GetProperty(attribute.c_str(), value);
            return value;
        }
    }
    return {};
}

// Replaces every occurrence of `name` in `text` by `value`.
void ReplaceAll(std::wstring& text, const std::wstring& name, const std::wstring& value) {
    if (name.empty()) {
        return;
    }
    std::wstring result;
    std::size_t from = 0;
    for (std::size_t at = text.find(name); at != std::wstring::npos; at = text.find(name, from)) {
        result.append(text, from, at - from).append(value);
        from = at + name.size();
    }
    result.append(text, from, std::wstring::npos);
    text = std::move(result);
}

RowProperties ReadRow(const XMLNode& row, const std::set<std::wstring>& returnNames,
                      const std::map<std::wstring, std::wstring>& clientReturns) {
    std::vector<std::wstring> attributes;
    row.GetProperties(attributes);
    RowProperties properties;
    for (const std::wstring& name : returnNames) {
        properties.emplace(name, RowValue(row, attributes, name));
    }
    for (const auto& [name, expression] : clientReturns) {
        std::wstring text = expression;
        for (const std::wstring& returnName : returnNames) {
            ReplaceAll(text, returnName, properties[returnName]);
        }
        properties.try_emplace(name, std::move(text));
    }
    return properties;
}

}  // namespace

std::set<std::wstring> ReturnNames(const Vardel::CSearchQueryData& query) {
    std::set<std::wstring> names;
    for (const Vardel::CSearchData* record : *query.GetReturns()) {
        for (const Vardel::PropertyData* property : *record->GetProperties()) {
            if (VardelCommon::EqualsNoCase(property->name, L"Value") ||
                VardelCommon::EqualsNoCase(property->name, L"InternalName")) {
                names.insert(property->value);
            }
        }
    }
    return names;
}

XMLNodeArray SelectResultRows(const std::wstring& xml) {
    XMLParser parser;
    XMLNodeArray rows;
    if (!parser.CreateXmlDocument(L"UTF-16") || !parser.SetXml(xml.c_str())) {
        return rows;
    }
    const XMLNode root = parser.GetRootNode();
    XMLNode results;
    const wchar_t* path = root.GetChildNode(L"results", results) ? L"results/row" : L"row";
    root.SelectChildNodes(path, rows);
    return rows;
}

LibraryRows ReadResultRows(const std::wstring& xml, const Vardel::CSearchQueryData& query) {
    const std::set<std::wstring> returnNames = ReturnNames(query);
    const std::map<std::wstring, std::wstring>& clientReturns = *query.GetClientReturnsData();
    const XMLNodeArray rows = SelectResultRows(xml);
    LibraryRows found;
    for (int i = 0; i < rows.GetSize(); ++i) {
        std::wstring family;
        if (!rows[i].GetProperty(L"FamilyId", family) || family.empty()) {
            continue;
        }
        auto [place, first] = found.rows.try_emplace(family);
        if (first) {
            found.families.push_back(family);
        }
        place->second.push_back(ReadRow(rows[i], returnNames, clientReturns));
    }
    return found;
}

}  // namespace VardelSearch
