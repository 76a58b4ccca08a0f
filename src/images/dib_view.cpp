#include "images/dib_view.h"

#include <limits>

#include "images/byte_reader.h"
#include "images/dib.h"
#include "images/dib_header.h"

namespace VardelImages {
namespace {

// Takes `rows` rows of `stride` bytes; the division keeps a lying size from
// overflowing the product.
bool TakeRows(ByteReader& reader, std::uint64_t stride, std::uint64_t rows,
              std::span<const std::uint8_t>& out) {
    if (stride != 0 && rows > reader.Remaining() / stride) {
        return false;
    }
    return reader.Take(stride * rows, out);
}

// The visible rows of a header's height, or 0 when the height is impossible.
std::uint32_t VisibleRows(std::int32_t height, DibKind kind) {
    if (kind == DibKind::IconImage) {
        return height >= 2 ? static_cast<std::uint32_t>(height) / 2 : 0;
    }
    if (height == std::numeric_limits<std::int32_t>::min()) {
        return 0;
    }
    return static_cast<std::uint32_t>(height < 0 ? -height : height);
}

}  // namespace

bool SupportedDepth(std::uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

std::uint64_t MaskBytesPerLine(std::uint64_t width) {
    return (width + 31) / 32 * 4;
}

std::optional<DibView> DibView::Parse(std::span<const std::uint8_t> dib, DibKind kind) {
    DibView view;
    ByteReader reader(dib);
    if (!ReadInfoHeader(reader, view.header_)) {
        return std::nullopt;
    }
    const BITMAPINFOHEADER& header = view.header_;
    view.height_ = VisibleRows(header.Height, kind);
    if (header.Size < kInfoHeaderSize || header.Planes != 1 || !SupportedDepth(header.BitCount) ||
        header.Width < 1 || view.height_ == 0) {
        return std::nullopt;
    }
    view.width_ = static_cast<std::uint32_t>(header.Width);
    view.bottomUp_ = header.Height > 0;
    view.xorStride_ = static_cast<std::size_t>(CDib::BytesPerLine(header));
    view.andStride_ =
        kind == DibKind::IconImage ? static_cast<std::size_t>(MaskBytesPerLine(view.width_)) : 0;
    if (!reader.Seek(header.Size) || !reader.Take(CDib::PaletteSize(header), view.colorTable_)) {
        return std::nullopt;
    }
    view.xorOffset_ = reader.Position();
    if (!TakeRows(reader, view.xorStride_, view.height_, view.xorBits_)) {
        return std::nullopt;
    }
    view.andOffset_ = reader.Position();
    if (!TakeRows(reader, view.andStride_, view.height_, view.andBits_)) {
        return std::nullopt;
    }
    return view;
}

bool DibView::Uncompressed() const {
    return header_.Compression == kUncompressed;
}

std::size_t DibView::StoredRow(std::uint32_t y) const {
    return bottomUp_ ? height_ - 1 - y : y;
}

Rgba DibView::PixelAt(std::uint32_t x, std::uint32_t y) const {
    const std::uint8_t* row = xorBits_.data() + StoredRow(y) * xorStride_;
    const unsigned bits = header_.BitCount;
    if (bits <= 8) {
        const std::size_t bit = std::size_t{x} * bits;
        const unsigned shift = 8u - bits - static_cast<unsigned>(bit % 8);
        const unsigned index = (unsigned{row[bit / 8]} >> shift) & ((1u << bits) - 1);
        if (std::size_t{index} * 4 + 4 > colorTable_.size()) {
            return {};
        }
        const std::uint8_t* entry = colorTable_.data() + std::size_t{index} * 4;
        return {entry[2], entry[1], entry[0], 0};
    }
    if (bits == 16) {
        const unsigned value =
            unsigned{row[2 * std::size_t{x}]} | (unsigned{row[2 * std::size_t{x} + 1]} << 8);
        // Five bits each, red highest; the top bits repeat into the low ones.
        const auto expand = [](unsigned five) {
            return static_cast<std::uint8_t>((five << 3) | (five >> 2));
        };
        return {expand((value >> 10) & 31), expand((value >> 5) & 31), expand(value & 31), 0};
    }
    const std::size_t bytes = bits / 8;
    const std::uint8_t* pixel = row + bytes * x;
    return {pixel[2], pixel[1], pixel[0], bytes == 4 ? pixel[3] : std::uint8_t{0}};
}

bool DibView::MaskedAt(std::uint32_t x, std::uint32_t y) const {
    if (andBits_.empty()) {
        return false;
    }
    const std::uint8_t* row = andBits_.data() + StoredRow(y) * andStride_;
    return ((row[x / 8] >> (7 - x % 8)) & 1) != 0;
}

}  // namespace VardelImages
