#include "images/icon_image.h"

#include "images/dib_view.h"

namespace VardelImages {

std::span<const std::uint8_t> ImageBytes(const ICONIMAGE& image) {
    if (image.Bits == nullptr) {
        return {};
    }
    return {image.Bits, image.NumBytes};
}

int AdjustIconImagePointers(ICONIMAGE* image) {
    if (image == nullptr) {
        return 0;
    }
    const std::optional<DibView> view = DibView::Parse(ImageBytes(*image), DibKind::IconImage);
    if (!view) {
        return 0;
    }
    const BITMAPINFOHEADER& header = view->Header();
    image->Width = view->Width();
    image->Height = view->Height();
    image->Colors = std::uint32_t{header.Planes} * header.BitCount;
    // The bytes come from malloc, aligned for any type; the header sits at
    // their start.
    image->Header = static_cast<BITMAPINFOHEADER*>(static_cast<void*>(image->Bits));
    image->XorBits = image->Bits + view->XorOffset();
    image->AndBits = image->Bits + view->AndOffset();
    return 1;
}

std::uint8_t ColorCountByte(std::uint32_t colorBits) {
    return static_cast<std::uint8_t>(colorBits < 8 ? 1u << colorBits : 0u);
}

std::uint64_t CalculateImageOffset(std::span<const ICONIMAGE* const> images, std::size_t index) {
    constexpr std::uint64_t kIcoHeaderSize = 6;
    constexpr std::uint64_t kIcoEntrySize = 16;
    std::uint64_t offset = kIcoHeaderSize + kIcoEntrySize * images.size();
    for (std::size_t i = 0; i < index && i < images.size(); ++i) {
        offset += images[i]->NumBytes;
    }
    return offset;
}

}  // namespace VardelImages
