// The race texts: at least 15 files, each one printable-ASCII line that the
// race reads whole (at most 1024 characters), named without extra dots.
#include "PackReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

TEST(RaceTexts, AreSingleLinesOfPrintableAscii) {
    namespace fs = std::filesystem;
    const fs::path dir = distPath("Data/English/E_General");
    ASSERT_TRUE(fs::is_directory(dir));
    int count = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".txt") continue;
        ++count;
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        EXPECT_EQ(name.find('.'), name.size() - 4) << "the list shows names up to the first dot";
        std::ifstream in(entry.path(), std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), {});
        if (!text.empty() && text.back() == '\n') text.pop_back();
        EXPECT_GE(text.size(), 200u);
        EXPECT_LE(text.size(), 1000u);
        for (char c : text) EXPECT_TRUE(c >= 32 && c <= 126) << "character " << static_cast<int>(c);
        EXPECT_NE(text.back(), ' ') << "trailing spaces are cut by the race";
        EXPECT_NE(text.front(), ' ');
    }
    EXPECT_GE(count, 15);
}

}  // namespace
