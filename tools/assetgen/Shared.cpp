#include "Themes.h"

namespace assetgen {

void addSharedPictures(PictureSet&) {}

}  // namespace assetgen
