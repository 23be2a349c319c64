// File access for the engine. Paths are UTF-8 (converted to UTF-16 on
// Windows). Failures return false with the system's reason in words.
#pragma once

#include <string>

namespace kwetro {

bool FileExists(const std::string& path);  // a file, not a folder
bool PathExists(const std::string& path);  // anything at all

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& reason);

// Writes the bytes to a temporary file in the target's folder and renames it
// over the target, so that a failure never leaves a half-written file and an
// earlier file of that name stays intact until the new one is complete.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& reason);

bool DeleteFileAt(const std::string& path);

// "dir/name", or "name" when dir is empty.
std::string JoinPath(const std::string& dir, const std::string& name);

}  // namespace kwetro
