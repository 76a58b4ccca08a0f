#include "source/source_image.h"

#include <algorithm>
#include <cstdint>
#include <system_error>

#include "common/atomic_file.h"
#include "common/wide_path.h"

namespace VardelCatalog {
namespace {

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

// The signature, then an IHDR chunk, which every PNG file starts with.
bool IsPng(std::string_view bytes) {
    using namespace std::string_view_literals;
    return bytes.size() >= 33 && bytes.starts_with("\x89PNG\r\n\x1a\n"sv) &&
           bytes.substr(8, 8) == "\0\0\0\x0dIHDR"sv;
}

// "BM", an information header of one of the sizes its versions have, and
// pixel data starting after the headers and within the file.
bool IsBmp(std::string_view bytes) {
    if (bytes.size() < 18 || !bytes.starts_with("BM")) {
        return false;
    }
    const std::uint32_t header = LittleEndian(bytes, 14, 4);
    const std::uint32_t pixels = LittleEndian(bytes, 10, 4);
    const bool knownHeader = header == 12 || header == 16 || header == 40 || header == 52 ||
                             header == 56 || header == 64 || header == 108 || header == 124;
    return knownHeader && 14 + header <= bytes.size() && pixels >= 14 + header &&
           pixels <= bytes.size();
}

// Reserved 0, type 1 (icon), at least one image, and room for the
// directory of 16 bytes per image.
bool IsIco(std::string_view bytes) {
    if (bytes.size() < 6 || LittleEndian(bytes, 0, 2) != 0 || LittleEndian(bytes, 2, 2) != 1) {
        return false;
    }
    const std::uint32_t count = LittleEndian(bytes, 4, 2);
    return count > 0 && 6 + 16 * std::size_t{count} <= bytes.size();
}

std::string Quoted(std::wstring_view text) {
    return '"' + VardelCommon::ToUtf8(text) + '"';
}

// A drive letter counts as a root: such a path was written on another
// system and names nothing inside the library.
bool IsRelative(std::wstring_view path) {
    const bool drive = path.size() >= 2 && path[1] == L':';
    return !path.starts_with(L'/') && !drive;
}

// Whether `file` lies inside `folder` once both have their symbolic links
// resolved (a file that does not exist is resolved as far as it does).
bool IsInside(const std::filesystem::path& folder, const std::filesystem::path& file) {
    std::error_code error;
    const std::filesystem::path root = std::filesystem::weakly_canonical(folder, error);
    if (error) {
        return false;
    }
    const std::filesystem::path target = std::filesystem::weakly_canonical(file, error);
    if (error) {
        return false;
    }
    const std::filesystem::path relative = target.lexically_relative(root);
    return !relative.empty() && *relative.begin() != "..";
}

// The bytes of `file`, refusing what cannot be an image before reading it.
// A file that grows between the two looks is caught after the read.
bool ReadBounded(const std::filesystem::path& file, std::string& bytes, std::string& problem) {
    const auto fail = [&](const char* what) {
        problem = file.generic_string() + what;
        return false;
    };
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return fail(" does not exist");
    }
    if (!std::filesystem::is_regular_file(status)) {
        return fail(" is not a file");
    }
    if (const auto size = std::filesystem::file_size(file, error);
        !error && size > kMaxImageBytes) {
        return fail(" is larger than 1 MiB");
    }
    if (!VardelCommon::ReadRegularFile(file, bytes)) {
        return fail(" cannot be read");
    }
    if (bytes.size() > kMaxImageBytes) {
        return fail(" is larger than 1 MiB");
    }
    return !bytes.empty() || fail(" is empty");
}

}  // namespace

std::string_view ImageMediaType(std::string_view bytes) {
    if (IsPng(bytes)) {
        return "image/png";
    }
    if (IsBmp(bytes)) {
        return "image/bmp";
    }
    return IsIco(bytes) ? "image/x-icon" : "";
}

bool ReadSourceImage(const std::filesystem::path& libraryFolder, const std::filesystem::path& base,
                     std::wstring_view path, ImageSource& image, std::string& problem) {
    image = ImageSource();
    problem.clear();
    if (path.empty()) {
        return true;
    }
    std::wstring slashed(path);
    std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
    if (!IsRelative(slashed)) {
        problem = Quoted(path) + " is not a relative path";
        return false;
    }
    const std::filesystem::path file = (base / VardelCommon::ToPath(slashed)).lexically_normal();
    if (!IsInside(libraryFolder, file)) {
        problem = Quoted(path) + " leaves the library folder";
        return false;
    }
    ImageSource read;
    if (!ReadBounded(file, read.bytes, problem)) {
        return false;
    }
    read.mediaType = ImageMediaType(read.bytes);
    if (read.mediaType.empty()) {
        problem = file.generic_string() + " is not a PNG, BMP or ICO image";
        return false;
    }
    image = std::move(read);
    return true;
}

}  // namespace VardelCatalog
