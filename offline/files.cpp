#include "offline/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "offline/hive_file.h"
#include "undo/reg_names.h"

namespace kwetro::offline {
namespace {

std::string Why() { return std::strerror(errno); }

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t put = write(fd, data, size);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    data += put;
    size -= static_cast<std::size_t>(put);
  }
  return true;
}

bool SyncFolder(const std::string& folder, std::string& reason) {
  Fd fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY));
  if (fd.get() >= 0 && fsync(fd.get()) == 0) return true;
  // Some file systems cannot sync a folder and say so; the rename stands.
  if (fd.get() >= 0 && (errno == EINVAL || errno == ENOTSUP || errno == ENOSYS)) return true;
  reason = "cannot sync the folder " + folder + ": " + Why();
  return false;
}

}  // namespace

std::string Join(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  return dir.back() == '/' ? dir + name : dir + "/" + name;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FindIgnoringCase(const std::string& dir, const std::string& relative) {
  std::string path = dir;
  for (std::size_t start = 0; start <= relative.size();) {
    std::size_t end = relative.find('/', start);
    if (end == std::string::npos) end = relative.size();
    const std::string component = relative.substr(start, end - start);
    start = end + 1;
    if (component.empty()) continue;
    // Never out of the folder, whatever a path read from the drive says.
    if (component == "." || component == "..") return {};
    DIR* folder = opendir(path.c_str());
    if (!folder) return {};
    std::string found;
    const std::u16string wanted = Utf8ToUtf16(component);
    while (const dirent* entry = readdir(folder)) {
      if (entry->d_name == component) {
        found = component;
        break;
      }
      if (found.empty() && undo::EqualsIgnoringCase(Utf8ToUtf16(entry->d_name), wanted))
        found = entry->d_name;
    }
    closedir(folder);
    if (found.empty()) return {};
    path = Join(path, found);
  }
  return path;
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

bool ReadStart(const std::string& path, std::size_t size, std::string& bytes, std::string& reason) {
  Fd fd(open(path.c_str(), O_RDONLY));
  if (fd.get() < 0) {
    reason = Why();
    return false;
  }
  bytes.assign(size, '\0');
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = read(fd.get(), &bytes[got], size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      reason = Why();
      return false;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  return true;
}

bool Fingerprint(const std::string& path, std::string& print, std::string& reason) {
  Fd fd(open(path.c_str(), O_RDONLY));
  if (fd.get() < 0) {
    reason = Why();
    return false;
  }
  std::uint64_t hash = 0xcbf29ce484222325ULL, size = 0;
  std::string buffer(1 << 16, '\0');
  for (;;) {
    const ssize_t n = read(fd.get(), buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      reason = Why();
      return false;
    }
    if (n == 0) break;
    for (ssize_t i = 0; i < n; ++i)
      hash = (hash ^ static_cast<unsigned char>(buffer[static_cast<std::size_t>(i)])) *
             0x100000001b3ULL;
    size += static_cast<std::uint64_t>(n);
  }
  char text[48];
  std::snprintf(text, sizeof text, "%llu:%016llx", static_cast<unsigned long long>(size),
                static_cast<unsigned long long>(hash));
  print = text;
  return true;
}

bool Replaceable(const std::string& path, std::string& reason) {
  struct stat s {};
  if (lstat(path.c_str(), &s) != 0 || !S_ISREG(s.st_mode)) {
    reason = "not a plain file (a symbolic link, a device?), which is never replaced";
    return false;
  }
  if (access(path.c_str(), W_OK) != 0) {
    reason = "the file cannot be written: " + Why();
    return false;
  }
  if (access(FolderOf(path).c_str(), W_OK) != 0) {
    reason = "its folder " + FolderOf(path) + " cannot be written: " + Why();
    return false;
  }
  return true;
}

bool CopySynced(const std::string& from, const std::string& to, std::string& reason) {
  Fd in(open(from.c_str(), O_RDONLY));
  if (in.get() < 0) {
    reason = "cannot read " + from + ": " + Why();
    return false;
  }
  unlink(to.c_str());  // a link planted at the name is not followed
  Fd out(open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0644));
  if (out.get() < 0) {
    reason = "cannot write " + to + ": " + Why();
    return false;
  }
  std::string buffer(1 << 16, '\0');
  for (;;) {
    const ssize_t n = read(in.get(), buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      reason = "cannot read " + from + ": " + Why();
      return false;
    }
    if (n == 0) break;
    if (!WriteAll(out.get(), buffer.data(), static_cast<std::size_t>(n))) {
      reason = "cannot write " + to + ": " + Why();
      return false;
    }
  }
  if (fsync(out.get()) != 0 || !out.Close()) {
    reason = "cannot write " + to + ": " + Why();
    return false;
  }
  return true;
}

bool ReplaceWithCopy(const std::string& copy, const std::string& path, std::string& reason) {
  const std::string fresh = path + kNewSuffix;
  bool done = CopySynced(copy, fresh, reason);
  if (done) KeepMode(path, fresh);
  done = done && RenameSynced(fresh, path, reason);
  if (!done) RemoveFile(fresh);
  return done;
}

bool LinkSynced(const std::string& from, const std::string& to) {
  unlink(to.c_str());
  std::string reason;
  if (link(from.c_str(), to.c_str()) != 0) return false;
  if (SyncFolder(FolderOf(to), reason)) return true;
  unlink(to.c_str());
  return false;
}

bool WriteSynced(const std::string& path, const std::string& bytes, std::string& reason) {
  const std::string temporary = path + kNewSuffix;
  unlink(temporary.c_str());
  Fd out(open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0644));
  if (out.get() < 0 || !WriteAll(out.get(), bytes.data(), bytes.size()) || fsync(out.get()) != 0 ||
      !out.Close()) {
    reason = "cannot write " + temporary + ": " + Why();
    RemoveFile(temporary);
    return false;
  }
  if (RenameSynced(temporary, path, reason)) return true;
  RemoveFile(temporary);
  return false;
}

bool RenameSynced(const std::string& from, const std::string& to, std::string& reason) {
  if (std::rename(from.c_str(), to.c_str()) != 0) {
    reason = "cannot rename " + from + " to " + to + ": " + Why();
    return false;
  }
  return SyncFolder(FolderOf(to), reason);
}

bool SyncFile(const std::string& path, std::string& reason) {
  Fd fd(open(path.c_str(), O_RDONLY));
  if (fd.get() < 0 || fsync(fd.get()) != 0) {
    reason = "cannot sync " + path + ": " + Why();
    return false;
  }
  return true;
}

void KeepMode(const std::string& from, const std::string& to) {
  struct stat s {};
  if (stat(from.c_str(), &s) == 0) chmod(to.c_str(), s.st_mode & 07777);
  // On NTFS through ntfs-3g, the file's Windows security descriptor and
  // attributes, which a new file would otherwise take from the mount.
  for (const char* name : {"system.ntfs_acl", "system.ntfs_attrib"}) {
    std::string value(4096, '\0');
    const ssize_t size = getxattr(from.c_str(), name, value.data(), value.size());
    if (size > 0) setxattr(to.c_str(), name, value.data(), static_cast<std::size_t>(size), 0);
  }
}

void RemoveFile(const std::string& path) { unlink(path.c_str()); }

}  // namespace kwetro::offline
