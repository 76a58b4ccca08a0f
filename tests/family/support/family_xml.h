// Builds family documents and strings documents for the family model's
// tests: a root "Family" with attributes, optional raw XML for the
// categories and the parameter map, and a table given as columns and rows.
// Texts are escaped, so ids and values may hold any character.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

class CEncapFamily;

namespace FamilyTest {

using Attributes = std::vector<std::pair<std::wstring, std::wstring>>;

struct Column {
    std::wstring id;
    /// Every attribute but "ColumnId", in order ("ValueType", "UnitType",
    /// "ColumnwideValue", "Custom", "Hidden", "KeyWeight", ...).
    Attributes attributes;
};

struct Row {
    std::wstring id;
    /// (column id, cell text) in order.
    Attributes cells;
};

struct FamilyXml {
    Attributes rootAttributes;
    /// Raw children of the root placed before "FamilyTable" ("Categories",
    /// "ParameterMap", "Thumbnail", "FamilyStrings", ...).
    std::wstring rawChildren;
    std::vector<Column> columns;
    std::vector<Row> rows;
    /// Without a table the document has no "FamilyTable" element.
    bool hasTable = true;

    std::wstring Build() const;
};

/// `text` with & < > " ' escaped for element text and attribute values.
std::wstring Escape(const std::wstring& text);
/// A strings document of `language` with the given raw children.
std::wstring StringsXml(const std::wstring& language, const std::wstring& rawChildren);
/// A table of `rows` rows and `columns` columns "C0".."Cn" of doubles; row
/// ids "r0".."rn", cell (r, c) holds r * 100 + c.
FamilyXml NumberTable(int rows, int columns);
/// "ParameterMap/FamilyParametersMap/ParamsToTemplate" with one
/// "ParamTemplateValue" per (category-parameter id, constant value).
std::wstring ParameterConstantsXml(const Attributes& constants);

/// One "GeneralizedParameter" ("Id" is one of the attributes, so that it
/// may be left out) and the parameters nested in it.
struct GeneralizedParameter {
    Attributes attributes;
    std::vector<GeneralizedParameter> children;
};
/// One "FamilyTemplate" ("Name", "FileName", ...) and its parameters.
struct FamilyTemplate {
    Attributes attributes;
    std::vector<GeneralizedParameter> parameters;
};
/// "FamilyTemplates" holding the templates.
std::wstring TemplatesXml(const std::vector<FamilyTemplate>& templates);

/// A "ParamToColumn": the column stands for a parameter of a category.
struct ParamToColumn {
    std::wstring column;
    std::wstring category;
    std::wstring parameter;
};
/// A "ColumnToTemplate": the column drives (template name, parameter id).
struct ColumnToTemplate {
    std::wstring column;
    Attributes templateParameters;
};
/// "ParameterMap" with the constants as ParameterConstantsXml writes them
/// (none: no "FamilyParametersMap") and a "MemberParametersMap" holding
/// "ParamsToColumn" and "ColumnsToTemplate" (both written, even empty).
std::wstring ParameterMapXml(const Attributes& constants, const std::vector<ParamToColumn>& params,
                             const std::vector<ColumnToTemplate>& columns);
/// "Categories" with one "Category" (`categoryId`, "Hidden" = `hidden`)
/// holding a "CategoryParameter" per (id, "ValueLocalized" text).
std::wstring CategoriesXml(const std::wstring& categoryId, const std::wstring& hidden,
                           const Attributes& parameters);
/// The serialised element `xpath` selects below the family document's root;
/// empty when none.
std::wstring XmlAt(const CEncapFamily& family, const wchar_t* xpath);
/// The family of `xml` with `strings`, no cache folder and no provider.
std::unique_ptr<CEncapFamily> LoadFamily(const std::wstring& xml,
                                         const std::vector<std::wstring>& strings = {},
                                         const std::wstring& defaultLanguage = L"en-US");

}  // namespace FamilyTest
