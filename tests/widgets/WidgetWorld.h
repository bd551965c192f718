#pragma once
// Test support for the widgets and dialogs: a small picture pack made on the fly, a headless
// graphic engine over it, a plain screen behind the dialogs, and a driver that plays input into
// a dialog's loop from inside the platform wait while a virtual clock runs.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/GameFont.h"
#include "engine/GraphicEngine.h"
#include "platform/Clock.h"
#include "platform/Message.h"
#include "platform/MessageQueue.h"
#include "platform/PictureLoader.h"
#include "platform/ProgramFolder.h"
#include "platform/ResourcePack.h"
#include "platform/Surface.h"
#include "shell/FrameLoop.h"
#include "shell/Globals.h"
#include "shell/IGameInterface.h"
#include "shell/MessageDlg.h"
#include "shell/SetupDlg.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipWriter.h"

namespace widgettest {

// Raw RGB565 colours of the test pictures (never 0, which keyed copies skip, nor 1000).
constexpr uint16_t kFrameColour[4] = {0xF800, 0x07E0, 0x001F, 0xFFE0};
constexpr uint16_t kOutsideRaw = 1000;
constexpr uint16_t kDialogColour = 0x7BEF;
constexpr uint16_t kSetupColour = 0x39E7;
constexpr uint16_t kScreenColour = 0x4208;
// Test button strips: frames of 40x20; columns 30..39 of every frame hold the raw value 1000.
constexpr int32_t kButtonWidth = 40;
constexpr int32_t kButtonHeight = 20;
// Dialog buttons: frames of 80x36.
constexpr int32_t kDlgButtonWidth = 80;
constexpr int32_t kDlgButtonHeight = 36;

// --- files ------------------------------------------------------------------------------------

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// --- pictures ---------------------------------------------------------------------------------

// PNG bytes of a picture whose raw pixels `pixel(x, y)` gives.
inline std::vector<uint8_t> Png(const std::string& dir, int32_t w, int32_t h,
                                const std::function<uint16_t(int32_t, int32_t)>& pixel) {
    auto surface = platform::Surface::Create(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) surface->Pixels()[y * surface->PitchPixels() + x] = pixel(x, y);
    }
    std::string path = dir + "/picture.png";
    EXPECT_TRUE(platform::SavePng(*surface, path));
    auto bytes = ReadBytes(path);
    std::remove(path.c_str());
    return bytes;
}

// A strip of `frames` frames of w x h, frame f in kFrameColour[f]; with `outsideColumns` the
// columns from `outsideFrom` on of every frame hold the raw value 1000.
inline std::vector<uint8_t> Strip(const std::string& dir, int32_t frames, int32_t w, int32_t h,
                                  int32_t outsideFrom = -1) {
    return Png(dir, frames * w, h, [=](int32_t x, int32_t) -> uint16_t {
        if (outsideFrom >= 0 && x % w >= outsideFrom) return kOutsideRaw;
        return kFrameColour[(x / w) % 4];
    });
}

inline std::vector<uint8_t> Plain(const std::string& dir, int32_t w, int32_t h, uint16_t raw) {
    return Png(dir, w, h, [=](int32_t, int32_t) { return raw; });
}

inline std::string BuildPack(const std::string& dir) {
    std::map<std::string, std::vector<uint8_t>> entries;  // in name order, as the pack lists them
    entries["BTN3.png"] = Strip(dir, 3, kButtonWidth, kButtonHeight, 30);
    entries["BTN4.png"] = Strip(dir, 4, kButtonWidth, kButtonHeight, 30);
    // Only the normal frame holds the raw value 1000, in its columns 30..39.
    entries["BTN3_NORMAL_EDGE.png"] = Png(dir, 3 * kButtonWidth, kButtonHeight, [](int32_t x, int32_t) {
        return x < kButtonWidth && x >= 30 ? kOutsideRaw : kFrameColour[x / kButtonWidth];
    });
    for (const char* name :
         {"YES", "NO", "MAIN_DLG_EXIT", "MOLE_DLG_NEXT", "MAIN_DLG_REPLAY", "DEFAULT", "OK", "CANCEL"}) {
        entries[std::string(name) + ".png"] = Strip(dir, 3, kDlgButtonWidth, kDlgButtonHeight);
    }
    entries["MAIN_DLG_BG.png"] = Plain(dir, 320, 180, kDialogColour);
    entries["NAME_DLG_BG.png"] = Plain(dir, 340, 190, kDialogColour);
    for (const char* name : {"APPLE_SETUP", "FROG_SETUP", "MOLE_SETUP"}) {
        entries[std::string(name) + ".png"] = Plain(dir, 455, 310, kSetupColour);
    }
    entries["CHECKBOX_BUTTON.png"] = Strip(dir, 4, 20, 20);
    entries["SLIDER_BG.png"] = Plain(dir, 10, 3, kFrameColour[3]);
    entries["SLIDER_SLIDER.png"] = Strip(dir, 2, 11, 23);
    entries["DROPDOWN_BUTTON.png"] = Strip(dir, 2, 15, 16);
    std::string path = dir + "/Game/GameRes.DLL";
    testsupport::ZipWriter zip;
    for (auto& [name, bytes] : entries) zip.Add(name, std::move(bytes));
    EXPECT_TRUE(zip.Write(path));
    return path;
}

// --- the world the widgets live in ------------------------------------------------------------

// The program folder of the tests (with its Game folder and pack).
inline const std::string& WorldDir() {
    static const testsupport::TempDir dir("glyphor-widgets");
    static const bool built = [] {
        const std::string d = dir.Path();
        mkdir((d + "Game").c_str(), 0755);
        BuildPack(d);
        platform::SetProgramFolder(d);
        return true;
    }();
    (void)built;
    return dir.Path();
}

// Releases the shared objects before the program's static objects go (the pack's registry among
// them), as the shutdown of the real program does.
class WorldEnvironment : public ::testing::Environment {
public:
    void TearDown() override { ReleaseSharedObjects(); }
};
inline ::testing::Environment* const kWorldEnvironment = ::testing::AddGlobalTestEnvironment(new WorldEnvironment);

// Makes the shared objects the widgets use: a headless engine over the test pack, the fonts and
// the shared dialogs. Safe to call again (recreates what a shutdown released).
inline void EnsureWorld() {
    (void)kWorldEnvironment;  // registers the environment in every test program using the world
    const std::string& dir = WorldDir();
    if (!g_Graphic) {
        g_Graphic = std::make_shared<GraphicEngine>(platform::ResourcePack::Open(dir + "/Game/GameRes.DLL"));
        ASSERT_TRUE(g_Graphic->Init(nullptr));
    }
    if (!g_SongFont) {
        g_SongFont = std::make_shared<GameFont>();
        g_SongFont->SetFaceName(u"宋体");
        g_SongFont->SetCharSet(134);
        g_SongFont->SetHeight(-14);
    }
    if (!g_MsgDlg) g_MsgDlg = MessageDlg::Create();
    if (!g_MsgDlg2) g_MsgDlg2 = MessageDlg::Create();
    if (!g_SetupDlg) g_SetupDlg = SetupDlg::Create();
}

inline uint16_t BackPixel(int32_t x, int32_t y) { return g_Graphic->BackSurface().ReadPixel(x, y); }

// A plain screen behind the dialogs: clears the back surface every frame and counts what the
// shell hands it.
class TestScreen : public IGameInterface {
public:
    int frames = 0;
    int keyDowns = 0, keyUps = 0, keyPresses = 0, mouseButtons = 0, timeLost = 0;
    std::vector<uint32_t> frameTimes;
    std::function<void(int frame)> onFrame;

    bool UpDateScreen() override {
        frameTimes.push_back(platform::Clock::Now());
        int frame = frames++;
        g_Graphic->Clear(kScreenColour);
        if (onFrame) onFrame(frame);
        return true;
    }
    bool KeyDown(int32_t, int32_t) override {
        ++keyDowns;
        return true;
    }
    bool KeyUp(int32_t, int32_t) override {
        ++keyUps;
        return true;
    }
    bool KeyPress(int32_t) override {
        ++keyPresses;
        return true;
    }
    bool MouseDown(int32_t, int32_t, int32_t) override {
        ++mouseButtons;
        return true;
    }
    bool MouseUp(int32_t, int32_t, int32_t) override {
        ++mouseButtons;
        return true;
    }
    void TimeLost(uint32_t, uint32_t) override { ++timeLost; }
};

inline platform::Message Msg(uint32_t id, uint32_t wParam = 0, uint32_t lParam = 0) {
    platform::Message m;
    m.message = id;
    m.wParam = wParam;
    m.lParam = lParam;
    return m;
}

inline platform::Message Mouse(uint32_t id, int32_t x, int32_t y) {
    return Msg(id, id == platform::WM_LBUTTONDOWN ? 1u : 0u, platform::Message::MakeLParam(x, y));
}

// A key press as the queue makes it: the key-down carries the characters it produced.
inline platform::Message KeyDownMsg(uint32_t vk, std::vector<uint32_t> chars = {}) {
    platform::Message m = Msg(platform::WM_KEYDOWN, vk);
    m.chars = std::move(chars);
    return m;
}

// Plays steps into a modal loop from inside the platform wait, on a virtual clock. Each time the
// loop waits, the next step runs (it usually posts input); a step that queues nothing, or no step
// left, moves the clock to the wait's deadline so the next dialog frame runs. Far too many waits
// post Esc, so a broken dialog ends the test instead of hanging it.
class Driver {
public:
    static constexpr uint32_t kStart = 100000;

    explicit Driver(std::shared_ptr<TestScreen> screen = std::make_shared<TestScreen>()) : screen_(std::move(screen)) {
        EnsureWorld();
        g_Screen = screen_;
        auto& q = platform::MessageQueue::Instance();
        q.Clear();
        platform::Clock::UseVirtual(kStart);
        g_LastFrameTime = static_cast<int32_t>(kStart);
        q.SetScriptHook([this](uint32_t deadline) { Step(deadline); });
    }
    ~Driver() {
        auto& q = platform::MessageQueue::Instance();
        q.SetScriptHook({});
        q.Clear();
        platform::Clock::UseReal();
        g_Screen.reset();
    }

    Driver& Then(std::function<void()> step) {
        steps_.push_back(std::move(step));
        return *this;
    }
    Driver& Post(std::vector<platform::Message> msgs) {
        return Then([msgs] {
            for (const auto& m : msgs) platform::MessageQueue::Instance().Post(m);
        });
    }
    Driver& Key(uint32_t vk) { return Post({KeyDownMsg(vk), Msg(platform::WM_KEYUP, vk)}); }
    // Move onto the point, press and release there.
    Driver& Click(int32_t x, int32_t y) {
        using namespace platform;
        return Post({Mouse(WM_MOUSEMOVE, x, y), Mouse(WM_LBUTTONDOWN, x, y), Mouse(WM_LBUTTONUP, x, y)});
    }
    // A wait with nothing to do: the clock moves on and one more dialog frame runs.
    Driver& Frame() {
        return Then([] {});
    }

    TestScreen& Screen() { return *screen_; }
    std::vector<uint32_t> deadlines;
    bool gaveUp = false;

private:
    void Step(uint32_t deadline) {
        deadlines.push_back(deadline);
        auto& q = platform::MessageQueue::Instance();
        if (!steps_.empty()) {
            auto step = std::move(steps_.front());
            steps_.pop_front();
            step();
        } else if (deadlines.size() > 2000) {
            gaveUp = true;
            q.Post(KeyDownMsg(platform::VK_ESCAPE));
        }
        if (q.Empty()) platform::Clock::AdvanceTo(deadline);
    }

    std::shared_ptr<TestScreen> screen_;
    std::deque<std::function<void()>> steps_;
};

}  // namespace widgettest
