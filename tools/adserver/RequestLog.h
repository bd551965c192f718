#pragma once
// What the test ad server received, for the tests to read back.

#include <mutex>
#include <string>
#include <vector>

namespace adserver {

struct RequestRecord {
    std::string mode;  // the server's mode when the request came in
    std::string kind;  // "getads", "statads" or "usage"
    bool signatureOk = false;
    std::string text;  // decoded query text, or the raw target of a usage report
};

class RequestLog {
public:
    void add(RequestRecord record);
    void clear();
    // One line a record: mode, kind, 1/0, text, separated by tabs; tabs, line ends and
    // backslashes in the text escaped as \t, \n, \r, \\.
    std::string dump() const;

private:
    mutable std::mutex mutex_;
    std::vector<RequestRecord> records_;
};

}  // namespace adserver
