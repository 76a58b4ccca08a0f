#include "vardel/xml_document_builder.h"

#include <libxml/tree.h>
#include <libxml/valid.h>
#include <libxml/xmlstring.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "common/utf8.h"
#include "xml/line_numbers.h"
#include "xml/xml_tree.h"

namespace {

constexpr std::string_view kXmlPrefix = "xml:";

const xmlChar* XmlString(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

bool IsAsciiNameStart(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsAsciiNameChar(unsigned char c) {
    return IsAsciiNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool IsWhitespace(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// Whether `text` is UTF-8 made of characters XML can hold: no control
// character but tab, line feed and carriage return, no U+FFFE or U+FFFF.
bool IsXmlText(std::string_view text) {
    constexpr std::uint64_t kOnes = 0x0101010101010101U;
    if (text.size() > static_cast<std::size_t>(INT_MAX))
        return false;
    bool ascii = true;
    std::size_t i = 0;
    while (i < text.size()) {
        // Printable ASCII goes eight bytes at a time: no byte has its high
        // bit set, before or after taking 0x20 from each.
        std::uint64_t word = 0;
        if (text.size() - i >= sizeof word) {
            std::memcpy(&word, text.data() + i, sizeof word);
            if (((word | (word - 0x20 * kOnes)) & 0x80 * kOnes) == 0) {
                i += sizeof word;
                continue;
            }
        }
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
            return false;
        if (c >= 0x80) {
            ascii = false;
            const std::string_view next = text.substr(i + 1, 2);
            if (c == 0xEF && (next == "\xBF\xBE" || next == "\xBF\xBF"))
                return false;
        }
        ++i;
    }
    return ascii || VardelCommon::FirstBadUtf8(text) == std::string_view::npos;
}

}  // namespace

struct XMLDocumentBuilder::State {
    xmlDocPtr doc = nullptr;
    xmlNodePtr open = nullptr;  // the element content goes into; null outside the root
    bool rootDone = false;
    std::optional<std::string> misuse;
    std::string heldBack;  // whitespace that starts a text run, until more text comes
    std::string buffer;    // a terminated copy for libxml2's calls that want one

    ~State() { xmlFreeDoc(doc); }

    void Misuse(std::string what) {
        if (!misuse)
            misuse = std::move(what);
    }

    const xmlChar* Terminated(std::string_view text) {
        buffer.assign(text);
        return reinterpret_cast<const xmlChar*>(buffer.c_str());
    }

    bool IsName(std::string_view name) {
        if (name.empty() || name.size() > static_cast<std::size_t>(INT_MAX))
            return false;
        bool ascii = IsAsciiNameStart(static_cast<unsigned char>(name[0]));
        for (std::size_t i = 1; ascii && i < name.size(); ++i)
            ascii = IsAsciiNameChar(static_cast<unsigned char>(name[i]));
        if (ascii)
            return true;
        return VardelCommon::FirstBadUtf8(name) == std::string_view::npos &&
               xmlValidateNCName(Terminated(name), 0) == 0;
    }

    const xmlChar* Intern(std::string_view name) {
        return xmlDictLookup(doc->dict, reinterpret_cast<const xmlChar*>(name.data()),
                             static_cast<int>(name.size()));
    }

    // A text node of `text`, a short one kept inside the node as the
    // parser keeps it (libxml2's edits and frees know such texts).
    xmlNodePtr NewText(std::string_view text) {
        xmlNodePtr node = xmlNewDocTextLen(doc, nullptr, 0);
        if (text.size() < 2 * sizeof(void*)) {
            auto* inside = reinterpret_cast<xmlChar*>(&node->properties);
            std::memcpy(inside, text.data(), text.size());
            inside[text.size()] = 0;
            node->content = inside;
        } else {
            node->content = xmlStrndup(reinterpret_cast<const xmlChar*>(text.data()),
                                       static_cast<int>(text.size()));
        }
        return node;
    }

    void NewDocument() {
        doc = xmlNewDoc(XmlString("1.0"));
        doc->dict = xmlDictCreate();
        doc->encoding = xmlStrdup(XmlString("UTF-8"));
    }

    void Start(std::string_view name, long line) {
        heldBack.clear();
        if (!IsName(name)) {
            Misuse("element name \"" + std::string(name) + "\" is no XML name");
            return;
        }
        if (open == nullptr && rootDone) {
            Misuse("a second document element");
            return;
        }
        if (doc == nullptr)
            NewDocument();
        xmlNodePtr element =
            xmlNewDocNodeEatName(doc, nullptr, const_cast<xmlChar*>(Intern(name)), nullptr);
        element->line = static_cast<unsigned short>(std::clamp(line, 0L, VardelXml::kLongLine));
        VardelXml::RecordLongLine(element, line);
        if (open == nullptr)
            xmlDocSetRootElement(doc, element);
        else
            xmlAddChild(open, element);
        open = element;
    }

    void AddAttribute(std::string_view name, std::string_view value) {
        const bool xmlPrefixed = name.starts_with(kXmlPrefix);
        const std::string_view local = xmlPrefixed ? name.substr(kXmlPrefix.size()) : name;
        if (!IsName(local)) {
            Misuse("attribute name \"" + std::string(name) + "\" is no XML name");
            return;
        }
        if (!IsXmlText(value)) {
            Misuse("the value of attribute \"" + std::string(name) + "\" is no XML text");
            return;
        }
        if (open == nullptr || open->children != nullptr) {
            Misuse("attribute \"" + std::string(name) + "\" outside a start tag");
            return;
        }
        xmlNsPtr ns = xmlPrefixed ? xmlSearchNs(doc, open, XmlString("xml")) : nullptr;
        const xmlChar* interned = Intern(local);
        for (xmlAttrPtr attribute = open->properties; attribute; attribute = attribute->next) {
            if (attribute->name == interned && attribute->ns == ns) {
                Misuse("attribute \"" + std::string(name) + "\" given twice");
                return;
            }
        }
        xmlAttrPtr attribute =
            xmlNewNsPropEatName(open, ns, const_cast<xmlChar*>(interned), nullptr);
        xmlNodePtr text = NewText(value);
        text->parent = reinterpret_cast<xmlNodePtr>(attribute);
        attribute->children = attribute->last = text;
        if (ns != nullptr && local == "id")
            xmlAddID(nullptr, doc, Terminated(value), attribute);
    }

    // Whitespace alone becomes text only under xml:space="preserve" or
    // next to other text of the same run, as the parser keeps it.
    void AddText(std::string_view text) {
        if (!IsXmlText(text)) {
            Misuse("a text that is no XML text");
            return;
        }
        if (open == nullptr) {
            Misuse("text outside the document element");
            return;
        }
        if (text.empty())
            return;
        const bool inRun = open->last != nullptr && open->last->type == XML_TEXT_NODE;
        if (!inRun && IsWhitespace(text) && xmlNodeGetSpacePreserve(open) != 1) {
            heldBack.append(text);
            return;
        }
        if (!heldBack.empty()) {
            heldBack.append(text);
            text = heldBack;
        }
        xmlAddChild(open, NewText(text));
        heldBack.clear();
    }

    void End() {
        heldBack.clear();
        if (open == nullptr) {
            Misuse("an element closed that is not open");
            return;
        }
        open = open->parent != nullptr && open->parent->type == XML_ELEMENT_NODE ? open->parent
                                                                                 : nullptr;
        rootDone = rootDone || open == nullptr;
    }
};

XMLDocumentBuilder::XMLDocumentBuilder() : state_(std::make_unique<State>()) {}

XMLDocumentBuilder::~XMLDocumentBuilder() = default;

void XMLDocumentBuilder::StartElement(std::string_view name, long line) {
    state_->Start(name, line);
}

void XMLDocumentBuilder::Attribute(std::string_view name, std::string_view value) {
    state_->AddAttribute(name, value);
}

void XMLDocumentBuilder::Text(std::string_view text) {
    state_->AddText(text);
}

void XMLDocumentBuilder::EndElement() {
    state_->End();
}

XMLParser XMLDocumentBuilder::Finish() {
    auto document = std::make_shared<VardelXml::Document>();
    State& state = *state_;
    if (!state.misuse && (!state.rootDone || state.open != nullptr))
        state.Misuse(state.open != nullptr ? "an element left open" : "no document element");
    if (state.misuse) {
        document->tree = VardelXml::XmlTree::NewEmpty();
        document->parseFailure = VardelXml::ParseFailure{0, *state.misuse};
    } else {
        document->tree = std::make_shared<VardelXml::XmlTree>(state.doc);
        document->tree->hasDeclaration = true;
        document->tree->declaredEncoding = "UTF-8";
        state.doc = nullptr;
    }
    state_ = std::make_unique<State>();
    XMLParser parser;
    parser.SetDocument(document);
    return parser;
}
