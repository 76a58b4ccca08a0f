// CIcons: icon images read from ICO files and from the icon groups of
// Windows program files (PE32 and PE32+ executables and libraries, read as
// data by the library's own reader), written as ICO files, converted to and
// from DIBs and BMP files, and moved through the process's clipboard
// (CClipboard, format CF_DIB).
//
// The records and their ownership are described in icon_records.h: records
// and image bytes come from the C allocator and the caller frees them with
// free(). Hostile files never crash the reader and never make it allocate
// more than the file holds; they give the failure each call documents.
//
// Failures of the file operations are reported as messages with fixed
// English texts: each goes to the message sink with the file's path as its
// caption. The default sink writes "<caption>: <text>" to standard error.
// The object has no state; the sink and the clipboard are shared by the
// process and, like the rest of the library, are used by one thread at a time.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "vardel/export.h"
#include "vardel/icon_records.h"

class VARDEL_API CIcons {
  public:
    /// Receives the caption (a file path) and the text of every message.
    using MessageSink = std::function<void(const std::wstring& caption, const std::wstring& text)>;

    CIcons();
    virtual ~CIcons();

    /// Replaces the message sink; an empty function restores the default.
    /// Returns the sink that was in place.
    static MessageSink SetMessageSink(MessageSink sink);

    /// Reads an ICO file into a new record (the file name recorded, the module
    /// name empty); shows a message and returns null on failure.
    ICONRESOURCE* ReadIconFromICOFile(const wchar_t* path);
    /// The same, and makes an icon of every image into icons[0 .. count - 1],
    /// which must have room for one handle per image (null: no icons). A
    /// failed read empties the handles it made; an image that cannot be drawn
    /// leaves its handle empty without failing the read.
    ICONRESOURCE* ReadIconFromICOFile(const wchar_t* path, HICON* icons);
    /// The same without messages: the reason goes to `error`, ICOERR_NONE on
    /// success.
    ICONRESOURCE* ReadIconFromICOFile(const wchar_t* path, HICON* icons,
                                      Error_ReadIconFromICOFile& error);

    /// Reads the icon group `groupName` of the program file at `module`:
    /// a name (compared without regard to case), "#<number>" or a number
    /// below 0x10000 cast to a pointer for a numeric id. The module name is
    /// recorded, the ICO name left empty. Null when the file is not a program
    /// file (with a message), when the name is null, when the group or one of
    /// its images is missing, or when an image is malformed (with a message).
    ICONRESOURCE* ReadIconFromEXEFile(const wchar_t* module, const wchar_t* groupName);

    /// The names of the icon groups of the program file at `module`, in the
    /// file's order, each as ReadIconFromEXEFile takes it: a text name as it
    /// stands, a numeric id as "#<id>". 1 on success (an empty list when the
    /// file has no icon groups); 0 with the list empty, and a message, when
    /// the file is not a program file.
    int ListIconGroups(const wchar_t* module, std::vector<std::wstring>& groups);

    /// Writes the record's images as an ICO file, replacing the file
    /// atomically (a failed write leaves it as it was); 1 on
    /// success, 0 on failure (messages when it cannot be created or its
    /// header written). A record whose images lack a DIB header writes nothing.
    int WriteIconToICOFile(const ICONRESOURCE* resource, const wchar_t* path);
    /// The same for a list of images.
    int WriteIconToICOFile(const std::vector<ICONIMAGE*>& images, const wchar_t* path);

    /// An icon of the image; empty for a null image, an image without bytes,
    /// or bytes that are not an uncompressed icon DIB.
    HICON MakeIconFromResource(const ICONIMAGE* image);
    /// The image of icon group `groupName` (named as for ReadIconFromEXEFile)
    /// of the program file at `module` that is best for a 32 x 32 icon: the
    /// nearest size, then the most colour bits, then the first. Empty when
    /// any step fails; shows no messages.
    HICON GetIconFromInstance(const wchar_t* module, const wchar_t* groupName);

    /// Replaces the image's bytes by the DIB `dib` converted to the image's
    /// Width, Height and Colors (1, 4, 8, 16, 24 or 32; at most 4096 pixels a
    /// side), stretched when `stretch` is non-zero, else copied from the
    /// top-left corner; the AND mask is all zero (opaque). 0, with the image
    /// untouched, when `dib` is empty or not an uncompressed DIB; 0 with the
    /// image left without bytes when memory is short. The image's previous
    /// Bits must come from malloc (or be null).
    int DIBToIconImage(ICONIMAGE* image, std::span<const std::uint8_t> dib, int stretch);
    /// Reads the BMP file at `path` and converts it as DIBToIconImage does;
    /// 0 (with a message) when the file cannot be read.
    int IconImageFromBMPFile(const wchar_t* path, ICONIMAGE* image, int stretch);
    /// Writes the image's colour (XOR) part as a BMP file, replacing the
    /// file atomically; 1 on success, 0 (with a message when the file cannot be created
    /// or written) on failure.
    int IconImageToBMPFile(const wchar_t* path, const ICONIMAGE* image);

    /// Empties the clipboard and puts the image's bytes on it as CF_DIB, with
    /// the header's height halved. 0 when the image has no valid bytes or the
    /// clipboard is held open elsewhere.
    int IconImageToClipBoard(const ICONIMAGE* image);
    /// Converts the clipboard's CF_DIB into the image as DIBToIconImage does;
    /// 0 when there is none or the clipboard is held open elsewhere.
    int IconImageFromClipBoard(ICONIMAGE* image, int stretch);
};
