#include "images/icon_record.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "images/allocation.h"

namespace VardelImages {
namespace {

std::size_t RecordBytes(std::size_t images) {
    return offsetof(ICONRESOURCE, Images) + (images == 0 ? 1 : images) * sizeof(ICONIMAGE);
}

}  // namespace

void RecordDeleter::operator()(ICONRESOURCE* record) const noexcept {
    for (std::size_t i = 0; i < record->ImageCount; ++i) {
        std::free(ImageAt(*record, i).Bits);
    }
    std::free(record);
}

RecordPtr NewRecord() {
    void* block = Reallocate(nullptr, RecordBytes(1));
    if (block == nullptr) {
        return nullptr;
    }
    std::memset(block, 0, RecordBytes(1));
    return RecordPtr(static_cast<ICONRESOURCE*>(block));
}

bool GrowRecord(RecordPtr& record, std::uint32_t count) {
    const std::size_t before = RecordBytes(record->ImageCount);
    const std::size_t after = RecordBytes(count);
    void* block = Reallocate(record.get(), after);
    if (block == nullptr) {
        return false;
    }
    [[maybe_unused]] ICONRESOURCE* moved = record.release();
    record.reset(static_cast<ICONRESOURCE*>(block));
    if (after > before) {
        std::memset(static_cast<std::uint8_t*>(block) + before, 0, after - before);
    }
    record->ImageCount = count;
    return true;
}

ICONIMAGE& ImageAt(ICONRESOURCE& record, std::size_t index) {
    ICONIMAGE* first = record.Images;
    return first[index];
}

const ICONIMAGE& ImageAt(const ICONRESOURCE& record, std::size_t index) {
    const ICONIMAGE* first = record.Images;
    return first[index];
}

void SetRecordName(wchar_t (&field)[ICON_NAME_CHARS], const wchar_t* name) {
    const std::size_t length = name == nullptr ? 0 : std::wcslen(name);
    const std::size_t kept = length < ICON_NAME_CHARS ? length : ICON_NAME_CHARS - 1;
    std::wmemcpy(field, name == nullptr ? L"" : name, kept);
    field[kept] = L'\0';
}

}  // namespace VardelImages
