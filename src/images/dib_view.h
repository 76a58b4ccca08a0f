// A checked view of the bytes of one DIB: a plain DIB (information header,
// colour table, pixel rows) or an icon image (the same with twice the height
// in its header, then the AND mask). Parse() accepts only bytes that hold
// everything the header describes, so every later pixel read is in bounds;
// the view borrows the bytes and must not outlive them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "vardel/icon_records.h"

namespace VardelImages {

/// One pixel: red, green, blue and the byte a 32-bit pixel carries beside
/// them (0 for every other depth).
struct Rgba {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 0;
};

enum class DibKind { Plain, IconImage };

class DibView {
  public:
    /// The view of `dib`; nullopt unless the header has one plane, 1, 4, 8,
    /// 16, 24 or 32 bits, a positive width and a height (positive and at
    /// least 2 for an icon image) whose rows, with colour table and mask,
    /// lie within the bytes.
    static std::optional<DibView> Parse(std::span<const std::uint8_t> dib, DibKind kind);

    const BITMAPINFOHEADER& Header() const { return header_; }
    std::uint32_t Width() const { return width_; }
    /// Visible rows (half the header's height for an icon image).
    std::uint32_t Height() const { return height_; }
    std::span<const std::uint8_t> ColorTable() const { return colorTable_; }
    /// Offsets from the start of the bytes to the colour rows and to the
    /// mask rows (the end of the colour rows for a plain DIB).
    std::size_t XorOffset() const { return xorOffset_; }
    std::size_t AndOffset() const { return andOffset_; }
    /// The colour rows, bottom row first unless the DIB is top-down.
    std::span<const std::uint8_t> XorBits() const { return xorBits_; }
    /// Whether the pixels are stored uncompressed, as PixelAt() reads them.
    bool Uncompressed() const;

    /// The colour at column `x` of row `y` counted from the top; both within
    /// the size. Palette indexes beyond the colour table read as black.
    Rgba PixelAt(std::uint32_t x, std::uint32_t y) const;
    /// Whether the AND mask marks the pixel transparent; false for a plain DIB.
    bool MaskedAt(std::uint32_t x, std::uint32_t y) const;

  private:
    std::size_t StoredRow(std::uint32_t y) const;

    BITMAPINFOHEADER header_{};
    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    bool bottomUp_ = true;
    std::span<const std::uint8_t> colorTable_;
    std::span<const std::uint8_t> xorBits_;
    std::span<const std::uint8_t> andBits_;
    std::size_t xorStride_ = 0;
    std::size_t andStride_ = 0;
    std::size_t xorOffset_ = 0;
    std::size_t andOffset_ = 0;
};

/// Whether DIBs of `bits` per pixel are read and made: 1, 4, 8, 16, 24, 32.
bool SupportedDepth(std::uint32_t bits);

/// Bytes per row of a 1-bit mask `width` pixels wide.
std::uint64_t MaskBytesPerLine(std::uint64_t width);

}  // namespace VardelImages
