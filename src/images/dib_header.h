// The DIB information header on the wire: its 40 bytes read through the
// bounded reader and written through the writer, field by field, so no
// parser depends on the host's byte order or on the alignment of the bytes.
#pragma once

#include <cstdint>

#include "images/byte_reader.h"
#include "images/byte_writer.h"
#include "vardel/icon_records.h"

namespace VardelImages {

/// Bytes of the information header every DIB written here carries.
inline constexpr std::uint32_t kInfoHeaderSize = 40;
/// The compression value of uncompressed pixels.
inline constexpr std::uint32_t kUncompressed = 0;

/// Reads the 40 header bytes at the reader's position; false when short.
bool ReadInfoHeader(ByteReader& reader, BITMAPINFOHEADER& header);
/// Appends the 40 header bytes.
void WriteInfoHeader(const BITMAPINFOHEADER& header, ByteWriter& writer);

}  // namespace VardelImages
