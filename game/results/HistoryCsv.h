#pragma once
#include <string>

#include "results/GameResult.h"

namespace results {

// The history as CSV (RFC 4180, UTF-8, CRLF line ends, a header line), one line per result.
class HistoryCsv {
public:
    static const char* Header();
    static std::string Line(const GameResult& result);
    // Every result of the history at `path`; a missing history gives the header alone. False
    // with the reason in `why` when the file cannot be read.
    static bool Export(const std::string& path, std::string& csv, std::string& why);
};

}  // namespace results
