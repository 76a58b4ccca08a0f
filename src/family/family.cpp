// Construction, initialisation from the family text and the strings texts,
// clearing, the shared document lookups and saving of the family document.
#include "vardel/family.h"

#include "common/case_fold.h"
#include "family/family_paths.h"
#include "vardel/evaluator_provider.h"
#include "vardel/string_util.h"
#include "vardel/xml_node_array.h"
#include "xml/element_scan.h"

using VardelCommon::ToUpper;
using VardelFamily::DocumentElement;

namespace {

wchar_t SeparatorFor(bool localize) {
    return localize ? CStringUtil::GetDecimalSeparator() : L'\0';
}

// The strings documents of `texts` that `load` (a parser's loader) parses.
template <typename Text, typename Load>
std::vector<XMLParser> ParseStrings(const std::vector<Text>& texts, Load load) {
    std::vector<XMLParser> parsed;
    for (const Text& text : texts) {
        XMLParser strings;
        if (load(strings, text) && DocumentElement(strings).IsNode()) {
            parsed.push_back(strings);
        }
    }
    return parsed;
}

}  // namespace

CEncapFamily::CEncapFamily(IEvaluatorProvider* provider, bool localizeDecimalSeparator)
    : localizeDecimalSeparator_(localizeDecimalSeparator),
      decimalSeparator_(SeparatorFor(localizeDecimalSeparator)),
      provider_(provider) {
    ClearData();
    if (provider_ != nullptr) {
        provider_->SetEncapFamily(this);
    }
}

CEncapFamily::CEncapFamily(const wchar_t* familyXml, const std::vector<std::wstring>& stringsXmls,
                           const wchar_t* cachePath, IEvaluatorProvider* provider,
                           const std::wstring& defaultLanguage, bool localizeDecimalSeparator)
    : localizeDecimalSeparator_(localizeDecimalSeparator),
      decimalSeparator_(SeparatorFor(localizeDecimalSeparator)),
      provider_(provider) {
    // Loading replaces the whole document, declaration included: a text
    // without declaration is saved in UTF-8, one that names an encoding in it.
    if (document_.SetXml(familyXml)) {
        const auto load = [](XMLParser& parser, const std::wstring& text) {
            return parser.SetXml(text.c_str());
        };
        Initialize(ParseStrings(stringsXmls, load), VardelFamily::TextOf(cachePath));
    }
    CompleteLoad(defaultLanguage);
}

CEncapFamily::CEncapFamily(std::string_view familyXml,
                           const std::vector<std::string_view>& stringsXmls,
                           const wchar_t* cachePath, IEvaluatorProvider* provider,
                           const std::wstring& defaultLanguage, bool localizeDecimalSeparator)
    : localizeDecimalSeparator_(localizeDecimalSeparator),
      decimalSeparator_(SeparatorFor(localizeDecimalSeparator)),
      provider_(provider) {
    if (document_.SetXmlUtf8(familyXml)) {
        const auto load = [](XMLParser& parser, std::string_view text) {
            return parser.SetXmlUtf8(text);
        };
        Initialize(ParseStrings(stringsXmls, load), VardelFamily::TextOf(cachePath));
    }
    CompleteLoad(defaultLanguage);
}

CEncapFamily::CEncapFamily(const XMLParser& familyDocument,
                           const std::vector<XMLParser>& stringsDocuments, const wchar_t* cachePath,
                           IEvaluatorProvider* provider, const std::wstring& defaultLanguage,
                           bool localizeDecimalSeparator)
    : localizeDecimalSeparator_(localizeDecimalSeparator),
      decimalSeparator_(SeparatorFor(localizeDecimalSeparator)),
      provider_(provider) {
    document_ = familyDocument;
    if (DocumentElement(document_).IsNode()) {
        const auto take = [](XMLParser& parser, const XMLParser& given) {
            parser = given;
            return true;
        };
        Initialize(ParseStrings(stringsDocuments, take), VardelFamily::TextOf(cachePath));
    }
    CompleteLoad(defaultLanguage);
}

CEncapFamily::~CEncapFamily() {
    ClearData();
    delete provider_;
}

void CEncapFamily::CompleteLoad(const std::wstring& defaultLanguage) {
    if (languages_.empty()) {
        languages_.push_back(defaultLanguage);
    }
    if (provider_ != nullptr) {
        provider_->SetEncapFamily(this);
    }
}

void CEncapFamily::Initialize(const std::vector<XMLParser>& strings,
                              const std::wstring& cachePath) {
    for (const XMLParser& parser : strings) {
        const XMLNode root = DocumentElement(parser);
        std::wstring language;
        root.GetProperty(L"xml:lang", language);
        strings_.insert_or_assign(ToUpper(language), parser);
        languages_.push_back(language);
    }
    const XMLNode root = Root();
    XMLNode templates;
    XMLNode parameterMap;
    const bool hasTemplates = root.GetChildNode(L"FamilyTemplates", templates);
    if (root.GetChildNode(L"ParameterMap", parameterMap) || hasTemplates) {
        mapping_ = std::make_unique<CEncapFamilyMapping>(templates, parameterMap, this);
    }
    // "Categories/Category//CategoryParameter", walked: every load asks.
    for (const XMLNode& category : VardelXml::ElementsAtPath(root, {"Categories", "Category"})) {
        for (const XMLNode& parameter :
             VardelXml::DescendantsNamed(category, "CategoryParameter")) {
            std::wstring name;
            if (parameter.GetProperty(L"InternalName", name)) {
                categoryParameters_.insert_or_assign(ToUpper(name), parameter);
            }
        }
    }
    XMLNode tableNode;
    if (root.GetChildNode(L"FamilyTable", tableNode)) {
        table_ = std::make_unique<CEncapFamilyTable>(tableNode, this, cachePath);
    }
}

void CEncapFamily::ClearData() {
    // The constant columns and the cache go first: they point into the table.
    parameterColumns_.clear();
    constantColumns_.clear();
    table_.reset();
    mapping_.reset();
    categoryParameters_.clear();
    strings_.clear();
    languages_.clear();
}

bool CEncapFamily::SaveFamilyXML(const wchar_t* path) const {
    if (path == nullptr) {
        return false;
    }
    // A copy shares the document; saving does not change it.
    XMLParser document = document_;
    return document.SaveXmlDocument(path, false);
}

XMLNode CEncapFamily::Root() const {
    return DocumentElement(document_);
}

void CEncapFamily::GetRootAttribute(const wchar_t* name, std::wstring& value) const {
    std::wstring text;
    if (Root().GetProperty(name, text)) {
        value = std::move(text);
    }
}

void CEncapFamily::SetRootAttribute(const wchar_t* name, const std::wstring& value) {
    Root().SetProperty(name, value);
}

std::wstring CEncapFamily::ActualLanguage() const {
    return languages_.empty() ? std::wstring() : languages_.front();
}

const XMLParser* CEncapFamily::StringsDocument(const std::wstring& language) const {
    const auto found = strings_.find(ToUpper(language));
    return found != strings_.end() ? &found->second : nullptr;
}

XMLNode CEncapFamily::StringsRoot(const std::wstring& language) const {
    const XMLParser* document = StringsDocument(language);
    return document != nullptr ? DocumentElement(*document) : XMLNode();
}

std::vector<XMLNode> CEncapFamily::AllStringsRoots() const {
    std::vector<XMLNode> roots;
    for (const auto& [key, document] : strings_) {
        roots.push_back(DocumentElement(document));
    }
    return roots;
}

void CEncapFamily::BumpAllMemberRevisions() {
    if (table_ != nullptr) {
        table_->BumpAllMemberRevisions(nullptr);
    }
}
