#include "icon_file.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "common/atomic_file.h"
#include "output.h"

namespace VardelTool {
namespace {

// Collects the library's messages while it lives, so that they become the
// text of a failure instead of lines on standard error.
class CapturedMessages {
  public:
    CapturedMessages()
        : previous_(CIcons::SetMessageSink(
              [this](const std::wstring&, const std::wstring& text) { text_ = text; })) {}
    ~CapturedMessages() { CIcons::SetMessageSink(previous_); }
    CapturedMessages(const CapturedMessages&) = delete;
    CapturedMessages& operator=(const CapturedMessages&) = delete;

    /// "<file>: <the last message>", or `fallback` when there was none.
    Failure FailureFor(const std::string& file, const std::string& fallback) const {
        return Refused(file + ": " + (text_.empty() ? fallback : Utf8(text_)));
    }

  private:
    std::wstring text_;
    CIcons::MessageSink previous_;
};

// The library's name of group `group`: a number becomes "#<number>".
std::wstring GroupName(const std::string& group) {
    const bool number =
        !group.empty() && group.size() <= 5 &&
        std::all_of(group.begin(), group.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
        std::stoul(group) < 0x10000;
    return Wide(number ? "#" + group : group);
}

}  // namespace

void IconRecordFree::operator()(ICONRESOURCE* record) const {
    for (std::uint32_t i = 0; i < record->ImageCount; ++i) {
        std::free(record->Images[i].Bits);
    }
    std::free(record);
}

IconImages::~IconImages() {
    for (const std::unique_ptr<ICONIMAGE>& image : images_) {
        std::free(image->Bits);
    }
}

ICONIMAGE& IconImages::Add() {
    images_.push_back(std::make_unique<ICONIMAGE>());
    return *images_.back();
}

std::vector<ICONIMAGE*> IconImages::Pointers() {
    std::vector<ICONIMAGE*> pointers;
    for (const std::unique_ptr<ICONIMAGE>& image : images_) {
        pointers.push_back(image.get());
    }
    return pointers;
}

bool IsProgramFile(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    char start[2] = {};
    return in.read(start, 2) && start[0] == 'M' && start[1] == 'Z';
}

Result<std::vector<std::string>> IconGroups(const std::string& file) {
    CIcons icons;
    CapturedMessages messages;
    std::vector<std::wstring> names;
    if (icons.ListIconGroups(Wide(file).c_str(), names) == 0) {
        return messages.FailureFor(file, "not a program file");
    }
    std::vector<std::string> groups;
    for (const std::wstring& name : names) {
        groups.push_back(Utf8(name));
    }
    return groups;
}

Result<IconRecord> ReadIcon(const std::string& file, const std::string& group) {
    CIcons icons;
    CapturedMessages messages;
    const std::wstring path = Wide(file);
    if (group.empty()) {
        IconRecord record(icons.ReadIconFromICOFile(path.c_str()));
        return record ? Result<IconRecord>(std::move(record))
                      : messages.FailureFor(file, "not an icon file");
    }
    const std::wstring name = GroupName(group);
    IconRecord record(icons.ReadIconFromEXEFile(path.c_str(), name.c_str()));
    if (!record) {
        return messages.FailureFor(file, "no readable icon group " + Quoted(group));
    }
    return record;
}

Status WriteWith(const std::function<int(const wchar_t*)>& write, const std::string& target) {
    CapturedMessages messages;
    const std::wstring path = Wide(target);
    if (write(path.c_str()) == 0) {
        return messages.FailureFor(target, "cannot make the file");
    }
    return std::nullopt;
}

Status SaveFile(const std::string& target, const std::string& bytes) {
    if (!VardelCommon::WriteFileAtomically(target, bytes)) {
        return Refused("cannot write " + target);
    }
    return std::nullopt;
}

}  // namespace VardelTool
