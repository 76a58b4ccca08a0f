#include "common/base64.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace VardelCommon {
namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint8_t kNotInAlphabet = 0xFF;

constexpr std::array<std::uint8_t, 256> MakeValues() {
    std::array<std::uint8_t, 256> values{};
    values.fill(kNotInAlphabet);
    for (std::size_t i = 0; i < kAlphabet.size(); ++i) {
        values[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
    }
    return values;
}

constexpr std::array<std::uint8_t, 256> kValues = MakeValues();

}  // namespace

std::string EncodeBase64(std::string_view bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - at);
        std::uint32_t group = 0;
        for (std::size_t i = 0; i < 3; ++i) {
            const auto byte = i < count ? static_cast<unsigned char>(bytes[at + i]) : 0u;
            group = group << 8 | byte;
        }
        for (std::size_t i = 0; i < 4; ++i) {
            text += i <= count ? kAlphabet[group >> (18 - 6 * i) & 0x3F] : '=';
        }
    }
    return text;
}

std::optional<std::string> DecodeBase64(std::string_view text) {
    if (text.size() % 4 != 0) {
        return std::nullopt;
    }
    const std::size_t padding = text.ends_with("==") ? 2 : text.ends_with('=') ? 1 : 0;
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (std::size_t at = 0; at < text.size(); at += 4) {
        const bool last = at + 4 == text.size();
        const std::size_t digits = last ? 4 - padding : 4;
        std::uint32_t group = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            const std::uint8_t value =
                i < digits ? kValues[static_cast<unsigned char>(text[at + i])] : 0;
            if (value == kNotInAlphabet) {
                return std::nullopt;
            }
            group = group << 6 | value;
        }
        const std::size_t count = digits - 1;
        // The encoder writes the bits past the last byte as zeros.
        if (count < 3 && (group & (0xFFFFFFu >> (8 * count))) != 0) {
            return std::nullopt;
        }
        for (std::size_t i = 0; i < count; ++i) {
            bytes += static_cast<char>(group >> (16 - 8 * i) & 0xFF);
        }
    }
    return bytes;
}

}  // namespace VardelCommon
