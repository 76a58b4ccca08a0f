// A generated catalogue for the catalogue benchmarks: three library folders
// in the documented source format, written once per size into a scratch
// folder and imported once. Library 0 holds one category with half of the
// families (the large category of the browsing benchmark); libraries 1 and
// 2 share the other half over 50 categories each. Every family is a CSV
// family of 10 members and 10 columns (size, d, l and seven more numbers),
// eight of them mapped to the same eight category parameters in every
// library. d cycles over 12 standard diameters by family, l over 10
// lengths by member, so "d = 8 and l >= 30" hits a fixed share of members.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace VardelBench {

struct GeneratedCatalog {
    std::vector<std::filesystem::path> sources;  ///< The three library folders.
    std::filesystem::path file;                  ///< The imported catalogue.
    std::wstring largeCategory;                  ///< Id of library 0's one category.
    std::vector<std::wstring> libraries;         ///< Library names.
    std::wstring diameter;                       ///< Parameter id mapped to d.
    std::wstring length;                         ///< Parameter id mapped to l.
    std::size_t families = 0;
    std::size_t members = 0;
};

/// The catalogue of `families` families (a multiple of 200), generated and
/// imported on first use and kept for the rest of the run.
const GeneratedCatalog& CatalogOfSize(std::size_t families);

/// Writes the three source folders for `families` families below `root`.
GeneratedCatalog WriteSources(const std::filesystem::path& root, std::size_t families);

}  // namespace VardelBench
