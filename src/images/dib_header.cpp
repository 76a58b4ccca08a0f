#include "images/dib_header.h"

namespace VardelImages {

bool ReadInfoHeader(ByteReader& reader, BITMAPINFOHEADER& header) {
    BITMAPINFOHEADER read{};
    reader.ReadU32(read.Size);
    reader.ReadI32(read.Width);
    reader.ReadI32(read.Height);
    reader.ReadU16(read.Planes);
    reader.ReadU16(read.BitCount);
    reader.ReadU32(read.Compression);
    reader.ReadU32(read.SizeImage);
    reader.ReadI32(read.XPelsPerMeter);
    reader.ReadI32(read.YPelsPerMeter);
    reader.ReadU32(read.ClrUsed);
    reader.ReadU32(read.ClrImportant);
    if (!reader.Ok()) {
        return false;
    }
    header = read;
    return true;
}

void WriteInfoHeader(const BITMAPINFOHEADER& header, ByteWriter& writer) {
    writer.WriteU32(header.Size);
    writer.WriteI32(header.Width);
    writer.WriteI32(header.Height);
    writer.WriteU16(header.Planes);
    writer.WriteU16(header.BitCount);
    writer.WriteU32(header.Compression);
    writer.WriteU32(header.SizeImage);
    writer.WriteI32(header.XPelsPerMeter);
    writer.WriteI32(header.YPelsPerMeter);
    writer.WriteU32(header.ClrUsed);
    writer.WriteU32(header.ClrImportant);
}

}  // namespace VardelImages
