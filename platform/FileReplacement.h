#pragma once
// Replacing a file whole, shared by the game and the advertising module: the new contents are
// written to a file in the same folder, flushed to the disk with their permission bits set and
// then renamed over the old file, whose folder is flushed too. The old file is never left half
// written, and a temporary file never outlives its save: it has no name while it is written,
// and the short-lived names a save gives (`<file>.new-<process>-<serial>`) are removed by the
// next save in that folder once their process has gone.

#include <string>
#include <string_view>

namespace platform {

// Replaces the file at `path` with `contents`. A symbolic link at `path` is followed: the file it
// names is replaced. An existing file keeps its permission bits; a new one gets 0666 less the
// umask. A folder, or an existing file that nobody may write (by its permission bits, which hold
// for the superuser too), is left alone. False when anything fails, the old file untouched, with
// the system's reason in `why` when given.
bool ReplaceFileContents(const std::string& path, std::string_view contents, std::string* why = nullptr);

// Makes the file `target` a copy of the regular file `from`, only if no file of that name is there:
// the copy is written whole under a temporary name and then linked in place, so an existing
// file (one made meanwhile too) is never replaced, and a copy is never seen half written. The
// new file gets 0666 less the umask. False with the reason in `why` when given ("it is there
// already" when a file took the name first).
bool CopyToNewFile(const std::string& from, const std::string& target, std::string* why = nullptr);

// Removes the temporary files that saves of `path` left when their process died: only names of
// the save's own pattern, and only those whose process no longer runs. The number removed.
int RemoveDeadTemporaryFiles(const std::string& path);

// Why no file can be made in the folder of `file`: the first folder on its path that is missing
// (and whether the one above lets it be made) or that is a file. Empty when all of it is there.
std::string MissingFolderReason(const std::string& file);

// The folder `file` lies in: "." for a bare name, "/" for a file at the root.
std::string FolderOf(const std::string& file);

// Writes all of `bytes` to `fd`, again after interruptions; false with errno set when it cannot
// (ENOSPC when the file takes no more).
bool WriteAll(int fd, std::string_view bytes);

}  // namespace platform
