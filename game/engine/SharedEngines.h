#pragma once
#include <memory>

class GraphicEngine;
class SoundEngine;

// The process-wide engines every screen, dialog and control draws and sounds with; start-up
// creates them in a fixed order and the shell's shutdown releases them.
extern std::shared_ptr<GraphicEngine> g_Graphic;
extern std::shared_ptr<SoundEngine> g_Sound;
