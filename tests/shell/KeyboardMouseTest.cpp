// The road of real input: SDL events into the queue, translation, the window procedure and the
// current screen.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "ShellTestSupport.h"
#include "platform/Clock.h"

namespace shelltest {
namespace {

using platform::MessageQueue;

SDL_Event Key(bool down, SDL_Keycode sym, SDL_Scancode scan, uint16_t mod = KMOD_NONE) {
    SDL_Event e;
    SDL_zero(e);
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.keysym.sym = sym;
    e.key.keysym.scancode = scan;
    e.key.keysym.mod = mod;
    return e;
}

SDL_Event Text(const char* utf8) {
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_TEXTINPUT;
    std::strncpy(e.text.text, utf8, sizeof e.text.text - 1);
    return e;
}

SDL_Event Button(bool down, uint8_t button, int x, int y) {
    SDL_Event e;
    SDL_zero(e);
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    return e;
}

class KeyboardMouseTest : public ShellTest {
protected:
    void Feed(const SDL_Event& e) { MessageQueue::Instance().HandleSdlEvent(e); }
};

TEST_F(KeyboardMouseTest, ShiftAndCtrlGiveOneTwoThree) {
    Feed(Key(true, SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT));
    Feed(Key(true, SDLK_a, SDL_SCANCODE_A, KMOD_LSHIFT));
    Feed(Text("A"));
    Feed(Key(true, SDLK_RCTRL, SDL_SCANCODE_RCTRL, KMOD_LSHIFT | KMOD_RCTRL));
    Feed(Key(false, SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, KMOD_RCTRL));
    Feed(Key(true, SDLK_b, SDL_SCANCODE_B, KMOD_RCTRL));
    Feed(Key(false, SDLK_RCTRL, SDL_SCANCODE_RCTRL));
    Feed(Key(true, SDLK_c, SDL_SCANCODE_C));
    DispatchAll();
    EXPECT_EQ(screen->calls, (std::vector<std::string>{"KeyDown 16 1", "KeyDown 65 1", "KeyPress 65", "KeyDown 17 3",
                                                       "KeyUp 16 2", "KeyDown 66 2", "KeyUp 17 0", "KeyDown 67 0"}));
}

TEST_F(KeyboardMouseTest, ControlKeysTranslateToTheirCharacters) {
    Feed(Key(true, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE));
    Feed(Key(true, SDLK_RETURN, SDL_SCANCODE_RETURN));
    Feed(Key(true, SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER));
    Feed(Key(true, SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE));
    Feed(Key(true, SDLK_TAB, SDL_SCANCODE_TAB));
    DispatchAll();
    EXPECT_EQ(screen->Calls("KeyPress"),
              (std::vector<std::string>{"KeyPress 27", "KeyPress 13", "KeyPress 13", "KeyPress 8", "KeyPress 9"}));
    EXPECT_EQ(screen->Calls("KeyDown"),
              (std::vector<std::string>{"KeyDown 27 0", "KeyDown 13 0", "KeyDown 13 0", "KeyDown 8 0", "KeyDown 9 0"}));
}

TEST_F(KeyboardMouseTest, ChineseTextReachesKeyPressAsItsDoubleByteCode) {
    // Committed by an input method without a key of its own: one character message each.
    Feed(Text("中文"));
    // Produced by a key: the key's character after translation.
    Feed(Key(true, SDLK_SPACE, SDL_SCANCODE_SPACE));
    Feed(Text("国"));
    // A character the code page lacks types nothing, not a '?' (a German ä, ß); a '?' is one.
    Feed(Text("ä?ß"));
    DispatchAll();
    EXPECT_EQ(screen->Calls("KeyPress"),
              (std::vector<std::string>{"KeyPress " + std::to_string(0xD6D0), "KeyPress " + std::to_string(0xCEC4),
                                        "KeyPress " + std::to_string(0xB9FA), "KeyPress 63"}));
}

TEST_F(KeyboardMouseTest, AKeyMessageHandledWithoutTranslationYieldsNoCharacter) {
    Feed(Key(true, SDLK_q, SDL_SCANCODE_Q));
    Feed(Text("q"));
    Feed(Key(true, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE));
    DispatchAll(/*translate=*/false);
    EXPECT_TRUE(screen->Calls("KeyPress").empty());
    EXPECT_EQ(screen->Calls("KeyDown"), (std::vector<std::string>{"KeyDown 81 0", "KeyDown 27 0"}));
    EXPECT_TRUE(MessageQueue::Instance().Empty());
}

TEST_F(KeyboardMouseTest, SystemKeysReachNoScreen) {
    Feed(Key(true, SDLK_F10, SDL_SCANCODE_F10));
    Feed(Key(false, SDLK_F10, SDL_SCANCODE_F10));
    Feed(Key(true, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_LALT));
    Feed(Key(true, SDLK_F4, SDL_SCANCODE_F4, KMOD_LALT));
    Feed(Key(true, SDLK_x, SDL_SCANCODE_X, KMOD_LALT));
    Feed(Text("x"));
    Feed(Key(false, SDLK_x, SDL_SCANCODE_X, KMOD_LALT));
    Feed(Key(false, SDLK_LALT, SDL_SCANCODE_LALT));
    DispatchAll();
    EXPECT_TRUE(screen->calls.empty()) << screen->calls.front();
    // F9 and F11 are plain keys.
    Feed(Key(true, SDLK_F9, SDL_SCANCODE_F9));
    Feed(Key(true, SDLK_F11, SDL_SCANCODE_F11));
    DispatchAll();
    EXPECT_EQ(screen->calls, (std::vector<std::string>{"KeyDown 120 0", "KeyDown 122 0"}));
}

TEST_F(KeyboardMouseTest, ACharacterTypedWithAltGrIsAnOrdinaryKey) {
    // German layout: AltGr+Q gives "@". Right Alt with a key that gives no text stays a system key.
    Feed(Key(true, SDLK_RALT, SDL_SCANCODE_RALT, KMOD_RALT));
    Feed(Key(true, SDLK_q, SDL_SCANCODE_Q, KMOD_RALT));
    Feed(Text("@"));
    Feed(Key(false, SDLK_q, SDL_SCANCODE_Q, KMOD_RALT));
    Feed(Key(true, SDLK_F4, SDL_SCANCODE_F4, KMOD_RALT));
    Feed(Key(false, SDLK_RALT, SDL_SCANCODE_RALT));
    DispatchAll();
    EXPECT_EQ(screen->calls, (std::vector<std::string>{"KeyDown 81 0", "KeyPress 64"}));
}

// A window uncovered or resized over a still screen is shown again at once: its event ends the
// wait that would otherwise last up to a second.
TEST_F(KeyboardMouseTest, AWindowEventEndsTheWaitOfAStillScreen) {
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_EXPOSED;
    Feed(e);
    const auto start = std::chrono::steady_clock::now();
    MessageQueue::Instance().WaitUntil(platform::Clock::Now() + 5000);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(KeyboardMouseTest, OnlyTheLeftButtonReachesTheScreen) {
    Feed(Button(true, SDL_BUTTON_RIGHT, 10, 20));
    Feed(Button(false, SDL_BUTTON_RIGHT, 10, 20));
    Feed(Button(true, SDL_BUTTON_MIDDLE, 10, 20));
    Feed(Button(true, SDL_BUTTON_LEFT, 799, 599));
    Feed(Button(false, SDL_BUTTON_LEFT, 805, -3));  // outside the picture: held to its edge
    DispatchAll();
    EXPECT_EQ(screen->calls, (std::vector<std::string>{"MouseDown 1 799 599", "MouseUp 1 799 0"}));
}

// A release the window never saw (hidden, or its focus taken, mid-drag) is made up where the
// pointer was last, so no slider or button stays held after the player let go elsewhere.
TEST_F(KeyboardMouseTest, APressWhoseReleaseWasLostEndsWhereThePointerWasLast) {
    SDL_Event hidden;
    SDL_zero(hidden);
    hidden.type = SDL_WINDOWEVENT;
    hidden.window.event = SDL_WINDOWEVENT_HIDDEN;
    SDL_Event dragged;
    SDL_zero(dragged);
    dragged.type = SDL_MOUSEMOTION;
    dragged.motion.state = SDL_BUTTON_LMASK;
    dragged.motion.x = 300;
    dragged.motion.y = 240;
    Feed(Button(true, SDL_BUTTON_LEFT, 455, 240));
    Feed(dragged);
    Feed(hidden);
    Feed(hidden);  // one release only
    // Back on the window, the pointer moves with no button held after a press it saw.
    SDL_Event moved = dragged;
    moved.motion.state = 0;
    moved.motion.x = 540;
    Feed(Button(true, SDL_BUTTON_LEFT, 100, 100));
    Feed(moved);
    Feed(Button(false, SDL_BUTTON_LEFT, 540, 240));  // a late release of nothing held
    DispatchAll();
    EXPECT_EQ(screen->Calls("Mouse"),
              (std::vector<std::string>{"MouseDown 1 455 240", "MouseMove 300 240", "MouseUp 1 300 240",
                                        "MouseDown 1 100 100", "MouseUp 1 100 100", "MouseMove 540 240",
                                        "MouseUp 1 540 240"}));
}

TEST_F(KeyboardMouseTest, KeyCodesFollowTheTable) {
    const std::pair<SDL_Keycode, int> keys[] = {
        {SDLK_z, 90},
        {SDLK_0, 48},
        {SDLK_9, 57},
        {SDLK_SPACE, 32},
        {SDLK_CAPSLOCK, 20},
        {SDLK_PAGEUP, 33},
        {SDLK_HOME, 36},
        {SDLK_LEFT, 37},
        {SDLK_DOWN, 40},
        {SDLK_INSERT, 45},
        {SDLK_DELETE, 46},
        {SDLK_KP_0, 96},
        {SDLK_KP_9, 105},
        {SDLK_F1, 112},
        {SDLK_F12, 123},
        {SDLK_SEMICOLON, 186},
        {SDLK_EQUALS, 187},
        {SDLK_COMMA, 188},
        {SDLK_MINUS, 189},
        {SDLK_PERIOD, 190},
        {SDLK_SLASH, 191},
        {SDLK_BACKQUOTE, 192},
        {SDLK_LEFTBRACKET, 219},
        {SDLK_BACKSLASH, 220},
        {SDLK_RIGHTBRACKET, 221},
        {SDLK_QUOTE, 222},
    };
    std::vector<std::string> expected;
    for (const auto& [sym, code] : keys) {
        Feed(Key(true, sym, SDL_SCANCODE_UNKNOWN, KMOD_NUM));
        Feed(Key(false, sym, SDL_SCANCODE_UNKNOWN, KMOD_NUM));
        expected.push_back("KeyDown " + std::to_string(code) + " 0");
        expected.push_back("KeyUp " + std::to_string(code) + " 0");
    }
    // Num Lock off: the keypad moves (8 up, 1 End, 0 Insert) and its 5 is no key.
    for (const auto& [sym, code] : {std::pair{SDLK_KP_8, 38}, std::pair{SDLK_KP_1, 35}, std::pair{SDLK_KP_0, 45}}) {
        Feed(Key(true, sym, SDL_SCANCODE_UNKNOWN));
        expected.push_back("KeyDown " + std::to_string(code) + " 0");
    }
    Feed(Key(true, SDLK_KP_5, SDL_SCANCODE_UNKNOWN));
    DispatchAll(false);
    EXPECT_EQ(screen->calls, expected);
}

TEST_F(KeyboardMouseTest, ClosingTheWindowQuitsThroughTheNormalEnd) {
    SDL_Event quit;
    SDL_zero(quit);
    quit.type = SDL_QUIT;
    Feed(quit);
    platform::Message msg;
    ASSERT_TRUE(MessageQueue::Instance().Peek(msg, true));
    EXPECT_EQ(msg.message, platform::WM_DESTROY);
    WindowProc(msg);
    ASSERT_TRUE(MessageQueue::Instance().Peek(msg, true));
    EXPECT_EQ(msg.message, platform::WM_QUIT);
}

}  // namespace
}  // namespace shelltest
