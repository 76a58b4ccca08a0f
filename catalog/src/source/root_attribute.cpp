// The scan: skip what may precede the root, then walk the root's start tag
// attribute by attribute. Every unexpected byte ends it undecided.
#include "source/root_attribute.h"

namespace VardelCatalog {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// A character that ends a name in a start tag.
bool EndsName(char c) {
    return IsSpace(c) || c == '=' || c == '>' || c == '/' || c == '<' || c == '"' || c == '\'';
}

class StartTagScan {
  public:
    explicit StartTagScan(std::string_view bytes) : rest_(bytes) {}

    // Past the prolog to the root's name; false when something else is there.
    bool SkipProlog() {
        if (rest_.starts_with(kByteOrderMark))
            rest_.remove_prefix(kByteOrderMark.size());
        for (;;) {
            SkipSpace();
            if (rest_.starts_with("<?")) {
                if (!SkipPast("?>"))
                    return false;
            } else if (rest_.starts_with("<!--")) {
                if (!SkipPast("-->"))
                    return false;
            } else {
                if (!rest_.starts_with('<') || rest_.starts_with("<!"))
                    return false;
                rest_.remove_prefix(1);
                return !Name().empty();
            }
        }
    }

    // The next attribute's name and value; false at the end of the tag or
    // when the tag is not plain (then `plain_` is false).
    bool NextAttribute(std::string_view& name, std::string_view& value) {
        const bool spaced = SkipSpace();
        if (rest_.starts_with('>') || rest_.starts_with("/>"))
            return false;
        name = Name();
        if (!spaced || name.empty())
            return Fail();
        SkipSpace();
        if (!rest_.starts_with('='))
            return Fail();
        rest_.remove_prefix(1);
        SkipSpace();
        if (rest_.empty() || (rest_.front() != '"' && rest_.front() != '\''))
            return Fail();
        const char quote = rest_.front();
        const std::size_t end = rest_.find(quote, 1);
        if (end == std::string_view::npos)
            return Fail();
        value = rest_.substr(1, end - 1);
        rest_.remove_prefix(end + 1);
        if (value.find_first_of("&<\t\n\r") != std::string_view::npos)
            return Fail();
        return true;
    }

    bool plain() const { return plain_; }

  private:
    bool SkipSpace() {
        std::size_t n = 0;
        while (n < rest_.size() && IsSpace(rest_[n]))
            ++n;
        rest_.remove_prefix(n);
        return n > 0;
    }

    bool SkipPast(std::string_view end) {
        const std::size_t at = rest_.find(end);
        if (at == std::string_view::npos)
            return false;
        rest_.remove_prefix(at + end.size());
        return true;
    }

    std::string_view Name() {
        std::size_t n = 0;
        while (n < rest_.size() && !EndsName(rest_[n]))
            ++n;
        const std::string_view name = rest_.substr(0, n);
        rest_.remove_prefix(n);
        return name;
    }

    bool Fail() {
        plain_ = false;
        return false;
    }

    std::string_view rest_;
    bool plain_ = true;
};

}  // namespace

RootAttribute ScanRootAttribute(std::string_view bytes, std::string_view name) {
    StartTagScan scan(bytes);
    if (!scan.SkipProlog())
        return {};
    RootAttribute found;
    std::string_view attribute;
    std::string_view value;
    while (scan.NextAttribute(attribute, value)) {
        // A repeated attribute is not well-formed: a parser reports that.
        if (attribute == name && found.value)
            return {};
        if (attribute == name)
            found.value = value;
    }
    found.decided = scan.plain();
    return found;
}

}  // namespace VardelCatalog
