// A family document of the system's own format, with its strings documents:
// loaded into the family model, which gives the table, the column-to-
// parameter mappings and the texts of every language; the properties and
// categories the catalogue indexes are read from the same loaded document.
// The bytes are kept exactly as read (the server hands them out as they
// were written).
#include <algorithm>
#include <unordered_set>

#include "common/case_fold.h"
#include "source/family_document_writer.h"
#include "source/family_readers.h"
#include "source/loaded_family.h"
#include "source/name_guid.h"
#include "source/source_file.h"
#include "source/source_readers.h"
#include "source/source_values.h"
#include "source/xml_source.h"
#include "vardel/family_table.h"

namespace VardelCatalog {
namespace {

XMLNodeArray Select(const XMLNode& from, const wchar_t* path) {
    XMLNodeArray nodes;
    from.SelectChildNodes(path, nodes);
    return nodes;
}

class DocumentReader {
  public:
    DocumentReader(const std::filesystem::path& file, const LibraryIndex& index,
                   FamilySource& family, SourceError& error)
        : xml_(file, error), index_(index), family_(family), error_(error) {}

    bool Read(std::string document, const std::vector<StringsFile>& strings) {
        std::vector<std::string_view> stringsBytes;
        for (const auto& [file, bytes] : strings)
            stringsBytes.push_back(bytes);
        const LoadedFamily model(document, stringsBytes, index_.library().defaultLanguage);
        int line = 0;
        std::string message;
        if (!model.Loaded(line, message))
            return xml_.FailAt(line, {}, message);
        const XMLNode root = model.Root();
        table_ = model.Table();
        family_.file = xml_.file();
        if (!ReadProperties(root) || !ReadCategories(root) || !CheckTable() ||
            !CheckFormulas(model) || !ReadMappings(model) || !ReadStrings(model, strings)) {
            return false;
        }
        model.ReadTexts(family_.displayNames, family_.descriptions);
        AddDefaultTexts(root);
        model.ReadMembers(family_.parameterColumns, family_.members);
        family_.document = std::move(document);
        return true;
    }

  private:
    bool ReadProperties(const XMLNode& root) {
        std::optional<Guid> revision, dataType;
        XMLNode thumbnail;
        if (!xml_.Id(root, L"InternalName", family_.id) ||
            !xml_.Time(root, L"LastModifiedTime", family_.lastModified, true) ||
            !xml_.OptionalId(root, L"RevisionId", revision) ||
            !xml_.Text(root, L"Manufacturer", family_.manufacturer) ||
            !xml_.Text(root, L"StandardsOrg", family_.standardsOrganization) ||
            !xml_.Text(root, L"Standard", family_.standard) ||
            !xml_.Text(root, L"FolderName", family_.folderName) ||
            !xml_.Text(root, L"ParentLibraryName", family_.parentLibraryName) ||
            !xml_.Text(root, L"ParentFamilyName", family_.parentFamilyName) ||
            !xml_.OptionalId(root, L"DataTypeCategory", dataType) ||
            (root.GetChildNode(L"Thumbnail/File", thumbnail) &&
             !xml_.Text(thumbnail, L"FullFileName", family_.thumbnail))) {
            return false;
        }
        family_.revisionId =
            revision ? *revision : DerivedRevision(family_.id, family_.lastModified);
        family_.isFeature = dataType && *dataType == *Guid::Parse(kFeatureDataType);
        if (dataType && !family_.isFeature && *dataType != *Guid::Parse(kPartDataType))
            return xml_.Fail(root, "attribute DataTypeCategory names neither parts nor features");
        return true;
    }

    bool ReadCategories(const XMLNode& root) {
        const XMLNodeArray elements = Select(root, L"Categories//Category");
        for (int i = 0; i < elements.GetSize(); ++i) {
            std::wstring text;
            elements[i].GetProperty(L"InternalName", text);
            const auto id = Guid::Parse(text);
            if (id && index_.FindCategory(*id) != nullptr &&
                std::find(family_.categories.begin(), family_.categories.end(), *id) ==
                    family_.categories.end()) {
                family_.categories.push_back(*id);
            }
        }
        return !family_.categories.empty() ||
               xml_.Fail(root, "the family is in no category of the library");
    }

    // The table leaves out a column without id or repeating one exactly, and
    // a row without id or repeating one in any case; a build refuses them
    // rather than lose members silently. The elements are walked only when
    // the table holds fewer than the document.
    bool CheckTable() const {
        if (table_ == nullptr)
            return true;
        const XMLNode node = table_->GetXMLNode();
        const std::vector<XMLNode> columns = Elements(node, L"Columns", L"Column");
        if (columns.size() != static_cast<std::size_t>(table_->GetColumnsCount()) &&
            !FindLeftOut(columns, L"ColumnId", "duplicate column ", false)) {
            return false;
        }
        const std::vector<XMLNode> rows = Elements(node, L"Rows", L"Row");
        return rows.size() == static_cast<std::size_t>(table_->GetRowsCount()) ||
               FindLeftOut(rows, L"RowId", "duplicate row id ", true);
    }

    // The elements `name` of every child `group` of `node`, in order.
    static std::vector<XMLNode> Elements(const XMLNode& node, const wchar_t* group,
                                         const wchar_t* name) {
        std::vector<XMLNode> elements;
        const XMLNodeArray groups = ChildElements(node, group);
        for (int g = 0; g < groups.GetSize(); ++g) {
            const XMLNodeArray children = ChildElements(groups[g], name);
            for (int i = 0; i < children.GetSize(); ++i)
                elements.push_back(children[i]);
        }
        return elements;
    }

    // Fails at the first element without `attribute` or repeating an earlier
    // one's (ignoring case when `anyCase`).
    bool FindLeftOut(const std::vector<XMLNode>& elements, const wchar_t* attribute,
                     const std::string& duplicate, bool anyCase) const {
        std::unordered_set<std::wstring> seen;
        for (const XMLNode& element : elements) {
            std::wstring id;
            if (!xml_.Text(element, attribute, id, true))
                return false;
            if (!seen.insert(anyCase ? VardelCommon::ToUpper(id) : id).second)
                return xml_.Fail(element, duplicate + Narrow(id));
        }
        return true;
    }

    bool CheckFormulas(const LoadedFamily& model) const {
        const auto fault = model.FindFormulaFault();
        return !fault ||
               xml_.Fail(fault->column->GetXMLNode(),
                         "column " + Narrow(fault->column->GetColumnID()) + ": " + fault->what);
    }

    bool ReadMappings(const LoadedFamily& model) {
        for (const ColumnMapping& map : model.ReadMappings()) {
            const CEncapFamilyColumn* column =
                table_ != nullptr ? table_->GetFamilyColumnByID(map.column) : nullptr;
            if (column == nullptr)
                return xml_.Fail(map.element, "no column has the id " + Narrow(map.column));
            if (!map.parameter.empty() && !ReadMapping(map, column->GetColumnID()))
                return false;
        }
        return true;
    }

    bool ReadMapping(const ColumnMapping& map, const std::wstring& column) {
        const auto parameter = Guid::Parse(map.parameter);
        if (!parameter)
            return xml_.Fail(map.reference, "attribute CategoryParameter: \"" +
                                                Narrow(map.parameter) + "\" is not a GUID");
        const std::string text = Narrow(parameter->ToString());
        if (index_.FindParameter(*parameter) == nullptr)
            return xml_.Fail(map.reference, "no parameter of the library has the id " + text);
        for (const ParameterColumn& mapped : family_.parameterColumns) {
            if (mapped.parameter == *parameter)
                return xml_.Fail(map.reference, "parameter " + text + " mapped twice");
        }
        family_.parameterColumns.push_back({*parameter, column});
        return true;
    }

    // Each strings document names its language once; the texts come from
    // the model afterwards.
    bool ReadStrings(const LoadedFamily& model, const std::vector<StringsFile>& strings) {
        if (const auto& fault = model.FindStringsFault()) {
            const XmlSource source(strings[fault->index].first, error_);
            return source.FailAt(fault->line, {}, fault->what);
        }
        for (std::size_t i = 0; i < strings.size(); ++i) {
            const XmlSource source(strings[i].first, error_);
            const XMLNode root = model.StringsRoot(i);
            std::wstring language;
            if (!source.Text(root, L"xml:lang", language, true))
                return false;
            language = LanguageKey(language);
            if (!family_.strings.emplace(language, strings[i].second).second)
                return source.Fail(root,
                                   "a second strings document of language " + Narrow(language));
        }
        return true;
    }

    // The root's names stand for the library's default language when no
    // strings document gives one.
    void AddDefaultTexts(const XMLNode& root) const {
        const std::wstring& language = index_.library().defaultLanguage;
        std::wstring text;
        if (root.GetProperty(L"DisplayName", text) && !text.empty())
            family_.displayNames.emplace(language, text);
        if (root.GetProperty(L"Description", text) && !text.empty())
            family_.descriptions.emplace(language, text);
    }

    XmlSource xml_;
    const LibraryIndex& index_;
    FamilySource& family_;
    SourceError& error_;
    const CEncapFamilyTable* table_ = nullptr;
};

// NAME.strings.*.xml beside NAME.family.xml.
std::vector<std::filesystem::path> StringsFilesOf(const std::filesystem::path& file,
                                                  const LibraryIndex& index) {
    std::string name = file.filename().string();
    name.resize(name.size() - std::min(name.size(), kFamilyDocumentSuffix.size()));
    std::vector<std::filesystem::path> files =
        index.FilesStartingWith(file.parent_path(), name + ".strings.");
    std::erase_if(files, [](const auto& path) { return !path.string().ends_with(".xml"); });
    return files;
}

}  // namespace

bool ParseFamilyDocument(std::string document, const std::vector<StringsFile>& strings,
                         const std::filesystem::path& file, const LibraryIndex& index,
                         FamilySource& family, SourceError& error) {
    family = FamilySource();
    return DocumentReader(file, index, family, error).Read(std::move(document), strings);
}

bool ReadFamilyDocument(const std::filesystem::path& file, const LibraryIndex& index,
                        FamilySource& family, SourceError& error) {
    std::string document;
    if (!ReadSourceFile(file, document, error))
        return false;
    std::vector<StringsFile> strings;
    for (const std::filesystem::path& path : StringsFilesOf(file, index)) {
        strings.emplace_back(path, std::string());
        if (!ReadSourceFile(path, strings.back().second, error))
            return false;
    }
    return ParseFamilyDocument(std::move(document), strings, file, index, family, error);
}

}  // namespace VardelCatalog
