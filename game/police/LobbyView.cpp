#include "police/LobbyView.h"

#include <algorithm>

#include "engine/GraphicEngine.h"
#include "police/NetEngine.h"
#include "police/PoliceButtons.h"
#include "police/PolicePictures.h"
#include "shell/Globals.h"
#include "widgets/AniButton.h"

namespace {
constexpr uint32_t kTextColor = 0xC1FF;
constexpr uint32_t kSelectedColor = 0xFFFFFF;
constexpr uint32_t kSelectedOutline = 0x2CBE6C;
constexpr uint32_t kSelectedFill = 0x7D0B;
constexpr int32_t kRowLeft = 160;
constexpr int32_t kRowsTop = 136;
constexpr int32_t kRowHeight = 30;
// The selected row's bar stays inside the table's frame (x 190 to 790).
constexpr int32_t kBarLeft = 194;
constexpr int32_t kBarRight = 786;
// Names are cut to what their column shows: in a session row up to the latency column at x 400,
// in the player block up to the status texts at x 200.
constexpr int32_t kSessionNameLeft = 200, kSessionNameRight = 390;
constexpr int32_t kPlayerNameLeft = 50, kPlayerNameRight = 190;

std::u16string Decimal(int32_t value) {
    std::u16string out;
    for (char c : std::to_string(value)) out.push_back(static_cast<char16_t>(c));
    return out;
}
}  // namespace

int32_t LobbyView::RowsShown(int32_t sessionCount) { return std::clamp(sessionCount, 0, kMaxRows); }

int32_t LobbyView::HitSessionRow(int32_t X, int32_t Y, int32_t sessionCount) {
    if (X <= kRowLeft || Y <= kRowsTop) return 0;
    const int32_t row = (Y - kRowsTop) / kRowHeight + 1;
    return std::min(row, RowsShown(sessionCount));
}

int32_t LobbyView::ClampSelection(int32_t selected, int32_t sessionCount) {
    const int32_t rows = RowsShown(sessionCount);
    if (rows < 1) return 0;
    return std::clamp(selected, 1, rows);
}

int32_t LobbyView::PingValue(int32_t row, int32_t user1) { return ((row - 1) * user1) / 10; }

std::optional<platform::Rect> LobbyView::PingBar(int32_t row, int32_t user1) {
    const int32_t right = 548 - PingValue(row, user1);
    if (right <= 452) return std::nullopt;
    return platform::Rect{452, 114 + kRowHeight * row, right, 128 + kRowHeight * row};
}

std::u16string LobbyView::PlayerName(const std::u16string& hostName, const std::u16string& fallback) {
    std::u16string name = hostName.empty() ? fallback : hostName;
    if (name.size() > kMaxNameLength) name.resize(kMaxNameLength);
    return name;
}

LobbyView::LobbyView(const PolicePictures& pictures, const PoliceButtons& buttons)
    : pictures_(pictures), buttons_(buttons) {}

void LobbyView::DrawRowTexts(const NetEngine& net, int32_t row) {
    const auto session = net.GetSession(row);
    if (!session) return;
    const int32_t y = 114 + kRowHeight * row;
    g_Graphic->DrawTextFitted(kSessionNameLeft, y, session->name,
                              platform::Rect{kSessionNameLeft, y, kSessionNameRight, y + kRowHeight});
    g_Graphic->DrawText(400, y, Decimal(PingValue(row, session->user1)) + u"ms");
    g_Graphic->DrawText(600, y, session->currentPlayers == 2 ? u"游戏进行中" : u"可以加入");
}

void LobbyView::DrawLobby(const NetEngine& net, int32_t selectedSession) {
    if (pictures_.Background) g_Graphic->DrawOpaque(0, 0, *pictures_.Background, g_FullScreenRect);
    g_Graphic->SetFont(g_SongFont);
    const int32_t rows = RowsShown(net.GetSessionCount());
    g_Graphic->BeginText();
    g_Graphic->SetTextColor(kTextColor);
    for (int32_t i = 1; i <= rows; ++i) DrawRowTexts(net, i);
    if (net.IsSearching()) g_Graphic->DrawText(200, 114 + kRowHeight * (rows + 1), u"正在查找游戏...");
    g_Graphic->EndText();

    if (selectedSession >= 1 && selectedSession <= rows) {
        const int32_t s = selectedSession;
        g_Graphic->FillBox(kBarLeft, 110 + kRowHeight * s, kBarRight, 132 + kRowHeight * s, kSelectedOutline,
                           kSelectedFill);
        g_Graphic->BeginText();
        g_Graphic->SetTextColor(kSelectedColor);
        DrawRowTexts(net, s);
        g_Graphic->EndText();
    }

    for (int32_t i = 1; i <= rows; ++i) {
        const auto session = net.GetSession(i);
        if (!session) continue;
        if (pictures_.PingBg) g_Graphic->DrawOpaque(450, 112 + kRowHeight * i, *pictures_.PingBg, g_FullScreenRect);
        const auto bar = PingBar(i, session->user1);
        if (bar && pictures_.Ping) g_Graphic->StretchDraw(*bar, *pictures_.Ping, g_FullScreenRect, kCopyWait);
    }

    for (const auto& b : {buttons_.BtnCreate, buttons_.BtnJoin, buttons_.BtnRefresh, buttons_.BtnReturn}) {
        if (b) b->Draw();
    }
}

bool LobbyView::DrawPlayerBlock(const NetEngine& net, bool host) {
    const int32_t count = net.GetPlayerCount();
    g_Graphic->SetFont(g_SongFont);
    g_Graphic->BeginText();
    g_Graphic->SetTextColor(kTextColor);
    g_Graphic->DrawText(20, 450, u"当前接入用户:");
    for (int32_t i = 1; i <= count; ++i) {
        const int32_t y = 450 + 20 * i;
        g_Graphic->DrawTextFitted(kPlayerNameLeft, y, net.GetPlayerName(i),
                                  platform::Rect{kPlayerNameLeft, y, kPlayerNameRight, y + 20});
    }
    g_Graphic->DrawText(200, 450, u"当前接入数：" + Decimal(count));
    bool hostPresent = true;
    if (net.IsJoining()) {
        g_Graphic->DrawText(200, 490, u"正在加入游戏...");
    } else if (host) {
        g_Graphic->DrawText(200, 490, count < 2 ? u"等待用户加入" : u"可以开始游戏了");
    } else if (count == 2) {
        g_Graphic->DrawText(200, 490, u"等待服务器开始");
    } else {
        hostPresent = false;
    }
    g_Graphic->EndText();
    return hostPresent;
}
