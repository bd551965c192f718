#pragma once
// Test support for the menu and the letter and word games: a headless graphic engine and a sound
// engine over the program's real packs, the shared fonts and dialogs, default settings, and a
// program folder of its own (settings file, course files). DialogDriver answers the modal
// dialogs a handler opens.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "engine/GameFont.h"
#include "engine/GraphicEngine.h"
#include "engine/SoundEngine.h"
#include "platform/Clock.h"
#include "platform/Message.h"
#include "platform/MessageQueue.h"
#include "platform/ProgramFolder.h"
#include "platform/ResourcePack.h"
#include "platform/Surface.h"
#include "shell/FrameLoop.h"
#include "shell/Globals.h"
#include "shell/IGameInterface.h"
#include "shell/MessageDlg.h"
#include "shell/Settings.h"
#include "shell/SetupDlg.h"
#include "shell/Startup.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/TempDir.h"
#include "widgets/AniButton.h"

namespace wordgametest {

inline std::string DistPath(const std::string& relative) { return std::string(GLYPHOR_DIST_DIR) + "/" + relative; }

// Thrown by ShutdownProgram's exit while a world is set up.
struct ProgramEnded {};

using testsupport::DialogDriver;

class WordGameWorld : public ::testing::Test {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        ASSERT_TRUE(fs::exists(DistPath("Game/GameRes.DLL")) && fs::exists(DistPath("Game/GameSnd.DLL")))
            << "the packs are built by the assets target";
        temp_ = std::make_unique<testsupport::TempDir>("glyphor-wordgames");
        dir_ = temp_->Path();
        fs::create_directories(dir_ / "Game");
        fs::create_directories(DictionaryDir());
        platform::SetProgramFolder(dir_.string());
        ::setenv("SDL_AUDIODRIVER", "dummy", 0);

        g_Graphic = std::make_shared<GraphicEngine>(platform::ResourcePack::Open(DistPath("Game/GameRes.DLL")));
        ASSERT_TRUE(g_Graphic->Init(nullptr));
        g_Sound = std::make_shared<SoundEngine>(platform::ResourcePack::Open(DistPath("Game/GameSnd.DLL")));
        g_Sound->Init();
        CreateSharedFonts();
        g_MsgDlg = MessageDlg::Create();
        g_MsgDlg2 = MessageDlg::Create();
        g_SetupDlg = SetupDlg::Create();
        g_Settings = DefaultSettings();
        SetShutdownExitHook([] { throw ProgramEnded{}; });
    }

    void TearDown() override {
        SetShutdownExitHook(nullptr);
        ReleaseSharedObjects();
        temp_.reset();
    }

    std::filesystem::path DictionaryDir() const { return dir_ / "Data" / "English" / "T_WORD" / "Dictionary"; }
    std::filesystem::path SettingsPath() const { return dir_ / "Game" / "Setting.DAT"; }

    // Field `field` (1..11) of the settings file as written.
    int32_t SavedField(int field) const {
        std::ifstream in(SettingsPath(), std::ios::binary);
        const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (b.size() < 2) return -1;
        const size_t at = 2 + (b[0] | (b[1] << 8)) + 4 * static_cast<size_t>(field - 1);
        if (at + 4 > b.size()) return -1;
        return static_cast<int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
                                    (static_cast<uint32_t>(b[at + 3]) << 24));
    }

    // Move onto the button, press and release on it.
    template <typename Screen>
    static void Click(Screen& screen, const std::shared_ptr<AniButton>& button) {
        Click(screen, button->Left + button->FrameWidth() / 2, button->Top + button->FrameHeight() / 2);
    }
    template <typename Screen>
    static void Click(Screen& screen, int32_t x, int32_t y) {
        screen.MouseMove(x, y);
        screen.MouseDown(kLeftButton, x, y);
        screen.MouseUp(kLeftButton, x, y);
    }

    static platform::SurfacePtr Picture(const std::string& name) {
        platform::SurfacePtr p;
        g_Graphic->LoadPicture(p, name);
        return p;
    }
    static uint16_t BackPixel(int32_t x, int32_t y) { return g_Graphic->BackSurface().ReadPixel(x, y); }

    std::unique_ptr<testsupport::TempDir> temp_;
    std::filesystem::path dir_;
};

}  // namespace wordgametest
