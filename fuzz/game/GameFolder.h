#pragma once
// The game's readers take their files below the program folder. For the fuzz targets the
// program folder is the scratch folder, with the game's subfolders made once.

#include <cstddef>
#include <string>

namespace fuzzing {

// Points the program folder at the scratch folder (once) and makes Game/ and the data folders.
void UseFuzzProgramFolder();

// Writes the bytes to `relative` (with '/' separators) below the program folder; its path.
std::string WriteGameFile(const std::string& relative, const unsigned char* data, std::size_t size);

}  // namespace fuzzing
