#pragma once
#include <algorithm>
#include <cstdint>

// The one palette of the game's art. Colours are kept bright; every dark
// tone stays above the colour-key range (red < 8, green < 4, blue < 8).
namespace assetgen {

struct Rgb {
    double r, g, b;
    constexpr uint8_t r8() const { return static_cast<uint8_t>(r * 255.0 + 0.5); }
    constexpr uint8_t g8() const { return static_cast<uint8_t>(g * 255.0 + 0.5); }
    constexpr uint8_t b8() const { return static_cast<uint8_t>(b * 255.0 + 0.5); }
    Rgb lighter(double t) const { return mix(Rgb{1, 1, 1}, t); }
    Rgb darker(double t) const { return mix(Rgb{0.11, 0.086, 0.14}, t); }
    Rgb mix(const Rgb& o, double t) const { return Rgb{r + (o.r - r) * t, g + (o.g - g) * t, b + (o.b - b) * t}; }
};

constexpr Rgb rgb(int r, int g, int b) { return Rgb{r / 255.0, g / 255.0, b / 255.0}; }

namespace pal {
// Outlines and shadows.
constexpr Rgb Ink = rgb(28, 22, 36);
constexpr Rgb InkSoft = rgb(62, 52, 78);
constexpr Rgb White = rgb(255, 255, 255);
constexpr Rgb Cream = rgb(255, 248, 228);
constexpr Rgb Paper = rgb(250, 244, 226);

// Sky, grass, water, earth.
constexpr Rgb SkyTop = rgb(92, 178, 245);
constexpr Rgb SkyBottom = rgb(190, 232, 255);
constexpr Rgb Grass = rgb(118, 196, 78);
constexpr Rgb GrassDark = rgb(84, 160, 62);
constexpr Rgb GrassLight = rgb(160, 220, 102);
constexpr Rgb Water = rgb(64, 156, 214);
constexpr Rgb WaterDeep = rgb(40, 112, 180);
constexpr Rgb WaterLight = rgb(128, 204, 240);
constexpr Rgb Earth = rgb(150, 102, 62);
constexpr Rgb EarthDark = rgb(112, 72, 44);
constexpr Rgb Sand = rgb(232, 204, 140);

// Town.
constexpr Rgb Asphalt = rgb(104, 106, 116);
constexpr Rgb AsphaltEdge = rgb(86, 88, 98);
constexpr Rgb Kerb = rgb(214, 210, 200);
constexpr Rgb Pavement = rgb(196, 188, 172);
constexpr Rgb LaneYellow = rgb(255, 214, 64);
constexpr Rgb RoofRed = rgb(222, 84, 64);
constexpr Rgb RoofBlue = rgb(76, 128, 210);
constexpr Rgb RoofGreen = rgb(84, 170, 120);
constexpr Rgb RoofBrown = rgb(176, 104, 62);
constexpr Rgb WallCream = rgb(250, 234, 196);
constexpr Rgb WallPink = rgb(250, 200, 196);
constexpr Rgb WallBlue = rgb(196, 220, 250);
constexpr Rgb WallMint = rgb(200, 240, 214);
constexpr Rgb Window = rgb(120, 196, 240);
constexpr Rgb Leaf = rgb(72, 170, 72);
constexpr Rgb LeafLight = rgb(132, 210, 96);
constexpr Rgb Trunk = rgb(136, 92, 56);

// Characters.
constexpr Rgb Skin = rgb(255, 214, 176);
constexpr Rgb SkinShade = rgb(232, 172, 136);
constexpr Rgb PoliceBlue = rgb(48, 92, 196);
constexpr Rgb PoliceBlueDark = rgb(32, 60, 140);
constexpr Rgb PoliceBlueLight = rgb(96, 146, 236);
constexpr Rgb Gold = rgb(255, 200, 48);
constexpr Rgb GoldDark = rgb(214, 150, 30);
constexpr Rgb ThiefStripeA = rgb(245, 245, 240);
constexpr Rgb ThiefStripeB = rgb(58, 52, 74);
constexpr Rgb ThiefPants = rgb(96, 80, 130);
constexpr Rgb ThiefMask = rgb(50, 44, 64);
constexpr Rgb SackBrown = rgb(196, 150, 92);
constexpr Rgb Hair = rgb(92, 62, 44);

// Signals and accents.
constexpr Rgb Red = rgb(232, 64, 64);
constexpr Rgb RedDark = rgb(170, 36, 44);
constexpr Rgb Orange = rgb(255, 150, 40);
constexpr Rgb Amber = rgb(255, 193, 0);
constexpr Rgb Yellow = rgb(255, 226, 74);
constexpr Rgb Green = rgb(88, 196, 84);
// The check mark's badge: one flat colour that RGB565 holds exactly and nothing else uses, so
// the tests can find the mark (and its absence) in every button frame.
constexpr Rgb CheckGreen = rgb(24, 168, 56);
constexpr Rgb GreenDark = rgb(46, 140, 60);
constexpr Rgb Blue = rgb(64, 140, 232);
constexpr Rgb BlueDark = rgb(36, 86, 170);
constexpr Rgb Purple = rgb(150, 96, 210);
constexpr Rgb Pink = rgb(255, 130, 170);
constexpr Rgb Grey = rgb(160, 164, 176);
constexpr Rgb GreyDark = rgb(96, 100, 112);
constexpr Rgb GreyLight = rgb(214, 218, 226);

// Night panels (amber status text is drawn on these).
constexpr Rgb Night = rgb(26, 36, 70);
constexpr Rgb NightLight = rgb(44, 60, 108);

// Space.
constexpr Rgb SpaceDeep = rgb(14, 10, 40);
constexpr Rgb SpaceViolet = rgb(60, 30, 110);
constexpr Rgb Cyan = rgb(80, 220, 255);
constexpr Rgb Magenta = rgb(230, 80, 220);

// Menu board: exactly the hit-test "outside" colour of the menu buttons.
constexpr uint8_t BoardR = 0, BoardG = 124, BoardB = 64;
constexpr Rgb Board = rgb(0, 124, 64);
}  // namespace pal

}  // namespace assetgen
