#pragma once
#include <functional>
#include <string>

// Test-only verbs of a scripted run ("open setup 2", say): the script runner queues any verb it
// does not know as a message, and the shell hands it to the verb registered under its first word.
void RegisterScriptVerb(const std::string& verb, std::function<void(const std::string& args)> run);
bool RunScriptVerb(const std::string& line);
