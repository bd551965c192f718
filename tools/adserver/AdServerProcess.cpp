#include "AdServerProcess.h"

#include <httplib.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>

extern char** environ;

namespace adserver {
namespace {

constexpr const char* kHost = "127.0.0.1";

// Reads the first line the child writes, waiting at most `timeoutMs`.
std::string ReadFirstLine(int fd, int timeoutMs) {
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (line.find('\n') == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd pfd{fd, POLLIN, 0};
        if (poll(&pfd, 1, static_cast<int>(left.count())) <= 0) break;
        char buffer[256];
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) break;
        line.append(buffer, static_cast<std::size_t>(got));
    }
    return line.substr(0, line.find('\n'));
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out.push_back(text[i]);
            continue;
        }
        const char c = text[++i];
        out.push_back(c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c);
    }
    return out;
}

}  // namespace

AdServerProcess::AdServerProcess(const std::string& executable, std::vector<std::string> args, int port) {
    args.insert(args.begin(), executable);
    args.insert(args.end(), {"--host", kHost, "--port", std::to_string(port)});
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    int pipeFds[2];
    if (pipe(pipeFds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    const int rc = posix_spawn(&pid_, executable.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (rc != 0) {
        pid_ = -1;
        close(pipeFds[0]);
        return;
    }
    const std::string line = ReadFirstLine(pipeFds[0], 10000);
    close(pipeFds[0]);
    char host[64] = {};
    if (std::sscanf(line.c_str(), "adserver listening on %63s port %d admin %d", host, &port_, &adminPort_) != 3) {
        port_ = 0;
        stop();
    }
}

AdServerProcess::~AdServerProcess() { stop(); }

void AdServerProcess::stop() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
    pid_ = -1;
    port_ = 0;
}

std::string AdServerProcess::baseUrl() const { return std::string("http://") + kHost + ":" + std::to_string(port_); }

bool AdServerProcess::admin(const std::string& path, std::string& body) {
    if (adminPort_ <= 0 || pid_ <= 0) return false;
    httplib::Client client(kHost, adminPort_);
    client.set_connection_timeout(5);
    client.set_read_timeout(10);
    const httplib::Result result = client.Get(path.c_str());
    if (!result || result->status != 200) return false;
    body = result->body;
    return true;
}

bool AdServerProcess::set(const std::string& query) {
    std::string body;
    return admin("/set?" + query, body);
}

bool AdServerProcess::clear() {
    std::string body;
    return admin("/clear", body);
}

std::vector<LoggedRequest> AdServerProcess::log() {
    std::vector<LoggedRequest> records;
    std::string body;
    if (!admin("/log", body)) return records;
    std::size_t start = 0;
    while (start < body.size()) {
        std::size_t end = body.find('\n', start);
        if (end == std::string::npos) end = body.size();
        const std::string line = body.substr(start, end - start);
        start = end + 1;
        std::vector<std::string> parts;
        std::size_t from = 0;
        for (int i = 0; i < 3; ++i) {
            const std::size_t tab = line.find('\t', from);
            if (tab == std::string::npos) break;
            parts.push_back(line.substr(from, tab - from));
            from = tab + 1;
        }
        if (parts.size() != 3) continue;
        records.push_back({parts[0], parts[1], parts[2] == "1", Unescape(line.substr(from))});
    }
    return records;
}

}  // namespace adserver
