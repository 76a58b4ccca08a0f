// CIcons: the exported face of the images subsystem. Each operation checks
// its arguments and hands the work to the reader, writer or converter that
// owns it.
#include "vardel/icons.h"

#include <new>
#include <optional>
#include <utility>

#include "images/dib.h"
#include "images/ico_reader.h"
#include "images/ico_writer.h"
#include "images/icon_conversion.h"
#include "images/icon_image.h"
#include "images/icon_pixels.h"
#include "images/icon_record.h"
#include "images/image_file.h"
#include "images/message_sink.h"
#include "images/module_icons.h"
#include "vardel/clipboard.h"

namespace {

// The bytes of the program file at `module`; empty when it cannot be read,
// which the PE reader then refuses like any other non-program file.
std::span<const std::uint8_t> ModuleBytes(const std::optional<std::string>& file) {
    return file ? VardelImages::AsBytes(*file) : std::span<const std::uint8_t>();
}

// Holds the clipboard open for one operation.
class ClipboardHold {
  public:
    ClipboardHold() : open_(CClipboard::Instance().Open()) {}
    ~ClipboardHold() {
        if (open_) {
            CClipboard::Instance().Close();
        }
    }
    ClipboardHold(const ClipboardHold&) = delete;
    ClipboardHold& operator=(const ClipboardHold&) = delete;

    bool Open() const { return open_; }

  private:
    bool open_;
};

}  // namespace

CIcons::CIcons() = default;
CIcons::~CIcons() = default;

CIcons::MessageSink CIcons::SetMessageSink(MessageSink sink) {
    return VardelImages::ReplaceMessageSink(std::move(sink));
}

ICONRESOURCE* CIcons::ReadIconFromICOFile(const wchar_t* path) {
    return ReadIconFromICOFile(path, nullptr);
}

ICONRESOURCE* CIcons::ReadIconFromICOFile(const wchar_t* path, HICON* icons) {
    VardelImages::IcoFailure failure;
    ICONRESOURCE* record = VardelImages::ReadIcoFile(path, icons, failure);
    if (record == nullptr) {
        VardelImages::ShowMessage(path == nullptr ? L"" : path, failure.text);
    }
    return record;
}

ICONRESOURCE* CIcons::ReadIconFromICOFile(const wchar_t* path, HICON* icons,
                                          Error_ReadIconFromICOFile& error) {
    VardelImages::IcoFailure failure;
    ICONRESOURCE* record = VardelImages::ReadIcoFile(path, icons, failure);
    error = failure.code;
    return record;
}

ICONRESOURCE* CIcons::ReadIconFromEXEFile(const wchar_t* module, const wchar_t* groupName) {
    try {
        const std::optional<std::string> file = VardelImages::ReadFileBytes(module);
        return VardelImages::ReadIconGroup(ModuleBytes(file), module, groupName);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

int CIcons::ListIconGroups(const wchar_t* module, std::vector<std::wstring>& groups) {
    try {
        const std::optional<std::string> file = VardelImages::ReadFileBytes(module);
        return VardelImages::ListIconGroups(ModuleBytes(file), module, groups) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        groups.clear();
        return 0;
    }
}

int CIcons::WriteIconToICOFile(const ICONRESOURCE* resource, const wchar_t* path) {
    if (resource == nullptr) {
        return 0;
    }
    try {
        std::vector<const ICONIMAGE*> images;
        for (std::size_t i = 0; i < resource->ImageCount; ++i) {
            images.push_back(&VardelImages::ImageAt(*resource, i));
        }
        return VardelImages::WriteIcoFile(images, path) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int CIcons::WriteIconToICOFile(const std::vector<ICONIMAGE*>& images, const wchar_t* path) {
    try {
        return VardelImages::WriteIcoFile(images, path) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

HICON CIcons::MakeIconFromResource(const ICONIMAGE* image) {
    return image == nullptr ? nullptr : VardelImages::MakeIcon(VardelImages::ImageBytes(*image));
}

HICON CIcons::GetIconFromInstance(const wchar_t* module, const wchar_t* groupName) {
    try {
        const std::optional<std::string> file = VardelImages::ReadFileBytes(module);
        return VardelImages::BestIconOfGroup(ModuleBytes(file), groupName);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

int CIcons::DIBToIconImage(ICONIMAGE* image, std::span<const std::uint8_t> dib, int stretch) {
    return image != nullptr && VardelImages::DibToIconImage(*image, dib, stretch != 0) ? 1 : 0;
}

int CIcons::IconImageFromBMPFile(const wchar_t* path, ICONIMAGE* image, int stretch) {
    if (image == nullptr) {
        return 0;
    }
    const std::optional<VardelImages::Buffer> dib = CDib::ReadBMPFile(path);
    return dib ? DIBToIconImage(image, dib->Bytes(), stretch) : 0;
}

int CIcons::IconImageToBMPFile(const wchar_t* path, const ICONIMAGE* image) {
    try {
        return image != nullptr && CDib::WriteBMPFile(path, *image) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int CIcons::IconImageToClipBoard(const ICONIMAGE* image) {
    try {
        std::optional<std::vector<std::uint8_t>> dib =
            image == nullptr ? std::nullopt : VardelImages::ClipboardDib(*image);
        if (!dib) {
            return 0;
        }
        const ClipboardHold hold;
        if (!hold.Open() || !CClipboard::Instance().Empty()) {
            return 0;
        }
        return CClipboard::Instance().SetData(CF_DIB, std::move(*dib)) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int CIcons::IconImageFromClipBoard(ICONIMAGE* image, int stretch) {
    try {
        std::vector<std::uint8_t> dib;
        {
            const ClipboardHold hold;
            if (image == nullptr || !hold.Open() || !CClipboard::Instance().GetData(CF_DIB, dib)) {
                return 0;
            }
        }
        return DIBToIconImage(image, dib, stretch);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}
