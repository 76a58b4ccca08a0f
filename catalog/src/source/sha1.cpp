#include "source/sha1.h"

#include <algorithm>

namespace VardelCatalog {
namespace {

using State = std::array<std::uint32_t, 5>;

std::uint32_t RotateLeft(std::uint32_t value, int bits) {
    return (value << bits) | (value >> (32 - bits));
}

std::uint32_t BigEndianWord(const std::uint8_t* bytes) {
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | std::uint32_t{bytes[3]};
}

void Compress(State& state, const std::uint8_t* block) {
    std::array<std::uint32_t, 80> w{};
    for (std::size_t i = 0; i < 16; ++i)
        w[i] = BigEndianWord(block + 4 * i);
    for (std::size_t i = 16; i < 80; ++i)
        w[i] = RotateLeft(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
    const auto step = [&](std::uint32_t f, std::uint32_t k, std::uint32_t word) {
        const std::uint32_t next = RotateLeft(a, 5) + f + e + k + word;
        e = d, d = c, c = RotateLeft(b, 30), b = a, a = next;
    };
    for (std::size_t i = 0; i < 20; ++i)
        step((b & c) | (~b & d), 0x5A827999, w[i]);
    for (std::size_t i = 20; i < 40; ++i)
        step(b ^ c ^ d, 0x6ED9EBA1, w[i]);
    for (std::size_t i = 40; i < 60; ++i)
        step((b & c) | (b & d) | (c & d), 0x8F1BBCDC, w[i]);
    for (std::size_t i = 60; i < 80; ++i)
        step(b ^ c ^ d, 0xCA62C1D6, w[i]);
    state[0] += a, state[1] += b, state[2] += c, state[3] += d, state[4] += e;
}

}  // namespace

Sha1Digest Sha1(std::span<const std::uint8_t> message) {
    State state{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
    const std::size_t whole = message.size() / 64 * 64;
    for (std::size_t at = 0; at < whole; at += 64)
        Compress(state, message.data() + at);
    // The rest, the 0x80 marker, zeros and the bit length fill one or two
    // final blocks.
    std::array<std::uint8_t, 128> tail{};
    const std::size_t rest = message.size() - whole;
    std::copy(message.begin() + static_cast<std::ptrdiff_t>(whole), message.end(), tail.begin());
    tail[rest] = 0x80;
    const std::size_t tailSize = rest + 9 <= 64 ? 64 : 128;
    const std::uint64_t bits = std::uint64_t{message.size()} * 8;
    for (std::size_t i = 0; i < 8; ++i)
        tail[tailSize - 1 - i] = static_cast<std::uint8_t>(bits >> (8 * i));
    for (std::size_t at = 0; at < tailSize; at += 64)
        Compress(state, tail.data() + at);
    Sha1Digest digest{};
    for (std::size_t i = 0; i < digest.size(); ++i)
        digest[i] = static_cast<std::uint8_t>(state[i / 4] >> (24 - 8 * (i % 4)));
    return digest;
}

std::string Sha1Hex(std::string_view bytes) {
    constexpr std::string_view kDigits = "0123456789abcdef";
    const Sha1Digest digest =
        Sha1({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    std::string text;
    for (const std::uint8_t byte : digest) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

}  // namespace VardelCatalog
