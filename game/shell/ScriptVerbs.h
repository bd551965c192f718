#pragma once
#include <functional>
#include <string>

// Test-only verbs of a scripted run ("open setup 2", say): the script runner queues any verb it
// does not know as a message, and the shell hands it to the verb registered under its first word.
// A verb returns false when it cannot act on its arguments.
void RegisterScriptVerb(const std::string& verb, std::function<bool(const std::string& args)> run);
// False when no verb of that name is registered or the verb could not act.
bool RunScriptVerb(const std::string& line);
