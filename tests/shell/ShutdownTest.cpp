#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ShellTestSupport.h"

namespace shelltest {
namespace {

std::vector<std::string> g_released;

// Records its name when the last reference to it goes.
struct ReleaseRecorder {
    explicit ReleaseRecorder(std::string n) : name(std::move(n)) {}
    ~ReleaseRecorder() { g_released.push_back(name); }
    std::string name;
};

// A reference of type T whose release is recorded (the object itself is never used).
template <typename T>
std::shared_ptr<T> Recorded(const std::string& name) {
    auto recorder = std::make_shared<ReleaseRecorder>(name);
    return std::shared_ptr<T>(recorder, static_cast<T*>(nullptr));
}

class RecordedScreen : public RecordingScreen {
public:
    ~RecordedScreen() override { g_released.push_back("Screen"); }
};

class ShutdownTest : public ShellTest {};

TEST_F(ShutdownTest, ReleasesTheSharedObjectsInTheirFixedOrderAndNeverReturns) {
    g_released.clear();
    g_ArialFont = Recorded<GameFont>("ArialFont");
    g_SongFont = Recorded<GameFont>("SongFont");
    g_Sound = Recorded<SoundEngine>("Sound");
    g_Graphic = Recorded<GraphicEngine>("Graphic");
    g_Screen = std::make_shared<RecordedScreen>();
    screen.reset();
    g_SetupDlg = Recorded<SetupDlg>("SetupDlg");
    g_MsgDlg2 = Recorded<MessageDlg>("MsgDlg2");
    g_MsgDlg = Recorded<MessageDlg>("MsgDlg");

    EXPECT_THROW(ShutdownProgram(), ShutdownCalled);
    EXPECT_EQ(g_released, (std::vector<std::string>{"MsgDlg", "MsgDlg2", "SetupDlg", "Screen", "Graphic", "Sound",
                                                    "SongFont", "ArialFont"}));
    EXPECT_EQ(g_Screen, nullptr);
    EXPECT_EQ(g_Graphic, nullptr);
}

// Alt+F4 or closing the window: WM_DESTROY, then WM_QUIT ends the main pump, then the normal end.
TEST_F(ShutdownTest, QuitFromAScreenHandlerEndsInsideTheHandler) {
    class QuittingScreen : public RecordingScreen {
    public:
        bool KeyPress(int32_t) override { ShutdownProgram(); }
    };
    g_Screen = std::make_shared<QuittingScreen>();
    platform::Message ch;
    ch.message = platform::WM_CHAR;
    ch.wParam = 'x';
    EXPECT_THROW(WindowProc(ch), ShutdownCalled);
    EXPECT_EQ(g_Screen, nullptr);
}

// A failing handler is reported on standard error; the message counts as handled and play goes on.
TEST_F(ShutdownTest, AFailingHandlerIsReportedAndPlayGoesOn) {
    class FailingScreen : public RecordingScreen {
    public:
        bool KeyPress(int32_t) override { throw std::runtime_error("no such picture: APPLE"); }
    };
    auto screen = std::make_shared<FailingScreen>();
    g_Screen = screen;
    platform::Message ch;
    ch.message = platform::WM_CHAR;
    ch.wParam = 'x';
    testing::internal::CaptureStderr();
    EXPECT_NO_THROW(WindowProc(ch));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no such picture: APPLE"), std::string::npos);
    EXPECT_EQ(g_Screen, screen);
    g_Screen.reset();
}

}  // namespace
}  // namespace shelltest
