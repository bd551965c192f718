#include "engine/KeyedPicture.h"

#include "engine/GraphicEngine.h"

platform::SurfacePtr KeyedPicture(GraphicEngine* graphic, const std::string& name, bool keyed) {
    platform::SurfacePtr picture;
    if (graphic != nullptr) graphic->LoadPicture(picture, name);
    if (picture && keyed) picture->SetColorKey(0);
    return picture;
}
