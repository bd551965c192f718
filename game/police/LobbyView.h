#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Geometry.h"

class NetEngine;
class PoliceButtons;
class PolicePictures;

// The network screens' own drawing and hit testing: the lobby with its session rows, latency
// values and bars, and the player block of a network game's setting screen.
class LobbyView {
public:
    // Rows the lobby has room for: row i stands at y = 114 + 30 i, and row 15 is the last one
    // whose bar still lies wholly on the screen.
    static constexpr int32_t kMaxRows = 15;
    // Longest player or session name, in characters, as both sides send and keep it; drawn, a
    // name is cut further to its column's width.
    static constexpr size_t kMaxNameLength = 20;

    // Sessions listed for `sessionCount` found.
    static int32_t RowsShown(int32_t sessionCount);
    // The 1-based row under (X, Y): right of x 160 and below y 136, the last row for a point
    // below it; 0 elsewhere or with no row.
    static int32_t HitSessionRow(int32_t X, int32_t Y, int32_t sessionCount);
    // The selection after a new search: none without rows, else held to 1..rows.
    static int32_t ClampSelection(int32_t selected, int32_t sessionCount);
    // The value shown before "ms" on row `row` for the host's user value `user1`.
    static int32_t PingValue(int32_t row, int32_t user1);
    // Where the latency bar of a row goes; none when its value leaves it no length.
    static std::optional<platform::Rect> PingBar(int32_t row, int32_t user1);
    // The name this side plays under: the host name, or `fallback` when it is empty, cut to
    // kMaxNameLength characters.
    static std::u16string PlayerName(const std::u16string& hostName, const std::u16string& fallback);

    LobbyView(const PolicePictures& pictures, const PoliceButtons& buttons);

    void DrawLobby(const NetEngine& net, int32_t selectedSession);
    // The lobby shows "正在查找游戏..." below the rows while a search runs.
    // The player block of the setting screen, "正在加入游戏..." while a join runs. False when a
    // joined side finds no host (the player count is not 2): the caller then returns to the lobby.
    bool DrawPlayerBlock(const NetEngine& net, bool host);

private:
    void DrawRowTexts(const NetEngine& net, int32_t row);

    const PolicePictures& pictures_;
    const PoliceButtons& buttons_;
};
