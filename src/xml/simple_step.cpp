#include "xml/simple_step.h"

#include <cstring>

#include "common/case_fold.h"
#include "common/utf8.h"
#include "xml/xml_text.h"

namespace VardelXml {
namespace {

bool IsNameStart(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_';
}

bool IsNameChar(wchar_t c) {
    return IsNameStart(c) || (c >= L'0' && c <= L'9') || c == L'-' || c == L'.';
}

// A left-to-right reader over the expression text.
class Reader {
  public:
    explicit Reader(std::wstring_view text) : text_(text) {}

    void SkipSpaces() {
        while (at_ < text_.size() && (text_[at_] == L' ' || text_[at_] == L'\t'))
            ++at_;
    }
    bool Take(wchar_t c) {
        SkipSpaces();
        if (at_ >= text_.size() || text_[at_] != c)
            return false;
        ++at_;
        return true;
    }
    // An ASCII name; names of other letters go to the engine.
    std::optional<std::string> Name() {
        SkipSpaces();
        const std::size_t start = at_;
        if (at_ >= text_.size() || !IsNameStart(text_[at_]))
            return std::nullopt;
        while (at_ < text_.size() && IsNameChar(text_[at_]))
            ++at_;
        return VardelCommon::ToUtf8(text_.substr(start, at_ - start));
    }
    std::optional<std::string> Literal() {
        SkipSpaces();
        if (at_ >= text_.size() || (text_[at_] != L'"' && text_[at_] != L'\''))
            return std::nullopt;
        const std::size_t close = text_.find(text_[at_], at_ + 1);
        if (close == std::wstring_view::npos)
            return std::nullopt;
        std::string literal = VardelCommon::ToUtf8(text_.substr(at_ + 1, close - at_ - 1));
        at_ = close + 1;
        return literal;
    }
    bool TakeWord(std::wstring_view word) {
        SkipSpaces();
        if (text_.substr(at_, word.size()) != word)
            return false;
        at_ += word.size();
        return true;
    }
    bool AtEnd() {
        SkipSpaces();
        return at_ == text_.size();
    }

  private:
    std::wstring_view text_;
    std::size_t at_ = 0;
};

bool ValueIs(xmlAttrPtr attribute, const std::string& value) {
    const xmlNode* child = attribute->children;
    if (child == nullptr)
        return value.empty();
    if (child->next == nullptr && child->type == XML_TEXT_NODE) {
        return std::strcmp(reinterpret_cast<const char*>(child->content), value.c_str()) == 0;
    }
    xmlChar* text = xmlNodeListGetString(attribute->doc, attribute->children, 1);
    const bool equal =
        text != nullptr ? value == reinterpret_cast<const char*>(text) : value.empty();
    xmlFree(text);
    return equal;
}

// The attribute without namespace named `name`, if the element has one.
xmlAttrPtr PlainAttribute(xmlNodePtr element, const std::string& name) {
    for (xmlAttrPtr attribute = element->properties; attribute != nullptr;
         attribute = attribute->next) {
        if (attribute->ns == nullptr &&
            std::strcmp(reinterpret_cast<const char*>(attribute->name), name.c_str()) == 0) {
            return attribute;
        }
    }
    return nullptr;
}

bool Matches(xmlNodePtr node, const SimpleStep& step) {
    if (node->type != XML_ELEMENT_NODE || node->ns != nullptr ||
        std::strcmp(reinterpret_cast<const char*>(node->name), step.element.c_str()) != 0) {
        return false;
    }
    xmlAttrPtr attribute = PlainAttribute(node, step.attribute);
    if (!step.stringCompare)
        return attribute != nullptr && ValueIs(attribute, step.value);
    if (!step.ignoreCase)
        return attribute != nullptr ? ValueIs(attribute, step.value) : step.value.empty();
    const std::wstring value = attribute != nullptr ? AttributeText(attribute) : std::wstring();
    return VardelCommon::EqualsNoCase(value, VardelCommon::FromUtf8(step.value));
}

// After "name[": "@attribute = 'value'".
bool ReadEquality(Reader& reader, SimpleStep& step) {
    if (!reader.Take(L'@'))
        return false;
    auto attribute = reader.Name();
    if (!attribute || !reader.Take(L'='))
        return false;
    auto value = reader.Literal();
    if (!value)
        return false;
    step.attribute = std::move(*attribute);
    step.value = std::move(*value);
    return true;
}

// After "name[": "ms:string-compare(@attribute, 'value', 'lang', 'options') = 0".
bool ReadStringCompare(Reader& reader, SimpleStep& step) {
    if (!reader.TakeWord(L"ms:string-compare") || !reader.Take(L'(') || !reader.Take(L'@'))
        return false;
    auto attribute = reader.Name();
    if (!attribute || !reader.Take(L','))
        return false;
    auto value = reader.Literal();
    if (!value || !reader.Take(L',') || !reader.Literal() || !reader.Take(L','))
        return false;
    auto options = reader.Literal();
    if (!options || !reader.Take(L')') || !reader.Take(L'=') || !reader.Take(L'0'))
        return false;
    step.attribute = std::move(*attribute);
    step.value = std::move(*value);
    step.stringCompare = true;
    step.ignoreCase = options->find('i') != std::string::npos;
    return true;
}

}  // namespace

std::optional<SimpleStep> ParseSimpleStep(std::wstring_view xpath) {
    Reader reader(xpath);
    SimpleStep step;
    auto element = reader.Name();
    if (!element || !reader.Take(L'['))
        return std::nullopt;
    step.element = std::move(*element);
    Reader stringCompare = reader;
    if (!ReadEquality(reader, step)) {
        reader = stringCompare;
        if (!ReadStringCompare(reader, step))
            return std::nullopt;
    }
    if (!reader.Take(L']') || !reader.AtEnd())
        return std::nullopt;
    return step;
}

std::optional<std::vector<std::string>> ParseChildPath(std::wstring_view xpath) {
    Reader reader(xpath);
    std::vector<std::string> names;
    do {
        auto name = reader.Name();
        if (!name)
            return std::nullopt;
        names.push_back(std::move(*name));
    } while (reader.Take(L'/'));
    if (!reader.AtEnd())
        return std::nullopt;
    return names;
}

// Depth first over the levels, which visits the last level's elements in
// document order; true once the first is found when `firstOnly`.
bool SelectLevel(xmlNodePtr node, const std::vector<std::string>& names, std::size_t level,
                 bool firstOnly, std::vector<xmlNodePtr>& selected) {
    if (level == names.size()) {
        selected.push_back(node);
        return firstOnly;
    }
    if (!HasVisibleChildren(node))
        return false;
    for (xmlNodePtr child = node->children; child != nullptr; child = child->next) {
        if (child->type == XML_ELEMENT_NODE && child->ns == nullptr &&
            std::strcmp(reinterpret_cast<const char*>(child->name), names[level].c_str()) == 0 &&
            SelectLevel(child, names, level + 1, firstOnly, selected)) {
            return true;
        }
    }
    return false;
}

void SelectChildPath(xmlNodePtr context, const std::vector<std::string>& names, bool firstOnly,
                     std::vector<xmlNodePtr>& selected) {
    SelectLevel(context, names, 0, firstOnly, selected);
}

void SelectSimpleStep(xmlNodePtr context, const SimpleStep& step, bool firstOnly,
                      std::vector<xmlNodePtr>& selected) {
    if (!HasVisibleChildren(context))
        return;
    for (xmlNodePtr child = context->children; child != nullptr; child = child->next) {
        if (!Matches(child, step))
            continue;
        selected.push_back(child);
        if (firstOnly)
            return;
    }
}

}  // namespace VardelXml
