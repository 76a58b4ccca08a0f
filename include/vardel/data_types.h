// The vocabulary of column data types shared by family documents and the
// evaluator. Type names (lower case) are what family documents store for a
// column; item names are offered to hosts for display. All functions are
// static and thread-safe.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "vardel/export.h"

class VARDEL_API DataTypes {
  public:
    /// The data type of a column's values.
    enum ColumnDataType : std::int32_t {
        String = 0,   ///< text
        Real = 1,     ///< floating-point number
        Integer = 2,  ///< integer
        Boolean = 3,  ///< logical value
    };

    /// The kind of formula a table cell holds.
    enum ColumnFormulaType : std::int32_t {
        RangeFormula = 100,       ///< "[min;max;step;default]"
        ExpressionFormula = 101,  ///< an arithmetic or text expression
        MaterialFormula = 102,    ///< a material reference
    };

    /// The four item names "String", "Real", "Integer", "Boolean" in value order.
    static std::unique_ptr<std::vector<std::wstring>> GetItems();
    /// The four type names "string", "double", "integer", "boolean" in value order.
    static std::unique_ptr<std::vector<std::wstring>> GetTypes();

    /// The type whose type name equals `name` ignoring case; String when none does.
    static ColumnDataType DataTypeStr2Num(const std::wstring& name);
    /// The type whose item name equals `name` exactly; String when none does.
    static ColumnDataType ItemTypeStr2Num(const std::wstring& name);
    /// The type name; empty for a value outside 0..3.
    static std::wstring DataTypeNum2Str(ColumnDataType type);
    /// The item name; empty for a value outside 0..3.
    static std::wstring ItemTypeNum2Str(ColumnDataType type);
};
