#pragma once
// Test support for the police game screen: a headless graphic engine and a sound engine over the
// program's real packs, the shared fonts and exit dialog, and a program folder of its own whose
// race texts each test writes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "engine/GameFont.h"
#include "engine/GraphicEngine.h"
#include "engine/SoundEngine.h"
#include "platform/ProgramFolder.h"
#include "platform/ResourcePack.h"
#include "platform/Surface.h"
#include "police/PoliceGame.h"
#include "shell/FrameLoop.h"
#include "shell/Globals.h"
#include "shell/MessageDlg.h"
#include "shell/Startup.h"
#include "tests/support/TempDir.h"
#include "widgets/AniButton.h"

namespace policetest {

// A chosen role or vehicle card: disabled, so it shows its chosen frame (3, with the check mark).
inline bool Chosen(const AniButton& b) { return !b.Enabled() && b.FrameOffset() == 3 * b.FrameWidth(); }

inline std::string DistPath(const std::string& relative) { return std::string(GLYPHOR_DIST_DIR) + "/" + relative; }

class PoliceWorld : public ::testing::Test {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        ASSERT_TRUE(fs::exists(DistPath("Game/GameRes.DLL")) && fs::exists(DistPath("Game/GameSnd.DLL")))
            << "the packs are built by the assets target";
        temp_ = std::make_unique<testsupport::TempDir>("glyphor-police");
        dir_ = temp_->Path();
        fs::create_directories(TextDir());
        platform::SetProgramFolder(dir_.string() + "/");
        ::setenv("SDL_AUDIODRIVER", "dummy", 0);  // headless, whatever the runner passed on

        g_Graphic = std::make_shared<GraphicEngine>(platform::ResourcePack::Open(DistPath("Game/GameRes.DLL")));
        ASSERT_TRUE(g_Graphic->Init(nullptr));
        g_Sound = std::make_shared<SoundEngine>(platform::ResourcePack::Open(DistPath("Game/GameSnd.DLL")));
        g_Sound->Init();
        CreateSharedFonts();
        g_MsgDlg2 = MessageDlg::Create();
    }

    void TearDown() override {
        game_.reset();
        ReleaseSharedObjects();
        temp_.reset();
    }

    std::filesystem::path TextDir() const { return dir_ / "Data" / "English" / "E_General"; }
    void WriteText(const std::string& fileName, const std::string& bytes) {
        std::ofstream(TextDir() / fileName, std::ios::binary) << bytes;
    }

    // The game as start-up makes it: current and running.
    PoliceGame& StartGame() {
        game_ = PoliceGame::Create();
        g_Screen = game_;
        game_->Run();
        return *game_;
    }

    void Click(int32_t x, int32_t y) {
        game_->MouseMove(x, y);
        game_->MouseDown(1, x, y);
        game_->MouseUp(1, x, y);
    }
    void Click(const std::shared_ptr<AniButton>& button) { Click(button->Left + 10, button->Top + 10); }
    void Frame() {
        game_->UpDateGame();
        game_->UpDateScreen();
    }
    void Type(const std::string& keys) {
        for (char c : keys) game_->KeyPress(static_cast<unsigned char>(c));
    }

    static platform::SurfacePtr Picture(const std::string& name) {
        platform::SurfacePtr p;
        g_Graphic->LoadPicture(p, name);
        return p;
    }
    // True when the back surface shows `picture` at (x, y), every pixel of it.
    // The back surface shows `picture` at (x, y), but for the pixels inside `skip`.
    static bool Shows(const platform::Surface& picture, int32_t x, int32_t y, platform::Rect skip = {}) {
        const platform::Surface& back = g_Graphic->BackSurface();
        for (int32_t py = 0; py < picture.Height(); ++py) {
            for (int32_t px = 0; px < picture.Width(); ++px) {
                const bool skipped = px >= skip.left && px < skip.right && py >= skip.top && py < skip.bottom;
                if (!skipped && back.ReadPixel(x + px, y + py) != picture.ReadPixel(px, py)) return false;
            }
        }
        return true;
    }

    std::shared_ptr<PoliceGame> game_;
    std::unique_ptr<testsupport::TempDir> temp_;
    std::filesystem::path dir_;
};

}  // namespace policetest
