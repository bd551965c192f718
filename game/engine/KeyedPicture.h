#pragma once
#include <string>

#include "platform/Surface.h"

class GraphicEngine;

// The named picture loaded by `graphic` (GraphicEngine::LoadPicture), with black (0) as its
// transparent colour when `keyed`; null without an engine. A picture the pack cannot give ends
// the program in LoadPicture, with its message.
platform::SurfacePtr KeyedPicture(GraphicEngine* graphic, const std::string& name, bool keyed);
