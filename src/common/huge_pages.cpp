#include "common/huge_pages.h"

#include <sys/mman.h>

#include <cstdint>

namespace VardelCommon {
namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;

}  // namespace

void AdviseHugePages(void* data, std::size_t bytes) {
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t from = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t to = (start + bytes) & ~(kHugePage - 1);
    if (data != nullptr && to > from) {
        // Advice only: a system without huge pages refuses it, and the
        // buffer is used as it is.
        ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
    }
}

}  // namespace VardelCommon
