// The eight course files parse with the word record layout and hold enough
// plain words for the games.
#include "PackReader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

struct Course {
    const char* key;
    int count;
};
constexpr Course Courses[] = {{"Grade", 900}, {"Middle", 1731}, {"High", 2738}, {"4W", 4543},
                              {"6W", 2088},   {"GMAT", 2435},   {"GRE", 6676},  {"TOEFL", 3472}};

struct Parsed {
    std::vector<std::string> records;
    bool clean = true;  // the last record ends exactly at the end of the file
};

// Records: 4 ignored bytes, uint16 LE length, text, 4 ignored bytes.
Parsed parse(const std::vector<unsigned char>& b) {
    Parsed p;
    size_t at = 0;
    while (at < b.size()) {
        if (at + 6 > b.size()) {
            p.clean = false;
            break;
        }
        const size_t n = b[at + 4] | (b[at + 5] << 8);
        if (at + 6 + n + 4 > b.size()) {
            p.clean = false;
            break;
        }
        p.records.emplace_back(reinterpret_cast<const char*>(&b[at + 6]), n);
        at += 6 + n + 4;
    }
    return p;
}

std::vector<unsigned char> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

bool plain(const std::string& w) {
    if (w.size() < 2 || w.size() > 12) return false;
    for (char c : w)
        if (c < 'a' || c > 'z') return false;
    return true;
}

double meanLength(const std::vector<std::string>& words) {
    double sum = 0;
    for (const auto& w : words) sum += w.size();
    return words.empty() ? 0 : sum / words.size();
}

TEST(CourseDictionaries, ParseAndHoldEnoughPlainWords) {
    std::vector<double> lengths;
    for (const Course& c : Courses) {
        SCOPED_TRACE(c.key);
        const std::vector<unsigned char> bytes =
            readFile(distPath(std::string("Data/English/T_WORD/Dictionary/") + c.key + ".ID"));
        ASSERT_FALSE(bytes.empty());
        const Parsed p = parse(bytes);
        EXPECT_TRUE(p.clean) << "file ends inside a record";
        std::vector<std::string> words;
        int markers = 0;
        for (const auto& r : p.records) {
            if (!r.empty() && r[0] == '{') {
                ++markers;
                continue;
            }
            EXPECT_TRUE(plain(r)) << "'" << r << "'";
            words.push_back(r);
        }
        EXPECT_GE(static_cast<int>(words.size()), c.count);
        EXPECT_GT(markers, 0) << "no '{' records for readers to skip";
        EXPECT_EQ(std::set<std::string>(words.begin(), words.end()).size(), words.size()) << "repeated words";
        // Among the first `count` words (all a game keeps) there are enough
        // different first letters for the frog game's rows.
        std::set<char> initials;
        for (int i = 0; i < c.count && i < static_cast<int>(words.size()); ++i) initials.insert(words[i][0]);
        EXPECT_GE(initials.size(), 15u);
        lengths.push_back(meanLength(words));
    }
    // Harder courses use longer words: GRE beyond the primary-school course.
    ASSERT_EQ(lengths.size(), 8u);
    EXPECT_GT(lengths[6], lengths[0] + 1.0);
}

}  // namespace
