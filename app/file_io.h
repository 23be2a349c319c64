// File access for the engine. Paths are UTF-8 (converted to UTF-16 on
// Windows). Failures return false with the system's reason in words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kwetro {

bool FileExists(const std::string& path);  // a file, not a folder
bool PathExists(const std::string& path);  // anything at all

// The largest file ReadWholeFile accepts. The program reads only settings
// files, some tens of kilobytes; a hand-made file is allowed far more than
// that, but a path to a huge file or an endless device (/dev/zero) is refused
// before it can exhaust memory.
constexpr std::size_t kMaxReadFileSize = std::size_t{16} << 20;
inline constexpr char kFileTooLargeReason[] = "File too large (over 16 MiB)";

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& reason);

// Reads a file front to back in pieces, for inputs of any size (a registry
// export of a whole machine runs to 100 MB) without holding them.
class FileReader {
 public:
  FileReader() = default;
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  // A folder is refused; a pipe or a device is read as it comes.
  bool Open(const std::string& path, std::string& reason);
  // The size the file system gave when the file was opened (0 for a pipe).
  std::uint64_t Size() const { return size_; }
  // Reads up to size bytes into buffer; got is 0 at the end of the file.
  bool Read(char* buffer, std::size_t size, std::size_t& got, std::string& reason);

 private:
  std::intptr_t handle_ = -1;  // a file descriptor, or a Windows HANDLE
  std::uint64_t size_ = 0;
};

// Writes the bytes to a temporary file in the target's folder and renames it
// over the target, so that a failure never leaves a half-written file and an
// earlier file of that name stays intact until the new one is complete.
// A character device or a pipe at the path (/dev/null, /dev/stdout) is
// written to in place: it holds no earlier contents to keep, and renaming over
// it would replace the device itself.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& reason);

bool DeleteFileAt(const std::string& path);
// The same, with the system's reason when the file stays.
bool DeleteFileAt(const std::string& path, std::string& reason);

// Creates the folder (its parent must exist); true when it is there already.
bool MakeFolder(const std::string& path, std::string& reason);

// The folder of a path with its last separator ("dir/" of "dir/name"), or
// "" when the path names no folder.
std::string FolderOf(const std::string& path);

// "dir/name", or "name" when dir is empty.
std::string JoinPath(const std::string& dir, const std::string& name);

}  // namespace kwetro
