// A family document of the system's own format, with its strings documents:
// the facts the catalogue indexes are read out of it, and the bytes are kept
// exactly as read (the server hands them out as they were written).
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "source/family_document_writer.h"
#include "source/family_readers.h"
#include "source/name_guid.h"
#include "source/source_file.h"
#include "source/source_readers.h"
#include "source/source_values.h"
#include "source/xml_source.h"

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
        XMLParser parser;
        if (!xml_.Load(document, parser, nullptr))
            return false;
        const XMLNode root = parser.GetRootNode();
        family_.file = xml_.file();
        if (!ReadProperties(root) || !ReadCategories(root) || !ReadColumns(root) ||
            !ReadRows(root) || !ReadMappings(root) || !ReadStrings(strings)) {
            return false;
        }
        AddDefaultTexts(root);
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

    bool ReadColumns(const XMLNode& root) {
        const XMLNodeArray elements = Select(root, L"FamilyTable/Columns/Column");
        for (int i = 0; i < elements.GetSize(); ++i) {
            ColumnSource column;
            int keyWeight = 0;
            bool hidden = false;
            if (!xml_.Text(elements[i], L"ColumnId", column.id, true) ||
                !xml_.ValueType(elements[i], L"ValueType", column.valueType) ||
                !xml_.Text(elements[i], L"UnitType", column.unitType) ||
                !xml_.Text(elements[i], L"ColumnwideValue", column.formula) ||
                !xml_.KeyWeight(elements[i], L"KeyWeight", 0, keyWeight) ||
                !xml_.Boolean(elements[i], L"Hidden", hidden)) {
                return false;
            }
            if (!columnIndex_.emplace(column.id, family_.columns.size()).second)
                return xml_.Fail(elements[i], "duplicate column " + Narrow(column.id));
            family_.columns.push_back(std::move(column));
        }
        return true;
    }

    static constexpr std::size_t kNoColumn = static_cast<std::size_t>(-1);

    // The column an element's attribute names, or kNoColumn after an error.
    std::size_t NamedColumn(const XMLNode& element, const wchar_t* attribute) const {
        std::wstring id;
        if (!xml_.Text(element, attribute, id, true))
            return kNoColumn;
        const auto found = columnIndex_.find(id);
        if (found == columnIndex_.end()) {
            xml_.Fail(element, "no column has the id " + Narrow(id));
            return kNoColumn;
        }
        return found->second;
    }

    bool ReadRows(const XMLNode& root) {
        const XMLNodeArray rows = Select(root, L"FamilyTable/Rows/Row");
        std::unordered_set<std::wstring> rowIds;
        for (int r = 0; r < rows.GetSize(); ++r) {
            MemberSource member;
            if (!xml_.Text(rows[r], L"RowId", member.rowId, true))
                return false;
            if (!rowIds.insert(member.rowId).second)
                return xml_.Fail(rows[r], "duplicate row id " + Narrow(member.rowId));
            if (!ReadCells(rows[r], member))
                return false;
            family_.members.push_back(std::move(member));
        }
        return true;
    }

    bool ReadCells(const XMLNode& row, MemberSource& member) const {
        member.cells.resize(family_.columns.size());
        std::vector<bool> seen(family_.columns.size());
        const XMLNodeArray cells = ChildElements(row, L"Cell");
        for (int i = 0; i < cells.GetSize(); ++i) {
            const std::size_t column = NamedColumn(cells[i], L"ColumnId");
            if (column == kNoColumn)
                return false;
            if (seen[column])
                return xml_.Fail(cells[i],
                                 "a second cell of column " + Narrow(family_.columns[column].id));
            seen[column] = true;
            cells[i].GetNodeText(member.cells[column]);
        }
        return true;
    }

    bool ReadMappings(const XMLNode& root) {
        const XMLNodeArray maps =
            Select(root, L"ParameterMap/MemberParametersMap/ParamsToColumn/ParamToColumn");
        for (int m = 0; m < maps.GetSize(); ++m) {
            const std::size_t column = NamedColumn(maps[m], L"TableColumn");
            if (column == kNoColumn)
                return false;
            const XMLNodeArray refs = ChildElements(maps[m], L"CategoryParameterRef");
            for (int r = 0; r < refs.GetSize(); ++r) {
                if (!ReadMapping(refs[r], column))
                    return false;
            }
        }
        return true;
    }

    bool ReadMapping(const XMLNode& ref, std::size_t column) {
        Guid parameter;
        if (!xml_.Id(ref, L"CategoryParameter", parameter))
            return false;
        const std::string text = Narrow(parameter.ToString());
        if (index_.FindParameter(parameter) == nullptr)
            return xml_.Fail(ref, "no parameter of the library has the id " + text);
        for (const ParameterColumn& mapped : family_.parameterColumns) {
            if (mapped.parameter == parameter)
                return xml_.Fail(ref, "parameter " + text + " mapped twice");
        }
        family_.parameterColumns.push_back({parameter, column});
        return true;
    }

    bool ReadStrings(const std::vector<StringsFile>& strings) {
        for (const auto& [file, bytes] : strings) {
            const XmlSource source(file, error_);
            XMLParser parser;
            std::wstring language;
            if (!source.Load(bytes, parser, nullptr))
                return false;
            const XMLNode root = parser.GetRootNode();
            if (!source.Text(root, L"xml:lang", language, true))
                return false;
            language = LanguageKey(language);
            if (!family_.strings.emplace(language, bytes).second)
                return source.Fail(root,
                                   "a second strings document of language " + Narrow(language));
            AddText(root, L"DisplayName", language, family_.displayNames);
            AddText(root, L"Description", language, family_.descriptions);
        }
        return true;
    }

    static void AddText(const XMLNode& root, const wchar_t* child, const std::wstring& language,
                        LocalizedTexts& texts) {
        XMLNode element;
        std::wstring text;
        if (root.GetChildNode(child, element) && element.GetNodeText(text) && !text.empty())
            texts.emplace(language, std::move(text));
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
    std::unordered_map<std::wstring, std::size_t> columnIndex_;
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
