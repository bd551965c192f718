#include "menu/RecordsScreen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "engine/GraphicEngine.h"
#include "menu/SwitchBoard.h"
#include "platform/KeyMap.h"
#include "results/ResultBook.h"
#include "shell/Globals.h"
#include "widgets/AniButton.h"
#include "widgets/MouseRouting.h"

namespace {

struct Tab {
    const char* game;
    const char16_t* label;
};
// In the order of the menu's buttons.
constexpr Tab kTabs[RecordsScreen::kGames] = {
    {"race", u"警察抓小偷"}, {"space", u"太空大战"}, {"mole", u"打地鼠"}, {"frog", u"青蛙过河"}, {"apple", u"接苹果"}};

constexpr int32_t kKeyLeft = 37;
constexpr int32_t kKeyRight = 39;

// Colours as 0xBBGGRR.
constexpr uint32_t kInk = 0x202020;
constexpr uint32_t kPage = 0x96E2FF;   // the menu's warm orange-yellow
constexpr uint32_t kPanel = 0xF4FCFF;  // cream
constexpr uint32_t kTabOn = 0x40C0FF;
constexpr uint32_t kSpeedBar = 0xD08040;     // blue
constexpr uint32_t kAccuracyDot = 0x2020D0;  // red
constexpr uint32_t kGrid = 0xC8D0D0;
constexpr uint32_t kNoData = 0xC0C0C0;

constexpr int32_t kTabLeft = 60;
constexpr int32_t kTabTop = 62;
constexpr int32_t kTabWidth = 130;
constexpr int32_t kTabHeight = 30;

// The chart's plot area.
constexpr int32_t kPlotLeft = 90;
constexpr int32_t kPlotRight = 690;
constexpr int32_t kPlotTop = 130;
constexpr int32_t kPlotBottom = 280;

constexpr int32_t kKeyTop = 366;
constexpr int32_t kKeySize = 29;
constexpr int32_t kKeyStep = 32;

uint32_t Raw(uint32_t bgr) { return platform::Surface::RawFromBgr(bgr); }

std::u16string Ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::u16string Figure(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return Ascii(text);
}

// Green at no misses through yellow to red at a fifth of the presses missed or more.
uint32_t MissColour(const results::KeyCount& k) {
    if (k.presses <= 0) return kNoData;
    const double rate = std::clamp(static_cast<double>(k.misses) / k.presses / 0.2, 0.0, 1.0);
    const auto red = static_cast<uint32_t>(rate < 0.5 ? 80 + rate * 2 * 175 : 255);
    const auto green = static_cast<uint32_t>(rate < 0.5 ? 200 : 200 - (rate - 0.5) * 2 * 170);
    return (60u << 16) | (green << 8) | red;
}

bool InTab(int32_t X, int32_t Y, int32_t& index) {
    if (Y < kTabTop || Y >= kTabTop + kTabHeight || X < kTabLeft) return false;
    index = (X - kTabLeft) / kTabWidth;
    return index < RecordsScreen::kGames;
}

}  // namespace

std::shared_ptr<RecordsScreen> RecordsScreen::Create() { return std::shared_ptr<RecordsScreen>(new RecordsScreen()); }

RecordsScreen::RecordsScreen() {
    RestoreRes();
    Choose(0);
}

bool RecordsScreen::RestoreRes() {
    btnBack_ = AniButton::Create([this] { BackToMenu(); });
    btnBack_->SetPicture("MAIN_DLG_REPLAY", 3, false);
    btnBack_->Left = 680;
    btnBack_->Top = 548;
    return true;
}

void RecordsScreen::Choose(int32_t index) {
    chosen_ = (index % kGames + kGames) % kGames;
    // A result just handed in reaches the file first, unless another program holds the file:
    // then the records show what it holds.
    results::ResultBook::Drain(std::chrono::milliseconds(500));
    summary_ = results::RecordsSummary::Load(results::ResultBook::HistoryPath(), kTabs[chosen_].game);
}

void RecordsScreen::BackToMenu() { MakeCurrentScreen(SwitchBoard::Create()); }

bool RecordsScreen::UpDateScreen() {
    if (!g_Graphic) return true;
    GraphicEngine& g = *g_Graphic;
    g.Clear(Raw(kPage));
    g.FillBox(40, 104, 760, 340, kInk, Raw(kPanel));
    g.FillBox(40, 350, 760, 538, kInk, Raw(kPanel));
    g.SetFont(g_SongFont);
    g.BeginText();
    g.SetTextColor(kInk);
    g.DrawText(352, 24, u"成绩记录");
    g.EndText();
    DrawTabs();
    DrawChart();
    DrawKeyboard();
    btnBack_->Draw();
    return true;
}

void RecordsScreen::DrawTabs() {
    GraphicEngine& g = *g_Graphic;
    for (int32_t i = 0; i < kGames; ++i) {
        const int32_t x = kTabLeft + i * kTabWidth;
        g.FillBox(x + 2, kTabTop, x + kTabWidth - 2, kTabTop + kTabHeight, kInk, Raw(i == chosen_ ? kTabOn : kPanel));
    }
    g.BeginText();
    g.SetTextColor(kInk);
    for (int32_t i = 0; i < kGames; ++i) {
        const platform::Size size = g.MeasureText(kTabs[i].label);
        g.DrawText(kTabLeft + i * kTabWidth + (kTabWidth - size.cx) / 2, kTabTop + (kTabHeight - size.cy) / 2,
                   kTabs[i].label);
    }
    g.EndText();
}

void RecordsScreen::DrawChart() {
    GraphicEngine& g = *g_Graphic;
    const auto& recent = summary_.recent;
    // The speed scale rounds the best speed up to a multiple of 50.
    const double top = std::max(50.0, std::ceil(summary_.bestSpeed / 50.0) * 50.0);
    for (int32_t line = 0; line <= 4; ++line) {
        const int32_t y = kPlotBottom - (kPlotBottom - kPlotTop) * line / 4;
        g.FillBox(kPlotLeft, y, kPlotRight, y + 1, kGrid, Raw(kGrid));
    }
    const int32_t slot = (kPlotRight - kPlotLeft) / results::RecordsSummary::kChartResults;
    for (size_t i = 0; i < recent.size(); ++i) {
        const int32_t x = kPlotLeft + static_cast<int32_t>(i) * slot;
        const auto bar = static_cast<int32_t>(recent[i].CharsPerMinute() / top * (kPlotBottom - kPlotTop));
        if (bar > 0) g.FillBox(x + 2, kPlotBottom - bar, x + slot - 2, kPlotBottom, kSpeedBar, Raw(kSpeedBar));
        if (recent[i].Keys() == 0) continue;  // no key, no accuracy to show
        const auto dot = static_cast<int32_t>(recent[i].AccuracyPercent() / 100.0 * (kPlotBottom - kPlotTop));
        g.FillBox(x + slot / 2 - 3, kPlotBottom - dot - 3, x + slot / 2 + 3, kPlotBottom - dot + 3, kInk,
                  Raw(kAccuracyDot));
    }
    DrawChartText(top);
}

void RecordsScreen::DrawChartText(double top) {
    GraphicEngine& g = *g_Graphic;
    g.BeginText();
    g.SetTextColor(kInk);
    g.DrawText(48, kPlotTop - 20, u"字/分");
    g.DrawText(48, kPlotTop - 6, Figure("%.0f", top));
    g.DrawText(70, kPlotBottom - 8, u"0");
    g.DrawText(kPlotRight + 8, kPlotTop - 20, u"正确率");
    g.DrawText(kPlotRight + 8, kPlotTop - 6, u"100%");
    g.DrawText(kPlotRight + 8, kPlotBottom - 8, u"0%");
    g.EndText();
    if (!summary_.unreadable.empty()) {
        DrawNotice(100, 186, {u"成绩记录现在无法读取：", Ascii(summary_.unreadable)});
    } else if (summary_.recent.empty()) {
        DrawNotice(300, 196, {u"这个游戏还没有成绩"});
    } else {
        DrawLegend();
    }
}

void RecordsScreen::DrawNotice(int32_t x, int32_t y, std::initializer_list<std::u16string> lines) {
    // The lines stand on a patch of the panel, so no grid line runs through them.
    GraphicEngine& g = *g_Graphic;
    constexpr int32_t kLineHeight = 20;
    int32_t width = 0;
    g.BeginText();  // widths are measured in text mode
    for (const std::u16string& line : lines) width = std::max(width, g.MeasureText(line).cx);
    g.EndText();
    const auto height = static_cast<int32_t>(lines.size()) * kLineHeight;
    g.FillBox(x - 6, y - 2, x + width + 6, y + height + 2, kPanel, Raw(kPanel));
    g.BeginText();
    g.SetTextColor(kInk);
    int32_t at = y;
    for (const std::u16string& line : lines) {
        g.DrawText(x, at, line);
        at += kLineHeight;
    }
    g.EndText();
}

void RecordsScreen::DrawLegend() {
    // The legend's marks are drawn in the colours of the chart.
    GraphicEngine& g = *g_Graphic;
    const std::u16string lead = u"最近 " + Ascii(std::to_string(summary_.recent.size())) + u" 次";
    const std::u16string speed = u"速度";
    g.BeginText();  // widths are measured in text mode
    const int32_t mark = 60 + g.MeasureText(lead).cx + 16;
    const int32_t dot = mark + 16 + g.MeasureText(speed).cx + 16;
    g.EndText();
    g.FillBox(mark, 294, mark + 10, 304, kSpeedBar, Raw(kSpeedBar));
    g.FillBox(dot + 1, 296, dot + 7, 302, kInk, Raw(kAccuracyDot));
    g.BeginText();
    g.SetTextColor(kInk);
    g.DrawText(60, 290, lead);
    g.DrawText(mark + 16, 290, speed);
    g.DrawText(dot + 12, 290, u"正确率");
    g.DrawText(60, 312,
               u"最好：速度 " + Figure("%.0f", summary_.bestSpeed) + u" 字/分  正确率 " +
                   Ascii(results::PercentText(summary_.bestAccuracy)) + u"%      平均：速度 " +
                   Figure("%.0f", summary_.averageSpeed) + u" 字/分  正确率 " +
                   Ascii(results::PercentText(summary_.averageAccuracy)) + u"%");
    g.EndText();
}

void RecordsScreen::DrawKeyboard() {
    GraphicEngine& g = *g_Graphic;
    // The keys as they lie on the keyboard, the space bar below them: races count spaces and
    // punctuation too.
    static const char16_t* const kRows[] = {u"1234567890-=", u"QWERTYUIOP[]", u"ASDFGHJKL;'", u"ZXCVBNM,./"};
    g.BeginText();
    g.SetTextColor(kInk);
    g.DrawText(60, 358, u"按错率（最近 500 次）");
    g.EndText();
    struct Cap {
        int32_t x, y;
        char16_t key;
        int32_t width = kKeySize;
    };
    std::vector<Cap> caps;
    for (int32_t row = 0; row < 4; ++row) {
        const int32_t left = 190 + row * kKeyStep / 3;
        for (int32_t i = 0; kRows[row][i]; ++i)
            caps.push_back({left + i * kKeyStep, kKeyTop + 12 + row * kKeyStep, kRows[row][i]});
    }
    caps.push_back({190 + 3 * kKeyStep, kKeyTop + 12 + 4 * kKeyStep, u' ', 6 * kKeyStep - (kKeyStep - kKeySize)});
    for (const Cap& c : caps)
        g.FillBox(c.x, c.y, c.x + c.width, c.y + kKeySize, kInk, Raw(MissColour(summary_.KeyOnBoard(c.key))));
    // Legend: no data, no misses, a fifth missed or more.
    const results::KeyCount legend[] = {{0, 0, 0}, {0, 10, 0}, {0, 10, 2}};
    const char16_t* const names[] = {u"没有数据", u"0%", u"20% 以上"};
    g.BeginText();
    g.SetTextColor(kInk);
    for (const Cap& c : caps) {
        const std::u16string label = c.key == u' ' ? u"空格" : std::u16string(1, c.key);
        const platform::Size size = g.MeasureText(label);
        g.DrawText(c.x + (c.width - size.cx) / 2, c.y + (kKeySize - size.cy) / 2, label);
    }
    for (int32_t i = 0; i < 3; ++i) g.DrawText(640, 400 + i * 30, names[i]);
    g.EndText();
    for (int32_t i = 0; i < 3; ++i) g.FillBox(614, 398 + i * 30, 632, 414 + i * 30, kInk, Raw(MissColour(legend[i])));
}

bool RecordsScreen::MouseDown(int32_t Button, int32_t X, int32_t Y) {
    int32_t tab = 0;
    if (Button == kLeftButton && InTab(X, Y, tab)) {
        Choose(tab);
        return true;
    }
    MouseRouting::Down(Button, X, Y, btnBack_);
    return true;
}

bool RecordsScreen::MouseUp(int32_t Button, int32_t X, int32_t Y) {
    MouseRouting::Up(Button, X, Y, btnBack_);
    return true;
}

bool RecordsScreen::MouseMove(int32_t X, int32_t Y) {
    MouseRouting::Move(X, Y, btnBack_);
    return true;
}

bool RecordsScreen::KeyDown(int32_t KeyCode, int32_t /*Shift*/) {
    if (KeyCode == platform::kKeyEsc) {
        BackToMenu();
    } else if (KeyCode == kKeyLeft) {
        Choose(chosen_ - 1);
    } else if (KeyCode == kKeyRight) {
        Choose(chosen_ + 1);
    }
    return true;
}
