#include "shell/Globals.h"

#include "platform/Display.h"

std::shared_ptr<IGameInterface> g_Screen;
std::shared_ptr<MessageDlg> g_MsgDlg;
std::shared_ptr<MessageDlg> g_MsgDlg2;
std::shared_ptr<SetupDlg> g_SetupDlg;
std::shared_ptr<GameFont> g_SongFont;
std::shared_ptr<GameFont> g_ArialFont;

int32_t g_LastFrameTime = 0;
int32_t g_FrameElapsed = 0;
const platform::Rect g_FullScreenRect{};

std::unique_ptr<platform::Display> g_Display;
