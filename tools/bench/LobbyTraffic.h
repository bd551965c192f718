#pragma once
// The lobby while the network works: a player searches (Refresh), joins a session hosted on
// loopback by the benchmark itself, and leaves again, over and over. Every frame the police game
// draws is timed, whichever loop runs it (the main pump, the wait for a search or a join, the
// session loop), and the intervals are printed per phase: searching, joining, leaving.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/Message.h"
#include "platform/MessageQueue.h"
#include "platform/net/SessionService.h"
#include "police/NetEngine.h"
#include "police/PoliceGame.h"
#include "shell/FrameLoop.h"
#include "shell/Globals.h"
#include "shell/IGameInterface.h"
#include "widgets/AniButton.h"

namespace lobbytraffic {

using Clock = std::chrono::steady_clock;

// Stands in front of the police game as the current screen: forwards everything, times each
// drawn frame and plays the player by queueing clicks, as the mouse would.
class TimedLobby final : public IGameInterface {
public:
    enum Phase { kIdle, kSearch, kJoin, kLeave, kPhases };

    TimedLobby(std::shared_ptr<PoliceGame> game, platform::net::SessionService& host)
        : game_(std::move(game)), host_(host) {}

    bool Run() override { return game_->Run(); }
    bool RestoreRes() override { return game_->RestoreRes(); }
    bool UpDateGame() override { return game_->UpDateGame(); }
    bool UpDateScreen() override {
        const auto now = Clock::now();
        const Phase phase = CurrentPhase();
        if (last_ != Clock::time_point{}) intervals[phase].push_back(Ms(now - last_));
        last_ = now;
        while (host_.Waiting() > 0) host_.Receive();  // the host side reads nothing
        Act();
        return game_->UpDateScreen();
    }
    bool MouseDown(int32_t b, int32_t x, int32_t y) override { return game_->MouseDown(b, x, y); }
    bool MouseUp(int32_t b, int32_t x, int32_t y) override { return game_->MouseUp(b, x, y); }
    bool MouseMove(int32_t x, int32_t y) override { return game_->MouseMove(x, y); }
    bool KeyPress(int32_t k) override { return game_->KeyPress(k); }

    std::vector<double> intervals[kPhases];
    int joins = 0;

private:
    static double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

    Phase CurrentPhase() const {
        if (game_->Network().Engine().IsSearching()) return kSearch;
        if (game_->Network().Engine().IsJoining()) return kJoin;
        return frame_ - leftAt_ < 15 ? kLeave : kIdle;
    }
    static void Click(int32_t x, int32_t y) {
        for (const uint32_t m : {platform::WM_MOUSEMOVE, platform::WM_LBUTTONDOWN, platform::WM_LBUTTONUP}) {
            platform::Message msg;
            msg.message = m;
            msg.lParam = platform::Message::MakeLParam(x, y);
            platform::MessageQueue::Instance().Post(msg);
        }
    }
    static void Click(const AniButton& b) { Click(b.Left + b.FrameWidth() / 2, b.Top + b.FrameHeight() / 2); }

    // Every 150 frames: three searches, a join of the first row, and a leave.
    void Act() {
        const int64_t step = frame_++ % 150;
        const PoliceButtons& b = game_->Buttons();
        if (game_->Screen() == kScreenLobby && (step == 10 || step == 40 || step == 70)) Click(*b.BtnRefresh);
        if (game_->Screen() == kScreenLobby && step == 100) {
            Click(300, 114 + 30 + 10);
            Click(*b.BtnJoin);
            ++joins;
        }
        if (game_->Screen() == kScreenSetting && step == 140) {
            Click(*b.BtnCancel);
            leftAt_ = frame_;
        }
    }

    std::shared_ptr<PoliceGame> game_;
    platform::net::SessionService& host_;
    Clock::time_point last_{};
    int64_t frame_ = 0;
    int64_t leftAt_ = -1000;
};

inline double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(p * static_cast<double>(v.size() - 1))];
}

// Runs the traffic for `seconds` through the real frame loop and prints one line per phase.
inline void Run(double seconds) {
    auto host = platform::net::SessionService::Create([] {}, nullptr);
    platform::net::SessionDesc desc;
    desc.maxPlayers = 2;
    desc.name = u"bench host";
    std::string error;
    if (!host || !host->Host(desc, {u"bench", u"Host"}, &error)) {
        std::printf("lobby traffic: no session could be hosted on loopback (%s)\n", error.c_str());
        return;
    }
    auto game = PoliceGame::Create();
    auto timed = std::make_shared<TimedLobby>(game, *host);
    MakeCurrentScreen(timed);
    game->Buttons().BtnMulti->OnClick();
    StartFrameClock();
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < end) {
        PumpOnce();
        WaitForNextFrameOrInput();
    }
    game->Buttons().BtnReturn->OnClick();
    PumpOnce();
    MakeCurrentScreen(nullptr);
    const char* names[] = {"lobby idle", "searching", "joining", "leaving"};
    std::printf("lobby traffic over %.0f s, %d joins; frame intervals in ms (goal: none over 25 ms)\n", seconds,
                timed->joins);
    for (int p = 0; p < TimedLobby::kPhases; ++p) {
        const auto& v = timed->intervals[p];
        const double worst = v.empty() ? 0 : *std::max_element(v.begin(), v.end());
        std::printf("  %-12s %5zu frames  median %6.2f  p99 %6.2f  max %6.2f  %s\n", names[p], v.size(),
                    Percentile(v, 0.5), Percentile(v, 0.99), worst, worst <= 25.0 ? "met" : "MISSED");
    }
}

}  // namespace lobbytraffic
