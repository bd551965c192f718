#include "wordgames/IDict.h"

#include <array>
#include <string_view>
#include <utility>

#include "platform/BinaryFile.h"
#include "platform/CodePage.h"
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
// 4 ignored bytes. A record cut by the end of the file yields what is there.
class RecordReader {
public:
    explicit RecordReader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    bool AtEnd() const { return at_ >= bytes_.size(); }
    std::string_view Next() {
        Skip(4);
        size_t length = Byte();
        length |= Byte() << 8;
        const size_t start = at_;
        Skip(length);
        const std::string_view text(reinterpret_cast<const char*>(bytes_.data()) + start, at_ - start);
        Skip(4);
        return text;
    }

private:
    size_t Byte() { return AtEnd() ? 0 : bytes_[at_++]; }
    void Skip(size_t n) { at_ = n < bytes_.size() - at_ ? at_ + n : bytes_.size(); }

    const std::vector<uint8_t>& bytes_;
    size_t at_ = 0;
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
    std::vector<uint8_t> bytes;
    std::vector<std::u16string> words;
    const size_t slots = count > 0 ? static_cast<size_t>(count) : 0;
    const bool read =
        platform::IsPlainFile(path) && platform::ReadBinaryFile(path, kMaxFileBytes, bytes) == platform::ReadResult::Ok;
    if (read) words = UsableWords(bytes, slots);
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
// before anything is converted, and the conversions that find unassigned characters are
// bounded, so a damaged file costs little more than reading it.
std::vector<std::u16string> IDict::UsableWords(const std::vector<uint8_t>& bytes, size_t slots) const {
    std::vector<std::u16string> words;
    RecordReader reader(bytes);
    size_t refused = 0;
    while (!reader.AtEnd() && words.size() < slots && refused < kMaxRefusedConversions) {
        const std::string_view text = reader.Next();
        if (text.empty() || text[0] == '{' || text.size() > 2 * longestWord_) continue;
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
