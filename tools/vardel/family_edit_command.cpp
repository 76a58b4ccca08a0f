// vardel family title FILE COLUMN TITLE [--lang L] -o OUT and vardel family
// map FILE COLUMN PARAMETER -o OUT: the edits that maintaining a catalogue
// source takes beyond cells and formulas. Each is checked before anything is
// written; an accepted one writes the family document and its strings files
// (NAME.strings.LANG.xml beside OUT), every file atomically, so OUT may be
// FILE. A refused edit writes nothing.
//
// A title in a language is kept in that language's strings document (made
// when the family has none of it), leaving the other languages and the
// document's own title alone; without --lang the document's own title
// changes, which stands for the language no strings document covers.
#include <iostream>

#include "family_command.h"
#include "family_document.h"
#include "table_lookup.h"
#include "vardel/family_mapping.h"
#include "xml/xpath_literal.h"

namespace VardelTool {
namespace {

// Strings files are named after their language, so a language may hold
// letters, digits and '-' or '_' only.
bool IsLanguageTag(const std::string& language) {
    return !language.empty() && language.size() <= 35 &&
           language.find_first_not_of(
               "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
               "0123456789-_") == std::string::npos;
}

std::string TitleOf(const CEncapFamily& family, const CEncapFamilyColumn& column,
                    const std::wstring& language) {
    std::wstring title;
    if (language.empty() || family.GetLocalizedColumnPropertyValue(L"Title", column.GetColumnID(),
                                                                   language, title) != 0) {
        column.GetXMLNode().GetProperty(L"Title", title);
    }
    return Utf8(title);
}

Result<std::string> SetTitle(CEncapFamily& family, CEncapFamilyTable& table,
                             const FamilyOptions& options) {
    Result<CEncapFamilyColumn*> found = FindColumn(table, options.edit[0]);
    if (!found.ok()) {
        return found.failure();
    }
    CEncapFamilyColumn& column = *found.value();
    if (options.edit[1].empty()) {
        return Refused("a column title cannot be empty; nothing written");
    }
    const std::wstring language = Wide(options.catalog.language);
    const std::wstring title = Wide(options.edit[1]);
    const std::string before = TitleOf(family, column, language);
    if (language.empty()) {
        column.GetXMLNode().SetProperty(L"Title", title);
    } else {
        family.SetLocalizedColumnPropertyValue(L"Title", column.GetColumnID(), language, title);
    }
    const std::string label = language.empty() ? "" : " (" + options.catalog.language + ")";
    return "column " + Utf8(column.GetColumnID()) + ": title" + label + " " + Quoted(before) +
           " -> " + Quoted(TitleOf(family, column, language));
}

// The category of the family that lists the parameter, by its internal
// name; empty when no category lists it.
std::wstring CategoryOfParameter(const CEncapFamily& family, const std::wstring& parameter) {
    std::wstring path = L"Categories//Category[CategoryParameter[@InternalName=";
    path += VardelXml::XPathLiteral(parameter);
    path += L"]]";
    XMLNode category;
    std::wstring id;
    if (family.GetFamilyXML().GetRootNode().GetChildNode(path.c_str(), category)) {
        category.GetProperty(L"InternalName", id);
    }
    return id;
}

Result<std::string> MapColumn(CEncapFamily& family, CEncapFamilyTable& table,
                              const FamilyOptions& options) {
    Result<CEncapFamilyColumn*> found = FindColumn(table, options.edit[0]);
    if (!found.ok()) {
        return found.failure();
    }
    CEncapFamilyColumn& column = *found.value();
    const std::wstring parameter = Wide(options.edit[1]);
    const std::wstring category = CategoryOfParameter(family, parameter);
    if (category.empty()) {
        return Refused("no category of the family has the parameter " + Quoted(options.edit[1]) +
                       "; nothing written");
    }
    CEncapFamilyMapping* mapping = family.GetEncapFamilyMapping();
    if (mapping == nullptr) {
        return Refused("the family document has no ParameterMap; nothing written");
    }
    if (const CEncapFamilyColumn* current = family.GetCategoryParamColumn(parameter)) {
        return Refused("parameter " + Quoted(options.edit[1]) + " is mapped to column " +
                       Quoted(Utf8(current->GetColumnID())) + " already; nothing written");
    }
    if (!mapping->AddParamToColumnMapping(&column, category, parameter)) {
        return Refused("cannot map column " + Quoted(Utf8(column.GetColumnID())) +
                       "; nothing written");
    }
    return "column " + Utf8(column.GetColumnID()) + ": mapped to parameter " + options.edit[1] +
           " of category " + Utf8(category);
}

using Edit = Result<std::string> (*)(CEncapFamily&, CEncapFamilyTable&, const FamilyOptions&);

Status RunEdit(const FamilyOptions& options, const char* usage, MissingStrings missing, Edit edit) {
    if (options.edit.size() != 2) {
        return UsageError(usage);
    }
    if (!IsFamilyFile(options.family)) {
        return UsageError("only a family document file (*.xml) is edited, not " +
                          Quoted(options.family) + " (see vardel family export)");
    }
    if (!options.catalog.language.empty() && !IsLanguageTag(options.catalog.language)) {
        return UsageError("--lang takes a language tag such as de-DE, not " +
                          Quoted(options.catalog.language));
    }
    if (Status failed = CheckOutputFile(options.output)) {
        return failed;
    }
    Result<FamilyDocument> document =
        OpenFamilyFile(options.family, Wide(options.catalog.language), missing);
    if (!document.ok()) {
        return document.failure();
    }
    Result<CEncapFamilyTable*> table = document.value().Table();
    if (!table.ok()) {
        return table.failure();
    }
    CEncapFamily& family = *document.value().family;
    Result<std::string> change = edit(family, *table.value(), options);
    if (!change.ok()) {
        return change.failure();
    }
    if (Result<std::vector<std::string>> written = WriteFamilyFiles(family, options.output);
        !written.ok()) {
        return written.failure();
    }
    std::cout << Printable(change.value()) << '\n';
    return std::nullopt;
}

}  // namespace

Status RunFamilyTitle(const FamilyOptions& options) {
    return RunEdit(options, "title takes FILE COLUMN TITLE", MissingStrings::Add, &SetTitle);
}

Status RunFamilyMap(const FamilyOptions& options) {
    return RunEdit(options, "map takes FILE COLUMN PARAMETER", MissingStrings::Leave, &MapColumn);
}

}  // namespace VardelTool
