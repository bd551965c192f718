#include "Themes.h"

namespace assetgen {

void addPolicePictures(PictureSet&) {}

}  // namespace assetgen
