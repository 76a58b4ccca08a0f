#include "images/module_icons.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "images/allocation.h"
#include "images/byte_reader.h"
#include "images/icon_image.h"
#include "images/icon_pixels.h"
#include "images/icon_record.h"
#include "images/message_sink.h"
#include "images/pe_image.h"

namespace VardelImages {
namespace {

constexpr std::uint32_t kGroupEntrySize = 14;
// Icons are wanted at this size when a group offers several.
constexpr int kPreferredSide = 32;

struct GroupEntry {
    int width = 0;
    int height = 0;
    std::uint16_t bits = 0;
    std::uint16_t id = 0;
};

// The entries of the group resource `group`; nullopt when the resource is
// shorter than its count says. Counts are at most 65535, so the list is small.
std::optional<std::vector<GroupEntry>> ReadGroupEntries(std::span<const std::uint8_t> group) {
    ByteReader reader(group);
    std::uint16_t count = 0;
    if (!reader.Skip(4) || !reader.ReadU16(count) ||
        reader.Remaining() < std::size_t{count} * kGroupEntrySize) {
        return std::nullopt;
    }
    std::vector<GroupEntry> entries(count);
    for (GroupEntry& entry : entries) {
        std::uint8_t width = 0, height = 0;
        reader.ReadU8(width);
        reader.ReadU8(height);
        reader.Skip(4);
        reader.ReadU16(entry.bits);
        reader.Skip(4);
        reader.ReadU16(entry.id);
        // A size byte of 0 stands for 256 pixels.
        entry.width = width == 0 ? 256 : width;
        entry.height = height == 0 ? 256 : height;
    }
    return entries;
}

// The group `group` of the PE file, its entries read.
std::optional<std::vector<GroupEntry>> FindGroup(const PeImage& image, const wchar_t* group) {
    const std::optional<ResourceName> name = ResourceName::FromArgument(group);
    const std::optional<std::span<const std::uint8_t>> bytes =
        name ? image.FindResource(kResourceGroupIcon, *name) : std::nullopt;
    return bytes ? ReadGroupEntries(*bytes) : std::nullopt;
}

// The bytes of icon resource `id`.
std::optional<std::span<const std::uint8_t>> FindIcon(const PeImage& image, std::uint16_t id) {
    return image.FindResource(kResourceIcon, ResourceName::FromId(id));
}

// The PE image of `file`; nullopt, with a message captioned `module`, when
// the bytes are not a PE file.
std::optional<PeImage> ParseProgramFile(std::span<const std::uint8_t> file, const wchar_t* module) {
    std::optional<PeImage> image = PeImage::Parse(file);
    if (!image) {
        ShowMessage(module == nullptr ? std::wstring_view() : module,
                    L"Error when loading a file - Please select a WIN32 DLL or EXE file!");
    }
    return image;
}

}  // namespace

bool ListIconGroups(std::span<const std::uint8_t> file, const wchar_t* module,
                    std::vector<std::wstring>& groups) {
    groups.clear();
    const std::optional<PeImage> image = ParseProgramFile(file, module);
    if (!image) {
        return false;
    }
    for (const ResourceName& name : image->ResourceNames(kResourceGroupIcon)) {
        groups.push_back(name.id ? L"#" + std::to_wstring(*name.id) : name.text);
    }
    return true;
}

ICONRESOURCE* ReadIconGroup(std::span<const std::uint8_t> file, const wchar_t* module,
                            const wchar_t* group) {
    const std::wstring_view caption = module == nullptr ? std::wstring_view() : module;
    const std::optional<PeImage> image = ParseProgramFile(file, module);
    if (!image) {
        return nullptr;
    }
    const std::optional<std::vector<GroupEntry>> entries = FindGroup(*image, group);
    if (!entries) {
        return nullptr;
    }
    RecordPtr record = NewRecord();
    if (!record || !GrowRecord(record, static_cast<std::uint32_t>(entries->size()))) {
        ShowMessage(caption, L"Error when allocating memory!");
        return nullptr;
    }
    SetRecordName(record->ModuleFileName, module);
    for (std::size_t i = 0; i < entries->size(); ++i) {
        const std::optional<std::span<const std::uint8_t>> bytes =
            FindIcon(*image, (*entries)[i].id);
        Buffer copy;
        if (!bytes || !copy.Resize(bytes->size())) {
            return nullptr;
        }
        std::copy(bytes->begin(), bytes->end(), copy.Data());
        ICONIMAGE& target = ImageAt(*record, i);
        target.NumBytes = static_cast<std::uint32_t>(copy.Size());
        target.Bits = copy.Release();
        if (AdjustIconImagePointers(&target) == 0) {
            ShowMessage(caption, L"Error when transforming to inner format of an icon!");
            return nullptr;
        }
    }
    return record.release();
}

HICON BestIconOfGroup(std::span<const std::uint8_t> file, const wchar_t* group) {
    const std::optional<PeImage> image = PeImage::Parse(file);
    const std::optional<std::vector<GroupEntry>> entries =
        image ? FindGroup(*image, group) : std::nullopt;
    if (!entries || entries->empty()) {
        return nullptr;
    }
    const auto distance = [](const GroupEntry& entry) {
        return std::abs(entry.width - kPreferredSide) + std::abs(entry.height - kPreferredSide);
    };
    // The nearest size wins, then the most colour bits, then the first.
    const GroupEntry* best = &entries->front();
    for (const GroupEntry& entry : *entries) {
        if (distance(entry) < distance(*best) ||
            (distance(entry) == distance(*best) && entry.bits > best->bits)) {
            best = &entry;
        }
    }
    const std::optional<std::span<const std::uint8_t>> bytes = FindIcon(*image, best->id);
    return bytes ? MakeIcon(*bytes) : nullptr;
}

}  // namespace VardelImages
