// A Windows program file (PE32 or PE32+ executable or library) read as data:
// its section table and its resource directory, to find resources by type
// and name. Everything is read through the bounded reader from the file's
// bytes: offsets, counts and sizes that point outside the file, outside
// their section or outside the resource directory make the lookup fail.
// The directory is walked at its fixed three levels (type, name, language),
// so a directory that points back at itself cannot make the walk loop.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace VardelImages {

/// Resource types of icons.
inline constexpr std::uint16_t kResourceIcon = 3;
inline constexpr std::uint16_t kResourceGroupIcon = 14;

/// The name of a resource: a numeric id or a text compared without regard
/// to case.
struct ResourceName {
    std::optional<std::uint16_t> id;
    std::wstring text;

    /// From a caller's name: a pointer value below 0x10000 and "#<decimal>"
    /// below 65536 are ids, anything else a text; nullopt for null.
    static std::optional<ResourceName> FromArgument(const wchar_t* name);
    static ResourceName FromId(std::uint16_t id) { return {id, {}}; }
};

class PeImage {
  public:
    /// The image of `file`, which it borrows; nullopt unless the file has an
    /// MZ header leading to a PE signature, a PE32 or PE32+ optional header
    /// and a section table, all within the bytes.
    static std::optional<PeImage> Parse(std::span<const std::uint8_t> file);

    /// The names of the resources of `type`, in the directory's order; empty
    /// when there are none. The list stops at the first entry that lies
    /// outside the directory or whose id is not a 16-bit number.
    std::vector<ResourceName> ResourceNames(std::uint16_t type) const;

    /// The bytes of resource `name` of `type` in its first language; nullopt
    /// when it is missing or its bytes do not lie within one section of the
    /// file.
    std::optional<std::span<const std::uint8_t>> FindResource(std::uint16_t type,
                                                              const ResourceName& name) const;

  private:
    // The bytes from `rva` to the end of the raw data of its section.
    std::span<const std::uint8_t> FromRva(std::uint32_t rva) const;

    std::span<const std::uint8_t> file_;
    std::span<const std::uint8_t> sections_;
    std::span<const std::uint8_t> resources_;
};

}  // namespace VardelImages
