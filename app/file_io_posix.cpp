#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "app/file_io.h"

namespace kwetro {
namespace {

std::string Reason(int error) { return std::strerror(error); }

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// A character device or a pipe takes the bytes as a stream. A pipe without a
// reader fails at once (ENXIO) instead of waiting for one.
bool WriteInPlace(const std::string& path, const std::string& bytes, std::string& reason) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    reason = Reason(errno);
    return false;
  }
  int error = 0;
  if (::fcntl(fd, F_SETFL, 0) != 0 || !WriteAll(fd, bytes)) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) {
    reason = Reason(error);
    return false;
  }
  return true;
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PathExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

FileReader::~FileReader() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

bool FileReader::Open(const std::string& path, std::string& reason) {
  // Without O_NONBLOCK, opening a pipe that nobody writes to would wait forever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    reason = Reason(errno);
    return false;
  }
  struct stat st {};
  int error = 0;
  if (::fstat(fd, &st) != 0 || ::fcntl(fd, F_SETFL, 0) != 0)
    error = errno;
  else if (S_ISDIR(st.st_mode))
    error = EISDIR;
  if (error != 0) {
    ::close(fd);
    reason = Reason(error);
    return false;
  }
  handle_ = fd;
  size_ = st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
  return true;
}

bool FileReader::Read(char* buffer, std::size_t size, std::size_t& got, std::string& reason) {
  for (;;) {
    const ssize_t n = ::read(static_cast<int>(handle_), buffer, size);
    if (n >= 0) {
      got = static_cast<std::size_t>(n);
      return true;
    }
    if (errno != EINTR) {
      reason = Reason(errno);
      return false;
    }
  }
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& reason) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
    if (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode)) return WriteInPlace(path, bytes, reason);
    // A disk or a socket: nothing a script or a settings file may replace.
    reason = "Not a regular file";
    return false;
  }
  static std::atomic<unsigned> counter{0};
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    reason = Reason(errno);
    return false;
  }
  int error = 0;
  if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temp.c_str());
    reason = Reason(error);
    return false;
  }
  return true;
}

bool DeleteFileAt(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool DeleteFileAt(const std::string& path, std::string& reason) {
  if (::unlink(path.c_str()) == 0) return true;
  reason = Reason(errno);
  return false;
}

bool MakeFolder(const std::string& path, std::string& reason) {
  struct stat st {};
  if (::mkdir(path.c_str(), 0777) == 0 ||
      (errno == EEXIST && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)))
    return true;
  reason = Reason(errno);
  return false;
}

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  return dir.back() == '/' ? dir + name : dir + "/" + name;
}

}  // namespace kwetro
