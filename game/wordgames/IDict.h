#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {
class FileReader;
}

// The word list of one English course, read from a course file of word records below the
// program's dictionary folder. It keeps at most the number of words the caller says the course
// has, and reports that number as its count.
class IDict {
public:
    // Words longer than `longestWord` characters cannot be shown by the game that reads them.
    static constexpr size_t kLongestWord = 64;
    explicit IDict(size_t longestWord = kLongestWord);

    // Reads base folder + key + ".ID", keeping at most `count` words; records whose word is empty,
    // begins with "{", is longer than the longest word or is not text in the code page are
    // skipped. A missing file, or one without a single word to keep, shows a message box naming
    // it and keeps the old words.
    bool Load(const std::string& key, int32_t count);
    // Loads course 0..7 by its key and word count; any other index changes nothing. False when
    // nothing was loaded.
    bool LoadCourse(int32_t course);

    // The count asked for by the last successful Load (0 before any).
    int32_t Count() const { return count_; }
    // The word in slot `index`; an index past the last slot gives the last slot's word, and a
    // negative index or a dictionary without slots gives the empty word.
    std::u16string WordAt(int32_t index) const;

    const std::string& BaseFolder() const { return baseFolder_; }

    // The file key and word count of course 0..7 (null key otherwise).
    struct Course {
        const char* key;
        int32_t count;
    };
    static Course CourseAt(int32_t course);

private:
    std::vector<std::u16string> UsableWords(platform::FileReader& file, size_t slots) const;

    std::string baseFolder_;
    size_t longestWord_;
    std::vector<std::u16string> words_;
    int32_t count_ = 0;
};
