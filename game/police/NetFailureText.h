#pragma once
#include <string>

// The player's words for what went wrong on the network: the session service describes a
// failure in a short technical sentence, the player reads a short Chinese one.
class NetFailureText {
public:
    // Why, in one sentence (a failure the table does not know is given as it stands).
    static std::u16string Reason(const std::string& failure);
    // The network set-up failed: the set-up failure's first line, then the reason.
    static std::u16string Setup(const std::string& failure);
    // Hosting or joining a session failed.
    static std::u16string Host(const std::string& failure);
    static std::u16string Join(const std::string& failure);
};
