// The evaluator of one family table's formulas and the result codes that
// every value and formula operation of the family model answers. A formula
// is text in which "{" column id "}" refers to the same row's value of
// another column; text formulas join string literals with "&"; range
// formulas have the "[min;max;step;default]" shape. Arithmetic, units and
// materials are left to the family's IEvaluatorProvider.
//
// Each table owns one evaluator and reaches it through its forwarders
// (CEncapFamilyTable::Evaluate, CheckFormulaSyntax, UpdateColumnsDependency);
// hosts use only the result codes. Computed cell values are left in the
// table's value cache. One thread at a time; calls nest strictly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "vardel/data_types.h"

class CEncapFamilyTable;
class CEncapFamilyColumn;
class IEvaluatorProvider;

class CTableEvaluator {
  public:
    /// The outcome of every evaluating operation of the family model.
    enum EvaluateResult : std::int32_t {
        Success = 0,
        /// The cell is already being evaluated further up the same chain.
        CircularReference = 1,
        /// A "}" without "{", or a "{" without "}".
        SyntaxError = 2,
        /// The provider cannot evaluate the expression or convert its units;
        /// the table also answers it for a column that does not exist.
        ProviderFailure = 3,
        /// Not range text, or a range whose limits contradict each other.
        InvalidRange = 4,
        /// A reference to a missing column, or a formula kind without checks.
        UnknownReference = 5,
        /// Not acceptable for the column's data type.
        InvalidForColumn = 6,
        /// The evaluated cell's column does not exist, or the evaluation left
        /// no value.
        NoValue = 7,
        /// Computed only with the units stripped: valid for this request,
        /// not kept in the cache.
        UnitsStripped = 8,
    };

    /// One piece of a parsed formula: literal text, or the trimmed column id
    /// of a "{...}" reference.
    struct Token {
        bool isReference = false;
        std::wstring text;
    };
    using Tokens = std::vector<Token>;
    using Columns = std::set<CEncapFamilyColumn*>;

    /// The evaluator of `table`, using its family's provider (may be null).
    explicit CTableEvaluator(CEncapFamilyTable* table);
    CTableEvaluator(const CTableEvaluator&) = delete;
    CTableEvaluator& operator=(const CTableEvaluator&) = delete;
    virtual ~CTableEvaluator();

    /// Evaluates the cell (row, column) in `language` and leaves its value in
    /// the column's cache.
    EvaluateResult EvaluateCell(const std::wstring& rowId, const std::wstring& columnId,
                                const std::wstring& language);
    /// Evaluates `formula` of `formulaType` as a value of `dataType` for row
    /// `rowId` in `unit`; `value` is set only on success.
    EvaluateResult EvaluateFormula(const wchar_t* formula, DataTypes::ColumnFormulaType formulaType,
                                   DataTypes::ColumnDataType dataType, const std::wstring& rowId,
                                   const std::wstring& unit, std::wstring& value);
    /// Checks `formula` before it is stored in a column of `dataType` and
    /// `unit`.
    EvaluateResult CheckFormulaSyntax(const wchar_t* formula,
                                      DataTypes::ColumnFormulaType formulaType,
                                      DataTypes::ColumnDataType dataType, const std::wstring& unit);
    /// Adds to `columns` the columns `formula` refers to directly: 0, 2 for a
    /// syntax error, 5 for a reference to a missing column.
    EvaluateResult GetReferencedColumns(const std::wstring& formula, Columns& columns);
    /// The same, following the formulas of the referenced expression columns
    /// transitively; columns already in `columns` are not visited again.
    EvaluateResult GetAllReferencedColumns(const std::wstring& formula, Columns& columns);
    /// Splits `formula` into tokens (cached per formula text): 0, or 1 for a
    /// syntax error.
    int ParseFormula(const std::wstring& formula, Tokens& tokens);

  private:
    EvaluateResult ValidateFormula(const std::wstring& formula, DataTypes::ColumnDataType dataType,
                                   const std::wstring& unit, bool& hasReferences);
    bool IsValidExpression(const std::wstring& expression, const std::wstring& unit);
    double EvaluateToNumber(const std::wstring& expression, const std::wstring& unit);
    EvaluateResult ComputeNumericValue(const std::wstring& expression,
                                       const std::wstring& plainExpression,
                                       const std::wstring& unit, std::wstring& value);
    static std::wstring JoinStringLiterals(const std::wstring& expression);

    // The cached tokens of `formula`: 0, with `tokens` null for a formula
    // that is one literal (no "{"), or 1 for a syntax error.
    int FindTokens(const std::wstring& formula, const Tokens*& tokens);
    // The cell's text before evaluation: localised value, own cell or
    // formula; for a custom column the row's range value or the range's.
    void ReadCellText(const std::wstring& rowId, const CEncapFamilyColumn& column,
                      const std::wstring& language, std::wstring& text) const;
    // Turns the cell's expressions into its value by data type and leaves it
    // in the column's cache; `result` is the code of the references read.
    // `expression` may be consumed (it may be `plainExpression` itself).
    EvaluateResult StoreCellValue(CEncapFamilyColumn& column, const std::wstring& rowId,
                                  const std::wstring& language, std::wstring& expression,
                                  const std::wstring& plainExpression, EvaluateResult result);
    // Appends the value of the row's cell of column `id` to `expression`,
    // and, when `numeric` and the value is a number, the column's unit too
    // while the plain expression gets the bare number. The reference's
    // result (0 or 8), else the failure.
    EvaluateResult AppendCellReference(const std::wstring& id, const std::wstring& rowId,
                                       const std::wstring& language, bool numeric,
                                       std::wstring& expression, std::wstring& plainExpression);
    // Appends the value of the row's cell of column `id`, a number converted
    // into `unit` when one is named; any result but 0 is a failure.
    EvaluateResult AppendFormulaReference(const std::wstring& id, const std::wstring& rowId,
                                          const std::wstring& language, const std::wstring& unit,
                                          std::wstring& expression);
    // The value of a formula's expression by data type; `expression` may be
    // consumed.
    EvaluateResult FormulaValue(std::wstring& expression, DataTypes::ColumnDataType dataType,
                                const std::wstring& unit, std::wstring& value);
    // Appends one literal token: a number localised when `localizeNumber`,
    // else the material name when `material` (to `expression` only).
    void AppendLiteral(const std::wstring& literal, bool localizeNumber, bool material,
                       std::wstring& expression, std::wstring* plainExpression);
    // Replaces, from `start` on, every "." of `text` (every "," when it has
    // no ".") by the family's decimal separator.
    void LocalizeDecimals(std::wstring& text, std::size_t start) const;
    // The number as "%.8g", with the family's decimal separator when it
    // localises.
    std::wstring FormatResult(double number) const;

    CEncapFamilyTable* table_;
    std::map<std::wstring, Tokens> parseCache_;
    // The cells being evaluated (row id, column), outermost first; see
    // family/circular_dependency_checker.h.
    std::vector<std::pair<const std::wstring*, const CEncapFamilyColumn*>> inProgress_;
    IEvaluatorProvider* provider_;
};
