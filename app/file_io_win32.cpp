#include <windows.h>

#include <atomic>

#include "app/file_io.h"
#include "app/win32_text.h"
#include "options/number_text.h"
#include "win32/handles.h"

namespace kwetro {
namespace {

bool WriteAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) return false;
    done += written;
  }
  return true;
}

}  // namespace

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool PathExists(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

FileReader::~FileReader() {
  // Closed by its owner; -1 is INVALID_HANDLE_VALUE, which the owner leaves alone.
  const UniqueHandle file(reinterpret_cast<HANDLE>(handle_));
}

bool FileReader::Open(const std::string& path, std::string& reason) {
  const std::wstring wide = Widen(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    reason = SystemMessage(ERROR_DIRECTORY);
    return false;
  }
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    reason = SystemMessage(GetLastError());
    return false;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0)
    size_ = static_cast<std::uint64_t>(size.QuadPart);
  return true;
}

bool FileReader::Read(char* buffer, std::size_t size, std::size_t& got, std::string& reason) {
  DWORD read = 0;
  const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20));
  if (!ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, want, &read, nullptr)) {
    reason = SystemMessage(GetLastError());
    return false;
  }
  got = read;
  return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& reason) {
  static std::atomic<unsigned> counter{0};
  const std::wstring target = Widen(path);
  std::wstring temp;
  UniqueHandle file(INVALID_HANDLE_VALUE);
  DWORD error = 0;
  for (int attempt = 0; attempt < 100 && file.Get() == INVALID_HANDLE_VALUE; ++attempt) {
    temp = target + L".tmp" + WideDecimal(GetCurrentProcessId()) + L"-" + WideDecimal(counter++);
    file.Reset(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    error = GetLastError();
    if (file.Get() == INVALID_HANDLE_VALUE && error != ERROR_FILE_EXISTS) break;
  }
  if (file.Get() == INVALID_HANDLE_VALUE) {
    reason = SystemMessage(error);
    return false;
  }
  error = 0;
  if (!WriteAll(file.Get(), bytes) || !FlushFileBuffers(file.Get())) error = GetLastError();
  // Closed before the rename, which a file still open would refuse.
  file.Reset();
  if (error == 0 && !MoveFileExW(temp.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    error = GetLastError();
  if (error != 0) {
    DeleteFileW(temp.c_str());
    reason = SystemMessage(error);
    return false;
  }
  return true;
}

bool DeleteFileAt(const std::string& path) { return DeleteFileW(Widen(path).c_str()) != 0; }

bool DeleteFileAt(const std::string& path, std::string& reason) {
  if (DeleteFileW(Widen(path).c_str())) return true;
  reason = SystemMessage(GetLastError());
  return false;
}

bool MakeFolder(const std::string& path, std::string& reason) {
  const std::wstring wide = Widen(path);
  if (CreateDirectoryW(wide.c_str(), nullptr)) return true;
  const DWORD error = GetLastError();
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
  reason = SystemMessage(error);
  return false;
}

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  const char last = dir.back();
  return last == '\\' || last == '/' ? dir + name : dir + "\\" + name;
}

}  // namespace kwetro
