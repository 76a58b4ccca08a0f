// Where the images subsystem reports failures of its file operations: one
// replaceable sink receives the caption (the file's path) and the fixed
// English text of each message. The default sink writes
// "<caption>: <text>" as UTF-8 to standard error.
#pragma once

#include <string>
#include <string_view>

#include "vardel/icons.h"

namespace VardelImages {

/// Hands one message to the current sink.
void ShowMessage(std::wstring_view caption, std::wstring_view text);
/// Installs `sink` (empty: the default); returns the sink that was in place.
CIcons::MessageSink ReplaceMessageSink(CIcons::MessageSink sink);

}  // namespace VardelImages
