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

// Writes `bytes` into the file at `path` when it is there and is no regular file or folder (a
// pipe, a terminal, a device such as /dev/null), or is the file standard output or error goes
// to (/dev/stdout redirected to a log): such a file is written into as a stream, never replaced. `isStream` says
// whether it was one; for any other path nothing is done and the result is true. False when a stream could not be
// written, with the reason in `why` when given.
bool WriteToStreamFile(const std::string& path, const std::vector<uint8_t>& bytes, bool& isStream,
                       std::string* why = nullptr);

// Renames the file `from` to `to`, replacing a file there. False with the reason in `why`.
bool RenameFile(const std::string& from, const std::string& to, std::string* why = nullptr);

// The name a damaged file at `path` is kept under: `path`.damaged, or when that is taken the
// first free `path`.damaged-2, -3 ... so that an earlier damaged copy is never replaced (the
// last of 999 names is reused).
std::string DamagedFileName(const std::string& path);

// True when both paths name one existing file (through links and other spellings too).
bool SameFile(const std::string& a, const std::string& b);

// A write past the file-size limit (`ulimit -f`) then fails as any other does ("File too
// large"), and the program says so, instead of being ended by the system's signal. Called once,
// at the start of the program.
void ReportFileSizeLimitAsAFailedWrite();
// The same for a write into a pipe or socket nobody reads any more (standard error sent into a
// pipe that was closed): it fails, instead of ending the program without a word.
void ReportClosedPipeAsAFailedWrite();

}  // namespace platform
