#include "xml/xml_parse.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <climits>
#include <mutex>
#include <string>

#include "common/utf8.h"
#include "xml/quiet_errors.h"
#include "xml/whitespace_filter.h"

namespace VardelXml {
namespace {

// Big lines: elements past line 65535 still get a line (from libxml2's
// text-node record) instead of a capped number. Compact: a short text (a
// table cell's number) is kept inside its node rather than in an allocation
// of its own, which saves a quarter of a family's load; libxml2's own edits
// and frees know such texts, and the layer changes texts only through them.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOENT | XML_PARSE_NOERROR |
                              XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES | XML_PARSE_COMPACT;

// The loader that was installed before ours; other libxml2 users in the host
// keep it for their own parses.
xmlExternalEntityLoader previousLoader = nullptr;
thread_local bool parsingHere = false;

xmlParserInputPtr RefusingLoader(const char* url, const char* id, xmlParserCtxtPtr context) {
    if (parsingHere)
        return nullptr;
    return previousLoader != nullptr ? previousLoader(url, id, context) : nullptr;
}

void InstallLoaderOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        previousLoader = xmlGetExternalEntityLoader();
        xmlSetExternalEntityLoader(RefusingLoader);
    });
}

bool IsXmlBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r';
}

std::shared_ptr<XmlTree> Parse(std::string_view bytes, const char* encoding, int options,
                               ParseFailure& failure) {
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        failure = {0, "document too large"};
        return nullptr;
    }
    InstallLoaderOnce();
    const QuietErrors quiet;
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    if (context == nullptr) {
        failure = {0, "out of memory"};
        return nullptr;
    }
    const WhitespaceFilter filter(context);
    parsingHere = true;
    xmlDocPtr doc = xmlCtxtReadMemory(context, bytes.data(), static_cast<int>(bytes.size()),
                                      nullptr, encoding, kParseOptions | options);
    parsingHere = false;
    // An undeclared prefix is only a namespace error to libxml2; a document
    // using one is not well-formed here.
    const bool wellFormed =
        doc != nullptr && context->nsWellFormed != 0 && xmlDocGetRootElement(doc) != nullptr;
    xmlFreeParserCtxt(context);
    if (!wellFormed) {
        xmlFreeDoc(doc);
        const auto& error = quiet.FirstError();
        failure = error ? ParseFailure{error->line, error->message}
                        : ParseFailure{0, "no document element"};
        return nullptr;
    }
    failure = {};
    return std::make_shared<XmlTree>(doc);
}

// The value of the pseudo-attribute "encoding" of a declaration text.
std::string EncodingOfDeclaration(std::wstring_view declaration) {
    const std::size_t end = declaration.find(L"?>");
    declaration = declaration.substr(0, end);
    std::size_t at = declaration.find(L"encoding");
    if (at == std::wstring_view::npos)
        return {};
    at += 8;
    while (at < declaration.size() && IsXmlBlank(declaration[at]))
        ++at;
    if (at >= declaration.size() || declaration[at] != L'=')
        return {};
    ++at;
    while (at < declaration.size() && IsXmlBlank(declaration[at]))
        ++at;
    if (at >= declaration.size() || (declaration[at] != L'"' && declaration[at] != L'\''))
        return {};
    const wchar_t quote = declaration[at++];
    const std::size_t close = declaration.find(quote, at);
    if (close == std::wstring_view::npos)
        return {};
    return VardelCommon::ToUtf8(declaration.substr(at, close - at));
}

bool StartsWithDeclaration(std::wstring_view text) {
    return text.size() > 5 && text.substr(0, 5) == L"<?xml" && IsXmlBlank(text[5]);
}

// How a file's bytes are encoded, judged by their byte-order mark or, without
// one, by the zero bytes of UTF-16 around the first character; and their
// first characters, enough to see a declaration.
struct FileHead {
    const char* encoding = nullptr;  // null: the parser's own detection
    std::wstring text;
};

FileHead HeadOf(std::string_view bytes) {
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[i]));
    };
    FileHead head;
    std::size_t at = 0;
    std::size_t width = 1;
    bool bigEndian = false;
    if (bytes.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
        at = 3;
    } else if (bytes.size() >= 2 &&
               ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF))) {
        at = 2, width = 2, bigEndian = byte(0) == 0xFE;
    } else if (bytes.size() >= 2 && (byte(0) == 0) != (byte(1) == 0)) {
        width = 2, bigEndian = byte(0) == 0;
        head.encoding = bigEndian ? "UTF-16BE" : "UTF-16LE";
    }
    for (; at + width <= bytes.size() && head.text.size() < 128; at += width) {
        const unsigned unit = width == 1  ? byte(at)
                              : bigEndian ? (byte(at) << 8U | byte(at + 1))
                                          : (byte(at + 1) << 8U | byte(at));
        head.text.push_back(static_cast<wchar_t>(unit));
    }
    return head;
}

}  // namespace

std::shared_ptr<XmlTree> ParseText(std::wstring_view text, ParseFailure& failure) {
    if (!text.empty() && text.front() == 0xFEFF)
        text.remove_prefix(1);
    return ParseUtf8Text(VardelCommon::ToUtf8(text), failure);
}

std::shared_ptr<XmlTree> ParseUtf8Text(std::string_view text, ParseFailure& failure) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    // The text is handed over as UTF-8 whatever its declaration says.
    auto tree = Parse(text, "UTF-8", XML_PARSE_IGNORE_ENC, failure);
    // A declaration is short and ASCII up to its end: only that is widened.
    const std::wstring head = text.starts_with("<?xml")
                                  ? VardelCommon::FromUtf8(text.substr(0, text.find("?>")))
                                  : std::wstring();
    if (tree != nullptr && StartsWithDeclaration(head)) {
        tree->hasDeclaration = true;
        tree->declaredEncoding = EncodingOfDeclaration(head);
    }
    return tree;
}

std::shared_ptr<XmlTree> ParseBytes(std::string_view bytes, ParseFailure& failure) {
    const FileHead head = HeadOf(bytes);
    auto tree = Parse(bytes, head.encoding, 0, failure);
    if (tree != nullptr && StartsWithDeclaration(head.text)) {
        tree->hasDeclaration = true;
        tree->declaredEncoding = EncodingOfDeclaration(head.text);
    }
    return tree;
}

}  // namespace VardelXml
