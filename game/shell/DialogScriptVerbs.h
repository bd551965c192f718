#pragma once

// Test verbs of scripted runs that open the shared dialogs over the current screen:
//   open msgdlg     g_MsgDlg2 with the quit question, pictured as the game screens set it
//   open setup N    page N (1 apple, 2 frog, 3 mole, 4 space) of g_SetupDlg at (173, 143)
//   open msgbox TEXT the message box with TEXT ("\n" breaks the line); drawn when the script
//                   holds a line `boxes`, else only written to standard error
//   open namebox    the high-score name box; prints "namebox: ok [TEXT]" or "namebox: cancel"
//   open adcolumn   the advertisement panel over the current screen, from then on
// Start-up calls this once; the dialogs then run until the script answers them.
void RegisterDialogScriptVerbs();
