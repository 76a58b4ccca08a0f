// Byte builders of the images tests. Every file the tests read is made here,
// byte by byte, independently of the library's writers: icon images (DIBs
// with an AND mask), ICO files, BMP files and minimal PE32 / PE32+ program
// files with a resource directory. No toolchain or sample file is needed.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "support/file_bytes.h"
#include "vardel/icon_records.h"

namespace ImagesTest {

using VardelTest::Bytes;
using VardelTest::Concat;

/// Little-endian appender.
class Le {
  public:
    Le& U8(std::uint32_t value);
    Le& U16(std::uint32_t value);
    Le& U32(std::uint32_t value);
    Le& Raw(const Bytes& bytes);
    Le& Zeros(std::size_t count);
    const Bytes& bytes() const { return bytes_; }
    operator Bytes() const { return bytes_; }

  private:
    Bytes bytes_;
};

/// Bytes `from` up to `to` (the end when npos) of `bytes`.
Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t to = std::string::npos);
Bytes Slice(std::span<const std::uint8_t> bytes, std::size_t from,
            std::size_t to = std::string::npos);

/// Little-endian field of `bytes` at `offset`.
std::uint32_t U32At(const Bytes& bytes, std::size_t offset);
void PutU16(Bytes& bytes, std::size_t offset, std::uint16_t value);
void PutU32(Bytes& bytes, std::size_t offset, std::uint32_t value);

/// Bytes per row of `width` pixels at `bits`, padded to 4.
std::size_t Stride(std::uint32_t width, std::uint32_t bits);

/// A 40-byte information header.
Bytes InfoHeader(std::int32_t width, std::int32_t height, std::uint32_t bits,
                 std::uint32_t clrUsed = 0);
/// A full colour table of `entries` entries: entry i is blue i, green 2i,
/// red 3i (mod 256), reserved 0.
Bytes Palette(std::size_t entries);
/// `count` bytes counting up from `seed`.
Bytes Pattern(std::size_t count, std::uint8_t seed);

/// An icon image `width` x `height` at `bits` (full colour table up to 8
/// bits, patterned XOR rows and AND rows).
Bytes IconImage(std::uint32_t width, std::uint32_t height, std::uint32_t bits,
                std::uint8_t seed = 1);
/// An ICO file of `images` laid out as written: entries from each image's
/// header, images in order from 6 + 16 x count.
Bytes IcoFile(const std::vector<Bytes>& images);
/// A BMP file: file header (offset 54 + colour table) and `dib`.
Bytes BmpFile(const Bytes& dib);

/// An ICONIMAGE holding a malloc copy of `bytes`, pointers set by the
/// library; freed with the holder. Empty bytes give an image without bytes.
class OwnedImage {
  public:
    explicit OwnedImage(const Bytes& bytes = {});
    OwnedImage(const OwnedImage&) = delete;
    OwnedImage& operator=(const OwnedImage&) = delete;
    ~OwnedImage();

    ICONIMAGE image{};
    /// The image's bytes as they are now.
    Bytes Contents() const;
};

/// One resource of a PE file.
struct Resource {
    std::uint16_t type;
    std::variant<std::uint16_t, std::wstring> name;
    Bytes data;
    std::uint16_t language = 0x409;
};
/// An icon group resource for `images` (ids `firstId`, `firstId` + 1, ...).
Bytes IconGroup(const std::vector<Bytes>& images, std::uint16_t firstId);

/// Where things lie in a file made by PeFile.
struct PeLayout {
    static constexpr std::size_t kPeHeader = 0x40;
    static constexpr std::size_t kOptionalHeader = kPeHeader + 24;
    static constexpr std::size_t kResources = 0x200;
    static constexpr std::uint32_t kResourceRva = 0x1000;
    /// Offset of the resource data-directory entry.
    static std::size_t ResourceDirectoryEntry(bool pe32Plus);
    static std::size_t SectionTable(bool pe32Plus);
};

/// A PE32 (or PE32+) file with one section ".rsrc" holding `resources`.
/// The resource directory lists types, then names (texts first), then
/// languages, each sorted, then the data entries, the name texts and the
/// data.
Bytes PeFile(bool pe32Plus, const std::vector<Resource>& resources);

}  // namespace ImagesTest
