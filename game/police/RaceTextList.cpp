#include "police/RaceTextList.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "platform/FolderListing.h"
#include "police/RaceText.h"
#include "police/TextFolder.h"

namespace {

// Typographic punctuation no keyboard key gives, as the key that types its plain form.
std::u16string PlainPunctuation(const std::u16string& text) {
    std::u16string plain;
    plain.reserve(text.size());
    for (const char16_t c : text) {
        if (c == u'\u2018' || c == u'\u2019' || c == u'\u201A' || c == u'\u2032') {
            plain.push_back(u'\'');
        } else if (c == u'\u201C' || c == u'\u201D' || c == u'\u201E' || c == u'\u2033') {
            plain.push_back(u'"');
        } else if (c == u'\u2010' || c == u'\u2011' || c == u'\u2013' || c == u'\u2014' || c == u'\u2212') {
            plain.push_back(u'-');
        } else if (c == u'\u2026') {
            plain.append(u"...");
        } else if (c == u'\u00A0') {
            plain.push_back(u' ');
        } else {
            plain.push_back(c);
        }
    }
    return plain;
}

}  // namespace

RaceTextList::RaceTextList() : entries_(1), files_(1) {}

void RaceTextList::Load(const TextFolder& folder) {
    entries_.assign(1, std::u16string());
    files_.assign(1, std::string());
    first_ = 0;
    size_t next = 0;
    for (const std::string& name : folder.TxtFileNames()) {
        if (next == kMaxEntries) break;
        const std::string stem = name.substr(0, name.rfind('.'));
        // ".txt" alone is a hidden file with no name to list.
        if (stem.empty()) continue;
        const std::string file = platform::SameIgnoringCase(name, stem + ".txt") ? name : stem + ".txt";
        // A file without a line to type would be listed, chosen and then refused by Start.
        std::string line;
        if (!folder.ReadFirstLine(file, line) || FitLine(line).empty()) continue;
        if (next == entries_.size()) {
            entries_.emplace_back();
            files_.emplace_back();
        }
        entries_[next] = platform::FromUtf8OrAnsi(stem);
        files_[next] = file;
        ++next;
    }
}

int32_t RaceTextList::Hit(int32_t x, int32_t y) const {
    if (x < kListX) return TextListID;
    const int32_t row = y <= kFirstRowY ? 0 : std::min((y - kFirstRowY) / kRowHeight, kLastRow);
    return std::min(first_ + row, LastIndex());
}

void RaceTextList::Scroll(int32_t rows) { first_ = std::clamp(first_ + rows, 0, std::max(0, LastIndex() - kLastRow)); }

void RaceTextList::Choose(int32_t index) {
    TextListID = static_cast<uint8_t>(std::clamp(index, 0, LastIndex()));
    if (TextListID < first_) first_ = TextListID;
    if (TextListID > first_ + kLastRow) first_ = TextListID - kLastRow;
}

std::u16string RaceTextList::ReadChosen(const TextFolder& folder) const {
    if (TextListID >= files_.size() || entries_[TextListID].empty()) return {};
    std::string line;
    if (!folder.ReadFirstLine(files_[TextListID], line)) return {};
    return FitLine(line);
}

std::u16string RaceTextList::ChosenNameIfItHolds(const TextFolder& folder, const std::u16string& text) const {
    if (text.empty() || TextListID >= entries_.size() || ReadChosen(folder) != text) return {};
    return entries_[TextListID];
}

std::u16string RaceTextList::FitLine(const std::string& line) {
    std::u16string text = PlainPunctuation(platform::FromUtf8OrAnsi(line));
    if (text.size() > kMaxLine) text.resize(kMaxLine);
    // Control characters (a NUL too) would end or garble the drawn line: they read as spaces.
    // Any other character no key can type would stop the race for good: it reads as one that can.
    for (char16_t& c : text) {
        if (c < 0x20 || c == 0x7F) c = u' ';
    }
    text = RaceText::Typable(std::move(text));
    const size_t end = text.find_last_not_of(u' ');
    text.resize(end == std::u16string::npos ? 0 : end + 1);
    return text;
}
