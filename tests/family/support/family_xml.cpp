#include "family/support/family_xml.h"

#include "vardel/family.h"

namespace FamilyTest {

namespace {

void AppendAttributes(std::wstring& xml, const Attributes& attributes) {
    for (const auto& [name, value] : attributes) {
        xml += L' ';
        xml += name;
        xml += L"=\"";
        xml += Escape(value);
        xml += L'"';
    }
}

}  // namespace

std::wstring Escape(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (const wchar_t c : text) {
        switch (c) {
            case L'&':
                out += L"&amp;";
                break;
            case L'<':
                out += L"&lt;";
                break;
            case L'>':
                out += L"&gt;";
                break;
            case L'"':
                out += L"&quot;";
                break;
            case L'\'':
                out += L"&apos;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::wstring FamilyXml::Build() const {
    std::wstring xml = L"<Family";
    AppendAttributes(xml, rootAttributes);
    xml += L'>';
    xml += rawChildren;
    if (hasTable) {
        xml += L"<FamilyTable><Columns>";
        for (const Column& column : columns) {
            xml += L"<Column ColumnId=\"" + Escape(column.id) + L'"';
            AppendAttributes(xml, column.attributes);
            xml += L"/>";
        }
        xml += L"</Columns><Rows>";
        for (const Row& row : rows) {
            xml += L"<Row RowId=\"" + Escape(row.id) + L"\">";
            for (const auto& [columnId, text] : row.cells) {
                xml += L"<Cell ColumnId=\"" + Escape(columnId) + L"\">" + Escape(text) + L"</Cell>";
            }
            xml += L"</Row>";
        }
        xml += L"</Rows></FamilyTable>";
    }
    xml += L"</Family>";
    return xml;
}

std::wstring StringsXml(const std::wstring& language, const std::wstring& rawChildren) {
    return L"<FamilyStrings xml:lang=\"" + Escape(language) + L"\">" + rawChildren +
           L"</FamilyStrings>";
}

FamilyXml NumberTable(int rows, int columns) {
    FamilyXml family;
    family.rootAttributes = {{L"InternalName", L"numbers"}};
    for (int c = 0; c < columns; ++c) {
        family.columns.push_back({L"C" + std::to_wstring(c), {{L"ValueType", L"double"}}});
    }
    for (int r = 0; r < rows; ++r) {
        Row row{L"r" + std::to_wstring(r), {}};
        for (int c = 0; c < columns; ++c) {
            row.cells.emplace_back(L"C" + std::to_wstring(c), std::to_wstring(r * 100 + c));
        }
        family.rows.push_back(std::move(row));
    }
    return family;
}

namespace {

void AppendConstants(std::wstring& xml, const Attributes& constants) {
    xml += L"<FamilyParametersMap><ParamsToTemplate>";
    for (const auto& [id, value] : constants) {
        xml += L"<ParamTemplateValue ConstantValue=\"";
        xml += Escape(value);
        xml += L"\"><CategoryParameterRef CategoryParameter=\"";
        xml += Escape(id);
        xml += L"\"/></ParamTemplateValue>";
    }
    xml += L"</ParamsToTemplate></FamilyParametersMap>";
}

void AppendParameter(std::wstring& xml, const GeneralizedParameter& parameter) {
    xml += L"<GeneralizedParameter";
    AppendAttributes(xml, parameter.attributes);
    xml += L'>';
    for (const GeneralizedParameter& child : parameter.children) {
        AppendParameter(xml, child);
    }
    xml += L"</GeneralizedParameter>";
}

}  // namespace

std::wstring ParameterConstantsXml(const Attributes& constants) {
    std::wstring xml = L"<ParameterMap>";
    AppendConstants(xml, constants);
    xml += L"</ParameterMap>";
    return xml;
}

std::wstring TemplatesXml(const std::vector<FamilyTemplate>& templates) {
    std::wstring xml = L"<FamilyTemplates>";
    for (const FamilyTemplate& entry : templates) {
        xml += L"<FamilyTemplate";
        AppendAttributes(xml, entry.attributes);
        xml += L'>';
        for (const GeneralizedParameter& parameter : entry.parameters) {
            AppendParameter(xml, parameter);
        }
        xml += L"</FamilyTemplate>";
    }
    xml += L"</FamilyTemplates>";
    return xml;
}

std::wstring ParameterMapXml(const Attributes& constants, const std::vector<ParamToColumn>& params,
                             const std::vector<ColumnToTemplate>& columns) {
    std::wstring xml = L"<ParameterMap>";
    if (!constants.empty()) {
        AppendConstants(xml, constants);
    }
    xml += L"<MemberParametersMap><ParamsToColumn>";
    for (const ParamToColumn& param : params) {
        xml += L"<ParamToColumn";
        AppendAttributes(xml, {{L"TableColumn", param.column}});
        xml += L"><CategoryParameterRef";
        AppendAttributes(xml,
                         {{L"Category", param.category}, {L"CategoryParameter", param.parameter}});
        xml += L"/></ParamToColumn>";
    }
    xml += L"</ParamsToColumn><ColumnsToTemplate>";
    for (const ColumnToTemplate& column : columns) {
        xml += L"<ColumnToTemplate";
        AppendAttributes(xml, {{L"TableColumn", column.column}});
        xml += L"><TemplatesParameter>";
        for (const auto& [name, id] : column.templateParameters) {
            xml += L"<TemplateParameter";
            AppendAttributes(xml, {{L"TemplateName", name}, {L"ParameterId", id}});
            xml += L"/>";
        }
        xml += L"</TemplatesParameter></ColumnToTemplate>";
    }
    xml += L"</ColumnsToTemplate></MemberParametersMap></ParameterMap>";
    return xml;
}

std::wstring CategoriesXml(const std::wstring& categoryId, const std::wstring& hidden,
                           const Attributes& parameters) {
    std::wstring xml = L"<Categories><Category InternalName=\"";
    xml += Escape(categoryId);
    xml += L"\" Hidden=\"";
    xml += Escape(hidden);
    xml += L"\">";
    for (const auto& [id, localized] : parameters) {
        xml += L"<CategoryParameter InternalName=\"";
        xml += Escape(id);
        xml += L"\" ValueLocalized=\"";
        xml += Escape(localized);
        xml += L"\"/>";
    }
    xml += L"</Category></Categories>";
    return xml;
}

std::wstring XmlAt(const CEncapFamily& family, const wchar_t* xpath) {
    XMLNode node;
    std::wstring xml;
    if (family.GetFamilyXML().GetRootNode().GetChildNode(xpath, node)) {
        node.GetXml(xml);
    }
    return xml;
}

std::unique_ptr<CEncapFamily> LoadFamily(const std::wstring& xml,
                                         const std::vector<std::wstring>& strings,
                                         const std::wstring& defaultLanguage) {
    return std::make_unique<CEncapFamily>(xml.c_str(), strings, L"", nullptr, defaultLanguage,
                                          false);
}

}  // namespace FamilyTest
