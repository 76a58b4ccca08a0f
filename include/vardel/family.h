// One family document in memory: the family's XML document, its strings
// documents (one per language, keyed by "xml:lang" ignoring case; the first
// given is the actual language), its family table and its mapping of
// columns and templates. Family properties live in the document
// itself: root attributes, constants of well-known category parameters, and
// localised texts in the strings documents; every setter writes through at
// once, and the host saves the documents when it is done. A family document
// with "FamilyTemplates" or "ParameterMap" gets a mapping; one with neither
// has none, and the forwarders to the mapping then answer nothing.
//
// The family owns its table, its mapping, its evaluator provider (deleted
// with the family) and the constant columns it hands out. A family text that
// does not parse gives a family without table and mapping. Nothing throws
// for missing data: getters leave their output unchanged, predicates answer
// false, `long` operations answer 1 for "not found". One thread at a time.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "vardel/export.h"
#include "vardel/family_column.h"
#include "vardel/family_mapping.h"
#include "vardel/family_prop_type.h"
#include "vardel/family_table.h"
#include "vardel/family_template.h"
#include "vardel/xml_node.h"
#include "vardel/xml_parser.h"

class IEvaluatorProvider;

class VARDEL_API CEncapFamily {
  public:
    /// An empty family (no table, no mapping, no languages) served by
    /// `provider`, which it takes over.
    CEncapFamily(IEvaluatorProvider* provider, bool localizeDecimalSeparator);
    /// The family of `familyXml` with the strings documents `stringsXmls`
    /// (unparsable ones skipped), the value cache folder `cachePath` (none
    /// when empty), the evaluator `provider` (taken over; may be null) and
    /// `defaultLanguage` as actual language when no strings document names one.
    CEncapFamily(const wchar_t* familyXml, const std::vector<std::wstring>& stringsXmls,
                 const wchar_t* cachePath, IEvaluatorProvider* provider,
                 const std::wstring& defaultLanguage, bool localizeDecimalSeparator);
    /// The same for documents given as UTF-8 text, read without a copy as
    /// wide text (a catalogue loads thousands this way).
    CEncapFamily(std::string_view familyXml, const std::vector<std::string_view>& stringsXmls,
                 const wchar_t* cachePath, IEvaluatorProvider* provider,
                 const std::wstring& defaultLanguage, bool localizeDecimalSeparator);
    /// The same for documents already held as trees (made by
    /// XMLDocumentBuilder, say): the family works on `familyDocument`'s tree
    /// as a copy of that parser would, and skips strings documents that hold
    /// none.
    CEncapFamily(const XMLParser& familyDocument, const std::vector<XMLParser>& stringsDocuments,
                 const wchar_t* cachePath, IEvaluatorProvider* provider,
                 const std::wstring& defaultLanguage, bool localizeDecimalSeparator);
    CEncapFamily(const CEncapFamily&) = delete;
    CEncapFamily& operator=(const CEncapFamily&) = delete;
    virtual ~CEncapFamily();

    /// Null when the family document has no table or did not parse.
    CEncapFamilyTable* GetEncapFamilyTable() const { return table_.get(); }
    /// Null while the family has no mapping.
    CEncapFamilyMapping* GetEncapFamilyMapping() const { return mapping_.get(); }
    IEvaluatorProvider* GetEvaluatorProvider() const { return provider_; }
    bool LocalizeDecimalSeparator() const { return localizeDecimalSeparator_; }
    /// The user's decimal separator when localising, else 0.
    wchar_t GetDecimalSeparator() const { return decimalSeparator_; }
    /// The family document (shared, not copied): edits through it are edits
    /// of the family.
    XMLParser GetFamilyXML() const { return document_; }
    /// Saves the family document to `path` atomically, in UTF-8 when the
    /// document names no encoding. False when it cannot be written; the
    /// previous file then stays.
    bool SaveFamilyXML(const wchar_t* path) const;

    // Root attributes. Getters leave `value` unchanged when it is missing.
    void GetInternalName(std::wstring& value) const;
    void SetInternalName(const wchar_t* value);
    void GetRevisionID(std::wstring& value) const;
    void SetRevisionID(const wchar_t* value);
    void GetLibInterName(std::wstring& value) const;
    void SetLibInterName(const std::wstring& value);
    void GetHealthStatus(std::wstring& value) const;
    void SetHealthStatus(const wchar_t* value);
    void GetEditStatus(std::wstring& value) const;
    void GetCopyFrom(std::wstring& value) const;
    void SetCopyFrom(const wchar_t* value);
    void GetSourceMoniker(std::wstring& value) const;
    void GetLastModTime(std::wstring& value) const;
    void GetParenLibName(std::wstring& value) const;
    void GetParentFamilyName(std::wstring& value) const;
    /// "Thumbnail/File" attribute "FullFileName".
    void GetThumbnailPath(std::wstring& value) const;
    /// Writes the path and marks the family edited (edit status bit 1).
    void SetThumbnailPath(const wchar_t* value);

    // Properties mirrored in category constants.
    /// The actual language's strings text, else the category constant, else
    /// the root attribute.
    void GetDisplayName(std::wstring& value) const;
    /// Writes the root attribute, the category constant and the text of
    /// every language.
    void SetDisplayName(const wchar_t* value);
    void GetDescription(std::wstring& value) const;
    void SetDescription(const wchar_t* value);
    void GetManufacturer(std::wstring& value) const;
    void SetManufacturer(const wchar_t* value);
    void GetStandardOrg(std::wstring& value) const;
    void SetStandardOrg(const wchar_t* value);
    void GetStandard(std::wstring& value) const;
    void SetStandard(const wchar_t* value);
    void GetFolderName(std::wstring& value) const;
    void SetFolderName(const wchar_t* value);
    void GetFamilyRevision(std::wstring& value) const;
    void SetFamilyRevision(const wchar_t* value);
    void GetStandardRevision(std::wstring& value) const;
    void SetStandardRevision(const wchar_t* value);
    /// Values 0 to 11; false for any other.
    bool GetFamilyProperty(FamilyPropType type, std::wstring& value) const;
    /// Values 0 to 8 and 11 (9 and 10 are not settable); most then give
    /// every member a new revision.
    bool SetFamilyProperty(FamilyPropType type, const wchar_t* value);

    // Category parameters and templates.
    /// The constant of the category parameter, localised when it is.
    bool GetCatParamConstValue(const std::wstring& parameterId, std::wstring& value) const;
    void SetCatParamConstValue(const std::wstring& parameterId, const std::wstring& value);
    bool GetLocalizedCatParamConstValue(const std::wstring& parameterId, std::wstring& value) const;
    bool IsCatParamLocalized(const std::wstring& parameterId) const;
    bool GetTemplateParameterValue(const std::wstring& templateName,
                                   const std::wstring& parameterId, std::wstring& value) const;
    /// 0 done (member revisions bumped), 1 not found.
    long SetTemplateParameterValue(const std::wstring& templateName,
                                   const std::wstring& parameterId, const std::wstring& value);
    bool GetLocalizedTemplateParameterValue(const std::wstring& templateName,
                                            const std::wstring& parameterId,
                                            std::wstring& value) const;
    /// The table column mapped to the parameter, else a constant column
    /// when the parameter has a constant; null otherwise.
    CEncapFamilyColumn* GetCategoryParamColumn(const std::wstring& parameterId);
    /// The deepest first "Category" below the first visible category.
    void GetCategoryID(std::wstring& value) const;

    // Forwarders to the mapping; false, null or nothing without one.
    /// The first category parameter the column stands for.
    bool GetColumnCategory(const std::wstring& columnId, std::wstring& parameterId) const;
    /// A localised category parameter's column, or a visible text column
    /// standing for none.
    bool IsFamilyColumnLocalized(const std::wstring& columnId) const;
    /// The first template's file; `fileName` unchanged without one.
    void GetTemplateFileName(std::wstring& fileName) const;
    /// The template the row is built from (CEncapFamilyMapping::GetFamilyTempldateByRow).
    CEncapFamilyTemplate* GetFamilyTemplateByRow(const std::wstring& rowId) const;
    /// Forgets the constant columns pointing at `column` and removes every
    /// mapping of its id.
    void RemoveAllColumnMapping(CEncapFamilyColumn* column);
    /// Emptied first: the file of the template the row's "TEMPLATE" value
    /// names; the first template's for an empty row id, a single template,
    /// no table, or a row that names none.
    void GetTemplateFileNameByRow(const std::wstring& rowId, std::wstring& fileName) const;

    // Localised texts (strings documents).
    void GetActualLanguage(std::wstring& language) const;
    int GetFamStringsCount() const;
    /// The strings document of languages[index] (shared).
    bool GetStringsFamilyXML(int index, XMLParser& document) const;
    /// A copy of the family document carrying every strings document.
    bool GetFamilyXMLCopyWithStrings(XMLParser& document) const;
    /// Saves every strings document as "FamilyStrings.<LANGUAGE>.xml" in
    /// the folder of "FamilyStrings/File"; false at the first failure.
    bool SaveFamilyStringsXMLs() const;
    /// 0 found, 1 not found.
    long GetLocalizedCellValue(const std::wstring& rowId, const std::wstring& columnId,
                               std::wstring& value) const;
    long GetLocalizedCellValue(const std::wstring& rowId, const std::wstring& columnId,
                               const std::wstring& language, std::wstring& value) const;
    void SetLocalizedCellValue(const std::wstring& rowId, const std::wstring& columnId,
                               const std::wstring& value);
    void SetLocalizedCellValue(const std::wstring& rowId, const std::wstring& columnId,
                               const std::wstring& language, const std::wstring& value);
    long GetLocalizedColumnPropertyValue(const std::wstring& property, const std::wstring& columnId,
                                         std::wstring& value) const;
    long GetLocalizedColumnPropertyValue(const std::wstring& property, const std::wstring& columnId,
                                         const std::wstring& language, std::wstring& value) const;
    void SetLocalizedColumnPropertyValue(const std::wstring& property, const std::wstring& columnId,
                                         const std::wstring& language, const std::wstring& value);
    /// In every language.
    void SetLocalizedColumnPropertyValue(const std::wstring& property, const std::wstring& columnId,
                                         const std::wstring& value);
    /// The row's localised cells of one column (every column when empty).
    void DeleteLocalizedCellsValues(const std::wstring& rowId, const std::wstring& columnId,
                                    bool allLanguages);
    void DeleteLocalizedColumnPropertyValues(const std::wstring& columnId);

    // State and links.
    /// "SrcActive" is not "false" (ignoring case).
    bool IsSrcActive() const;
    /// The root has "FromSource".
    bool IsLinked() const;
    /// Links this family to `source` and copies its member revisions.
    void SetLink(CEncapFamily* source, bool sourceActive);
    void ClearLink();
    /// Health status bit 2 is set.
    bool IsSickFamilyTable() const;
    /// ORs `bits` into the hexadecimal "EditStatus".
    void UpdateEditStatus(std::uint32_t bits);
    bool IsCustom() const;
    bool IsFeature() const;
    bool IsPart() const;
    bool HasLatchpoints() const;

  private:
    friend class CEncapFamilyColumn;
    friend class CEncapFamilyTable;
    /// IsFamilyColumnLocalized for a column asking for itself.
    bool IsColumnLocalized(const CEncapFamilyColumn& column) const;
    // Builds the model over the loaded document and the strings documents
    // that parsed.
    void Initialize(const std::vector<XMLParser>& strings, const std::wstring& cachePath);
    // The end of both loading constructors: the default language when no
    // strings document names one, and the provider told of its family.
    void CompleteLoad(const std::wstring& defaultLanguage);
    void ClearData();
    void InitializeColumnData(CEncapFamilyColumn* column);
    void RemoveUnnecessaryHiddenDomains();
    /// Removes the column or the mapping of a parameter of a hidden category.
    void RemoveHiddenParameter(const std::wstring& parameterId);
    void BumpAllMemberRevisions();
    /// The document element; empty when the family text did not parse.
    XMLNode Root() const;
    /// Leaves `value` unchanged when the root has no such attribute.
    void GetRootAttribute(const wchar_t* name, std::wstring& value) const;
    void SetRootAttribute(const wchar_t* name, const std::wstring& value);
    /// "ParameterMap/FamilyParametersMap/ParamsToTemplate"; empty when missing.
    XMLNode ParamsToTemplate() const;
    /// Display name and description: the actual language's text, else the
    /// constant of `parameterId`, else the root attribute `name`.
    void GetMirroredText(const wchar_t* name, const wchar_t* parameterId,
                         std::wstring& value) const;
    /// The root attribute `name` and the constant of `parameterId`.
    void SetMirroredConstant(const wchar_t* name, const wchar_t* parameterId, const wchar_t* value);
    std::wstring ActualLanguage() const;
    /// The strings document of `language` (ignoring case); null when none.
    const XMLParser* StringsDocument(const std::wstring& language) const;
    /// The root of the strings document of `language`; empty when none.
    XMLNode StringsRoot(const std::wstring& language) const;
    /// The roots of every strings document, once each.
    std::vector<XMLNode> AllStringsRoots() const;
    /// The text of the root child `name` in the actual language; false when
    /// it is missing.
    bool GetLocalizedRootText(const wchar_t* name, std::wstring& value) const;
    /// Sets the root child `name` (added when missing) in every language.
    void SetLocalizedRootTexts(const wchar_t* name, const std::wstring& value);
    /// The localised constant of a category parameter in every language; an
    /// empty value removes it.
    void SetLocalizedCatParamConstValue(const std::wstring& parameterId, const std::wstring& value);

    XMLParser document_;
    std::map<std::wstring, XMLParser> strings_;                     // upper-cased language
    std::map<std::wstring, XMLNode> categoryParameters_;            // upper-cased id
    std::map<std::wstring, CEncapFamilyColumn*> parameterColumns_;  // upper-cased id
    std::vector<std::unique_ptr<CEncapConstFamilyColumn>> constantColumns_;
    std::unique_ptr<CEncapFamilyTable> table_;
    std::vector<std::wstring> languages_;
    bool localizeDecimalSeparator_ = false;
    wchar_t decimalSeparator_ = 0;
    std::unique_ptr<CEncapFamilyMapping> mapping_;
    IEvaluatorProvider* provider_ = nullptr;
};
