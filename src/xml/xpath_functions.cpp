#include "xml/xpath_functions.h"

#include <libxml/xpathInternals.h>

#include <string>

#include "common/case_fold.h"
#include "xml/xml_text.h"

namespace VardelXml {
namespace {

const xmlChar* Chars(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

constexpr const char* kMsNamespace = "urn:schemas-microsoft-com:xslt";

// Pops a string argument into a wide string (the stack holds UTF-8).
std::wstring PopWide(xmlXPathParserContextPtr parser) {
    xmlChar* text = xmlXPathPopString(parser);
    std::wstring wide = FromXml(text);
    xmlFree(text);
    return wide;
}

void StringCompare(xmlXPathParserContextPtr parser, int argumentCount) {
    if (argumentCount < 2 || argumentCount > 4) {
        xmlXPathSetArityError(parser);
        return;
    }
    std::wstring options;
    if (argumentCount == 4)
        options = PopWide(parser);
    if (argumentCount >= 3)
        PopWide(parser);  // the language: only the default one is known
    const std::wstring second = PopWide(parser);
    const std::wstring first = PopWide(parser);
    if (parser->error != XPATH_EXPRESSION_OK)
        return;
    const int order = options.find(L'i') != std::wstring::npos
                          ? VardelCommon::CompareNoCase(first, second)
                          : first.compare(second);
    valuePush(parser, xmlXPathNewFloat(order < 0 ? -1.0 : (order > 0 ? 1.0 : 0.0)));
}

}  // namespace

void RegisterExtensions(xmlXPathContextPtr context) {
    xmlXPathRegisterNs(context, Chars("ms"), Chars(kMsNamespace));
    xmlXPathRegisterFuncNS(context, Chars("string-compare"), Chars(kMsNamespace), StringCompare);
}

}  // namespace VardelXml
