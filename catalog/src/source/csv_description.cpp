#include "source/csv_description.h"

#include <algorithm>
#include <unordered_set>

#include "common/case_fold.h"
#include "common/wide_path.h"
#include "source/family_readers.h"
#include "source/name_guid.h"
#include "source/root_attribute.h"
#include "source/source_values.h"
#include "source/xml_source.h"

namespace VardelCatalog {
namespace {

// NAME.csv for the description NAME.csvfamily.xml.
std::wstring DefaultTable(const std::filesystem::path& file) {
    std::string name = file.filename().string();
    name = name.ends_with(kCsvFamilySuffix) ? name.substr(0, name.size() - kCsvFamilySuffix.size())
                                            : file.stem().string();
    return VardelCommon::FromUtf8(name + ".csv");
}

class DescriptionReader {
  public:
    DescriptionReader(const std::filesystem::path& file, const LibraryIndex& index,
                      CsvDescription& description, SourceError& error)
        : xml_(file, error),
          index_(index),
          description_(description),
          family_(description.family) {}

    bool Read(std::string_view bytes) {
        XMLParser parser;
        if (!xml_.Load(bytes, parser, L"CsvFamily"))
            return false;
        const XMLNode root = parser.GetRootNode();
        return ReadProperties(root) && ReadTable(root) && ReadNames(root) && ReadCategories(root) &&
               ReadColumns(root) && ReadMaps(root) && ReadTemplate(root);
    }

  private:
    bool ReadProperties(const XMLNode& root) {
        std::wstring kind = L"part";
        std::optional<Guid> revision;
        family_.file = xml_.file();
        if (!xml_.Id(root, L"Id", family_.id) || !xml_.Text(root, L"Kind", kind) ||
            !xml_.Text(root, L"Standard", family_.standard) ||
            !xml_.Text(root, L"StandardsOrganization", family_.standardsOrganization) ||
            !xml_.Text(root, L"Manufacturer", family_.manufacturer) ||
            !xml_.Text(root, L"FolderName", family_.folderName) ||
            !xml_.Time(root, L"LastModified", family_.lastModified, true) ||
            !xml_.OptionalId(root, L"Revision", revision) ||
            !xml_.Text(root, L"Thumbnail", family_.thumbnail) ||
            !xml_.Text(root, L"ParentLibraryName", family_.parentLibraryName) ||
            !xml_.Text(root, L"ParentFamilyName", family_.parentFamilyName)) {
            return false;
        }
        if (!VardelCommon::EqualsNoCase(kind, L"part") &&
            !VardelCommon::EqualsNoCase(kind, L"feature"))
            return xml_.Fail(root,
                             "attribute Kind: \"" + Narrow(kind) + "\" is not part or feature");
        family_.isFeature = VardelCommon::EqualsNoCase(kind, L"feature");
        family_.revisionId =
            revision ? *revision : DerivedRevision(family_.id, family_.lastModified);
        return true;
    }

    bool ReadTable(const XMLNode& root) {
        std::wstring table = DefaultTable(xml_.file());
        if (!xml_.Text(root, L"Table", table))
            return false;
        description_.table = VardelCommon::ToPath(table);
        if (table.empty() || description_.table.has_root_path())
            return xml_.Fail(root, "attribute Table must be a path relative to the description");
        description_.table = xml_.file().parent_path() / description_.table;
        return true;
    }

    bool ReadNames(const XMLNode& root) {
        if (!xml_.LocalizedTexts(root, L"Name", family_.displayNames) ||
            !xml_.LocalizedTexts(root, L"Description", family_.descriptions)) {
            return false;
        }
        return !family_.displayNames.empty() || xml_.Fail(root, "no Name element");
    }

    bool ReadCategories(const XMLNode& root) {
        const XMLNodeArray elements = ChildElements(root, L"Category");
        for (int i = 0; i < elements.GetSize(); ++i) {
            Guid id;
            if (!xml_.Id(elements[i], L"Ref", id))
                return false;
            if (index_.FindCategory(id) == nullptr)
                return xml_.Fail(elements[i],
                                 "no category of the library has the id " + Narrow(id.ToString()));
            if (std::find(family_.categories.begin(), family_.categories.end(), id) !=
                family_.categories.end()) {
                return xml_.Fail(elements[i], "category " + Narrow(id.ToString()) + " given twice");
            }
            family_.categories.push_back(id);
        }
        return !family_.categories.empty() || xml_.Fail(root, "the family is in no category");
    }

    bool ReadColumns(const XMLNode& root) {
        const XMLNodeArray elements = ChildElements(root, L"Column");
        for (int i = 0; i < elements.GetSize(); ++i) {
            CsvColumn read;
            RenderedColumn& column = read.column;
            read.line = elements[i].GetLineNumber();
            if (!xml_.Text(elements[i], L"Name", column.id, true) ||
                !xml_.ValueType(elements[i], L"Type", column.valueType) ||
                !xml_.Text(elements[i], L"Unit", column.unitType) ||
                !xml_.KeyWeight(elements[i], L"Key", 1, column.keyWeight) ||
                !xml_.Boolean(elements[i], L"Hidden", column.hidden) ||
                !xml_.LocalizedTexts(elements[i], L"Title", column.titles) ||
                !ReadFormula(elements[i], column)) {
                return false;
            }
            if (column.id.empty())
                return xml_.Fail(elements[i], "attribute Name is empty");
            if (!columnNames_.insert(column.id).second)
                return xml_.Fail(elements[i], "duplicate column " + Narrow(column.id));
            description_.columns.push_back(std::move(read));
        }
        return true;
    }

    // The family model checks the formula itself once the table is rendered.
    bool ReadFormula(const XMLNode& element, RenderedColumn& column) const {
        std::wstring range;
        if (!xml_.Text(element, L"Formula", column.formula) ||
            !xml_.Text(element, L"Range", range)) {
            return false;
        }
        if (range.empty())
            return true;
        if (!column.formula.empty())
            return xml_.Fail(element, "a column has a Formula or a Range, not both");
        column.formula = std::move(range);
        column.range = true;
        return true;
    }

    bool ReadMaps(const XMLNode& root) {
        const XMLNodeArray elements = ChildElements(root, L"Map");
        for (int i = 0; i < elements.GetSize(); ++i) {
            CsvMap map;
            map.line = elements[i].GetLineNumber();
            if (!xml_.Id(elements[i], L"Parameter", map.parameter) ||
                !xml_.Text(elements[i], L"Column", map.column, true) ||
                !CheckMap(elements[i], map)) {
                return false;
            }
            description_.maps.push_back(std::move(map));
        }
        return true;
    }

    bool CheckMap(const XMLNode& element, CsvMap& map) {
        const std::string parameter = Narrow(map.parameter.ToString());
        if (index_.FindParameter(map.parameter) == nullptr)
            return xml_.Fail(element, "no parameter of the library has the id " + parameter);
        const Guid* holder = index_.HolderOf(map.parameter, family_.categories);
        if (holder == nullptr) {
            return xml_.Fail(element, "parameter " + parameter +
                                          " belongs to none of the family's categories or "
                                          "their ancestors");
        }
        map.category = *holder;
        if (!columnNames_.contains(map.column))
            return xml_.Fail(element, "no Column is named " + Narrow(map.column));
        for (const CsvMap& other : description_.maps) {
            if (other.parameter == map.parameter)
                return xml_.Fail(element, "parameter " + parameter + " mapped twice");
        }
        return true;
    }

    // At most one Template; each of its Parameter elements names a column
    // once.
    bool ReadTemplate(const XMLNode& root) {
        const XMLNodeArray elements = ChildElements(root, L"Template");
        if (elements.GetSize() == 0)
            return true;
        if (elements.GetSize() > 1)
            return xml_.Fail(elements[1], "a family has one Template");
        RenderedTemplate& read = description_.familyTemplate.emplace();
        if (!xml_.Text(elements[0], L"Name", read.name, true) ||
            !xml_.Text(elements[0], L"FileName", read.fileName, true)) {
            return false;
        }
        if (read.name.empty())
            return xml_.Fail(elements[0], "attribute Name is empty");
        const XMLNodeArray parameters = ChildElements(elements[0], L"Parameter");
        for (int i = 0; i < parameters.GetSize(); ++i) {
            std::wstring column;
            if (!xml_.Text(parameters[i], L"Column", column, true))
                return false;
            if (!columnNames_.contains(column))
                return xml_.Fail(parameters[i], "no Column is named " + Narrow(column));
            if (std::find(read.columns.begin(), read.columns.end(), column) != read.columns.end())
                return xml_.Fail(parameters[i], "column " + Narrow(column) + " given twice");
            read.columns.push_back(std::move(column));
        }
        return true;
    }

    XmlSource xml_;
    const LibraryIndex& index_;
    CsvDescription& description_;
    FamilySource& family_;
    std::unordered_set<std::wstring> columnNames_;
};

}  // namespace

bool ParseCsvDescription(std::string_view bytes, const std::filesystem::path& file,
                         const LibraryIndex& index, CsvDescription& description,
                         SourceError& error) {
    description = CsvDescription();
    return DescriptionReader(file, index, description, error).Read(bytes);
}

// The root's start tag usually settles it; parsing a whole description
// just for one attribute made estimating a build cost as much as reading it.
std::filesystem::path CsvTableOf(std::string_view bytes, const std::filesystem::path& file) {
    std::wstring table;
    if (const RootAttribute scan = ScanRootAttribute(bytes, "Table"); scan.decided) {
        table = scan.value ? VardelCommon::FromUtf8(*scan.value) : DefaultTable(file);
    } else {
        XMLParser parser;
        if (!parser.LoadXmlBytes(bytes))
            return {};
        if (!parser.GetRootNode().GetProperty(L"Table", table))
            table = DefaultTable(file);
    }
    return file.parent_path() / VardelCommon::ToPath(table);
}

}  // namespace VardelCatalog
