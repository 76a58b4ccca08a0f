#include "png_file.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace VardelTool {
namespace {

// libpng must not print or return from an error: it jumps back to the
// setjmp of the step that failed.
[[noreturn]] void JumpOnError(png_structp png, png_const_charp /*message*/) {
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp /*png*/, png_const_charp /*message*/) {}

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t offset;
};

void ReadInput(png_structp png, png_bytep out, png_size_t count) {
    auto* input = static_cast<Input*>(png_get_io_ptr(png));
    if (count > input->size - input->offset) {
        png_error(png, "short file");
    }
    std::memcpy(out, input->data + input->offset, count);
    input->offset += count;
}

void AppendOutput(png_structp png, png_bytep data, png_size_t count) {
    static_cast<std::string*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), count);
}

void FlushNothing(png_structp /*png*/) {}

// The steps that call setjmp hold no object with a destructor, since a
// longjmp out of libpng would skip it.
bool WriteSteps(png_structp png, png_infop info, const RgbaImage& image, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

// Reads the header and asks for 8-bit RGBA whatever the stored format.
bool ReadHeaderSteps(png_structp png, png_infop info, png_uint_32* width, png_uint_32* height) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    *width = png_get_image_width(png, info);
    *height = png_get_image_height(png, info);
    return png_get_rowbytes(png, info) == std::size_t{*width} * 4;
}

bool ReadRowSteps(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    return true;
}

// Row pointers into `pixels`, top row first.
std::vector<png_bytep> Rows(std::uint8_t* pixels, std::uint32_t width, std::uint32_t height) {
    std::vector<png_bytep> rows(height);
    for (std::uint32_t y = 0; y < height; ++y) {
        rows[y] = pixels + std::size_t{y} * width * 4;
    }
    return rows;
}

}  // namespace

std::optional<std::string> EncodePng(const RgbaImage& image) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOnError, IgnoreWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    std::string bytes;
    RgbaImage copy = image;  // libpng's row pointers are not const
    std::vector<png_bytep> rows = Rows(copy.rgba.data(), copy.width, copy.height);
    bool written = false;
    if (info != nullptr) {
        png_set_write_fn(png, &bytes, AppendOutput, FlushNothing);
        written = WriteSteps(png, info, copy, rows.data());
    }
    png_destroy_write_struct(&png, &info);
    return written ? std::optional<std::string>(std::move(bytes)) : std::nullopt;
}

Result<RgbaImage> DecodePng(std::string_view bytes, std::uint32_t maxSide) {
    if (bytes.size() < 8 ||
        png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8) != 0) {
        return Refused("not a PNG image");
    }
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOnError, IgnoreWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    Input input{reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), 0};
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    bool read = false;
    RgbaImage image;
    if (info != nullptr) {
        png_set_read_fn(png, &input, ReadInput);
        read = ReadHeaderSteps(png, info, &width, &height);
    }
    const bool fits = width <= maxSide && height <= maxSide;
    if (read && fits) {
        image = {width, height, std::vector<std::uint8_t>(std::size_t{width} * height * 4)};
        std::vector<png_bytep> rows = Rows(image.rgba.data(), width, height);
        read = ReadRowSteps(png, rows.data());
    }
    png_destroy_read_struct(&png, &info, nullptr);
    if (read && !fits) {
        return Refused("the image is " + std::to_string(width) + " x " + std::to_string(height) +
                       " pixels; icon images are at most " + std::to_string(maxSide) + " x " +
                       std::to_string(maxSide));
    }
    if (!read) {
        return Refused("not a readable PNG image");
    }
    return image;
}

}  // namespace VardelTool
