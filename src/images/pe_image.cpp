#include "images/pe_image.h"

#include <algorithm>
#include <cstddef>

#include "common/case_fold.h"
#include "common/utf16.h"
#include "images/byte_reader.h"

namespace VardelImages {
namespace {

constexpr std::uint16_t kDosMagic = 0x5A4D;         // "MZ"
constexpr std::uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr std::uint32_t kNewHeaderField = 0x3C;
constexpr std::uint16_t kMagicPe32 = 0x10B;
constexpr std::uint16_t kMagicPe32Plus = 0x20B;
// Offsets of the data directories in the two optional headers; the count of
// directories is the 32-bit word just before them.
constexpr std::uint32_t kDirectoriesPe32 = 96;
constexpr std::uint32_t kDirectoriesPe32Plus = 112;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::uint32_t kDataDirectorySize = 8;
constexpr std::uint32_t kSectionHeaderSize = 40;
constexpr std::uint32_t kResourceDirectorySize = 16;
constexpr std::uint32_t kHighBit = 0x80000000;
constexpr std::size_t kFirstResourceId = 0x10000;

// The length-prefixed UTF-16 name at `offset` of the resource directory.
std::optional<std::wstring> ReadName(std::span<const std::uint8_t> resources,
                                     std::uint32_t offset) {
    ByteReader reader(resources);
    std::uint16_t length = 0;
    std::span<const std::uint8_t> units;
    if (!reader.Seek(offset) || !reader.ReadU16(length) || !reader.Take(2ull * length, units)) {
        return std::nullopt;
    }
    std::wstring name;
    VardelCommon::AppendFromUtf16(
        length,
        [&](std::size_t i) { return static_cast<char16_t>(units[2 * i] | units[2 * i + 1] << 8); },
        name);
    return name;
}

// Whether the name field of a directory entry names `name`.
bool EntryMatches(std::span<const std::uint8_t> resources, std::uint32_t field,
                  const ResourceName& name) {
    if (name.id) {
        return field == *name.id;
    }
    if ((field & kHighBit) == 0) {
        return false;
    }
    const std::optional<std::wstring> text = ReadName(resources, field & ~kHighBit);
    return text && VardelCommon::EqualsNoCase(*text, name.text);
}

// Calls `visit(field, target)` for the entries of the directory at `offset`
// in order until it returns true; false when the directory's header or an
// entry lies outside the bytes before that.
template <typename Visit>
bool VisitEntries(std::span<const std::uint8_t> resources, std::uint32_t offset, Visit visit) {
    ByteReader reader(resources);
    std::uint16_t named = 0, ids = 0;
    if (!reader.Seek(offset) || !reader.Skip(kResourceDirectorySize - 4) ||
        !reader.ReadU16(named) || !reader.ReadU16(ids)) {
        return false;
    }
    const std::uint32_t count = std::uint32_t{named} + ids;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t field = 0, target = 0;
        if (!reader.ReadU32(field) || !reader.ReadU32(target)) {
            return false;
        }
        if (visit(field, target)) {
            return true;
        }
    }
    return true;
}

// The target field of the entry of the directory at `offset` that matches
// `name`, or of its first entry when `name` is null.
std::optional<std::uint32_t> FindEntry(std::span<const std::uint8_t> resources,
                                       std::uint32_t offset, const ResourceName* name) {
    std::optional<std::uint32_t> found;
    VisitEntries(resources, offset, [&](std::uint32_t field, std::uint32_t target) {
        if (name == nullptr || EntryMatches(resources, field, *name)) {
            found = target;
        }
        return found.has_value();
    });
    return found;
}

// The offset of the subdirectory an entry's target names; nullopt when it
// names data instead.
std::optional<std::uint32_t> Subdirectory(std::optional<std::uint32_t> target) {
    if (!target || (*target & kHighBit) == 0) {
        return std::nullopt;
    }
    return *target & ~kHighBit;
}

}  // namespace

std::optional<ResourceName> ResourceName::FromArgument(const wchar_t* name) {
    if (name == nullptr) {
        return std::nullopt;
    }
    // Callers name numeric resources by a small number in the pointer itself.
    const auto value = reinterpret_cast<std::uintptr_t>(name);
    if (value < kFirstResourceId) {
        return FromId(static_cast<std::uint16_t>(value));
    }
    const std::wstring text(name);
    if (text.size() > 1 && text.size() <= 6 && text[0] == L'#') {
        std::uint32_t id = 0;
        std::size_t digits = 1;
        for (; digits < text.size() && text[digits] >= L'0' && text[digits] <= L'9'; ++digits) {
            id = id * 10 + static_cast<std::uint32_t>(text[digits] - L'0');
        }
        if (digits == text.size() && id < kFirstResourceId) {
            return FromId(static_cast<std::uint16_t>(id));
        }
    }
    return ResourceName{std::nullopt, text};
}

std::optional<PeImage> PeImage::Parse(std::span<const std::uint8_t> file) {
    ByteReader reader(file);
    std::uint16_t dosMagic = 0, sectionCount = 0, optionalSize = 0, magic = 0;
    std::uint32_t newHeader = 0, signature = 0;
    if (!reader.ReadU16(dosMagic) || dosMagic != kDosMagic || !reader.Seek(kNewHeaderField) ||
        !reader.ReadU32(newHeader) || !reader.Seek(newHeader) || !reader.ReadU32(signature) ||
        signature != kPeSignature || !reader.Skip(2) || !reader.ReadU16(sectionCount) ||
        !reader.Skip(12) || !reader.ReadU16(optionalSize) || !reader.Skip(2)) {
        return std::nullopt;
    }
    const std::size_t optionalStart = reader.Position();
    if (!reader.ReadU16(magic) || (magic != kMagicPe32 && magic != kMagicPe32Plus)) {
        return std::nullopt;
    }
    const std::uint32_t directories = magic == kMagicPe32 ? kDirectoriesPe32 : kDirectoriesPe32Plus;
    std::uint32_t directoryCount = 0;
    PeImage image;
    image.file_ = file;
    if (optionalSize < directories || !reader.Seek(optionalStart + directories - 4) ||
        !reader.ReadU32(directoryCount) || !reader.Seek(optionalStart + optionalSize) ||
        !reader.Take(std::uint64_t{sectionCount} * kSectionHeaderSize, image.sections_)) {
        return std::nullopt;
    }
    // A file without a resource directory is still a program file.
    const std::uint32_t present = (optionalSize - directories) / kDataDirectorySize;
    std::uint32_t rva = 0, size = 0;
    if (directoryCount > kResourceDirectoryIndex && present > kResourceDirectoryIndex &&
        reader.Seek(optionalStart + directories + kResourceDirectoryIndex * kDataDirectorySize) &&
        reader.ReadU32(rva) && reader.ReadU32(size)) {
        const std::span<const std::uint8_t> mapped = image.FromRva(rva);
        image.resources_ = mapped.first(std::min<std::size_t>(mapped.size(), size));
    }
    return image;
}

std::span<const std::uint8_t> PeImage::FromRva(std::uint32_t rva) const {
    ByteReader reader(sections_);
    for (std::size_t i = 0; i < sections_.size() / kSectionHeaderSize; ++i) {
        std::uint32_t address = 0, rawSize = 0, rawOffset = 0;
        reader.Seek(i * kSectionHeaderSize + 12);
        reader.ReadU32(address);
        reader.ReadU32(rawSize);
        reader.ReadU32(rawOffset);
        if (rva >= address && rva - address < rawSize) {
            const std::uint64_t start = std::uint64_t{rawOffset} + (rva - address);
            const std::uint64_t end = std::uint64_t{rawOffset} + rawSize;
            if (start >= file_.size()) {
                return {};
            }
            return file_.subspan(
                static_cast<std::size_t>(start),
                static_cast<std::size_t>(std::min<std::uint64_t>(end, file_.size()) - start));
        }
    }
    return {};
}

std::vector<ResourceName> PeImage::ResourceNames(std::uint16_t type) const {
    const ResourceName typeName = ResourceName::FromId(type);
    const std::optional<std::uint32_t> names = Subdirectory(FindEntry(resources_, 0, &typeName));
    std::vector<ResourceName> found;
    if (!names) {
        return found;
    }
    // An entry is a text name when its high bit is set, else an id; a text
    // outside the directory ends the list, as a truncated directory does.
    VisitEntries(resources_, *names, [&](std::uint32_t field, std::uint32_t) {
        if ((field & kHighBit) == 0) {
            if (field >= kFirstResourceId) {
                return true;
            }
            found.push_back(ResourceName::FromId(static_cast<std::uint16_t>(field)));
            return false;
        }
        std::optional<std::wstring> text = ReadName(resources_, field & ~kHighBit);
        if (text) {
            found.push_back({std::nullopt, std::move(*text)});
        }
        return !text;
    });
    return found;
}

std::optional<std::span<const std::uint8_t>> PeImage::FindResource(std::uint16_t type,
                                                                   const ResourceName& name) const {
    const ResourceName typeName = ResourceName::FromId(type);
    const std::optional<std::uint32_t> names = Subdirectory(FindEntry(resources_, 0, &typeName));
    const std::optional<std::uint32_t> languages =
        names ? Subdirectory(FindEntry(resources_, *names, &name)) : std::nullopt;
    const std::optional<std::uint32_t> data =
        languages ? FindEntry(resources_, *languages, nullptr) : std::nullopt;
    if (!data || (*data & kHighBit) != 0) {
        return std::nullopt;
    }
    ByteReader reader(resources_);
    std::uint32_t rva = 0, size = 0;
    if (!reader.Seek(*data) || !reader.ReadU32(rva) || !reader.ReadU32(size)) {
        return std::nullopt;
    }
    const std::span<const std::uint8_t> bytes = FromRva(rva);
    if (bytes.size() < size) {
        return std::nullopt;
    }
    return bytes.first(size);
}

}  // namespace VardelImages
