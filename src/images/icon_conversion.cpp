#include "images/icon_conversion.h"

#include <algorithm>
#include <cstdlib>

#include "images/byte_writer.h"
#include "images/dib.h"
#include "images/dib_header.h"
#include "images/icon_image.h"

namespace VardelImages {
namespace {

// Overwrites the start of `dib` with `header`.
void StoreHeader(const BITMAPINFOHEADER& header, std::span<std::uint8_t> dib) {
    ByteWriter writer;
    WriteInfoHeader(header, writer);
    std::copy(writer.Bytes().begin(), writer.Bytes().end(), dib.begin());
}

void DropBytes(ICONIMAGE& image) {
    std::free(image.Bits);
    image.Bits = nullptr;
    image.NumBytes = 0;
    image.Header = nullptr;
    image.XorBits = nullptr;
    image.AndBits = nullptr;
}

}  // namespace

bool DibToIconImage(ICONIMAGE& image, std::span<const std::uint8_t> dib, bool stretch) {
    if (dib.empty() || image.Colors > UINT16_MAX) {
        return false;
    }
    const std::optional<Buffer> converted = CDib::ConvertDIBFormat(
        dib, image.Width, image.Height, static_cast<std::uint16_t>(image.Colors), stretch);
    if (!converted) {
        return false;
    }
    // The converted DIB is header, colour table and XOR rows; the image adds
    // an all-zero (opaque) AND mask after them.
    const std::optional<DibView> view = DibView::Parse(converted->Bytes(), DibKind::Plain);
    if (!view) {
        return false;
    }
    const std::size_t colorBytes = view->AndOffset();
    const std::size_t maskBytes = MaskBytesPerLine(image.Width) * image.Height;
    DropBytes(image);
    Buffer bytes;
    if (!bytes.Resize(colorBytes + maskBytes)) {
        return false;
    }
    std::copy_n(converted->Bytes().begin(), colorBytes, bytes.Data());
    BITMAPINFOHEADER header = view->Header();
    header.Height *= 2;
    StoreHeader(header, bytes.Bytes());
    image.NumBytes = static_cast<std::uint32_t>(bytes.Size());
    image.Bits = bytes.Release();
    return AdjustIconImagePointers(&image) != 0;
}

std::optional<std::vector<std::uint8_t>> ClipboardDib(const ICONIMAGE& image) {
    const std::span<const std::uint8_t> bytes = ImageBytes(image);
    const std::optional<DibView> view = DibView::Parse(bytes, DibKind::IconImage);
    if (!view) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> dib(bytes.begin(), bytes.end());
    BITMAPINFOHEADER header = view->Header();
    header.Height = static_cast<std::int32_t>(view->Height());
    StoreHeader(header, dib);
    return dib;
}

}  // namespace VardelImages
