// The bounded little-endian reader every image parser reads through (ICO,
// BMP, DIB, PE). It never trusts a count: each read is checked against the
// bytes that remain. A failed read leaves its output untouched and fails the
// reader for good, so a caller may read a whole record and test once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace VardelImages {

class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    /// Moves to `offset` from the start; fails when it lies beyond the end.
    bool Seek(std::uint64_t offset);
    /// Moves `count` bytes on; fails when fewer remain.
    bool Skip(std::uint64_t count);
    bool ReadU8(std::uint8_t& value);
    bool ReadU16(std::uint16_t& value);
    bool ReadU32(std::uint32_t& value);
    bool ReadI32(std::int32_t& value);
    /// The next `count` bytes; fails when fewer remain.
    bool Take(std::uint64_t count, std::span<const std::uint8_t>& out);

    /// Offset of the next byte from the start.
    std::size_t Position() const { return position_; }
    /// Bytes not yet read; zero once the reader has failed.
    std::size_t Remaining() const { return failed_ ? 0 : bytes_.size() - position_; }
    bool Ok() const { return !failed_; }

  private:
    template <typename T>
    bool ReadLittleEndian(T& value);

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    bool failed_ = false;
};

}  // namespace VardelImages
