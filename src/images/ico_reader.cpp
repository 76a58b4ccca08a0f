#include "images/ico_reader.h"

#include <algorithm>

#include "images/allocation.h"
#include "images/icon_image.h"
#include "images/icon_pixels.h"
#include "images/icon_record.h"
#include "images/image_file.h"

namespace VardelImages {
namespace {

constexpr std::uint16_t kIconType = 1;
constexpr std::uint32_t kEntrySize = 16;
// Offset of an entry's image size; its image offset follows.
constexpr std::uint32_t kEntrySizeField = 8;

ICONRESOURCE* Fail(IcoFailure& failure, Error_ReadIconFromICOFile code, const wchar_t* text) {
    failure = {code, text};
    return nullptr;
}

// Reads image `index` of the directory into `image`; ICOERR_NONE on success.
IcoFailure ReadImage(std::span<const std::uint8_t> file, std::span<const std::uint8_t> directory,
                     std::size_t index, ICONIMAGE& image) {
    ByteReader entry(directory);
    std::uint32_t size = 0, offset = 0;
    entry.Seek(index * kEntrySize + kEntrySizeField);
    entry.ReadU32(size);
    entry.ReadU32(offset);
    if (offset > file.size()) {
        return {ICOERR_IMAGE_READ, L"Error when locating content of an icon!"};
    }
    if (size > file.size() - offset) {
        return {ICOERR_IMAGE_SHORT, L"Error when reading content of an icon!"};
    }
    Buffer bytes;
    if (!bytes.Resize(size)) {
        return {ICOERR_IMAGE_READ, L"Error when reallocating memory for an icon!"};
    }
    const std::span<const std::uint8_t> source = file.subspan(offset, size);
    std::copy(source.begin(), source.end(), bytes.Data());
    image.NumBytes = size;
    image.Bits = bytes.Release();
    if (AdjustIconImagePointers(&image) == 0) {
        return {ICOERR_IMAGE_FORMAT, L"Error when transforming inner format of an icon!"};
    }
    return {};
}

// Empties the handles made before a read failed.
void ClearIcons(HICON* icons, std::size_t made) {
    for (std::size_t i = 0; icons != nullptr && i < made; ++i) {
        icons[i].reset();
    }
}

}  // namespace

std::uint32_t ReadIcoHeader(ByteReader& reader) {
    std::uint16_t reserved = 0, type = 0, count = 0;
    if (!reader.ReadU16(reserved) || !reader.ReadU16(type) || !reader.ReadU16(count) ||
        reserved != 0 || type != kIconType) {
        return kInvalidIcoHeader;
    }
    return count;
}

ICONRESOURCE* ReadIcoBytes(std::span<const std::uint8_t> file, const wchar_t* path, HICON* icons,
                           IcoFailure& failure) {
    RecordPtr record = NewRecord();
    if (!record) {
        return Fail(failure, ICOERR_RECORD_MEMORY, L"Error when allocating memory for an icon!");
    }
    ByteReader reader(file);
    const std::uint32_t count = ReadIcoHeader(reader);
    if (count == kInvalidIcoHeader) {
        return Fail(failure, ICOERR_HEADER, L"Error when reading header of an icon file!");
    }
    // The count is believed only as far as the directory is really there.
    std::span<const std::uint8_t> entries;
    if (!reader.Take(std::uint64_t{count} * kEntrySize, entries)) {
        return Fail(failure, ICOERR_DIRECTORY_READ, L"Error when reading an icon file!");
    }
    if (!GrowRecord(record, count)) {
        return Fail(failure, ICOERR_GROW_MEMORY, L"Error when reallocating memory for an icon!");
    }
    SetRecordName(record->IcoFileName, path);
    Buffer directory;
    if (!directory.Resize(entries.size())) {
        return Fail(failure, ICOERR_DIRECTORY_MEMORY,
                    L"Error when reallocating memory for an icon file!");
    }
    std::copy(entries.begin(), entries.end(), directory.Data());
    for (std::size_t i = 0; i < count; ++i) {
        const IcoFailure image = ReadImage(file, directory.Bytes(), i, ImageAt(*record, i));
        if (image.code != ICOERR_NONE) {
            ClearIcons(icons, i);
            failure = image;
            return nullptr;
        }
        if (icons != nullptr) {
            icons[i] = MakeIcon(ImageBytes(ImageAt(*record, i)));
        }
    }
    failure = {};
    return record.release();
}

ICONRESOURCE* ReadIcoFile(const wchar_t* path, HICON* icons, IcoFailure& failure) {
    const std::optional<std::string> file = ReadFileBytes(path);
    if (!file) {
        return Fail(failure, ICOERR_OPEN, L"Error when opening an icon file!");
    }
    return ReadIcoBytes(AsBytes(*file), path, icons, failure);
}

}  // namespace VardelImages
