// Keeps libxml2's messages off the host's standard error while the layer
// calls it: failures are reported through results, not printed. The handlers
// are libxml2's per-thread state; the previous ones come back when the guard
// goes out of scope, so a host using libxml2 itself keeps its own.
#pragma once

#include <libxml/globals.h>
#include <libxml/xmlerror.h>

namespace VardelXml {

class QuietErrors {
  public:
    QuietErrors()
        : generic_(xmlGenericError),
          genericContext_(xmlGenericErrorContext),
          structured_(xmlStructuredError),
          structuredContext_(xmlStructuredErrorContext) {
        xmlSetGenericErrorFunc(nullptr, IgnoreGeneric);
        xmlSetStructuredErrorFunc(nullptr, IgnoreStructured);
    }
    ~QuietErrors() {
        xmlSetGenericErrorFunc(genericContext_, generic_);
        xmlSetStructuredErrorFunc(structuredContext_, structured_);
    }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

  private:
    static void IgnoreGeneric(void*, const char*, ...) {}
    static void IgnoreStructured(void*, xmlErrorPtr) {}

    xmlGenericErrorFunc generic_;
    void* genericContext_;
    xmlStructuredErrorFunc structured_;
    void* structuredContext_;
};

}  // namespace VardelXml
