// Keeps libxml2's messages off the host's standard error while the layer
// calls it: failures are reported through results, not printed. The guard
// remembers the first error (not warning) reported meanwhile, which names
// the cause; later ones are usually its consequences. The handlers are
// libxml2's per-thread state; the previous ones come back when the guard
// goes out of scope, so a host using libxml2 itself keeps its own.
#pragma once

#include <libxml/globals.h>
#include <libxml/xmlerror.h>

#include <optional>
#include <string>

namespace VardelXml {

class QuietErrors {
  public:
    QuietErrors()
        : generic_(xmlGenericError),
          genericContext_(xmlGenericErrorContext),
          structured_(xmlStructuredError),
          structuredContext_(xmlStructuredErrorContext) {
        xmlSetGenericErrorFunc(nullptr, IgnoreGeneric);
        xmlSetStructuredErrorFunc(this, RecordStructured);
    }
    ~QuietErrors() {
        xmlSetGenericErrorFunc(genericContext_, generic_);
        xmlSetStructuredErrorFunc(structuredContext_, structured_);
    }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

    struct Error {
        int line = 0;  ///< 0 when unknown.
        std::string message;
    };
    const std::optional<Error>& FirstError() const { return first_; }

  private:
    static void IgnoreGeneric(void*, const char*, ...) {}
    static void RecordStructured(void* guard, xmlErrorPtr error) {
        auto& first = static_cast<QuietErrors*>(guard)->first_;
        if (first || error == nullptr || error->level < XML_ERR_ERROR)
            return;
        Error recorded;
        recorded.line = error->line > 0 ? error->line : 0;
        recorded.message = error->message != nullptr ? error->message : "unknown error";
        while (!recorded.message.empty() &&
               (recorded.message.back() == '\n' || recorded.message.back() == ' '))
            recorded.message.pop_back();
        first = std::move(recorded);
    }

    xmlGenericErrorFunc generic_;
    void* genericContext_;
    xmlStructuredErrorFunc structured_;
    void* structuredContext_;
    std::optional<Error> first_;
};

}  // namespace VardelXml
