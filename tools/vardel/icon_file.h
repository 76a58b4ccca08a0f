// Icons as the icon commands read and write them: an ICO file, or one icon
// group of a program file (a file starting with "MZ"), read through CIcons
// into a record the caller owns; and the library's ICO and BMP writers run
// on a target. Failures carry the library's message text.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tool_result.h"
#include "vardel/icons.h"

namespace VardelTool {

struct IconRecordFree {
    void operator()(ICONRESOURCE* record) const;
};
/// A record read by CIcons, its images' bytes freed with it.
using IconRecord = std::unique_ptr<ICONRESOURCE, IconRecordFree>;

/// Icon images made by the tool, their bytes freed with them.
class IconImages {
  public:
    IconImages() = default;
    IconImages(const IconImages&) = delete;
    IconImages& operator=(const IconImages&) = delete;
    ~IconImages();

    /// A new image without bytes, kept until the object goes.
    ICONIMAGE& Add();
    /// Pointers to every image, in order.
    std::vector<ICONIMAGE*> Pointers();

  private:
    std::vector<std::unique_ptr<ICONIMAGE>> images_;
};

/// True when `file` starts with "MZ".
bool IsProgramFile(const std::string& file);

/// The names of the icon groups of the program file `file`, in its order,
/// as ReadIcon takes them: a text name, or "#<number>" for a numeric id.
Result<std::vector<std::string>> IconGroups(const std::string& file);

/// The icon of the ICO file `file`, or with a group name the icon group of
/// a program file: a name, or a number for a numeric id.
Result<IconRecord> ReadIcon(const std::string& file, const std::string& group);

/// Runs `write` (a CIcons writer, which replaces its file atomically) on
/// `target`; refused, with the library's message, when it returns 0.
Status WriteWith(const std::function<int(const wchar_t*)>& write, const std::string& target);

/// Saves `bytes` as `target` atomically.
Status SaveFile(const std::string& target, const std::string& bytes);

}  // namespace VardelTool
