// Building a document element by element instead of writing its text and
// parsing it: the tree comes out as parsing the same text would make it
// (whitespace-only text dropped outside xml:space="preserve", entities
// already replaced, a UTF-8 declaration), for a fraction of the work. A
// writer that needs both the text and the tree of a document it renders
// hands every element to both.
#pragma once

#include <memory>
#include <string_view>

#include "vardel/export.h"
#include "vardel/xml_parser.h"

class VARDEL_API XMLDocumentBuilder {
  public:
    XMLDocumentBuilder();
    ~XMLDocumentBuilder();
    XMLDocumentBuilder(const XMLDocumentBuilder&) = delete;
    XMLDocumentBuilder& operator=(const XMLDocumentBuilder&) = delete;

    /// Opens an element as the last child of the open one, or as the
    /// document element when none is open. `name` is an XML name without a
    /// prefix; `line` is the line the element would stand on in the text
    /// (0: unknown).
    void StartElement(std::string_view name, long line = 0);
    /// Adds an attribute to the element opened last, before its content.
    /// `name` has no prefix or the prefix "xml"; `value` is the attribute's
    /// value as read, in UTF-8.
    void Attribute(std::string_view name, std::string_view value);
    /// Appends text (UTF-8, as read) to the open element.
    void Text(std::string_view text);
    /// Closes the open element.
    void EndElement();

    /// The document built so far, once its document element is closed; the
    /// builder then starts a new one. A misuse (a name that is no XML name,
    /// a text that is not UTF-8, holds a character XML cannot hold or is
    /// over INT_MAX bytes long, an attribute after content or given twice,
    /// an element left open or none at all, a second document element)
    /// makes a parser that holds no document, with the first misuse as its
    /// parse error (line 0).
    XMLParser Finish();

  private:
    struct State;
    std::unique_ptr<State> state_;
};
