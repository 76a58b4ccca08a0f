// One small catalogue served by a CCatalogServer, for the service tests,
// built through the test builder. Node ids are TestGuid(n):
//
//   Fasteners (1, default en-us)                 Secret (2, readers: alice)
//     Bolts 10  Domain=Fasteners  params 50        Vault 40
//       Hex 11  hidden  params 51, 50                Key 200
//         Fine 12
//           Socket screw 101 (also in 13)
//         Hex bolt 100
//       Socket 13  Mnemonic=SK SpecialAuthoring, icon Ico(0x0000FF), de-de name
//       Plain bolt 103, Late bolt 105, Early bolt 104 (imported in that order)
//     Profiles 20  Domain=Steel
//       Leaf 21 (named in fr-fr and de-de only)
//       Beams 22
//         I-beam 102 (feature)
//     Misc 30
//
// Parameters: Diameter 50 (names en-us, de-de), Length 51 (uses 50's
// definition), Material 52. Families: 100 Acme/ISO with the thumbnail
// Png(0xFF0000) (test_images.h), 101 Bolt Co/DIN, 102 Acme/EN, 103-105 no
// manufacturer/ISO.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "catalog/support/catalog_builder.h"
#include "support/temp_folder.h"
#include "vardel/catalog/catalog_server.h"

namespace VardelCatalogTest {

/// TestGuid(n) for each n.
std::vector<Guid> Ids(const std::vector<unsigned>& numbers);

/// The security context of `user`.
TarnServerProxies::Security::SecurityContext User(const std::wstring& user);

class ServedCatalog : public ::testing::Test {
  protected:
    void SetUp() override;

    TempFolder folder;
    std::shared_ptr<VardelCatalog::CCatalogServer> server;
    const TarnServerProxies::Security::SecurityContext bob = User(L"bob");
    const TarnServerProxies::Security::SecurityContext alice = User(L"alice");
    const std::wstring fasteners = L"Fasteners";
};

}  // namespace VardelCatalogTest
