// The localised texts of a family in its strings documents: the actual
// language, localised cells and column properties, localised constants,
// saving the strings files and the family copy that carries every language.
#include <cstdint>
#include <string_view>

#include "common/atomic_file.h"
#include "common/utf16.h"
#include "common/utf8.h"
#include "common/wide_path.h"
#include "family/family_paths.h"
#include "vardel/family.h"
#include "vardel/xml_node_array.h"
#include "xml/element_scan.h"

using VardelFamily::ChildNamed;
using VardelFamily::DocumentElement;
using VardelFamily::RemoveAll;
using VardelFamily::WhereAttribute;
using VardelFamily::WhereAttributes;

namespace {

// "Table/ColumnStrings[@ColumnId = id]".
std::wstring ColumnStringsPath(const std::wstring& columnId) {
    return WhereAttribute(L"Table/ColumnStrings", L"ColumnId", columnId);
}

// The "CellString" of a row below the column's strings.
std::wstring CellStringPath(const std::wstring& rowId, const std::wstring& columnId) {
    std::wstring path = ColumnStringsPath(columnId);
    path += L'/';
    path += WhereAttribute(L"Rows/CellString", L"RowId", rowId);
    return path;
}

std::wstring ColumnPropertyPath(const std::wstring& property, const std::wstring& columnId) {
    std::wstring path = ColumnStringsPath(columnId);
    path += L'/';
    path += ChildNamed(property);
    return path;
}

std::wstring CategoryConstantPath(const std::wstring& parameterId) {
    return WhereAttribute(L"ConstantValues/ConstantValue", L"CategoryParameter", parameterId);
}

// 0 and the text of the node the XPath `path()` gives selects below `root`,
// else 1. `firstStep` is the path's first step, a child's plain name: a
// strings document without that child (most hold no table strings, and
// every family has one without any text) answers at once, without building
// or running a query.
template <typename Path>
long ReadText(const XMLNode& root, const char* firstStep, Path path, std::wstring& value) {
    if (!VardelXml::FindChild(root, firstStep).IsNode()) {
        return 1;
    }
    XMLNode node;
    std::wstring text;
    if (!root.GetChildNode(std::wstring(path()).c_str(), node) || !node.GetNodeText(text)) {
        return 1;
    }
    value = std::move(text);
    return 0;
}

// The child `element` of `parent` whose `attribute` is `value`, appended
// with that attribute when there is none.
XMLNode FindOrAppend(XMLNode& parent, const wchar_t* element, const wchar_t* attribute,
                     const std::wstring& value) {
    XMLNode child;
    if (!parent.GetChildNode(WhereAttribute(element, attribute, value).c_str(), child)) {
        child = parent.AddNode(element, nullptr, attribute, value.c_str());
    }
    return child;
}

XMLNode ColumnStrings(XMLNode& root, const std::wstring& columnId) {
    XMLNode table = root.GetOrAddNode(L"Table");
    return FindOrAppend(table, L"ColumnStrings", L"ColumnId", columnId);
}

// Sets the column property in one strings document; an empty value removes it.
void SetColumnProperty(XMLNode root, const std::wstring& property, const std::wstring& columnId,
                       const std::wstring& value) {
    XMLNode column = ColumnStrings(root, columnId);
    XMLNode node;
    const bool found = column.GetChildNode(ChildNamed(property).c_str(), node);
    if (value.empty()) {
        if (found) {
            node.RemoveThisNode(true);
        }
        return;
    }
    if (!found) {
        node = column.AddNode(property.c_str());
    }
    node.SetNodeText(value);
}

// "<folder>/FamilyStrings.<KEY>.xml" beside `fullFileName`, reading "/" and
// "\" as separators and writing "/"; empty when the name holds no folder or
// the key holds a separator (a language must not lead out of the folder).
std::wstring StringsFileName(const std::wstring& fullFileName, const std::wstring& key) {
    const std::size_t last = fullFileName.find_last_of(L"/\\");
    if (last == std::wstring::npos || key.find_first_of(L"/\\") != std::wstring::npos) {
        return {};
    }
    std::wstring name = fullFileName.substr(0, last + 1);
    for (wchar_t& c : name) {
        if (c == L'\\') {
            c = L'/';
        }
    }
    name += L"FamilyStrings.";
    name += key;
    name += L".xml";
    return name;
}

// Writes `text` as UTF-16LE code units without byte-order mark.
bool WriteUtf16File(const std::wstring& path, const std::wstring& text) {
    const std::u16string units = VardelCommon::ToUtf16(text);
    std::string bytes;
    bytes.reserve(units.size() * 2);
    for (const char16_t unit : units) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return VardelCommon::WriteFileAtomically(VardelCommon::ToPath(path), bytes);
}

}  // namespace

void CEncapFamily::GetActualLanguage(std::wstring& language) const {
    if (!languages_.empty()) {
        language = languages_.front();
    }
}

int CEncapFamily::GetFamStringsCount() const {
    return static_cast<int>(languages_.size());
}

bool CEncapFamily::GetStringsFamilyXML(int index, XMLParser& document) const {
    if (index < 0 || static_cast<std::size_t>(index) >= languages_.size()) {
        return false;
    }
    const XMLParser* strings = StringsDocument(languages_[static_cast<std::size_t>(index)]);
    if (strings == nullptr) {
        return false;
    }
    document = *strings;
    return true;
}

bool CEncapFamily::GetFamilyXMLCopyWithStrings(XMLParser& document) const {
    std::wstring xml;
    if (!document_.GetXml(xml) || !document.SetXml(xml.c_str())) {
        return false;
    }
    XMLNode root = DocumentElement(document);
    if (!root.IsNode()) {
        return false;
    }
    // Strings files named in the family are replaced by their content.
    RemoveAll(root, L".//FamilyStrings");
    for (const XMLNode& strings : AllStringsRoots()) {
        root.ImportNode(strings, true);
    }
    return true;
}

bool CEncapFamily::SaveFamilyStringsXMLs() const {
    XMLNode file;
    std::wstring fullFileName;
    if (!Root().GetChildNode(L"FamilyStrings/File", file) ||
        !file.GetProperty(L"FullFileName", fullFileName) || fullFileName.empty()) {
        return false;
    }
    for (const auto& [key, document] : strings_) {
        const std::wstring path = StringsFileName(fullFileName, key);
        std::wstring text;
        if (path.empty() || !document.GetXml(text) || !WriteUtf16File(path, text)) {
            return false;
        }
    }
    return true;
}

// Localised cells.

long CEncapFamily::GetLocalizedCellValue(const std::wstring& rowId, const std::wstring& columnId,
                                         std::wstring& value) const {
    return GetLocalizedCellValue(rowId, columnId, ActualLanguage(), value);
}

long CEncapFamily::GetLocalizedCellValue(const std::wstring& rowId, const std::wstring& columnId,
                                         const std::wstring& language, std::wstring& value) const {
    return ReadText(
        StringsRoot(language), "Table", [&] { return CellStringPath(rowId, columnId); }, value);
}

void CEncapFamily::SetLocalizedCellValue(const std::wstring& rowId, const std::wstring& columnId,
                                         const std::wstring& value) {
    SetLocalizedCellValue(rowId, columnId, ActualLanguage(), value);
}

void CEncapFamily::SetLocalizedCellValue(const std::wstring& rowId, const std::wstring& columnId,
                                         const std::wstring& language, const std::wstring& value) {
    XMLNode root = StringsRoot(language);
    if (!root.IsNode() || !IsFamilyColumnLocalized(columnId)) {
        return;
    }
    XMLNode rows = ColumnStrings(root, columnId).GetOrAddNode(L"Rows");
    XMLNode cell;
    const bool found =
        rows.GetChildNode(WhereAttribute(L"CellString", L"RowId", rowId).c_str(), cell);
    if (value.empty()) {
        if (found) {
            cell.RemoveThisNode(true);
        }
    } else if (found) {
        cell.SetNodeText(value);
    } else {
        rows.AddNode(L"CellString", value.c_str(), L"RowId", rowId.c_str());
    }
}

void CEncapFamily::DeleteLocalizedCellsValues(const std::wstring& rowId,
                                              const std::wstring& columnId, bool allLanguages) {
    const std::wstring path =
        columnId.empty() ? WhereAttribute(L"Table/ColumnStrings/Rows/CellString", L"RowId", rowId)
                         : CellStringPath(rowId, columnId);
    const std::vector<XMLNode> roots =
        allLanguages ? AllStringsRoots() : std::vector<XMLNode>{StringsRoot(ActualLanguage())};
    for (const XMLNode& root : roots) {
        RemoveAll(root, path);
    }
}

// Localised column properties.

long CEncapFamily::GetLocalizedColumnPropertyValue(const std::wstring& property,
                                                   const std::wstring& columnId,
                                                   std::wstring& value) const {
    return GetLocalizedColumnPropertyValue(property, columnId, ActualLanguage(), value);
}

long CEncapFamily::GetLocalizedColumnPropertyValue(const std::wstring& property,
                                                   const std::wstring& columnId,
                                                   const std::wstring& language,
                                                   std::wstring& value) const {
    return ReadText(
        StringsRoot(language), "Table", [&] { return ColumnPropertyPath(property, columnId); },
        value);
}

void CEncapFamily::SetLocalizedColumnPropertyValue(const std::wstring& property,
                                                   const std::wstring& columnId,
                                                   const std::wstring& language,
                                                   const std::wstring& value) {
    const XMLNode root = StringsRoot(language);
    if (root.IsNode()) {
        SetColumnProperty(root, property, columnId, value);
    }
}

void CEncapFamily::SetLocalizedColumnPropertyValue(const std::wstring& property,
                                                   const std::wstring& columnId,
                                                   const std::wstring& value) {
    for (const XMLNode& root : AllStringsRoots()) {
        SetColumnProperty(root, property, columnId, value);
    }
}

void CEncapFamily::DeleteLocalizedColumnPropertyValues(const std::wstring& columnId) {
    std::wstring path = ColumnStringsPath(columnId);
    path += L"/*[self::Title or self::ColumnwideValue]";
    for (const XMLNode& root : AllStringsRoots()) {
        RemoveAll(root, path);
    }
}

// Localised constants and root texts.

bool CEncapFamily::GetLocalizedCatParamConstValue(const std::wstring& parameterId,
                                                  std::wstring& value) const {
    return ReadText(
               StringsRoot(ActualLanguage()), "ConstantValues",
               [&] { return CategoryConstantPath(parameterId); }, value) == 0;
}

void CEncapFamily::SetLocalizedCatParamConstValue(const std::wstring& parameterId,
                                                  const std::wstring& value) {
    const std::wstring path = CategoryConstantPath(parameterId);
    for (XMLNode root : AllStringsRoots()) {
        XMLNode constant;
        if (root.GetChildNode(path.c_str(), constant)) {
            if (value.empty()) {
                constant.RemoveThisNode(true);
            } else {
                constant.SetNodeText(value);
            }
        } else if (!value.empty()) {
            root.GetOrAddNode(L"ConstantValues")
                .AddNode(L"ConstantValue", value.c_str(), L"CategoryParameter",
                         parameterId.c_str());
        }
    }
}

bool CEncapFamily::GetLocalizedTemplateParameterValue(const std::wstring& templateName,
                                                      const std::wstring& parameterId,
                                                      std::wstring& value) const {
    const auto path = [&] {
        return WhereAttributes(L"ConstantValues/ConstantValue", L"TemplateName", templateName,
                               L"TemplateParameterId", parameterId);
    };
    return ReadText(StringsRoot(ActualLanguage()), "ConstantValues", path, value) == 0;
}

bool CEncapFamily::GetLocalizedRootText(const wchar_t* name, std::wstring& value) const {
    const std::string step = VardelCommon::ToUtf8(name);
    return ReadText(
               StringsRoot(ActualLanguage()), step.c_str(), [name] { return name; }, value) == 0;
}

void CEncapFamily::SetLocalizedRootTexts(const wchar_t* name, const std::wstring& value) {
    for (XMLNode root : AllStringsRoots()) {
        root.GetOrAddNode(name).SetNodeText(value);
    }
}
