// Family aspects from the stored documents; the two small ones are built
// with the XML document classes so that names are escaped by the one XML
// writer of the library.
#include "service/family_aspects.h"

#include <string_view>

#include "common/utf8.h"
#include "source/source_values.h"
#include "vardel/xml_parser.h"

namespace VardelCatalog {
namespace {

constexpr std::wstring_view kStringsPrefix = L"FamilyStrings.";

std::string Utf8Xml(const XMLParser& document) {
    std::wstring xml;
    document.GetXml(xml);
    return VardelCommon::ToUtf8(xml);
}

std::string DerivedFamilyLink(const FamilyRow& family) {
    XMLParser document(L"<DerivedFamilyLink/>");
    XMLNode root = document.GetRootNode();
    root.SetProperty(L"ParentLibraryName", family.parentLibraryName);
    root.SetProperty(L"ParentFamilyName", family.parentFamilyName);
    return Utf8Xml(document);
}

std::string StringsLanguages(StatementCache& cache, const FamilyRow& family) {
    XMLParser document(L"<Languages/>");
    XMLNode root = document.GetRootNode();
    for (const std::string& language : QueryStringsLanguages(cache, family.id)) {
        root.AddNode(L"Language").SetProperty(L"Name", VardelCommon::FromUtf8(language));
    }
    return Utf8Xml(document);
}

}  // namespace

std::optional<std::string> ReadFamilyAspect(StatementCache& cache, const FamilyRow& family,
                                            const std::wstring& aspect) {
    if (aspect == L"DerivedFamilyLinkAspect") {
        return DerivedFamilyLink(family);
    }
    if (aspect == L"FamilyDocument") {
        return QueryFamilyDocument(cache, family.id);
    }
    if (aspect == L"FamilyStringsLanguages") {
        return StringsLanguages(cache, family);
    }
    if (aspect.starts_with(kStringsPrefix)) {
        const std::wstring language = LanguageKey(aspect.substr(kStringsPrefix.size()));
        return QueryStringsDocument(cache, family.id, VardelCommon::ToUtf8(language));
    }
    return std::nullopt;
}

}  // namespace VardelCatalog
