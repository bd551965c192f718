#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct Course {
    const char* key;
    int wordCount;             // words the game asks for
    std::vector<int> sizes;    // SCOWL list sizes the words come from
    int minLength, maxLength;  // letters
};

const std::vector<Course>& courses();

// Words of a course from the SCOWL lists, chosen deterministically.
std::vector<std::string> chooseWords(const Course& course, const std::string& scowlDir);

// One .ID file: records of (4 ignored bytes, uint16 LE length, text, 4 ignored
// bytes). "{" records head each letter section; readers skip them.
std::vector<unsigned char> encodeCourse(const std::vector<std::string>& words);

void writeDictionaries(const std::string& scowlDir, const std::string& outDir);

}  // namespace assetgen
