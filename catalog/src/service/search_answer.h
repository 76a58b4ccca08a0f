// The answer of a search as the library's search reads it:
// <results><row FamilyId="..." name="value" .../>...</results>. Rows are
// written in the order they are given; attribute values are escaped, and
// characters that XML cannot carry (control characters other than tab, line
// feed and carriage return; U+FFFE, U+FFFF) become U+FFFD, so any stored
// text gives a well-formed answer.
#pragma once

#include <string>
#include <string_view>

namespace VardelCatalog {

/// True when `name` can name an attribute of a row: an XML name without a
/// colon (namespace prefixes would make it another attribute), not "xmlns".
bool IsAnswerAttributeName(std::wstring_view name);

class SearchAnswer {
  public:
    SearchAnswer();

    /// Starts a row of the family `familyId` (UTF-8).
    void BeginRow(std::string_view familyId);
    /// Adds an attribute to the open row; `name` must pass
    /// IsAnswerAttributeName (UTF-8), `value` is any UTF-8 text.
    void Attribute(std::string_view name, std::string_view value);
    void EndRow();

    /// Closes the answer and returns it; the writer is spent afterwards.
    std::wstring Finish();

  private:
    std::string xml_;
};

}  // namespace VardelCatalog
