#pragma once
#include "PictureSet.h"

#include <string>

namespace assetgen {

// Every picture (whose name contains match, when given) with its name and
// outlined frames on one PNG; keyed pictures show their key as a checkerboard.
void writeContactSheet(const PictureSet& set, const std::string& path, const std::string& match, double zoom = 1);

}  // namespace assetgen
