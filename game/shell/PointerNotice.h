#pragma once

class IGameInterface;

// A screen that appears under a resting pointer is told where the pointer is, with a move at
// its position (as a desktop does for a new window), so a button under it takes a click at
// once, without a move first.
class PointerNotice {
public:
    // Gives `screen` a move at the pointer's last known position; nothing before the first
    // mouse message of the run.
    static void Tell(IGameInterface& screen);
};
