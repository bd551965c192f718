#include "engine/SharedEngines.h"

std::shared_ptr<GraphicEngine> g_Graphic;
std::shared_ptr<SoundEngine> g_Sound;
