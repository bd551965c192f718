// Runs the real main pump for a while with the real clock and reports what it costs: CPU time
// as a share of one core, and the spacing of the frames. A still screen is drawn by default
// (presentation is then skipped); --moving changes the picture every frame.
//   pump_meter [--seconds N] [--moving]
// Goals: under 5 % of a core; frame interval 19-20 ms at the median.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/GraphicEngine.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/MessageQueue.h"
#include "platform/ResourcePack.h"
#include "shell/FrameLoop.h"
#include "shell/Globals.h"
#include "shell/IGameInterface.h"

namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& tv) { return static_cast<double>(tv.tv_sec) + tv.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

class MeterScreen : public IGameInterface {
public:
    MeterScreen(uint32_t durationMs, bool moving) : durationMs_(durationMs), moving_(moving) {}

    bool UpDateGame() override {
        const uint32_t now = platform::Clock::Now();
        if (frames_.empty()) start_ = now;
        frames_.push_back(now);
        if (now - start_ >= durationMs_ && !quitting_) {
            quitting_ = true;
            platform::MessageQueue::Instance().PostQuit(0);
        }
        return true;
    }

    bool UpDateScreen() override {
        g_Graphic->Clear(0x2945);
        const int32_t x = moving_ ? static_cast<int32_t>(frames_.size() % 600) : 300;
        g_Graphic->FillBox(x, 250, x + 200, 350, 0x00FFFFFF, 0x10A2);
        return true;
    }

    const std::vector<uint32_t>& Frames() const { return frames_; }

private:
    uint32_t durationMs_;
    bool moving_;
    bool quitting_ = false;
    uint32_t start_ = 0;
    std::vector<uint32_t> frames_;
};

}  // namespace

int main(int argc, char** argv) {
    int seconds = 10;
    bool moving = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--moving") == 0) moving = true;
        if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) seconds = std::max(1, std::atoi(argv[++i]));
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    g_Display = platform::Display::CreateWindow("pump meter");
    if (!g_Display) {
        std::fprintf(stderr, "pump_meter: no display could be created\n");
        return 1;
    }
    platform::MessageQueue::Instance().SetWindowEventHandler(&platform::Display::DispatchWindowEvent);
    g_Graphic = std::make_shared<GraphicEngine>(std::unique_ptr<platform::ResourcePack>());
    if (!g_Graphic->Init(g_Display.get())) return 1;
    g_Display->Show();

    auto screen = std::make_shared<MeterScreen>(static_cast<uint32_t>(seconds) * 1000u, moving);
    MakeCurrentScreen(screen);

    const double cpuBefore = CpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    StartFrameClock();
    RunMainPump();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    const double cpu = CpuSeconds() - cpuBefore;

    std::vector<uint32_t> intervals;
    const auto& frames = screen->Frames();
    for (size_t i = 1; i < frames.size(); ++i) intervals.push_back(frames[i] - frames[i - 1]);
    std::sort(intervals.begin(), intervals.end());
    auto percentile = [&](double p) {
        if (intervals.empty()) return 0u;
        const auto at = static_cast<size_t>(p * static_cast<double>(intervals.size() - 1) + 0.5);
        return intervals[std::min(at, intervals.size() - 1)];
    };

    std::printf("pump_meter (%s screen, %s video, renderer %s)\n", moving ? "moving" : "still",
                std::getenv("SDL_VIDEODRIVER"), g_Display->RendererName().c_str());
    std::printf("  run time          %.2f s, %zu frames, %llu uploads\n", wall, frames.size(),
                static_cast<unsigned long long>(g_Display->UploadCount()));
    std::printf("  CPU               %.2f %% of one core (goal < 5 %%)\n", 100.0 * cpu / wall);
    std::printf("  frame interval    median %u ms, p99 %u ms, max %u ms (goal 19-20 ms median)\n", percentile(0.5),
                percentile(0.99), intervals.empty() ? 0u : intervals.back());

    g_Screen.reset();
    g_Graphic.reset();
    g_Display.reset();
    return 0;
}
