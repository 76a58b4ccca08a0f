// A family's thumbnail as the catalogue answers it (FAM_ICON: a data URI
// "data:image/png;base64,...", or no value) written out as the image file
// it holds. The file is saved atomically, as every file the tool writes.
#pragma once

#include <string>

#include "tool_result.h"

namespace VardelTool {

/// Writes the image of the FAM_ICON answer `answer` of the family `family`
/// (named in messages) to `output`. Refused when the answer is empty, is
/// not a base64 image data URI, or the file cannot be written.
Status WriteThumbnail(const std::wstring& answer, const std::string& family,
                      const std::string& output);

}  // namespace VardelTool
