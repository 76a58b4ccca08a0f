// The family document texts of family_files.h.
#include "family_files.h"

#include <fstream>
#include <sstream>

#include "test_catalog.h"

namespace VardelToolTest {
namespace {

constexpr const char* kBolt = R"(<?xml version="1.0" encoding="UTF-8"?>
<Family InternalName="50000000-0000-0000-0000-000000000001" DisplayName="Hex bolt"
        Description="Test bolt" RevisionId="70000000-0000-0000-0000-000000000001"
        LastModifiedTime="2024-01-01T00:00:00Z" Manufacturer="Acme" StandardsOrg="ISO"
        Standard="ISO 4017" DataTypeCategory="c0e0b642-3bcb-4cc8-9e80-f96d35c4afa4">
  <FamilyTable>
    <Columns>
      <Column ColumnId="size" Title="Size" ValueType="string" KeyWeight="1"/>
      <Column ColumnId="d" Title="Nominal diameter" ValueType="double" UnitType="mm"/>
      <Column ColumnId="l" Title="Length" ValueType="double" UnitType="mm"/>
      <Column ColumnId="dw" Title="Washer" ValueType="double" UnitType="mm" ColumnwideValue="{d}*2"/>
      <Column ColumnId="n" Title="Count" ValueType="integer" Hidden="true"/>
      <Column ColumnId="designation" Title="Designation" ValueType="string"
              ColumnwideValue='"M" &amp; {d} &amp; "x" &amp; {l}'/>
    </Columns>
    <Rows>
      <Row RowId="60000000-0000-0000-0000-000000000001"><Cell ColumnId="size">M6</Cell>
        <Cell ColumnId="d">6</Cell><Cell ColumnId="l">20</Cell><Cell ColumnId="n">2</Cell></Row>
      <Row RowId="60000000-0000-0000-0000-000000000002"><Cell ColumnId="size">M8</Cell>
        <Cell ColumnId="d">8</Cell><Cell ColumnId="l">30</Cell><Cell ColumnId="dw">17</Cell></Row>
      <Row RowId="60000000-0000-0000-0000-000000000003"><Cell ColumnId="size">M10</Cell>
        <Cell ColumnId="d">10</Cell><Cell ColumnId="l">40</Cell></Row>
    </Rows>
  </FamilyTable>
</Family>
)";

constexpr const char* kBoltGerman = R"(<?xml version="1.0" encoding="UTF-8"?>
<FamilyStrings xml:lang="de-DE">
  <DisplayName>Sechskantschraube</DisplayName>
  <Table><ColumnStrings ColumnId="d"><Title>Nenndurchmesser</Title></ColumnStrings></Table>
</FamilyStrings>
)";

constexpr const char* kBoltEnglish = R"(<?xml version="1.0" encoding="UTF-8"?>
<FamilyStrings xml:lang="en-US"><DisplayName>Hex bolt</DisplayName></FamilyStrings>
)";

constexpr const char* kBroken = R"(<?xml version="1.0" encoding="UTF-8"?>
<Family InternalName="50000000-0000-0000-0000-000000000002" DisplayName="Broken">
  <FamilyTable>
    <Columns>
      <Column ColumnId="size" Title="Size" ValueType="string" KeyWeight="1"/>
      <Column ColumnId="d" ValueType="double" UnitType="mm" KeyWeight="2"/>
      <Column ColumnId="n" ValueType="integer"/>
      <Column ColumnId="a" ValueType="double" ColumnwideValue="{b}+1"/>
      <Column ColumnId="b" ValueType="double" ColumnwideValue="{a}+1"/>
      <Column ColumnId="c" ValueType="double" ColumnwideValue="{missing}*2"/>
      <Column ColumnId="e" ValueType="double" ColumnwideValue="{d*2"/>
      <Column ColumnId="f" ValueType="double" UnitType="mm" ColumnwideValue="{d}*2"/>
    </Columns>
    <Rows>
      <Row RowId="r1"><Cell ColumnId="size">M6</Cell><Cell ColumnId="d">6</Cell>
        <Cell ColumnId="n">2.5</Cell></Row>
      <Row RowId="r2"><Cell ColumnId="size">M8</Cell><Cell ColumnId="d">abc</Cell></Row>
      <Row RowId="r3"><Cell ColumnId="size">M8</Cell><Cell ColumnId="d">8</Cell></Row>
      <Row RowId="r4"><Cell ColumnId="size">M8</Cell><Cell ColumnId="d">8</Cell></Row>
    </Rows>
  </FamilyTable>
</Family>
)";

}  // namespace

void FamilyFileTest::SetUp() {
    bolt_ = PathOf("bolt.family.xml");
    broken_ = PathOf("broken.family.xml");
    WriteText(bolt_, kBolt);
    WriteText(PathOf("bolt.strings.de-DE.xml"), kBoltGerman);
    WriteText(PathOf("bolt.strings.en-US.xml"), kBoltEnglish);
    WriteText(broken_, kBroken);
}

std::string FamilyFileTest::PathOf(const std::string& name) const {
    return (folder_.path() / name).string();
}

std::string FamilyFileTest::ReadFile(const std::string& name) const {
    std::ifstream in(folder_.path() / name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

nlohmann::json FamilyFileTest::Json(std::vector<std::string> args) const {
    args.push_back("--json");
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return ParseJson(run);
}

}  // namespace VardelToolTest
