#include "vardel/clipboard.h"

#include <utility>

CClipboard& CClipboard::Instance() {
    static CClipboard clipboard;
    return clipboard;
}

bool CClipboard::Open() {
    if (open_) {
        return false;
    }
    open_ = true;
    return true;
}

bool CClipboard::Close() {
    return std::exchange(open_, false);
}

bool CClipboard::Empty() {
    if (!open_) {
        return false;
    }
    data_.clear();
    return true;
}

bool CClipboard::SetData(std::uint32_t format, std::vector<std::uint8_t> bytes) {
    if (!open_) {
        return false;
    }
    data_[format] = std::move(bytes);
    return true;
}

bool CClipboard::GetData(std::uint32_t format, std::vector<std::uint8_t>& bytes) const {
    const auto found = data_.find(format);
    if (!open_ || found == data_.end()) {
        return false;
    }
    bytes = found->second;
    return true;
}

bool CClipboard::IsFormatAvailable(std::uint32_t format) const {
    return data_.contains(format);
}
