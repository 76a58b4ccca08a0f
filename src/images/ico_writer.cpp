#include "images/ico_writer.h"

#include "images/byte_reader.h"
#include "images/byte_writer.h"
#include "images/dib_header.h"
#include "images/icon_image.h"
#include "images/image_file.h"
#include "images/message_sink.h"

namespace VardelImages {
namespace {

constexpr std::uint16_t kIconType = 1;

// Writes the three header words; the count is the image count.
void WriteIcoHeader(ByteWriter& writer, std::uint16_t count) {
    writer.WriteU16(0);
    writer.WriteU16(kIconType);
    writer.WriteU16(count);
}

// Appends the directory entry of `image`, whose bytes start at `offset`.
bool WriteEntry(const ICONIMAGE& image, std::uint64_t offset, ByteWriter& writer) {
    ByteReader reader(ImageBytes(image));
    BITMAPINFOHEADER header{};
    if (!ReadInfoHeader(reader, header) || offset > UINT32_MAX) {
        return false;
    }
    writer.WriteU8(static_cast<std::uint8_t>(image.Width));
    writer.WriteU8(static_cast<std::uint8_t>(image.Height));
    writer.WriteU8(ColorCountByte(std::uint32_t{header.Planes} * header.BitCount));
    writer.WriteU8(0);
    writer.WriteU16(header.Planes);
    writer.WriteU16(header.BitCount);
    writer.WriteU32(image.NumBytes);
    writer.WriteU32(static_cast<std::uint32_t>(offset));
    return true;
}

}  // namespace

bool BuildIcoBytes(std::span<const ICONIMAGE* const> images, std::vector<std::uint8_t>& header,
                   std::vector<std::uint8_t>& body) {
    if (images.size() > UINT16_MAX) {
        return false;
    }
    ByteWriter head;
    WriteIcoHeader(head, static_cast<std::uint16_t>(images.size()));
    ByteWriter rest;
    std::uint64_t offset = CalculateImageOffset(images, 0);
    for (const ICONIMAGE* image : images) {
        if (image == nullptr || !WriteEntry(*image, offset, rest)) {
            return false;
        }
        offset += image->NumBytes;
    }
    for (const ICONIMAGE* image : images) {
        rest.WriteBytes(ImageBytes(*image));
    }
    header = head.Bytes();
    body = rest.Bytes();
    return true;
}

bool WriteIcoFile(std::span<const ICONIMAGE* const> images, const wchar_t* path) {
    std::vector<std::uint8_t> header;
    std::vector<std::uint8_t> body;
    if (!BuildIcoBytes(images, header, body)) {
        return false;
    }
    const std::wstring_view caption = path == nullptr ? std::wstring_view() : path;
    FileWriter file;
    if (!file.Create(path)) {
        ShowMessage(caption, L"Error when creating a file!");
        return false;
    }
    if (!file.Write(header)) {
        ShowMessage(caption, L"Error when writing header of an icon file!");
        return false;
    }
    return file.Write(body) && file.Commit();
}

}  // namespace VardelImages
