// vardel icon build: each BMP or PNG file becomes one icon image of its own
// size (at most 256 x 256): a BMP keeps its colour depth, a PNG becomes 32
// bits with its alpha channel. The library converts each DIB into an icon
// image and writes the ICO file.
#include <cstdlib>
#include <span>

#include "common/atomic_file.h"
#include "icon_command.h"
#include "icon_file.h"
#include "output.h"
#include "png_file.h"

namespace VardelTool {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

std::int32_t I32At(std::string_view bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= std::uint32_t{static_cast<std::uint8_t>(bytes[offset + i])} << (8 * i);
    }
    return static_cast<std::int32_t>(value);
}

void AppendLe(std::string& bytes, std::uint32_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        bytes.push_back(static_cast<char>(value >> (8 * i)));
    }
}

// A 32-bit top-down DIB of the pixels (blue, green, red, alpha).
std::string RgbaDib(const RgbaImage& image) {
    std::string dib;
    AppendLe(dib, kInfoHeaderSize, 4);
    AppendLe(dib, image.width, 4);
    AppendLe(dib, static_cast<std::uint32_t>(-static_cast<std::int32_t>(image.height)), 4);
    AppendLe(dib, 1, 2);
    AppendLe(dib, 32, 2);
    dib.append(24, '\0');
    for (std::size_t pixel = 0; pixel < image.rgba.size(); pixel += 4) {
        const std::uint8_t* rgba = &image.rgba[pixel];
        dib += {static_cast<char>(rgba[2]), static_cast<char>(rgba[1]), static_cast<char>(rgba[0]),
                static_cast<char>(rgba[3])};
    }
    return dib;
}

// Converts `dib` into `image`, which takes its size and depth.
Status ToIconImage(ICONIMAGE& image, std::string_view dib, const std::string& file) {
    CIcons icons;
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(dib.data()),
                                              dib.size());
    if (icons.DIBToIconImage(&image, bytes, 0) == 0) {
        return Refused(file + ": not an image the tool can convert");
    }
    return std::nullopt;
}

Status FromPng(ICONIMAGE& image, std::string_view bytes, const std::string& file) {
    const Result<RgbaImage> pixels = DecodePng(bytes, kMaxIconSide);
    if (!pixels.ok()) {
        return Refused(file + ": " + pixels.failure().message);
    }
    image.Width = pixels.value().width;
    image.Height = pixels.value().height;
    image.Colors = 32;
    return ToIconImage(image, RgbaDib(pixels.value()), file);
}

Status FromBmp(ICONIMAGE& image, std::string_view bytes, const std::string& file) {
    if (bytes.size() < kFileHeaderSize + kInfoHeaderSize || !bytes.starts_with("BM")) {
        return Refused(file + ": not a BMP image");
    }
    const std::int32_t width = I32At(bytes, 18);
    const std::int32_t height = I32At(bytes, 22);
    const std::uint32_t side =
        static_cast<std::uint32_t>(height < 0 ? -std::int64_t{height} : height);
    if (width <= 0 || side == 0 || static_cast<std::uint32_t>(width) > kMaxIconSide ||
        side > kMaxIconSide) {
        return Refused(file + ": the image is " + std::to_string(width) + " x " +
                       std::to_string(side) + " pixels; icon images are at most " +
                       std::to_string(kMaxIconSide) + " x " + std::to_string(kMaxIconSide));
    }
    image.Width = static_cast<std::uint32_t>(width);
    image.Height = side;
    image.Colors = static_cast<std::uint32_t>(I32At(bytes, 28)) & 0xFFFFu;  // the bit count
    return ToIconImage(image, bytes.substr(kFileHeaderSize), file);
}

Status AddImage(IconImages& images, const std::string& file) {
    std::string bytes;
    if (!VardelCommon::ReadRegularFile(file, bytes)) {
        return Refused("cannot read " + file);
    }
    ICONIMAGE& image = images.Add();
    return LowerExtension(file) == ".png" ? FromPng(image, bytes, file)
                                          : FromBmp(image, bytes, file);
}

}  // namespace

Status RunIconBuild(const std::vector<std::string>& files, const std::string& output) {
    IconImages images;
    for (const std::string& file : files) {
        if (Status failed = AddImage(images, file)) {
            return failed;
        }
    }
    CIcons icons;
    const std::vector<ICONIMAGE*> pointers = images.Pointers();
    return WriteWith([&](const wchar_t* path) { return icons.WriteIconToICOFile(pointers, path); },
                     output);
}

}  // namespace VardelTool
