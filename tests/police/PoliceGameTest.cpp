// The police game screen on a headless engine over the program's packs.
#include <deque>
#include <functional>
#include <vector>

#include "PoliceWorld.h"
#include "platform/Clock.h"
#include "platform/MessageQueue.h"
#include "platform/SoundBuffer.h"
#include "shell/FrameLoop.h"
#include "tests/support/DialogDriver.h"

namespace policetest {
namespace {

// A chosen role or vehicle: disabled, showing its disabled frame (the one with the check mark).
TEST_F(PoliceWorld, DefaultChoicesAndRadioButtonsSurviveScreensAndALostDisplay) {
    PoliceGame& game = StartGame();
    const PoliceButtons& b = game.Buttons();
    EXPECT_EQ(game.Screen(), kScreenMainMenu);
    EXPECT_EQ(game.Race().LocalIndex, 0);
    EXPECT_TRUE(Chosen(*b.BtnPolice));
    EXPECT_TRUE(Chosen(*b.BtnCar0));
    EXPECT_TRUE(Chosen(*b.BtnBike1));
    for (int i = 0; i < 7; ++i) EXPECT_NE(g_Sound->Slot(i), nullptr) << i;
    game.KeyPress(27);  // Esc and Enter do nothing on the main menu
    game.KeyPress(13);
    EXPECT_EQ(game.Screen(), kScreenMainMenu);

    Click(b.BtnSingle);
    ASSERT_EQ(game.Screen(), kScreenSetting);
    Click(b.BtnThief);
    Click(b.BtnBike0);
    Click(b.BtnCar1);
    Click(b.BtnThief);  // the chosen button takes no click
    EXPECT_EQ(game.Race().LocalIndex, 1);
    EXPECT_EQ(game.Race().OpponentIndex, 0);
    EXPECT_TRUE(Chosen(*b.BtnThief));
    EXPECT_TRUE(b.BtnPolice->Enabled());
    EXPECT_EQ(game.Race().Track.Runners[0].TopSpeed, 1.3f);
    EXPECT_EQ(game.Race().Track.Runners[1].VehiclePose, 3);
    EXPECT_TRUE(b.BtnCar0->Enabled());
    Frame();

    Click(b.BtnCancel);
    EXPECT_EQ(game.Screen(), kScreenMainMenu);
    game.RestoreRes();
    Click(b.BtnSingle);
    EXPECT_TRUE(Chosen(*b.BtnThief));
    EXPECT_TRUE(Chosen(*b.BtnBike0));
}

TEST_F(PoliceWorld, TextListClickChoosesTheRaceText) {
    WriteText("a.txt", "first");
    WriteText("b.txt", "Second text.  \nnot this");
    WriteText("c WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW.txt", "wide");
    PoliceGame& game = StartGame();
    Click(game.Buttons().BtnSingle);
    const int32_t row = game.TextList().Entries()[0] == u"b" ? 0 : 1;
    Click(600, 46 + 25 * row);
    Click(575, 46 + 25 * (1 - row));  // left of the list: no change
    game.MouseMove(600, 46 + 25 * (1 - row));
    EXPECT_EQ(game.TextList().TextListID, row);
    Frame();
    // The highlight, and a long name that ends short of the marks.
    const platform::Surface& back = g_Graphic->BackSurface();
    EXPECT_EQ(back.ReadPixel(573, 40 + 25 * row), platform::Surface::RawFromBgr(0xC1FF));
    for (int32_t x = 770; x < 800; ++x)
        for (int32_t y = 92; y < 115; ++y) ASSERT_NE(back.ReadPixel(x, y), platform::Surface::RawFromBgr(0xC1FF)) << x;

    Click(game.Buttons().BtnStart);
    ASSERT_EQ(game.Screen(), kScreenRace);
    EXPECT_EQ(game.Race().Text.Text(), u"Second text.");
}

// A double-click on the single-player button opens the setting screen, where the text list now
// lies under the pointer: the second press chooses no text. A press there later does.
TEST_F(PoliceWorld, TheSecondPressOfADoubleClickThatOpenedTheSettingScreenChoosesNoText) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) WriteText(name, "text");
    PoliceGame& game = StartGame();
    platform::Clock::UseVirtual(50000);
    Click(620, 346);
    ASSERT_EQ(game.Screen(), kScreenSetting);
    const int32_t chosen = game.TextList().TextListID;
    ASSERT_NE(chosen, 2);
    platform::Clock::AdvanceTo(50200);
    Click(620, 346);
    EXPECT_EQ(game.TextList().TextListID, chosen);
    platform::Clock::AdvanceTo(50600);
    Click(620, 346);
    EXPECT_EQ(game.TextList().TextListID, 2);
    platform::Clock::UseReal();
}

// Without a text to type the race is not started: no texts at all, or an empty one chosen.
TEST_F(PoliceWorld, StartIsRefusedWhileThereIsNoTextToType) {
    for (const bool withEmptyText : {false, true}) {
        if (withEmptyText) WriteText("empty.txt", " \r\n");
        PoliceGame& game = StartGame();
        Click(game.Buttons().BtnSingle);
        ASSERT_EQ(game.Screen(), kScreenSetting);
        Click(game.Buttons().BtnStart);
        EXPECT_EQ(game.Screen(), kScreenSetting) << (withEmptyText ? "an empty text" : "no texts");
        EXPECT_EQ(game.StatusText(), u"请选择一篇比赛文章");
        Frame();
        EXPECT_EQ(game.Screen(), kScreenSetting);
    }
}

TEST_F(PoliceWorld, RaceEndsOnTheKeyAfterTheTextOrOnACatch) {
    WriteText("ab.txt", "ab");
    for (int32_t local : {0, 1}) {
        PoliceGame& game = StartGame();
        Click(game.Buttons().BtnSingle);
        Click(local == 0 ? game.Buttons().BtnPolice : game.Buttons().BtnThief);
        Click(game.Buttons().BtnStart);
        platform::Clock::UseVirtual(5000);
        Type("a");
        platform::Clock::AdvanceTo(5300);
        Type("b");
        Frame();
        EXPECT_EQ(game.Screen(), kScreenRace);
        // The panel says what the next key does; the snapshots of the real program show it blink.
        EXPECT_EQ(std::u16string(game.Renderer().FinishPrompt()),
                  local == 0 ? u"按空格键结束比赛" : u"按空格键冲过终点！");
        platform::Clock::AdvanceTo(9300);
        Type("?");
        platform::Clock::UseReal();
        const bool won = local == 1;
        EXPECT_EQ(game.Screen(), won ? kScreenWon : kScreenLost);
        EXPECT_EQ(game.RaceScreen().LastResult().durationMs, 300) << "the wait for the finishing key is no typing";
        Frame();
        const std::string picture = (won ? "POLICE_WIN_" : "POLICE_LOST_") + std::to_string(local);
        // The result picture, but for the figures box at the top left.
        EXPECT_TRUE(Shows(*Picture(picture), 0, 0, platform::Rect{10, 10, 187, 81})) << picture;

        game.KeyPress(13);  // a new race with the same text
        EXPECT_EQ(game.Screen(), kScreenRace);
        EXPECT_EQ(game.Race().Local().InputPos, 0);
        EXPECT_EQ(game.Race().Text.WindowRest(), u"ab");
        game.Race().Track.Runners[0].Segment = 1;  // the police 10 units past the thief
        game.Race().Track.Runners[0].Travelled = 10.0f;
        Frame();
        EXPECT_EQ(game.Screen(), local == 0 ? kScreenWon : kScreenLost);
        game.KeyPress(27);
        EXPECT_EQ(game.Screen(), kScreenSetting);
    }
}

// The effect slots playing now, one bit per slot; afterwards every slot is stopped.
int PlayingEffects() {
    int bits = 0;
    for (int16_t i = 0; i < 7; ++i) {
        if (g_Sound->Slot(i)->Playing()) bits |= 1 << i;
        g_Sound->StopSound(i);
    }
    return bits;
}

TEST_F(PoliceWorld, SoundsOfTheRaceStartAndTheResultScreens) {
    ASSERT_TRUE(g_Sound->Enabled());
    WriteText("ab.txt", "ab");
    for (int32_t local : {0, 1}) {
        PoliceGame& game = StartGame();
        Click(game.Buttons().BtnSingle);
        Click(local == 0 ? game.Buttons().BtnPolice : game.Buttons().BtnThief);
        PlayingEffects();
        Click(game.Buttons().BtnStart);
        // The other side's entry, and the music of the race.
        EXPECT_EQ(PlayingEffects(), local == 0 ? 1 << 1 : 1 << 0) << local;
        EXPECT_TRUE(g_Sound->Loop()->Playing());

        // The whole text and one more key: the police loses, the thief wins; both get away.
        // (The short key sound may be over already.)
        Type("ab?");
        ASSERT_EQ(game.Screen(), local == 0 ? kScreenLost : kScreenWon);
        EXPECT_EQ(PlayingEffects() & ~(1 << 6), 1 << 5) << local;
        EXPECT_FALSE(g_Sound->Loop()->Playing());

        // A catch: the police wins, the thief loses; both hear the catch.
        game.KeyPress(13);
        PlayingEffects();
        game.Race().Track.Runners[0].Segment = 1;
        game.Race().Track.Runners[0].Travelled = 10.0f;
        Frame();
        ASSERT_EQ(game.Screen(), local == 0 ? kScreenWon : kScreenLost);
        EXPECT_EQ(PlayingEffects(), 1 << 4) << local;
    }
}

TEST_F(PoliceWorld, RaceScreenDrawing) {
    WriteText("a.txt", "a");  // a race is started only with a text
    PoliceGame& game = StartGame();
    Click(game.Buttons().BtnSingle);
    Click(game.Buttons().BtnStart);
    Frame();
    EXPECT_EQ(game.Renderer().Camera().Left(), 0);
    EXPECT_EQ(game.Renderer().Camera().Top(), 580);
    EXPECT_EQ(g_Graphic->BackSurface().ReadPixel(700, 20), Picture("POLICE_BACKGROUND")->ReadPixel(700, 600));
    EXPECT_TRUE(Shows(*Picture("POLICE_BLUE"), 50, 560));

    // The typing line drawn afresh, kept on the first frame and shown from there on the next:
    // the panel under it is opaque, so the map moving behind it changes none of its pixels.
    const auto line = [] {
        std::vector<uint16_t> pixels;
        for (int32_t y = 525; y < 555; ++y)
            for (int32_t x = 60; x < 740; ++x) pixels.push_back(g_Graphic->BackSurface().ReadPixel(x, y));
        return pixels;
    };
    const std::vector<uint16_t> drawn = line();

    // Figures partly or wholly off the screen are clipped.
    Runner& police = game.Race().Track.Runners[0];
    for (auto [x, y] : {std::pair{-30.0f, -40.0f}, {20.0f, 1190.0f}, {5000.0f, -900.0f}, {1580.0f, 1180.0f}}) {
        police.MapX = x;
        police.MapY = y;
        game.UpDateScreen();
        EXPECT_EQ(line(), drawn);
    }
    EXPECT_EQ(game.Renderer().Camera().Left(), 800);
    EXPECT_EQ(game.Renderer().Camera().Top(), 600);
    game.KeyPress('a');
    game.KeyPress('?');  // the key after the text ends the race
    EXPECT_EQ(game.Screen(), kScreenLost);
}

// Pixels of the typing line that are clearly red.
int RedPixels() {
    int red = 0;
    const platform::Surface& back = g_Graphic->BackSurface();
    for (int32_t y = 518; y < 552; ++y) {
        for (int32_t x = 55; x < 200; ++x) {
            const uint16_t p = back.ReadPixel(x, y);
            if ((p >> 11) >= 20 && ((p >> 5) & 0x3F) < 20 && (p & 0x1F) < 10) ++red;
        }
    }
    return red;
}

TEST_F(PoliceWorld, AWrongKeyShowsTheNextCharacterRedForAMomentAndChangesNothingElse) {
    WriteText("Walk.txt", "Walk on.");
    platform::Clock::UseVirtual(5000);
    PoliceGame& game = StartGame();
    Click(game.Buttons().BtnSingle);
    Click(game.Buttons().BtnStart);
    Frame();
    EXPECT_EQ(RedPixels(), 0);
    const Runner before = game.Race().Local();
    game.KeyPress('x');
    Frame();
    EXPECT_GT(RedPixels(), 5) << "the next character is drawn red";
    EXPECT_EQ(game.Race().Local().InputPos, before.InputPos);
    EXPECT_EQ(game.Race().Local().Speed, before.Speed);
    platform::Clock::AdvanceTo(5000 + 140);
    Frame();
    EXPECT_TRUE(game.RaceScreen().ShowsWrongKey());
    platform::Clock::AdvanceTo(5000 + 150);
    Frame();
    EXPECT_EQ(RedPixels(), 0) << "gone after 150 ms";

    game.KeyPress('x');
    game.KeyPress('W');  // a right key takes the mark away at once
    Frame();
    EXPECT_EQ(RedPixels(), 0);
    EXPECT_EQ(game.Race().Local().InputPos, 1);
    for (char c : std::string("alkx")) game.KeyPress(c);  // a wrong key where a space is next
    Frame();
    EXPECT_GT(RedPixels(), 5) << "a red box stands for the space";
    platform::Clock::UseReal();
}

TEST_F(PoliceWorld, StatusOverlayCountsDownAndGivesTheTextFontBack) {
    PoliceGame& game = StartGame();
    const int32_t height = g_SongFont->GetRecord().height;
    game.ShowStatus(u"另一玩者已经退出");
    Frame();
    EXPECT_EQ(game.StatusTicks(), 199);
    // The message has a font of its own: the shared text font is as it was.
    EXPECT_EQ(g_SongFont->GetRecord().height, height);
    EXPECT_STREQ(g_SongFont->GetRecord().faceName.data(), "\xcb\xce\xcc\xe5");  // 宋体
}

using testsupport::DialogDriver;

struct ProgramEnded {};

TEST_F(PoliceWorld, QuitQuestionEscKeepsTheProgramEnterEndsIt) {
    PoliceGame& game = StartGame();
    auto held = game_;
    bool restored = false;
    {
        // The display is lost while the question is open: the screen reloads its pictures.
        DialogDriver driver({[] {}, [&] { restored = game.RestoreRes(); }, DialogDriver::Key(platform::VK_ESCAPE)});
        Click(game.Buttons().BtnExit);
    }
    EXPECT_TRUE(restored);
    Click(game.Buttons().BtnSingle);  // the screen behind goes on working
    EXPECT_EQ(game.Screen(), kScreenSetting);
    Click(game.Buttons().BtnCancel);

    SetShutdownExitHook([] { throw ProgramEnded{}; });
    bool ended = false;
    {
        DialogDriver driver({DialogDriver::Key(platform::VK_RETURN)});
        try {
            Click(game.Buttons().BtnExit);
        } catch (const ProgramEnded&) {
            ended = true;
        }
    }
    SetShutdownExitHook(nullptr);
    EXPECT_TRUE(ended);
    EXPECT_EQ(g_Screen, nullptr);
}

// The back surface's pixels of the typing line between two columns.
std::vector<uint16_t> TypingLine(int32_t fromX, int32_t toX) {
    std::vector<uint16_t> pixels;
    for (int32_t y = 515; y < 555; ++y) {
        for (int32_t x = fromX; x < toX; ++x) pixels.push_back(g_Graphic->BackSurface().ReadPixel(x, y));
    }
    return pixels;
}

TEST_F(PoliceWorld, AJunkRaceTextIsReadWholeAndDrawnOnlyInsideTheTypingWindow) {
    // A NUL and other control bytes in the line, and far more width than the window holds.
    WriteText("Junk.txt", std::string("Wide\0open\tW\x01\x7F", 13) + std::string(80, 'W') + "\n");
    PoliceGame& game = StartGame();
    Click(game.Buttons().BtnSingle);
    Click(game.Buttons().BtnStart);
    EXPECT_EQ(game.Race().Text.Text(), u"Wide open W  " + std::u16string(80, u'W'));
    Frame();
    const auto inside = TypingLine(60, 740);
    const auto outside = TypingLine(740, 800);

    // Without a line, the window's right edge and beyond look the same: nothing was drawn there.
    game.Race().Text.SetText(u"");
    game.UpDateScreen();
    EXPECT_NE(TypingLine(60, 740), inside);
    EXPECT_EQ(TypingLine(740, 800), outside);
}

}  // namespace
}  // namespace policetest
