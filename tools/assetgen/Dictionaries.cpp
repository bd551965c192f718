#include "Dictionaries.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>

namespace assetgen {

const std::vector<Course>& courses() {
    // Harder courses draw on larger (rarer) SCOWL sizes and longer words.
    static const std::vector<Course> table = {
        {"Grade", 900, {10}, 2, 7},         {"Middle", 1731, {10, 20}, 2, 9}, {"High", 2738, {20, 35}, 3, 10},
        {"4W", 4543, {35}, 3, 11},          {"6W", 2088, {40, 50}, 4, 12},    {"GMAT", 2435, {50, 55}, 5, 12},
        {"GRE", 6676, {55, 60, 70}, 5, 12}, {"TOEFL", 3472, {40, 50}, 4, 12},
    };
    return table;
}

namespace {

bool plainWord(const std::string& w, int minLen, int maxLen) {
    if (static_cast<int>(w.size()) < minLen || static_cast<int>(w.size()) > maxLen) return false;
    return std::all_of(w.begin(), w.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

uint64_t fnv1a(const std::string& s, const char* salt) {
    uint64_t h = 1469598103934665603ull;
    for (const char* p = salt; *p; ++p) h = (h ^ static_cast<unsigned char>(*p)) * 1099511628211ull;
    for (char c : s) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return h;
}

void put32(std::vector<unsigned char>& v, uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<unsigned char>(x >> (8 * i)));
}

void putRecord(std::vector<unsigned char>& v, uint32_t id, const std::string& text) {
    put32(v, id);
    v.push_back(static_cast<unsigned char>(text.size() & 0xFF));
    v.push_back(static_cast<unsigned char>(text.size() >> 8));
    v.insert(v.end(), text.begin(), text.end());
    put32(v, 0);
}

}  // namespace

std::vector<std::string> chooseWords(const Course& course, const std::string& scowlDir) {
    std::set<std::string> pool;
    for (int size : course.sizes) {
        const std::string path = scowlDir + "/english-words." + std::to_string(size);
        std::ifstream in(path);
        if (!in) throw std::runtime_error("missing word list " + path);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (plainWord(line, course.minLength, course.maxLength)) pool.insert(line);
        }
    }
    // A little more than the course asks for, picked by a salted hash so each
    // course gets its own stable selection, then listed alphabetically.
    const size_t wanted = static_cast<size_t>(course.wordCount) + static_cast<size_t>(course.wordCount) / 20 + 8;
    if (pool.size() < wanted) throw std::runtime_error(std::string("too few words for ") + course.key);
    std::vector<std::string> words(pool.begin(), pool.end());
    std::stable_sort(words.begin(), words.end(), [&](const std::string& a, const std::string& b) {
        return fnv1a(a, course.key) < fnv1a(b, course.key);
    });
    words.resize(wanted);
    std::sort(words.begin(), words.end());
    return words;
}

std::vector<unsigned char> encodeCourse(const std::vector<std::string>& words) {
    std::vector<unsigned char> v;
    uint32_t id = 0;
    char section = 0;
    for (const auto& w : words) {
        if (w[0] != section) {
            section = w[0];
            putRecord(v, 0xFFFFFFFFu, std::string("{") + static_cast<char>(section - 'a' + 'A') + "}");
        }
        putRecord(v, ++id, w);
    }
    return v;
}

void writeDictionaries(const std::string& scowlDir, const std::string& outDir) {
    std::filesystem::create_directories(outDir);
    for (const Course& c : courses()) {
        const std::vector<unsigned char> bytes = encodeCourse(chooseWords(c, scowlDir));
        const std::string path = outDir + "/" + c.key + ".ID";
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw std::runtime_error("cannot write " + path);
    }
    std::printf("assetgen: %zu course dictionaries -> %s\n", courses().size(), outDir.c_str());
}

}  // namespace assetgen
