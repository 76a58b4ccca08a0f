#include "images/palettes.h"

#include <algorithm>
#include <cstddef>

namespace VardelImages {
namespace {

constexpr std::array<Rgba, 16> kDefault16 = {{
    {0, 0, 0, 0},
    {128, 0, 0, 0},
    {0, 128, 0, 0},
    {128, 128, 0, 0},
    {0, 0, 128, 0},
    {128, 0, 128, 0},
    {0, 128, 128, 0},
    {192, 192, 192, 0},
    {128, 128, 128, 0},
    {255, 0, 0, 0},
    {0, 255, 0, 0},
    {255, 255, 0, 0},
    {0, 0, 255, 0},
    {255, 0, 255, 0},
    {0, 255, 255, 0},
    {255, 255, 255, 0},
}};

// The fixed colours of a 256-colour display: the first ten, then the last ten.
constexpr std::array<Rgba, 10> kFixedLow = {{
    {0, 0, 0, 0},
    {128, 0, 0, 0},
    {0, 128, 0, 0},
    {128, 128, 0, 0},
    {0, 0, 128, 0},
    {128, 0, 128, 0},
    {0, 128, 128, 0},
    {192, 192, 192, 0},
    {192, 220, 192, 0},
    {166, 202, 240, 0},
}};
constexpr std::array<Rgba, 10> kFixedHigh = {{
    {255, 251, 240, 0},
    {160, 160, 164, 0},
    {128, 128, 128, 0},
    {255, 0, 0, 0},
    {0, 255, 0, 0},
    {255, 255, 0, 0},
    {0, 0, 255, 0},
    {255, 0, 255, 0},
    {0, 255, 255, 0},
    {255, 255, 255, 0},
}};

constexpr std::array<Rgba, 256> MakeHalftone() {
    std::array<Rgba, 256> palette{};
    std::size_t next = 0;
    for (const Rgba& color : kFixedLow) {
        palette[next++] = color;
    }
    // The cube's steps are multiples of 51: 0, 51, ..., 255.
    for (unsigned r = 0; r < 6; ++r) {
        for (unsigned g = 0; g < 6; ++g) {
            for (unsigned b = 0; b < 6; ++b) {
                palette[next++] = {static_cast<std::uint8_t>(51 * r),
                                   static_cast<std::uint8_t>(51 * g),
                                   static_cast<std::uint8_t>(51 * b), 0};
            }
        }
    }
    // Greys at 255 k / 25, skipping those the cube already has (k a multiple of 5).
    for (unsigned k = 1; k < 25; ++k) {
        if (k % 5 != 0) {
            const auto grey = static_cast<std::uint8_t>((255 * k + 12) / 25);
            palette[next++] = {grey, grey, grey, 0};
        }
    }
    for (const Rgba& color : kFixedHigh) {
        palette[next++] = color;
    }
    return palette;
}

constexpr std::array<Rgba, 256> kHalftone = MakeHalftone();

}  // namespace

std::span<const Rgba, 16> DefaultPalette16() {
    return kDefault16;
}

std::span<const Rgba, 256> HalftonePalette() {
    return kHalftone;
}

void StoreColorTable(std::span<const Rgba> colors, std::span<std::uint8_t> table) {
    for (std::size_t i = 0; i < colors.size(); ++i) {
        table[4 * i] = colors[i].b;
        table[4 * i + 1] = colors[i].g;
        table[4 * i + 2] = colors[i].r;
        table[4 * i + 3] = 0;
    }
}

std::uint8_t NearestEntry(std::span<const std::uint8_t> table, Rgba color) {
    const auto distance = [&](std::size_t entry) {
        const int db = table[4 * entry] - color.b;
        const int dg = table[4 * entry + 1] - color.g;
        const int dr = table[4 * entry + 2] - color.r;
        return db * db + dg * dg + dr * dr;
    };
    const std::size_t entries = std::min<std::size_t>(table.size() / 4, 256);
    std::size_t best = 0;
    int bestDistance = entries == 0 ? 0 : distance(0);
    for (std::size_t entry = 1; entry < entries && bestDistance != 0; ++entry) {
        const int d = distance(entry);
        if (d < bestDistance) {
            best = entry;
            bestDistance = d;
        }
    }
    return static_cast<std::uint8_t>(best);
}

}  // namespace VardelImages
