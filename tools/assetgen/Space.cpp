#include "Themes.h"

namespace assetgen {

void addSpacePictures(PictureSet&) {}

}  // namespace assetgen
