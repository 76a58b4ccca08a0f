// Image files of one pixel, well-formed down to their checksums, for the
// thumbnail tests of the catalogue and the tool: a PNG, a BMP and an ICO
// of a given colour, built byte by byte so that a test can compare what
// comes back with what went in, and so that two colours give two files.
#pragma once

#include <cstdint>
#include <string>

namespace VardelTestImages {

inline void PutLittle(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i) & 0xFF);
}

inline void PutBig(std::string& out, std::uint32_t value) {
    for (int i = 3; i >= 0; --i)
        out += static_cast<char>(value >> (8 * i) & 0xFF);
}

inline std::uint32_t Crc32(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (const char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320 : crc >> 1;
    }
    return ~crc;
}

inline void PutChunk(std::string& png, const std::string& type, const std::string& data) {
    PutBig(png, static_cast<std::uint32_t>(data.size()));
    png += type + data;
    PutBig(png, Crc32(type + data));
}

/// A 1 x 1 RGB PNG of the colour 0xRRGGBB (its pixel data deflated as one
/// stored block).
inline std::string Png(std::uint32_t rgb) {
    std::string header;
    PutBig(header, 1);
    PutBig(header, 1);
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
    const std::string line{'\0', static_cast<char>(rgb >> 16 & 0xFF),
                           static_cast<char>(rgb >> 8 & 0xFF), static_cast<char>(rgb & 0xFF)};
    std::uint32_t a = 1, b = 0;  // Adler-32 of the line
    for (const char c : line) {
        a = (a + static_cast<unsigned char>(c)) % 65521;
        b = (b + a) % 65521;
    }
    std::string data("\x78\x01\x01\x04\x00\xFB\xFF", 7);  // zlib, one stored block of 4
    data += line;
    PutBig(data, b << 16 | a);
    std::string png("\x89PNG\r\n\x1a\n", 8);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", data);
    PutChunk(png, "IEND", "");
    return png;
}

// The information header and pixels of a 1 x 1 24-bit bitmap; an icon
// holds the same with the height doubled and a mask row after the pixels.
inline std::string DibOfOnePixel(std::uint32_t rgb, bool inIcon) {
    std::string dib;
    PutLittle(dib, 40, 4);
    PutLittle(dib, 1, 4);
    PutLittle(dib, inIcon ? 2 : 1, 4);
    PutLittle(dib, 1, 2);   // planes
    PutLittle(dib, 24, 2);  // bits per pixel
    dib += std::string(24, '\0');
    PutLittle(dib, rgb, 3);  // blue, green, red
    dib += '\0';             // rows are padded to 4 bytes
    if (inIcon)
        dib += std::string(4, '\0');  // the AND mask: opaque
    return dib;
}

/// A 1 x 1 24-bit BMP of the colour 0xRRGGBB.
inline std::string Bmp(std::uint32_t rgb) {
    const std::string dib = DibOfOnePixel(rgb, false);
    std::string bmp = "BM";
    PutLittle(bmp, static_cast<std::uint32_t>(14 + dib.size()), 4);
    PutLittle(bmp, 0, 4);
    PutLittle(bmp, 14 + 40, 4);
    return bmp + dib;
}

/// A 1 x 1 icon of the colour 0xRRGGBB: one 24-bit image.
inline std::string Ico(std::uint32_t rgb) {
    const std::string dib = DibOfOnePixel(rgb, true);
    std::string ico;
    PutLittle(ico, 0, 2);
    PutLittle(ico, 1, 2);
    PutLittle(ico, 1, 2);
    ico += std::string("\x01\x01\x00\x00", 4);  // 1 x 1, no palette
    PutLittle(ico, 1, 2);
    PutLittle(ico, 24, 2);
    PutLittle(ico, static_cast<std::uint32_t>(dib.size()), 4);
    PutLittle(ico, 6 + 16, 4);
    return ico + dib;
}

}  // namespace VardelTestImages
