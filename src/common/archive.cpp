// Archive codec: little-endian integers and length-prefixed strings.
#include "common/archive.h"

#include <algorithm>

#include "common/utf16.h"

namespace VardelCommon {
namespace {

constexpr std::uint8_t kEscape8 = 0xFF;
constexpr std::uint16_t kWideMarker = 0xFFFE;
constexpr std::uint16_t kEscape16 = 0xFFFF;
constexpr std::uint32_t kEscape32 = 0xFFFFFFFF;

template <typename T>
void AppendLittleEndian(std::vector<std::uint8_t>& bytes, T value) {
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

template <typename T>
T LoadLittleEndian(std::span<const std::uint8_t> bytes) {
    T value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        value = static_cast<T>(value | static_cast<T>(T{bytes[i]} << (8 * i)));
    }
    return value;
}

void AppendLength(std::vector<std::uint8_t>& bytes, std::uint64_t length) {
    if (length < kEscape8) {
        AppendLittleEndian(bytes, static_cast<std::uint8_t>(length));
        return;
    }
    AppendLittleEndian(bytes, kEscape8);
    if (length < kWideMarker) {
        AppendLittleEndian(bytes, static_cast<std::uint16_t>(length));
        return;
    }
    AppendLittleEndian(bytes, kEscape16);
    if (length < kEscape32) {
        AppendLittleEndian(bytes, static_cast<std::uint32_t>(length));
        return;
    }
    AppendLittleEndian(bytes, kEscape32);
    AppendLittleEndian(bytes, length);
}

}  // namespace

void ArchiveWriter::WriteUInt8(std::uint8_t value) {
    AppendLittleEndian(bytes_, value);
}
void ArchiveWriter::WriteUInt16(std::uint16_t value) {
    AppendLittleEndian(bytes_, value);
}
void ArchiveWriter::WriteUInt32(std::uint32_t value) {
    AppendLittleEndian(bytes_, value);
}

void ArchiveWriter::WriteInt32(std::int32_t value) {
    AppendLittleEndian(bytes_, static_cast<std::uint32_t>(value));
}

void ArchiveWriter::WriteInt64(std::int64_t value) {
    AppendLittleEndian(bytes_, static_cast<std::uint64_t>(value));
}

void ArchiveWriter::WriteString(std::wstring_view text) {
    const std::size_t units = Utf16Length(text);
    AppendLittleEndian(bytes_, kEscape8);
    AppendLittleEndian(bytes_, kWideMarker);
    AppendLength(bytes_, units);
    bytes_.reserve(bytes_.size() + 2 * units);
    EncodeUtf16(
        text, [&](char16_t unit) { AppendLittleEndian(bytes_, static_cast<std::uint16_t>(unit)); });
}

std::size_t ArchiveReader::Remaining() const {
    return failed_ ? 0 : bytes_.size() - position_;
}

bool ArchiveReader::Take(std::size_t count, std::span<const std::uint8_t>& out) {
    if (count > Remaining()) {
        failed_ = true;
        return false;
    }
    out = bytes_.subspan(position_, count);
    position_ += count;
    return true;
}

bool ArchiveReader::ReadUInt8(std::uint8_t& value) {
    std::span<const std::uint8_t> raw;
    if (!Take(sizeof value, raw)) {
        return false;
    }
    value = raw[0];
    return true;
}

bool ArchiveReader::ReadUInt16(std::uint16_t& value) {
    std::span<const std::uint8_t> raw;
    if (!Take(sizeof value, raw)) {
        return false;
    }
    value = LoadLittleEndian<std::uint16_t>(raw);
    return true;
}

bool ArchiveReader::ReadUInt32(std::uint32_t& value) {
    std::span<const std::uint8_t> raw;
    if (!Take(sizeof value, raw)) {
        return false;
    }
    value = LoadLittleEndian<std::uint32_t>(raw);
    return true;
}

bool ArchiveReader::ReadInt32(std::int32_t& value) {
    std::uint32_t raw = 0;
    if (!ReadUInt32(raw)) {
        return false;
    }
    value = static_cast<std::int32_t>(raw);
    return true;
}

bool ArchiveReader::ReadInt64(std::int64_t& value) {
    std::span<const std::uint8_t> raw;
    if (!Take(sizeof value, raw)) {
        return false;
    }
    value = static_cast<std::int64_t>(LoadLittleEndian<std::uint64_t>(raw));
    return true;
}

// The prefix escalates: a byte below FF is the length; else 16 bits follow,
// where FFFE in the first prefix marks a wide string whose own prefix comes
// next and FFFF announces 32 bits; a 32-bit FFFFFFFF announces 64 bits.
bool ArchiveReader::ReadLength(std::uint64_t& length, bool& wide) {
    wide = false;
    std::uint8_t short_length = 0;
    std::uint16_t length16 = 0;
    if (!ReadUInt8(short_length)) {
        return false;
    }
    if (short_length == kEscape8) {
        if (!ReadUInt16(length16)) {
            return false;
        }
        if (length16 == kWideMarker) {
            wide = true;
            if (!ReadUInt8(short_length)) {
                return false;
            }
            if (short_length == kEscape8 && !ReadUInt16(length16)) {
                return false;
            }
        }
    }
    if (short_length != kEscape8) {
        length = short_length;
        return true;
    }
    if (length16 != kEscape16) {
        length = length16;
        return true;
    }
    std::uint32_t length32 = 0;
    if (!ReadUInt32(length32)) {
        return false;
    }
    if (length32 != kEscape32) {
        length = length32;
        return true;
    }
    std::int64_t length64 = 0;
    if (!ReadInt64(length64)) {
        return false;
    }
    length = static_cast<std::uint64_t>(length64);
    return true;
}

bool ArchiveReader::ReadString(std::wstring& text) {
    std::span<const std::uint8_t> raw;
    bool wide = false;
    if (!TakeString(raw, wide)) {
        return false;
    }
    text.clear();
    AppendDecoded(raw, wide, text);
    return true;
}

bool ArchiveReader::AppendString(std::wstring& text) {
    std::span<const std::uint8_t> raw;
    bool wide = false;
    if (!TakeString(raw, wide)) {
        return false;
    }
    AppendDecoded(raw, wide, text);
    return true;
}

bool ArchiveReader::TakeString(std::span<const std::uint8_t>& raw, bool& wide) {
    std::uint64_t length = 0;
    if (!ReadLength(length, wide)) {
        return false;
    }
    // Checked against what remains before the multiplication, so a hostile
    // length can neither overflow nor reach the allocator.
    const std::size_t unit_size = wide ? 2 : 1;
    if (length > Remaining() / unit_size) {
        failed_ = true;
        return false;
    }
    return Take(static_cast<std::size_t>(length) * unit_size, raw);
}

void ArchiveReader::AppendDecoded(std::span<const std::uint8_t> raw, bool wide,
                                  std::wstring& text) {
    if (!wide) {
        // One byte per character: the byte values are the Latin-1 code points,
        // widened in place (append from byte iterators would build a
        // temporary wide string first).
        const std::size_t start = text.size();
        text.resize(start + raw.size());
        std::copy(raw.begin(), raw.end(), text.begin() + static_cast<std::ptrdiff_t>(start));
        return;
    }
    AppendFromUtf16(
        raw.size() / 2,
        [&](std::size_t i) {
            return static_cast<char16_t>(LoadLittleEndian<std::uint16_t>(raw.subspan(2 * i)));
        },
        text);
}

}  // namespace VardelCommon
