#pragma once
// Plain HTTP GET transfers with libcurl. One fetcher lives for one export call.

#include <cstddef>
#include <string>

namespace tavi {

class HttpFetcher {
public:
    // An answer longer than this is a failed transfer: answers are kept in memory.
    static constexpr std::size_t kMaxBodyBytes = 1u << 20;

    // `timeLimitSeconds` bounds the whole transfer; 0 means no limit.
    explicit HttpFetcher(long timeLimitSeconds);
    ~HttpFetcher();
    HttpFetcher(const HttpFetcher&) = delete;
    HttpFetcher& operator=(const HttpFetcher&) = delete;

    // True when the transfer completed, whatever the HTTP status; the body is what the server
    // sent.
    bool get(const std::string& url);

    const std::string& body() const { return body_; }

    // True when the last get failed because the URL itself can never be sent.
    bool urlRejected() const { return urlRejected_; }

private:
    static std::size_t OnData(char* data, std::size_t size, std::size_t count, void* self);

    std::string body_;
    long timeLimitSeconds_;
    bool urlRejected_ = false;
};

}  // namespace tavi
