#include "police/RaceTextList.h"

#include "platform/CodePage.h"
#include "platform/FolderListing.h"
#include "police/TextFolder.h"

RaceTextList::RaceTextList() : entries_(1), files_(1) {}

void RaceTextList::Load(const TextFolder& folder) {
    entries_.assign(1, std::u16string());
    files_.assign(1, std::string());
    size_t next = 0;
    for (const std::string& name : folder.TxtFileNames()) {
        const std::string stem = name.substr(0, name.find('.'));
        if (next == entries_.size()) {
            entries_.emplace_back();
            files_.emplace_back();
        }
        entries_[next] = platform::FromAnsi(stem);
        files_[next] = platform::SameIgnoringCase(name, stem + ".txt") ? name : stem + ".txt";
        ++next;
    }
}

int32_t RaceTextList::Hit(int32_t x, int32_t y) const {
    if (x < kListX) return TextListID;
    if (y <= kFirstRowY) return 0;
    const int32_t i = (y - kFirstRowY) / kRowHeight;
    if (i > LastIndex()) return LastIndex();
    if (i > kLastRow) return kLastRow;
    return i;
}

std::u16string RaceTextList::ReadChosen(const TextFolder& folder) const {
    if (TextListID >= files_.size() || entries_[TextListID].empty()) return {};
    std::string line;
    if (!folder.ReadFirstLine(files_[TextListID], line)) return {};
    return FitLine(line);
}

std::u16string RaceTextList::FitLine(const std::string& ansiLine) {
    std::u16string text = platform::FromAnsi(ansiLine);
    if (text.size() > kMaxLine) text.resize(kMaxLine);
    // Control characters (a NUL too) would end or garble the drawn line: they read as spaces.
    for (char16_t& c : text) {
        if (c < 0x20 || c == 0x7F) c = u' ';
    }
    const size_t end = text.find_last_not_of(u' ');
    text.resize(end == std::u16string::npos ? 0 : end + 1);
    return text;
}
