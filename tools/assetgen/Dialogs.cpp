#include "Themes.h"

namespace assetgen {

void addDialogPictures(PictureSet&) {}

}  // namespace assetgen
