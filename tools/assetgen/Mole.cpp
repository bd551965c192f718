#include "Themes.h"

namespace assetgen {

void addMolePictures(PictureSet&) {}

}  // namespace assetgen
