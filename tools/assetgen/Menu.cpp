#include "Themes.h"

namespace assetgen {

void addMenuPictures(PictureSet&) {}

}  // namespace assetgen
