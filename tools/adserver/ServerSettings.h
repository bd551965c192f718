#pragma once
// How the test ad server answers: the ads it hands out, the status texts and the way it
// misbehaves when asked to.

#include <string>

namespace adserver {

enum class Mode {
    Normal,   // proper answers
    Slow,     // proper answers after 2 seconds
    Garbage,  // 200 with bytes that are no XML
    Html,     // 502 with a web error page
    Gone,     // 404: the path is not served
    Failing,  // 503 with a proper answer's body, as a failing server may still send
    Huge,     // a proper answer padded past 2 MiB
    Reset,    // the connection is reset in the middle of the answer
    Hang,     // the request is read and never answered; the connection stays open
    Down,     // nothing listens on the service port
};

bool ParseMode(const std::string& text, Mode& mode);
const char* ModeName(Mode mode);

struct ServerSettings {
    std::string key;           // the signing key queries must be signed with
    int ads = 3;               // number of ad elements in a GetAds answer
    std::string ec = "1";      // text of GetAds/ec
    std::string statEc = "1";  // text of StatAds/ec
    std::string missing;       // a field left out of the second ad
    Mode mode = Mode::Normal;
    std::string usagePath = "/report.do";
};

}  // namespace adserver
