// What reading a file means on every platform, on the platform's FileReader.
#include "app/file_io.h"

namespace kwetro {

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& reason) {
  FileReader file;
  if (!file.Open(path, reason)) return false;
  if (file.Size() > kMaxReadFileSize) {
    reason = kFileTooLargeReason;
    return false;
  }
  bytes.clear();
  bytes.reserve(static_cast<std::size_t>(file.Size()));
  char buffer[65536];
  for (;;) {
    std::size_t n = 0;
    if (!file.Read(buffer, sizeof buffer, n, reason)) return false;
    if (n == 0) break;
    // A device or a file that grows while it is read is held to the same limit.
    if (bytes.size() + n > kMaxReadFileSize) {
      bytes.clear();
      reason = kFileTooLargeReason;
      return false;
    }
    bytes.append(buffer, n);
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace kwetro
