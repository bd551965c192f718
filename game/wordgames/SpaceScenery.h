#pragma once
#include <array>
#include <cstdint>

// The moving backdrop of the space shooter: two copies of the background layer scrolling down
// and fifty one-pixel stars of four shades falling at their own speeds.
class SpaceScenery {
public:
    static constexpr int kLayers = 2;
    static constexpr int kStars = 50;

    struct Layer {
        float X = 0, Y = 0;
    };
    struct Star {
        float X = 0, Y = 0;
        float Speed = 0;
        uint8_t Shade = 1;  // 1 … 4: the column of the star picture
    };

    // The layers at their start places and the stars scattered above the screen.
    SpaceScenery();
    // One frame: layers down a pixel, stars down by their speed, each starting again at the top
    // once it left the screen.
    void Tick();

    const std::array<Layer, kLayers>& Layers() const { return layers_; }
    const std::array<Star, kStars>& Stars() const { return stars_; }

private:
    // A new shade and speed.
    static void NewLook(Star& star);

    std::array<Layer, kLayers> layers_{};
    std::array<Star, kStars> stars_{};
};
