#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace platform {

// Names of the plain files in `folder` whose names end in `suffix` (ASCII letters matched
// ignoring case, as the desktop's file system matches "*.txt"), in the order the file system
// lists them, at most `maxFiles` of them. A missing or unreadable folder gives none.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& suffix, size_t maxFiles);

// The name of the plain file in `folder` called `name` with ASCII letters ignoring case: `name`
// itself when that file exists, else the first match among at most `maxFiles` names; empty when
// there is none.
std::string FindFileIgnoringCase(const std::string& folder, const std::string& name, size_t maxFiles);

// True when `a` and `b` are the same ignoring the case of ASCII letters.
bool SameIgnoringCase(const std::string& a, const std::string& b);

// True for a plain file (not a folder, pipe or device, which could not be read or would block).
bool IsPlainFile(const std::string& path);

// True for a pipe, a socket or a device, a link to one included: written into, never replaced.
bool IsStreamFile(const std::string& path);

// True when `path`, as named (its folders' links followed, the last name's not), lies in
// `folder` or a folder below it.
bool NamedInside(const std::string& path, const std::string& folder);

}  // namespace platform
