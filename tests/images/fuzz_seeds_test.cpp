// The fuzz corpus of the images readers starts from valid files: each seed
// reads whole through the reader its format names, so the fuzzer mutates
// files that reach deep into every reader.
#include <gtest/gtest.h>

#include <filesystem>

#include "images/dib.h"
#include "images/test_hooks.h"
#include "vardel/icons.h"

namespace {

TEST(FuzzSeeds, EverySeedIsAValidFileOfItsFormat) {
    CIcons icons;
    ImagesTest::MessageLog log;
    std::size_t seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(VARDEL_IMAGES_SEEDS)) {
        SCOPED_TRACE(entry.path().string());
        const std::wstring path = entry.path().wstring();
        const std::string extension = entry.path().extension().string();
        ++seeds;
        if (extension == ".ico" || extension == ".dll") {
            const ImagesTest::Record record(extension == ".ico"
                                                ? icons.ReadIconFromICOFile(path.c_str())
                                                : icons.ReadIconFromEXEFile(path.c_str(), L"APP"));
            ASSERT_TRUE(record);
            EXPECT_GT(record->ImageCount, 0u);
        } else {
            EXPECT_EQ(extension, ".bmp");
            EXPECT_TRUE(CDib::ReadBMPFile(path.c_str()));
        }
    }
    EXPECT_EQ(seeds, 10u);
    EXPECT_TRUE(log.messages.empty());
}

}  // namespace
