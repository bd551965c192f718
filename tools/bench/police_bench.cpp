// Measures one frame of the police race screen (the race step and the drawing of the map, both
// figures, the typing panel and the marker) on a headless engine over the program's packs.
// Goal: under 2 ms a frame.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/GameFont.h"
#include "engine/GraphicEngine.h"
#include "platform/ProgramFolder.h"
#include "platform/ResourcePack.h"
#include "police/PoliceGame.h"
#include "shell/Globals.h"
#include "shell/Startup.h"
#include "widgets/AniButton.h"

namespace {

const std::string kDist = GLYPHOR_DIST_DIR;

bool MakeWorld() {
    auto pack = platform::ResourcePack::Open(kDist + "/Game/GameRes.DLL");
    if (!pack) return false;
    platform::SetProgramFolder(kDist + "/");
    g_Graphic = std::make_shared<GraphicEngine>(std::move(pack));
    if (!g_Graphic->Init(nullptr)) return false;
    CreateSharedFonts();
    return true;
}

// A race under way: the local police has typed the first characters of the text.
void StartRace(PoliceGame& game) {
    game.Buttons().BtnStart->OnClick();
    const std::u16string& text = game.Race().Text.Text();
    for (size_t i = 0; i < text.size() && i < 40; ++i) game.KeyPress(text[i]);
}

void BM_PoliceRaceFrame(benchmark::State& state) {
    auto game = PoliceGame::Create();
    g_Screen = game;
    game->Run();
    game->Buttons().BtnSingle->OnClick();
    StartRace(*game);
    int64_t frame = 0;
    for (auto _ : state) {
        if (game->Screen() != kScreenRace) StartRace(*game);
        // Keep typing now and then so both figures run and the text scrolls.
        if (++frame % 4 == 0) {
            const auto& text = game->Race().Text.Text();
            const int32_t pos = game->Race().Local().InputPos;
            if (pos < static_cast<int32_t>(text.size())) game->KeyPress(text[static_cast<size_t>(pos)]);
        }
        game->UpDateGame();
        game->UpDateScreen();
    }
    g_Screen.reset();
}
BENCHMARK(BM_PoliceRaceFrame)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!MakeWorld()) {
        std::fprintf(stderr, "police_bench: no picture pack at %s/Game (build the assets target)\n", kDist.c_str());
        return 1;
    }
    std::printf("police_bench: one race frame (UpDateGame + UpDateScreen); goal: under 2 ms\n");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_ArialFont.reset();
    g_SongFont.reset();
    g_Graphic.reset();
    return 0;
}
