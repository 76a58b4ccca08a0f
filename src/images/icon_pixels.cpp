#include "images/icon_pixels.h"

#include <new>

#include "images/dib.h"
#include "images/dib_view.h"

namespace VardelImages {
namespace {

bool HasAlphaChannel(const DibView& view) {
    if (view.Header().BitCount != 32) {
        return false;
    }
    for (std::uint32_t y = 0; y < view.Height(); ++y) {
        for (std::uint32_t x = 0; x < view.Width(); ++x) {
            if (view.PixelAt(x, y).a != 0) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

HICON MakeIcon(std::span<const std::uint8_t> image) {
    const std::optional<DibView> view = DibView::Parse(image, DibKind::IconImage);
    if (!view || !view->Uncompressed() || view->Width() > CDib::kMaxConvertedSide ||
        view->Height() > CDib::kMaxConvertedSide) {
        return nullptr;
    }
    try {
        HICON icon = std::make_unique<SIcon>();
        icon->Width = view->Width();
        icon->Height = view->Height();
        icon->Rgba.resize(4 * std::size_t{icon->Width} * icon->Height);
        const bool alphaChannel = HasAlphaChannel(*view);
        std::uint8_t* out = icon->Rgba.data();
        for (std::uint32_t y = 0; y < icon->Height; ++y) {
            for (std::uint32_t x = 0; x < icon->Width; ++x) {
                const Rgba pixel = view->PixelAt(x, y);
                *out++ = pixel.r;
                *out++ = pixel.g;
                *out++ = pixel.b;
                *out++ = alphaChannel ? pixel.a : view->MaskedAt(x, y) ? 0 : 255;
            }
        }
        return icon;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace VardelImages
