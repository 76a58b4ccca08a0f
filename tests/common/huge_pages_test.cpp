#include "common/huge_pages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// Advice must never change what a buffer holds (as a discarding advice
// would), whatever its size and alignment.
TEST(HugePages, AdviceKeepsTheBytes) {
    std::vector<std::uint8_t> buffer((6u << 20) + 123);
    for (std::size_t i = 0; i < buffer.size(); ++i)
        buffer[i] = static_cast<std::uint8_t>(i * 7);
    for (const std::size_t offset : {std::size_t{0}, std::size_t{1}, std::size_t{4095}}) {
        VardelCommon::AdviseHugePages(buffer.data() + offset, buffer.size() - offset);
    }
    VardelCommon::AdviseHugePages(buffer.data(), 10);
    VardelCommon::AdviseHugePages(nullptr, 1u << 22);
    for (std::size_t i = 0; i < buffer.size(); ++i)
        ASSERT_EQ(buffer[i], static_cast<std::uint8_t>(i * 7)) << i;
}

}  // namespace
