#include "shell/ScriptVerbs.h"

#include <map>
#include <utility>

namespace {

std::map<std::string, std::function<bool(const std::string&)>>& Verbs() {
    static std::map<std::string, std::function<bool(const std::string&)>> verbs;
    return verbs;
}

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

}  // namespace

void RegisterScriptVerb(const std::string& verb, std::function<bool(const std::string& args)> run) {
    if (run) {
        Verbs()[verb] = std::move(run);
    } else {
        Verbs().erase(verb);
    }
}

bool RunScriptVerb(const std::string& line) {
    const std::string trimmed = Trim(line);
    const auto space = trimmed.find_first_of(" \t");
    const std::string verb = trimmed.substr(0, space);
    const std::string args = space == std::string::npos ? std::string() : Trim(trimmed.substr(space));
    const auto it = Verbs().find(verb);
    if (it == Verbs().end()) return false;
    const auto run = it->second;  // the verb may register or remove verbs
    return run(args);
}
