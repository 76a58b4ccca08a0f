#include "images/allocation.h"

#include <cstring>

namespace VardelImages {
namespace {

void* CReallocate(void* block, std::size_t size) {
    return std::realloc(block, size);
}

ReallocateFunction gReallocate = &CReallocate;

}  // namespace

void* Reallocate(void* block, std::size_t size) {
    // A zero-size request still gives a block, so a null result always means
    // that memory is short.
    return gReallocate(block, size == 0 ? 1 : size);
}

ReallocateFunction SetReallocateFunction(ReallocateFunction function) {
    const ReallocateFunction previous = gReallocate;
    gReallocate = function == nullptr ? &CReallocate : function;
    return previous;
}

bool Buffer::Resize(std::size_t size) {
    void* block = Reallocate(data_.get(), size);
    if (block == nullptr) {
        return false;
    }
    [[maybe_unused]] std::uint8_t* moved = data_.release();
    data_.reset(static_cast<std::uint8_t*>(block));
    if (size > size_) {
        std::memset(data_.get() + size_, 0, size - size_);
    }
    size_ = size;
    return true;
}

std::uint8_t* Buffer::Release() {
    size_ = 0;
    return data_.release();
}

}  // namespace VardelImages
