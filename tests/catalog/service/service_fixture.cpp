#include "catalog/service/service_fixture.h"

#include "catalog/support/test_images.h"

namespace VardelCatalogTest {
namespace {

TestLibrary Fasteners() {
    TestLibrary fasteners{Library(L"Fasteners", 1), {}};
    LibrarySource& library = fasteners.library;
    library.parameters = {Parameter(50, L"Diameter"), Parameter(51, L"Length"),
                          Parameter(52, L"Material", L"string")};
    library.parameters[0].names[L"de-de"] = L"Durchmesser";
    library.parameters[0].unitType = L"mm";
    library.parameters[1].usesDefinition = TestGuid(50);
    library.parameters[1].optional = true;
    library.parameters[2].appliesToMember = false;

    CategorySource hex = Category(11, L"Hex", {Category(12, L"Fine")});
    hex.hidden = true;
    hex.parameters = {TestGuid(51), TestGuid(50)};
    CategorySource socket = Category(13, L"Socket");
    socket.names[L"de-de"] = L"Innensechskant";
    socket.mnemonic = L"SK";
    socket.specialAuthoring = true;
    socket.icon = L"s.ico";
    socket.iconImage = {"image/x-icon", VardelTestImages::Ico(0x0000FF)};
    CategorySource bolts = Category(10, L"Bolts", {hex, socket});
    bolts.domain = L"Fasteners";
    bolts.parameters = {TestGuid(50)};
    CategorySource leaf = Category(21, L"Leaf");
    leaf.names = {{L"fr-fr", L"Feuille"}, {L"de-de", L"Blatt"}};
    CategorySource profiles = Category(20, L"Profiles", {leaf, Category(22, L"Beams")});
    profiles.domain = L"Steel";
    for (CategorySource& child : profiles.children) {
        child.domain = L"Steel";
    }
    library.categories = {bolts, profiles, Category(30, L"Misc")};

    FamilySource hexBolt = Family(100, L"Hex bolt", {11});
    hexBolt.displayNames[L"de-de"] = L"Sechskantschraube";
    hexBolt.descriptions[L"en-us"] = L"Fully threaded";
    hexBolt.manufacturer = L"Acme";
    hexBolt.standardsOrganization = L"ISO";
    hexBolt.standard = L"ISO 4017";
    hexBolt.thumbnail = L"img/hex.png";
    hexBolt.thumbnailImage = {"image/png", VardelTestImages::Png(0xFF0000)};
    hexBolt.parentLibraryName = L"Base <&\"> lib";
    hexBolt.parentFamilyName = L"Base bolt";
    hexBolt.document = "<Family InternalName=\"x\">\xc3\xa4</Family>";
    hexBolt.strings = {{L"de-de", "<S xml:lang=\"de-DE\"/>"}, {L"en-us", "<S/>"}};
    FamilySource socketScrew = Family(101, L"Socket screw", {12, 13});
    socketScrew.manufacturer = L"Bolt Co";
    socketScrew.standardsOrganization = L"DIN";
    FamilySource beam = Family(102, L"I-beam", {22});
    beam.isFeature = true;
    beam.manufacturer = L"Acme";
    beam.standardsOrganization = L"EN";
    fasteners.families = {hexBolt, socketScrew, beam};
    for (unsigned id : {103u, 105u, 104u}) {
        fasteners.families.push_back(Family(id, L"Bolt " + std::to_wstring(id), {10}));
        fasteners.families.back().standardsOrganization = L"ISO";
    }
    return fasteners;
}

TestLibrary Secret() {
    TestLibrary secret{Library(L"Secret", 2), {}};
    secret.library.readers = {L"alice"};
    secret.library.parameters = {Parameter(60, L"Width")};
    secret.library.categories = {Category(40, L"Vault")};
    secret.library.categories[0].parameters = {TestGuid(60)};
    secret.families = {Family(200, L"Key", {40})};
    return secret;
}

}  // namespace

std::vector<Guid> Ids(const std::vector<unsigned>& numbers) {
    std::vector<Guid> ids;
    for (unsigned n : numbers) {
        ids.push_back(TestGuid(n));
    }
    return ids;
}

TarnServerProxies::Security::SecurityContext User(const std::wstring& user) {
    return {0, user, L"", L"", L"", L"", {}};
}

void ServedCatalog::SetUp() {
    const auto file = WriteCatalog(folder.path() / "test.catalog", {Fasteners(), Secret()});
    std::string error;
    server = VardelCatalog::CCatalogServer::Open(file, error);
    ASSERT_TRUE(server) << error;
}

}  // namespace VardelCatalogTest
