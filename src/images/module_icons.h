// Icons of program files: the icon groups of a PE file's resources. A group
// resource holds a 6-byte header whose third word is the image count, then
// one 14-byte entry per image (width, height, colour count, reserved,
// planes, bits per pixel, byte size, and last the id of the image's own
// icon resource).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "vardel/icon_records.h"

namespace VardelImages {

/// Reads icon group `group` of the PE file bytes `file` into a new record
/// with the module name `module`. Shows a message when the bytes are not a
/// PE file, when the record cannot be allocated, and when an image is
/// malformed; null on every failure, silently when the name is null or the
/// group or an image is missing.
ICONRESOURCE* ReadIconGroup(std::span<const std::uint8_t> file, const wchar_t* module,
                            const wchar_t* group);
/// The names of the icon groups of the PE file bytes `file`, in the file's
/// order: a text name as it stands, a numeric id as "#<id>". False, with a
/// message captioned `module`, when the bytes are not a PE file.
bool ListIconGroups(std::span<const std::uint8_t> file, const wchar_t* module,
                    std::vector<std::wstring>& groups);
/// The icon of the image of group `group` best for a 32 x 32 icon; empty,
/// without messages, when any step fails.
HICON BestIconOfGroup(std::span<const std::uint8_t> file, const wchar_t* group);

}  // namespace VardelImages
