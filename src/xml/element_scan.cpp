// Child walks without XPath: names and attribute values are compared in the
// UTF-8 bytes libxml2 holds, against a key encoded once per call.
#include "xml/element_scan.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "common/case_fold.h"
#include "common/utf8.h"
#include "xml/node_access.h"
#include "xml/xml_text.h"

namespace VardelXml {
namespace {

std::string_view Bytes(const xmlChar* text) {
    return text == nullptr ? std::string_view()
                           : std::string_view(reinterpret_cast<const char*>(text));
}

bool IsNamed(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE && node->ns == nullptr &&
           std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

bool IsAscii(std::string_view bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

char FoldAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The attribute without namespace named `name`, if the element has one.
xmlAttrPtr PlainAttribute(const xmlNode* element, const char* name) {
    for (xmlAttrPtr attribute = element->properties; attribute != nullptr;
         attribute = attribute->next) {
        if (attribute->ns == nullptr &&
            std::strcmp(reinterpret_cast<const char*>(attribute->name), name) == 0) {
            return attribute;
        }
    }
    return nullptr;
}

// The value of an attribute as NUL-terminated bytes: in place when it is one
// text node (the parsed form), joined into a copy otherwise.
class AttributeBytes {
  public:
    explicit AttributeBytes(xmlAttrPtr attribute) {
        const xmlNode* only = attribute->children;
        if (only != nullptr && only->next == nullptr && only->type == XML_TEXT_NODE) {
            bytes_ = only->content;
        } else if (only != nullptr) {
            joined_ = xmlNodeListGetString(attribute->doc, attribute->children, 1);
            bytes_ = joined_;
        }
    }
    AttributeBytes(const AttributeBytes&) = delete;
    AttributeBytes& operator=(const AttributeBytes&) = delete;
    ~AttributeBytes() { xmlFree(joined_); }

    const char* c_str() const {
        return bytes_ != nullptr ? reinterpret_cast<const char*>(bytes_) : "";
    }

  private:
    xmlChar* joined_ = nullptr;
    const xmlChar* bytes_ = nullptr;
};

enum class Match { None, IgnoringCase, Exact };

// The text searched for, encoded once per lookup.
class Key {
  public:
    explicit Key(std::wstring_view value)
        : wide_(value), utf8_(VardelCommon::ToUtf8(value)), ascii_(IsAscii(utf8_)) {}

    // One pass over `bytes` for both comparisons when the key is ASCII (the
    // common case: no length, no decoding).
    Match Compare(const char* bytes) const {
        if (!ascii_)
            return std::strcmp(bytes, utf8_.c_str()) == 0 ? Match::Exact : DecodedMatch(bytes);
        bool exact = true;
        for (std::size_t i = 0; i < utf8_.size(); ++i) {
            const char c = bytes[i];
            if (c == '\0')
                return Match::None;
            // A character beyond ASCII may still upper-case into the key
            // (U+017F gives "S"), and its bytes shift the positions.
            if (static_cast<unsigned char>(c) >= 0x80)
                return DecodedMatch(bytes);
            if (c != utf8_[i]) {
                exact = false;
                if (FoldAscii(c) != FoldAscii(utf8_[i]))
                    return Match::None;
            }
        }
        // Anything after the key's bytes is one character more than the key.
        if (bytes[utf8_.size()] != '\0')
            return Match::None;
        return exact ? Match::Exact : Match::IgnoringCase;
    }

  private:
    Match DecodedMatch(const char* bytes) const {
        return VardelCommon::EqualsNoCase(VardelCommon::FromUtf8(bytes), wide_)
                   ? Match::IgnoringCase
                   : Match::None;
    }

    std::wstring_view wide_;
    std::string utf8_;
    bool ascii_;
};

// FNV-1a over the upper-cased characters, so that values equal ignoring
// case hash alike whichever form they come in.
class FoldedHash {
  public:
    void Add(wchar_t c) {
        hash_ ^= static_cast<std::size_t>(VardelCommon::ToUpperChar(c));
        hash_ *= 1099511628211u;
    }
    std::size_t Value() const { return hash_; }

  private:
    std::size_t hash_ = 14695981039346656037u;
};

std::size_t HashWide(std::wstring_view text) {
    FoldedHash hash;
    for (const wchar_t c : text)
        hash.Add(c);
    return hash.Value();
}

std::size_t HashUtf8(std::string_view bytes) {
    if (!IsAscii(bytes))
        return HashWide(VardelCommon::FromUtf8(bytes));
    FoldedHash hash;
    for (const char c : bytes)
        hash.Add(static_cast<wchar_t>(c));
    return hash.Value();
}

xmlNodePtr FirstChildOf(const XMLNode& parent) {
    xmlNodePtr node = NodeAccess::Node(parent);
    return node != nullptr && HasVisibleChildren(node) ? node->children : nullptr;
}

// `text` = the UTF-8 `bytes`; ASCII (numbers, ids) widens into the buffer
// `text` already has.
void AssignUtf8(std::wstring& text, std::string_view bytes) {
    if (IsAscii(bytes)) {
        // Widened in place: assign from byte iterators would build a
        // temporary wide string first.
        text.resize(bytes.size());
        std::copy(bytes.begin(), bytes.end(), text.begin());
    } else {
        text = VardelCommon::FromUtf8(bytes);
    }
}

}  // namespace

XMLNode FindChildByAttribute(const XMLNode& parent, const char* name, const char* attribute,
                             std::wstring_view value) {
    const Key key(value);
    xmlNodePtr folded = nullptr;
    for (xmlNodePtr child = FirstChildOf(parent); child != nullptr; child = child->next) {
        if (!IsNamed(child, name))
            continue;
        const xmlAttrPtr found = PlainAttribute(child, attribute);
        if (found == nullptr)
            continue;
        const Match match = key.Compare(AttributeBytes(found).c_str());
        if (match == Match::Exact)
            return NodeAccess::Wrap(NodeAccess::Tree(parent), child);
        if (match == Match::IgnoringCase && folded == nullptr)
            folded = child;
    }
    return NodeAccess::Wrap(NodeAccess::Tree(parent), folded);
}

XMLNode ChildIndex::Find(const XMLNode& parent, std::wstring_view value) {
    std::size_t noHint = entries_.max_size();
    return Find(parent, value, noHint);
}

XMLNode ChildIndex::Find(const XMLNode& parent, std::wstring_view value, std::size_t& hint) {
    if (!IsCurrent(parent))
        List(parent);
    const auto hash = static_cast<std::uint32_t>(HashWide(value));
    std::optional<Key> key;  // encoded only when a hash matches
    const auto matchAt = [&](std::size_t i) {
        const Entry& entry = entries_[i];
        if (entry.foldedHash != hash)
            return Match::None;
        if (!key)
            key.emplace(value);
        if (entry.length != kLongValue)
            return key->Compare(entry.shortValue);
        // Listed elements had the attribute, and keep it while the list is
        // current; the check only guards the read.
        const xmlAttrPtr found = PlainAttribute(static_cast<xmlNodePtr>(entry.child), attribute_);
        return found != nullptr ? key->Compare(AttributeBytes(found).c_str()) : Match::None;
    };
    const auto found = [&](std::size_t i) {
        hint = i;
        // A row read column after column wants the next child next: while
        // its lookups go in order, the next element is fetched from memory
        // while the caller reads this one (a fetch only: reading the element
        // here would wait for memory). A row visited for one cell fetches
        // nothing, not even the next entry.
        if (i == lastFound_ + 1 && i + 1 < entries_.size())
            __builtin_prefetch(entries_[i + 1].child);
        lastFound_ = static_cast<std::uint32_t>(i);
        return NodeAccess::Wrap(NodeAccess::Tree(parent),
                                static_cast<xmlNodePtr>(entries_[i].child));
    };
    if (valuesDistinct_) {
        for (std::size_t i = hint; i < entries_.size() && i - hint < 2; ++i) {
            if (matchAt(i) != Match::None)
                return found(i);
        }
    }
    std::optional<std::size_t> folded;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Match match = matchAt(i);
        if (match == Match::Exact)
            return found(i);
        if (match == Match::IgnoringCase && !folded)
            folded = i;
    }
    if (folded)
        return found(*folded);
    return NodeAccess::Wrap(NodeAccess::Tree(parent), nullptr);
}

bool ChildIndex::IsCurrent(const XMLNode& parent) {
    if (parent_ == nullptr || parent_ != NodeAccess::Node(parent) ||
        tree_ != NodeAccess::Tree(parent)) {
        return false;
    }
    if (tree_->EditCount() == checkedAtEdit_)
        return true;
    if (stamp_ != XmlTree::ChildrenStamp(static_cast<xmlNodePtr>(parent_)))
        return false;
    checkedAtEdit_ = tree_->EditCount();
    return true;
}

void ChildIndex::List(const XMLNode& parent) {
    entries_.clear();
    parent_ = NodeAccess::Node(parent);
    tree_ = NodeAccess::Tree(parent);
    stamp_ = parent_ != nullptr ? XmlTree::ChildrenStamp(static_cast<xmlNodePtr>(parent_)) : 0;
    checkedAtEdit_ = tree_ != nullptr ? tree_->EditCount() : 0;
    std::size_t count = 0;
    for (xmlNodePtr child = FirstChildOf(parent); child != nullptr; child = child->next)
        count += IsNamed(child, name_) ? 1U : 0U;
    entries_.reserve(count);
    for (xmlNodePtr child = FirstChildOf(parent); child != nullptr; child = child->next) {
        if (!IsNamed(child, name_))
            continue;
        if (const xmlAttrPtr found = PlainAttribute(child, attribute_)) {
            const AttributeBytes bytes(found);
            const std::string_view value = bytes.c_str();
            Entry entry{static_cast<std::uint32_t>(HashUtf8(value)), kLongValue, {}, child};
            if (value.size() < sizeof entry.shortValue) {
                entry.length = static_cast<std::uint8_t>(value.size());
                value.copy(entry.shortValue, value.size());
            }
            entries_.push_back(entry);
        }
    }
    std::vector<std::uint32_t> hashes;
    hashes.reserve(entries_.size());
    for (const Entry& entry : entries_)
        hashes.push_back(entry.foldedHash);
    std::sort(hashes.begin(), hashes.end());
    valuesDistinct_ = std::adjacent_find(hashes.begin(), hashes.end()) == hashes.end();
}

XMLNode FindChild(const XMLNode& parent, const char* name) {
    for (xmlNodePtr child = FirstChildOf(parent); child != nullptr; child = child->next) {
        if (IsNamed(child, name))
            return NodeAccess::Wrap(NodeAccess::Tree(parent), child);
    }
    return {};
}

std::vector<XMLNode> ElementsAtPath(const XMLNode& parent,
                                    std::initializer_list<const char*> names) {
    std::vector<xmlNodePtr> level;
    if (NodeAccess::Node(parent) != nullptr)
        level.push_back(NodeAccess::Node(parent));
    for (const char* name : names) {
        std::vector<xmlNodePtr> next;
        for (xmlNodePtr node : level) {
            for (xmlNodePtr child = HasVisibleChildren(node) ? node->children : nullptr;
                 child != nullptr; child = child->next) {
                if (IsNamed(child, name))
                    next.push_back(child);
            }
        }
        level = std::move(next);
    }
    std::vector<XMLNode> elements;
    elements.reserve(level.size());
    for (xmlNodePtr node : level)
        elements.push_back(NodeAccess::Wrap(NodeAccess::Tree(parent), node));
    return elements;
}

std::vector<XMLNode> DescendantsNamed(const XMLNode& element, const char* name) {
    std::vector<XMLNode> found;
    const xmlNodePtr subtree = NodeAccess::Node(element);
    for (xmlNodePtr node = subtree != nullptr ? NextInSubtree(subtree, subtree) : nullptr;
         node != nullptr; node = NextInSubtree(node, subtree)) {
        if (IsNamed(node, name))
            found.push_back(NodeAccess::Wrap(NodeAccess::Tree(element), node));
    }
    return found;
}

bool ReadText(const XMLNode& element, std::wstring& text) {
    xmlNodePtr node = NodeAccess::Node(element);
    if (node == nullptr)
        return false;
    if (node->type == XML_ELEMENT_NODE) {
        const xmlNode* only = node->children;
        if (only == nullptr) {
            text.clear();
            return true;
        }
        if (only->next == nullptr && only->type == XML_TEXT_NODE) {
            AssignUtf8(text, Bytes(only->content));
            return true;
        }
    }
    text = NodeText(node);
    return true;
}

}  // namespace VardelXml
