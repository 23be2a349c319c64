#include "app/all_users.h"

#include <vector>

#include "catalogue/generators.h"
#include "options/reg_script.h"

namespace kwetro {
namespace {

constexpr std::uint32_t kPartMax = 0xFFFF;
// Where each user's HKEY_CURRENT_USER is exported before the import: the
// user's own profile, the one place a restricted user may always write.
constexpr char kUserBackup[] = "%USERPROFILE%\\Kwetro-backup.reg";
// The name Windows shows while it runs the command at a logon.
constexpr char kReadableName[] = "Kwetro - настройки пользователя";

bool IsKeyLine(std::string_view line) { return !line.empty() && line[0] == '['; }

bool IsCurrentUserKey(std::string_view line) {
  std::string_view name = line.substr(1);
  if (!name.empty() && name[0] == '-') name.remove_prefix(1);
  constexpr std::string_view kRoot = "HKEY_CURRENT_USER";
  return name.substr(0, kRoot.size()) == kRoot && name.size() > kRoot.size() &&
         (name[kRoot.size()] == '\\' || name[kRoot.size()] == ']');
}

// Adds the lines of one block (its empty line last) that belong to the
// user's part: every line but the keys of other roots and their values.
void AppendUserLines(const std::vector<std::string_view>& block, std::string& out) {
  bool hasKey = false, keptKey = false, inKept = true;
  std::string kept;
  for (std::string_view line : block) {
    if (IsKeyLine(line)) {
      hasKey = true;
      inKept = IsCurrentUserKey(line);
      keptKey = keptKey || inKept;
    }
    if (inKept || line.empty() || line[0] == ';') kept.append(line).append("\r\n");
  }
  if (!hasKey || keptKey) out += kept;
}

// The text between quotes in a .reg file: a backslash and a quote escaped.
std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + '"';
}

// The command Active Setup runs for a user: the user's HKEY_CURRENT_USER
// exported first, then user.reg imported. REG_SZ, left unexpanded: the
// command interpreter expands the variables for the user who logs on, in
// Unicode, so that blanks and Cyrillic letters in the paths stay intact
// between the quotes.
std::string StubPath() {
  return std::string("CMD /C REGEDIT /E \"") + kUserBackup +
         "\" HKEY_CURRENT_USER & REGEDIT /S \"" + kEveryUserFolder + "\\" + kUserScriptName + "\"";
}

}  // namespace

bool ForEveryUser(const Selection& selection) {
  static const int option = OptionIndex("dCheckBox_1_1");
  return selection.State(option) == cbChecked;
}

std::string UserPart(std::string_view hkcuBytes) {
  std::string out;
  std::vector<std::string_view> block;
  std::size_t pos = 0;
  while (pos < hkcuBytes.size()) {
    std::size_t end = hkcuBytes.find("\r\n", pos);
    if (end == std::string_view::npos) end = hkcuBytes.size();
    const std::string_view line = hkcuBytes.substr(pos, end - pos);
    pos = std::min(end + 2, hkcuBytes.size());
    block.push_back(line);
    if (line.empty()) {
      AppendUserLines(block, out);
      block.clear();
    }
  }
  AppendUserLines(block, out);
  return out;
}

SetupVersion SetupVersion::At(const std::tm& local) {
  SetupVersion v;
  v.parts = {static_cast<std::uint32_t>(local.tm_year + 1900),
             static_cast<std::uint32_t>((local.tm_mon + 1) * 100 + local.tm_mday),
             static_cast<std::uint32_t>(local.tm_hour * 100 + local.tm_min),
             static_cast<std::uint32_t>(local.tm_sec)};
  return v;
}

bool SetupVersion::Parse(std::string_view text, SetupVersion& version) {
  SetupVersion v;
  std::size_t part = 0, digits = 0;
  for (char c : text) {
    if (c == ',') {
      if (digits == 0 || ++part == v.parts.size()) return false;
      digits = 0;
    } else if (c >= '0' && c <= '9' && v.parts[part] <= kPartMax) {
      v.parts[part] = v.parts[part] * 10 + static_cast<std::uint32_t>(c - '0');
      ++digits;
    } else {
      return false;
    }
  }
  if (digits == 0) return false;
  version = v;
  return true;
}

std::string SetupVersion::Text() const {
  return std::to_string(parts[0]) + "," + std::to_string(parts[1]) + "," +
         std::to_string(parts[2]) + "," + std::to_string(parts[3]);
}

SetupVersion SetupVersion::Next() const {
  SetupVersion v = *this;
  for (std::size_t i = v.parts.size(); i-- > 0;) {
    if (v.parts[i] < kPartMax) {
      ++v.parts[i];
      return v;
    }
    v.parts[i] = 0;
  }
  return *this;  // every part at its end: nothing higher to give
}

SetupVersion NewSetupVersion(const std::tm& local, std::string_view registered) {
  const SetupVersion now = SetupVersion::At(local);
  SetupVersion before;
  return SetupVersion::Parse(registered, before) && !(before < now) ? before.Next() : now;
}

std::string RegistrationScript(const SetupVersion& version) {
  const OptionDecl& option =
      Controls().options[static_cast<std::size_t>(OptionIndex("dCheckBox_1_1"))];
  const std::string versionLine = "\"Version\"=" + Quoted(version.Text());
  RegScript script;
  script.AppendLine("Windows Registry Editor Version 5.00");
  script.AppendEmptyLine();
  script.AppendLine(std::string("[HKEY_LOCAL_MACHINE\\") + kActiveSetupKey + "]");
  script.AppendComment(option.captions[cbChecked]);
  script.AppendLine("@=" + Quoted(kReadableName));
  script.AppendLine("\"StubPath\"=" + Quoted(StubPath()));
  script.AppendLine(versionLine);
  script.AppendLine("\"IsInstalled\"=dword:00000001");
  script.AppendEmptyLine();
  script.AppendLine(std::string("[HKEY_CURRENT_USER\\") + kActiveSetupKey + "]");
  script.AppendComment(
      "Кто импортирует этот файл, уже получил hkcu.reg: Active Setup его пропустит");
  script.AppendLine(versionLine);
  script.AppendEmptyLine();
  return script.Bytes();
}

std::array<EveryUserScript, 2> EveryUserScripts(const Selection& selection,
                                                const SetupVersion& version) {
  return {{{kUserScriptName, UserPart(BuildHkcuScript(selection).Bytes())},
           {kRegistrationName, RegistrationScript(version)}}};
}

StartupCommand RegistrationCommand(const std::string& registrationPath) {
  return {"Reg-AllUsers", "REGEDIT /S \"" + registrationPath + "\""};
}

}  // namespace kwetro
