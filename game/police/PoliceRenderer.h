#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Surface.h"
#include "police/PoliceScreen.h"
#include "police/RaceCamera.h"

class GameFont;
class PolicePictures;
class PoliceButtons;
class PoliceRace;
class RaceTextList;

// Draws the police game's screens into the back surface of g_Graphic.
class PoliceRenderer {
public:
    PoliceRenderer(const PolicePictures& pictures, const PoliceButtons& buttons, const RaceTextList& textList,
                   const PoliceRace& race);

    void DrawMainMenu();
    // The setting screen in three layers, so that a network game can put its player block
    // between the hints and the buttons.
    void DrawSettingBackground();  // background, text list with its highlight, hints
    void DrawSettingButtons(bool withStart);
    // The map around the local runner, both figures, the typing panel with its cursor and the
    // progress markers (the opponent's only in a network game). With `wrongKey` the next
    // character to type is drawn red. Once the whole text is typed, the panel blinks between
    // the line and what the next key does.
    void DrawRace(bool opponentMarker, bool wrongKey = false);
    void DrawResult();
    struct StatusSpot {
        int32_t centreX;
        int32_t top;
    };
    // The status message centred on `at.centreX` with its top at `at.top`, while `ticks` is above 0
    // (counted down here).
    void DrawStatus(const std::u16string& text, int32_t& ticks, StatusSpot at);
    // Where the status message stands: on the setting screen's hint board, between the lobby's
    // title and table, elsewhere across the middle; it covers no button or list.
    static StatusSpot StatusPlace(PoliceScreen screen);

    // x of a progress marker after `typed` of `length` characters, from 50 to 730. An empty
    // text puts the marker at the start of its track.
    static int32_t ProgressMarkerX(int32_t typed, int32_t length);

    const RaceCamera& Camera() const { return camera_; }
    // What the next key does once the whole text is typed, for the local role and game.
    const char16_t* FinishPrompt() const;

private:
    void DrawTextList();
    void DrawRunner(int32_t index);
    void DrawTypingLine(bool wrongKey);
    // Draws the typed part, then the rest (its first character red after a wrong key); returns
    // the width of the typed part, where the caret stands.
    int32_t DrawLineText(bool wrongKey);
    // Keeps the line just drawn when the panel shows nothing through it.
    void KeepLine(bool wrongKey);
    bool PanelOpaqueUnderLine();
    void DrawFinishPrompt();

    const PolicePictures& pictures_;
    const PoliceButtons& buttons_;
    const RaceTextList& textList_;
    const PoliceRace& race_;
    RaceCamera camera_;
    std::shared_ptr<GameFont> promptFont_;
    std::shared_ptr<GameFont> statusFont_;
    // The typing line as last drawn over the panel. Where the panel is opaque under the line,
    // the same text gives the same pixels, so a race draws its text only when a key changes it.
    struct KeptLine {
        std::u16string typed;
        std::u16string rest;
        bool wrongKey = false;
        int32_t caretX = 0;
        platform::SurfacePtr pixels;  // null while nothing is kept
    };
    KeptLine line_;
    const platform::Surface* panelChecked_ = nullptr;
    bool panelOpaque_ = false;
};
