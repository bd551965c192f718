#pragma once
// A scratch folder for the fuzz targets that read files: made once per process, in memory when
// /dev/shm is there, and removed at exit.

#include <string>

namespace fuzzing {

// The folder, ending in "/".
const std::string& FuzzFolder();

// Writes `size` bytes to the file `name` in the folder; its path.
std::string WriteFuzzFile(const std::string& name, const unsigned char* data, std::size_t size);

// The module prints diagnostic lines; a fuzz run would drown in them.
void SilenceStandardOutput();

}  // namespace fuzzing
