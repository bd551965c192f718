#pragma once
// The one AdModule of the loaded library, created by the load-time start-up.

#include "admodule/AdModule.h"

#include <memory>

namespace tavi {

extern std::unique_ptr<AdModule> g_module;

}  // namespace tavi
