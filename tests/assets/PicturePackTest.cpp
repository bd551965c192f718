// Every picture the game loads by name is in GameRes.DLL with the geometry
// the screens rely on, decodes without alpha, and its frames hold art.
#include "PackReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

enum class Size { Exact, About, AtMost, AtLeast, Any };

struct Expect {
    std::string name;
    int fw, fh;  // one frame
    int frames;
    bool threePerRow;
    Size size;
    bool keyed;  // drawn with black as the transparent colour
};

void addAll(std::vector<Expect>& v, std::initializer_list<const char*> names, int fw, int fh, int frames, Size size,
            bool keyed, bool threePerRow = false) {
    for (const char* n : names) v.push_back({n, fw, fh, frames, threePerRow, size, keyed});
}

std::vector<Expect> expected() {
    std::vector<Expect> v;
    addAll(v, {"MAIN_ICON"}, 64, 64, 1, Size::Exact, true);
    addAll(v, {"CHECKBOX_BUTTON"}, 20, 20, 4, Size::Exact, true);
    addAll(v, {"SLIDER_BG"}, 0, 0, 1, Size::Any, true);
    addAll(v, {"SLIDER_SLIDER"}, 11, 23, 2, Size::Exact, true);
    addAll(v, {"DROPDOWN_BUTTON"}, 15, 16, 2, Size::Exact, false);
    addAll(v, {"MAIN_DLG_BG", "APPLE_DLG_BG", "FROG_DLG_BG", "MOLE_DLG_BG"}, 320, 180, 1, Size::About, false);
    addAll(v,
           {"MAIN_DLG_EXIT", "MAIN_DLG_REPLAY", "MOLE_DLG_NEXT", "APPLE_DLG_REPLAY", "FROG_DLG_REPLAY",
            "MOLE_DLG_REPLAY", "APPLE_DLG_NEXT", "FROG_DLG_NEXT", "APPLE_DLG_END", "FROG_DLG_END", "MOLE_DLG_END",
            "YES", "NO", "DEFAULT", "OK", "CANCEL"},
           80, 36, 3, Size::About, true);
    addAll(v, {"APPLE_SETUP", "FROG_SETUP", "MOLE_SETUP"}, 455, 310, 1, Size::About, false);
    addAll(v, {"NAME_DLG_BG"}, 340, 190, 1, Size::Exact, false);
    addAll(v,
           {"MAIN_NONE", "MAIN_APPLE_SPLASH", "MAIN_FROG_SPLASH", "MAIN_MOLE_SPLASH", "MAIN_SPACE_SPLASH",
            "MAIN_POLICE_SPLASH"},
           800, 600, 1, Size::Exact, false);
    addAll(v, {"MAIN_POLICE", "MAIN_SPACE", "MAIN_MOLE", "MAIN_FROG", "MAIN_APPLE"}, 260, 48, 3, Size::AtMost, true);
    addAll(v, {"MAIN_QUIT"}, 240, 60, 3, Size::AtMost, true);
    addAll(v, {"MAIN_RECORDS"}, 220, 52, 3, Size::AtMost, true);
    addAll(v, {"MAIN_SOUND_ON", "MAIN_SOUND_OFF"}, 44, 44, 3, Size::Exact, true);
    addAll(v,
           {"POLICE_MAINMENU_BG", "POLICE_SETTING_BG", "POLICE_SERVERLIST_BG", "POLICE_WIN_0", "POLICE_WIN_1",
            "POLICE_LOST_0", "POLICE_LOST_1"},
           800, 600, 1, Size::Exact, false);
    addAll(v, {"POLICE_BACKGROUND"}, 1600, 1200, 1, Size::Exact, false);
    const int sprite[2][4][3] = {{{61, 85, 9}, {69, 91, 8}, {92, 99, 17}, {77, 82, 11}},
                                 {{95, 101, 11}, {62, 93, 8}, {100, 101, 8}, {85, 92, 8}}};
    for (int r = 0; r < 2; ++r)
        for (int p = 0; p < 4; ++p)
            for (int h = 0; h < 4; ++h)
                v.push_back({"POLICE_" + std::to_string(r) + "_" + std::to_string(p) + "_" + std::to_string(h),
                             sprite[r][p][0], sprite[r][p][1], sprite[r][p][2], true, Size::Exact, true});
    addAll(v, {"POLICE_INPUT"}, 754, 85, 1, Size::About, true);
    addAll(v, {"POLICE_BLUE", "POLICE_YELLOW"}, 20, 20, 1, Size::About, false);
    addAll(v, {"POLICE_PING_BG"}, 100, 18, 1, Size::About, false);
    addAll(v, {"POLICE_PING"}, 0, 0, 1, Size::Any, true);
    addAll(v, {"POLICE_MAINMENU_SINGLE", "POLICE_MAINMENU_MULTI", "POLICE_MAINMENU_EXIT"}, 220, 50, 3, Size::About,
           true);
    addAll(v, {"POLICE_CREATE", "POLICE_JOIN", "POLICE_REFRESH", "POLICE_RETURN"}, 110, 40, 3, Size::About, true);
    addAll(v, {"POLICE_POLICE", "POLICE_THIEF"}, 270, 190, 4, Size::About, true);
    addAll(v, {"POLICE_CAR", "POLICE_BIKE"}, 100, 100, 4, Size::About, true);
    addAll(v, {"POLICE_START", "POLICE_CANCEL"}, 95, 40, 3, Size::About, true);
    addAll(v, {"APPLE_BACKGROUND", "MOLE_BACKGROUND", "FROG_BACKGROUND"}, 800, 600, 1, Size::Exact, false);
    addAll(v, {"APPLE_NORMAL"}, 63, 71, 1, Size::AtLeast, true);
    addAll(v, {"APPLE_SMALL"}, 26, 26, 1, Size::About, true);
    addAll(v, {"APPLE_BAD"}, 137, 71, 1, Size::About, true);
    addAll(v, {"APPLE_BASKET"}, 180, 120, 1, Size::About, true);
    addAll(v,
           {"PUBLIC_START", "PUBLIC_END", "PUBLIC_PAUSE", "PUBLIC_SETUP", "FROG_START", "FROG_END", "FROG_PAUSE",
            "FROG_SETTING"},
           45, 40, 4, Size::About, true);
    addAll(v, {"PUBLIC_EXIT", "FROG_EXIT"}, 90, 45, 3, Size::About, true);
    addAll(v, {"MOLE_APPEAR", "MOLE_HIDE"}, 126, 154, 2, Size::Exact, true);
    addAll(v, {"MOLE_NORMAL", "MOLE_HIT"}, 126, 154, 1, Size::Exact, true);
    addAll(v, {"MOLE_RADISH"}, 36, 48, 1, Size::About, true);
    addAll(v, {"FROG_LEAF"}, 148, 59, 1, Size::AtLeast, true);
    addAll(v, {"FROG_BACK_1", "FROG_BACK_2", "FROG_FRONT_1", "FROG_FRONT_2"}, 70, 50, 1, Size::Exact, true);
    addAll(v, {"SPACE_MAINMENU_BG", "SPACE_HISCORE_BG"}, 800, 600, 1, Size::Exact, false);
    addAll(v, {"SPACE_START", "SPACE_RETURN", "SPACE_HISCORE", "SPACE_OPTION", "SPACE_EXIT"}, 286, 42, 3, Size::About,
           true);
    addAll(v, {"SPACE_BACKGROUND"}, 493, 318, 1, Size::Exact, true);
    addAll(v, {"SPACE_STARS"}, 5, 1, 1, Size::AtLeast, false);
    addAll(v, {"SPACE_SHIP"}, 70, 59, 11, Size::Exact, true, true);
    addAll(v, {"SPACE_ENEMY_0"}, 65, 55, 11, Size::Exact, true, true);
    addAll(v, {"SPACE_ENEMY_4"}, 75, 65, 12, Size::Exact, true, true);
    addAll(v, {"SPACE_EXPLOSION_0"}, 197, 186, 9, Size::Exact, true, true);
    addAll(v, {"SPACE_BOMB"}, 9, 20, 1, Size::About, true);
    addAll(v, {"SPACE_CAPTION_BACK"}, 27, 21, 1, Size::AtLeast, true);
    addAll(v, {"SPACE_LABEL_SCORE"}, 48, 20, 1, Size::About, true);
    addAll(v, {"SPACE_LABEL_LIFE"}, 62, 20, 1, Size::About, true);
    addAll(v, {"SPACE_LABEL_TIME"}, 52, 20, 1, Size::About, true);
    addAll(v, {"SPACE_LIFE"}, 181, 23, 1, Size::About, false);
    addAll(v, {"SPACE_LIFE_OVER"}, 0, 0, 1, Size::Any, false);
    return v;
}

struct Rect {
    int x, y, w, h;
};

Rect frameRect(const Expect& e, const Picture565& p, int f) {
    if (e.threePerRow) {
        const int fw = p.w / std::min(3, e.frames);
        const int fh = p.h / ((e.frames + 2) / 3);
        return {(f % 3) * fw, (f / 3) * fh, fw, fh};
    }
    return {f * (p.w / e.frames), 0, p.w / e.frames, p.h};
}

int opaqueCount(const Picture565& p, Rect r) {
    int n = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) n += p.at(x, y) != 0;
    return n;
}

bool sameFrames(const Picture565& p, Rect a, Rect b) {
    for (int y = 0; y < a.h; ++y)
        for (int x = 0; x < a.w; ++x)
            if (p.at(a.x + x, a.y + y) != p.at(b.x + x, b.y + y)) return false;
    return true;
}

class PicturePack : public ::testing::Test {
protected:
    PackReader pack{distPath("Game/GameRes.DLL")};
};

TEST_F(PicturePack, HoldsExactlyTheNamedPictures) {
    ASSERT_TRUE(pack.ok()) << "cannot open " << distPath("Game/GameRes.DLL");
    std::set<std::string> want;
    for (const auto& e : expected()) want.insert(e.name + ".png");
    const std::vector<std::string> names = pack.names();
    const std::set<std::string> have(names.begin(), names.end());
    for (const auto& n : want) EXPECT_TRUE(have.count(n)) << "missing " << n;
    for (const auto& n : have) EXPECT_TRUE(want.count(n)) << "unexpected entry " << n;
    EXPECT_EQ(names.size(), have.size()) << "duplicate entries";
}

TEST_F(PicturePack, GeometryMatchesTheFrameLayouts) {
    for (const auto& e : expected()) {
        SCOPED_TRACE(e.name);
        Picture565 p;
        ASSERT_TRUE(loadPicture(pack, e.name, p));
        EXPECT_FALSE(p.hasAlpha) << "pictures are stored without alpha";
        const int cols = e.threePerRow ? std::min(3, e.frames) : e.frames;
        const int rows = e.threePerRow ? (e.frames + 2) / 3 : 1;
        ASSERT_EQ(p.w % cols, 0) << "width " << p.w << " does not divide into " << cols << " columns";
        ASSERT_EQ(p.h % rows, 0);
        const int fw = p.w / cols, fh = p.h / rows;
        switch (e.size) {
        case Size::Exact:
            EXPECT_EQ(fw, e.fw);
            EXPECT_EQ(fh, e.fh);
            break;
        case Size::About:
            EXPECT_GE(fw, e.fw * 3 / 4);
            EXPECT_LE(fw, e.fw * 5 / 4);
            EXPECT_GE(fh, e.fh * 3 / 4);
            EXPECT_LE(fh, e.fh * 5 / 4);
            break;
        case Size::AtMost:
            EXPECT_LE(fw, e.fw);
            EXPECT_LE(fh, e.fh);
            EXPECT_GE(fw, e.fw / 2);
            break;
        case Size::AtLeast:
            EXPECT_GE(fw, e.fw);
            EXPECT_GE(fh, e.fh);
            break;
        case Size::Any:
            EXPECT_GT(fw, 0);
            break;
        }
    }
}

TEST_F(PicturePack, KeyedFramesHoldArtAndButtonsChangeLookPerState) {
    for (const auto& e : expected()) {
        if (!e.keyed) continue;
        SCOPED_TRACE(e.name);
        Picture565 p;
        ASSERT_TRUE(loadPicture(pack, e.name, p));
        for (int f = 0; f < e.frames; ++f) {
            const Rect r = frameRect(e, p, f);
            EXPECT_GT(opaqueCount(p, r), r.w * r.h / 50) << "frame " << f << " is (nearly) all transparent";
        }
        if (e.frames >= 3 && !e.threePerRow) {
            // normal, hover, pressed (and disabled) must all look different.
            for (int a = 0; a < e.frames; ++a)
                for (int b = a + 1; b < e.frames; ++b)
                    EXPECT_FALSE(sameFrames(p, frameRect(e, p, a), frameRect(e, p, b)))
                        << "frames " << a << " and " << b;
        }
    }
}

// Mean brightness (0..765) of the opaque pixels of a frame, leaving out the hit-test value.
double brightness(const Picture565& p, Rect r) {
    double sum = 0;
    int n = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) {
            const unsigned short v = p.at(x, y);
            if (v == 0 || v == 1000) continue;
            sum += ((v >> 11) << 3) + (((v >> 5) & 63) << 2) + ((v & 31) << 3);
            ++n;
        }
    return n > 0 ? sum / n : 0;
}

int countValue(const Picture565& p, Rect r, unsigned short value) {
    int n = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) n += p.at(x, y) == value;
    return n;
}

TEST_F(PicturePack, ButtonFramesReadAsTheirStatesAndOnlyTheChosenFrameIsChecked) {
    // The check mark's badge green, rgb(24, 168, 56), exactly as RGB565 holds it.
    const unsigned short checkGreen = (3 << 11) | (42 << 5) | 7;
    // The choice cards show their choice on the disabled button: frame 3 is "chosen".
    const std::set<std::string> choices{"POLICE_POLICE", "POLICE_THIEF", "POLICE_CAR", "POLICE_BIKE"};
    int strips = 0;
    for (const auto& e : expected()) {
        // The check box's cells are not button states (unchecked, its hover, checked, its hover).
        if (!e.keyed || e.threePerRow || e.frames < 3 || e.name == "CHECKBOX_BUTTON") continue;
        SCOPED_TRACE(e.name);
        ++strips;
        Picture565 p;
        ASSERT_TRUE(loadPicture(pack, e.name, p));
        const Rect normal = frameRect(e, p, 0), hover = frameRect(e, p, 1), pressed = frameRect(e, p, 2);
        // Every two frames differ in more than a sprinkle of pixels.
        for (int a = 0; a < e.frames; ++a)
            for (int b = a + 1; b < e.frames; ++b) {
                const Rect ra = frameRect(e, p, a), rb = frameRect(e, p, b);
                int differ = 0;
                for (int y = 0; y < ra.h; ++y)
                    for (int x = 0; x < ra.w; ++x) differ += p.at(ra.x + x, y) != p.at(rb.x + x, y);
                EXPECT_GT(differ, ra.w * ra.h / 20) << "frames " << a << " and " << b << " look nearly alike";
            }
        EXPECT_GT(brightness(p, hover), brightness(p, normal) + 8) << "hover is not lit";
        EXPECT_LT(brightness(p, pressed), brightness(p, normal) - 8) << "pressed is not darker";
        for (int f = 0; f < e.frames; ++f) {
            const int checked = countValue(p, frameRect(e, p, f), checkGreen);
            if (f == 3 && choices.count(e.name)) {
                EXPECT_GT(checked, 100) << "the chosen frame carries no check mark";
            } else {
                EXPECT_LT(checked, 5) << "frame " << f << " carries a check mark";
            }
        }
    }
    EXPECT_GT(strips, 30);
}

TEST_F(PicturePack, AnimationStripsAnimateOverTransparentGround) {
    for (const auto& e : expected()) {
        if (!e.threePerRow) continue;
        SCOPED_TRACE(e.name);
        Picture565 p;
        ASSERT_TRUE(loadPicture(pack, e.name, p));
        int changes = 0;
        for (int f = 0; f < e.frames; ++f) {
            const Rect r = frameRect(e, p, f);
            EXPECT_GT(r.w * r.h - opaqueCount(p, r), r.w * r.h / 10)
                << "frame " << f << " has no key around the figure";
            if (!sameFrames(p, r, frameRect(e, p, (f + 1) % e.frames))) ++changes;
        }
        EXPECT_GE(changes, e.frames / 2) << "too few frames differ from the next";
        // Cells past the last frame stay empty.
        for (int f = e.frames; f % 3 != 0; ++f) EXPECT_EQ(opaqueCount(p, frameRect(e, p, f)), 0);
    }
}

TEST_F(PicturePack, MenuButtonsMarkTheirOutsideWithTheHitTestValue) {
    for (const char* name : {"MAIN_POLICE", "MAIN_SPACE", "MAIN_MOLE", "MAIN_FROG", "MAIN_APPLE"}) {
        SCOPED_TRACE(name);
        Picture565 p;
        ASSERT_TRUE(loadPicture(pack, name, p));
        const int fw = p.w / 3;
        for (int f = 0; f < 3; ++f) {
            const int x0 = f * fw;
            // The corners are outside, the middle is the button.
            EXPECT_EQ(p.at(x0, 0), 1000);
            EXPECT_EQ(p.at(x0 + fw - 1, 0), 1000);
            EXPECT_EQ(p.at(x0, p.h - 1), 1000);
            EXPECT_EQ(p.at(x0 + fw - 1, p.h - 1), 1000);
            EXPECT_NE(p.at(x0 + fw / 2, p.h / 2), 1000);
            int inside = 0;
            for (int y = 0; y < p.h; ++y)
                for (int x = x0; x < x0 + fw; ++x) inside += p.at(x, y) != 1000;
            EXPECT_GT(inside, fw * p.h / 2);
        }
    }
}

TEST_F(PicturePack, TextListPanelOfTheSettingScreenIsDark) {
    // The text list is drawn in amber at x 573..790, y 40..566: its ground
    // must be dark for the text to read.
    Picture565 p;
    ASSERT_TRUE(loadPicture(pack, "POLICE_SETTING_BG", p));
    long sum = 0;
    int n = 0;
    for (int y = 60; y < 560; y += 7)
        for (int x = 585; x < 780; x += 9) {
            const unsigned short v = p.at(x, y);
            sum += ((v >> 11) << 3) + (((v >> 5) & 63) << 2) + ((v & 31) << 3);
            ++n;
        }
    EXPECT_LT(sum / n, 3 * 90);
}

}  // namespace
