// Measures one frame of drawing as the screens do it: clear, a full-screen opaque background,
// 30 colour-keyed 100x100 sprites, 10 lines of text, present. Runs headless (offscreen video
// driver unless SDL_VIDEODRIVER says otherwise) and prints the median time per frame; the goal
// is under 2 ms, a tenth of the 19 ms frame budget.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/GameFont.h"
#include "engine/GraphicEngine.h"
#include "platform/CodePage.h"
#include "platform/Display.h"
#include "platform/Surface.h"

namespace {

using platform::Rect;
using platform::Surface;

double g_medianMs = 0;
double g_p90Ms = 0;
std::string g_renderer;

std::shared_ptr<Surface> Background() {
    auto s = Surface::Create(800, 600);
    for (int32_t y = 0; y < 600; ++y) {
        for (int32_t x = 0; x < 800; ++x) {
            s->Pixels()[y * s->PitchPixels() + x] = static_cast<uint16_t>(((x / 8) << 11) | ((y / 10) << 5) | 3);
        }
    }
    return s;
}

// A disc on a transparent (black) square.
std::shared_ptr<Surface> Sprite() {
    auto s = Surface::Create(100, 100);
    for (int32_t y = 0; y < 100; ++y) {
        for (int32_t x = 0; x < 100; ++x) {
            const int32_t dx = x - 50;
            const int32_t dy = y - 50;
            s->Pixels()[y * s->PitchPixels() + x] = dx * dx + dy * dy < 48 * 48 ? static_cast<uint16_t>(0xF800 | x) : 0;
        }
    }
    s->SetColorKey(0);
    return s;
}

void BM_Frame(benchmark::State& state) {
    auto display = platform::Display::CreateWindow("打字游戏");
    if (display == nullptr) {
        state.SkipWithError("no display");
        return;
    }
    GraphicEngine engine(nullptr);
    if (!engine.Init(display.get())) {
        state.SkipWithError("no renderer");
        return;
    }
    display->Show();
    g_renderer = display->RendererName();
    const auto background = Background();
    const auto sprite = Sprite();
    auto song = std::make_shared<GameFont>();
    song->SetFaceName(u"宋体");
    song->SetCharSet(134);
    song->SetHeight(-14);
    engine.SetFont(song);
    std::vector<std::u16string> lines;
    for (char16_t digit = u'0'; digit < u'9'; ++digit) {
        std::u16string line = u"第";
        line.push_back(digit);
        line.append(u"行 The quick brown fox jumps");
        lines.push_back(std::move(line));
    }

    std::vector<double> frames;
    uint32_t frame = 0;
    const uint64_t uploadsBefore = display->UploadCount();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        engine.Clear(0);
        engine.DrawOpaque(0, 0, *background, Rect{});
        for (int32_t i = 0; i < 30; ++i) {
            const int32_t x = static_cast<int32_t>((i * 97 + frame * 3) % 700);
            const int32_t y = static_cast<int32_t>((i * 53 + frame) % 500);
            engine.DrawKeyed(x, y, *sprite, Rect{});
        }
        engine.BeginText();
        engine.SetTextColor(0x00FFFFFF);
        for (size_t i = 0; i < lines.size(); ++i) engine.DrawText(20, 20 + static_cast<int32_t>(i) * 20, lines[i]);
        // One line changes every frame, as a typing line or a counter does.
        engine.DrawText(20, 220, u"帧 " + platform::FromUtf8(std::to_string(frame)));
        engine.EndText();
        engine.Present();
        ++frame;
        frames.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    if (frames.empty()) return;
    std::sort(frames.begin(), frames.end());
    g_medianMs = frames[frames.size() / 2];
    g_p90Ms = frames[frames.size() * 9 / 10];
    state.counters["median_ms"] = g_medianMs;
    state.counters["uploads"] = static_cast<double>(display->UploadCount() - uploadsBefore);
}

BENCHMARK(BM_Frame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("frame median: %.3f ms, 90th percentile: %.3f ms (goal: median under 2 ms); renderer: %s\n", g_medianMs,
                g_p90Ms, g_renderer.c_str());
    return 0;
}
