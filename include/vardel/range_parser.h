// A range cell of a family table: "[" minimum ";" maximum ";" step ";"
// default "]", each part possibly empty. Parsing happens once, in the
// constructor; an object is a plain value that may be copied freely. A range
// is valid when its minimum and maximum are numeric or empty; its value is the
// default, or the minimum when the default is empty.
#pragma once

#include <string>

#include "vardel/export.h"

class VARDEL_API CRangeParser {
  public:
    /// Stores `text` (null is taken as empty) and parses it. The parse is
    /// lenient: text around the brackets is ignored and the default runs to
    /// the "]". Use IsRange for the strict shape.
    explicit CRangeParser(const wchar_t* text);

    /// True exactly for "[" a ";" b ";" c ";" d "]" with no other bracket and
    /// exactly three semicolons.
    static bool IsRange(const std::wstring& text);

    const std::wstring& getMin() const { return min_; }
    const std::wstring& getMax() const { return max_; }
    const std::wstring& getStep() const { return step_; }
    const std::wstring& getDefault() const { return default_; }
    bool hasMin() const { return !min_.empty(); }
    bool hasMax() const { return !max_.empty(); }
    bool hasStep() const { return !step_.empty(); }
    bool hasDefault() const { return !default_.empty(); }

    /// Sets `out` to the value; a point `separator` turns its commas into
    /// points, a comma turns points into commas, anything else leaves it.
    /// Returns whether the range is valid.
    bool GetStrValue(std::wstring& out, wchar_t separator) const;

  private:
    void Parse();

    std::wstring source_;
    std::wstring min_;
    std::wstring max_;
    std::wstring step_;
    std::wstring default_;
    std::wstring value_;
    bool valid_ = false;
};
