// Reading ICO files: the header (reserved 0, type 1, image count), one
// 16-byte directory entry per image (only each image's size and offset are
// used: the image's own header describes it) and the images' bytes. Every
// size and offset is checked against the file's bytes before anything is
// allocated for it. A failed read releases everything and reports the code
// and the message text of the step that failed.
#pragma once

#include <cstdint>
#include <span>

#include "images/byte_reader.h"
#include "vardel/icon_records.h"

namespace VardelImages {

/// Why a read failed: the code and the text of its message.
struct IcoFailure {
    Error_ReadIconFromICOFile code = ICOERR_NONE;
    const wchar_t* text = L"";
};

/// ReadIcoHeader's answer for a header that is not an icon's.
inline constexpr std::uint32_t kInvalidIcoHeader = 0xFFFFFFFF;

/// Reads the three header words: the image count, or kInvalidIcoHeader when
/// the reserved word is not 0, the type not 1, or the bytes run out.
std::uint32_t ReadIcoHeader(ByteReader& reader);

/// Reads ICO file bytes into a new record with the file name `path`, making
/// an icon of every image into `icons` unless it is null. Null, with
/// `failure` set and the handles made so far emptied, when the read fails.
ICONRESOURCE* ReadIcoBytes(std::span<const std::uint8_t> file, const wchar_t* path, HICON* icons,
                           IcoFailure& failure);
/// The same for the file at `path` (ICOERR_OPEN when it cannot be read).
ICONRESOURCE* ReadIcoFile(const wchar_t* path, HICON* icons, IcoFailure& failure);

}  // namespace VardelImages
