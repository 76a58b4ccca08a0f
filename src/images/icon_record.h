// The icon record (ICONRESOURCE) as the readers build it: one block from the
// images allocator with the fixed fields and room for every image inline,
// images zeroed until they are read. A RecordPtr frees each image's bytes
// and then the record, so a reader that fails half-way releases everything
// by dropping its pointer; a finished record is handed out with release().
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "vardel/icon_records.h"

namespace VardelImages {

struct RecordDeleter {
    void operator()(ICONRESOURCE* record) const noexcept;
};
using RecordPtr = std::unique_ptr<ICONRESOURCE, RecordDeleter>;

/// A zeroed record with room for one image and no images; null when memory
/// is short.
RecordPtr NewRecord();
/// Gives `record` room for `count` images (at least one), zeroed, and sets
/// its count; false when memory is short (the record is unchanged).
bool GrowRecord(RecordPtr& record, std::uint32_t count);
/// Image `index` of a record; images are stored inline past the first.
ICONIMAGE& ImageAt(ICONRESOURCE& record, std::size_t index);
const ICONIMAGE& ImageAt(const ICONRESOURCE& record, std::size_t index);
/// Copies `name` into a file-name field, cut to fit, always terminated.
void SetRecordName(wchar_t (&field)[ICON_NAME_CHARS], const wchar_t* name);

}  // namespace VardelImages
