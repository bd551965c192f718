#include "widgets/DialogScriptVerbs.h"

#include <memory>
#include <sstream>
#include <string>

#include "ads/AdColumnHost.h"
#include "menu/SetupDlg.h"
#include "shell/Globals.h"
#include "shell/ScriptVerbs.h"
#include "widgets/MessageDlg.h"

namespace {

// The background each game gives the settings dialog for its page.
const char* SetupBackground(int page) {
    switch (page) {
    case 2:
        return "FROG_SETUP";
    case 3:
        return "MOLE_SETUP";
    default:
        return "APPLE_SETUP";  // the apple and the space game
    }
}

void OpenMessageDialog() {
    auto dlg = g_MsgDlg2;
    if (!dlg) return;
    dlg->SetPictures("MAIN_DLG_BG", "MAIN_DLG_EXIT", "MOLE_DLG_NEXT", "MAIN_DLG_REPLAY");
    dlg->Show(u"你真的要退出吗？", 240, 212, false);
}

void OpenSetupDialog(int page) {
    auto dlg = g_SetupDlg;
    if (!dlg || page < 1 || page > 4) return;
    dlg->SetPictures(SetupBackground(page), "DEFAULT", "OK", "CANCEL");
    dlg->Show(page, 173, 143);
}

void Open(const std::string& args) {
    std::istringstream in(args);
    std::string what;
    in >> what;
    if (what == "msgdlg") {
        OpenMessageDialog();
    } else if (what == "setup") {
        int page = 0;
        if (in >> page) OpenSetupDialog(page);
    } else if (what == "adcolumn") {
        AdColumnHost::ShowOverCurrentScreen();
    }
}

}  // namespace

void RegisterDialogScriptVerbs() { RegisterScriptVerb("open", Open); }
