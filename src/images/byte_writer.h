// The little-endian writer of the image formats: ICO and BMP files and the
// headers of new DIBs are assembled in memory with it, then written or
// copied whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace VardelImages {

class ByteWriter {
  public:
    void WriteU8(std::uint8_t value) { bytes_.push_back(value); }
    void WriteU16(std::uint16_t value) { Append(value); }
    void WriteU32(std::uint32_t value) { Append(value); }
    void WriteI32(std::int32_t value) { Append(static_cast<std::uint32_t>(value)); }
    void WriteBytes(std::span<const std::uint8_t> bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    }

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

  private:
    template <typename T>
    void Append(T value) {
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    }

    std::vector<std::uint8_t> bytes_;
};

}  // namespace VardelImages
