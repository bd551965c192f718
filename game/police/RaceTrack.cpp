#include "police/RaceTrack.h"

#include <cmath>

namespace {
// The speed below which a runner stops at once; the slow-down per frame.
const float kStopSpeed = 0.4f / 2.0f;
const float kSlowDown = 0.025f;

// Puts a runner at rest on its start place: the thief (role 1) and the police (role 0) each
// start on the route's leg of their role.
void PlaceAtStart(Runner& runner, float mapX, float mapY, int32_t role, int32_t heading) {
    runner.MapX = mapX;
    runner.MapY = mapY;
    runner.Pose = 0;
    runner.Role = role;
    runner.Segment = role;
    runner.Speed = 0.0f;
    runner.Travelled = 0.0f;
    runner.SetHeading(heading);
    runner.InputPos = 0;
}

}  // namespace

void RaceTrack::PlaceForRace() {
    TravelSign = 1;
    PlaceAtStart(Runners[kThief], 48.0f, 744.0f, 1, route_.Leg(1).Heading);
    PlaceAtStart(Runners[kPolice], 324.0f, 880.0f, 0, route_.Leg(0).Heading);
}

void RaceTrack::StepRunner(Runner& r) const {
    // Motion.
    r.MapX += static_cast<float>(r.StepX) * r.Speed;
    r.MapY += static_cast<float>(r.StepY) * r.Speed;
    r.Travelled += r.Speed;

    // Animation, with the strip as it stands before this step. A frame left over from another
    // pose (the pose is reset without the frame at a race start) also wraps to 0.
    const SpriteFrames& g = sprites_.Get(r.Heading, r.Pose, r.Role);
    if (r.HoldCount < g.TicksPerFrame) {
        ++r.HoldCount;
    } else {
        r.HoldCount = 0;
        ++r.Frame;
        if (r.Frame >= g.FrameCount) r.Frame = 0;
    }

    // Slow-down.
    if (r.Speed > kStopSpeed) {
        r.Speed -= kSlowDown;
    } else {
        r.Speed = 0.0f;
    }

    // Pose.
    int32_t pose;
    if (r.Speed > r.TopSpeed / 2.0f) {
        pose = r.VehiclePose;
    } else {
        pose = r.Speed <= 0.0f ? 0 : 1;
    }
    if (pose != r.Pose) {
        r.Pose = pose;
        r.Frame = 0;
    }

    // Leg change; the excess distance is dropped and the map position is left as it is.
    if (r.Travelled > static_cast<float>(route_.Units(r.Segment))) {
        r.Travelled = 0.0f;
        r.Segment = RouteTable::Next(r.Segment, TravelSign);
        const int32_t legHeading = route_.Leg(r.Segment).Heading;
        r.SetHeading(TravelSign > 0 ? legHeading : 3 - legHeading);
    }
}

int32_t RaceTrack::LoopPosition(const Runner& r) const {
    // Integer plus single: exact in double, then rounded half to even.
    double pos;
    if (TravelSign > 0) {
        pos = static_cast<double>(route_.Start(r.Segment)) + static_cast<double>(r.Travelled);
    } else {
        pos = static_cast<double>(route_.Start(r.Segment) + route_.Units(r.Segment)) - static_cast<double>(r.Travelled);
    }
    return static_cast<int32_t>(std::nearbyint(pos));
}

int32_t RaceTrack::PoliceLead() const {
    const Runner& p = Runners[kPolice];
    const Runner& t = Runners[kThief];
    const int32_t posP = LoopPosition(p);
    const int32_t posT = LoopPosition(t);
    if (TravelSign > 0) {
        if (t.Segment <= p.Segment) return posP - posT;
        if (t.Segment == 9 && p.Segment == 0) return RouteTable::kFull + posP - posT;
        return 0;
    }
    if (t.Segment >= p.Segment) return posT - posP;
    if (t.Segment == 0 && p.Segment == 9) return RouteTable::kFull + posT - posP;
    return 0;
}

void RaceTrack::ReverseDirection() {
    TravelSign = -TravelSign;
    for (Runner& r : Runners) {
        r.SetHeading(3 - r.Heading);
        r.Travelled = static_cast<float>(route_.Units(r.Segment)) - r.Travelled;
    }
}
