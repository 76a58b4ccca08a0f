// One column of a family table: the attributes of its "Column" element held
// as fields (every setter writes the attribute at once), its formula (the
// column-wide value), its kind, the columns whose formulas refer to it, and
// the value operations through which every cell of the table is read and
// written. A cell value comes from the table's value cache when present,
// else the table's evaluator computes it; writing a value writes the row's
// raw cell and stops the value cache from being saved.
//
// CEncapConstFamilyColumn stands for a category parameter with a constant
// value and has no element. CEncapFamilyColIPropertyData names the host
// object a column is bound to. Columns belong to their table (constant
// columns to their family); ids compare ignoring case. Bad ids give a
// result code, never an exception. One thread at a time.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "vardel/data_types.h"
#include "vardel/export.h"
#include "vardel/table_evaluator.h"
#include "vardel/xml_node.h"

class CEncapFamily;
class CEncapFamilyTable;
class CValueStore;

/// The host object a column is bound to.
class VARDEL_API CEncapFamilyColIPropertyData {
  public:
    enum ColPropertyObjectType : std::int32_t {
        Unknown = 0,
        kUserParameterObject = 1,
        kPropertyObject = 2,
        kPartComponentDefinitionObject = 3,
        kPartDocumentObject = 4,
        kModelParameterObject = 5,
        kPartFeatureObject = 6,
        kRenderStyleObject = 7,
    };

    CEncapFamilyColIPropertyData() = default;
    CEncapFamilyColIPropertyData(const std::wstring& objectRefKey, const std::wstring& subObjectId,
                                 ColPropertyObjectType type);

    const std::wstring& ObjectRefKey() const { return objectRefKey_; }
    void SetObjectRefKey(const std::wstring& key) { objectRefKey_ = key; }
    const std::wstring& SubObjectId() const { return subObjectId_; }
    void SetSubObjectId(const std::wstring& id) { subObjectId_ = id; }
    ColPropertyObjectType PropObjType() const { return type_; }
    void SetPropObjType(ColPropertyObjectType type) { type_ = type; }
    /// The type's text ("kPropertyObject"; "Unknown" for any other value).
    std::wstring PropObjTypeStr() const;
    /// Sets the type from its text, ignoring case; Unknown for other texts.
    void SetPropObjTypeStr(const std::wstring& text);

    /// "Unknown", "kUserParameterObject", ... by value; "Unknown" outside 0..7.
    static std::wstring ColPropObjTypeToString(ColPropertyObjectType type);
    /// The type whose text equals `text` ignoring case; Unknown when none.
    static ColPropertyObjectType StringToColPropObjType(const std::wstring& text);

  private:
    std::wstring objectRefKey_;
    std::wstring subObjectId_;
    ColPropertyObjectType type_ = Unknown;
};

class VARDEL_API CEncapFamilyColumn {
  public:
    /// The column's role, set from the category parameter it is mapped to.
    enum ColumnType : std::int32_t {
        OrdinaryColumn = 0,
        FileNameColumn = 1,
        MaterialColumn = 2,
        RestrictedColumn3 = 3,
        RestrictedColumn4 = 4,
        RestrictedColumn5 = 5,
    };
    using EvaluateResult = CTableEvaluator::EvaluateResult;

    /// A column read from its "Column" element `node` of `table`.
    CEncapFamilyColumn(const XMLNode& node, CEncapFamilyTable* table);
    /// An empty column of `table` without element (kind 0, data type 1).
    CEncapFamilyColumn(CEncapFamilyTable* table, bool unused);
    /// An empty column without table or element.
    explicit CEncapFamilyColumn(bool unused);
    CEncapFamilyColumn(const CEncapFamilyColumn& other);
    CEncapFamilyColumn& operator=(const CEncapFamilyColumn& other);
    virtual ~CEncapFamilyColumn();

    /// The value of row `rowId` in `language`: cached, raw for "RID" and
    /// "STATUS", else evaluated. 7 when the evaluation left no value; 8 when
    /// the value holds for this request only.
    virtual EvaluateResult GetValue(const std::wstring& rowId, const std::wstring& language,
                                    std::wstring& value);
    /// The same in the family's actual language.
    virtual EvaluateResult GetValue(const std::wstring& rowId, std::wstring& value);
    /// Writes the row's cell (an empty value removes it, so that a formula
    /// applies again). With `invalidate` the cached values of this column
    /// and of the columns that depend on it are cleared for the row.
    virtual void SetValue(const std::wstring& rowId, const std::wstring& language,
                          const std::wstring& value, bool invalidate);
    /// The same in the family's actual language.
    virtual void SetValue(const std::wstring& rowId, const std::wstring& value, bool invalidate);
    /// Forgets the cached value of the row in `language`.
    virtual void ClearCachedValue(const std::wstring& rowId, const std::wstring& language);
    /// Forgets the cached values of the row in every language.
    virtual void ClearCachedValue(const std::wstring& rowId);

    /// Leaves `value` in the cache for (row, this column, language); the
    /// evaluator calls it with every value it computes.
    void SetCacheValue(const std::wstring& rowId, const std::wstring& language,
                       const std::wstring& value);

    const std::wstring& GetColumnID() const { return columnId_; }
    void SetColumnID(const std::wstring& id);
    /// The title in the actual language (localised for visible columns).
    void GetTitle(std::wstring& title) const;
    /// The same; `language` does not change the answer.
    void GetTitle(std::wstring& title, const std::wstring& language) const;
    /// Writes the attribute and, for a visible column, the localised title in
    /// every language.
    void SetTitle(const std::wstring& title);
    /// The same, localised in `language` only.
    void SetTitle(const std::wstring& title, const std::wstring& language);
    /// The formula in the actual language (localised when the column is).
    void GetFormula(std::wstring& formula) const;
    void GetFormula(std::wstring& formula, const std::wstring& language) const;
    /// Checks and stores the formula; 0, or the check's result with nothing
    /// changed (1 when it would make a circle of references).
    EvaluateResult SetFormula(const std::wstring& formula);
    EvaluateResult SetFormula(const std::wstring& formula, const std::wstring& language);
    /// Makes the column plain (no formula, not custom). Always 0.
    EvaluateResult SetEmptyFormula();
    const std::wstring& GetUnitType() const { return unit_; }
    void SetUnitType(const std::wstring& unit);
    DataTypes::ColumnDataType GetDataType() const { return dataType_; }
    void SetDataType(DataTypes::ColumnDataType type);
    int GetKeyWeight() const { return keyWeight_; }
    void SetKeyWeight(const int& weight);
    bool IsKeyColumn() const { return keyWeight_ > 0; }
    bool IsHidden() const { return hidden_; }
    void SetIsHidden(const bool& hidden);
    bool IsCustom() const { return custom_; }
    void SetIsCustom(const bool& custom);
    bool IsTemplateSpecifierColumn() const { return templateSpecifier_; }
    bool IsMaterial() const { return kind_ == MaterialColumn; }
    /// Kinds 1 to 5.
    bool IsRestrictedColumn() const;
    ColumnType GetColumnType() const { return kind_; }
    void SetColumnType(ColumnType kind) { kind_ = kind; }
    /// Sets the kind from the internal name of the mapped category parameter;
    /// a kind other than 0 also makes the column a property column.
    void UpdateColumnType(const std::wstring& categoryParameter);
    bool IsGeometryColumn() const { return geometry_; }
    void SetIsGeometryColumn(bool geometry);
    bool IsOrvPropertyColumn() const { return hostProperty_; }
    void SetIsOrvPropertyColumn(bool hostProperty);
    bool IsPropertyColumn() const { return property_; }
    void SetIsPropertyColumn(bool property) { property_ = property; }
    bool IsStatusColumn() const { return status_; }
    void SetIsStatusColumn(bool status) { status_ = status; }
    /// The binding to a host object; null when there is none.
    CEncapFamilyColIPropertyData* ColIPropertyData() const { return propertyData_; }
    /// Takes ownership of `data` (null clears the binding).
    void SetColIPropertyData(CEncapFamilyColIPropertyData* data);
    /// The family's mapping says the column is localised.
    bool IsLocalized() const;
    /// Mapped to one of the category parameters of the older mapping scheme.
    bool IsLegacyMapColumn() const;
    XMLNode GetXMLNode() const { return node_; }
    CEncapFamilyTable* GetTable() const { return table_; }

    /// The formula in the actual language is not empty.
    bool IsExpressionColumn() const;
    bool HasExpressionColumnOverrides() const;
    /// The rows that have a cell of their own although the column has a
    /// formula; false when there is none or no formula.
    bool GetExpressionColumnOverrides(std::vector<std::wstring>& rowIds) const;
    /// The formula and every non-empty raw cell text; emptied first.
    void GetAllUniqueRawValues(std::set<std::wstring>& values) const;
    /// Whether every row's value differs (file names ignoring case); a failed
    /// evaluation is stored in `result` and gives false.
    bool HasUniqueValues(EvaluateResult& result);
    /// Checks `formula` as this column's formula in `language` without
    /// storing it.
    EvaluateResult ValidateNormalFormula(const std::wstring& formula, const std::wstring& language);
    /// 1 when `target` (this column when null) depends on itself through
    /// this column's dependants.
    EvaluateResult CheckCircularDependency(CEncapFamilyColumn* target);
    /// The columns whose formulas refer to this one.
    std::set<CEncapFamilyColumn*>& GetDependantColumns() { return dependants_; }
    bool IsReferencedByOther() const { return !dependants_.empty(); }
    bool IsReferencedBy(CEncapFamilyColumn* other) const;
    bool IsReferencedDirectlyBy(CEncapFamilyColumn* other) const;
    /// Adds this column and every column depending on it, directly or not,
    /// skipping `excluded` (this column when null); returns `columns`.
    std::set<CEncapFamilyColumn*>& GetAllDependentColumns(std::set<CEncapFamilyColumn*>& columns,
                                                          CEncapFamilyColumn* excluded);
    /// Whether changing this column changes the members a host builds.
    bool ChangeInColumnCausesRefresh() const;
    /// Clears the cached value of the row (all rows when empty) in
    /// `language`, and the same in every dependant column; stops the cache
    /// from being saved.
    void InvalidateCache(const std::wstring& rowId, const std::wstring& language);

  private:
    friend class CEncapConstFamilyColumn;
    void InitMemoryCache();
    /// Decides once per id whether values are raw and whether writes bump
    /// the member revision.
    void ClassifyColumnId();
    CTableEvaluator::EvaluateResult ValidateFormulaBeforeSet(const std::wstring& formula,
                                                             const std::wstring& oldFormula);
    /// Rebuilds the references from `formula` and checks them for a circle;
    /// on failure they are rebuilt from `restore`.
    EvaluateResult TryReferences(const std::wstring& formula, const std::wstring& restore);
    void ClearColumnAndDependants();
    /// Bumps all member revisions when `refreshedBefore` or when a change in
    /// the column causes a refresh now.
    void BumpAllRevisionsIfRefresh(bool refreshedBefore = false);
    /// Every column reached through dependants, never entering `excluded`.
    void CollectReachable(const CEncapFamilyColumn* excluded,
                          std::set<CEncapFamilyColumn*>& reached) const;
    bool CausesRefresh(std::set<const CEncapFamilyColumn*>& visited) const;
    /// The overriding rows of an expression column, or only whether there
    /// are any when `rowIds` is null.
    bool FindOverrides(std::vector<std::wstring>* rowIds) const;
    CEncapFamily* Family() const;
    CValueStore* Store();
    const std::wstring& ActualLanguage() const;

    CEncapFamilyTable* table_ = nullptr;
    XMLNode node_;
    CValueStore* valueStore_ = nullptr;
    std::set<CEncapFamilyColumn*> dependants_;
    ColumnType kind_ = OrdinaryColumn;
    bool geometry_ = false;
    bool hostProperty_ = false;
    bool property_ = false;
    CEncapFamilyColIPropertyData* propertyData_ = nullptr;
    bool status_ = false;
    bool templateSpecifier_ = false;
    DataTypes::ColumnDataType dataType_ = DataTypes::Real;
    std::wstring unit_;
    std::wstring formula_;
    std::wstring columnId_;
    std::wstring title_;
    bool custom_ = false;
    bool hidden_ = false;
    int keyWeight_ = 0;
    // "RID" and "STATUS": values are the raw cells, never computed.
    bool rawValues_ = false;
    // "MEMBER_REVISION": writing it never bumps revisions (it is the bump).
    bool memberRevision_ = false;
    // The family's actual language, fetched on first use (it never changes).
    mutable std::wstring actualLanguage_;
};

/// A category parameter with a constant value, seen as a column: every row
/// reads the constant; writing sets the family's constant.
class VARDEL_API CEncapConstFamilyColumn : public CEncapFamilyColumn {
  public:
    CEncapConstFamilyColumn();
    /// Column id `categoryParameterId` and column-wide value `value`.
    CEncapConstFamilyColumn(const std::wstring& categoryParameterId, const std::wstring& value,
                            CEncapFamilyTable* table);
    CEncapConstFamilyColumn(const CEncapConstFamilyColumn& other);
    CEncapConstFamilyColumn& operator=(const CEncapConstFamilyColumn& other);
    ~CEncapConstFamilyColumn() override;

    using CEncapFamilyColumn::GetValue;
    using CEncapFamilyColumn::SetValue;
    /// The constant, for every row; always 0.
    EvaluateResult GetValue(const std::wstring& rowId, std::wstring& value) override;
    /// Writes the family's constant of the parameter; this column's copy
    /// stays as it was.
    void SetValue(const std::wstring& rowId, const std::wstring& value, bool invalidate) override;

    const std::wstring& GetCategoryParameterId() const { return categoryParameterId_; }

  private:
    std::wstring categoryParameterId_;
    std::wstring constantValue_;
};
