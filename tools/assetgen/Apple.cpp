#include "Themes.h"

namespace assetgen {

void addApplePictures(PictureSet&) {}

}  // namespace assetgen
