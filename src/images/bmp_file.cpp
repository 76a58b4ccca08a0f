// CDib: BMP files. A file is the 14-byte file header (type "BM", file size,
// two reserved zeros, offset of the pixels), the 40-byte information header,
// the colour table and the pixel rows, bottom row first, each padded to a
// multiple of 4 bytes.
#include <algorithm>
#include <cstdint>

#include "images/byte_reader.h"
#include "images/byte_writer.h"
#include "images/dib.h"
#include "images/dib_header.h"
#include "images/image_file.h"
#include "images/message_sink.h"

using VardelImages::Buffer;
using VardelImages::ByteReader;
using VardelImages::ByteWriter;
using VardelImages::kInfoHeaderSize;

namespace {

constexpr std::uint16_t kBmpType = 0x4D42;  // "BM"
constexpr std::uint32_t kFileHeaderSize = 14;

// Dimensions a DIB can have: positive, with 1 to 32 bits per pixel. Top-down
// files (negative height) are not read.
bool PossibleDimensions(const BITMAPINFOHEADER& header) {
    const std::uint32_t bits = std::uint32_t{header.Planes} * header.BitCount;
    return header.Width >= 1 && header.Height >= 1 && bits >= 1 && bits <= 32;
}

// Shows `text` about the file `caption` and gives no DIB.
std::optional<Buffer> Fail(std::wstring_view caption, std::wstring_view text) {
    VardelImages::ShowMessage(caption, text);
    return std::nullopt;
}

// Reads the file header; the offset of the pixels in `bitsOffset`. The text
// of the failure, or null.
const wchar_t* ReadFileHeader(ByteReader& reader, std::uint32_t& bitsOffset) {
    std::uint16_t type = 0, reserved1 = 0, reserved2 = 0;
    // The file size field is not needed: the rows' size comes from the header.
    if (!reader.ReadU16(type) || !reader.Skip(4) || !reader.ReadU16(reserved1) ||
        !reader.ReadU16(reserved2) || !reader.ReadU32(bitsOffset)) {
        return L"Error when reading header of a bitmap file!";
    }
    if (type != kBmpType || reserved1 != 0 || reserved2 != 0) {
        return L"Unknown bitmap format file!";
    }
    return nullptr;
}

// Finds the information header, the colour table and the rows (at
// `bitsOffset` unless it is 0) that follow the file header. The rows are
// checked against the bytes present before anything is allocated for them.
// The text of the failure, or null.
const wchar_t* ReadDibParts(ByteReader& reader, std::uint32_t bitsOffset,
                            std::span<const std::uint8_t>& headerBytes,
                            std::span<const std::uint8_t>& colors,
                            std::span<const std::uint8_t>& pixels) {
    reader.Take(kInfoHeaderSize, headerBytes);
    ByteReader headerReader(headerBytes);
    BITMAPINFOHEADER header{};
    if (!VardelImages::ReadInfoHeader(headerReader, header)) {
        return L"Error when reading a bitmap information header!";
    }
    if (header.Size != kInfoHeaderSize) {
        return L"Not support a bitmap of OS/2 style!";
    }
    if (!PossibleDimensions(header)) {
        return L"Fail to reallocate memory a bitmap information header needs!";
    }
    if (!reader.Take(CDib::PaletteSize(header), colors)) {
        return L"Error when reading bitmap color table!";
    }
    if (bitsOffset != 0 && !reader.Seek(bitsOffset)) {
        return L"Error when locating size of a bitmap file!";
    }
    const std::uint64_t stride = CDib::BytesPerLine(header);
    const auto rows = static_cast<std::uint64_t>(header.Height);
    if (rows > reader.Remaining() / stride || !reader.Take(stride * rows, pixels)) {
        return L"Error when reading a bitmap file!";
    }
    return nullptr;
}

std::wstring_view Caption(const wchar_t* path) {
    return path == nullptr ? std::wstring_view() : std::wstring_view(path);
}

}  // namespace

std::optional<Buffer> CDib::ReadBMPFile(const wchar_t* path) {
    const std::optional<std::string> file = VardelImages::ReadFileBytes(path);
    if (!file) {
        return Fail(Caption(path), L"Error when opening a bitmap file!");
    }
    return ReadBMPBytes(VardelImages::AsBytes(*file), Caption(path));
}

std::optional<Buffer> CDib::ReadBMPBytes(std::span<const std::uint8_t> file,
                                         std::wstring_view caption) {
    ByteReader reader(file);
    std::uint32_t bitsOffset = 0;
    if (const wchar_t* failure = ReadFileHeader(reader, bitsOffset)) {
        return Fail(caption, failure);
    }
    Buffer dib;
    if (!dib.Resize(kInfoHeaderSize)) {
        return Fail(caption, L"Error when reallocating memory of a bitmap!");
    }
    std::span<const std::uint8_t> header;
    std::span<const std::uint8_t> colors;
    std::span<const std::uint8_t> pixels;
    if (const wchar_t* failure = ReadDibParts(reader, bitsOffset, header, colors, pixels)) {
        return Fail(caption, failure);
    }
    if (!dib.Resize(header.size() + colors.size() + pixels.size())) {
        return Fail(caption, L"Fail to reallocate memory a bitmap information header needs!");
    }
    std::uint8_t* out = std::copy(header.begin(), header.end(), dib.Data());
    out = std::copy(colors.begin(), colors.end(), out);
    std::copy(pixels.begin(), pixels.end(), out);
    return dib;
}

bool CDib::WriteBMPFile(const wchar_t* path, const ICONIMAGE& image) {
    const std::optional<VardelImages::DibView> view =
        image.Bits == nullptr ? std::nullopt
                              : VardelImages::DibView::Parse({image.Bits, image.NumBytes},
                                                             VardelImages::DibKind::IconImage);
    if (!view) {
        return false;
    }
    // The file holds the colour part only: the visible height, no mask.
    BITMAPINFOHEADER header = view->Header();
    header.Size = kInfoHeaderSize;
    header.Height = static_cast<std::int32_t>(view->Height());
    const std::span<const std::uint8_t> colors = view->ColorTable();
    const std::span<const std::uint8_t> pixels = view->XorBits();
    const std::uint64_t bitsOffset = kFileHeaderSize + kInfoHeaderSize + colors.size();
    if (bitsOffset + pixels.size() > UINT32_MAX) {
        return false;
    }
    ByteWriter fileHeader;
    fileHeader.WriteU16(kBmpType);
    fileHeader.WriteU32(static_cast<std::uint32_t>(bitsOffset + pixels.size()));
    fileHeader.WriteU16(0);
    fileHeader.WriteU16(0);
    fileHeader.WriteU32(static_cast<std::uint32_t>(bitsOffset));
    ByteWriter body;
    VardelImages::WriteInfoHeader(header, body);
    body.WriteBytes(colors);
    body.WriteBytes(pixels);

    VardelImages::FileWriter file;
    if (!file.Create(path)) {
        VardelImages::ShowMessage(Caption(path), L"Fail to create a bitmap file\uFF01");
        return false;
    }
    if (!file.Write(fileHeader.Bytes()) || !file.Write(body.Bytes()) || !file.Commit()) {
        VardelImages::ShowMessage(Caption(path), L"Error when writing header of a bitmap file!");
        return false;
    }
    return true;
}
