#include "app/all_users.h"

#include "app/user_part.h"
#include "options/reg_script.h"
#include "options/reg_string.h"

namespace kwetro {
namespace {

constexpr std::uint32_t kPartMax = 0xFFFF;
// Where each user's HKEY_CURRENT_USER is exported before the import: the
// user's own profile, the one place a restricted user may always write.
constexpr char kUserBackup[] = "%USERPROFILE%\\Kwetro-backup.reg";
// The name Windows shows while it runs the command at a logon.
constexpr char kReadableName[] = "Kwetro - настройки пользователя";

// The Active Setup mark of a user under root: Windows runs nothing for a
// user whose mark is at the entry's version.
void AppendSetupMark(RegScript& script, std::string_view root, const SetupVersion& version,
                     std::string_view comment) {
  script.AppendLine("[" + std::string(root) + "\\" + kActiveSetupKey + "]");
  script.AppendComment(comment);
  script.AppendLine("\"Version\"=" + QuotedRegString(version.Text()));
  script.AppendEmptyLine();
}

}  // namespace

bool ForEveryUser(const Selection& selection) {
  static const int option = OptionIndex("dCheckBox_1_1");
  return selection.State(option) == cbChecked;
}

std::string StubPath(std::string_view mark) {
  const std::string backup = std::string("\"") + kUserBackup + "\"";
  // IF ERRORLEVEL rather than ||, and IF EXIST after &&: REGEDIT /E may end
  // with status 0 although it wrote nothing (Wine's does), and some command
  // interpreters run what follows && and || whatever the status (Wine's);
  // the backup is deleted first so that only a new one lets the import run.
  return "CMD /C REG QUERY \"HKCU\\" + std::string(kMarkKey) + "\" /v " + std::string(mark) +
         " >NUL 2>NUL & IF ERRORLEVEL 1 (DEL " + backup + " 2>NUL & REGEDIT /E " + backup +
         " HKEY_CURRENT_USER && IF EXIST " + backup + " REGEDIT /S \"" + kEveryUserFolder + "\\" +
         kUserScriptName + "\")";
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
    } else if (c >= '0' && c <= '9') {
      v.parts[part] = v.parts[part] * 10 + static_cast<std::uint32_t>(c - '0');
      if (v.parts[part] > kPartMax) return false;
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

std::string RegistrationScript(const SetupVersion& version, std::string_view mark) {
  const OptionDecl& option =
      Controls().options[static_cast<std::size_t>(OptionIndex("dCheckBox_1_1"))];
  const std::string versionLine = "\"Version\"=" + QuotedRegString(version.Text());
  RegScript script;
  script.AppendLine("Windows Registry Editor Version 5.00");
  script.AppendEmptyLine();
  script.AppendLine(std::string("[HKEY_LOCAL_MACHINE\\") + kActiveSetupKey + "]");
  script.AppendComment(option.captions[cbChecked]);
  script.AppendLine("@=" + QuotedRegString(kReadableName));
  script.AppendLine("\"StubPath\"=" + QuotedRegString(StubPath(mark)));
  script.AppendLine(versionLine);
  script.AppendLine("\"IsInstalled\"=dword:00000001");
  script.AppendEmptyLine();
  AppendSetupMark(script, kCurrentUserRoot, version,
                  "Кто импортирует этот файл, уже получил hkcu.reg: Active Setup его пропустит");
  AppendSelectionMark(script, kCurrentUserRoot, mark);
  return script.Bytes();
}

std::array<EveryUserScript, 3> EveryUserScripts(const Selection& selection,
                                                const SetupVersion& version) {
  const std::string mark = SelectionMark(selection);
  // What a user may write into the own hive.
  RegScript user = UserPart(selection, false);
  AppendSelectionMark(user, kCurrentUserRoot, mark);
  // What an administrator writes into a profile's hive, loaded under kHiveRoot.
  RegScript hive = UserPart(selection, true, kHiveRoot);
  AppendSetupMark(hive, kHiveRoot, version,
                  "Профиль, куда импортирован этот файл, уже получил настройки: Active Setup "
                  "его пропустит");
  AppendSelectionMark(hive, kHiveRoot, mark);
  return {{{kUserScriptName, user.Bytes()},
           {kRegistrationName, RegistrationScript(version, mark)},
           {kHiveScriptName, hive.Bytes()}}};
}

StartupCommand RegistrationCommand(const std::string& registrationPath) {
  return {"Reg-AllUsers", "REGEDIT /S \"" + registrationPath + "\""};
}

StartupCommand ProfilesCommand(const std::string& programPath) {
  // Below Reg-AllUsers in name too: Wine runs the values in descending order.
  return {"Reg-AllProfiles", "\"" + programPath + "\" " + kProfilesSwitch};
}

}  // namespace kwetro
