#include "app/profile_hives.h"

#include "app/all_users.h"
#include "app/file_io.h"
#include "app/user_part.h"
#include "options/number_text.h"

namespace kwetro {
namespace {

constexpr char kHiveFileName[] = "NTUSER.DAT";
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

// What the step says of a profile it passes over, and whether that counts as
// a profile on the disk left without the selection.
struct Skip {
  const char* words;
  bool failure;
};
constexpr Skip kServiceAccount = {"служебная учётная запись, не пользователь", false};
constexpr Skip kRoaming = {
    "перемещаемый профиль: его копию на сервере получит Active Setup при входе", false};
constexpr Skip kThisUser = {
    "администратор этого входа: hkcu.reg и hklm.reg импортированы в его профиль", false};
constexpr Skip kInUse = {
    "куст занят (пользователь вошёл или под его именем работает программа): user.reg получит "
    "Active Setup при следующем входе",
    true};
constexpr Skip kNoFolder = {"в ProfileList нет ProfileImagePath", true};

// Accounts of people, local and of a domain, have SIDs S-1-5-21-...; the
// system's own (S-1-5-18, -19, -20) run services, not users.
bool IsUserAccount(const std::string& sid) { return sid.rfind("S-1-5-21-", 0) == 0; }

struct Target {
  std::string who, hive, backup;
  const Skip* skip = nullptr;
};

std::vector<Target> Targets(HiveHost& host, const ProfileList& list, const std::string& folder) {
  std::vector<Target> targets;
  if (!list.defaultUserFolder.empty())
    targets.push_back({"Default User", JoinPath(list.defaultUserFolder, kHiveFileName),
                       JoinPath(folder, kDefaultUserBackupName)});
  const std::string self = host.CurrentUser();
  for (const ProfileEntry& p : list.profiles) {
    Target t{p.sid, p.folder.empty() ? "" : JoinPath(p.folder, kHiveFileName),
             p.folder.empty() ? "" : JoinPath(p.folder, kProfileBackupName)};
    if (!IsUserAccount(p.sid))
      t.skip = &kServiceAccount;
    else if (p.roaming)
      t.skip = &kRoaming;
    else if (p.sid == self)
      t.skip = &kThisUser;
    else if (host.InUse(p.sid))
      t.skip = &kInUse;
    else if (p.folder.empty())
      t.skip = &kNoFolder;
    targets.push_back(t);
  }
  return targets;
}

// Loads, backs up, imports and unloads one hive; what befell it, and whether
// it holds the selection afterwards.
bool WriteHive(HiveHost& host, const Target& t, const std::string& script, const std::string& mark,
               std::string& outcome) {
  std::string reason;
  if (!host.Load(t.hive, reason)) {
    outcome = "не загружен: " + reason;
    return false;
  }
  bool holds = host.HasMark(mark);
  if (holds) {
    outcome = "уже содержит настройки этого выбора, не изменён";
  } else if (!host.Export(t.backup, reason)) {
    outcome = "резервная копия " + t.backup + " не записана: " + reason + "; не изменён";
  } else if (!host.Import(script, reason) || !(holds = host.HasMark(mark))) {
    // REGEDIT says nothing of an import that stops halfway; the mark,
    // written last, does.
    outcome = "импорт не дошёл до конца" + (reason.empty() ? "" : ": " + reason) +
              "; резервная копия: " + t.backup;
  } else {
    outcome = "записан; резервная копия: " + t.backup;
  }
  if (!host.Unload(t.hive, reason)) {
    outcome += "; не выгружен: " + reason;
    return false;
  }
  return holds;
}

}  // namespace

std::string HiveScriptMark(std::string_view bytes) {
  const std::string key = std::string("\r\n[") + kHiveRoot + "\\" + kMarkKey + "]\r\n";
  std::size_t at = bytes.rfind(key);
  if (at == std::string_view::npos) return {};
  at += key.size();
  while (at < bytes.size() && bytes[at] == ';') {  // the block's comment
    const std::size_t end = bytes.find("\r\n", at);
    if (end == std::string_view::npos) return {};
    at = end + 2;
  }
  const std::string_view line = bytes.substr(at, bytes.find("\r\n", at) - at);
  constexpr std::size_t kDigits = 16;
  if (line.size() != kDigits + 5 || line[0] != '"' || line.substr(kDigits + 1) != "\"=\"\"")
    return {};
  const std::string_view mark = line.substr(1, kDigits);
  if (mark.find_first_not_of("0123456789abcdef") != std::string_view::npos) return {};
  return std::string(mark);
}

int WriteProfileHives(HiveHost& host, const std::string& folder, const std::string& script,
                      const std::string& mark, std::string& log) {
  ProfileList list;
  std::string reason;
  if (!host.ReadProfiles(list, reason)) {
    log += "  ProfileList не прочитан: " + reason + "\r\n";
    return 1;
  }
  if (list.defaultUserFolder.empty()) log += "  Default User: в ProfileList не назван\r\n";
  int failures = 0;
  for (const Target& t : Targets(host, list, folder)) {
    std::string outcome;
    if (t.skip) {
      outcome = t.skip->words;
      failures += t.skip->failure;
    } else if (!WriteHive(host, t, script, mark, outcome)) {
      ++failures;
    }
    log += "  " + t.who + (t.hive.empty() ? "" : ", " + t.hive) + ": " + outcome + "\r\n";
  }
  return failures;
}

int RunProfilesStep(HiveHost& host, const std::string& programPath) {
  const std::string folder = FolderOf(programPath);
  const std::string script = JoinPath(folder, kHiveScriptName);
  const std::string logPath = JoinPath(folder, kProfilesLogName);
  std::string bytes, reason, log;
  const bool read = ReadWholeFile(script, bytes, reason);
  const std::string mark = read ? HiveScriptMark(bytes) : "";
  const std::tm now = LocalNow();
  log = ZeroPadded(now.tm_year + 1900, 4) + "-" + ZeroPadded(now.tm_mon + 1, 2) + "-" +
        ZeroPadded(now.tm_mday, 2) + " " + ZeroPadded(now.tm_hour, 2) + ":" +
        ZeroPadded(now.tm_min, 2) + ":" + ZeroPadded(now.tm_sec, 2) + " " + script;
  int failures = 1;
  if (!read) {
    log += ": не прочитан: " + reason + "\r\n";
  } else if (mark.empty()) {
    log += ": в конце нет отметки выбора, это не файл Kwetro для профилей\r\n";
  } else {
    log += ", отметка " + mark + "\r\n";
    failures = WriteProfileHives(host, folder, script, mark, log);
  }
  // Appended, so that the log of every run stays; a log that is there but
  // cannot be read is left alone rather than written anew.
  std::string earlier = kUtf8Mark;
  if (!FileExists(logPath) || ReadWholeFile(logPath, earlier, reason))
    WriteFileAtomically(logPath, earlier + log + "\r\n", reason);
  return failures == 0 ? 0 : 1;
}

}  // namespace kwetro
