// Small library folders for the source readers' tests: ids written "@N" in
// test XML, a standard library.xml, CSV family descriptions built from a few
// children, and files written into a scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>

#include "catalog/support/test_images.h"
#include "common/atomic_file.h"
#include "source/source_readers.h"
#include "support/temp_folder.h"

namespace VardelSourceTest {

using namespace VardelCatalog;

/// "00000000-0000-0000-0000-<N as 12 hex digits>".
inline std::string Id(unsigned n) {
    char text[40];
    std::snprintf(text, sizeof text, "00000000-0000-0000-0000-%012x", n);
    return text;
}
inline Guid GuidOf(unsigned n) {
    const std::string text = Id(n);
    return *Guid::Parse(std::wstring(text.begin(), text.end()));
}

/// `text` with every "@N" (N decimal) replaced by Id(N).
inline std::string Ids(const std::string& text) {
    std::string out;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '@' || at + 1 == text.size() || !std::isdigit(text[at + 1])) {
            out += text[at];
            continue;
        }
        std::size_t end = at + 1;
        while (end < text.size() && std::isdigit(text[end]))
            ++end;
        out += Id(static_cast<unsigned>(std::stoul(text.substr(at + 1, end - at - 1))));
        at = end - 1;
    }
    return out;
}

// Parameters 1 (double), 2 (localized string using 1's definition), 3
// (integer), 4 (boolean), 5 (in no category); categories 10 > 11 > 12 and
// 20, where 10 has parameter 1, 11 has 2 and 4, 20 has 3.
inline std::string StandardLibraryXml() {
    return Ids(R"(<?xml version="1.0" encoding="UTF-8"?>
<Library Name="Test Lib" Id="@1" DefaultLanguage="en-US" LastModified="2024-03-01T00:00:00Z">
  <Readers><User Name="alice"/><User Name="bob"/></Readers>
  <Parameters>
    <Parameter Id="@1" ValueType="double" UnitType="mm">
      <Name Lang="en-US">Diameter</Name><Name Lang="DE-de">Durchmesser</Name></Parameter>
    <Parameter Id="@2" ValueType="String" Localized="true" RefName="Material" UsesDefinition="@1"/>
    <Parameter Id="@3" ValueType="integer" Optional="1" AppliesToMember="false"/>
    <Parameter Id="@4" ValueType="boolean"/>
    <Parameter Id="@5"/>
  </Parameters>
  <Categories>
    <Category Id="@10" Domain="Fasteners" Icon="icons/f.ico">
      <Name Lang="en-US">Fasteners</Name><Name Lang="de-DE">Verbindungselemente</Name>
      <ParameterRef Id="@1"/>
      <Category Id="@11" Hidden="TRUE" Mnemonic="HX" SpecialAuthoring="1">
        <Name Lang="en-US">Hex</Name><ParameterRef Id="@2"/><ParameterRef Id="@4"/>
        <Category Id="@12" Domain="Special" LastModified="2024-05-06T07:08:09Z" RevisionId="{@99}"/>
      </Category>
    </Category>
    <Category Id="@20"><ParameterRef Id="@3"/></Category>
  </Categories>
</Library>
)");
}

/// A CSV family description with `children` (ids as "@N") starting on line
/// 3; its root has the id 100 and LastModified 2024-03-01T00:00:00Z unless
/// `attributes` give them.
inline std::string CsvDescriptionXml(const std::string& children,
                                     const std::string& attributes = "") {
    std::string root = "<CsvFamily" + attributes;
    if (attributes.find(" Id=") == std::string::npos)
        root += " Id='@100'";
    if (attributes.find("LastModified=") == std::string::npos)
        root += " LastModified='2024-03-01T00:00:00Z'";
    return Ids("<?xml version='1.0'?>\n" + root + ">\n" + children + "\n</CsvFamily>\n");
}

/// The icon StandardLibraryXml() names for category 10.
inline const std::string kFastenersIcon = VardelTestImages::Ico(0x102030);

/// A scratch library folder holding StandardLibraryXml() and its icon.
class LibraryFolder {
  public:
    LibraryFolder() {
        Write("library.xml", StandardLibraryXml());
        Write("icons/f.ico", kFastenersIcon);
    }

    const std::filesystem::path& path() const { return folder_.path(); }

    /// Writes `bytes` to `relative` below the folder, creating sub-folders.
    std::filesystem::path Write(const std::filesystem::path& relative, const std::string& bytes) {
        const std::filesystem::path file = path() / relative;
        std::filesystem::create_directories(file.parent_path());
        EXPECT_TRUE(VardelCommon::WriteFileAtomically(file, bytes));
        return file;
    }

    /// The folder's library, read; fails the test when it does not read.
    const LibrarySource& Library() {
        SourceError error;
        EXPECT_TRUE(ReadLibraryDescription(path(), library_, error)) << error.ToString();
        return library_;
    }

  private:
    TempFolder folder_;
    LibrarySource library_;
};

}  // namespace VardelSourceTest
