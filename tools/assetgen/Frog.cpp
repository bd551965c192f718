#include "Themes.h"

namespace assetgen {

void addFrogPictures(PictureSet&) {}

}  // namespace assetgen
