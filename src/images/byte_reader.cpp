#include "images/byte_reader.h"

namespace VardelImages {

bool ByteReader::Seek(std::uint64_t offset) {
    if (failed_ || offset > bytes_.size()) {
        failed_ = true;
        return false;
    }
    position_ = static_cast<std::size_t>(offset);
    return true;
}

bool ByteReader::Skip(std::uint64_t count) {
    std::span<const std::uint8_t> skipped;
    return Take(count, skipped);
}

bool ByteReader::Take(std::uint64_t count, std::span<const std::uint8_t>& out) {
    if (count > Remaining()) {
        failed_ = true;
        return false;
    }
    out = bytes_.subspan(position_, static_cast<std::size_t>(count));
    position_ += static_cast<std::size_t>(count);
    return true;
}

template <typename T>
bool ByteReader::ReadLittleEndian(T& value) {
    std::span<const std::uint8_t> raw;
    if (!Take(sizeof(T), raw)) {
        return false;
    }
    T result = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        result = static_cast<T>(result | static_cast<T>(T{raw[i]} << (8 * i)));
    }
    value = result;
    return true;
}

bool ByteReader::ReadU8(std::uint8_t& value) {
    return ReadLittleEndian(value);
}
bool ByteReader::ReadU16(std::uint16_t& value) {
    return ReadLittleEndian(value);
}
bool ByteReader::ReadU32(std::uint32_t& value) {
    return ReadLittleEndian(value);
}

bool ByteReader::ReadI32(std::int32_t& value) {
    std::uint32_t raw = 0;
    if (!ReadU32(raw)) {
        return false;
    }
    value = static_cast<std::int32_t>(raw);
    return true;
}

}  // namespace VardelImages
