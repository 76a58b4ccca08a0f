#include "catalog/integration/catalog_fixture.h"

#include <fstream>
#include <regex>

#include "catalog/support/catalog_builder.h"
#include "vardel/app.h"
#include "vardel/catalog/catalog_import.h"
#include "vardel/constants.h"
#include "vardel/properties.h"

namespace VardelCatalogTest {
namespace fs = std::filesystem;

std::unique_ptr<TempFolder> CatalogIntegrationTest::folder_;
std::shared_ptr<VardelCatalog::CCatalogServer> CatalogIntegrationTest::server_;

std::wstring Id(unsigned n) {
    return TestGuid(n).ToString();
}

namespace {

// The sources name nodes as "#c1", "#f2"...; this spells them out.
std::string WithIds(const std::string& text) {
    static const std::regex node("#([0-9a-f]{2})");
    return std::regex_replace(text, node, "00000000-0000-0000-0000-0000000000$1");
}

void Write(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << WithIds(text);
}

const char* const kParameters = R"(<Parameters>
  <Parameter Id="#e1" ValueType="double" UnitType="mm">
    <Name Lang="en-US">Nominal diameter</Name><Name Lang="de-DE">Nenndurchmesser</Name>
  </Parameter>
  <Parameter Id="#e2" ValueType="double" UnitType="mm"><Name Lang="en-US">Length</Name></Parameter>
  <Parameter Id="#e3"><Name Lang="en-US">Designation</Name></Parameter>
  <Parameter Id="#e4" ValueType="double" UnitType="mm"><Name Lang="en-US">Minor diameter</Name></Parameter>
</Parameters>)";

const char* const kParameterRefs =
    R"(<ParameterRef Id="#e1"/><ParameterRef Id="#e2"/><ParameterRef Id="#e3"/>)"
    R"(<ParameterRef Id="#e4"/>)";

void WriteAlpha(const fs::path& folder) {
    Write(folder / "library.xml",
          std::string(R"(<Library Name="Alpha" Id="#a1" DefaultLanguage="en-US"
                 LastModified="2024-01-01T00:00:00Z">)") +
              kParameters + R"(<Categories>
  <Category Id="#c1" Domain="Fasteners" LastModified="2024-03-01T00:00:00Z">
    <Name Lang="en-US">Fasteners</Name><Name Lang="de-DE">Verbindungselemente</Name>)" +
              kParameterRefs + R"(
    <Category Id="#c2"><Name Lang="en-US">Screws</Name>
      <Category Id="#c3"><Name Lang="en-US">Hex head</Name></Category>
    </Category>
    <Category Id="#c4"><Name Lang="en-US">Nuts</Name><Name Lang="de-DE">Muttern</Name></Category>
    <Category Id="#c5" Hidden="true"><Name Lang="en-US">Withdrawn</Name></Category>
  </Category>
  <Category Id="#c6" Domain="Other"><Name Lang="de-DE">Leer</Name></Category>
</Categories></Library>)");
    const fs::path families = folder / "families";
    Write(families / "screw.csvfamily.xml", R"(<CsvFamily Id="#f1" Table="screw.csv"
        Standard="ISO 4017" StandardsOrganization="ISO" LastModified="2024-02-01T00:00:00Z">
  <Name Lang="en-US">Hex screw</Name><Name Lang="de-DE">Sechskantschraube</Name>
  <Category Ref="#c3"/>
  <Column Name="size" Key="1"/><Column Name="d" Type="double" Unit="mm"/>
  <Column Name="l" Type="double" Unit="mm" Key="2"/>
  <Column Name="designation" Formula='"M" &amp; {d} &amp; "x" &amp; {l}'/>
  <Map Parameter="#e1" Column="d"/><Map Parameter="#e2" Column="l"/>
  <Map Parameter="#e3" Column="designation"/>
</CsvFamily>)");
    Write(families / "screw.csv", "size,d,l\nM6x25,6,25\nM8x30,8,30\nM8x40,8,40\nM10x30,10,30\n");
    Write(families / "nut.csvfamily.xml", R"(<CsvFamily Id="#f2" StandardsOrganization="DIN"
        LastModified="2024-01-01T00:00:00Z">
  <Name Lang="en-US">Hex nut</Name><Category Ref="#c4"/>
  <Column Name="size"/><Column Name="d" Type="double"/>
  <Map Parameter="#e1" Column="d"/><Map Parameter="#e3" Column="size"/>
</CsvFamily>)");
    Write(families / "nut.csv", "size,d\nM8,8\nM10,10\n");
    Write(families / "thread.csvfamily.xml", R"(<CsvFamily Id="#f3" Kind="feature"
        StandardsOrganization="ISO" LastModified="2024-01-01T00:00:00Z">
  <Name Lang="en-US">Thread</Name><Category Ref="#c2"/>
  <Column Name="size"/><Column Name="d" Type="double" Unit="mm"/>
  <Column Name="P" Type="double" Unit="mm"/>
  <Column Name="D1" Type="double" Unit="mm" Formula="{d} - 5*sqrt(3)/8*{P}"/>
  <Map Parameter="#e1" Column="d"/><Map Parameter="#e4" Column="D1"/>
</CsvFamily>)");
    Write(families / "thread.csv", "size,d,P\nM8,8,1.25\nM12,12,1.75\n");
    Write(families / "old.csvfamily.xml", R"(<CsvFamily Id="#f4" StandardsOrganization="DIN"
        Manufacturer="Nordwerk" LastModified="2020-01-01T00:00:00Z">
  <Name Lang="en-US">Old screw</Name><Category Ref="#c5"/>
  <Column Name="size"/><Column Name="d" Type="double"/><Map Parameter="#e1" Column="d"/>
</CsvFamily>)");
    Write(families / "old.csv", "size,d\nM8,8\n");
    Write(families / "odd.csvfamily.xml", R"(<CsvFamily Id="#f5"
        StandardsOrganization="O'Brien; DROP TABLE family; --" LastModified="2024-01-01T00:00:00Z">
  <Name Lang="en-US">Quote's "100%" &lt;b&gt; &amp; co</Name><Category Ref="#c3"/>
  <Column Name="size"/><Column Name="d" Type="double"/>
  <Map Parameter="#e1" Column="d"/><Map Parameter="#e3" Column="size"/>
</CsvFamily>)");
    // A text cell is evaluated as the family model evaluates one, where a
    // doubled quote stands for one: the second size is O'Reilly "x".
    Write(families / "odd.csv",
          "size,d\n50%_off,12\n\"O'Reilly \"\"\"\"x\"\"\"\"\",12\n'; DELETE FROM member; --,12\n");
}

void WriteBeta(const fs::path& folder) {
    Write(folder / "library.xml",
          std::string(R"(<Library Name="Beta" Id="#b1" DefaultLanguage="en-US"
                 LastModified="2023-01-01T00:00:00Z">)") +
              kParameters + R"(<Categories>
  <Category Id="#c1" Domain="Fasteners"><Name Lang="en-US">Fasteners (Beta)</Name>)" +
              kParameterRefs + R"(
    <Category Id="#c4"><Name Lang="en-US">Nuts</Name></Category>
  </Category>
</Categories></Library>)");
    Write(folder / "families" / "nut.csvfamily.xml", R"(<CsvFamily Id="#f2"
        StandardsOrganization="DIN" Manufacturer="Nordwerk" LastModified="2024-06-01T00:00:00Z">
  <Name Lang="en-US">Hex nut (new)</Name><Category Ref="#c4"/>
  <Column Name="size"/><Column Name="d" Type="double"/>
  <Map Parameter="#e1" Column="d"/><Map Parameter="#e3" Column="size"/>
</CsvFamily>)");
    Write(folder / "families" / "nut.csv", "size,d\nM8,8\nM10,10\nM12,12\n");
}

void WriteGamma(const fs::path& folder) {
    Write(folder / "library.xml", std::string(R"(<Library Name="Gamma" Id="#b2"
                 DefaultLanguage="en-US"><Readers><User Name="alice"/></Readers>)") +
                                      kParameters + R"(<Categories>
  <Category Id="#d1"><Name Lang="en-US">Private</Name>)" +
                                      kParameterRefs + R"(</Category>
</Categories></Library>)");
    Write(folder / "families" / "pin.csvfamily.xml", R"(<CsvFamily Id="#f6"
        LastModified="2024-01-01T00:00:00Z">
  <Name Lang="en-US">Private pin</Name><Category Ref="#d1"/>
  <Column Name="d" Type="double"/><Map Parameter="#e1" Column="d"/>
</CsvFamily>)");
    Write(folder / "families" / "pin.csv", "d\n8\n");
}

}  // namespace

std::vector<fs::path> WriteSampleSources(const fs::path& root) {
    WriteAlpha(root / "alpha");
    WriteBeta(root / "beta");
    WriteGamma(root / "gamma");
    return {root / "alpha", root / "beta", root / "gamma"};
}

void CatalogIntegrationTest::SetUpTestSuite() {
    folder_ = std::make_unique<TempFolder>();
    const fs::path file = folder_->path() / "test.catalog";
    const auto result =
        VardelCatalog::ImportCatalog(WriteSampleSources(folder_->path() / "sources"), file);
    ASSERT_TRUE(result.ok) << result.error;
    fs::create_directories(storage());
    std::string error;
    server_ = VardelCatalog::CCatalogServer::Open(file, error);
    ASSERT_TRUE(server_) << error;
}

void CatalogIntegrationTest::TearDownTestSuite() {
    server_.reset();
    folder_.reset();
}

void CatalogIntegrationTest::SetUp() {
    CVardelApp::Instance().AttachBackend(server_);
}

void CatalogIntegrationTest::TearDown() {
    CVardelApp::Instance().AttachBackend(nullptr);
}

Vardel::CContext CatalogIntegrationTest::Context(Vardel::BrowsingStructureType type,
                                                 const std::list<std::wstring>& libraries,
                                                 const Vardel::FilterStruct& filter,
                                                 const std::wstring& language,
                                                 const std::wstring& user) {
    Vardel::SSecurityContext security;
    security.text1 = user;
    Vardel::CContext context;
    const std::wstring path = storage().wstring();
    EXPECT_EQ(S_OK,
              context.Initialize(type, &libraries, &filter, language, &security, path.c_str()));
    return context;
}

std::vector<std::wstring> CatalogIntegrationTest::Names(const Vardel::CContext& context,
                                                        const std::vector<Vardel::CBrowseId>& ids,
                                                        bool folders) {
    std::vector<Vardel::ReturnValue> values;
    const std::vector<std::wstring> keys = {folders ? Vardel::Constants::FLD_DISPLAYNAME
                                                    : Vardel::Constants::FAM_DISPLAYNAME};
    const HRESULT status = folders ? Vardel::GetFoldersProperties(&context, ids, keys, values)
                                   : Vardel::GetItemsProperties(&context, ids, keys, values);
    EXPECT_EQ(S_OK, status);
    std::vector<std::wstring> names;
    for (const Vardel::ReturnValue& value : values) {
        names.push_back(value.IsValid() ? static_cast<const wchar_t*>(value) : L"<none>");
    }
    return names;
}

}  // namespace VardelCatalogTest
