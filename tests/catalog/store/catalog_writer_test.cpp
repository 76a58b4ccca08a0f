// The store writer, read back through the engine: the category tree's
// numbering, parameters and their first category, member values (numbers,
// texts, the column-wide fallback), family names per language, images
// stored once, and the sources it refuses.
#include "store/catalog_writer.h"

#include <gtest/gtest.h>

#include "catalog/support/catalog_builder.h"
#include "catalog/support/test_images.h"
#include "common/base64.h"
#include "source/sha1.h"
#include "store/schema.h"
#include "store/sqlite_database.h"
#include "support/temp_folder.h"

namespace VardelCatalog {
namespace {

using namespace VardelCatalogTest;
using Rows = std::vector<std::string>;

// TestGuid(n) as stored: lower-case text.
std::string GuidText(unsigned n) {
    char text[40];
    std::snprintf(text, sizeof text, "00000000-0000-0000-0000-%012x", n);
    return text;
}

class CatalogWriterTest : public ::testing::Test {
  protected:
    Database& Write(const std::vector<TestLibrary>& libraries) {
        WriteCatalog(folder_.path() / "test.catalog", libraries);
        database_ = OpenSqliteDatabase(folder_.path() / "test.catalog");
        return *database_;
    }

    Rows Query(std::string_view sql, int columns) { return QueryRows(*database_, sql, columns); }

    TempFolder folder_;
    std::unique_ptr<Database> database_;
};

// 1 Fasteners { 2 Screws (hidden) { 3 Hex }, 4 Nuts }, 5 Washers
LibrarySource TreeLibrary() {
    LibrarySource library = Library(L"Lib", 100);
    CategorySource screws = Category(2, L"Screws", {Category(3, L"Hex")});
    screws.hidden = true;
    CategorySource fasteners = Category(1, L"Fasteners", {screws, Category(4, L"Nuts")});
    fasteners.names[L"de-de"] = L"Verbindungselemente";
    fasteners.domain = L"Fasteners";
    library.categories = {fasteners, Category(5, L"Washers")};
    return library;
}

TEST_F(CatalogWriterTest, NumbersTheCategoryTreeInDocumentOrder) {
    Write({{TreeLibrary(), {}}});
    EXPECT_EQ(
        Query("SELECT c.guid, c.position, c.last_position, c.hidden, c.hidden_path,"
              " p.guid, c.domain FROM category c LEFT JOIN category p ON p.id = c.parent_id"
              " ORDER BY c.position",
              7),
        (Rows{GuidText(1) + "|0|3|0|0|NULL|Fasteners",
              GuidText(2) + "|1|2|1|1|" + GuidText(1) + "|",
              GuidText(3) + "|2|2|0|1|" + GuidText(2) + "|",
              GuidText(4) + "|3|3|0|0|" + GuidText(1) + "|", GuidText(5) + "|4|4|0|0|NULL|"}));
    EXPECT_EQ(Query("SELECT n.language, n.name FROM category_name n JOIN category c"
                    " ON c.id = n.category_id WHERE c.position = 0 ORDER BY n.language",
                    2),
              (Rows{"de-de|Verbindungselemente", "en-us|Fasteners"}));
}

TEST_F(CatalogWriterTest, IdsRunOnAcrossLibrariesAndPositionsRestart) {
    TestLibrary first{TreeLibrary(), {Family(10, L"A", {3}), Family(11, L"B", {4})}};
    TestLibrary second{Library(L"Other", 101), {Family(10, L"A again", {7})}};
    second.library.categories = {Category(7, L"Only")};
    first.library.readers = {L"bob", L"alice", L"bob"};
    Write({first, second});
    EXPECT_EQ(Query("SELECT l.name, c.id, c.position FROM category c JOIN library l"
                    " ON l.id = c.library_id WHERE c.guid = '" +
                        GuidText(7) + "'",
                    3),
              Rows{"Other|6|0"});
    EXPECT_EQ(
        Query("SELECT library_id, guid, position FROM family ORDER BY id", 3),
        (Rows{"1|" + GuidText(10) + "|0", "1|" + GuidText(11) + "|1", "2|" + GuidText(10) + "|0"}));
    EXPECT_EQ(Query("SELECT name, restricted FROM library ORDER BY id", 2),
              (Rows{"Lib|1", "Other|0"}));
    EXPECT_EQ(Query("SELECT library_id, user_name FROM library_reader ORDER BY user_name", 2),
              (Rows{"1|alice", "1|bob"}));
}

TEST_F(CatalogWriterTest, ParametersKnowTheFirstCategoryThatListsThem) {
    LibrarySource library = TreeLibrary();
    ParameterSource d = Parameter(20, L"d");
    ParameterSource derived = Parameter(21, L"d2");
    derived.usesDefinition = *Guid::Parse(L"ABCDEF00-0000-0000-0000-00000000000A");
    library.parameters = {d, derived, Parameter(22, L"unused", L"string")};
    // Listed by 5 and 3; 3 comes first in document order.
    library.categories[1].parameters = {TestGuid(20)};
    library.categories[0].children[0].children[0].parameters = {TestGuid(21), TestGuid(20)};
    Write({{library, {}}});
    EXPECT_EQ(Query("SELECT p.guid, p.value_type, p.uses_definition, c.guid FROM parameter p"
                    " LEFT JOIN category c ON c.id = p.parent_category_id ORDER BY p.id",
                    4),
              (Rows{GuidText(20) + "|double||" + GuidText(3),
                    GuidText(21) + "|double|abcdef00-0000-0000-0000-00000000000a|" + GuidText(3),
                    GuidText(22) + "|string||NULL"}));
    EXPECT_EQ(
        Query("SELECT c.guid, p.guid, cp.position FROM category_parameter cp"
              " JOIN category c ON c.id = cp.category_id JOIN parameter p"
              " ON p.id = cp.parameter_id ORDER BY c.position, cp.position",
              3),
        (Rows{GuidText(3) + "|" + GuidText(21) + "|0", GuidText(3) + "|" + GuidText(20) + "|1",
              GuidText(5) + "|" + GuidText(20) + "|0"}));
}

TEST_F(CatalogWriterTest, StoresMemberValuesWithTheirNumbers) {
    LibrarySource library = Library(L"Lib", 100);
    library.parameters = {Parameter(20, L"size", L"string"), Parameter(21, L"d"),
                          Parameter(22, L"l")};
    library.categories = {Category(1, L"Screws")};
    FamilySource family = Family(10, L"Screw", {1});
    // "size" and "d" are mapped, "l" is not; an empty value is none.
    AddTable(family, {L"size", L"d", L"l"}, {20, 21},
             {{L"M8", L"8", L"30"},
              {L"8", L"-1.5e3", L"x"},
              {L"8mm", L"=size*2", L""},
              {L" 8", L"inf", L""},
              {L"", L"nan", L""},
              {L"8 ", L"0.35", L""},
              {L""}});
    Write({{library, {family}}});
    EXPECT_EQ(Query("SELECT m.position, m.row_id, p.guid = '" + GuidText(21) +
                        "', v.text_value, v.number_value FROM member_value v"
                        " JOIN member m ON m.id = v.member_id JOIN parameter p"
                        " ON p.id = v.parameter_id ORDER BY m.position, p.id",
                    5),
              (Rows{"0|r0|0|M8|NULL", "0|r0|1|8|8.0", "1|r1|0|8|8.0", "1|r1|1|-1.5e3|-1500.0",
                    "2|r2|0|8mm|NULL", "2|r2|1|=size*2|NULL", "3|r3|0| 8|8.0", "3|r3|1|inf|NULL",
                    "4|r4|1|nan|NULL", "5|r5|0|8 |NULL", "5|r5|1|0.35|0.35"}));
    EXPECT_EQ(Query("SELECT member_count FROM family", 1), Rows{"7"});
}

// Rows are written in groups of up to 64 per statement: 130 members and
// values span two full groups and a short one.
TEST_F(CatalogWriterTest, StoresLargeTablesAcrossStatementGroups) {
    LibrarySource library = Library(L"Lib", 100);
    library.parameters = {Parameter(20, L"d")};
    library.categories = {Category(1, L"Screws")};
    FamilySource large = Family(10, L"Large", {1});
    std::vector<std::vector<std::wstring>> rows;
    for (int i = 0; i < 130; ++i) {
        rows.push_back({std::to_wstring(i)});
    }
    AddTable(large, {L"d"}, {20}, rows);
    FamilySource small = Family(11, L"Small", {1});
    AddTable(small, {L"d"}, {20}, {{L"7"}});
    Write({{library, {large, small}}});
    EXPECT_EQ(Query("SELECT m.family_id, count(*), min(m.id), max(m.id), min(m.position),"
                    " max(m.position), sum(v.number_value = m.position),"
                    " sum(m.row_id = 'r' || m.position) FROM member m JOIN member_value v"
                    " ON v.member_id = m.id GROUP BY m.family_id ORDER BY m.family_id",
                    8),
              (Rows{"1|130|1|130|0|129|130|130", "2|1|131|131|0|0|0|1"}));
}

TEST_F(CatalogWriterTest, WritesOneNameRowPerLanguageOfNamesOrDescriptions) {
    LibrarySource library = Library(L"Lib", 100);
    library.categories = {Category(1, L"Screws")};
    FamilySource family = Family(10, L"Screw", {1, 1});
    family.displayNames[L"de-de"] = L"Schraube";
    family.descriptions = {{L"de-de", L"Sechskant"}, {L"fr-fr", L"Vis"}};
    family.strings = {{L"de-de", "<S lang='de'/>"}, {L"en-us", "<S/>"}};
    family.isFeature = true;
    family.document = "<Family InternalName='x'>\xc3\xa4</Family>";
    Write({{library, {family}}});
    EXPECT_EQ(Query("SELECT language, display_name, description FROM family_name"
                    " ORDER BY language",
                    3),
              (Rows{"de-de|Schraube|Sechskant", "en-us|Screw|", "fr-fr||Vis"}));
    EXPECT_EQ(Query("SELECT language, document FROM family_strings ORDER BY language", 2),
              (Rows{"de-de|<S lang='de'/>", "en-us|<S/>"}));
    EXPECT_EQ(Query("SELECT f.is_feature, d.document FROM family f JOIN family_document d"
                    " ON d.family_id = f.id",
                    2),
              Rows{"1|" + family.document});
    EXPECT_EQ(Query("SELECT count(*) FROM family_category", 1), Rows{"1"});
}

TEST_F(CatalogWriterTest, NodesKeepTheTextsOfLanguagesWithoutTheirOwn) {
    // The default language's text, else the first language's in byte order
    // that has one, else empty.
    LibrarySource library = Library(L"Lib", 100);
    library.parameters = {Parameter(50, L""), Parameter(51, L"")};
    library.parameters[0].names = {{L"fr-fr", L"Diam\u00e8tre"}, {L"de-de", L"Durchmesser"}};
    library.parameters[1].names.clear();
    library.categories = {Category(1, L"")};
    library.categories[0].names[L"it-it"] = L"Viti";
    FamilySource family = Family(10, L"Screw", {1});
    family.displayNames[L"de-de"] = L"Schraube";
    family.descriptions = {{L"fr-fr", L"Vis"}, {L"en-us", L""}, {L"de-de", L"Sechskant"}};
    Write({{library, {family}}});
    EXPECT_EQ(Query("SELECT name FROM category", 1), Rows{"Viti"});
    EXPECT_EQ(Query("SELECT name FROM parameter ORDER BY id", 1), (Rows{"Durchmesser", ""}));
    EXPECT_EQ(Query("SELECT display_name, description FROM family", 2), Rows{"Screw|Sechskant"});
}

TEST_F(CatalogWriterTest, FinishWritesInfoIndexesAndStatistics) {
    Write({{TreeLibrary(), {}}});
    EXPECT_EQ(Query("SELECT name, value FROM catalog_info ORDER BY name", 2),
              (Rows{"format|" + std::string(kCatalogFormat),
                    "partition|" + std::string(kCatalogPartition)}));
    EXPECT_EQ(Query("SELECT count(*) FROM sqlite_master WHERE type = 'index'"
                    " AND name NOT LIKE 'sqlite_autoindex%'",
                    1),
              Rows{std::to_string(SchemaIndexes().size())});
    EXPECT_EQ(Query("SELECT count(*) > 0 FROM sqlite_master WHERE name = 'sqlite_stat1'", 1),
              Rows{"1"});
    // None for the name tables: with them SQLite reads a whole name table to
    // answer a property request for one node.
    EXPECT_EQ(Query("SELECT count(*) FROM sqlite_stat1"
                    " WHERE tbl IN ('category_name', 'parameter_name', 'family_name')",
                    1),
              Rows{"0"});
    EXPECT_EQ(Query("SELECT count(*) > 0 FROM sqlite_stat1 WHERE tbl = 'category'", 1), Rows{"1"});
}

// Two libraries naming the same PNG from two categories and two families,
// and another image once: two rows, each referred to by id.
TEST_F(CatalogWriterTest, StoresEachDistinctImageOnce) {
    const ImageSource png{"image/png", VardelTestImages::Png(0xABCDEF)};
    const ImageSource bmp{"image/bmp", VardelTestImages::Bmp(0xABCDEF)};
    std::vector<TestLibrary> libraries;
    for (unsigned id : {100u, 101u}) {
        LibrarySource library = Library(L"Lib" + std::to_wstring(id), id);
        library.categories = {Category(1, L"Screws"), Category(2, L"Nuts")};
        library.categories[0].iconImage = png;
        FamilySource screw = Family(10, L"Screw", {1});
        screw.thumbnailImage = id == 100 ? png : bmp;
        libraries.push_back({library, {screw, Family(11, L"Bare", {2})}});
    }
    Write(libraries);
    EXPECT_EQ(
        Query("SELECT id, digest, media_type, data FROM image ORDER BY id", 4),
        (Rows{"1|" + Sha1Hex(png.bytes) + "|image/png|" + VardelCommon::EncodeBase64(png.bytes),
              "2|" + Sha1Hex(bmp.bytes) + "|image/bmp|" + VardelCommon::EncodeBase64(bmp.bytes)}));
    EXPECT_EQ(Query("SELECT name, image_id FROM category ORDER BY id", 2),
              (Rows{"Screws|1", "Nuts|NULL", "Screws|1", "Nuts|NULL"}));
    EXPECT_EQ(Query("SELECT display_name, image_id FROM family ORDER BY id", 2),
              (Rows{"Screw|1", "Bare|NULL", "Screw|2", "Bare|NULL"}));
}

TEST_F(CatalogWriterTest, RefusesReferencesTheLibraryDoesNotDefine) {
    auto database = CreateSqliteDatabase(folder_.path() / "refused.catalog");
    CatalogWriter writer(*database);
    EXPECT_THROW(writer.AddFamily(Family(10, L"Orphan", {1})), DatabaseError);

    LibrarySource library = Library(L"Lib", 100);
    library.categories = {Category(1, L"Screws")};
    library.categories[0].parameters = {TestGuid(99)};
    EXPECT_THROW(writer.AddLibrary(library), DatabaseError);

    library = Library(L"Lib2", 101);
    library.categories = {Category(1, L"Screws")};
    library.parameters = {Parameter(20, L"d")};
    writer.AddLibrary(library);
    EXPECT_THROW(writer.AddFamily(Family(10, L"Elsewhere", {2})), DatabaseError);
    FamilySource unmapped = Family(11, L"Unmapped", {1});
    AddTable(unmapped, {L"d"}, {21}, {{L"1"}});
    EXPECT_THROW(writer.AddFamily(unmapped), DatabaseError);
    FamilySource ragged = Family(12, L"Ragged", {1});
    AddTable(ragged, {L"d"}, {20}, {{L"1"}, {L"2"}});
    ragged.members[1].values.clear();  // no value for the mapped column
    EXPECT_THROW(writer.AddFamily(ragged), DatabaseError);
    writer.AddFamily(Family(13, L"Fine", {1}));
    EXPECT_THROW(writer.AddFamily(Family(13, L"Twice", {1})), DatabaseError);
    EXPECT_THROW(writer.AddLibrary(Library(L"Lib2", 102)), DatabaseError);
}

}  // namespace
}  // namespace VardelCatalog
