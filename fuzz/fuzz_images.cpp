// Fuzz target: the readers of the images subsystem. Every input goes to the
// ICO reader, the BMP reader, the DIB converter (the input taken as a DIB)
// and the PE icon-group lister and reader; each rejects foreign bytes at once, so one
// corpus serves all four. Nothing may crash, hang or allocate beyond what
// the input holds, and what is read must survive the way back: an ICO
// record or a PE icon group written as an ICO file must read back with the
// same images, and every converted DIB must be a valid DIB.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "images/dib.h"
#include "images/ico_reader.h"
#include "images/ico_writer.h"
#include "images/icon_conversion.h"
#include "images/icon_image.h"
#include "images/icon_pixels.h"
#include "images/icon_record.h"
#include "images/module_icons.h"
#include "vardel/icons.h"

namespace {

using Bytes = std::span<const std::uint8_t>;

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// Draws every image, converts it to a small 4-bit image and back through the
// clipboard's DIB, and checks that the record written as an ICO file reads
// back with the same image bytes. Frees the record.
void Exercise(ICONRESOURCE* record) {
    const VardelImages::RecordPtr owned(record);
    std::vector<const ICONIMAGE*> images;
    for (std::size_t i = 0; i < record->ImageCount; ++i) {
        const ICONIMAGE& image = VardelImages::ImageAt(*record, i);
        images.push_back(&image);
        VardelImages::MakeIcon(VardelImages::ImageBytes(image));
        const auto dib = VardelImages::ClipboardDib(image);
        Check(dib.has_value());
        ICONIMAGE small{16, 16, 4, nullptr, 0, nullptr, nullptr, nullptr};
        VardelImages::DibToIconImage(small, *dib, i % 2 == 0);
        std::free(small.Bits);
    }
    std::vector<std::uint8_t> header;
    std::vector<std::uint8_t> body;
    Check(VardelImages::BuildIcoBytes(images, header, body));
    header.insert(header.end(), body.begin(), body.end());
    VardelImages::IcoFailure failure;
    const VardelImages::RecordPtr back(
        VardelImages::ReadIcoBytes(header, L"again.ico", nullptr, failure));
    Check(back && back->ImageCount == record->ImageCount);
    for (std::size_t i = 0; back && i < back->ImageCount; ++i) {
        const Bytes before = VardelImages::ImageBytes(*images[i]);
        const Bytes after = VardelImages::ImageBytes(VardelImages::ImageAt(*back, i));
        Check(std::equal(before.begin(), before.end(), after.begin(), after.end()));
    }
}

// Converts `dib` to a few formats; each result must parse as a DIB.
void Convert(Bytes dib) {
    const struct {
        std::uint32_t width, height;
        std::uint16_t bits;
        bool stretch;
    } targets[] = {{32, 32, 4, true}, {7, 5, 8, false}, {3, 9, 1, true}, {5, 3, 32, false}};
    for (const auto& target : targets) {
        const auto converted =
            CDib::ConvertDIBFormat(dib, target.width, target.height, target.bits, target.stretch);
        if (converted) {
            Check(VardelImages::DibView::Parse(converted->Bytes(), VardelImages::DibKind::Plain)
                      .has_value());
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool silenced = [] {
        CIcons::SetMessageSink([](const std::wstring&, const std::wstring&) {});
        return true;
    }();
    (void)silenced;
    const Bytes input(data, size);

    VardelImages::IcoFailure failure;
    if (ICONRESOURCE* record = VardelImages::ReadIcoBytes(input, L"fuzz.ico", nullptr, failure)) {
        Exercise(record);
    }
    if (const auto dib = CDib::ReadBMPBytes(input, L"fuzz.bmp")) {
        Convert(dib->Bytes());
    }
    Convert(input);
    // Every group the file lists, and two it may not list.
    std::vector<std::wstring> groups;
    VardelImages::ListIconGroups(input, L"fuzz.dll", groups);
    groups.resize(std::min<std::size_t>(groups.size(), 8));
    groups.insert(groups.end(), {L"#1", L"APP"});
    for (const std::wstring& group : groups) {
        if (ICONRESOURCE* record = VardelImages::ReadIconGroup(input, L"fuzz.dll", group.c_str())) {
            Exercise(record);
        }
        VardelImages::BestIconOfGroup(input, group.c_str());
    }
    return 0;
}
