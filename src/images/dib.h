// CDib: the DIB routines behind CIcons. Colour counts, colour-table and row
// sizes, the colour table of a converted DIB, conversion to another size and
// depth, one pixel of a 1-bit image, and BMP files. The routines keep no
// state, so one class of static functions serves every CIcons object.
//
// New DIBs are bottom-up, uncompressed, with a 40-byte header, one plane and,
// up to 8 bits, a full colour table (2, 16 or 256 entries stored blue,
// green, red, 0). BMP reading shows each failure with its fixed text in a
// message captioned with the path and gives nullopt.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "images/allocation.h"
#include "images/dib_view.h"
#include "vardel/icon_records.h"

class CDib {
  public:
    /// Largest width or height of a DIB that ConvertDIBFormat makes.
    static constexpr std::uint32_t kMaxConvertedSide = 4096;

    /// ClrUsed when not 0; else 2, 16 or 256 for 1, 4 or 8 bits; else 0.
    static std::uint32_t DIBNumColors(const BITMAPINFOHEADER& header);
    /// Colour-table bytes: 4 x the low 16 bits of ClrUsed when ClrUsed is not
    /// 0; else 8, 64 or 1024 for 1, 4 or 8 bits; else 0.
    static std::uint32_t PaletteSize(const BITMAPINFOHEADER& header);
    /// Bytes of one pixel row, padded to a multiple of 4.
    static std::uint64_t BytesPerLine(const BITMAPINFOHEADER& header);
    /// Offset of the pixels from the start of the DIB: header and colour table.
    static std::uint64_t FindDIBBits(const BITMAPINFOHEADER& header);

    /// Fills `table` (room for the full table of `bits`) for a DIB of `bits`
    /// made from `source`: black and white for 1 bit; the source's colours
    /// when it has the same depth, else the default 16-colour palette (4
    /// bits) or the halftone palette (8 bits). Entries the source lacks are
    /// black.
    static void CopyColorTable(std::span<std::uint8_t> table, std::uint16_t bits,
                               const VardelImages::DibView& source);
    /// A new DIB of `dib`'s picture at `width` x `height` and `bits` per
    /// pixel, stretched (nearest pixel) when the sizes differ and `stretch`
    /// is set, else copied unscaled from the top-left corner with the rest
    /// zero. Colours map to the nearest table entry up to 8 bits; a 32-bit
    /// target keeps a 32-bit source's fourth byte. nullopt when `dib` is not
    /// an uncompressed DIB, the target is not 1 to kMaxConvertedSide pixels a
    /// side at a supported depth, or memory is short.
    static std::optional<VardelImages::Buffer> ConvertDIBFormat(std::span<const std::uint8_t> dib,
                                                                std::uint32_t width,
                                                                std::uint32_t height,
                                                                std::uint16_t bits, bool stretch);
    /// Sets or clears pixel (`x`, `y` from the top) of the bottom-up 1-bit
    /// rows `bits` of a `width` x `height` image (bit 7 is the leftmost
    /// pixel of a byte); false when the pixel or its row lies outside.
    static bool SetMonoDIBPixel(std::span<std::uint8_t> bits, std::uint32_t width,
                                std::uint32_t height, std::uint32_t x, std::uint32_t y, bool on);

    /// The DIB (header, colour table, pixels) of the BMP file at `path`.
    static std::optional<VardelImages::Buffer> ReadBMPFile(const wchar_t* path);
    /// The same for BMP file bytes already read; `caption` names the file.
    static std::optional<VardelImages::Buffer> ReadBMPBytes(std::span<const std::uint8_t> file,
                                                            std::wstring_view caption);
    /// Writes the colour part of an icon image (its header with the visible
    /// height, colour table and XOR rows) as a BMP file replacing `path`;
    /// false when the image is not a valid icon image or on failure (with a
    /// message).
    static bool WriteBMPFile(const wchar_t* path, const ICONIMAGE& image);
};
