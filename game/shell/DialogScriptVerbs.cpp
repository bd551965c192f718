#include "shell/DialogScriptVerbs.h"

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "shell/ExitQuestion.h"
#include "shell/Globals.h"
#include "shell/NameBox.h"
#include "shell/ScriptVerbs.h"
#include "shell/SetupDlg.h"

namespace {

// The panels of the layers above the shell that "open NAME" shows, by name.
std::map<std::string, std::function<void()>>& OpenTargets() {
    static std::map<std::string, std::function<void()>> targets;
    return targets;
}

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

// The exit question of the current screen, answered by nothing but the dialog.
bool OpenMessageDialog() {
    if (!g_MsgDlg2) return false;
    ExitQuestion::Ask(ExitQuestion::GameExitText());
    return true;
}

// The message box with TEXT (the rest of the line; "\n" starts a new line), as an error.
bool OpenMessageBox(const std::string& text) {
    if (text.empty()) return false;
    std::string lines;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\\n") == 0) {
            lines += "\r\n";
            ++i;
        } else {
            lines += text[i];
        }
    }
    platform::ShowMessageBox(platform::FromUtf8(lines), platform::ApplicationTitle(), platform::MessageIcon::Error);
    return true;
}

bool OpenSetupDialog(int page) {
    auto dlg = g_SetupDlg;
    if (!dlg || page < 1 || page > 4) return false;
    dlg->SetPictures(SetupBackground(page), "DEFAULT", "OK", "CANCEL");
    dlg->Show(page, 173, 143);
    return true;
}

// The high-score name box; its answer goes to standard output.
bool OpenNameBox() {
    auto box = NameBox::Create();
    const auto answer = box->Show(u"高分英雄", u"请留下您的大名", u"英雄", 8);
    std::string line = "namebox: ";
    if (answer) {
        line += "ok [";
        line += platform::ToUtf8(*answer);
        line += "]\n";
    } else {
        line += "cancel\n";
    }
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
    return true;
}

// "open msgdlg", "open msgbox TEXT", "open namebox", "open setup N" (N from 1 to 4) or "open NAME"
// of a registered target; anything else is not acted on.
bool Open(const std::string& args) {
    std::istringstream in(args);
    std::string what;
    in >> what;
    if (what == "msgdlg") {
        std::string extra;
        return !(in >> extra) && OpenMessageDialog();
    }
    if (what == "msgbox") {
        std::string text;
        std::getline(in >> std::ws, text);
        return OpenMessageBox(text);
    }
    if (what == "namebox") {
        std::string extra;
        return !(in >> extra) && OpenNameBox();
    }
    if (what == "setup") {
        int page = 0;
        std::string extra;
        if (!(in >> page) || (in >> extra)) return false;
        return OpenSetupDialog(page);
    }
    const auto target = OpenTargets().find(what);
    std::string extra;
    if (target == OpenTargets().end() || (in >> extra)) return false;
    target->second();
    return true;
}

}  // namespace

void AddScriptOpenTarget(const std::string& name, std::function<void()> open) { OpenTargets()[name] = std::move(open); }

void RegisterDialogScriptVerbs() { RegisterScriptVerb("open", Open); }
