// Icon groups of program files: named and numbered groups of PE32 and PE32+
// files built byte by byte, the image picked for an icon, and hostile files
// (bad headers, resource directories that lie, loop or point outside the
// file), each with its documented result and messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>

#include "images/image_builders.h"
#include "images/test_hooks.h"
#include "support/temp_folder.h"
#include "vardel/icons.h"

namespace {

using namespace ImagesTest;

const Bytes kSmall = IconImage(16, 16, 4, 1);
const Bytes kMiddle = IconImage(32, 32, 8, 2);
const Bytes kLarge = IconImage(48, 48, 32, 3);

std::vector<Resource> Resources() {
    return {{14, L"APP", IconGroup({kSmall, kMiddle, kLarge}, 1)},
            {3, std::uint16_t{1}, kSmall},
            {3, std::uint16_t{2}, kMiddle},
            {3, std::uint16_t{3}, kLarge},
            {14, std::uint16_t{7}, IconGroup({kLarge}, 3)}};
}

// A numeric name passed in the pointer itself.
const wchar_t* IdName(std::uintptr_t id) {
    return reinterpret_cast<const wchar_t*>(id);
}

std::size_t OffsetOf(const Bytes& file, const Bytes& part) {
    return static_cast<std::size_t>(
        std::search(file.begin(), file.end(), part.begin(), part.end()) - file.begin());
}

Bytes ImageBytesOf(const ICONRESOURCE& record, std::size_t index) {
    const ICONIMAGE& image = *(record.Images + index);
    return Bytes(image.Bits, image.Bits + image.NumBytes);
}

class PeIconsTest : public ::testing::Test {
  protected:
    std::wstring Write(const Bytes& bytes) const {
        VardelTest::WriteBytes(folder_.path() / "module.dll", bytes);
        return (folder_.path() / "module.dll").wstring();
    }

    CIcons icons_;
    TempFolder folder_;
};

TEST_F(PeIconsTest, ReadsNamedAndNumberedGroupsOfBothFormats) {
    for (const bool pe32Plus : {false, true}) {
        SCOPED_TRACE(pe32Plus ? "PE32+" : "PE32");
        const std::wstring path = Write(PeFile(pe32Plus, Resources()));
        const Record named(icons_.ReadIconFromEXEFile(path.c_str(), L"app"));
        ASSERT_TRUE(named);
        EXPECT_EQ(std::wstring(named->ModuleFileName), path);
        EXPECT_EQ(std::wstring(named->IcoFileName), L"");
        ASSERT_EQ(named->ImageCount, 3u);
        EXPECT_EQ(ImageBytesOf(*named, 0), kSmall);
        EXPECT_EQ(ImageBytesOf(*named, 2), kLarge);
        EXPECT_EQ((named->Images + 1)->Width, 32u);
        // The group written as an ICO file is the file of its images.
        const std::wstring ico = (folder_.path() / "app.ico").wstring();
        ASSERT_EQ(icons_.WriteIconToICOFile(named.get(), ico.c_str()), 1);
        EXPECT_EQ(VardelTest::ReadBytes(ico), IcoFile({kSmall, kMiddle, kLarge}));
        // The file is replaced through a temporary that the rename removed.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()), {}), 2);

        for (const wchar_t* name : {L"#7", IdName(7)}) {
            const Record numbered(icons_.ReadIconFromEXEFile(path.c_str(), name));
            ASSERT_TRUE(numbered);
            ASSERT_EQ(numbered->ImageCount, 1u);
            EXPECT_EQ(ImageBytesOf(*numbered, 0), kLarge);
        }
    }
}

TEST_F(PeIconsTest, ListsGroupsByTheNamesTheReaderTakes) {
    std::vector<Resource> resources = Resources();
    resources.push_back({14, std::uint16_t{7}, IconGroup({kSmall}, 1), 0x407});
    resources.push_back({14, L"Tool Ä", IconGroup({kSmall}, 1)});
    for (const bool pe32Plus : {false, true}) {
        const std::wstring path = Write(PeFile(pe32Plus, resources));
        std::vector<std::wstring> groups{L"stale"};
        ASSERT_EQ(icons_.ListIconGroups(path.c_str(), groups), 1);
        // Texts first, then ids; a group in two languages is listed once.
        EXPECT_EQ(groups, (std::vector<std::wstring>{L"APP", L"Tool Ä", L"#7"}));
        for (const std::wstring& group : groups) {
            EXPECT_NE(Record(icons_.ReadIconFromEXEFile(path.c_str(), group.c_str())), nullptr);
        }
    }
    std::vector<std::wstring> groups{L"stale"};
    ASSERT_EQ(icons_.ListIconGroups(Write(PeFile(false, {{3, std::uint16_t{1}, kSmall}})).c_str(),
                                    groups),
              1);
    EXPECT_TRUE(groups.empty());
}

TEST_F(PeIconsTest, TheFirstLanguageOfAGroupIsRead) {
    std::vector<Resource> resources = Resources();
    resources.push_back({14, std::uint16_t{7}, IconGroup({kSmall}, 1), 0x407});
    const Record record(icons_.ReadIconFromEXEFile(Write(PeFile(false, resources)).c_str(), L"#7"));
    ASSERT_TRUE(record);
    EXPECT_EQ(ImageBytesOf(*record, 0), kSmall);
}

TEST_F(PeIconsTest, TheIconPicksTheNearestSizeThenTheMostColours) {
    const Bytes small32 = IconImage(16, 16, 32, 4);
    const Bytes middle4 = IconImage(32, 32, 4, 5);
    const Bytes middle32 = IconImage(32, 32, 32, 6);
    const std::wstring path =
        Write(PeFile(true, {{14, L"A", IconGroup({small32, middle4, middle32}, 1)},
                            {14, L"B", IconGroup({kSmall, kLarge}, 4)},
                            {3, std::uint16_t{1}, small32},
                            {3, std::uint16_t{2}, middle4},
                            {3, std::uint16_t{3}, middle32},
                            {3, std::uint16_t{4}, kSmall},
                            {3, std::uint16_t{5}, kLarge}}));
    const HICON a = icons_.GetIconFromInstance(path.c_str(), L"A");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->Width, 32u);
    // The top-left pixel is the first of the last stored row: pattern bytes
    // 134 to 137 (blue, green, red, alpha), the alpha its own.
    EXPECT_EQ(Slice(a->Rgba, 0, 4), (Bytes{136, 135, 134, 137}));
    // 16 and 48 are as far from 32: the 32-bit 48 x 48 image wins.
    const HICON b = icons_.GetIconFromInstance(path.c_str(), L"b");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->Width, 48u);
    EXPECT_FALSE(icons_.GetIconFromInstance(path.c_str(), L"C"));
    EXPECT_FALSE(icons_.GetIconFromInstance(path.c_str(), nullptr));
    EXPECT_FALSE(icons_.GetIconFromInstance((folder_.path() / "none").wstring().c_str(), L"A"));
}

struct BadModule {
    const char* name;
    std::function<void(Bytes&)> mutate;
    std::vector<std::wstring> texts;
};

const std::wstring kNotProgram =
    L"Error when loading a file - Please select a WIN32 DLL or EXE file!";

// Resource directory of Resources(), from the section start: root 0, type
// directories 32 (icons) and 72 (groups, entry "APP" at 88), name
// directories from 104 ("APP" at 176, its language entry at 192), data
// entries from 224 ("APP" at 272).
constexpr std::size_t kRsrc = PeLayout::kResources;

std::vector<BadModule> BadModules() {
    const Bytes group = IconGroup({kSmall, kMiddle, kLarge}, 1);
    return {
        {"empty file", [](Bytes& b) { b.clear(); }, {kNotProgram}},
        {"not MZ", [](Bytes& b) { b[0] = 'X'; }, {kNotProgram}},
        {"PE header past the end",
         [](Bytes& b) { PutU32(b, 0x3C, static_cast<std::uint32_t>(b.size())); },
         {kNotProgram}},
        {"no PE signature", [](Bytes& b) { b[0x41] = 'X'; }, {kNotProgram}},
        {"unknown optional header",
         [](Bytes& b) { PutU16(b, PeLayout::kOptionalHeader, 0x10C); },
         {kNotProgram}},
        {"65535 sections", [](Bytes& b) { PutU16(b, 0x46, 0xFFFF); }, {kNotProgram}},
        {"optional header too small", [](Bytes& b) { PutU16(b, 0x54, 64); }, {kNotProgram}},
        {"no resource directory",
         [](Bytes& b) { PutU32(b, PeLayout::ResourceDirectoryEntry(false), 0); },
         {}},
        {"two data directories",
         [](Bytes& b) { PutU32(b, PeLayout::kOptionalHeader + 92, 2); },
         {}},
        {"resources outside every section",
         [](Bytes& b) { PutU32(b, PeLayout::ResourceDirectoryEntry(false), 0x9000); },
         {}},
        {"resource size 0",
         [](Bytes& b) { PutU32(b, PeLayout::ResourceDirectoryEntry(false) + 4, 0); },
         {}},
        {"section past the end of the file",
         [](Bytes& b) { PutU32(b, PeLayout::SectionTable(false) + 20, 0x7FFFFFFF); },
         {}},
        {"group type points past the directory",
         [](Bytes& b) { PutU32(b, kRsrc + 28, 0x80000000u | 0x7FFFFFF0u); },
         {}},
        {"group type loops to the root", [](Bytes& b) { PutU32(b, kRsrc + 28, 0x80000000u); }, {}},
        {"group type names data", [](Bytes& b) { PutU32(b, kRsrc + 28, 72); }, {}},
        {"name text past the directory",
         [](Bytes& b) { PutU32(b, kRsrc + 88, 0x80000000u | 0x7FFFFFFFu); },
         {}},
        {"root count past the directory",
         [](Bytes& b) {
             PutU32(b, kRsrc + 24, 15);
             PutU16(b, kRsrc + 14, 0xFFFF);
         },
         {}},
        {"no group names", [](Bytes& b) { PutU32(b, kRsrc + 72 + 12, 0); }, {}},
        {"language names a directory",
         [](Bytes& b) { PutU32(b, kRsrc + 196, 0x80000000u | 224u); },
         {}},
        {"data past the file", [](Bytes& b) { PutU32(b, kRsrc + 272, 0x7FFFFFFF); }, {}},
        {"data size past the section", [](Bytes& b) { PutU32(b, kRsrc + 276, 0x10000); }, {}},
        {"group count past its bytes",
         [group](Bytes& b) { PutU16(b, OffsetOf(b, group) + 4, 4); },
         {}},
        {"group names a missing icon",
         [group](Bytes& b) { PutU16(b, OffsetOf(b, group) + 6 + 14 + 12, 99); },
         {}},
        {"malformed icon image",
         [](Bytes& b) { PutU32(b, OffsetOf(b, kMiddle), 12); },
         {L"Error when transforming to inner format of an icon!"}},
    };
}

TEST_F(PeIconsTest, BadModulesGiveNullWithTheirMessages) {
    const Bytes valid = PeFile(false, Resources());
    for (const BadModule& bad : BadModules()) {
        SCOPED_TRACE(bad.name);
        Bytes bytes = valid;
        bad.mutate(bytes);
        const std::wstring path = Write(bytes);
        MessageLog log;
        EXPECT_EQ(icons_.ReadIconFromEXEFile(path.c_str(), L"APP"), nullptr);
        EXPECT_EQ(log.Texts(), bad.texts);
        if (!log.messages.empty()) {
            EXPECT_EQ(log.messages[0].first, path);
        }
        EXPECT_FALSE(icons_.GetIconFromInstance(path.c_str(), L"APP"));
        // Listing a hostile file's groups is bounded too; only a file that
        // is not a program file fails.
        std::vector<std::wstring> groups;
        EXPECT_EQ(icons_.ListIconGroups(path.c_str(), groups),
                  bad.texts == std::vector<std::wstring>{kNotProgram} ? 0 : 1);
    }
}

TEST_F(PeIconsTest, MissingFilesNamesAndMemory) {
    const std::wstring path = Write(PeFile(false, Resources()));
    MessageLog log;
    EXPECT_EQ(icons_.ReadIconFromEXEFile(path.c_str(), nullptr), nullptr);
    EXPECT_EQ(icons_.ReadIconFromEXEFile(path.c_str(), L"MISSING"), nullptr);
    EXPECT_EQ(icons_.ReadIconFromEXEFile(path.c_str(), L"#70000"), nullptr);
    EXPECT_EQ(icons_.ReadIconFromEXEFile(path.c_str(), IdName(8)), nullptr);
    EXPECT_TRUE(log.messages.empty());
    const std::wstring missing = (folder_.path() / "missing.exe").wstring();
    EXPECT_EQ(icons_.ReadIconFromEXEFile(missing.c_str(), L"APP"), nullptr);
    EXPECT_EQ(icons_.ReadIconFromEXEFile(missing.c_str(), nullptr), nullptr);
    EXPECT_EQ(log.Texts(), std::vector<std::wstring>(2, kNotProgram));
    log.messages.clear();
    for (int failing : {1, 2}) {
        FailingAllocation failure(failing);
        EXPECT_EQ(icons_.ReadIconFromEXEFile(path.c_str(), L"APP"), nullptr);
    }
    EXPECT_EQ(log.Texts(), std::vector<std::wstring>(2, L"Error when allocating memory!"));
    FailingAllocation failure(3);
    EXPECT_EQ(icons_.ReadIconFromEXEFile(path.c_str(), L"APP"), nullptr);
    EXPECT_EQ(log.messages.size(), 2u);
}

}  // namespace
