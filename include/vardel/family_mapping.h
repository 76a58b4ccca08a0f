// The mapping of one family: which category parameter each table column
// stands for, which template parameters each column drives, and the family's
// templates. It stands over two elements of the family document,
// "FamilyTemplates" and "ParameterMap", and edits them in place:
//
//   FamilyTemplates/FamilyTemplate[@Name]/GeneralizedParameter[@Id]...
//   ParameterMap/MemberParametersMap/ParamsToColumn/ParamToColumn[@TableColumn]
//       /CategoryParameterRef[@Category, @CategoryParameter]
//   ParameterMap/MemberParametersMap/ColumnsToTemplate/ColumnToTemplate[@TableColumn]
//       /TemplatesParameter/TemplateParameter[@TemplateName, @ParameterId]
//
// CEncapMemberColToParam holds the "ParamToColumn" elements of one column,
// CEncapMemberColToTemplate its "ColumnToTemplate". Only the family builds a
// mapping; the mapping owns its templates and entries. Templates, columns
// and category parameters are looked up ignoring case. Malformed elements
// (a template without "Name", an entry without "TableColumn", a parameter
// without an integer "Id") are left out at load, and so is an element that
// repeats an earlier template name or column in any case; lookups of missing
// names give null or false; nothing throws. One thread at a time.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "vardel/export.h"
#include "vardel/family_column.h"
#include "vardel/xml_node.h"

class CEncapFamily;
class CEncapFamilyMapping;
class CEncapFamilyTemplate;

/// The template parameters one column drives: its "ColumnToTemplate".
class VARDEL_API CEncapMemberColToTemplate {
  public:
    CEncapMemberColToTemplate() = default;
    CEncapMemberColToTemplate(const XMLNode& node, CEncapFamilyMapping* mapping);
    CEncapMemberColToTemplate(const CEncapMemberColToTemplate& other) = default;
    CEncapMemberColToTemplate& operator=(const CEncapMemberColToTemplate& other) = default;
    virtual ~CEncapMemberColToTemplate();

    /// "TableColumn"; `value` unchanged when it is missing.
    void GetColumnName(std::wstring& value) const;
    /// Adds the "TemplateParameter" of (`templateName`, `parameterId`) unless
    /// the entry has it already.
    void AddMapping(const std::wstring& templateName, int parameterId);
    /// Removes the "TemplateParameter" of (`templateName`, `parameterId`).
    void DeleteMapping(const std::wstring& templateName, int parameterId);
    /// Removes every "TemplateParameter", leaving an empty "TemplatesParameter".
    void DeleteAllMapping();
    /// Takes the "ColumnToTemplate" element out of the document.
    void RemoveNodeFromXML();
    XMLNode GetXMLNode() const { return node_; }
    CEncapFamilyMapping* GetMapping() const { return mapping_; }

  private:
    /// The "TemplateParameter" of (`templateName`, `parameterId`); empty
    /// when there is none.
    XMLNode FindMapping(const std::wstring& templateName, int parameterId) const;

    XMLNode node_;
    CEncapFamilyMapping* mapping_ = nullptr;
};

/// The category parameters one column stands for: its "ParamToColumn"
/// elements, one per parameter.
class VARDEL_API CEncapMemberColToParam {
  public:
    CEncapMemberColToParam() = default;
    CEncapMemberColToParam(const XMLNode& node, CEncapFamilyMapping* mapping);
    CEncapMemberColToParam(const CEncapMemberColToParam& other) = default;
    CEncapMemberColToParam& operator=(const CEncapMemberColToParam& other) = default;
    virtual ~CEncapMemberColToParam();

    /// "TableColumn" of the first element; `value` unchanged without one.
    void GetColumnName(std::wstring& value) const;
    /// The number of "ParamToColumn" elements held.
    int ParamCount() const;
    /// The "CategoryParameter" of each element's "CategoryParameterRef", in
    /// order (cleared first); true when there is at least one.
    bool GetCategoryParams(std::vector<std::wstring>& parameterIds) const;
    /// Some element refers to the parameter (exact id).
    bool IsMappedForCatParam(const std::wstring& parameterId) const;
    /// Holds `node` too when it refers to a parameter not yet mapped; false
    /// (nothing held) otherwise.
    bool AddCategoryParam(XMLNode& node);
    /// Removes the element of the parameter (ignoring case) from the entry
    /// and the document; false when there is none.
    bool RemoveCategoryParam(const std::wstring& parameterId);
    /// Takes every element held out of the document; the entry is then empty.
    void RemoveNodesFromXML();
    /// The "ParamToColumn" elements held, in the order they were added.
    const std::vector<XMLNode>& GetXMLNodes() const { return nodes_; }
    CEncapFamilyMapping* GetMapping() const { return mapping_; }

  private:
    std::vector<XMLNode> nodes_;
    CEncapFamilyMapping* mapping_ = nullptr;
};

/// The family's templates and the mapping of its columns.
class VARDEL_API CEncapFamilyMapping {
  public:
    CEncapFamilyMapping() = default;
    /// The mapping over `templates` ("FamilyTemplates") and `parameterMap`
    /// ("ParameterMap") of `family`; either node may be empty. Loads both.
    CEncapFamilyMapping(const XMLNode& templates, const XMLNode& parameterMap,
                        CEncapFamily* family);
    CEncapFamilyMapping(const CEncapFamilyMapping&) = delete;
    CEncapFamilyMapping& operator=(const CEncapFamilyMapping&) = delete;
    virtual ~CEncapFamilyMapping();

    /// Exactly one template.
    bool IsSingleTemplate() const;
    /// The template of that name (ignoring case); null when none.
    CEncapFamilyTemplate* GetFamilyTemplate(const std::wstring& name) const;
    /// The template of that name, added when there is none; null for an
    /// empty name or a family document without "FamilyTemplates".
    CEncapFamilyTemplate* AddFamilyTemplate(const std::wstring& name);
    /// The names of the templates in document order.
    const std::vector<std::wstring>& GetTemplateNames() const { return templateNames_; }
    /// "FileName" of the first template; `fileName` unchanged without one.
    void GetTemplateFileName(std::wstring& fileName) const;
    /// "FileName" of the named template; `fileName` unchanged without one.
    void GetTemplateFileNameByName(const std::wstring& name, std::wstring& fileName) const;
    /// The template of the row: the first one for an empty row id or a
    /// single template, else the one named by the row's value of the
    /// template-specifier column "TEMPLATE"; null when none matches.
    CEncapFamilyTemplate* GetFamilyTempldateByRow(const std::wstring& rowId) const;

    /// Maps the category parameter `parameterId` of `category` to `column`;
    /// true also when it is mapped already, false when no element can be
    /// added.
    bool AddParamToColumnMapping(CEncapFamilyColumn* column, const std::wstring& category,
                                 const std::wstring& parameterId);
    /// Property data for the host object, owned by the caller; null when both
    /// texts are empty or a column already drives that object.
    CEncapFamilyColIPropertyData* GetColIPropertyData(
        const std::wstring& key, const std::wstring& subObjectId,
        CEncapFamilyColIPropertyData::ColPropertyObjectType type) const;
    /// Some column drives the template parameter bound to the object (key
    /// and sub-object compared ignoring case).
    bool IsPropertyAlreadyUsed(const std::wstring& key, const std::wstring& subObjectId) const;
    /// Binds `column` to the host object (unbinds when it is taken or both
    /// texts are empty) and rewrites the column's template parameters for
    /// its geometry and host-property flags; bumps every member revision when
    /// the column's members change before or after.
    void UpdateColumnMapping(CEncapFamilyColumn* column, const std::wstring& key,
                             const std::wstring& subObjectId,
                             CEncapFamilyColIPropertyData::ColPropertyObjectType type);
    /// The column-to-parameter entries, one per column (columns that differ
    /// only in case share one), ordered by upper-cased column id; they may
    /// name columns the table does not have.
    std::vector<const CEncapMemberColToParam*> GetColumnParamEntries() const;
    /// The "ParameterMap" element.
    XMLNode GetXMLNode() const { return parameterMap_; }

  private:
    friend class CEncapFamily;
    using Templates = std::map<std::wstring, std::unique_ptr<CEncapFamilyTemplate>>;
    using ColumnTemplates = std::map<std::wstring, std::unique_ptr<CEncapMemberColToTemplate>>;
    using ColumnParams = std::map<std::wstring, std::unique_ptr<CEncapMemberColToParam>>;

    void InitializeData();
    void ClearData();
    /// Removes the parameter from its column's entry; false when no column
    /// stands for it.
    bool RemoveParamToColumnMapping(const std::wstring& parameterId);
    /// Removes every constant of the parameter (exact id, else ignoring case).
    bool RemoveParamToConstantMapping(const std::wstring& parameterId);
    /// Releases the column's template parameters and removes its entries.
    void RemoveColumnMapping(const std::wstring& columnId);
    /// The column standing for the parameter (exact id, else ignoring case).
    bool GetCategoryParamColumn(const std::wstring& parameterId, std::wstring& columnId) const;
    bool GetColumnCategory(const std::wstring& columnId, std::wstring& parameterId) const;
    /// `asking`, when given, is the column of that id asking for itself.
    bool IsFamilyColumnLocalized(const std::wstring& columnId,
                                 const CEncapFamilyColumn* asking = nullptr) const;
    /// Whether a parameter the column stands for is localised; none when it
    /// stands for none.
    std::optional<bool> ParameterLocalized(const std::wstring& columnId) const;
    /// The row's value of the template-specifier column "TEMPLATE"; empty
    /// when the table has no such column or the row no such value.
    std::wstring RowTemplateName(const std::wstring& rowId) const;
    /// A visible "string" column by its element in the family document.
    bool IsVisibleTextColumn(const std::wstring& columnId, const CEncapFamilyColumn* asking) const;
    /// Sets the column's geometry and host-property flags from the template
    /// parameters it drives.
    void InitializeColumnData(CEncapFamilyColumn* column);
    void UpdateColumnGeometry(CEncapFamilyColumn* column);
    void UpdateIPropertyMapping(CEncapFamilyColumn* column);
    /// Adds one template parameter per template for the column and sets its
    /// attributes; without an entry of the column, one is added below
    /// "MemberParametersMap/ColumnsToTemplate", and without that nothing is.
    void BindInEveryTemplate(CEncapFamilyColumn* column, const std::wstring& key,
                             const std::wstring& subObjectId, const std::wstring& valueType,
                             const std::wstring& unitType, const std::wstring& objectType);
    /// Releases the template parameter a "TemplateParameter" element names
    /// and removes the element.
    void ReleaseParameter(XMLNode element);
    /// Deletes the template parameter unless another element still refers
    /// to it; then it is reset to a unitless text.
    void UpdateTemplateParameters(const std::wstring& templateName, int parameterId);
    /// Makes sure the family has a template, adding "Template1" when not.
    void EnsureTemplate();
    CEncapMemberColToTemplate* ColumnTemplateEntry(const std::wstring& columnId) const;
    CEncapMemberColToParam* ColumnParamEntry(const std::wstring& columnId) const;
    void ForgetLocalized(const std::wstring& columnId);

    XMLNode templates_;
    XMLNode parameterMap_;
    CEncapFamily* family_ = nullptr;
    Templates templatesByName_;  // upper-cased name
    std::vector<std::wstring> templateNames_;
    ColumnTemplates columnTemplates_;  // upper-cased column id
    ColumnParams columnParams_;        // upper-cased column id
    // Positive answers of IsFamilyColumnLocalized for columns without
    // category parameter, by exact column id.
    mutable std::unordered_map<std::wstring, bool> localizedColumns_;
    // ParameterLocalized by column id as asked. Cells ask it one by one, and
    // only a change of the mapping changes it, which empties it.
    mutable std::unordered_map<std::wstring, std::optional<bool>> parameterAnswers_;
};
