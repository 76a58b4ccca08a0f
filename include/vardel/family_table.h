// The family table of one family: columns in order and rows in order, each
// row one member of the family, built over the "FamilyTable" element of the
// family document and editing it in place (the document stays the single
// source of truth). Every cell value goes through its column, which answers
// from the table's value cache or has the table's evaluator compute it; raw
// cell reads and writes walk the row's element directly, without an XPath
// query per cell.
//
// Column and row ids compare ignoring case. Columns whose id repeats an
// earlier one in another case load too and are found by exact id when
// case-sensitive lookup is on; a column repeating an id exactly, or a row
// repeating one in any case, cannot be told apart and is left out. Fixed
// ids: "RID" (a row's own id), "STATUS" (any case; "Suppressed" rows),
// "MEMBER_REVISION", "SOURCE_MEMBER_REVISION" and "TEMPLATE". The table is
// built and destroyed by its family; on destruction the value cache writes
// its file when values were computed and nothing was edited. Bad ids and
// indices give null, false, -1, 1 or a result code, never an exception. One
// thread at a time.
#pragma once

#include <map>
#include <memory>
#include <memory_resource>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "vardel/data_types.h"
#include "vardel/export.h"
#include "vardel/family_column.h"
#include "vardel/table_evaluator.h"
#include "vardel/xml_node.h"

class CEncapFamily;
class CEncapFamilyTable;
class CValueStore;
class CValueCacheLoc;
namespace VardelXml {
class ChildIndex;
}

/// One row (member) of a family table over its "Row" element.
class VARDEL_API CEncapFamilyRow {
  public:
    enum RowState : std::int32_t {
        Unchanged = 0,  ///< as loaded, or reset by the host
        Modified = 1,   ///< a cell other than the two revision columns was written
        New = 2,        ///< created by InsertNewRow
    };
    using EvaluateResult = CTableEvaluator::EvaluateResult;

    /// The row over `node` of `table`; reads whether the row is suppressed.
    CEncapFamilyRow(const XMLNode& node, CEncapFamilyTable* table);
    CEncapFamilyRow(const CEncapFamilyRow&) = delete;
    CEncapFamilyRow& operator=(const CEncapFamilyRow&) = delete;
    virtual ~CEncapFamilyRow();

    /// The "RowId" attribute.
    std::wstring GetRowID() const;
    void SetRowID(const std::wstring& id);
    /// The evaluated value of the row's cell of `columnId` (the table's GetValue).
    EvaluateResult GetValue(const std::wstring& columnId, std::wstring& value);
    /// The table's SetValue for this row.
    void SetValue(const std::wstring& columnId, const std::wstring& value, bool invalidate);
    /// The row has a cell of its own for the column.
    bool HasRawValue(const std::wstring& columnId) const;
    /// Removes the row's cell of the column, its cached value in the actual
    /// language and its localised values (in every language or the actual one).
    void DeleteCellsColumnValues(const std::wstring& columnId, bool allLanguages);
    /// Replaces the values chosen for the row's range (custom) columns; while
    /// any are in force the value cache is not saved.
    void SetRangeColumnValues(const std::map<std::wstring, std::wstring>& values);
    /// The chosen value of a range column; false when there is none.
    bool GetRangeColumnValue(const std::wstring& columnId, std::wstring& value) const;
    bool IsSuppressed() const { return suppressed_; }
    void SetIsSuppressed(bool suppressed) { suppressed_ = suppressed; }
    RowState GetRowState() const { return state_; }
    void SetRowState(RowState state) { state_ = state; }
    bool IsRowModified() const { return state_ != Unchanged; }
    XMLNode GetXMLNode() const { return node_; }

  private:
    friend class CEncapFamilyTable;
    friend class CEncapFamilyColumn;
    /// 0 and the cell's text when the row has a cell for the column, else 1
    /// with `value` empty.
    long GetRawValue(const std::wstring& columnId, std::wstring& value) const;
    /// An empty value removes the cell; writing a column other than the two
    /// revision columns marks the row modified.
    void SetRawValue(const std::wstring& columnId, const std::wstring& value);
    /// The row's cell of the column, found in the row's cell list (listed
    /// again after edits of the row) from where the table's last lookup
    /// found its cell.
    XMLNode GetCellNode(const std::wstring& columnId) const;
    /// The store's cache of this row's values, `rowId` being exactly the id
    /// the table files the row under; found once and kept while the store
    /// keeps its rows, so that writing the row again does not look it up.
    CValueCacheLoc& ValueCache(CValueStore& store, const std::wstring& rowId);

    // What writing a cell reads comes first, so that it lies in few cache
    // lines.
    XMLNode node_;
    // The row's cells by column id, listed on the first cell lookup.
    mutable std::unique_ptr<VardelXml::ChildIndex> cells_;
    CEncapFamilyTable* table_;
    CValueCacheLoc* valueCache_ = nullptr;
    std::uint64_t valueCacheGeneration_ = 0;
    RowState state_ = Unchanged;
    bool suppressed_ = false;
    // The row's position in its table's row order when that was last built.
    std::size_t orderHint_ = 0;
    std::map<std::wstring, std::wstring> rangeValues_;
};

class VARDEL_API CEncapFamilyTable {
  public:
    using EvaluateResult = CTableEvaluator::EvaluateResult;

    /// The table over the "FamilyTable" element `node` of `family`, with the
    /// value cache file of `cachePath` (no cache file when empty).
    CEncapFamilyTable(const XMLNode& node, CEncapFamily* family, const std::wstring& cachePath);
    CEncapFamilyTable(const CEncapFamilyTable&) = delete;
    CEncapFamilyTable& operator=(const CEncapFamilyTable&) = delete;
    virtual ~CEncapFamilyTable();

    CEncapFamily* GetFamily() const { return family_; }
    CTableEvaluator* GetEvaluator() const { return evaluator_.get(); }
    const std::vector<std::wstring>& GetAllRowIDs() const { return rowIds_; }
    const std::vector<std::wstring>& GetAllColumnIDs() const { return columnIds_; }
    int GetRowsCount() const;
    int GetColumnsCount() const;
    const std::wstring& GetStatusColIDStr() const { return statusColumnId_; }
    bool LocalizeDecimalSeparator() const;
    wchar_t GetDecimalSeparator() const;
    void GetActualLanguage(std::wstring& language) const;
    /// The XML text of the table element.
    bool GetXml(std::wstring& xml) const;
    XMLNode GetXMLNode() const { return node_; }

    void SetLookupColumnByCaseSensitive(bool caseSensitive) {
        caseSensitiveLookup_ = caseSensitive;
    }
    bool GetLookupColumnByCaseSensitive() const { return caseSensitiveLookup_; }
    /// With case-sensitive lookup on, first the repeated-case columns by
    /// exact id; then every column ignoring case. Null when absent.
    CEncapFamilyColumn* GetFamilyColumnByID(const std::wstring& columnId) const;
    CEncapFamilyColumn* GetFamilyColumnByIndex(int index) const;
    /// Empty outside the range.
    std::wstring GetFamilyColumnIDByIndex(int index) const;
    /// -1 when absent.
    int GetFamilyColumnIndexByID(const std::wstring& columnId) const;
    CEncapFamilyRow* GetFamilyRowByID(const std::wstring& rowId) const;
    CEncapFamilyRow* GetFamilyRowByIndex(int index) const;
    /// Empty outside the range.
    std::wstring GetRowIDByIndex(int index) const;
    /// -1 when absent.
    int GetFamilyRowIndexByID(const std::wstring& rowId) const;
    /// The first column of `kind` in id order; null when none.
    CEncapFamilyColumn* GetFamilyColumnByType(CEncapFamilyColumn::ColumnType kind) const;
    /// Adds every column (not the repeated-case ones) and returns `columns`.
    std::set<CEncapFamilyColumn*>& GetAllColumns(std::set<CEncapFamilyColumn*>& columns) const;
    /// The columns with a key weight above 0, in id order.
    std::vector<CEncapFamilyColumn*> GetKeyColumns() const;
    bool HasCustomColumns() const;
    bool IsColumnLocalized(const std::wstring& columnId) const;
    bool IsColumnMaterial(const std::wstring& columnId) const;
    bool hasColumnExpression(const std::wstring& columnId) const;
    /// The column has a formula and the row a cell of its own for it.
    bool isCellOverride(const std::wstring& rowId, const std::wstring& columnId) const;
    /// String for a missing column.
    DataTypes::ColumnDataType GetColumnDataType(const std::wstring& columnId) const;
    void SetColumnDataType(const std::wstring& columnId, DataTypes::ColumnDataType type);

    /// The column's value for the row in the actual language; 3 when the
    /// column does not exist (value left empty).
    EvaluateResult GetValue(const std::wstring& rowId, const std::wstring& columnId,
                            std::wstring& value);
    EvaluateResult GetValue(const std::wstring& rowId, const std::wstring& columnId,
                            const std::wstring& language, std::wstring& value);
    /// The column's SetValue; nothing happens for a missing column or row index.
    void SetValue(const std::wstring& rowId, const std::wstring& columnId,
                  const std::wstring& value, bool invalidate);
    void SetValue(int rowIndex, const std::wstring& columnId, const std::wstring& value,
                  bool invalidate);
    void SetValue(const std::wstring& rowId, const std::wstring& columnId,
                  const std::wstring& language, const std::wstring& value, bool invalidate);
    /// 0 and the row's own cell text, else 1 with `value` empty.
    long GetRawValue(const std::wstring& rowId, const std::wstring& columnId,
                     std::wstring& value) const;
    void ClearCachedValue(const std::wstring& rowId, const std::wstring& columnId);
    void ClearCachedValue(const std::wstring& rowId, const std::wstring& columnId,
                          const std::wstring& language);
    /// The localised formula of the column in `language`: 0 found, 1 not.
    long GetLocalizedFormula(const std::wstring& columnId, const std::wstring& language,
                             std::wstring& formula) const;
    /// Writes the status cell of the row and whether it is suppressed;
    /// nothing without a status column.
    void SetStatusColValue(int rowIndex, const std::wstring& value);
    bool IsRowSuppressed(const std::wstring& rowId) const;
    void SetRowStateOfAllRows(CEncapFamilyRow::RowState state);

    /// The evaluator's EvaluateCell.
    EvaluateResult Evaluate(const std::wstring& rowId, const std::wstring& columnId,
                            const std::wstring& language);
    /// The evaluator's EvaluateFormula.
    EvaluateResult Evaluate(const wchar_t* expression, DataTypes::ColumnFormulaType formulaType,
                            DataTypes::ColumnDataType dataType, const std::wstring& rowId,
                            const std::wstring& unit, std::wstring& value);
    /// The evaluator's CheckFormulaSyntax.
    EvaluateResult CheckFormulaSyntax(const wchar_t* expression,
                                      DataTypes::ColumnFormulaType formulaType,
                                      DataTypes::ColumnDataType dataType, const std::wstring& unit);
    /// Makes `column` a dependant of exactly the columns `formula` refers to:
    /// 0, 2 or 5.
    EvaluateResult UpdateColumnsDependency(CEncapFamilyColumn* column, const std::wstring& formula);

    /// A new row at `index` (appended when outside the rows; at the front
    /// when negative) with `rowId`, or a new GUID when empty; its "RID" cell
    /// holds its id, its state is New and it gets a member revision. Null
    /// when a row of that id exists.
    CEncapFamilyRow* InsertNewRow(int index, const std::wstring& rowId);
    bool DeleteRow(int index);
    /// A new last row with the evaluated values of the row's own cells
    /// (not "RID" and "STATUS"); null when the row does not exist.
    CEncapFamilyRow* CopyRow(const std::wstring& rowId);
    /// Sets every value of the destination row but "RID" and "STATUS" to
    /// the source row's.
    bool PasteRow(int destinationIndex, int sourceIndex);
    /// Moves the row of that exact id; a new index outside the rows is
    /// clamped to the first or last position and written back.
    void ChangeRowIndex(const std::wstring& rowId, int& newIndex);
    /// Null when a column of that id exists (ignoring case).
    CEncapFamilyColumn* InsertNewColumn(int index, const std::wstring& columnId);
    /// A copy of the source column's element (attributes only) named
    /// `newColumnId`, with key weight 0, shown, and the source's own cells;
    /// null for an invalid new name or a missing source.
    CEncapFamilyColumn* DuplicateColumn(int index, const std::wstring& sourceColumnId,
                                        const std::wstring& newColumnId);
    /// Removes the column, its cells, mappings and localised properties; key
    /// weights above its own move down by one.
    bool DeleteColumn(int index);
    /// As ChangeRowIndex.
    void ChangeColumnIndex(const std::wstring& columnId, int& newIndex);
    /// A letter, then letters, digits, "_" or "-", and no column of that id.
    bool IsValidNewColumnName(const std::wstring& name) const;

    /// The "SOURCE_MEMBER_REVISION" column filled from "MEMBER_REVISION";
    /// null without "MEMBER_REVISION" or when a value cannot be read.
    CEncapFamilyColumn* CreateSourceMemberRevisionColumn();
    /// Gives every row `revision`, or one new GUID when null.
    void BumpAllMemberRevisions(const wchar_t* revision);

    // Validation, expression values, materials and the evaluated table.
    /// Evaluates `expression` in `unit` ("ul" when empty) through the
    /// family's provider and answers the number in that unit; false, with
    /// `value` untouched, when the provider fails or there is none.
    bool GetValueFromExpression(const std::wstring& expression, const std::wstring& unit,
                                double& value);
    /// The provider's display name of the material; empty without provider.
    std::wstring GetMaterialName(const std::wstring& key);
    /// The provider's key of the material; empty without provider.
    std::wstring GetMaterialRefKey(const std::wstring& name);
    /// The material key of the row: its own cell of the material column,
    /// else the column's formula; false without a material column.
    bool GetMemberMaterialRefId(const std::wstring& rowId, std::wstring& key);
    /// Whether `value` fits the column (type, range of a custom column); an
    /// expression in a number column is replaced by its result. False for a
    /// missing column.
    bool IsCellValueValid(const std::wstring& rowId, const std::wstring& columnId,
                          std::wstring& value);
    /// Whether `formula` may become the column's formula (a range for a
    /// custom column); 3 for a missing column.
    EvaluateResult IsFormulaValid(const std::wstring& columnId, const std::wstring& formula);
    /// The index of the first row whose value does not fit the column or
    /// does not evaluate, -1 when all fit; 0 when the column does not exist.
    /// `range` is not used: the column's own formula is its range.
    int CheckRangeColumnData(const std::wstring& columnId, const std::wstring& range);
    /// Clears the column's cached values and deletes, in every language, the
    /// cells of the rows whose value its type refuses (result 6).
    void ValidateAndRepairColumnData(CEncapFamilyColumn* column);
    /// The column's HasUniqueValues; false for a missing column.
    bool HasColumnUniqueValues(const std::wstring& columnId, EvaluateResult& result);
    /// Whether the file-name column's formula uses every custom column;
    /// `titles` is replaced by the titles of those it leaves out (all of them
    /// when it has no formula or a row has its own file name). False, with
    /// `titles` untouched, without a file-name column.
    bool FileNameOfCustomPartIsUnique(std::vector<std::wstring>& titles);
    /// A copy of the table element with every cell evaluated (missing cells
    /// added) as UTF-16-declared XML text; false, with `xml` untouched, when
    /// a row or cell lacks its id.
    bool GetEvaluatedXml(std::wstring& xml);

  private:
    friend class CEncapFamilyRow;
    friend class CEncapFamilyColumn;
    // Column ids with a fixed role.
    static constexpr const wchar_t* kRowIdColumn = L"RID";
    static constexpr const wchar_t* kStatusColumn = L"STATUS";
    static constexpr const wchar_t* kMemberRevisionColumn = L"MEMBER_REVISION";
    static constexpr const wchar_t* kSourceMemberRevisionColumn = L"SOURCE_MEMBER_REVISION";

    // Id keys compared ignoring case, so that lookups need no upper-cased
    // copy of the id.
    struct IdLess {
        using is_transparent = void;
        bool operator()(std::wstring_view a, std::wstring_view b) const;
    };
    struct IdHash {
        using is_transparent = void;
        std::size_t operator()(std::wstring_view id) const;
    };
    struct IdEqual {
        using is_transparent = void;
        bool operator()(std::wstring_view a, std::wstring_view b) const;
    };

    void InitializeData();
    void LoadColumns();
    void LoadRows();
    void ClearData();
    EvaluateResult BuildColumnsDependency();
    // Files a column under its id; false (column dropped) when a column of
    // exactly that id exists.
    bool AddColumn(std::unique_ptr<CEncapFamilyColumn> column, const std::wstring& columnId);
    // Deletes the column of `columnId`; a repeated-case column of the same
    // id then takes its place in the case-insensitive map.
    void RemoveColumn(CEncapFamilyColumn* column, const std::wstring& columnId);
    // The column of the exact id of the order vector, repeated-case ones
    // included; null when absent.
    CEncapFamilyColumn* ColumnInOrder(const std::wstring& columnId) const;
    // Every column of both maps.
    std::vector<CEncapFamilyColumn*> ColumnsOfBothMaps() const;
    // False when revisions cannot be written: no "MEMBER_REVISION" column,
    // or a linked family whose "SOURCE_MEMBER_REVISION" cannot be made.
    bool PrepareMemberRevisions();
    void BumpMemberRevision(const std::wstring& rowId);
    /// Writes the cell of `row`, whose id is `rowId`, and its localised value.
    void SetRawValue(CEncapFamilyRow* row, const std::wstring& rowId, const std::wstring& columnId,
                     const std::wstring& value, const std::wstring* language);
    CValueStore& GetValueStore() const { return *valueStore_; }

    XMLNode node_;
    CEncapFamily* family_;
    std::unique_ptr<CTableEvaluator> evaluator_;
    std::unique_ptr<CValueStore> valueStore_;
    // Keyed by the upper-cased id, in the order of the upper-cased ids.
    std::map<std::wstring, std::unique_ptr<CEncapFamilyColumn>, IdLess> columns_;
    // The columns of columns_ by id ignoring case, keyed by views of the
    // map's keys: a lookup hashes the id once where the map would compare
    // it along a path, and lookups come with every cell value.
    std::unordered_map<std::wstring_view, CEncapFamilyColumn*, IdHash, IdEqual> columnsById_;
    // Keyed by the exact id: columns repeating an earlier id in another case.
    std::map<std::wstring, std::unique_ptr<CEncapFamilyColumn>> duplicateColumns_;
    // The rows by id ignoring case, in nodes from a pool of the table's own,
    // so that rows read one after another lie one after another in memory
    // whatever the state of the heap. Lookups that are const hand out rows
    // to edit, as the table's interface has it.
    std::pmr::unsynchronized_pool_resource rowMemory_;
    mutable std::pmr::unordered_map<std::pmr::wstring, CEncapFamilyRow, IdHash, IdEqual> rows_{
        &rowMemory_};
    std::vector<std::wstring> columnIds_;
    std::vector<std::wstring> rowIds_;
    std::wstring statusColumnId_;
    bool caseSensitiveLookup_ = false;
    // Every child of "Rows" is a row of the table, in order, so the element
    // at a row position is that row's and inserting needs no walk.
    bool rowElementsIndexed_ = true;
    // Callers go through the rows in order, a cell after another: a lookup
    // first tries the row last found and the one after it in rowsInOrder_
    // (the rows of rowIds_, position by position), which walks memory in
    // order where the hash map jumps. Edits of the order empty it; it is
    // rebuilt once the lookups since cost as much as rebuilding, so edits
    // between lookups never make them cost the table's size.
    void ForgetRowOrder();
    void BuildRowOrder() const;
    // GetFamilyRowByID telling whether the row is filed under `rowId`
    // exactly (not only ignoring case).
    CEncapFamilyRow* FindRow(const std::wstring& rowId, bool& filedUnderId) const;
    mutable std::vector<CEncapFamilyRow*> rowsInOrder_;
    mutable std::size_t lookupsWithoutOrder_ = 0;
    mutable std::size_t lastRowIndex_ = 0;
    // Where in its row's cell list a row found the cell last looked up:
    // rows list their cells alike, so the next row's lookup of the same
    // column, or of the next one, tries that place first.
    mutable std::size_t cellHint_ = 0;
};
