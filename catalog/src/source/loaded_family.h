// A family document loaded into the document face's family model, the one
// reader of family tables in the catalogue: the readers take the document's
// root from it (for the properties, categories and mappings they index),
// check its column formulas, and take each member's values as the model
// evaluates them, so a formula column is stored with its results.
//
// Values are computed with the reference evaluator provider, without a
// value cache, in the language given (a library's default language). A cell
// the model cannot evaluate (a formula of its own that does not compute, a
// reference to an empty cell) gives no value; a column formula that cannot
// give any value is a fault the readers report. One thread at a time per
// object; every family read gets its own.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "source/library_source.h"
#include "vardel/xml_node.h"

class CEncapFamily;
class CEncapFamilyColumn;
class CEncapFamilyTable;

namespace VardelCatalog {

/// A column whose formula the family model refuses.
struct FormulaFault {
    const CEncapFamilyColumn* column = nullptr;
    std::string what;  ///< "the formula "..." refers to ...", for a message.
};

class LoadedFamily {
  public:
    /// Loads `document` (UTF-8 bytes) into the model, evaluating in `language`.
    LoadedFamily(std::string_view document, const std::wstring& language);
    ~LoadedFamily();
    LoadedFamily(const LoadedFamily&) = delete;
    LoadedFamily& operator=(const LoadedFamily&) = delete;

    /// Whether the document loaded; when not, the line (0 when unknown) and
    /// the reason.
    bool Loaded(int& line, std::string& message) const;
    /// The document element; empty when the document did not load.
    XMLNode Root() const;
    /// The family table; null when the document has none.
    CEncapFamilyTable* Table() const;

    /// The first column, in table order, whose formula the model would not
    /// accept as the column's formula (bad syntax, a reference to a missing
    /// column, a range that is none, a result of another type, a circle of
    /// references); none when every formula is sound.
    std::optional<FormulaFault> FindFormulaFault() const;

    /// The table's rows in order, each with the evaluated value of every
    /// column of `mapped` (which must be columns of the table).
    void ReadMembers(const std::vector<ParameterColumn>& mapped,
                     std::vector<MemberSource>& members) const;

  private:
    std::unique_ptr<CEncapFamily> family_;
    int errorLine_ = 0;
    std::string error_;  // empty when the document loaded
};

}  // namespace VardelCatalog
