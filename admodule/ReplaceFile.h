#pragma once
// Writing a file whole without ever leaving it half written, by the program's one rule
// (platform/FileReplacement.h): the new contents go to a temporary file in the same folder,
// which is flushed to the disk and then renamed over the old file. When any step fails (a full
// disk, a folder that cannot be written, a file nobody may write) the old file stays exactly as
// it was and no temporary file is left.

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace tavi {

// `write` puts the new contents into the stream it is given and reports whether it could. A
// symbolic link at `path` is followed: the file it names is replaced. The new file keeps the old
// one's permission bits. True when the new contents are in place; otherwise the system's reason
// goes to `why` when given.
bool ReplaceFile(const std::string& path, const std::function<bool(std::FILE*)>& write, std::string* why = nullptr);
bool ReplaceFile(const std::string& path, std::string_view contents, std::string* why = nullptr);

}  // namespace tavi
