// The XPath forms that hot loops use: `name[@attribute="value"]`,
// `name[ms:string-compare(@attribute, 'value', 'lang', 'options') = 0]`
// (either quote, spaces allowed between the parts) and a path of plain
// names `a/b/c`. Family rows find their cells this way, once per cell, and
// every family load its parts. They are answered by a direct walk over the
// children with exactly the engine's meaning (names without namespace; the
// attribute's string value equal to the literal, ignoring case when the
// options hold "i"; an element without the attribute compares its empty
// string; a path's elements in document order), instead of a trip through
// the XPath engine, whose compilation alone costs more than the walk.
// Anything else goes to the engine.
#pragma once

#include <libxml/tree.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace VardelXml {

struct SimpleStep {
    std::string element;
    std::string attribute;
    std::string value;
    /// The string-compare form: a missing attribute compares as "".
    bool stringCompare = false;
    bool ignoreCase = false;
};

/// The parts of `xpath` when it has the simple form.
std::optional<SimpleStep> ParseSimpleStep(std::wstring_view xpath);

/// The names of `xpath` when it is a path of plain ASCII names ("a/b").
std::optional<std::vector<std::string>> ParseChildPath(std::wstring_view xpath);

/// Appends the elements the path `names` selects below `context`, in
/// document order (only the first when `firstOnly`).
void SelectChildPath(xmlNodePtr context, const std::vector<std::string>& names, bool firstOnly,
                     std::vector<xmlNodePtr>& selected);

/// Appends the children of `context` that `step` selects, in order (only
/// the first when `firstOnly`).
void SelectSimpleStep(xmlNodePtr context, const SimpleStep& step, bool firstOnly,
                      std::vector<xmlNodePtr>& selected);

}  // namespace VardelXml
