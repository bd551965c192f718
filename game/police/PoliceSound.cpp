#include "police/PoliceSound.h"

#include "engine/SoundEngine.h"
#include "shell/Globals.h"

namespace {
constexpr const char* kEffects[] = {
    "PT_POLICE_ENTRY", "PT_THIEF_ENTRY", "PT_THIEF_BRAKE", "PT_THIEF_TURN", "PT_POLICE_CATCH", "PT_THIEF_AWAY", "TYPE"};
constexpr int16_t kEffectCount = 7;
}  // namespace

PoliceSound::PoliceSound() {
    if (!g_Sound) return;
    g_Sound->LoadLoop("LAMISTER_BG");
    for (int16_t i = 0; i < kEffectCount; ++i) g_Sound->LoadSound(kEffects[i], i);
}

PoliceSound::~PoliceSound() {
    if (!g_Sound) return;
    g_Sound->RewindLoop();
    g_Sound->StopLoop();
    for (int16_t i = 0; i < kEffectCount; ++i) g_Sound->StopSound(i);
}

void PoliceSound::Play(Effect effect) const {
    if (g_Sound) g_Sound->PlaySound(effect);
}

void PoliceSound::StartMusic() const {
    if (!g_Sound) return;
    g_Sound->RewindLoop();
    g_Sound->PlayLoop();
}

void PoliceSound::StopMusic() const {
    if (g_Sound) g_Sound->StopLoop();
}
