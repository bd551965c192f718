#include "wordgames/IDict.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "platform/CodePage.h"
#include "platform/FileReader.h"
#include "platform/FolderListing.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"

namespace {

// Course files are a few hundred kilobytes; anything beyond this is not a course file.
constexpr size_t kMaxFileBytes = 64u << 20;
// Names looked at for a course file whose name differs in case; the pack's folder holds eight.
constexpr size_t kMaxListedFiles = 1000;
// Records of the right form whose characters the code page does not assign: a file with this
// many is damaged, and reading stops.
constexpr size_t kMaxRefusedConversions = 4096;

constexpr std::array<IDict::Course, 8> kCourses = {{{"Grade", 900},
                                                    {"Middle", 1731},
                                                    {"High", 2738},
                                                    {"4W", 4543},
                                                    {"6W", 2088},
                                                    {"GMAT", 2435},
                                                    {"GRE", 6676},
                                                    {"TOEFL", 3472}}};

// Whether `text` is text in the code page of at most `longest` characters. Bytes that no such
// text holds (a control byte, 0x7F, 0xFF) and the bytes above 0x80 (each character of two bytes
// starts with one) are counted without an early exit, so the compiler takes many bytes at a
// time; only a text that may fit by that count is walked character by character.
bool FitsAWord(std::string_view text, size_t longest) {
    unsigned refused = 0;
    size_t high = 0;
    for (const char c : text) {
        const auto b = static_cast<uint8_t>(c);
        refused |=
            static_cast<unsigned>(b < 0x20) | static_cast<unsigned>(b == 0x7F) | static_cast<unsigned>(b == 0xFF);
        high += static_cast<size_t>(b > 0x80);
    }
    if (refused != 0 || text.size() - high > longest) return false;  // at least size - high characters
    if (high == 0) return true;
    const long characters = platform::AnsiTextLength(text);
    return characters >= 0 && static_cast<size_t>(characters) <= longest;
}

// Walks the records of a course file: 4 ignored bytes, a 16-bit little-endian length, the text,
// 4 ignored bytes. A record cut by the end of the file yields what is there. Texts longer than
// `maxTextBytes` are skipped unread: no word is that long.
class RecordReader {
public:
    RecordReader(platform::FileReader& file, size_t maxTextBytes) : file_(file), maxTextBytes_(maxTextBytes) {}
    bool AtEnd() const { return file_.Remaining() == 0; }
    // The next record's text, valid until the next call; false when the record was too long to
    // read.
    bool Next(std::string_view& text) {
        constexpr size_t kHead = 6;
        const std::string_view record = file_.Peek(kHead + maxTextBytes_ + 4);
        if (record.size() < kHead) {  // cut before its text
            file_.Skip(record.size());
            text = {};
            return true;
        }
        const auto low = static_cast<uint8_t>(record[4]);
        const auto high = static_cast<uint8_t>(record[5]);
        const size_t length = static_cast<size_t>(low | high << 8);
        const size_t bytes = std::min(length, file_.Remaining() - kHead);
        // Skip leaves the bytes it passes where they are in the buffer.
        text = bytes > maxTextBytes_ ? std::string_view() : record.substr(kHead, bytes);
        file_.Skip(kHead + bytes + 4);
        return bytes <= maxTextBytes_;
    }

private:
    platform::FileReader& file_;
    const size_t maxTextBytes_;
};

}  // namespace

IDict::IDict(size_t longestWord)
    : baseFolder_(platform::ProgramPath("\\Data\\English\\T_WORD\\Dictionary\\")), longestWord_(longestWord) {}

IDict::Course IDict::CourseAt(int32_t course) {
    if (course < 0 || course >= static_cast<int32_t>(kCourses.size())) return {nullptr, 0};
    return kCourses[static_cast<size_t>(course)];
}

bool IDict::Load(const std::string& key, int32_t count) {
    // Named as the desktop's file system would find it: "4w.id" is the course "4W".
    const std::string found = platform::FindFileIgnoringCase(baseFolder_, key + ".ID", kMaxListedFiles);
    const std::string path = baseFolder_ + (found.empty() ? key + ".ID" : found);
    std::vector<std::u16string> words;
    const size_t slots = count > 0 ? static_cast<size_t>(count) : 0;
    const bool there = !found.empty();
    const auto file = there ? platform::FileReader::Open(path, kMaxFileBytes) : nullptr;
    if (file) words = UsableWords(*file, slots);
    const bool read = file && !file->Failed();
    // A file without one word a game can show is as good as missing, but is not called missing.
    if (!read || (words.empty() && slots > 0)) {
        const char16_t* what = there ? u"数据错误，文件已损坏或无法读取：" : u"数据错误，找不到文件";
        platform::ShowMessageBox(what + platform::FromUtf8OrAnsi(path) + u" 请重新安装数据", u"出错信息");
        return false;
    }
    words.resize(slots);
    words_ = std::move(words);
    count_ = count > 0 ? count : 0;
    return true;
}

// The first `slots` words of the records that a game can show: text in the code page, not
// empty, no "{" heading, no space at either end, at most longestWord_ characters. Records are judged by their bytes
// before anything is converted (those longer than any word are not even read), and the
// conversions that find unassigned characters are bounded, so a damaged file costs little more
// than going through it once.
std::vector<std::u16string> IDict::UsableWords(platform::FileReader& file, size_t slots) const {
    std::vector<std::u16string> words;
    RecordReader reader(file, 2 * longestWord_);
    size_t refused = 0;
    std::string_view text;
    while (!reader.AtEnd() && words.size() < slots && refused < kMaxRefusedConversions) {
        if (!reader.Next(text) || text.empty() || text[0] == '{') continue;
        // A word that starts or ends with a space shows blank, or wants a key the player cannot see.
        if (text.front() == ' ' || text.back() == ' ') continue;
        if (!FitsAWord(text, longestWord_)) continue;
        std::u16string word = platform::FromAnsi(text);
        if (word.find(u'\uFFFD') != std::u16string::npos) {
            ++refused;
            continue;
        }
        words.push_back(std::move(word));
    }
    return words;
}

bool IDict::LoadCourse(int32_t course) {
    const Course c = CourseAt(course);
    return c.key != nullptr && Load(c.key, c.count);
}

std::u16string IDict::WordAt(int32_t index) const {
    if (index < 0 || words_.empty()) return {};
    const size_t slot = static_cast<size_t>(index) < words_.size() ? static_cast<size_t>(index) : words_.size() - 1;
    return words_[slot];
}
