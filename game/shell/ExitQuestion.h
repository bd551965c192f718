#pragma once
#include <string>

// The one question asked before a screen is left for good, on the second message dialog with
// the main dialog pictures. Started at the main menu, a game's exit asks "返回主菜单吗？" and
// a yes opens the menu; started on the race, it asks "你真的要退出吗？" and a yes ends the
// program. The menu's own exit always asks "你真的要退出吗？".
class ExitQuestion {
public:
    static constexpr const char16_t* kQuitText = u"你真的要退出吗？";
    static constexpr const char16_t* kBackToMenuText = u"返回主菜单吗？";

    // Start-up tells whether the program opened on the main menu.
    static void SetStartedAtMenu(bool atMenu);
    static bool StartedAtMenu();
    // The question a game's exit asks.
    static const char16_t* GameExitText();

    // Asks `text`; true when the player confirmed (the dialog's replay button, or Enter).
    static bool Ask(const std::u16string& text);
    // A game's exit: asks, and on a yes goes back to the menu or ends the program. True when the
    // game's screen was left (nothing of it may be touched then).
    static bool LeaveGame();
    // The menu's exit: asks, and on a yes ends the program.
    static void QuitProgram();
};
