#include <windows.h>

#include "machine/live_registry.h"
#include "options/text_encoding.h"
#include "win32/handles.h"

#ifndef KEY_WOW64_64KEY
#define KEY_WOW64_64KEY 0x0100
#endif

namespace kwetro::machine {
namespace {

// The rights every key is opened with: reading values. A 32-bit program on
// 64-bit Windows reads the registry REGEDIT imports into, the 64-bit one.
REGSAM AskRights() {
  REGSAM rights = KEY_QUERY_VALUE;
#ifndef _WIN64
  using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
  BOOL wow64 = FALSE;
  // Through the type that matches every function, as GetProcAddress's
  // answer must be.
  if (auto query = reinterpret_cast<IsWow64>(reinterpret_cast<void (*)()>(
          GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process"))))
    if (query(GetCurrentProcess(), &wow64) && wow64) rights |= KEY_WOW64_64KEY;
#endif
  return rights;
}

REGSAM ReadRights() {
  static const REGSAM rights = AskRights();
  return rights;
}

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

Found FoundOf(LONG result) {
  if (result == ERROR_SUCCESS) return Found::kPresent;
  return result == ERROR_FILE_NOT_FOUND ? Found::kAbsent : Found::kUnreadable;
}

}  // namespace

LiveRegistry::LiveRegistry(const std::string& user) : user_(Cp1251ToUtf16(Utf8ToCp1251(user))) {}

LiveRegistry::~LiveRegistry() {
  // Each key opened is handed to its owner, which closes it.
  for (auto& [name, open] : open_) UniqueKey closing(static_cast<HKEY>(open.handle));
}

bool LiveRegistry::UserLoaded() const {
  return user_.empty() || OpenKey(undo::Root::kUsers, user_).found != Found::kAbsent;
}

const LiveRegistry::Open& LiveRegistry::OpenKey(undo::Root root, std::u16string_view path) const {
  std::u16string under(path);
  HKEY top = HKEY_LOCAL_MACHINE;
  switch (root) {
    case undo::Root::kLocalMachine:
      break;
    case undo::Root::kUsers:
      top = HKEY_USERS;
      break;
    case undo::Root::kCurrentUser:
      top = user_.empty() ? HKEY_CURRENT_USER : HKEY_USERS;
      if (!user_.empty()) under = user_ + (under.empty() ? u"" : u"\\") + under;
      break;
    case undo::Root::kClassesRoot:
      top = HKEY_CLASSES_ROOT;
      break;
    case undo::Root::kCurrentConfig:
      top = HKEY_CURRENT_CONFIG;
      break;
  }
  std::u16string id(1, static_cast<char16_t>(u'0' + static_cast<int>(root)));
  for (char16_t c : under) id += undo::FoldCase(c);
  const auto known = open_.find(id);
  if (known != open_.end()) return known->second;
  Open& open = open_[id];
  HKEY handle = nullptr;
  open.found = FoundOf(RegOpenKeyExW(top, Wide(under), 0, ReadRights(), &handle));
  if (open.found == Found::kPresent) open.handle = handle;
  return open;
}

Found LiveRegistry::Key(undo::Root root, std::u16string_view path) const {
  return OpenKey(root, path).found;
}

Found LiveRegistry::Value(undo::Root root, std::u16string_view path, std::u16string_view name,
                          RegData& data) const {
  const Open& open = OpenKey(root, path);
  if (open.found != Found::kPresent) return open.found;
  const std::u16string valueName(name);
  // Most values fit the first buffer: one call to the registry each.
  DWORD type = 0, size = 256;
  LONG result = ERROR_MORE_DATA;
  for (int attempt = 0; result == ERROR_MORE_DATA && attempt < 4; ++attempt) {
    data.bytes.resize(size);
    result = RegQueryValueExW(static_cast<HKEY>(open.handle), Wide(valueName), nullptr, &type,
                              reinterpret_cast<BYTE*>(data.bytes.data()), &size);
  }
  if (result == ERROR_SUCCESS) {
    data.bytes.resize(size);
    data.type = type;
    return Found::kPresent;
  }
  return FoundOf(result);
}

}  // namespace kwetro::machine
