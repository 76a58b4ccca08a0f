#include "images/image_builders.h"

#include <cstdlib>
#include <cstring>
#include <map>

#include "images/icon_image.h"

namespace ImagesTest {

Le& Le::U8(std::uint32_t value) {
    bytes_.push_back(static_cast<std::uint8_t>(value));
    return *this;
}
Le& Le::U16(std::uint32_t value) {
    return U8(value).U8(value >> 8);
}
Le& Le::U32(std::uint32_t value) {
    return U16(value).U16(value >> 16);
}
Le& Le::Raw(const Bytes& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}
Le& Le::Zeros(std::size_t count) {
    bytes_.resize(bytes_.size() + count);
    return *this;
}

Bytes Slice(std::span<const std::uint8_t> bytes, std::size_t from, std::size_t to) {
    const std::span<const std::uint8_t> part =
        bytes.subspan(from, (to == std::string::npos ? bytes.size() : to) - from);
    return Bytes(part.begin(), part.end());
}

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t to) {
    return Slice(std::span<const std::uint8_t>(bytes), from, to);
}

std::uint32_t U32At(const Bytes& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) {
        value = value << 8 | bytes.at(offset + i);
    }
    return value;
}

void PutU16(Bytes& bytes, std::size_t offset, std::uint16_t value) {
    bytes.at(offset) = static_cast<std::uint8_t>(value);
    bytes.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
    PutU16(bytes, offset, static_cast<std::uint16_t>(value));
    PutU16(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

std::size_t Stride(std::uint32_t width, std::uint32_t bits) {
    return (std::size_t{width} * bits + 31) / 32 * 4;
}

Bytes InfoHeader(std::int32_t width, std::int32_t height, std::uint32_t bits,
                 std::uint32_t clrUsed) {
    return Le()
        .U32(40)
        .U32(static_cast<std::uint32_t>(width))
        .U32(static_cast<std::uint32_t>(height))
        .U16(1)
        .U16(bits)
        .Zeros(16)
        .U32(clrUsed)
        .U32(0);
}

Bytes Palette(std::size_t entries) {
    Le table;
    for (std::size_t i = 0; i < entries; ++i) {
        table.U8(static_cast<std::uint32_t>(i)).U8(static_cast<std::uint32_t>(2 * i));
        table.U8(static_cast<std::uint32_t>(3 * i)).U8(0);
    }
    return table;
}

Bytes Pattern(std::size_t count, std::uint8_t seed) {
    Bytes bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<std::uint8_t>(seed + i);
    }
    return bytes;
}

Bytes IconImage(std::uint32_t width, std::uint32_t height, std::uint32_t bits, std::uint8_t seed) {
    const std::size_t entries = bits <= 8 ? std::size_t{1} << bits : 0;
    return Concat(
        {InfoHeader(static_cast<std::int32_t>(width), static_cast<std::int32_t>(2 * height), bits),
         Palette(entries), Pattern(Stride(width, bits) * height, seed),
         Pattern(Stride(width, 1) * height, static_cast<std::uint8_t>(seed + 100))});
}

Bytes IcoFile(const std::vector<Bytes>& images) {
    Le file;
    file.U16(0).U16(1).U16(static_cast<std::uint32_t>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (const Bytes& image : images) {
        const std::uint32_t bits = image.at(14);
        file.U8(U32At(image, 4)).U8(U32At(image, 8) / 2).U8(bits < 8 ? 1u << bits : 0).U8(0);
        file.U16(1).U16(bits).U32(static_cast<std::uint32_t>(image.size())).U32(offset);
        offset += static_cast<std::uint32_t>(image.size());
    }
    for (const Bytes& image : images) {
        file.Raw(image);
    }
    return file;
}

Bytes BmpFile(const Bytes& dib) {
    const std::uint32_t bits = dib.at(14);
    const std::uint32_t table = bits <= 8 ? 4u << bits : 0;
    return Le()
        .U16(0x4D42)
        .U32(14 + static_cast<std::uint32_t>(dib.size()))
        .U32(0)
        .U32(54 + table)
        .Raw(dib);
}

OwnedImage::OwnedImage(const Bytes& bytes) {
    if (bytes.empty()) {
        return;
    }
    image.Bits = static_cast<std::uint8_t*>(std::malloc(bytes.size()));
    std::memcpy(image.Bits, bytes.data(), bytes.size());
    image.NumBytes = static_cast<std::uint32_t>(bytes.size());
    VardelImages::AdjustIconImagePointers(&image);
}

OwnedImage::~OwnedImage() {
    std::free(image.Bits);
}

Bytes OwnedImage::Contents() const {
    return image.Bits == nullptr ? Bytes() : Bytes(image.Bits, image.Bits + image.NumBytes);
}

Bytes IconGroup(const std::vector<Bytes>& images, std::uint16_t firstId) {
    Le group;
    group.U16(0).U16(1).U16(static_cast<std::uint32_t>(images.size()));
    std::uint32_t id = firstId;
    for (const Bytes& image : images) {
        const std::uint32_t bits = image.at(14);
        group.U8(U32At(image, 4)).U8(U32At(image, 8) / 2).U8(bits < 8 ? 1u << bits : 0).U8(0);
        group.U16(1).U16(bits).U32(static_cast<std::uint32_t>(image.size())).U16(id++);
    }
    return group;
}

std::size_t PeLayout::ResourceDirectoryEntry(bool pe32Plus) {
    return kOptionalHeader + (pe32Plus ? 112 : 96) + 2 * 8;
}

std::size_t PeLayout::SectionTable(bool pe32Plus) {
    return kOptionalHeader + (pe32Plus ? 240 : 224);
}

namespace {

using Name = std::variant<std::uint16_t, std::wstring>;

// Texts sort before ids, as in the directory.
struct NameLess {
    bool operator()(const Name& a, const Name& b) const {
        if (a.index() != b.index()) {
            return a.index() > b.index();
        }
        return a < b;
    }
};

using Tree = std::map<std::uint16_t, std::map<Name, std::map<std::uint16_t, Bytes>, NameLess>>;

// Lays out the resource directory of `tree` for a section at `rva`: root,
// type directories, name directories, data entries, name texts, data.
Bytes ResourceSection(const Tree& tree, std::uint32_t rva) {
    std::uint32_t names = 0, leaves = 0, textSize = 0;
    for (const auto& [type, byName] : tree) {
        for (const auto& [name, byLanguage] : byName) {
            ++names;
            leaves += static_cast<std::uint32_t>(byLanguage.size());
            if (const auto* text = std::get_if<std::wstring>(&name)) {
                textSize += 2 + 2 * static_cast<std::uint32_t>(text->size());
            }
        }
    }
    const auto types = static_cast<std::uint32_t>(tree.size());
    std::uint32_t nextDir = 16 + 8 * types;
    std::uint32_t nextNameDir = nextDir + 16 * types + 8 * names;
    std::uint32_t nextEntry = nextNameDir + 16 * names + 8 * leaves;
    std::uint32_t nextText = nextEntry + 16 * leaves;
    std::uint32_t nextData = nextText + textSize;
    Le root, dirs, nameDirs, entries, texts, data;
    root.Zeros(12).U16(0).U16(types);
    for (const auto& [type, byName] : tree) {
        root.U32(type).U32(0x80000000u | nextDir);
        std::uint32_t named = 0;
        for (const auto& entry : byName) {
            named += entry.first.index() == 1 ? 1u : 0u;
        }
        dirs.Zeros(12).U16(named).U16(static_cast<std::uint32_t>(byName.size()) - named);
        nextDir += 16 + 8 * static_cast<std::uint32_t>(byName.size());
        for (const auto& [name, byLanguage] : byName) {
            if (const auto* text = std::get_if<std::wstring>(&name)) {
                dirs.U32(0x80000000u | nextText);
                texts.U16(static_cast<std::uint32_t>(text->size()));
                for (const wchar_t c : *text) {
                    texts.U16(static_cast<std::uint32_t>(c));
                }
                nextText += 2 + 2 * static_cast<std::uint32_t>(text->size());
            } else {
                dirs.U32(std::get<std::uint16_t>(name));
            }
            dirs.U32(0x80000000u | nextNameDir);
            nameDirs.Zeros(12).U16(0).U16(static_cast<std::uint32_t>(byLanguage.size()));
            nextNameDir += 16 + 8 * static_cast<std::uint32_t>(byLanguage.size());
            for (const auto& [language, bytes] : byLanguage) {
                nameDirs.U32(language).U32(nextEntry);
                nextEntry += 16;
                entries.U32(rva + nextData).U32(static_cast<std::uint32_t>(bytes.size())).Zeros(8);
                data.Raw(bytes);
                nextData += static_cast<std::uint32_t>(bytes.size());
            }
        }
    }
    return Concat({root, dirs, nameDirs, entries, texts, data});
}

}  // namespace

Bytes PeFile(bool pe32Plus, const std::vector<Resource>& resources) {
    Tree tree;
    for (const Resource& resource : resources) {
        tree[resource.type][resource.name][resource.language] = resource.data;
    }
    const Bytes section = ResourceSection(tree, PeLayout::kResourceRva);
    const auto rawSize = static_cast<std::uint32_t>((section.size() + 0x1FF) / 0x200 * 0x200);
    const std::uint32_t optionalSize = pe32Plus ? 240 : 224;
    Le file;
    file.U16(0x5A4D).Zeros(0x3A).U32(PeLayout::kPeHeader);
    file.U32(0x00004550)
        .U16(pe32Plus ? 0x8664 : 0x14C)
        .U16(1)
        .Zeros(12)
        .U16(optionalSize)
        .U16(0x2102);
    file.U16(pe32Plus ? 0x20B : 0x10B).Zeros(pe32Plus ? 106 : 90).U32(16);
    for (std::uint32_t i = 0; i < 16; ++i) {
        file.U32(i == 2 ? PeLayout::kResourceRva : 0)
            .U32(i == 2 ? static_cast<std::uint32_t>(section.size()) : 0);
    }
    file.Raw({'.', 'r', 's', 'r', 'c', 0, 0, 0});
    file.U32(static_cast<std::uint32_t>(section.size())).U32(PeLayout::kResourceRva);
    file.U32(rawSize).U32(PeLayout::kResources).Zeros(12).U32(0x40000040);
    file.Zeros(PeLayout::kResources - file.bytes().size()).Raw(section);
    return file.Zeros(rawSize - section.size());
}

}  // namespace ImagesTest
