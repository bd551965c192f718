#pragma once
#include "Palette.h"
#include "PictureSet.h"

#include <string>

namespace assetgen {

// The word games' control buttons: four small round-cornered 45x40 buttons
// (start, end, pause, settings: normal, hover, pressed, disabled) and the
// 90x45 exit button, in one colour family per game.
void addGameButtons(PictureSet& set, const std::string& start, const std::string& end, const std::string& pause,
                    const std::string& setup, const std::string& exit, const Rgb& face);

}  // namespace assetgen
