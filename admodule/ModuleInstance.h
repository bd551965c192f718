#pragma once
// The one AdModule of the loaded library and the lock every export holds while it runs.

#include "admodule/AdModule.h"
#include "admodule/CallLock.h"

namespace tavi {

// Made by the load-time start-up and ended when the library is unloaded (at dlclose, or after the
// host's exit handlers have run), under the call lock: a host that calls an export from an exit
// handler or another thread meanwhile finds either the whole module or none. A plain pointer,
// because a static object's destructor would run at exit before such a host's last call.
extern AdModule* g_module;

// One call at a time, whichever thread of the host makes it: the module's state (the ad table,
// the pending reports, the configuration) has no lock of its own.
CallLock& TheCallLock();

}  // namespace tavi
