#include "catalog/catalog_generator.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "vardel/catalog/catalog_import.h"

namespace VardelBench {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMembersPerFamily = 10;
constexpr std::size_t kParameters = 8;
constexpr std::size_t kSmallCategories = 50;
constexpr double kDiameters[] = {1.6, 2, 2.5, 3, 4, 5, 6, 8, 10, 12, 16, 20};
constexpr int kLengths[] = {6, 8, 10, 12, 16, 20, 25, 30, 35, 40};
const char* const kColumns[] = {"d", "l", "k", "s", "e", "b", "dw", "c", "r", "t"};

// GUID texts with a kind tag and a number, readable in a debugger.
std::string GuidText(unsigned kind, std::size_t n) {
    char text[40];
    std::snprintf(text, sizeof text, "%08x-0000-4000-8000-%012zx", kind, n);
    return text;
}

std::string ParameterId(std::size_t p) {
    return GuidText(0xC0, p);
}

std::wstring Wide(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::string Numbered(const char* prefix, std::size_t n) {
    std::ostringstream text;
    text << prefix << n;
    return text.str();
}

std::string LibraryXml(std::size_t library, std::size_t categories) {
    std::ostringstream xml;
    xml << "<Library Name=\"Library " << library << "\" Id=\"" << GuidText(0xA0, library)
        << "\" DefaultLanguage=\"en-US\" LastModified=\"2024-01-01T00:00:00Z\">\n"
        << "<Parameters>\n";
    for (std::size_t p = 0; p < kParameters; ++p) {
        xml << "<Parameter Id=\"" << ParameterId(p)
            << "\" ValueType=\"double\" UnitType=\"mm\"><Name Lang=\"en-US\">" << kColumns[p]
            << "</Name></Parameter>\n";
    }
    xml << "</Parameters>\n<Categories>\n<Category Id=\"" << GuidText(0xB0, library * 1000)
        << "\"><Name Lang=\"en-US\">Root " << library << "</Name>\n";
    for (std::size_t p = 0; p < kParameters; ++p) {
        xml << "<ParameterRef Id=\"" << ParameterId(p) << "\"/>\n";
    }
    for (std::size_t c = 0; c < categories; ++c) {
        xml << "<Category Id=\"" << GuidText(0xB0, library * 1000 + c + 1)
            << "\"><Name Lang=\"en-US\">Category " << c << "</Name></Category>\n";
    }
    xml << "</Category>\n</Categories>\n</Library>\n";
    return xml.str();
}

std::string FamilyCsv(std::size_t family) {
    const double d = kDiameters[family % std::size(kDiameters)];
    std::ostringstream csv;
    csv << "size";
    for (const char* column : kColumns) {
        csv << ',' << column;
    }
    csv << '\n';
    for (std::size_t m = 0; m < kMembersPerFamily; ++m) {
        csv << 'M' << d << 'x' << kLengths[m] << ',' << d << ',' << kLengths[m];
        for (std::size_t c = 2; c < std::size(kColumns); ++c) {
            csv << ',' << d * static_cast<double>(c) / 4 + static_cast<double>(m) / 10;
        }
        csv << '\n';
    }
    return csv.str();
}

std::string FamilyXml(std::size_t family, const std::string& category) {
    std::ostringstream xml;
    xml << "<CsvFamily Id=\"" << GuidText(0xF0, family) << "\" Table=\"f" << family
        << ".csv\" Standard=\"GEN " << family
        << "\" StandardsOrganization=\"GEN\" LastModified=\"2024-02-01T00:00:00Z\">\n"
        << "<Name Lang=\"en-US\">Family " << family << "</Name>\n<Category Ref=\"" << category
        << "\"/>\n<Column Name=\"size\" Key=\"1\"/>\n";
    for (const char* column : kColumns) {
        xml << "<Column Name=\"" << column << "\" Type=\"double\" Unit=\"mm\"/>\n";
    }
    for (std::size_t p = 0; p < kParameters; ++p) {
        xml << "<Map Parameter=\"" << ParameterId(p) << "\" Column=\"" << kColumns[p] << "\"/>\n";
    }
    xml << "</CsvFamily>\n";
    return xml.str();
}

}  // namespace

GeneratedCatalog WriteSources(const fs::path& root, std::size_t families) {
    GeneratedCatalog catalog;
    catalog.families = families;
    catalog.members = families * kMembersPerFamily;
    catalog.diameter = Wide(ParameterId(0));
    catalog.length = Wide(ParameterId(1));
    catalog.largeCategory = Wide(GuidText(0xB0, 1));
    const std::size_t half = families / 2;
    std::size_t next = 0;
    for (std::size_t library = 0; library < 3; ++library) {
        const fs::path folder = root / Numbered("library", library);
        fs::create_directories(folder / "families");
        const std::size_t categories = library == 0 ? 1 : kSmallCategories;
        WriteFile(folder / "library.xml", LibraryXml(library, categories));
        const std::size_t count = library == 0 ? half : half / 2;
        for (std::size_t i = 0; i < count; ++i, ++next) {
            const std::string category = GuidText(0xB0, library * 1000 + 1 + i % categories);
            const fs::path stem = folder / "families" / Numbered("f", next);
            WriteFile(fs::path(stem) += ".csv", FamilyCsv(next));
            WriteFile(fs::path(stem) += ".csvfamily.xml", FamilyXml(next, category));
        }
        catalog.sources.push_back(folder);
        catalog.libraries.push_back(Wide(Numbered("Library ", library)));
    }
    return catalog;
}

const GeneratedCatalog& CatalogOfSize(std::size_t families) {
    // The scratch folders go when the program ends.
    struct Catalogs : std::map<std::size_t, GeneratedCatalog> {
        ~Catalogs() {
            for (const auto& [size, catalog] : *this) {
                std::error_code ignored;
                fs::remove_all(catalog.file.parent_path(), ignored);
            }
        }
    };
    static Catalogs catalogs;
    const auto found = catalogs.find(families);
    if (found != catalogs.end()) {
        return found->second;
    }
    const fs::path root = fs::temp_directory_path() / Numbered("vardel-bench-", families);
    fs::remove_all(root);
    GeneratedCatalog catalog = WriteSources(root / "sources", families);
    catalog.file = root / "bench.catalog";
    const VardelCatalog::ImportResult result =
        VardelCatalog::ImportCatalog(catalog.sources, catalog.file);
    if (!result.ok) {
        throw std::runtime_error("import failed: " + result.error);
    }
    return catalogs.emplace(families, std::move(catalog)).first->second;
}

}  // namespace VardelBench
