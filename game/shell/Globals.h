#pragma once
#include <cstdint>
#include <memory>

#include "engine/SharedEngines.h"
#include "platform/Geometry.h"

class IGameInterface;
class MessageDlg;
class SetupDlg;
class GameFont;
namespace platform {
class Display;
}

// Process-wide objects, created by start-up in a fixed order and released by ShutdownProgram
// (with the engines of engine/SharedEngines.h).
extern std::shared_ptr<IGameInterface> g_Screen;
extern std::shared_ptr<MessageDlg> g_MsgDlg;
extern std::shared_ptr<MessageDlg> g_MsgDlg2;
extern std::shared_ptr<SetupDlg> g_SetupDlg;
extern std::shared_ptr<GameFont> g_SongFont;   // "宋体", height -14, character set 134
extern std::shared_ptr<GameFont> g_ArialFont;  // "Arial", bold; each game sets its height

// Clock value when the last frame step ran (drawn, skipped as still, or under a dialog), and
// milliseconds between the last two frames.
extern int32_t g_LastFrameTime;
extern int32_t g_FrameElapsed;
// All zero: the whole surface in copy operations.
extern const platform::Rect g_FullScreenRect;

// The game window (owned by start-up).
extern std::unique_ptr<platform::Display> g_Display;
