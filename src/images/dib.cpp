// CDib: counts and sizes of DIB headers, colour tables and conversion.
#include "images/dib.h"

#include <algorithm>

#include "images/byte_writer.h"
#include "images/dib_header.h"
#include "images/palettes.h"

using VardelImages::Buffer;
using VardelImages::DibView;
using VardelImages::Rgba;

namespace {

// Entries of the full colour table of `bits`; 0 above 8 bits.
std::uint32_t FullTableEntries(std::uint32_t bits) {
    return bits <= 8 ? 1u << bits : 0;
}

// Copies the first `count` colours of `source`'s table; missing ones stay black.
void CopySourceColors(std::span<std::uint8_t> table, std::size_t count, const DibView& source) {
    const std::span<const std::uint8_t> colors = source.ColorTable();
    const std::size_t bytes = std::min(colors.size(), 4 * count);
    std::fill_n(table.begin(), 4 * count, std::uint8_t{0});
    std::copy_n(colors.begin(), bytes, table.begin());
    for (std::size_t i = 3; i < bytes; i += 4) {
        table[i] = 0;
    }
}

// Stores `color` as pixel `x` of `row` in a DIB of `bits` with colour table `table`.
void StorePixel(std::span<std::uint8_t> row, std::uint32_t x, unsigned bits,
                std::span<const std::uint8_t> table, Rgba color) {
    if (bits <= 8) {
        const std::size_t bit = std::size_t{x} * bits;
        const unsigned shift = 8u - bits - static_cast<unsigned>(bit % 8);
        const unsigned index = VardelImages::NearestEntry(table, color);
        row[bit / 8] = static_cast<std::uint8_t>(row[bit / 8] | (index << shift));
    } else if (bits == 16) {
        const unsigned value = (unsigned{color.r} >> 3) << 10 | (unsigned{color.g} >> 3) << 5 |
                               (unsigned{color.b} >> 3);
        row[2 * std::size_t{x}] = static_cast<std::uint8_t>(value);
        row[2 * std::size_t{x} + 1] = static_cast<std::uint8_t>(value >> 8);
    } else {
        std::uint8_t* pixel = row.data() + std::size_t{bits / 8} * x;
        pixel[0] = color.b;
        pixel[1] = color.g;
        pixel[2] = color.r;
        if (bits == 32) {
            pixel[3] = color.a;
        }
    }
}

// The pixel rows of a DIB being made, with its colour table.
struct Target {
    std::span<std::uint8_t> pixels;
    std::span<const std::uint8_t> table;
    std::uint32_t width;
    std::uint32_t height;
    unsigned bits;
    std::size_t stride;
};

// Draws `source` into the zeroed rows of `target`: scaled to fill it by the
// nearest source pixel, or unscaled from the top-left corner, leaving what
// the source does not cover at zero.
void DrawPicture(const DibView& source, const Target& target, bool stretch) {
    const bool scale =
        stretch && (target.width != source.Width() || target.height != source.Height());
    const std::uint32_t width = scale ? target.width : std::min(target.width, source.Width());
    const std::uint32_t height = scale ? target.height : std::min(target.height, source.Height());
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint32_t sourceY =
            scale ? static_cast<std::uint32_t>(std::uint64_t{y} * source.Height() / target.height)
                  : y;
        const std::span<std::uint8_t> row =
            target.pixels.subspan((target.height - 1 - y) * target.stride, target.stride);
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint32_t sourceX =
                scale ? static_cast<std::uint32_t>(std::uint64_t{x} * source.Width() / target.width)
                      : x;
            StorePixel(row, x, target.bits, target.table, source.PixelAt(sourceX, sourceY));
        }
    }
}

// The header of a new bottom-up DIB.
BITMAPINFOHEADER NewHeader(std::uint32_t width, std::uint32_t height, std::uint16_t bits) {
    BITMAPINFOHEADER header{};
    header.Size = VardelImages::kInfoHeaderSize;
    header.Width = static_cast<std::int32_t>(width);
    header.Height = static_cast<std::int32_t>(height);
    header.Planes = 1;
    header.BitCount = bits;
    header.Compression = VardelImages::kUncompressed;
    return header;
}

}  // namespace

std::uint32_t CDib::DIBNumColors(const BITMAPINFOHEADER& header) {
    if (header.ClrUsed != 0) {
        return header.ClrUsed;
    }
    return FullTableEntries(header.BitCount);
}

std::uint32_t CDib::PaletteSize(const BITMAPINFOHEADER& header) {
    if (header.ClrUsed != 0) {
        return 4 * (header.ClrUsed & 0xFFFF);
    }
    return 4 * FullTableEntries(header.BitCount);
}

std::uint64_t CDib::BytesPerLine(const BITMAPINFOHEADER& header) {
    const std::uint64_t width = header.Width > 0 ? static_cast<std::uint64_t>(header.Width) : 0;
    return (std::uint64_t{header.BitCount} * header.Planes * width + 31) / 32 * 4;
}

std::uint64_t CDib::FindDIBBits(const BITMAPINFOHEADER& header) {
    return std::uint64_t{header.Size} + PaletteSize(header);
}

void CDib::CopyColorTable(std::span<std::uint8_t> table, std::uint16_t bits,
                          const DibView& source) {
    if (bits == 1) {
        const Rgba blackWhite[] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
        VardelImages::StoreColorTable(blackWhite, table);
    } else if (bits == source.Header().BitCount && bits <= 8) {
        CopySourceColors(table, FullTableEntries(bits), source);
    } else if (bits == 4) {
        VardelImages::StoreColorTable(VardelImages::DefaultPalette16(), table);
    } else if (bits == 8) {
        VardelImages::StoreColorTable(VardelImages::HalftonePalette(), table);
    }
}

std::optional<Buffer> CDib::ConvertDIBFormat(std::span<const std::uint8_t> dib, std::uint32_t width,
                                             std::uint32_t height, std::uint16_t bits,
                                             bool stretch) {
    const std::optional<DibView> source = DibView::Parse(dib, VardelImages::DibKind::Plain);
    if (!source || !source->Uncompressed() || !VardelImages::SupportedDepth(bits) || width == 0 ||
        height == 0 || width > kMaxConvertedSide || height > kMaxConvertedSide) {
        return std::nullopt;
    }
    const BITMAPINFOHEADER header = NewHeader(width, height, bits);
    const std::size_t tableBytes = PaletteSize(header);
    const auto stride = static_cast<std::size_t>(BytesPerLine(header));
    Buffer converted;
    if (!converted.Resize(VardelImages::kInfoHeaderSize + tableBytes + stride * height)) {
        return std::nullopt;
    }
    VardelImages::ByteWriter writer;
    VardelImages::WriteInfoHeader(header, writer);
    std::copy(writer.Bytes().begin(), writer.Bytes().end(), converted.Data());
    const std::span<std::uint8_t> table =
        converted.Bytes().subspan(VardelImages::kInfoHeaderSize, tableBytes);
    CopyColorTable(table, bits, *source);
    const Target target{converted.Bytes().subspan(VardelImages::kInfoHeaderSize + tableBytes),
                        table,
                        width,
                        height,
                        bits,
                        stride};
    DrawPicture(*source, target, stretch);
    return converted;
}

bool CDib::SetMonoDIBPixel(std::span<std::uint8_t> bits, std::uint32_t width, std::uint32_t height,
                           std::uint32_t x, std::uint32_t y, bool on) {
    const std::uint64_t stride = VardelImages::MaskBytesPerLine(width);
    if (x >= width || y >= height) {
        return false;
    }
    const std::uint64_t at = (std::uint64_t{height} - 1 - y) * stride + x / 8;
    if (at >= bits.size()) {
        return false;
    }
    const auto mask = static_cast<std::uint8_t>(0x80u >> (x % 8));
    std::uint8_t& byte = bits[static_cast<std::size_t>(at)];
    byte = static_cast<std::uint8_t>(on ? byte | mask : byte & ~mask);
    return true;
}
