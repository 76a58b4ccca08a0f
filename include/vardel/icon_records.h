// The plain records of the icon helpers (CIcons): the DIB information header,
// one image of an icon (ICONIMAGE), a whole icon (ICONRESOURCE), the failure
// codes of reading an ICO file, and the icon handle HICON.
//
// Ownership: an ICONRESOURCE is one block from the C allocator with room for
// all its images stored inline after the fixed fields; each image's bytes are
// another such block. The caller releases each image's Bits and then the
// record with free(). The pointers of an image point into its own Bits.
// An HICON owns its icon: it is released when the handle goes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

/// The 40-byte information header that opens a device-independent bitmap
/// (DIB); little-endian fields in file order.
struct BITMAPINFOHEADER {
    std::uint32_t Size;          ///< Bytes of this header (40, or more for newer forms).
    std::int32_t Width;          ///< Pixels per row.
    std::int32_t Height;         ///< Rows; twice the visible height inside an icon image.
    std::uint16_t Planes;        ///< Always 1.
    std::uint16_t BitCount;      ///< Bits per pixel: 1, 4, 8, 16, 24 or 32.
    std::uint32_t Compression;   ///< 0 for uncompressed pixels.
    std::uint32_t SizeImage;     ///< Bytes of the pixels, or 0.
    std::int32_t XPelsPerMeter;  ///< Horizontal resolution, or 0.
    std::int32_t YPelsPerMeter;  ///< Vertical resolution, or 0.
    std::uint32_t ClrUsed;       ///< Colour-table entries, or 0 for the full table.
    std::uint32_t ClrImportant;  ///< Colours that matter, or 0 for all.
};

/// One image of an icon, as stored in ICO files: a DIB whose header height is
/// twice the visible height, then its colour table, its XOR (colour) bits and
/// its AND (transparency) mask, each row padded to four bytes, bottom row
/// first.
struct ICONIMAGE {
    std::uint32_t Width;       ///< Visible width (the DIB's width).
    std::uint32_t Height;      ///< Visible height (half the DIB's height).
    std::uint32_t Colors;      ///< Colour bits: planes times bits per pixel.
    std::uint8_t* Bits;        ///< The image bytes, from malloc; null when none.
    std::uint32_t NumBytes;    ///< Bytes at Bits.
    BITMAPINFOHEADER* Header;  ///< The header: Bits itself.
    std::uint8_t* XorBits;     ///< First byte after header and colour table.
    std::uint8_t* AndBits;     ///< XorBits plus the XOR row size times Height.
};

/// Characters of each file-name field, terminator included; a longer name is
/// recorded cut to 259 characters.
inline constexpr std::size_t ICON_NAME_CHARS = 260;

/// A whole icon: its images and where it came from.
struct ICONRESOURCE {
    std::int32_t Changed;                     ///< Set by editors; 0 when read.
    wchar_t IcoFileName[ICON_NAME_CHARS];     ///< Source ICO file; empty otherwise.
    wchar_t ModuleFileName[ICON_NAME_CHARS];  ///< Source program file; empty otherwise.
    std::uint32_t ImageCount;                 ///< Images stored from Images on.
    ICONIMAGE Images[1];                      ///< The first of ImageCount images.
};

/// Why one ReadIconFromICOFile call failed; ICOERR_NONE on success.
enum Error_ReadIconFromICOFile : int {
    ICOERR_NONE = 0,              ///< Success.
    ICOERR_OPEN = 1,              ///< The file cannot be opened.
    ICOERR_RECORD_MEMORY = 2,     ///< No memory for the icon record.
    ICOERR_HEADER = 3,            ///< Reserved word not 0, type not 1, or the header is short.
    ICOERR_GROW_MEMORY = 4,       ///< No memory to grow the record to the image count.
    ICOERR_DIRECTORY_MEMORY = 5,  ///< No memory for the directory.
    ICOERR_DIRECTORY_READ = 6,    ///< The directory is not in the file in full.
    ICOERR_IMAGE_READ = 7,        ///< No memory for an image, or its offset lies beyond the file.
    ICOERR_IMAGE_SHORT = 8,       ///< An image runs past the end of the file.
    ICOERR_IMAGE_FORMAT = 9,      ///< An image's bytes do not hold the DIB its header describes.
};

/// A ready-to-draw icon made from one icon image.
struct SIcon {
    std::uint32_t Width = 0;   ///< Pixels per row.
    std::uint32_t Height = 0;  ///< Rows.
    /// Red, green, blue and alpha bytes per pixel, top row first; alpha comes
    /// from a 32-bit image's alpha channel when any pixel has one, else from
    /// the AND mask (a set bit is transparent).
    std::vector<std::uint8_t> Rgba;
};

/// The handle of an icon; empty when no icon could be made.
using HICON = std::unique_ptr<SIcon>;
