// The generated family documents the family benchmarks measure: a table of
// N rows with a hidden "RID" column holding the row id, number columns
// "C1".."Cn" in "mm" with a cell in every row, then formula columns whose
// column-wide formulas fill them (rows have no cells of their own for
// these), laid out as a formatted save lays a family out.
#pragma once

#include <span>
#include <string>

namespace VardelBench {

struct FormulaColumn {
    const wchar_t* id;
    const wchar_t* type;
    const wchar_t* formula;  // as written in the attribute
};

/// The family text of `rows` rows, `numberColumns` number columns and the
/// `formulas` columns, made once per shape and kept for the process.
const std::wstring& FamilyText(int rows, int numberColumns,
                               std::span<const FormulaColumn> formulas = {});

}  // namespace VardelBench
