#include "RequestLog.h"

namespace adserver {
namespace {

std::string Escape(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out.push_back(c);
        }
    }
    return out;
}

}  // namespace

void RequestLog::add(RequestRecord record) {
    const std::lock_guard<std::mutex> lock(mutex_);
    records_.push_back(std::move(record));
}

void RequestLog::clear() {
    const std::lock_guard<std::mutex> lock(mutex_);
    records_.clear();
}

std::string RequestLog::dump() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::string out;
    for (const RequestRecord& r : records_) {
        out += r.mode + "\t" + r.kind + "\t" + (r.signatureOk ? "1" : "0") + "\t" + Escape(r.text) + "\n";
    }
    return out;
}

}  // namespace adserver
