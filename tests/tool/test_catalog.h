// The small catalogue the tool tests run on, built by the tool itself
// from library folders written into a scratch folder:
//
//   Alpha (everybody)  Parts [Diameter, Size]  > Screws [Length] > Screw A (part, Acme, ISO)
//                      Parts > Tool B (feature, Bolt Co, DIN), Parts > Empty (no family),
//                      Hidden stuff (hidden) > Secret, Twin (Alpha)
//   Beta (everybody)   Parts > Screws > Screw A, a newer copy named "Screw A (Beta)" with
//                      two members; Beta only > Beta pin, Twin (Beta)
//   Gamma (alice only) Private > Private screw
//
// Members: Screw A (Alpha) M4/4/10, M6/6/20, M8/8/30; Screw A (Beta) M8/8/30,
// M10/10/40; Tool B S1/5, S2/8; Secret X/8; Beta pin P1/3; Twins T/1;
// Private screw Q/8.
//
// Thumbnails (below): Screw A's two copies, Tool B and Beta pin; the other
// families have none.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "catalog/support/test_images.h"
#include "support/temp_folder.h"
#include "tool_runner.h"

namespace VardelToolTest {

inline constexpr const char* kScrew = "40000000-0000-0000-0000-000000000001";
inline constexpr const char* kTool = "40000000-0000-0000-0000-000000000002";
inline constexpr const char* kPin = "40000000-0000-0000-0000-000000000004";
inline constexpr const char* kTwinAlpha = "40000000-0000-0000-0000-000000000005";
inline constexpr const char* kTwinBeta = "40000000-0000-0000-0000-000000000006";
inline constexpr const char* kPrivate = "40000000-0000-0000-0000-000000000007";
inline constexpr const char* kPartsCategory = "30000000-0000-0000-0000-000000000001";
inline constexpr const char* kDiameter = "20000000-0000-0000-0000-000000000001";

/// The thumbnails of the test families, one of each kind.
inline std::string AlphaScrewThumbnail() {
    return VardelTestImages::Png(0xAA0000);
}
inline std::string BetaScrewThumbnail() {
    return VardelTestImages::Png(0x00BB00);
}
inline std::string ToolThumbnail() {
    return VardelTestImages::Bmp(0x0000CC);
}
inline std::string PinThumbnail() {
    return VardelTestImages::Ico(0xDDDD00);
}

/// Writes `text` to `path`, creating its folder.
void WriteText(const std::filesystem::path& path, const std::string& text);

/// Writes the library folders Alpha, Beta and Gamma under `folder`.
std::vector<std::string> WriteTestSources(const std::filesystem::path& folder);

/// A scratch folder holding the test catalogue; Run passes it as --catalog.
class ToolTest : public ::testing::Test {
  protected:
    void SetUp() override;

    ToolRun Run(std::vector<std::string> args) const;
    /// A run expected to succeed, parsed as JSON.
    nlohmann::json Json(std::vector<std::string> args) const;
    /// A new folder for personal stores.
    std::string NewStore(const std::string& name) const;

    TempFolder folder_;
    std::string catalog_;
};

}  // namespace VardelToolTest
