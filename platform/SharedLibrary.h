#pragma once
#include <memory>
#include <string>

namespace platform {

// A shared library loaded by file name: from the advertising module's folder first (ModuleFolder), then through the
// system's normal search. Unloaded when the object ends.
class SharedLibrary {
public:
    // Null when no library of that name can be loaded.
    static std::unique_ptr<SharedLibrary> Open(const std::string& fileName);
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // The address of an exported function or object; null when there is none of that name.
    void* Symbol(const std::string& name) const;

    // The same, as a function pointer type.
    template <typename Fn>
    Fn Function(const std::string& name) const {
        return reinterpret_cast<Fn>(Symbol(name));
    }

private:
    explicit SharedLibrary(void* handle) : handle_(handle) {}

    void* handle_;
};

}  // namespace platform
