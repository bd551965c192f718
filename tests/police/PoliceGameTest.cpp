// The police game screen on a headless engine: choices, routing, the race from start to result,
// drawing and the quit question.
#include <deque>
#include <functional>
#include <utility>

#include "platform/Clock.h"
#include "platform/Message.h"
#include "platform/MessageQueue.h"
#include "PoliceWorld.h"
#include "shell/FrameLoop.h"

namespace policetest {
namespace {

bool ShowsFrame(const AniButton& b, int32_t frame) { return b.FrameOffset() == frame * b.FrameWidth(); }

TEST_F(PoliceWorld, StartsOnTheMainMenuWithTheDefaultChoices) {
    PoliceGame& game = StartGame();
    EXPECT_EQ(game.Screen(), kScreenMainMenu);
    EXPECT_EQ(game.Race().LocalIndex, 0);
    EXPECT_EQ(game.Race().OpponentIndex, 1);
    const Runner& police = game.Race().Track.Runners[0];
    const Runner& thief = game.Race().Track.Runners[1];
    EXPECT_EQ(police.TopSpeed, 2.0f);
    EXPECT_EQ(police.VehiclePose, 3);
    EXPECT_EQ(thief.TopSpeed, 1.3f);
    EXPECT_EQ(thief.VehiclePose, 2);

    const PoliceButtons& b = game.Buttons();
    EXPECT_FALSE(b.BtnPolice->Enabled());
    EXPECT_TRUE(ShowsFrame(*b.BtnPolice, 2));
    EXPECT_TRUE(b.BtnThief->Enabled());
    EXPECT_FALSE(b.BtnCar0->Enabled());
    EXPECT_TRUE(ShowsFrame(*b.BtnCar0, 1));
    EXPECT_FALSE(b.BtnBike1->Enabled());
    EXPECT_TRUE(ShowsFrame(*b.BtnBike1, 1));
    EXPECT_EQ(b.BtnSingle->Left, 437);
    EXPECT_EQ(b.BtnSingle->Top, 336);

    for (int i = 0; i < 7; ++i) EXPECT_NE(g_Sound->Slot(i), nullptr) << i;
    EXPECT_NE(g_Sound->Loop(), nullptr);
    for (int i = 0; i < PolicePictures::kStrips; ++i) {
        ASSERT_TRUE(game.Pictures().Strips[static_cast<size_t>(i)]) << i;
        EXPECT_TRUE(game.Pictures().Strips[static_cast<size_t>(i)]->HasColorKey());
    }

    Frame();
    const auto bg = Picture("POLICE_MAINMENU_BG");
    EXPECT_EQ(g_Graphic->BackSurface().ReadPixel(5, 5), bg->ReadPixel(5, 5));

    // Esc and Enter do nothing on the main menu.
    game.KeyPress(27);
    game.KeyPress(13);
    EXPECT_EQ(game.Screen(), kScreenMainMenu);
}

TEST_F(PoliceWorld, RoleAndVehicleButtonsActAsRadioButtons) {
    PoliceGame& game = StartGame();
    const PoliceButtons& b = game.Buttons();
    Click(b.BtnSingle);
    ASSERT_EQ(game.Screen(), kScreenSetting);

    Click(b.BtnThief);
    EXPECT_EQ(game.Race().LocalIndex, 1);
    EXPECT_EQ(game.Race().OpponentIndex, 0);
    EXPECT_FALSE(b.BtnThief->Enabled());
    EXPECT_TRUE(ShowsFrame(*b.BtnThief, 2));
    EXPECT_TRUE(b.BtnPolice->Enabled());
    EXPECT_TRUE(ShowsFrame(*b.BtnPolice, 0));

    Click(b.BtnBike0);
    Click(b.BtnCar1);
    EXPECT_EQ(game.Race().Track.Runners[0].TopSpeed, 1.3f);
    EXPECT_EQ(game.Race().Track.Runners[0].VehiclePose, 2);
    EXPECT_EQ(game.Race().Track.Runners[1].TopSpeed, 2.0f);
    EXPECT_EQ(game.Race().Track.Runners[1].VehiclePose, 3);
    EXPECT_TRUE(b.BtnCar0->Enabled());
    EXPECT_FALSE(b.BtnBike0->Enabled());

    // The chosen button takes no click; the choices survive the way back to the main menu and
    // a lost display.
    Click(b.BtnThief);
    EXPECT_EQ(game.Race().LocalIndex, 1);
    Click(b.BtnCancel);
    EXPECT_EQ(game.Screen(), kScreenMainMenu);
    game.RestoreRes();
    Click(b.BtnSingle);
    EXPECT_EQ(game.Race().LocalIndex, 1);
    EXPECT_FALSE(b.BtnThief->Enabled());
    EXPECT_TRUE(ShowsFrame(*b.BtnThief, 2));
    Frame();
}

TEST_F(PoliceWorld, TextListClicksChooseTheRaceText) {
    WriteText("only.txt", "Only one line.  \nnot this");
    PoliceGame& game = StartGame();
    Click(game.Buttons().BtnSingle);
    Click(600, 46);
    EXPECT_EQ(game.TextList().TextListID, 0);
    Click(600, 300);  // below the single entry: the last index
    EXPECT_EQ(game.TextList().TextListID, 0);
    Frame();

    Click(game.Buttons().BtnStart);
    ASSERT_EQ(game.Screen(), kScreenRace);
    EXPECT_EQ(game.Race().Text.Text(), u"Only one line.");
    EXPECT_EQ(game.Race().Text.WindowRest(), u"Only one line.");
    Frame();
}

TEST_F(PoliceWorld, TextListWithSeveralFiles) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) WriteText(name, name);
    PoliceGame& game = StartGame();
    Click(game.Buttons().BtnSingle);
    Click(600, 71);
    EXPECT_EQ(game.TextList().TextListID, 1);
    Click(575, 46);  // left of the list: no change
    EXPECT_EQ(game.TextList().TextListID, 1);
    game.MouseMove(600, 46);  // moving selects nothing
    EXPECT_EQ(game.TextList().TextListID, 1);
    Click(700, 590);
    EXPECT_EQ(game.TextList().TextListID, 2);
    Frame();
    // The highlight of the chosen row.
    EXPECT_EQ(g_Graphic->BackSurface().ReadPixel(573, 90), platform::Surface::RawFromBgr(0xC1FF));
}

TEST_F(PoliceWorld, ThiefWinsWithTheKeyAfterTheLastCharacterPoliceLoses) {
    WriteText("ab.txt", "ab");
    for (int32_t local : {0, 1}) {
        PoliceGame& game = StartGame();
        Click(game.Buttons().BtnSingle);
        Click(local == 0 ? game.Buttons().BtnPolice : game.Buttons().BtnThief);
        Click(game.Buttons().BtnStart);
        ASSERT_EQ(game.Screen(), kScreenRace);
        Type("ab");
        Frame();
        EXPECT_EQ(game.Screen(), kScreenRace);
        EXPECT_EQ(game.Race().Local().InputPos, 2);
        EXPECT_EQ(game.Race().Text.WindowTyped(), u"ab");
        Type("?");
        const bool won = local == 1;
        EXPECT_EQ(game.Screen(), won ? kScreenWon : kScreenLost);
        Frame();
        const std::string picture = std::string(won ? "POLICE_WIN_" : "POLICE_LOST_") + std::to_string(local);
        EXPECT_TRUE(Shows(*Picture(picture), 0, 0)) << picture;

        // Enter: a new race with the same text; Esc: back to the setting screen.
        game.KeyPress(13);
        EXPECT_EQ(game.Screen(), kScreenRace);
        EXPECT_EQ(game.Race().Local().InputPos, 0);
        EXPECT_EQ(game.Race().Text.Text(), u"ab");
        EXPECT_EQ(game.Race().Text.WindowRest(), u"ab");
        game.KeyPress(13);
        EXPECT_EQ(game.Screen(), kScreenRace);
        game.KeyPress(27);
        EXPECT_EQ(game.Screen(), kScreenSetting);
    }
}

TEST_F(PoliceWorld, CatchEndsTheRaceForBothRoles) {
    WriteText("t.txt", "abcdef");
    for (int32_t local : {0, 1}) {
        PoliceGame& game = StartGame();
        Click(game.Buttons().BtnSingle);
        Click(local == 0 ? game.Buttons().BtnPolice : game.Buttons().BtnThief);
        Click(game.Buttons().BtnStart);
        RaceTrack& track = game.Race().Track;
        track.Runners[0].Segment = 1;
        track.Runners[0].Travelled = 30.0f;
        track.Runners[1].Travelled = 20.0f;
        Frame();
        EXPECT_EQ(game.Screen(), local == 0 ? kScreenWon : kScreenLost);
    }
}

TEST_F(PoliceWorld, ReversalTurnsTheRunnersAroundOnTheRaceScreen) {
    WriteText("t.txt", "abcdef");
    PoliceGame& game = StartGame();
    Click(game.Buttons().BtnSingle);
    Click(game.Buttons().BtnStart);
    RaceTrack& track = game.Race().Track;
    track.Runners[0].Segment = 1;
    track.Runners[0].SetHeading(2);
    track.Runners[0].Travelled = 100.0f;
    Frame();
    EXPECT_EQ(game.Screen(), kScreenRace);
    EXPECT_EQ(track.TravelSign, -1);
    EXPECT_EQ(track.Runners[0].Heading, 1);
}

TEST_F(PoliceWorld, RaceScreenDrawsMapFiguresPanelAndMarker) {
    // No text at all: the marker stands at the start of its track.
    PoliceGame& game = StartGame();
    Click(game.Buttons().BtnSingle);
    Click(game.Buttons().BtnStart);
    ASSERT_EQ(game.Race().Text.TextLength(), 0);
    Frame();
    EXPECT_EQ(game.Renderer().Camera().Left(), 0);
    EXPECT_EQ(game.Renderer().Camera().Top(), 580);
    const auto map = Picture("POLICE_BACKGROUND");
    EXPECT_EQ(g_Graphic->BackSurface().ReadPixel(700, 20), map->ReadPixel(700, 600));
    EXPECT_TRUE(Shows(*Picture("POLICE_BLUE"), 50, 560));

    // Any key ends a race on an empty text.
    game.KeyPress('a');
    EXPECT_EQ(game.Screen(), kScreenLost);
}

TEST_F(PoliceWorld, RaceScreenFollowsTheRunnerToTheMapEdges) {
    WriteText("t.txt", "abcdef");
    PoliceGame& game = StartGame();
    Click(game.Buttons().BtnSingle);
    Click(game.Buttons().BtnStart);
    Type("abcdef");
    Frame();
    EXPECT_TRUE(Shows(*Picture("POLICE_BLUE"), 730, 560));

    // Figures partly or wholly off the screen are clipped.
    Runner& police = game.Race().Track.Runners[0];
    for (auto [x, y] : {std::pair{-30.0f, -40.0f}, {1580.0f, 1180.0f}, {20.0f, 1190.0f}, {5000.0f, -900.0f}}) {
        police.MapX = x;
        police.MapY = y;
        police.Speed = 0.0f;
        game.UpDateScreen();
    }
    police.MapX = 1580.0f;
    police.MapY = 1180.0f;
    game.UpDateScreen();
    EXPECT_EQ(game.Renderer().Camera().Left(), 800);
    EXPECT_EQ(game.Renderer().Camera().Top(), 600);
}

TEST_F(PoliceWorld, StatusOverlayCountsDownAndGivesTheTextFontBack) {
    PoliceGame& game = StartGame();
    game.ShowStatus(u"请选择有效的连接");
    Frame();
    EXPECT_EQ(game.StatusTicks(), 199);
    const GameFont::Record& r = g_SongFont->GetRecord();
    EXPECT_EQ(r.height, 14);
    EXPECT_STREQ(r.faceName.data(), "\xcb\xce\xcc\xe5");  // 宋体 in CP936
    for (int i = 0; i < 250; ++i) game.UpDateScreen();
    EXPECT_EQ(game.StatusTicks(), 0);
}

// Plays steps into the exit dialog's loop from inside the platform wait, on a virtual clock.
class DialogDriver {
public:
    DialogDriver() {
        platform::MessageQueue::Instance().Clear();
        platform::Clock::UseVirtual(100000);
        g_LastFrameTime = 100000;
        platform::MessageQueue::Instance().SetScriptHook([this](uint32_t deadline) { Step(deadline); });
    }
    ~DialogDriver() {
        platform::MessageQueue::Instance().SetScriptHook({});
        platform::MessageQueue::Instance().Clear();
        platform::Clock::UseReal();
    }
    void Then(std::function<void()> step) { steps_.push_back(std::move(step)); }
    static void Key(uint32_t vk) {
        platform::Message down;
        down.message = platform::WM_KEYDOWN;
        down.wParam = vk;
        platform::MessageQueue::Instance().Post(down);
    }
    int waits = 0;

private:
    void Step(uint32_t deadline) {
        ++waits;
        if (!steps_.empty()) {
            auto step = std::move(steps_.front());
            steps_.pop_front();
            step();
        } else if (waits > 500) {
            Key(platform::VK_ESCAPE);  // a dialog that never ends fails the test instead of hanging
        }
        if (platform::MessageQueue::Instance().Empty()) platform::Clock::AdvanceTo(deadline);
    }
    std::deque<std::function<void()>> steps_;
};

struct ProgramEnded {};

TEST_F(PoliceWorld, QuitQuestionEscKeepsTheProgramEnterEndsIt) {
    PoliceGame& game = StartGame();
    auto held = game_;
    bool restored = false;
    {
        DialogDriver driver;
        driver.Then([] {});
        driver.Then([&] {
            // The display was lost and is back: the screen reloads its pictures meanwhile.
            game.RestoreRes();
            restored = true;
        });
        driver.Then([] { DialogDriver::Key(platform::VK_ESCAPE); });
        Click(game.Buttons().BtnExit);
        EXPECT_TRUE(restored);
        EXPECT_LT(driver.waits, 400);
    }
    // The screen behind goes on working.
    EXPECT_EQ(game.Screen(), kScreenMainMenu);
    Click(game.Buttons().BtnSingle);
    EXPECT_EQ(game.Screen(), kScreenSetting);
    Click(game.Buttons().BtnCancel);

    SetShutdownExitHook([] { throw ProgramEnded{}; });
    bool ended = false;
    {
        DialogDriver driver;
        driver.Then([] { DialogDriver::Key(platform::VK_RETURN); });
        try {
            Click(game.Buttons().BtnExit);
        } catch (const ProgramEnded&) {
            ended = true;
        }
    }
    SetShutdownExitHook(nullptr);
    EXPECT_TRUE(ended);
    EXPECT_EQ(g_Screen, nullptr);  // the shutdown released the shared objects
}

}  // namespace
}  // namespace policetest
