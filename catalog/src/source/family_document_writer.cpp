#include "source/family_document_writer.h"

#include <algorithm>
#include <set>

#include "common/utf8.h"
#include "source/xml_escape.h"
#include "vardel/xml_document_builder.h"

namespace VardelCatalog {
namespace {

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// Element by element, one per line, so a reader's messages name useful
// lines; every element also goes to the builder of the document's tree.
class XmlText {
  public:
    XmlText(std::string& out, XMLDocumentBuilder& tree)
        : out_(out), tree_(tree), line_(1 + std::count(out.begin(), out.end(), '\n')) {}

    XmlText& Open(std::string_view name) {
        out_ += '<';
        out_ += name;
        opened_ = name;
        tree_.StartElement(name, line_);
        return *this;
    }
    XmlText& Attribute(std::string_view name, std::wstring_view value) {
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        tree_.Attribute(name, AppendForBoth(value));
        out_ += '"';
        return *this;
    }
    void Children() { EndLine(">\n"); }
    void Empty() {
        EndLine("/>\n");
        tree_.EndElement();
    }
    /// Text content and the end tag of the element opened last. Readers drop
    /// text that is only blanks unless told to keep it, and a blank value is
    /// still a value.
    void Text(std::wstring_view text) {
        if (!text.empty() && text.find_first_not_of(L" \t\r\n") == std::wstring_view::npos)
            Attribute("xml:space", L"preserve");
        out_ += '>';
        tree_.Text(AppendForBoth(text));
        Close(opened_);
    }
    void Close(std::string_view name) {
        out_ += "</";
        out_ += name;
        EndLine(">\n");
        tree_.EndElement();
    }

  private:
    void EndLine(std::string_view end) {
        out_ += end;
        ++line_;
    }
    /// Appends `text` escaped and answers it as a reader gets it back: the
    /// bytes just written when nothing needed escaping, as is most often.
    std::string_view AppendForBoth(std::wstring_view text) {
        const std::size_t start = out_.size();
        AppendEscaped(out_, text);
        const std::string_view written = std::string_view(out_).substr(start);
        if (written.find('&') == std::string_view::npos)
            return written;
        unescaped_ = VardelCommon::ToUtf8(text);
        return unescaped_;
    }

    std::string& out_;
    XMLDocumentBuilder& tree_;
    long line_;
    std::string_view opened_;
    std::string unescaped_;
};

// The text in `language`, else in the first language that has one.
std::wstring_view Pick(const LocalizedTexts& texts, const std::wstring& language) {
    const auto found = texts.find(language);
    if (found != texts.end())
        return found->second;
    return texts.empty() ? std::wstring_view() : std::wstring_view(texts.begin()->second);
}

std::wstring_view BooleanText(bool value) {
    return value ? L"true" : L"false";
}

void WriteRoot(XmlText& xml, const FamilySource& family, const std::wstring& language) {
    xml.Open("Family")
        .Attribute("InternalName", family.id.ToString())
        .Attribute("DisplayName", Pick(family.displayNames, language))
        .Attribute("Description", Pick(family.descriptions, language))
        .Attribute("RevisionId", family.revisionId.ToString())
        .Attribute("LastModifiedTime", family.lastModified)
        .Attribute("Manufacturer", family.manufacturer)
        .Attribute("StandardsOrg", family.standardsOrganization)
        .Attribute("Standard", family.standard)
        .Attribute("FolderName", family.folderName)
        .Attribute("ParentLibraryName", family.parentLibraryName)
        .Attribute("ParentFamilyName", family.parentFamilyName)
        .Attribute("DataTypeCategory", family.isFeature ? kFeatureDataType : kPartDataType)
        .Children();
    if (!family.thumbnail.empty()) {
        xml.Open("Thumbnail").Children();
        xml.Open("File").Attribute("FullFileName", family.thumbnail).Empty();
        xml.Close("Thumbnail");
    }
}

void WriteCategories(XmlText& xml, const FamilySource& family,
                     std::span<const MappedParameter> mapped) {
    xml.Open("Categories").Children();
    for (const Guid& category : family.categories) {
        xml.Open("Category")
            .Attribute("InternalName", category.ToString())
            .Attribute("Hidden", L"false")
            .Children();
        for (std::size_t i = 0; i < mapped.size(); ++i) {
            if (mapped[i].category != category)
                continue;
            xml.Open("CategoryParameter")
                .Attribute("InternalName", family.parameterColumns[i].parameter.ToString())
                .Attribute("ValueLocalized", BooleanText(mapped[i].localized))
                .Empty();
        }
        xml.Close("Category");
    }
    xml.Close("Categories");
}

// The template's parameters take the ids 1, 2, ... in the order of its columns.
void WriteTemplates(XmlText& xml, const RenderedTemplate& familyTemplate,
                    std::span<const RenderedColumn> columns) {
    xml.Open("FamilyTemplates").Children();
    xml.Open("FamilyTemplate")
        .Attribute("Name", familyTemplate.name)
        .Attribute("FileName", familyTemplate.fileName)
        .Children();
    for (std::size_t i = 0; i < familyTemplate.columns.size(); ++i) {
        const std::wstring& id = familyTemplate.columns[i];
        const auto column = std::find_if(columns.begin(), columns.end(),
                                         [&](const RenderedColumn& c) { return c.id == id; });
        xml.Open("GeneralizedParameter")
            .Attribute("Id", std::to_wstring(i + 1))
            .Attribute("ObjectType", L"kUserParameterObject")
            .Attribute("ObjectReferenceKey", id)
            .Attribute("SubObjectId", L"")
            .Attribute("ValueType", column != columns.end() ? column->valueType : L"string")
            .Attribute("UnitType", column != columns.end() ? column->unitType : L"")
            .Empty();
    }
    xml.Close("FamilyTemplate");
    xml.Close("FamilyTemplates");
}

void WriteColumnsToTemplate(XmlText& xml, const RenderedTemplate& familyTemplate) {
    xml.Open("ColumnsToTemplate").Children();
    for (std::size_t i = 0; i < familyTemplate.columns.size(); ++i) {
        xml.Open("ColumnToTemplate").Attribute("TableColumn", familyTemplate.columns[i]).Children();
        xml.Open("TemplatesParameter").Children();
        xml.Open("TemplateParameter")
            .Attribute("TemplateName", familyTemplate.name)
            .Attribute("ParameterId", std::to_wstring(i + 1))
            .Empty();
        xml.Close("TemplatesParameter");
        xml.Close("ColumnToTemplate");
    }
    xml.Close("ColumnsToTemplate");
}

void WriteParameterMap(XmlText& xml, const FamilySource& family,
                       std::span<const MappedParameter> mapped,
                       const RenderedTemplate* familyTemplate) {
    xml.Open("ParameterMap").Children();
    xml.Open("MemberParametersMap").Children();
    xml.Open("ParamsToColumn").Children();
    for (std::size_t i = 0; i < mapped.size(); ++i) {
        const ParameterColumn& map = family.parameterColumns[i];
        xml.Open("ParamToColumn").Attribute("TableColumn", map.column).Children();
        xml.Open("CategoryParameterRef")
            .Attribute("Category", mapped[i].category.ToString())
            .Attribute("CategoryParameter", map.parameter.ToString())
            .Empty();
        xml.Close("ParamToColumn");
    }
    xml.Close("ParamsToColumn");
    if (familyTemplate != nullptr)
        WriteColumnsToTemplate(xml, *familyTemplate);
    xml.Close("MemberParametersMap");
    xml.Close("ParameterMap");
}

void WriteColumn(XmlText& xml, const RenderedColumn& column, const std::wstring& language) {
    const auto title = column.titles.find(language);
    xml.Open("Column")
        .Attribute("ColumnId", column.id)
        .Attribute("Title", title != column.titles.end() ? title->second : column.id)
        .Attribute("ValueType", column.valueType)
        .Attribute("UnitType", column.unitType)
        .Attribute("KeyWeight", std::to_wstring(column.keyWeight))
        .Attribute("Hidden", BooleanText(column.hidden));
    if (!column.formula.empty())
        xml.Attribute("ColumnwideValue", column.formula);
    if (column.range)
        xml.Attribute("Custom", BooleanText(true));
    xml.Empty();
}

void WriteTable(XmlText& xml, std::span<const RenderedColumn> columns,
                std::span<const RenderedRow> rows, const std::wstring& language) {
    xml.Open("FamilyTable").Children();
    xml.Open("Columns").Children();
    for (const RenderedColumn& column : columns)
        WriteColumn(xml, column, language);
    xml.Close("Columns");
    xml.Open("Rows").Children();
    for (const RenderedRow& row : rows) {
        xml.Open("Row").Attribute("RowId", row.rowId).Children();
        for (std::size_t c = 0; c < row.cells.size() && c < columns.size(); ++c) {
            if (!row.cells[c].empty())
                xml.Open("Cell").Attribute("ColumnId", columns[c].id).Text(row.cells[c]);
        }
        xml.Close("Row");
    }
    xml.Close("Rows");
    xml.Close("FamilyTable");
}

// Every language that has a name, a description or a title.
std::set<std::wstring> LanguagesOf(const FamilySource& family,
                                   std::span<const RenderedColumn> columns) {
    std::set<std::wstring> languages;
    for (const auto* texts : {&family.displayNames, &family.descriptions}) {
        for (const auto& [language, text] : *texts)
            languages.insert(language);
    }
    for (const RenderedColumn& column : columns) {
        for (const auto& [language, text] : column.titles)
            languages.insert(language);
    }
    return languages;
}

std::string StringsDocument(const FamilySource& family, std::span<const RenderedColumn> columns,
                            const std::wstring& language, XMLDocumentBuilder& tree) {
    std::string out(kDeclaration);
    XmlText xml(out, tree);
    xml.Open("FamilyStrings").Attribute("xml:lang", language).Children();
    if (const auto name = family.displayNames.find(language); name != family.displayNames.end())
        xml.Open("DisplayName").Text(name->second);
    if (const auto text = family.descriptions.find(language); text != family.descriptions.end())
        xml.Open("Description").Text(text->second);
    bool tableOpen = false;
    for (const RenderedColumn& column : columns) {
        const auto title = column.titles.find(language);
        if (title == column.titles.end())
            continue;
        if (!tableOpen)
            xml.Open("Table").Children();
        tableOpen = true;
        xml.Open("ColumnStrings").Attribute("ColumnId", column.id).Children();
        xml.Open("Title").Text(title->second);
        xml.Close("ColumnStrings");
    }
    if (tableOpen)
        xml.Close("Table");
    xml.Close("FamilyStrings");
    return out;
}

}  // namespace

void RenderFamilyDocuments(FamilySource& family, std::span<const RenderedColumn> columns,
                           std::span<const RenderedRow> rows,
                           std::span<const MappedParameter> mapped,
                           const RenderedTemplate* familyTemplate,
                           std::wstring_view defaultLanguage, RenderedTrees& trees) {
    std::string& out = family.document;
    out.clear();
    out.reserve(1024 + 48 * columns.size() * (rows.size() + 2));
    out += kDeclaration;
    XMLDocumentBuilder tree;
    XmlText xml(out, tree);
    const std::wstring language(defaultLanguage);
    WriteRoot(xml, family, language);
    WriteCategories(xml, family, mapped);
    if (familyTemplate != nullptr)
        WriteTemplates(xml, *familyTemplate, columns);
    WriteParameterMap(xml, family, mapped, familyTemplate);
    WriteTable(xml, columns, rows, language);
    xml.Close("Family");
    trees.document = tree.Finish();

    family.strings.clear();
    trees.strings.clear();
    for (const std::wstring& other : LanguagesOf(family, columns)) {
        family.strings.emplace(other, StringsDocument(family, columns, other, tree));
        trees.strings.push_back(tree.Finish());
    }
}

}  // namespace VardelCatalog
