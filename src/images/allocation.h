// Memory of the images subsystem that callers may free with free(): icon
// records, image bytes and the DIBs the converters pass between them. Every
// such block comes from one reallocation function, the C allocator unless
// replaced; the tests replace it to make a chosen request fail, which is how
// each "no memory" path of the readers is reached.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

namespace VardelImages {

/// realloc(): a block of `size` bytes holding the old block's bytes, or null
/// (the old block untouched). What it returns must be freeable with free().
using ReallocateFunction = void* (*)(void* block, std::size_t size);

/// Resizes `block` (null: allocates) through the current function.
void* Reallocate(void* block, std::size_t size);
/// Installs `function` (null: the C allocator); returns the previous one.
ReallocateFunction SetReallocateFunction(ReallocateFunction function);

struct FreeDeleter {
    void operator()(void* block) const noexcept { std::free(block); }
};

/// A byte block from Reallocate with its size; new bytes are zero.
class Buffer {
  public:
    /// Grows or shrinks to `size` bytes; false when memory is short, with the
    /// buffer unchanged.
    bool Resize(std::size_t size);

    std::uint8_t* Data() { return data_.get(); }
    std::size_t Size() const { return size_; }
    std::span<std::uint8_t> Bytes() { return {data_.get(), size_}; }
    std::span<const std::uint8_t> Bytes() const { return {data_.get(), size_}; }
    /// Hands the block to the caller, who frees it with free(); the buffer is
    /// empty afterwards.
    std::uint8_t* Release();

  private:
    std::unique_ptr<std::uint8_t, FreeDeleter> data_;
    std::size_t size_ = 0;
};

}  // namespace VardelImages
