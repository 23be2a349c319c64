// kwetro-cli apply, audit, capture and undo on XP system drives the tests
// make, one profile's hive a real one (tests/offline/real): the hives hold
// what the selections write (audit finds no drift), and nothing else changed
// (the hives' exports by hivexregedit against a model of REGEDIT's import);
// undo gives every hive back byte for byte; every refusal leaves every file as
// it was; a kill in the middle leaves each hive old or new, a failed rename
// puts back the hives before it; where each profile's hive is found; the
// command lines.
#include "offline/apply.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <random>

#include "app/settings_file.h"
#include "machine/control_model.h"
#include "offline/files.h"
#include "support/as_nobody.h"
#include "support/checks.h"
#include "support/reg_model.h"
#include "support/xp_image.h"

namespace kwetro::offline {
namespace {

namespace fs = std::filesystem;
using testing::Cli;
using testing::CliRun;
using testing::TempDir;

const std::vector<testing::XpProfile> kProfiles = {{"Administrator"}, {"Иван", "ntuser.dat"}};
const char* const kUsers[] = {"Default User", "Administrator", "Иван"};

// Every file below the folder, by path, with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file())
      files[fs::relative(entry.path(), root).string()] = testing::ReadBytes(entry.path());
  return files;
}

std::string Hive(const std::string& root, const std::string& relative) {
  return (fs::path(root) / relative).string();
}
const char kSystem[] = "Windows/System32/config/system";
const char kSoftware[] = "Windows/System32/config/software";
const char kDefault[] = "Windows/System32/config/default";
const char kIvan[] = "Documents and Settings/Иван/ntuser.dat";

// The drive of the apply, audit and undo tests: made hives, but Иван's is a
// real profile's, with all the kinds of data and layouts Windows leaves.
void MakeDrive(const std::string& root) {
  testing::MakeXpImage(root, kProfiles);
  fs::copy_file(testing::SourcePath("tests/offline/real/ntuser.dat"), Hive(root, kIvan),
                fs::copy_options::overwrite_existing);
}

// The all-checked selection: its settings file, and its apply to a drive.
const std::string kAllChecked =
    testing::SourcePath("tests/golden/all-checked/selection.ini").string();

ApplyRequest AllChecked(const std::string& root) {
  const Selection selection = testing::Restored(testing::ReadBytes(kAllChecked));
  ApplyRequest request;
  request.root = root;
  request.scripts = {BuildHkcuScript(selection).Bytes(), BuildHklmScript(selection).Bytes()};
  return request;
}

// The selections: the golden ones, and one at random.
std::vector<std::pair<std::string, std::string>> Selections(const TempDir& dir) {
  std::vector<std::pair<std::string, std::string>> selections;
  for (const char* name : {"all-checked", "all-unchecked", "mixed-a"})
    selections.emplace_back(
        name, testing::SourcePath("tests/golden/" + std::string(name) + "/selection.ini").string());
  std::mt19937 rng(20260);
  std::string reason;
  SaveSettings(dir.File("random.ini"), testing::RandomSelection(rng), reason);
  selections.emplace_back("random", dir.File("random.ini"));
  return selections;
}

// hivexregedit's export of a hive, under the root the scripts name it by, as
// a file REGEDIT reads with hex data as written.
std::string Export(const std::string& hive, const std::string& prefix) {
  const std::string command = "hivexregedit --export --prefix '" + prefix + "' '" + hive + "' '\\'";
  std::string text;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    pclose(pipe);
  }
  std::string file = "\xFF\xFE";
  AppendUtf16Le(Cp1251ToUtf16(text), file);
  return file;
}

// The registry of the four hives one user sees, in the model.
testing::Registry Exports(const std::string& root) {
  const std::pair<const char*, std::string> hives[] = {
      {kSystem, "HKEY_LOCAL_MACHINE\\SYSTEM"},
      {kSoftware, "HKEY_LOCAL_MACHINE\\SOFTWARE"},
      {kDefault, "HKEY_USERS\\.DEFAULT"},
      {kIvan, "HKEY_USERS\\" + Utf16ToUtf8(testing::kUser)}};
  testing::Registry registry;
  for (const auto& [hive, prefix] : hives) {
    testing::Import import(registry);
    std::string problem;
    EXPECT_TRUE(testing::Read(Export(Hive(root, hive), prefix), import, problem)) << problem;
  }
  return registry;
}

// Values by their registry data, whatever line wrote them.
std::string Described(const testing::Registry& r) {
  std::string text;
  for (const auto& [folded, key] : r.keys) {
    text += "[" + Utf16ToUtf8(folded) + "]\n";
    for (const auto& [name, value] : key.second) {
      const machine::RegData data = machine::DataOf(value);
      text += "  " + Utf16ToUtf8(name) + " = " + std::to_string(data.type) + ":";
      for (unsigned char c : data.bytes)
        text += "0123456789abcdef"[c >> 4], text += "0123456789abcdef"[c & 15];
      text += "\n";
    }
  }
  return text;
}

// Each selection applied: audit finds it in every profile, and the hives
// changed exactly in the lines the scripts write (REGEDIT's import of them
// into the model of the hives before, where hivexregedit is installed).
TEST(OfflineApply, TheHivesHoldTheSelectionAndChangeExactlyInTheLinesTheScriptsWrite) {
  const bool hivex = std::system("command -v hivexregedit >/dev/null") == 0;
  if (!hivex) std::fprintf(stderr, "hivexregedit (libwin-hivex-perl) is not installed\n");
  TempDir dir;
  for (const auto& [name, ini] : Selections(dir)) {
    const std::string root = dir.File(name);
    MakeDrive(root);
    testing::Registry expected = hivex ? Exports(root) : testing::Registry();
    const CliRun drift = Cli({"audit", "--windows", root, "--settings", ini, "--user", "Иван"});
    EXPECT_EQ(drift.code, 3) << name << ": " << drift.err;
    const CliRun apply = Cli({"apply", "--windows", root, "--settings", ini});
    ASSERT_EQ(apply.code, 0) << name << ": " << apply.err;
    EXPECT_NE(apply.out.find(std::string(kSoftware) + ": "), std::string::npos) << apply.out;
    for (const char* user : kUsers) {
      const CliRun audit = Cli({"audit", "--windows", root, "--settings", ini, "--user", user});
      EXPECT_EQ(audit.code, 0) << name << ", " << user << ":\n" << audit.err << audit.out;
    }
    if (hivex) {
      // REGEDIT's import of the scripts into the model, with the current
      // control set named as the hive names it.
      const Selection selection = testing::Restored(testing::ReadBytes(ini));
      for (std::string script :
           {BuildHkcuScript(selection).Bytes(), BuildHklmScript(selection).Bytes()}) {
        for (std::size_t at; (at = script.find("\\CurrentControlSet\\")) != std::string::npos;)
          script.replace(at, 19, "\\ControlSet001\\");
        std::string file = "\xFF\xFE";
        AppendUtf16Le(Cp1251ToUtf16(script), file);
        testing::Import import(expected);
        std::string problem;
        ASSERT_TRUE(testing::Read(file, import, problem)) << problem;
      }
      const std::string want = Described(expected), got = Described(Exports(root));
      EXPECT_EQ(got, want) << name;
      EXPECT_GT(want.size(), 1000u);
    }
    // Applying again changes nothing.
    fs::remove(Hive(root, "Windows/System32/config/kwetro-backups.txt"));
    const CliRun again = Cli({"apply", "--windows", root, "--settings", ini});
    EXPECT_EQ(again.out.find("(its copy"), std::string::npos) << name << ": " << again.out;

    // The machine as one user's selection writes nothing the hives lack (that
    // user's hive is not the others': they may differ where it keeps values).
    const CliRun capture =
        Cli({"capture", "--windows", root, "--user", "Иван", "--out", dir.File(name + ".ini")});
    ASSERT_EQ(capture.code, 0) << capture.err;
    const CliRun captured = Cli({"apply", "--windows", root, "--user", "Иван", "--settings",
                                 dir.File(name + ".ini"), "--dry-run"});
    EXPECT_EQ(captured.out.find("would be made"), std::string::npos) << name << captured.out;
  }
}

TEST(OfflineApply, UndoGivesBackEveryHiveByteForByte) {
  TempDir dir;
  const std::string ini = kAllChecked;
  for (const bool ownFolder : {false, true}) {
    // Beside the hives the copies are second links to their files; in a
    // folder on another file system (a memory one, where there is one) they
    // are copies.
    const std::string root = dir.File(ownFolder ? "own" : "beside");
    const std::string backups = fs::is_directory("/dev/shm")
                                    ? "/dev/shm/kwetro-test-backups-" + std::to_string(getpid())
                                    : dir.File("backups");
    MakeDrive(root);
    const auto before = Snapshot(root);
    std::vector<std::string> args = {"apply", "--windows", root, "--settings", ini};
    std::vector<std::string> undo = {"undo", "--windows", root};
    if (ownFolder) {
      fs::create_directories(backups);
      for (auto* a : {&args, &undo}) a->insert(a->end(), {"--backup-dir", backups});
    }
    ASSERT_EQ(Cli(args).code, 0);
    EXPECT_NE(Snapshot(root), before);
    // A second apply waits for the first one's undo.
    const CliRun second = Cli(args);
    EXPECT_EQ(second.code, 1);
    EXPECT_NE(second.err.find("kwetro-backups.txt"), std::string::npos) << second.err;
    // A hive changed since the apply is not overwritten without --force.
    const std::string changed = testing::ReadBytes(Hive(root, kDefault));
    testing::WriteBytes(Hive(root, kDefault), changed + std::string(4096, '\0'));
    const CliRun refused = Cli(undo);
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find(Hive(root, kDefault) + " changed since the apply"),
              std::string::npos)
        << refused.err;
    testing::WriteBytes(Hive(root, kDefault), changed);

    const CliRun undone = Cli(undo);
    ASSERT_EQ(undone.code, 0) << undone.err;
    EXPECT_NE(undone.out.find(std::string(kIvan) + ": put back"), std::string::npos) << undone.out;
    EXPECT_EQ(Snapshot(root), before);  // the copies and their list are gone too
    if (ownFolder) {
      EXPECT_TRUE(fs::is_empty(backups));
      fs::remove_all(backups);
    }
  }
}

TEST(OfflineApply, DryRunSaysWhatWouldChangeAndChangesNothing) {
  TempDir dir;
  const std::string root = dir.Path();
  testing::MakeXpImage(root, kProfiles, 2);
  const auto before = Snapshot(root);
  const CliRun run = Cli({"apply", "--windows", root, "--dry-run", "--settings", kAllChecked});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(Snapshot(root), before);
  for (const char* line :
       {"  [ControlSet002\\Services\\Alerter] \"Start\"=dword:00000002 (was dword:00000003)\n",
        "  [Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Favorites] "
        "deleted\n",
        "Documents and Settings/LocalService/NTUSER.DAT"})
    EXPECT_EQ(run.out.find(line) == std::string::npos, line[0] == 'D') << line << "\n" << run.out;
}

void SetWord(const std::string& path, std::size_t at, std::uint32_t value, bool checksum = true) {
  std::string bytes = testing::ReadBytes(path);
  testing::PutWord(bytes, at, value);
  if (checksum) testing::Checksum(bytes);
  testing::WriteBytes(path, bytes);
}

TEST(OfflineApply, RefusedWithEveryFileAsItWas) {
  const std::string system = kSystem, software = kSoftware, defaults = kDefault, ivan = kIvan;
  const struct {
    const char* name;
    std::function<void(const std::string& root)> make;
    std::string message;                  // relative to the drive's folder, after it
    std::vector<std::string> extra = {};  // arguments; with them a usage error
  } cases[] = {
      {"damaged hive", [](const std::string& r) { SetWord(Hive(r, kSoftware), 4096, 0x6E696278); },
       software + ": libhivex cannot read it"},
      {"truncated hive",
       [](const std::string& r) { fs::resize_file(Hive(r, kSoftware), 4096 + 4096 + 512); },
       software + ": libhivex cannot read"},
      {"a broken list of keys",
       [](const std::string& r) {
         std::string bytes = testing::ReadBytes(Hive(r, kSoftware));
         bytes.replace(bytes.rfind("lh"), 2, "xx");
         testing::WriteBytes(Hive(r, kSoftware), bytes);
       },
       software + ": libhivex cannot read every key and value of it"},
      {"a hive that is a link",
       [](const std::string& r) {
         fs::rename(Hive(r, kDefault), Hive(r, "default.real"));
         fs::create_symlink("../../../default.real", Hive(r, kDefault));
       },
       defaults + ": not a plain file"},
      {"not a hive", [](const std::string& r) { testing::WriteBytes(Hive(r, kDefault), "text"); },
       defaults + " is refused: not a registry hive"},
      {"unfinished write", [](const std::string& r) { SetWord(Hive(r, kSystem), 4, 9); },
       system + " is refused: its sequence numbers differ (9, 2)"},
      {"header checksum", [](const std::string& r) { SetWord(Hive(r, kSystem), 48, 9, false); },
       system + " is refused: the checksum of its header is wrong"},
      {"newer write in the log",
       [](const std::string& r) {
         std::string log = testing::ReadBytes(Hive(r, kIvan)).substr(0, 4096);
         testing::PutWord(log, 4, 5);
         testing::PutWord(log, 8, 5);
         testing::PutWord(log, 28, 1);
         testing::Checksum(log);
         testing::WriteBytes(Hive(r, kIvan) + ".LOG", log.substr(0, 1024));
       },
       ivan + " is refused: its transaction log holds a write (5)"},
      {"missing profile", [](const std::string& r) { fs::remove(Hive(r, kIvan)); },
       "Documents and Settings/Иван/NTUSER.DAT: choose the other profiles with --user NAME"},
      {"missing hive", [](const std::string& r) { fs::remove(Hive(r, kDefault)); },
       defaults + " is missing"},
      {"unknown user",
       [](const std::string&) {},
       "no profile Пётр (the profiles: Default User, Administrator, Иван)",
       {"--user", "Пётр"}},
      {"read-only folder",
       [](const std::string& r) {
         fs::permissions(Hive(r, "Windows/System32/config"),
                         fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                         fs::perm_options::remove);
       },
       system + ": "},
  };
  const std::string ini = kAllChecked;
  for (const auto& c : cases) {
    TempDir dir;
    const std::string root = dir.File("drive");
    testing::MakeXpImage(root, kProfiles);
    c.make(root);
    const auto before = Snapshot(root);
    std::vector<std::string> args = {"apply", "--windows", root, "--settings", ini};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const auto refused = [&] {
      const CliRun run = Cli(args);
      const int code = c.extra.empty() ? kExitFailure : kExitUsage;
      const bool ok = run.code == code && run.err.find(c.message) != std::string::npos;
      if (!ok || !run.out.empty())
        std::fprintf(stderr, "%s: %d %s", c.name, run.code, run.err.c_str());
      return ok && run.out.empty();
    };
    // Permissions are tried as a user they bind; root passes them.
    EXPECT_EQ(std::string(c.name) == "read-only folder" ? testing::AsNobody(refused) : !refused(),
              0)
        << c.name;
    EXPECT_EQ(Snapshot(root), before) << c.name;
    EXPECT_EQ(dir.Listing(), "drive") << c.name;
  }
}

TEST(OfflineApply, AKillInTheMiddleLeavesEachHiveOldOrNew) {
  TempDir dir;
  const std::string root = dir.File("drive");
  testing::MakeXpImage(root, kProfiles);
  const auto before = Snapshot(root);
  const pid_t child = fork();
  if (child == 0) {
    ApplyRequest request = AllChecked(root);
    request.afterReplace = [](const HiveFile&) { raise(SIGKILL); };
    std::vector<HiveOutcome> outcomes;
    OfflineProblem problem;
    ApplyToImage(request, outcomes, problem);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

  // The list of copies names each hive's fingerprint before and after.
  const std::string list =
      testing::ReadBytes(Hive(root, "Windows/System32/config/kwetro-backups.txt"));
  int newer = 0;
  for (const char* hive : {kSystem, kSoftware, kDefault, kIvan}) {
    std::string now, reason;
    ASSERT_TRUE(Fingerprint(Hive(root, hive), now, reason));
    const std::size_t line = list.find(std::string(hive) + "\t");
    ASSERT_NE(line, std::string::npos) << hive;
    const std::string row = list.substr(line, list.find('\n', line) - line);
    const bool isNew =
        row.size() > now.size() && row.compare(row.size() - now.size(), now.size(), now) == 0;
    EXPECT_TRUE(isNew || testing::ReadBytes(Hive(root, hive)) == before.at(hive)) << hive;
    newer += isNew;
  }
  EXPECT_EQ(newer, 1);
  const CliRun undone = Cli({"undo", "--windows", root});
  ASSERT_EQ(undone.code, 0) << undone.err;
  EXPECT_EQ(Snapshot(root), before);
}

TEST(OfflineApply, AFailedReplacePutsBackTheHivesReplacedBefore) {
  TempDir dir;
  const std::string root = dir.File("drive");
  testing::MakeXpImage(root, kProfiles);
  const auto before = Snapshot(root);
  ApplyRequest request = AllChecked(root);
  // Once system is replaced, software's place is taken by a folder: its rename fails.
  const std::string software = Hive(root, kSoftware), aside = dir.File("software");
  request.afterReplace = [&](const HiveFile& hive) {
    if (hive.label != "system") return;
    fs::rename(software, aside);
    fs::create_directories(software + "/inside");
  };
  std::vector<HiveOutcome> outcomes;
  OfflineProblem problem;
  EXPECT_FALSE(ApplyToImage(request, outcomes, problem));
  EXPECT_NE(problem.what.find("cannot replace the hive " + software), std::string::npos)
      << problem.what;
  EXPECT_NE(problem.what.find("the hives replaced before it were put back"), std::string::npos);
  EXPECT_TRUE(problem.untouched);
  fs::remove_all(software);
  fs::rename(aside, software);
  EXPECT_EQ(Snapshot(root), before);  // system back, no new file, copy or list left
}

// Where a profile's NTUSER.DAT is found from the path ProfileList holds.
TEST(OfflineApply, ProfilePaths) {
  const auto rows = testing::ReadTable("tests/offline/profile_paths.txt");
  EXPECT_EQ(rows.size(), 5u);
  for (const auto& r : rows) {
    TempDir dir;
    testing::MakeXpImage(dir.Path(), {{"Administrator"}});
    std::string reason;
    {
      auto software = Hive::Open(Hive(dir.Path(), kSoftware), true, reason);
      const Hive::Node profile = software->Find(
          u"Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-21-1-2-3-1000");
      ASSERT_TRUE(software->SetValue(
          profile, {u"ProfileImagePath", testing::Text(Cp1251ToUtf16(r.at(0)), 2)}, reason));
      ASSERT_TRUE(software->Commit(Hive(dir.Path(), kSoftware), reason)) << reason;
    }
    const CliRun run = Cli({"apply", "--windows", dir.Path(), "--dry-run"});
    const std::string said = run.out + run.err;
    const std::size_t at = said.find(r.at(1));
    EXPECT_TRUE(at != std::string::npos && said.find(r[1], at + 1) == std::string::npos)
        << r[0] << ":\n"
        << said;
  }
}

TEST(OfflineApply, CommandLines) {
  TempDir dir;
  testing::MakeXpImage(dir.Path(), {});
  const auto cases = testing::ReadCommandCases("tests/offline/apply_command_lines.txt", dir.Path());
  EXPECT_EQ(cases.size(), 9u);
  for (const auto& c : cases) {
    const CliRun run = Cli(c.args);
    EXPECT_EQ(run.code, c.code) << c.args[0] << " " << c.args.back() << ": " << run.err;
    EXPECT_EQ(run.err.rfind(c.message, 0), 0u) << run.err;
  }
}

}  // namespace
}  // namespace kwetro::offline
