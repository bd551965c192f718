#pragma once
// Starts a program with extra environment variables and waits for it with a time limit.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace shelltest {

// A signal the child is sent while it runs.
struct SignalLater {
    int number = 0;  // none when 0
    std::chrono::milliseconds after{0};
};

struct ChildResult {
    bool finished = false;  // false: killed at the time limit
    int exitCode = -1;      // -1 when it did not exit normally
};

inline ChildResult RunChild(const std::string& program, const std::vector<std::string>& extraEnv,
                            std::chrono::seconds limit, const std::string& stderrFile = "",
                            const std::string& stdoutFile = "", SignalLater later = {}) {
    std::vector<std::string> env(extraEnv);
    for (char** e = environ; *e != nullptr; ++e) env.emplace_back(*e);  // the first entry of a name wins
    std::vector<char*> envp;
    for (auto& s : env) envp.push_back(s.data());
    envp.push_back(nullptr);
    std::string arg0 = program;
    char* argv[] = {arg0.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!stderrFile.empty()) {
        posix_spawn_file_actions_addopen(&actions, 2, stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    if (!stdoutFile.empty()) {
        posix_spawn_file_actions_addopen(&actions, 1, stdoutFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    // The signal sent is at its default in the child, whatever this process does with it.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    if (later.number != 0) sigaddset(&defaults, later.number);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ChildResult result;
    if (rc != 0) return result;
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + limit;
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (later.number != 0 && std::chrono::steady_clock::now() > start + later.after) {
            kill(pid, later.number);
            later.number = 0;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    result.finished = true;
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    return result;
}

// The whole of a file the child wrote (empty when there is none).
inline std::string FileText(const std::string& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[4096];
        size_t n = 0;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
        std::fclose(f);
    }
    return text;
}

}  // namespace shelltest
