// The escapes follow libxml2's serialiser for a document saved as UTF-8:
// text escapes < > & and CR; attribute values also " tab and LF; every
// other character, beyond ASCII too, is written as it is. Namespace
// declarations are written raw between quotes, single ones when the
// namespace name holds a double quote but no single one. Text reaches
// libxml2 as UTF-8, so a character that is no Unicode scalar value comes
// out as U+FFFD, and stored text ends at a NUL.
#include "xml/element_writer.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string_view>

#include "common/utf8.h"
#include "xml/node_access.h"
#include "xml/xml_serialize.h"
#include "xml/xml_text.h"

namespace VardelXml {
namespace {

// What a text written needs escaped: nothing, element text, an attribute
// value, or only the double quote of a namespace name between them.
enum class Escapes { None, Text, Attribute, Quote };

using namespace std::string_view_literals;

xmlNodePtr AsNode(void* node) {
    return static_cast<xmlNodePtr>(node);
}

// The entity that stands for each ASCII character under one kind of
// escaping; empty for a character written as it is.
using EntityTable = std::array<std::wstring_view, 0x80>;

constexpr EntityTable MakeEntityTable(Escapes escapes) {
    EntityTable table{};
    if (escapes == Escapes::Quote) {
        table['"'] = L"&quot;"sv;
        return table;
    }
    if (escapes == Escapes::None)
        return table;
    table['<'] = L"&lt;"sv;
    table['>'] = L"&gt;"sv;
    table['&'] = L"&amp;"sv;
    table['\r'] = L"&#13;"sv;
    if (escapes == Escapes::Attribute) {
        table['"'] = L"&quot;"sv;
        table['\t'] = L"&#9;"sv;
        table['\n'] = L"&#10;"sv;
    }
    return table;
}

constexpr EntityTable kEntities[] = {
    MakeEntityTable(Escapes::None),
    MakeEntityTable(Escapes::Text),
    MakeEntityTable(Escapes::Attribute),
    MakeEntityTable(Escapes::Quote),
};

const EntityTable& EntitiesOf(Escapes escapes) {
    return kEntities[static_cast<int>(escapes)];
}

// Widens the ASCII bytes [first, last) onto `out`: room made once, then a
// loop the compiler vectorises. (append with iterators of another character
// type would build a temporary string first.)
void AppendAscii(std::wstring& out, const xmlChar* first, const xmlChar* last) {
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(last - first));
    std::copy(first, last, out.begin() + static_cast<std::ptrdiff_t>(start));
}

constexpr xmlChar kNoText[] = {0};

std::wstring FromUtf8(const xmlChar* first, const xmlChar* last) {
    return VardelCommon::FromUtf8(std::string_view(reinterpret_cast<const char*>(first),
                                                   static_cast<std::size_t>(last - first)));
}

// Appends the UTF-8 `bytes` up to their NUL: runs of ASCII widen in place,
// only the rare runs beyond ASCII go through the codec.
void AppendUtf8(std::wstring& out, const xmlChar* bytes, Escapes escapes) {
    if (bytes == nullptr)
        return;
    const EntityTable& entities = EntitiesOf(escapes);
    const xmlChar* at = bytes;
    while (*at != 0) {
        const xmlChar* run = at;
        while (*at != 0 && *at < 0x80 && entities[*at].empty())
            ++at;
        AppendAscii(out, run, at);
        if (*at >= 0x80) {
            run = at;
            while (*at >= 0x80)
                ++at;
            out += FromUtf8(run, at);
        } else if (*at != 0) {
            out += entities[*at++];
        }
    }
}

// Whether the UTF-8 `bytes` up to their NUL (none: empty) decode to `text`;
// their ASCII compares without decoding.
bool TextIs(const xmlChar* bytes, std::wstring_view text) {
    if (bytes == nullptr)
        bytes = kNoText;
    std::size_t i = 0;
    for (; bytes[i] != 0 && bytes[i] < 0x80; ++i) {
        if (i == text.size() || text[i] != static_cast<wchar_t>(bytes[i]))
            return false;
    }
    if (bytes[i] == 0)
        return i == text.size();
    return FromUtf8(bytes + i, bytes + i + std::strlen(reinterpret_cast<const char*>(bytes + i))) ==
           text.substr(i);
}

// Whether the name `bytes` is `name`: compared in place, as names are a few
// characters and are compared for every cell of a table.
bool IsName(const xmlChar* bytes, const char* name) {
    if (bytes == nullptr)
        return false;
    for (; *name != '\0'; ++bytes, ++name) {
        if (*bytes != static_cast<xmlChar>(*name))
            return false;
    }
    return *bytes == 0;
}

bool IsScalarValue(wchar_t c) {
    const auto value = static_cast<char32_t>(c);
    return value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
}

// Stored text ends at a NUL.
std::wstring_view UpToNul(std::wstring_view text) {
    return text.substr(0, text.find(L'\0'));
}

// What stands for the wide character `c` once it has made a trip through
// UTF-8: its entity, U+FFFD for what is no Unicode scalar value, or nothing
// when it is written as it is.
std::wstring_view Replacement(wchar_t c, const EntityTable& entities) {
    const auto code = static_cast<char32_t>(c);
    if (code < 0x80)
        return entities[code];
    return IsScalarValue(c) ? std::wstring_view() : L"\xFFFD"sv;
}

// Appends wide text as it comes back after a trip through UTF-8.
void AppendWide(std::wstring& out, std::wstring_view text, Escapes escapes) {
    const EntityTable& entities = EntitiesOf(escapes);
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::wstring_view replacement = Replacement(text[i], entities);
        if (replacement.empty())
            continue;
        out.append(text.data() + run, i - run);
        out += replacement;
        run = i + 1;
    }
    out.append(text.data() + run, text.size() - run);
}

// A short piece of the text (a table cell, mostly) built in a fixed buffer
// and appended at once, where its dozen parts would each pay for growing
// the output. A Put answers false, and the piece is dropped, when the piece
// outgrows the buffer or holds what only the general path writes.
class Piece {
  public:
    bool Put(std::wstring_view text) {
        if (text.size() > kCapacity - size_)
            return false;
        std::copy(text.begin(), text.end(), buffer_ + size_);
        size_ += text.size();
        return true;
    }

    // ASCII bytes up to their NUL (none for null) as AppendUtf8 writes them;
    // false at a byte beyond ASCII.
    bool PutAscii(const xmlChar* bytes, Escapes escapes) {
        const EntityTable& entities = EntitiesOf(escapes);
        for (const xmlChar* at = bytes != nullptr ? bytes : kNoText; *at != 0; ++at) {
            if (*at >= 0x80)
                return false;
            const std::wstring_view entity = entities[*at];
            if (!entity.empty()) {
                if (!Put(entity))
                    return false;
            } else if (size_ < kCapacity) {
                buffer_[size_++] = static_cast<wchar_t>(*at);
            } else {
                return false;
            }
        }
        return true;
    }

    // Wide text up to its first NUL as AppendWide writes it.
    bool PutWide(std::wstring_view text, Escapes escapes) {
        const EntityTable& entities = EntitiesOf(escapes);
        for (const wchar_t c : text) {
            if (c == L'\0')
                break;
            const std::wstring_view replacement = Replacement(c, entities);
            if (!replacement.empty()) {
                if (!Put(replacement))
                    return false;
            } else if (size_ < kCapacity) {
                buffer_[size_++] = c;
            } else {
                return false;
            }
        }
        return true;
    }

    void AppendTo(std::wstring& out) const { out.append(buffer_, size_); }

  private:
    static constexpr std::size_t kCapacity = 256;
    wchar_t buffer_[kCapacity];
    std::size_t size_ = 0;
};

// A leaf element without namespaces whose attributes are plain texts (a
// table cell) as one piece, written as the general path writes it.
bool PutLeaf(Piece& piece, const xmlNode* node) {
    const xmlNode* text = node->children;
    if (node->type != XML_ELEMENT_NODE || node->ns != nullptr || node->nsDef != nullptr ||
        (text != nullptr && (text->type != XML_TEXT_NODE || text->next != nullptr))) {
        return false;
    }
    if (!piece.Put(L"<"sv) || !piece.PutAscii(node->name, Escapes::None))
        return false;
    for (const xmlAttr* attribute = node->properties; attribute != nullptr;
         attribute = attribute->next) {
        const xmlNode* value = attribute->children;
        if (attribute->ns != nullptr ||
            (value != nullptr && (value->type != XML_TEXT_NODE || value->next != nullptr)) ||
            !piece.Put(L" "sv) || !piece.PutAscii(attribute->name, Escapes::None) ||
            !piece.Put(L"=\""sv) ||
            !piece.PutAscii(value != nullptr ? value->content : nullptr, Escapes::Attribute) ||
            !piece.Put(L"\""sv)) {
            return false;
        }
    }
    if (text == nullptr)
        return piece.Put(L"/>"sv);
    return piece.Put(L">"sv) && piece.PutAscii(text->content, Escapes::Text) &&
           piece.Put(L"</"sv) && piece.PutAscii(node->name, Escapes::None) && piece.Put(L">"sv);
}

bool IsXmlPrefix(const xmlChar* prefix) {
    return prefix != nullptr && std::strcmp(reinterpret_cast<const char*>(prefix), "xml") == 0;
}

bool SamePrefix(const xmlChar* a, const xmlChar* b) {
    return a == b ||
           (a != nullptr && b != nullptr &&
            std::strcmp(reinterpret_cast<const char*>(a), reinterpret_cast<const char*>(b)) == 0);
}

// ` xmlns:prefix="name"`; the xml prefix is never declared.
void AppendDeclaration(std::wstring& out, const xmlNs* ns) {
    if (ns->href == nullptr || IsXmlPrefix(ns->prefix))
        return;
    out += L" xmlns"sv;
    if (ns->prefix != nullptr) {
        out += L':';
        AppendUtf8(out, ns->prefix, Escapes::None);
    }
    const char* href = reinterpret_cast<const char*>(ns->href);
    const bool hasDouble = std::strchr(href, '"') != nullptr;
    const bool hasSingle = std::strchr(href, '\'') != nullptr;
    const wchar_t quote = hasDouble && !hasSingle ? L'\'' : L'"';
    out += L'=';
    out += quote;
    AppendUtf8(out, ns->href, quote == L'"' ? Escapes::Quote : Escapes::None);
    out += quote;
}

// The next node after `node` within `top`'s subtree in document order,
// descending into elements only; null at the end. `closed` counts the
// elements left on the way up.
xmlNodePtr Following(xmlNodePtr node, xmlNodePtr top, int& closed) {
    closed = 0;
    if (node->type == XML_ELEMENT_NODE && node->children != nullptr)
        return node->children;
    while (node != top && node->next == nullptr) {
        node = node->parent;
        ++closed;
    }
    return node == top ? nullptr : node->next;
}

}  // namespace

NodeHandle NodeHandle::FirstChild() const {
    const xmlNodePtr node = AsNode(node_);
    return NodeHandle(node != nullptr && HasVisibleChildren(node) ? node->children : nullptr);
}

NodeHandle NodeHandle::Next() const {
    return NodeHandle(node_ != nullptr ? AsNode(node_)->next : nullptr);
}

bool NodeHandle::IsElement(const char* name) const {
    const xmlNodePtr node = AsNode(node_);
    return node != nullptr && node->type == XML_ELEMENT_NODE && node->ns == nullptr &&
           IsName(node->name, name);
}

bool NodeHandle::Attribute(const char* name, std::wstring& value) const {
    value.clear();
    const xmlNodePtr node = AsNode(node_);
    const xmlAttrPtr found = node != nullptr ? FindAttribute(node, name) : nullptr;
    if (found == nullptr)
        return false;
    const xmlNode* only = found->children;
    if (only != nullptr && only->next == nullptr && only->type == XML_TEXT_NODE) {
        AppendUtf8(value, only->content, Escapes::None);
    } else {
        value = AttributeText(found);
    }
    return true;
}

bool NodeHandle::AttributeIs(const char* name, std::wstring_view value) const {
    const xmlNodePtr node = AsNode(node_);
    const xmlAttrPtr found = node != nullptr ? FindAttribute(node, name) : nullptr;
    if (found == nullptr)
        return false;
    const xmlNode* only = found->children;
    if (only != nullptr && only->next == nullptr && only->type == XML_TEXT_NODE)
        return TextIs(only->content, value);
    return AttributeText(found) == value;
}

bool NodeHandle::HasText(std::wstring_view text) const {
    const xmlNodePtr node = AsNode(node_);
    if (node == nullptr)
        return false;
    const xmlNode* only = node->children;
    if (node->type != XML_ELEMENT_NODE ||
        (only != nullptr && (only->next != nullptr || only->type != XML_TEXT_NODE))) {
        return NodeText(node) == text;
    }
    return TextIs(only != nullptr ? only->content : nullptr, text);
}

bool NodeHandle::IsPlainLeafWith(const char* attribute, std::wstring_view value) const {
    const xmlNodePtr node = AsNode(node_);
    if (node == nullptr || node->type != XML_ELEMENT_NODE || node->ns != nullptr ||
        node->nsDef != nullptr) {
        return false;
    }
    const xmlAttr* only = node->properties;
    if (only == nullptr || only->next != nullptr || only->ns != nullptr ||
        !IsName(only->name, attribute)) {
        return false;
    }
    const auto isOneText = [](const xmlNode* text) {
        return text != nullptr && text->type == XML_TEXT_NODE && text->next == nullptr;
    };
    return isOneText(only->children) && TextIs(only->children->content, value) &&
           (node->children == nullptr || isOneText(node->children));
}

ElementWriter::ElementWriter(const XMLNode& root, const char* encoding, std::wstring& out)
    : root_(root), out_(out) {
    // As the document's text form starts (DeclarationText).
    out_ += L"<?xml version=\"1.0\""sv;
    if (encoding != nullptr && *encoding != '\0') {
        out_ += L" encoding=\""sv;
        AppendUtf8(out_, reinterpret_cast<const xmlChar*>(encoding), Escapes::None);
        out_ += L'"';
    }
    out_ += L"?>\n"sv;
}

NodeHandle ElementWriter::Root() const {
    const xmlNodePtr node = NodeAccess::Node(root_);
    return NodeHandle(node != nullptr && node->type == XML_ELEMENT_NODE ? node : nullptr);
}

void ElementWriter::Open(NodeHandle element) {
    StartTag(element.node_);
}

void ElementWriter::Close() {
    const xmlNodePtr element = AsNode(open_.back());
    open_.pop_back();
    if (startTagOpen_) {
        startTagOpen_ = false;
        out_ += L"/>"sv;
        return;
    }
    out_ += L"</"sv;
    AppendName(element->ns, element->name);
    out_ += L'>';
}

void ElementWriter::Write(NodeHandle node) {
    const xmlNodePtr top = AsNode(node.node_);
    if (Piece piece; top != NodeAccess::Node(root_) && PutLeaf(piece, top)) {
        EnterContent();
        piece.AppendTo(out_);
        return;
    }
    xmlNodePtr at = top;
    while (at != nullptr) {
        if (at->type == XML_ELEMENT_NODE) {
            StartTag(at);
        } else if (at->type == XML_TEXT_NODE) {
            EnterContent();
            AppendUtf8(out_, at->content, Escapes::Text);
        } else {
            EnterContent();
            out_ += FromXml(SerializeNode(at));
        }
        if (at->type == XML_ELEMENT_NODE && at->children == nullptr)
            Close();
        int closed = 0;
        at = Following(at, top, closed);
        for (; closed > 0; --closed)
            Close();
    }
}

void ElementWriter::WriteWithText(NodeHandle element, std::wstring_view text) {
    const xmlNodePtr node = AsNode(element.node_);
    StartTag(node);
    const xmlNode* only = node->children;
    const bool leaf = only != nullptr && only->next == nullptr && only->type == XML_TEXT_NODE;
    // The copy that the text replaced content in declared what that content
    // used.
    if (!leaf) {
        for (xmlNodePtr child = node->children; child != nullptr; child = child->next)
            NoteNamespacesBelow(child);
    }
    // A leaf keeps its text node even for no text; other elements get one
    // only for some text.
    if (leaf || !text.empty()) {
        EnterContent();
        AppendWide(out_, UpToNul(text), Escapes::Text);
    }
    Close();
}

void ElementWriter::WriteNew(std::wstring_view name, std::wstring_view text,
                             std::wstring_view attribute, std::wstring_view value) {
    EnterContent();
    value = UpToNul(value);
    text = UpToNul(text);
    if (Piece piece;
        piece.Put(L"<"sv) && piece.Put(name) && piece.Put(L" "sv) && piece.Put(attribute) &&
        piece.Put(L"=\""sv) && piece.PutWide(value, Escapes::Attribute) && piece.Put(L"\""sv) &&
        (text.empty() ? piece.Put(L"/>"sv)
                      : piece.Put(L">"sv) && piece.PutWide(text, Escapes::Text) &&
                            piece.Put(L"</"sv) && piece.Put(name) && piece.Put(L">"sv))) {
        piece.AppendTo(out_);
        return;
    }
    out_ += L'<';
    out_ += name;
    out_ += L' ';
    out_ += attribute;
    out_ += L"=\""sv;
    AppendWide(out_, value, Escapes::Attribute);
    out_ += L'"';
    if (text.empty()) {
        out_ += L"/>"sv;
        return;
    }
    out_ += L'>';
    AppendWide(out_, text, Escapes::Text);
    out_ += L"</"sv;
    out_ += name;
    out_ += L'>';
}

ElementWriter::LeafTags ElementWriter::MakeLeafTags(std::wstring_view name,
                                                    std::wstring_view attribute,
                                                    std::wstring_view value) {
    LeafTags tags;
    tags.start = L"<"sv;
    tags.start += name;
    tags.start += L' ';
    tags.start += attribute;
    tags.start += L"=\""sv;
    AppendWide(tags.start, UpToNul(value), Escapes::Attribute);
    tags.start += L"\">"sv;
    tags.end = L"</"sv;
    tags.end += name;
    tags.end += L'>';
    return tags;
}

void ElementWriter::WriteLeaf(const LeafTags& tags, std::wstring_view text) {
    EnterContent();
    if (Piece piece;
        piece.Put(tags.start) && piece.PutWide(text, Escapes::Text) && piece.Put(tags.end)) {
        piece.AppendTo(out_);
        return;
    }
    out_ += tags.start;
    AppendWide(out_, UpToNul(text), Escapes::Text);
    out_ += tags.end;
}

void ElementWriter::Finish() {
    out_ += L'\n';
    if (undeclared_.empty())
        return;
    std::wstring declarations;
    for (void* ns : undeclared_)
        AppendDeclaration(declarations, static_cast<const xmlNs*>(ns));
    out_.insert(declarationsAt_, declarations);
}

void ElementWriter::StartTag(void* element) {
    const xmlNodePtr node = AsNode(element);
    EnterContent();
    out_ += L'<';
    AppendName(node->ns, node->name);
    NoteNamespace(node, node->ns);
    for (const xmlNs* ns = node->nsDef; ns != nullptr; ns = ns->next)
        AppendDeclaration(out_, ns);
    if (node == NodeAccess::Node(root_))
        declarationsAt_ = out_.size();
    for (const xmlAttr* attribute = node->properties; attribute != nullptr;
         attribute = attribute->next) {
        NoteNamespace(node, attribute->ns);
        AppendAttribute(attribute);
    }
    open_.push_back(node);
    startTagOpen_ = true;
}

void ElementWriter::AppendName(const void* ns, const void* name) {
    const auto* space = static_cast<const xmlNs*>(ns);
    if (space != nullptr && space->prefix != nullptr) {
        AppendName(nullptr, space->prefix);
        out_ += L':';
    }
    for (const auto& [known, wide] : wideNames_) {
        if (known == name) {
            out_ += wide;
            return;
        }
    }
    const auto* bytes = static_cast<const xmlChar*>(name);
    if (wideNames_.size() == kWideNamesKept) {
        AppendUtf8(out_, bytes, Escapes::None);
        return;
    }
    std::wstring wide;
    AppendUtf8(wide, bytes, Escapes::None);
    out_ += wide;
    wideNames_.emplace_back(name, std::move(wide));
}

void ElementWriter::AppendAttribute(const void* attribute) {
    const auto* node = static_cast<const xmlAttr*>(attribute);
    out_ += L' ';
    AppendName(node->ns, node->name);
    out_ += L"=\""sv;
    for (const xmlNode* part = node->children; part != nullptr; part = part->next) {
        if (part->type == XML_TEXT_NODE) {
            AppendUtf8(out_, part->content, Escapes::Attribute);
        } else if (part->type == XML_ENTITY_REF_NODE) {
            out_ += L'&';
            AppendUtf8(out_, part->name, Escapes::None);
            out_ += L';';
        }
    }
    out_ += L'"';
}

void ElementWriter::EnterContent() {
    if (startTagOpen_) {
        startTagOpen_ = false;
        out_ += L'>';
    }
}

// A copy below a new root finds a prefix's declaration among the copied
// ancestors up to the root and, when none has it, adds the source's to the
// root, once per prefix.
void ElementWriter::NoteNamespace(void* element, void* ns) {
    const xmlNs* used = static_cast<const xmlNs*>(ns);
    if (used == nullptr || IsXmlPrefix(used->prefix))
        return;
    const xmlNodePtr root = NodeAccess::Node(root_);
    for (xmlNodePtr scope = AsNode(element); scope != nullptr; scope = scope->parent) {
        for (const xmlNs* declared = scope->nsDef; declared != nullptr; declared = declared->next) {
            if (SamePrefix(declared->prefix, used->prefix))
                return;
        }
        if (scope == root)
            break;
    }
    for (void* added : undeclared_) {
        if (SamePrefix(static_cast<const xmlNs*>(added)->prefix, used->prefix))
            return;
    }
    undeclared_.push_back(ns);
}

void ElementWriter::NoteNamespacesBelow(void* node) {
    const xmlNodePtr top = AsNode(node);
    int closed = 0;
    for (xmlNodePtr at = top; at != nullptr; at = Following(at, top, closed)) {
        if (at->type != XML_ELEMENT_NODE)
            continue;
        NoteNamespace(at, at->ns);
        for (xmlAttrPtr attribute = at->properties; attribute != nullptr;
             attribute = attribute->next) {
            NoteNamespace(at, attribute->ns);
        }
    }
}

}  // namespace VardelXml
