#include "admodule/HttpFetcher.h"

#include <curl/curl.h>

#include <algorithm>

namespace tavi {

HttpFetcher::HttpFetcher(std::chrono::milliseconds timeLimit)
    : timeLimit_(std::max(timeLimit, std::chrono::milliseconds(1))) {
    curl_global_init(CURL_GLOBAL_ALL);
}

HttpFetcher::~HttpFetcher() { curl_global_cleanup(); }

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
