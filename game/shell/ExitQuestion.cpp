#include "shell/ExitQuestion.h"

#include "shell/FrameLoop.h"
#include "shell/Globals.h"
#include "shell/IGameInterface.h"
#include "shell/MessageDlg.h"
#include "shell/ScreenFactory.h"

namespace {
bool g_startedAtMenu = false;
}  // namespace

void ExitQuestion::SetStartedAtMenu(bool atMenu) { g_startedAtMenu = atMenu; }

bool ExitQuestion::StartedAtMenu() { return g_startedAtMenu; }

const char16_t* ExitQuestion::GameExitText() { return g_startedAtMenu ? kBackToMenuText : kQuitText; }

bool ExitQuestion::Ask(const std::u16string& text) {
    const std::shared_ptr<MessageDlg> dlg = g_MsgDlg2;
    if (!dlg) return false;
    // "退出" and "返回" answer the question to quit; back to the menu they would read the wrong way
    // round ("返回" keeps the game), so that question is answered "是" or "否".
    if (text == kBackToMenuText) {
        dlg->SetPictures("MAIN_DLG_BG", "YES", "YES", "NO");
    } else {
        dlg->SetPictures("MAIN_DLG_BG", "MAIN_DLG_EXIT", "MOLE_DLG_NEXT", "MAIN_DLG_REPLAY");
    }
    return dlg->Show(text, 240, 212, false) == MessageDlg::kRePlay;
}

bool ExitQuestion::LeaveGame() {
    if (!Ask(GameExitText())) return false;
    if (g_startedAtMenu) {
        if (auto menu = ScreenFactory::Create(ScreenFactory::kMenu)) {
            MakeCurrentScreen(std::move(menu));
            return true;
        }
    }
    ShutdownProgram();
    return true;
}

void ExitQuestion::QuitProgram() {
    if (Ask(kQuitText)) ShutdownProgram();
}
