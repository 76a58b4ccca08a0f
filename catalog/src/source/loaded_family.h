// A family document loaded into the document face's family model with its
// strings documents, the one reader of family tables, mappings and strings
// documents in the catalogue: the readers take the document's root from it
// (for the properties and categories they index), the column-to-parameter
// mappings through the family's mapping, the display names and descriptions
// of every language through its strings documents, check its column
// formulas, and take each member's values as the model evaluates them, so a
// formula column is stored with its results.
//
// Values are computed with the reference evaluator provider, without a
// value cache, in the language given (a library's default language): an
// empty strings document of that language leads the ones given, so the
// model evaluates in it whether or not the family has one of its own (the
// family's own then replaces the empty one). A cell the model cannot
// evaluate (a formula of its own that does not compute, a reference to an
// empty cell) gives no value; a column formula that cannot give any value is
// a fault the readers report. One thread at a time per object; every family
// read gets its own.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "source/library_source.h"
#include "vardel/xml_node.h"
#include "vardel/xml_parser.h"

class CEncapFamily;
class CEncapFamilyColumn;
class CEncapFamilyTable;

namespace VardelCatalog {

/// One category parameter a column stands for: a "ParamToColumn" element
/// of the family's mapping.
struct ColumnMapping {
    XMLNode element;         ///< The "ParamToColumn", for messages.
    XMLNode reference;       ///< Its "CategoryParameterRef"; empty when it has none.
    std::wstring column;     ///< Its "TableColumn" as written.
    std::wstring parameter;  ///< The category parameter's id as written; empty for none.
};

/// A strings document the model could not take.
struct StringsFault {
    std::size_t index = 0;  ///< Of the strings documents given.
    int line = 0;           ///< 0 when unknown.
    std::string what;
};

/// A column whose formula the family model refuses.
struct FormulaFault {
    const CEncapFamilyColumn* column = nullptr;
    std::string what;  ///< "the formula "..." refers to ...", for a message.
};

class LoadedFamily {
  public:
    /// Loads `document` and its `strings` documents (UTF-8 bytes) into the
    /// model, evaluating in `language`.
    LoadedFamily(std::string_view document, const std::vector<std::string_view>& strings,
                 const std::wstring& language);
    /// The same for documents held as trees (a rendered family's); a parser
    /// that holds a parse error stands for a text that did not parse.
    LoadedFamily(const XMLParser& document, const std::vector<XMLParser>& strings,
                 const std::wstring& language);
    ~LoadedFamily();
    LoadedFamily(const LoadedFamily&) = delete;
    LoadedFamily& operator=(const LoadedFamily&) = delete;

    /// Whether the document loaded; when not, the line (0 when unknown) and
    /// the reason.
    bool Loaded(int& line, std::string& message) const;
    /// The first strings document that is not UTF-8 or does not parse.
    const std::optional<StringsFault>& FindStringsFault() const { return stringsFault_; }
    /// The root of the strings document given at `index` as the family holds
    /// it: of two in one language (ignoring case), the later stands for both.
    /// Empty after a strings fault.
    XMLNode StringsRoot(std::size_t index) const;
    /// The non-empty "DisplayName" and "Description" of every strings
    /// document given, by language key (LanguageKey of its "xml:lang").
    void ReadTexts(LocalizedTexts& displayNames, LocalizedTexts& descriptions) const;
    /// Every "ParamToColumn" the family's mapping holds, in document order;
    /// it may name a column the table lacks or a parameter of no library.
    std::vector<ColumnMapping> ReadMappings() const;

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
    void Load(const XMLParser& document, const std::vector<XMLParser>& strings,
              const std::wstring& language);

    std::unique_ptr<CEncapFamily> family_;
    int errorLine_ = 0;
    std::string error_;  // empty when the document loaded
    std::size_t stringsCount_ = 0;
    std::optional<StringsFault> stringsFault_;
};

}  // namespace VardelCatalog
