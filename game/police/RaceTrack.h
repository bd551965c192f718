#pragma once
#include <array>
#include <cstdint>

#include "police/RouteTable.h"
#include "police/Runner.h"
#include "police/SpriteTable.h"

// The two runners on the circuit and the direction they travel: placing them for a race,
// moving one runner a frame, the police's lead over the thief and the turn-around.
class RaceTrack {
public:
    static constexpr int32_t kPolice = 0;
    static constexpr int32_t kThief = 1;
    // Leads from 1 to kCatchLead catch the thief; up to kReverseLead turn both runners around.
    static constexpr int32_t kCatchLead = 23;
    static constexpr int32_t kReverseLead = 160;

    std::array<Runner, 2> Runners{};
    int32_t TravelSign = 1;

    // Puts both runners on their start legs, standing, with nothing typed; travel forward.
    // Frame, HoldCount, TopSpeed and VehiclePose are kept.
    void PlaceForRace();
    // One frame of motion, animation, slow-down, pose and leg change for runner `r`.
    void StepRunner(Runner& r) const;
    // How far the police has got past the thief in the direction of travel (0 when it is not
    // worked out for this arrangement of legs).
    int32_t PoliceLead() const;
    // Position of runner `r` along the loop, rounded to the nearest integer (ties to even).
    int32_t LoopPosition(const Runner& r) const;
    // Negates the travel direction and turns both runners around on their legs.
    void ReverseDirection();

    const RouteTable& Route() const { return route_; }
    const SpriteTable& Sprites() const { return sprites_; }

private:
    RouteTable route_;
    SpriteTable sprites_;
};
