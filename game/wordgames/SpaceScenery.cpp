#include "wordgames/SpaceScenery.h"

#include <cmath>

#include "platform/Random.h"

namespace {

float Draw() { return static_cast<float>(platform::Random::Next()); }

}  // namespace

SpaceScenery::SpaceScenery() {
    layers_[0] = {50, -600};
    layers_[1] = {400, -1200};
    for (Star& star : stars_) {
        star.X = std::floor(Draw() * 799) + 1;
        star.Y = -(Draw() * 300);
        NewLook(star);
    }
}

void SpaceScenery::NewLook(Star& star) {
    star.Shade = static_cast<uint8_t>(std::floor(Draw() * 4) + 1);
    star.Speed = Draw() * 1.6F + 0.4F;
}

void SpaceScenery::Tick() {
    for (Layer& layer : layers_) {
        layer.Y += 1;
        if (layer.Y > 600) {
            layer.Y = -600;
            layer.X = std::floor(Draw() * 800) - 400;
        }
    }
    for (Star& star : stars_) {
        star.Y += star.Speed;
        if (star.Y >= 599) {
            star.Y = 0;
            star.X = std::floor(Draw() * 799) + 1;
            NewLook(star);
        }
    }
}
