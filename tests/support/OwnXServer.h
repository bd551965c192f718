#pragma once
// An Xvfb of the test's own, for tests that need a real X server.
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

namespace testsupport {

// An Xvfb of its own, on the first free display number from 150 + pid % 50 that it starts on.
class OwnXServer {
public:
    OwnXServer() {
        if (access("/usr/bin/Xvfb", X_OK) != 0) return;
        for (int tries = 0, number = 150 + getpid() % 50; tries < 20 && name_.empty(); ++tries, ++number) {
            const std::string name = ":" + std::to_string(number);
            if (access(SocketPath(number).c_str(), F_OK) == 0 ||
                access(("/tmp/.X" + std::to_string(number) + "-lock").c_str(), F_OK) == 0)
                continue;
            pid_ = fork();
            if (pid_ == 0) {
                execl("/usr/bin/Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                      static_cast<char*>(nullptr));
                _exit(127);
            }
            if (pid_ > 0 && Accepts(number)) name_ = name;
            if (name_.empty()) Stop();
        }
    }
    ~OwnXServer() { Stop(); }
    OwnXServer(const OwnXServer&) = delete;
    OwnXServer& operator=(const OwnXServer&) = delete;
    const std::string& Name() const { return name_; }

    // True once a window is shown on the server, within `limit`.
    bool WaitForAWindow(std::chrono::seconds limit) const {
        ::Display* display = XOpenDisplay(name_.c_str());
        if (display == nullptr) return false;
        bool shown = false;
        for (const auto end = std::chrono::steady_clock::now() + limit;
             !shown && std::chrono::steady_clock::now() < end;) {
            Window root = 0, parent = 0;
            Window* children = nullptr;
            unsigned count = 0;
            if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) != 0) {
                for (unsigned i = 0; i < count && !shown; ++i) {
                    XWindowAttributes attributes{};
                    shown = XGetWindowAttributes(display, children[i], &attributes) != 0 &&
                            attributes.map_state == IsViewable;
                }
                if (children != nullptr) XFree(children);
            }
            if (!shown) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        XCloseDisplay(display);
        return shown;
    }

    // Ends the server, as a session that ends would.
    void Stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    static std::string SocketPath(int number) { return "/tmp/.X11-unix/X" + std::to_string(number); }

    // True once the server answers on its socket; false when it ends first (the number was
    // taken meanwhile) or says nothing for 10 s.
    bool Accepts(int number) const {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        SocketPath(number).copy(address.sun_path, sizeof address.sun_path - 1);
        for (int attempt = 0; attempt < 200; ++attempt) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) return false;
            const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
            const bool ok = fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
            if (fd >= 0) close(fd);
            if (ok) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    pid_t pid_ = -1;
    std::string name_;
};

}  // namespace testsupport
