#include "admodule/HttpFetcher.h"

#include <curl/curl.h>
#include <dlfcn.h>

#include <algorithm>

namespace tavi {

namespace {

// The HTTP library is set up once for the process and never taken down: taking it down and up
// again on every call raced a host's exit (a call on another thread then set up the encryption
// library after its exit handlers had torn it down). A name lookup that outlives its transfer
// also finishes on a thread of the HTTP library, so that library stays loaded for the life of
// the process, even when the host unloads this one.
void PrepareHttpLibrary() {
    static const bool kept = [] {
        curl_global_init(CURL_GLOBAL_ALL);
        Dl_info info{};
        if (dladdr(reinterpret_cast<void*>(&curl_easy_init), &info) == 0 || info.dli_fname == nullptr) return false;
        return dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;
    }();
    static_cast<void>(kept);
}

}  // namespace

HttpFetcher::HttpFetcher(std::chrono::milliseconds timeLimit)
    : timeLimit_(std::max(timeLimit, std::chrono::milliseconds(1))) {
    PrepareHttpLibrary();
}

HttpFetcher::~HttpFetcher() = default;

std::size_t HttpFetcher::OnData(char* data, std::size_t size, std::size_t count, void* self) {
    auto* fetcher = static_cast<HttpFetcher*>(self);
    const std::size_t bytes = size * count;
    if (bytes > kMaxBodyBytes - fetcher->body_.size()) return 0;  // aborts the transfer
    fetcher->body_.append(data, bytes);
    return bytes;
}

bool HttpFetcher::get(const std::string& url) {
    body_.clear();
    status_ = 0;
    urlRejected_ = false;
    hostUnknown_ = false;
    if (url.size() > kMaxUrlBytes) {
        urlRejected_ = true;
        return false;
    }
    CURL* handle = curl_easy_init();
    if (handle == nullptr) return false;
    curl_easy_setopt(handle, CURLOPT_VERBOSE, 0L);
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &HttpFetcher::OnData);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, this);
    // A library inside someone else's process: no signals, and only the web protocols.
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    const long total = static_cast<long>(timeLimit_.count());
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, total);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, std::min(total, static_cast<long>(kConnectTimeLimit.count())));
    // A name server that never answers would otherwise hold the call until the system's own
    // lookup time runs out (10 s and more): the lookup is left to finish on its own.
    curl_easy_setopt(handle, CURLOPT_QUICK_EXIT, 1L);
    const CURLcode result = curl_easy_perform(handle);
    if (result == CURLE_OK) curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status_);
    curl_easy_cleanup(handle);
    if (result == CURLE_URL_MALFORMAT || result == CURLE_UNSUPPORTED_PROTOCOL) urlRejected_ = true;
    if (result == CURLE_COULDNT_RESOLVE_HOST) hostUnknown_ = true;
    if (result != CURLE_OK) {
        body_.clear();
        return false;
    }
    return true;
}

}  // namespace tavi
