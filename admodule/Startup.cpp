// Start-up when the library is loaded: the configuration files are looked for beside the
// library itself, found with dladdr; failing that, beside the host program.

#include "admodule/ModuleInstance.h"

#include <dlfcn.h>
#include <openssl/crypto.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <memory>
#include <string>

namespace tavi {

AdModule* g_module = nullptr;

CallLock& TheCallLock() {
    static auto* lock = new CallLock();  // never destroyed: usable until the process ends
    return *lock;
}

namespace {

void OnLoad();

std::string ProgramFile() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

std::string LibraryFile() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&OnLoad), &info) == 0 || info.dli_fname == nullptr ||
        info.dli_fname[0] == '\0') {
        return ProgramFile();
    }
    if (char* real = realpath(info.dli_fname, nullptr)) {
        std::string file(real);
        std::free(real);
        return file;
    }
    return info.dli_fname;
}

// The folder of the file with its trailing "/", or the empty text for a bare name.
std::string FolderOf(const std::string& file) {
    const std::size_t slash = file.rfind('/');
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

__attribute__((constructor)) void OnLoad() {
    // The checksum library would tear itself down among the host's exit handlers, before a
    // host's own clean-up at exit releases the module and saves its reports with checksums.
    // (A host that set the library up itself before loading us keeps its own tear-down.)
    OPENSSL_init_crypto(OPENSSL_INIT_NO_ATEXIT, nullptr);
    try {
        const std::string folder = FolderOf(LibraryFile());
        g_module = std::make_unique<AdModule>(folder + "config.xml", folder + "manifest.xml").release();
        g_module->Start();
    } catch (...) {
        // The library stays loaded and not ready.
    }
}

// A call still running when the library is unloaded (a host that ends the process from a signal
// handler inside a call, or unloads the library while another thread calls) keeps the module:
// the process or the library is ending, and waiting could be for ever.
constexpr std::chrono::milliseconds kUnloadWait{5000};

__attribute__((destructor)) void OnUnload() {
    if (!TheCallLock().LockWithin(kUnloadWait)) return;
    delete g_module;
    g_module = nullptr;
    TheCallLock().unlock();
}

}  // namespace
}  // namespace tavi
