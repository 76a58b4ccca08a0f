// The archive encoding of the three binary stores: little-endian integers and
// length-prefixed strings. A wide string is FF, the marker FE FF, a length in
// UTF-16 code units (one byte below FF; else FF and 16 bits below FFFE; else
// FF FF FF and 32 bits below FFFFFFFF; else that and 64 bits), then the code
// units without terminator. The reader also accepts the narrow form (a length
// prefix without marker, then one byte per character).
//
// The reader never trusts a length: every read is checked against the bytes
// that remain before anything is allocated. A failed read leaves its output
// untouched and puts the reader in a failed state in which every later read
// fails too, so a caller may read a whole record and test once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace VardelCommon {

class ArchiveWriter {
  public:
    void WriteUInt8(std::uint8_t value);
    void WriteUInt16(std::uint16_t value);
    void WriteUInt32(std::uint32_t value);
    void WriteInt32(std::int32_t value);
    void WriteInt64(std::int64_t value);
    /// Writes the wide form with the shortest length prefix.
    void WriteString(std::wstring_view text);

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

  private:
    std::vector<std::uint8_t> bytes_;
};

class ArchiveReader {
  public:
    explicit ArchiveReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool ReadUInt8(std::uint8_t& value);
    bool ReadUInt16(std::uint16_t& value);
    bool ReadUInt32(std::uint32_t& value);
    bool ReadInt32(std::int32_t& value);
    bool ReadInt64(std::int64_t& value);
    /// Reads a wide or narrow string.
    bool ReadString(std::wstring& text);
    /// Reads a string onto the end of `text`.
    bool AppendString(std::wstring& text);

    /// Bytes not yet read; zero once the reader has failed.
    std::size_t Remaining() const;
    bool Failed() const { return failed_; }

  private:
    // Hands out the next `count` bytes, or fails the reader when fewer remain.
    bool Take(std::size_t count, std::span<const std::uint8_t>& out);
    bool ReadLength(std::uint64_t& length, bool& wide);
    // Hands out the code units of the next string.
    bool TakeString(std::span<const std::uint8_t>& raw, bool& wide);
    static void AppendDecoded(std::span<const std::uint8_t> raw, bool wide, std::wstring& text);

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    bool failed_ = false;
};

}  // namespace VardelCommon
