#pragma once
#include <functional>
#include <string>

// Test verbs of scripted runs that open the shared dialogs over the current screen:
//   open msgdlg     g_MsgDlg2 with the quit question, pictured as the game screens set it
//   open setup N    page N (1 apple, 2 frog, 3 mole, 4 space) of g_SetupDlg at (173, 143)
//   open msgbox TEXT the message box with TEXT ("\n" breaks the line); drawn when the script
//                   holds a line `boxes`, else only written to standard error
//   open namebox    the high-score name box; prints "namebox: ok [TEXT]" or "namebox: cancel"
//   open NAME       a target added with AddScriptOpenTarget (the program adds "adcolumn", the
//                   advertisement panel over the current screen, from then on)
// Start-up calls this once; the dialogs then run until the script answers them.
void RegisterDialogScriptVerbs();

// Adds "open NAME" for a panel of a layer above the shell; `open` shows it over the current
// screen. The program adds its targets before start-up.
void AddScriptOpenTarget(const std::string& name, std::function<void()> open);
