// CClipboard: the clipboard of this process, a stand-in for a desktop
// clipboard. It keeps one block of bytes per format number until it is
// emptied. Like a desktop clipboard it has one holder at a time: Open()
// fails while someone else holds it open, and only the holder may empty it,
// put data on it or take data from it. Used by one thread at a time.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "vardel/export.h"

/// The format number of a device-independent bitmap: information header,
/// colour table, pixels.
inline constexpr std::uint32_t CF_DIB = 8;

class VARDEL_API CClipboard {
  public:
    /// The one clipboard of the process.
    static CClipboard& Instance();

    /// Takes the clipboard; false when it is already open.
    bool Open();
    /// Gives the clipboard back; false when it was not open.
    bool Close();
    /// Removes every format; false when the clipboard is not open.
    bool Empty();
    /// Puts `bytes` on the clipboard as `format`, replacing that format's
    /// bytes; false when the clipboard is not open.
    bool SetData(std::uint32_t format, std::vector<std::uint8_t> bytes);
    /// A copy of the bytes of `format` in `bytes`; false, with `bytes`
    /// untouched, when the clipboard is not open or holds no such format.
    bool GetData(std::uint32_t format, std::vector<std::uint8_t>& bytes) const;
    /// Whether the clipboard holds `format`; needs no Open().
    bool IsFormatAvailable(std::uint32_t format) const;

  private:
    CClipboard() = default;

    bool open_ = false;
    std::map<std::uint32_t, std::vector<std::uint8_t>> data_;
};
