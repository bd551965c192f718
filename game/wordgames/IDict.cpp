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

// Walks the records of a course file: 4 ignored bytes, a 16-bit little-endian length, the text,
// 4 ignored bytes. A record cut by the end of the file yields what is there. Texts longer than
// `maxTextBytes` are skipped unread: no word is that long.
class RecordReader {
public:
    RecordReader(platform::FileReader& file, size_t maxTextBytes) : file_(file), maxTextBytes_(maxTextBytes) {}
    bool AtEnd() const { return file_.Remaining() == 0; }
    // The next record's text; false when the record was too long to read.
    bool Next(std::string& text) {
        file_.Skip(4);
        uint8_t length[2] = {0, 0};
        file_.Read(length, sizeof length);
        const size_t bytes = std::min(static_cast<size_t>(length[0] | length[1] << 8), file_.Remaining());
        if (bytes > maxTextBytes_) {
            file_.Skip(bytes + 4);
            return false;
        }
        text.resize(bytes);
        file_.Read(text.data(), bytes);
        file_.Skip(4);
        return true;
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
    const std::string path = baseFolder_ + key + ".ID";
    std::vector<std::u16string> words;
    const size_t slots = count > 0 ? static_cast<size_t>(count) : 0;
    const auto file = platform::IsPlainFile(path) ? platform::FileReader::Open(path, kMaxFileBytes) : nullptr;
    if (file) words = UsableWords(*file, slots);
    const bool read = file && !file->Failed();
    // A file without one word a game can show is as good as missing.
    if (!read || (words.empty() && slots > 0)) {
        platform::ShowMessageBox(u"数据错误，找不到文件" + platform::FromUtf8(path) + u" 请重新安装数据", u"出错信息");
        return false;
    }
    words.resize(slots);
    words_ = std::move(words);
    count_ = count > 0 ? count : 0;
    return true;
}

// The first `slots` words of the records that a game can show: text in the code page, not
// empty, no "{" heading, at most longestWord_ characters. Records are judged by their bytes
// before anything is converted (those longer than any word are not even read), and the
// conversions that find unassigned characters are bounded, so a damaged file costs little more
// than going through it once.
std::vector<std::u16string> IDict::UsableWords(platform::FileReader& file, size_t slots) const {
    std::vector<std::u16string> words;
    RecordReader reader(file, 2 * longestWord_);
    size_t refused = 0;
    std::string text;
    while (!reader.AtEnd() && words.size() < slots && refused < kMaxRefusedConversions) {
        if (!reader.Next(text) || text.empty() || text[0] == '{') continue;
        const long characters = platform::AnsiTextLength(text);
        if (characters < 0 || static_cast<size_t>(characters) > longestWord_) continue;
        std::u16string word = platform::FromAnsi(text);
        if (word.find(u'\uFFFD') != std::u16string::npos) {
            ++refused;
            continue;
        }
        words.push_back(std::move(word));
    }
    return words;
}

void IDict::LoadCourse(int32_t course) {
    const Course c = CourseAt(course);
    if (c.key) Load(c.key, c.count);
}

std::u16string IDict::WordAt(int32_t index) const {
    if (index < 0 || words_.empty()) return {};
    const size_t slot = static_cast<size_t>(index) < words_.size() ? static_cast<size_t>(index) : words_.size() - 1;
    return words_[slot];
}
