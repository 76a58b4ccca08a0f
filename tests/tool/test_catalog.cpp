// The test libraries as source files: library.xml texts and CSV families.
#include "test_catalog.h"

#include <fstream>

namespace VardelToolTest {
namespace {

constexpr const char* kParameters = R"(
  <Parameters>
    <Parameter Id="20000000-0000-0000-0000-000000000001" ValueType="double" RefName="Dia">
      <Name Lang="en-US">Diameter</Name><Name Lang="de-DE">Durchmesser</Name>
    </Parameter>
    <Parameter Id="20000000-0000-0000-0000-000000000002" RefName="Size">
      <Name Lang="en-US">Size</Name>
    </Parameter>
    <Parameter Id="20000000-0000-0000-0000-000000000003" ValueType="double">
      <Name Lang="en-US">Length</Name>
    </Parameter>
  </Parameters>)";

std::string Library(const std::string& name, const std::string& id, const std::string& readers,
                    const std::string& categories) {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<Library Name=")" +
           name + R"(" Id="10000000-0000-0000-0000-0000000000)" + id +
           R"(" DefaultLanguage="en-US" LastModified="2024-01-01T00:00:00Z">)" + readers +
           kParameters + "\n  <Categories>" + categories + "</Categories>\n</Library>\n";
}

constexpr const char* kRootParameters =
    R"(<ParameterRef Id="20000000-0000-0000-0000-000000000001"/>)"
    R"(<ParameterRef Id="20000000-0000-0000-0000-000000000002"/>)";
constexpr const char* kLengthParameter =
    R"(<ParameterRef Id="20000000-0000-0000-0000-000000000003"/>)";

std::string Category(const std::string& number, const std::string& name,
                     const std::string& inside = "", const std::string& extra = "") {
    return R"(<Category Id="30000000-0000-0000-0000-0000000000)" + number + "\"" + extra +
           R"(><Name Lang="en-US">)" + name + "</Name>" + inside + "</Category>";
}

// A root category: it lists the diameter and size parameters.
std::string Root(const std::string& number, const std::string& name, const std::string& inside = "",
                 const std::string& extra = "") {
    return Category(number, name, kRootParameters + inside, extra);
}

struct Family {
    std::string file;
    std::string number;
    std::string name;
    std::string category;
    std::string attributes;  ///< Kind, standard, manufacturer, time.
    std::string csv;         ///< Columns size, d and optionally l.
};

void WriteFamily(const std::filesystem::path& library, const Family& family) {
    const bool hasLength = family.csv.starts_with("size,d,l");
    std::string xml = R"(<CsvFamily Id="40000000-0000-0000-0000-0000000000)" + family.number +
                      "\" Table=\"" + family.file + ".csv\" " + family.attributes + ">" +
                      R"(<Name Lang="en-US">)" + family.name + "</Name>" +
                      R"(<Category Ref="30000000-0000-0000-0000-0000000000)" + family.category +
                      R"("/><Column Name="size" Key="1"/><Column Name="d" Type="double"/>)";
    xml += hasLength ? R"(<Column Name="l" Type="double"/>)" : "";
    xml += R"(<Map Parameter="20000000-0000-0000-0000-000000000002" Column="size"/>)"
           R"(<Map Parameter="20000000-0000-0000-0000-000000000001" Column="d"/>)";
    xml += hasLength ? R"(<Map Parameter="20000000-0000-0000-0000-000000000003" Column="l"/>)" : "";
    WriteText(library / "families" / (family.file + ".csvfamily.xml"), xml + "</CsvFamily>\n");
    WriteText(library / "families" / (family.file + ".csv"), family.csv);
}

// Writes `bytes` as the library's thumbnails/NAME; the attribute naming it
// from a family description.
std::string Thumbnail(const std::filesystem::path& library, const std::string& name,
                      const std::string& bytes) {
    WriteText(library / "thumbnails" / name, bytes);
    return " Thumbnail=\"../thumbnails/" + name + "\"";
}

constexpr const char* kOld = R"(LastModified="2024-01-01T00:00:00Z")";
constexpr const char* kNew = R"(LastModified="2024-06-01T00:00:00Z")";

void WriteAlpha(const std::filesystem::path& library) {
    WriteText(library / "library.xml",
              Library("Alpha", "0a", "",
                      Root("01", "Parts",
                           Category("02", "Screws", kLengthParameter) + Category("06", "Empty")) +
                          Root("03", "Hidden stuff", "", R"( Hidden="true")")));
    const std::string part = R"(Kind="part" Standard="STD 1" StandardsOrganization="ISO" )"
                             R"(Manufacturer="Acme" )";
    WriteFamily(library, {"screw", "01", "Screw A", "02",
                          part + kOld + Thumbnail(library, "screw.png", AlphaScrewThumbnail()),
                          "size,d,l\nM4,4,10\nM6,6,20\nM8,8,30\n"});
    WriteFamily(library, {"tool", "02", "Tool B", "01",
                          R"(Kind="feature" StandardsOrganization="DIN" Manufacturer="Bolt Co" )" +
                              std::string(kOld) + Thumbnail(library, "tool.bmp", ToolThumbnail()),
                          "size,d\nS1,5\nS2,8\n"});
    WriteFamily(library, {"secret", "03", "Secret", "03", kOld, "size,d\nX,8\n"});
    WriteFamily(library, {"twin", "05", "Twin", "03", kOld, "size,d\nT,1\n"});
}

void WriteBeta(const std::filesystem::path& library) {
    WriteText(library / "library.xml",
              Library("Beta", "0b", "",
                      Root("01", "Parts", Category("02", "Screws", kLengthParameter)) +
                          Root("04", "Beta only")));
    WriteFamily(library,
                {"screw", "01", "Screw A (Beta)", "02",
                 R"(Kind="part" Standard="STD 1" StandardsOrganization="ISO" )"
                 R"(Manufacturer="Acme" )" +
                     std::string(kNew) + Thumbnail(library, "screw.png", BetaScrewThumbnail()),
                 "size,d,l\nM8,8,30\nM10,10,40\n"});
    WriteFamily(library, {"pin", "04", "Beta pin", "04",
                          std::string(kOld) + Thumbnail(library, "pin.ico", PinThumbnail()),
                          "size,d\nP1,3\n"});
    WriteFamily(library, {"twin", "06", "Twin", "04", kOld, "size,d\nT,1\n"});
}

void WriteGamma(const std::filesystem::path& library) {
    WriteText(library / "library.xml",
              Library("Gamma", "0c", R"(<Readers><User Name="alice"/></Readers>)",
                      Root("05", "Private")));
    WriteFamily(library, {"private", "07", "Private screw", "05", kOld, "size,d\nQ,8\n"});
}

}  // namespace

void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> WriteTestSources(const std::filesystem::path& folder) {
    WriteAlpha(folder / "alpha");
    WriteBeta(folder / "beta");
    WriteGamma(folder / "gamma");
    return {(folder / "alpha").string(), (folder / "beta").string(), (folder / "gamma").string()};
}

void ToolTest::SetUp() {
    std::vector<std::string> args{"catalog", "build"};
    for (const std::string& source : WriteTestSources(folder_.path() / "src")) {
        args.push_back(source);
    }
    catalog_ = (folder_.path() / "test.catalog").string();
    args.insert(args.end(), {"-o", catalog_, "--quiet"});
    const ToolRun built = RunTool(args);
    ASSERT_EQ(built.exitCode, 0) << built.err;
}

ToolRun ToolTest::Run(std::vector<std::string> args) const {
    args.insert(args.end(), {"--catalog", catalog_});
    return RunTool(args);
}

nlohmann::json ToolTest::Json(std::vector<std::string> args) const {
    args.push_back("--json");
    const ToolRun run = Run(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return ParseJson(run);
}

std::string ToolTest::NewStore(const std::string& name) const {
    return (folder_.path() / name).string();
}

}  // namespace VardelToolTest
