#include "results/ResultPanel.h"

#include <cstdio>
#include <utility>

#include "engine/GraphicEngine.h"
#include "platform/Surface.h"

namespace results {

namespace {

constexpr uint32_t kInk = 0x202020;
constexpr uint32_t kPaper = 0xE0F8FF;  // BGR: a warm cream
constexpr int32_t kPadding = 8;

std::u16string Ascii(const char* text) {
    std::u16string out;
    for (; *text; ++text) out.push_back(static_cast<char16_t>(*text));
    return out;
}

std::u16string KeyName(char16_t key) {
    if (key == u' ') return u"空格";
    // Letters as the keyboard labels them.
    if (key >= u'a' && key <= u'z') key = static_cast<char16_t>(key - u'a' + u'A');
    return std::u16string(1, key);
}

}  // namespace

std::vector<std::u16string> ResultPanel::Lines(const GameResult& result) {
    char speed[32];
    std::snprintf(speed, sizeof speed, "%.0f", result.CharsPerMinute());
    const std::string accuracy = PercentText(result.AccuracyPercent());
    std::vector<std::u16string> lines;
    // Keys typed in no time (a one-character race text) give no speed.
    lines.push_back(result.HasSpeed() ? u"速度 " + Ascii(speed) + u" 字/分" : std::u16string(u"速度 —"));
    // Without a key there is no accuracy: 0.0% beside "no wrong key" would say two things.
    lines.push_back(result.Keys() > 0 ? u"正确率 " + Ascii(accuracy.c_str()) + u"%" : std::u16string(u"正确率 —"));
    const std::vector<char16_t> missed = result.MostMissed(3);
    if (missed.empty()) {
        lines.emplace_back(u"没有按错的键");
    } else {
        std::u16string keys = u"错得最多的键：";
        for (size_t i = 0; i < missed.size(); ++i) keys += (i ? u"  " : u"") + KeyName(missed[i]);
        lines.push_back(std::move(keys));
    }
    return lines;
}

std::vector<std::u16string> ResultPanel::DialogLines(const GameResult& result) {
    std::vector<std::u16string> lines = Lines(result);
    lines[0] += u"   " + lines[1];
    lines.erase(lines.begin() + 1);
    return lines;
}

void ResultPanel::DrawBoxed(GraphicEngine& graphic, std::shared_ptr<GameFont> font, const GameResult& result, int32_t x,
                            int32_t y, int32_t width) {
    const std::vector<std::u16string> lines = Lines(result);
    const int32_t height = static_cast<int32_t>(lines.size()) * kLineHeight + 2 * kPadding;
    graphic.FillBox(x, y, x + width, y + height, kInk, platform::Surface::RawFromBgr(kPaper));
    graphic.SetFont(std::move(font));
    graphic.BeginText();
    graphic.SetTextColor(kInk);
    for (size_t i = 0; i < lines.size(); ++i)
        graphic.DrawText(x + kPadding, y + kPadding + static_cast<int32_t>(i) * kLineHeight, lines[i]);
    graphic.EndText();
}

}  // namespace results
