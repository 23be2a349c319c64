// The administrator step with a scripted system: what it does with each kind
// of profile and each failure, in the order it must (load, backup, import,
// unload), the log it appends, and the mark it reads from profiles.reg. The
// step against Wine's registry and REGEDIT: tests/wine/window_deploy.sh.
#include "app/profile_hives.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "app/all_users.h"
#include "support/files.h"

namespace kwetro::testing {
namespace {

// A path as the tests spell it: the Windows build joins with "\\".
std::string Slashed(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

// Hives by file: what fails with them, and which hold the mark.
struct ScriptedHost : HiveHost {
  ProfileList list;
  bool listRead = true;
  std::set<std::string> inUse, marked, exportFails, importStops, unloadFails;
  std::map<std::string, std::string> loadFails;
  std::string loaded, calls;

  bool ReadProfiles(ProfileList& out, std::string& reason) override {
    reason = "Access is denied";
    return listRead && (out = list, true);
  }
  std::string CurrentUser() override { return "S-1-5-21-7-500"; }
  bool InUse(const std::string& sid) override { return inUse.count(sid) > 0; }
  bool Load(const std::string& file, std::string& reason) override {
    const std::string hive = Slashed(file);
    calls += "load " + hive + "; ";
    if (loadFails.count(hive)) return reason = loadFails[hive], false;
    return loaded = hive, true;
  }
  bool HasMark(const std::string& mark) override {
    return mark == "0123456789abcdef" && marked.count(loaded) > 0;
  }
  bool Export(const std::string& file, std::string& reason) override {
    calls += "export " + Slashed(file) + "; ";
    return reason = "Disk full", exportFails.count(loaded) == 0;
  }
  bool Import(const std::string& script, std::string& reason) override {
    calls += "import " + Slashed(script) + "; ";
    reason.clear();
    if (!importStops.count(loaded)) marked.insert(loaded);
    return true;
  }
  bool Unload(const std::string& file, std::string& reason) override {
    const std::string hive = Slashed(file);
    calls += "unload " + hive + "; ";
    loaded.clear();
    return reason = "Access is denied", unloadFails.count(hive) == 0;
  }
};

TEST(ProfileHives, EachKindOfProfileAndEachFailure) {
  ScriptedHost host;
  host.list.defaultUserFolder = "D/Default User";
  host.list.profiles = {
      {"S-1-5-18", "W/system32/config/systemprofile", false},
      {"S-1-5-21-7-500", "D/Administrator", false},  // the step's own user
      {"S-1-5-21-7-1003", "D/Иван Петров", false},
      {"S-1-5-21-7-1004", "D/roaming", true},
      {"S-1-5-21-7-1005", "D/logged on", false},
      {"S-1-5-21-7-1006", "D/damaged", false},
      {"S-1-5-21-7-1007", "D/done before", false},
      {"S-1-5-21-7-1008", "D/full disk", false},
      {"S-1-5-21-7-1009", "D/halfway", false},
      {"S-1-5-21-7-1010", "D/held", false},
      {"S-1-5-21-7-1011", "", false},
  };
  host.inUse = {"S-1-5-21-7-1005", "S-1-5-21-7-500"};
  host.loadFails["D/damaged/NTUSER.DAT"] = "The file is not a registry file";
  host.marked = {"D/done before/NTUSER.DAT"};
  host.exportFails = {"D/full disk/NTUSER.DAT"};
  host.importStops = {"D/halfway/NTUSER.DAT"};
  host.unloadFails = {"D/held/NTUSER.DAT"};
  std::string log;
  EXPECT_EQ(WriteProfileHives(host, "A/Kwetro", "A/Kwetro/profiles.reg", "0123456789abcdef", log),
            6);
  // One line a profile, in ProfileList's order, the Default User first.
  EXPECT_EQ(Slashed(log), CrLf(ReadBytes(SourcePath("tests/app/profile_hives_log.txt"))));
  // Nothing is imported before its backup, and every loaded hive is unloaded.
  const std::string written =
      "load D/Иван Петров/NTUSER.DAT; export D/Иван Петров/"
      "Kwetro-profile-backup.reg; import A/Kwetro/profiles.reg; unload "
      "D/Иван Петров/NTUSER.DAT; ";
  EXPECT_NE(host.calls.find(written), std::string::npos) << host.calls;
  EXPECT_NE(host.calls.find("load D/done before/NTUSER.DAT; unload D/done before/NTUSER.DAT; "),
            std::string::npos);
  EXPECT_NE(host.calls.find("export D/full disk/Kwetro-profile-backup.reg; unload D/full disk/"),
            std::string::npos);
  EXPECT_EQ(host.calls.find("load D/damaged/NTUSER.DAT; unload"), std::string::npos);
  EXPECT_EQ(host.calls.find("logged on"), std::string::npos);

  ScriptedHost unread;
  unread.listRead = false;
  log.clear();
  EXPECT_EQ(WriteProfileHives(unread, "A", "A/profiles.reg", "0123456789abcdef", log), 1);
  EXPECT_EQ(log, "  ProfileList не прочитан: Access is denied\r\n");
}

TEST(ProfileHives, TheMarkThatProfilesRegWritesLast) {
  const auto rows = ReadTable("tests/app/profile_marks.txt");
  EXPECT_EQ(rows.size(), 8u);
  for (const auto& row : rows)
    EXPECT_EQ(HiveScriptMark("Windows Registry Editor Version 5.00\r\n\r\n" + row.at(0)),
              row.at(1) == "-" ? "" : row[1])
        << row[0];
}

TEST(ProfileHives, TheStepAppendsToItsLogBesideTheProgram) {
  TempDir dir;
  const std::string program = dir.File("Kwetro.exe");
  ScriptedHost host;
  host.list.defaultUserFolder = dir.File("Default User");
  // Without profiles.reg nothing is loaded, and the log says why.
  EXPECT_EQ(RunProfilesStep(host, program), 1);
  EXPECT_EQ(host.calls, "");
  dir.Write("profiles.reg",
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_USERS\\KwetroProfile\\Software\\Kwetro]\r\n"
            "\"0123456789abcdef\"=\"\"\r\n");
  EXPECT_EQ(RunProfilesStep(host, program), 0);
  EXPECT_EQ(RunProfilesStep(host, program), 0);  // again: the hive holds the mark
  const std::string log = dir.Read("profiles.log");
  EXPECT_EQ(log.rfind("\xEF\xBB\xBF", 0), 0u);
  EXPECT_EQ(log.find("\xEF\xBB\xBF", 1), std::string::npos);
  const std::size_t missing = log.find("profiles.reg: не прочитан: ");
  const std::size_t written =
      log.find("profiles.reg, отметка 0123456789abcdef\r\n  Default User, ");
  const std::size_t again = log.find("уже содержит настройки этого выбора");
  EXPECT_TRUE(missing < written && written < again && again != std::string::npos) << log;
  EXPECT_EQ(dir.Listing(), "profiles.log profiles.reg");
}

}  // namespace
}  // namespace kwetro::testing
