#include "images/message_sink.h"

#include <cstdio>
#include <utility>

#include "common/utf8.h"

namespace VardelImages {
namespace {

void WriteToStandardError(const std::wstring& caption, const std::wstring& text) {
    std::string line = VardelCommon::ToUtf8(caption);
    line += ": ";
    line += VardelCommon::ToUtf8(text);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

CIcons::MessageSink& Sink() {
    static CIcons::MessageSink sink = &WriteToStandardError;
    return sink;
}

}  // namespace

void ShowMessage(std::wstring_view caption, std::wstring_view text) {
    // A sink that throws must not take the reader down with it: the message
    // is lost, the operation still reports its failure.
    try {
        Sink()(std::wstring(caption), std::wstring(text));
    } catch (...) {
    }
}

CIcons::MessageSink ReplaceMessageSink(CIcons::MessageSink sink) {
    CIcons::MessageSink previous = std::exchange(Sink(), std::move(sink));
    if (!Sink()) {
        Sink() = &WriteToStandardError;
    }
    return previous;
}

}  // namespace VardelImages
