#pragma once
// Test support for the word-game screens: headless engines over the program's real packs, the
// shared fonts and dialogs, default settings, and a program folder of its own whose course files
// each test writes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/GraphicEngine.h"
#include "engine/SoundEngine.h"
#include "menu/Settings.h"
#include "platform/ProgramFolder.h"
#include "platform/ResourcePack.h"
#include "platform/SoundBuffer.h"
#include "platform/Surface.h"
#include "shell/Globals.h"
#include "shell/IGameInterface.h"
#include "shell/Startup.h"
#include "tests/support/TempDir.h"
#include "widgets/AniButton.h"
#include "widgets/MessageDlg.h"

namespace molefrogtest {

inline std::string DistPath(const std::string& relative) { return std::string(GLYPHOR_DIST_DIR) + "/" + relative; }

class MoleFrogWorld : public ::testing::Test {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        ASSERT_TRUE(fs::exists(DistPath("Game/GameRes.DLL")) && fs::exists(DistPath("Game/GameSnd.DLL")))
            << "the packs are built by the assets target";
        temp_ = std::make_unique<testsupport::TempDir>("glyphor-molefrog");
        dir_ = temp_->Path();
        fs::create_directories(dir_ / "Game");
        platform::SetProgramFolder(dir_.string());
        ::setenv("SDL_AUDIODRIVER", "dummy", 0);
        g_Graphic = std::make_shared<GraphicEngine>(platform::ResourcePack::Open(DistPath("Game/GameRes.DLL")));
        ASSERT_TRUE(g_Graphic->Init(nullptr));
        g_Sound = std::make_shared<SoundEngine>(platform::ResourcePack::Open(DistPath("Game/GameSnd.DLL")));
        g_Sound->Init();
        CreateSharedFonts();
        g_MsgDlg = MessageDlg::Create();
        g_MsgDlg2 = MessageDlg::Create();
        g_Settings = DefaultSettings();
    }

    void TearDown() override {
        g_Screen.reset();
        g_MsgDlg2.reset();
        g_MsgDlg.reset();
        g_ArialFont.reset();
        g_SongFont.reset();
        g_Sound.reset();
        g_Graphic.reset();
        temp_.reset();
    }

    // A course file of the given words, with a comment record first.
    void WriteCourse(const std::string& key, const std::vector<std::string>& words) {
        const auto dir = dir_ / "Data" / "English" / "T_WORD" / "Dictionary";
        std::filesystem::create_directories(dir);
        std::ofstream out(dir / (key + ".ID"), std::ios::binary);
        auto record = [&](const std::string& word) {
            const char unused[4] = {1, 2, 3, 4};
            const char size[2] = {static_cast<char>(word.size() & 0xFF), static_cast<char>(word.size() >> 8)};
            out.write(unused, 4).write(size, 2).write(word.data(), static_cast<std::streamsize>(word.size()));
            out.write(unused, 4);
        };
        record("{course}");
        for (const std::string& word : words) record(word);
    }

    static void Click(const std::shared_ptr<AniButton>& button) {
        const int32_t x = button->Left + button->FrameWidth() / 2;
        const int32_t y = button->Top + button->FrameHeight() / 2;
        g_Screen->MouseMove(x, y);
        g_Screen->MouseDown(kLeftButton, x, y);
        g_Screen->MouseUp(kLeftButton, x, y);
    }
    static void Frame() {
        g_Screen->UpDateGame();
        g_Screen->UpDateScreen();
    }
    static bool Playing(int slot) { return g_Sound->Slot(slot) != nullptr && g_Sound->Slot(slot)->Playing(); }
    static bool LoopPlaying() { return g_Sound->Loop() != nullptr && g_Sound->Loop()->Playing(); }

    // How many pixels of the box (x, y, w, h) on the back surface have colour `bgr` (drawing
    // colour values, 0x00BBGGRR).
    static int CountColour(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t bgr) {
        const platform::Surface& back = g_Graphic->BackSurface();
        const uint16_t pixel = platform::Surface::RawFromBgr(bgr);
        int n = 0;
        for (int32_t py = y; py < y + h; ++py) {
            for (int32_t px = x; px < x + w; ++px) n += back.ReadPixel(px, py) == pixel ? 1 : 0;
        }
        return n;
    }

    std::unique_ptr<testsupport::TempDir> temp_;
    std::filesystem::path dir_;
};

}  // namespace molefrogtest
