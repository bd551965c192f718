#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class ReadResult { Ok, Missing, Failed };

// Reads at most `maxBytes` of the file at `path` (a real path); Missing when no file can be
// there (nothing of that name, or a file where a folder of the path should be). On Failed, `why` (when given)
// receives the system's reason.
ReadResult ReadBinaryFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& out,
                          std::string* why = nullptr);

// Replaces the file at `path` with `bytes` as ReplaceFileContents does: the old file is replaced
// only by a completely written new one, with the old file's permissions, and an existing file
// that nobody may write is left alone. False when anything fails (the old file is then
// untouched), with the reason in `why` when given.
bool ReplaceBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* why = nullptr);

// Renames the file `from` to `to`, replacing a file there. False with the reason in `why`.
bool RenameFile(const std::string& from, const std::string& to, std::string* why = nullptr);

// The name a damaged file at `path` is kept under: `path`.damaged, or when that is taken the
// first free `path`.damaged-2, -3 ... so that an earlier damaged copy is never replaced (the
// last of 999 names is reused).
std::string DamagedFileName(const std::string& path);

// True when both paths name one existing file (through links and other spellings too).
bool SameFile(const std::string& a, const std::string& b);

}  // namespace platform
