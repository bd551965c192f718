#pragma once
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "platform/Surface.h"
#include "results/RecordsSummary.h"
#include "shell/IGameInterface.h"

class AniButton;

// "成绩记录": for one game at a time, a chart of speed and accuracy over its last results with
// the best and the average, and a keyboard coloured by each key's miss rate. Left and Right (or
// the tabs) choose the game; Esc or the return button go back to the main menu.
class RecordsScreen final : public IGameInterface {
public:
    static constexpr int32_t kGames = 5;

    static std::shared_ptr<RecordsScreen> Create();

    bool RestoreRes() override;
    bool UpDateScreen() override;
    // The screen stands still until input.
    bool NextFrameDiffers() override { return false; }
    bool MouseDown(int32_t Button, int32_t X, int32_t Y) override;
    bool MouseUp(int32_t Button, int32_t X, int32_t Y) override;
    bool MouseMove(int32_t X, int32_t Y) override;
    bool KeyDown(int32_t KeyCode, int32_t Shift) override;

    // Shows the game at `index` (0 race, 1 space, 2 mole, 3 frog, 4 apple).
    void Choose(int32_t index);
    int32_t Chosen() const { return chosen_; }

private:
    RecordsScreen();
    void BackToMenu();
    void DrawTabs();
    void DrawChart();
    // The chart's scale, then its message or its legend with the best and average figures.
    void DrawChartText(double top);
    // Lines of a message from (x, y) down, on a patch of the panel.
    static void DrawNotice(int32_t x, int32_t y, std::initializer_list<std::u16string> lines);
    void DrawLegend();
    void DrawKeyboard();

    platform::SurfacePtr background_;
    std::shared_ptr<AniButton> btnBack_;
    results::RecordsSummary summary_;
    int32_t chosen_ = 0;
};
