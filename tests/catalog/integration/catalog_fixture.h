// A small real catalogue for the integration tests, built once per test
// program from source folders through the importer and attached as the
// content server; contexts of any browsing type over it. Three libraries:
//
//   Alpha (default en-US)          Beta                Gamma (readers: alice)
//   Fasteners (c1) Domain=Fasteners Fasteners (c1)     Private (g1)
//     Screws (c2)                     Nuts (c4)          Private pin (f6)
//       Hex head (c3)                   Hex nut (f2),
//         Hex screw (f1)                  newer copy
//         Odd names (f5)
//       Thread (f3, feature)
//     Nuts (c4)
//       Hex nut (f2)
//     Withdrawn (c5, hidden)
//       Old screw (f4)
//   Empty (c6) Domain=Other, named in de-DE only
//
// Parameters (same ids in every library): d (p1), l (p2), designation (p3,
// text; the hex screw's is a formula of d and l), minor diameter (p4, a
// formula of the thread's d and P). Node ids are the GUID texts of Id(n)
// with the numbers below.
#pragma once

#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "vardel/browse_id.h"
#include "vardel/catalog/catalog_server.h"
#include "vardel/context.h"
#include "vardel/return_value.h"

namespace VardelCatalogTest {

enum Node : unsigned {
    kFasteners = 0xc1,
    kScrews = 0xc2,
    kHexHead = 0xc3,
    kNuts = 0xc4,
    kWithdrawn = 0xc5,
    kEmpty = 0xc6,
    kPrivate = 0xd1,
    kHexScrew = 0xf1,
    kHexNut = 0xf2,
    kThread = 0xf3,
    kOldScrew = 0xf4,
    kOddNames = 0xf5,
    kPrivatePin = 0xf6,
    kDiameter = 0xe1,
    kLength = 0xe2,
    kDesignation = 0xe3,
    kMinorDiameter = 0xe4,
};

/// The lower-case GUID text 00000000-0000-0000-0000-<n in 12 hex digits>.
std::wstring Id(unsigned n);

/// Writes the three library folders below `root` (one sub-folder each).
std::vector<std::filesystem::path> WriteSampleSources(const std::filesystem::path& root);

class CatalogIntegrationTest : public ::testing::Test {
  public:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    /// An initialised context over `libraries` as user `user`.
    static Vardel::CContext Context(Vardel::BrowsingStructureType type,
                                    const std::list<std::wstring>& libraries,
                                    const Vardel::FilterStruct& filter = {},
                                    const std::wstring& language = L"en-US",
                                    const std::wstring& user = L"bob");

    /// The display names (FLD_ or FAM_DISPLAYNAME) of `ids`, in order.
    static std::vector<std::wstring> Names(const Vardel::CContext& context,
                                           const std::vector<Vardel::CBrowseId>& ids, bool folders);

  protected:
    static std::filesystem::path storage() { return folder_->path() / "store"; }

    static std::unique_ptr<TempFolder> folder_;
    static std::shared_ptr<VardelCatalog::CCatalogServer> server_;
};

}  // namespace VardelCatalogTest
