// Reading one XML source file (library.xml, a CSV family's description, a
// family document or a strings document) through the project's XML layer,
// with errors that name the file, the line and the element. Every reading
// function returns false after filling the error at the first fault, so a
// reader chains them with && and stops where the source is wrong.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "source/library_source.h"
#include "source/source_error.h"
#include "vardel/xml_parser.h"

namespace VardelCatalog {

class XmlSource {
  public:
    /// Errors go to `error` (which must outlive this object), naming `file`.
    XmlSource(std::filesystem::path file, SourceError& error);

    const std::filesystem::path& file() const { return file_; }

    /// Parses `bytes` into `parser` and checks that the root element is
    /// `rootName` (any name when null).
    bool Load(std::string_view bytes, XMLParser& parser, const wchar_t* rootName) const;

    /// Fills the error about `element` ("element NAME" at its line); false.
    bool Fail(const XMLNode& element, const std::string& what) const;
    /// Fills the error at `line` of the file; false.
    bool FailAt(int line, std::string where, std::string what) const;

    /// The attribute's text; false with an error when it is missing and
    /// `required`, true with `value` untouched when it is missing otherwise.
    bool Text(const XMLNode& element, const wchar_t* name, std::wstring& value,
              bool required = false) const;
    /// A required GUID attribute.
    bool Id(const XMLNode& element, const wchar_t* name, Guid& value) const;
    /// A GUID attribute that may be missing (`value` then stays empty).
    bool OptionalId(const XMLNode& element, const wchar_t* name, std::optional<Guid>& value) const;
    /// A boolean attribute; `value` keeps its default when it is missing.
    bool Boolean(const XMLNode& element, const wchar_t* name, bool& value) const;
    /// A time attribute (YYYY-MM-DDThh:mm:ssZ).
    bool Time(const XMLNode& element, const wchar_t* name, std::wstring& value,
              bool required = false) const;
    /// A value-type attribute, lower-cased; "string" stays when missing.
    bool ValueType(const XMLNode& element, const wchar_t* name, std::wstring& value) const;
    /// A key weight: a whole number from `minimum` on.
    bool KeyWeight(const XMLNode& element, const wchar_t* name, int minimum, int& value) const;

    /// The texts of the children `childName` of `parent`, keyed by their
    /// attribute `Lang` (lower-cased); an empty text is none, a language
    /// given twice is an error.
    bool LocalizedTexts(const XMLNode& parent, const wchar_t* childName,
                        VardelCatalog::LocalizedTexts& texts) const;

  private:
    bool Missing(const XMLNode& element, const wchar_t* name) const;
    bool FailAttribute(const XMLNode& element, const wchar_t* name, const std::wstring& text,
                       const char* expected) const;

    std::filesystem::path file_;
    SourceError& error_;
};

/// The children of `parent` named `name`, in document order.
XMLNodeArray ChildElements(const XMLNode& parent, const wchar_t* name);

/// The text as UTF-8, for messages.
std::string Narrow(std::wstring_view text);

}  // namespace VardelCatalog
