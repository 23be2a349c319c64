#include "app/user_part.h"

#include <cstdint>

#include "catalogue/generators.h"
#include "options/number_text.h"

namespace kwetro {
namespace {

// The catalogue spells its keys in ASCII; REGEDIT takes them in any case.
bool SameAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// path ("\\A\\B...") begins with the key prefix ("A\\B"), at a key's end.
bool BeginsWithKey(std::string_view path, std::string_view prefix) {
  return path.size() > prefix.size() && path[0] == '\\' &&
         SameAscii(path.substr(1, prefix.size()), prefix) &&
         (path.size() == prefix.size() + 1 || path[prefix.size() + 1] == '\\');
}

}  // namespace

bool IsPolicyKey(std::string_view path) {
  return BeginsWithKey(path, "Software\\Policies") ||
         BeginsWithKey(path, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies");
}

std::string_view CurrentUserKeys::Keep(std::string_view keyLine, std::string& room) const {
  if (keyLine.size() < 2 || keyLine.front() != '[' || keyLine.back() != ']') return {};
  std::string_view name = keyLine.substr(1, keyLine.size() - 2);
  const bool deletion = !name.empty() && name.front() == '-';
  if (deletion) name.remove_prefix(1);
  constexpr std::string_view kRoot = kCurrentUserRoot;
  if (name.size() < kRoot.size() || !SameAscii(name.substr(0, kRoot.size()), kRoot)) return {};
  const std::string_view path = name.substr(kRoot.size());
  if (!path.empty() && path.front() != '\\') return {};  // HKEY_CURRENT_USERS\...
  if (!withPolicies_ && IsPolicyKey(path)) return {};
  if (root_ == kRoot) return keyLine;
  room.assign(deletion ? "[-" : "[").append(root_).append(path).append("]");
  return room;
}

RegScript UserPart(const Selection& selection, bool withPolicies, std::string_view root) {
  return BuildFilteredScript(selection, CurrentUserKeys(withPolicies, root));
}

std::string SelectionMark(const Selection& selection) {
  // FNV-1a, 64 bits: enough to tell selections apart, short enough for a
  // value name that a command line asks for.
  std::uint64_t hash = 0xcbf29ce484222325ull;
  const auto add = [&hash](char c) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ull;
  };
  const RegScript part = UserPart(selection, true);
  const std::string& bytes = part.Bytes();
  for (std::size_t at = 0, end; at < bytes.size(); at = end + 2) {
    end = bytes.find("\r\n", at);
    if (end == std::string::npos) end = bytes.size();
    if (end == at || bytes[at] == ';') continue;
    for (std::size_t i = at; i < end; ++i) add(bytes[i]);
    add('\n');
  }
  return HexDigits(hash, 16);
}

void AppendSelectionMark(RegScript& script, std::string_view root, std::string_view mark) {
  const std::string key = std::string(root) + "\\" + kMarkKey;
  script.AppendLine("[-" + key + "]");
  script.AppendEmptyLine();
  script.AppendLine("[" + key + "]");
  script.AppendComment(
      "Настройки пользователя этого выбора здесь уже есть: Active Setup не импортирует их снова");
  script.AppendLine("\"" + std::string(mark) + "\"=\"\"");
  script.AppendEmptyLine();
}

}  // namespace kwetro
