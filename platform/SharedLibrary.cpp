#include "platform/SharedLibrary.h"

#include <dlfcn.h>

#include "platform/DataFolder.h"

namespace platform {

std::unique_ptr<SharedLibrary> SharedLibrary::Open(const std::string& fileName) {
    if (fileName.empty()) return nullptr;
    void* handle = nullptr;
    if (fileName.find('/') == std::string::npos) {
        handle = dlopen((ModuleFolder() + fileName).c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    if (handle == nullptr) handle = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return nullptr;
    return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
}

SharedLibrary::~SharedLibrary() { dlclose(handle_); }

void* SharedLibrary::Symbol(const std::string& name) const {
    if (name.empty()) return nullptr;
    return dlsym(handle_, name.c_str());
}

}  // namespace platform
