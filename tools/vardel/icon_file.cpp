#include "icon_file.h"

#include <stdlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
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

// A folder of its own under the temporary folder, removed with its files.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vardel-icon-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
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

Result<std::string> WrittenBytes(const std::function<int(const wchar_t*)>& write,
                                 const std::string& target) {
    const ScratchFolder scratch;
    CapturedMessages messages;
    const std::wstring path = Wide((scratch.path() / "image").string());
    std::string bytes;
    if (scratch.path().empty() || write(path.c_str()) == 0 ||
        !VardelCommon::ReadWholeFile(scratch.path() / "image", bytes)) {
        return messages.FailureFor(target, "cannot make the file");
    }
    return bytes;
}

Status SaveFile(const std::string& target, const std::string& bytes) {
    if (!VardelCommon::WriteFileAtomically(target, bytes)) {
        return Refused("cannot write " + target);
    }
    return std::nullopt;
}

}  // namespace VardelTool
