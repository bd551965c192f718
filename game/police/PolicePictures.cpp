#include "police/PolicePictures.h"

#include "engine/GraphicEngine.h"
#include "engine/KeyedPicture.h"
#include "shell/Globals.h"

namespace {
void Load(platform::SurfacePtr& out, const std::string& name, bool keyed) {
    out = KeyedPicture(g_Graphic.get(), name, keyed);
}
}  // namespace

void PolicePictures::LoadAll(const std::string& backgroundName) {
    LoadBackground(backgroundName);
    Load(Input, "POLICE_INPUT", true);
    Load(Blue, "POLICE_BLUE", false);
    Load(Yellow, "POLICE_YELLOW", false);
    Load(Ping, "POLICE_PING", false);
    Load(PingBg, "POLICE_PING_BG", false);
    for (int i = 0; i < kStrips; ++i) Load(Strips[static_cast<size_t>(i)], StripName(i), true);
}

void PolicePictures::LoadBackground(const std::string& backgroundName) { Load(Background, backgroundName, false); }

std::string PolicePictures::StripName(int index) {
    const int role = index % 2;
    const int pose = (index / 2) % 4;
    const int heading = (index / 8) % 4;
    return "POLICE_" + std::to_string(role) + "_" + std::to_string(pose) + "_" + std::to_string(heading);
}
