// Missing, unreadable and unwritable paths: the message names the file and
// the system's reason, the exit code is 1, and whatever was on disk before
// stays as it was. Every test here backs one row of docs/robustness.md.
#include <fstream>

#include "robustness/robustness_support.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace kwetro::robustness {
namespace {

const std::set<std::string> kBothScripts = {"hkcu.reg", "hklm.reg"};

// An output folder that already holds the scripts of an earlier run.
void WriteEarlierScripts(const Workspace& ws) {
  ws.Dir().Write("out/hkcu.reg", "earlier hkcu");
  ws.Dir().Write("out/hklm.reg", "earlier hklm");
}

void ExpectEarlierScriptsIntact(const Workspace& ws) {
  EXPECT_EQ(ws.Dir().Read("out/hkcu.reg"), "earlier hkcu");
  EXPECT_EQ(ws.Dir().Read("out/hklm.reg"), "earlier hklm");
}

#ifndef _WIN32

// Root ignores file permissions; the tests that need them to count run the
// command in a child process with the rights of "nobody". Returns false when
// the rights cannot be dropped.
bool RunAsNobody(const std::vector<std::string>& args, CliRun& result) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return false;
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    ::close(pipeFds[0]);
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(77);
    const CliRun r = Cli(args);
    const std::string report = std::to_string(r.code) + "\n" + r.err;
    if (::write(pipeFds[1], report.data(), report.size()) < 0) ::_exit(78);
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  std::string report;
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) report.append(buffer, n);
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
  const std::size_t newline = report.find('\n');
  result.code = std::stoi(report.substr(0, newline));
  result.err = report.substr(newline + 1);
  return true;
}

// A file system mounted over a folder for one test: a small tmpfs, or the
// folder itself again, read-only. Needs root; Mounted() tells whether it worked.
class ScratchMount {
 public:
  static ScratchMount SmallTmpfs(const std::string& dir) {
    ScratchMount m(dir);
    m.mounted_ = ::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=64k") == 0;
    return m;
  }
  static ScratchMount ReadOnlyBind(const std::string& dir) {
    ScratchMount m(dir);
    if (::mount(dir.c_str(), dir.c_str(), nullptr, MS_BIND, nullptr) != 0) return m;
    m.mounted_ = true;
    if (::mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
      m.Unmount();
    return m;
  }
  ScratchMount(ScratchMount&& o) noexcept : dir_(o.dir_), mounted_(o.mounted_) {
    o.mounted_ = false;
  }
  ~ScratchMount() { Unmount(); }
  bool Mounted() const { return mounted_; }
  void Unmount() {
    if (mounted_) ::umount2(dir_.c_str(), MNT_DETACH);
    mounted_ = false;
  }

 private:
  explicit ScratchMount(std::string dir) : dir_(std::move(dir)) {}
  std::string dir_;
  bool mounted_ = false;
};

bool IsCharDevice(const char* path) {
  struct stat st {};
  return ::stat(path, &st) == 0 && S_ISCHR(st.st_mode);
}

#endif  // !_WIN32

TEST(FailingDisk, NoSettingsFile) {
  Workspace ws;
  // Without --settings: the built-in selection.
  CliRun r = Cli({"generate", "--out", ws.Out()});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  EXPECT_EQ(ws.Written(), ScriptsOf(BuiltInForm()));

  // A settings file that was asked for and is not there.
  WriteEarlierScripts(ws);
  r = Cli({"generate", "--settings", ws.Settings(), "--out", ws.Out()});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_EQ(r.err, ReadError(ws.Settings(), Reason(Why::kNoSuchFile)));
  ExpectEarlierScriptsIntact(ws);

  r = Cli({"settings", "--settings", ws.Settings(), "--out", ws.Dir().File("new.ini")});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_EQ(r.err, ReadError(ws.Settings(), Reason(Why::kNoSuchFile)));
  EXPECT_FALSE(ws.Dir().Exists("new.ini"));
}

TEST(FailingDisk, SettingsPathIsAFolder) {
  Workspace ws;
  WriteEarlierScripts(ws);
  std::filesystem::create_directory(ws.Settings());
  CliRun r = Cli({"generate", "--settings", ws.Settings(), "--out", ws.Out()});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_EQ(r.err, ReadError(ws.Settings(), Reason(Why::kIsFolder)));
  ExpectEarlierScriptsIntact(ws);

  // Saving to it: the folder stays a folder, no temporary file is left.
  r = Cli({"settings", "--out", ws.Settings()});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_EQ(r.err, SettingsWriteError(ws.Settings(), Reason(Why::kTargetIsFolder)));
  EXPECT_TRUE(std::filesystem::is_directory(ws.Settings()));
  EXPECT_EQ(Listing(ws.Dir().Path()), (std::set<std::string>{"k.ini", "out"}));
}

TEST(FailingDisk, UnreadableSettingsFile) {
  Workspace ws;
  WriteEarlierScripts(ws);
  ws.Dir().Write("k.ini", "[sCheckBox_1_9]\r\nChecked=1\r\n");
  const std::vector<std::string> args = {"generate", "--settings", ws.Settings(), "--out",
                                         ws.Out()};
  CliRun r;
#ifdef _WIN32
  // Windows: another program holds the file open without sharing it.
  HANDLE lock = CreateFileW(Widen(ws.Settings()).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  r = Cli(args);
  CloseHandle(lock);
  EXPECT_EQ(r.err, ReadError(ws.Settings(), SystemMessage(ERROR_SHARING_VIOLATION)));
#else
  std::filesystem::permissions(ws.Settings(), std::filesystem::perms::none);
  if (::geteuid() == 0) {
    std::filesystem::permissions(ws.Dir().Path(), std::filesystem::perms::all);
    std::filesystem::permissions(ws.Out(), std::filesystem::perms::all);
    if (!RunAsNobody(args, r)) GTEST_SKIP() << "running as root and cannot drop to nobody";
  } else {
    r = Cli(args);
  }
  EXPECT_EQ(r.err, ReadError(ws.Settings(), Reason(Why::kDenied)));
#endif
  EXPECT_EQ(r.code, kExitFailure);
  ExpectEarlierScriptsIntact(ws);
  EXPECT_EQ(Listing(ws.Out()), kBothScripts);
}

TEST(FailingDisk, OutputFolderDoesNotExist) {
  Workspace ws;
  const std::string missing = ws.Dir().File("missing");
  CliRun r = Cli({"generate", "--out", missing});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_EQ(r.err, ScriptError(JoinPath(missing, "hkcu.reg"), Reason(Why::kNoSuchFolder)));
  EXPECT_FALSE(std::filesystem::exists(missing));

  const std::string settings = JoinPath(missing, "k.ini");
  r = Cli({"settings", "--out", settings});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_EQ(r.err, SettingsWriteError(settings, Reason(Why::kNoSuchFolder)));
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(FailingDisk, ReadOnlyOutputFolder) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows folders have no read-only state that stops writing into them";
#else
  Workspace ws;
  WriteEarlierScripts(ws);
  ws.Dir().Write("out/k.ini", "[Mine]\r\nkeep=1\r\n");
  std::string reason;
  ScratchMount readOnly = ScratchMount::ReadOnlyBind(ws.Out());
  if (readOnly.Mounted()) {
    reason = std::strerror(EROFS);
  } else if (::geteuid() != 0) {
    std::filesystem::permissions(
        ws.Out(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    reason = Reason(Why::kDenied);
  } else {
    GTEST_SKIP() << "running as root without the right to mount a read-only folder";
  }
  CliRun r = Cli({"generate", "--out", ws.Out()});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_EQ(r.err, ScriptError(ws.OutFile("hkcu.reg"), reason));

  const std::string settings = ws.OutFile("k.ini");
  r = Cli({"settings", "--out", settings});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_EQ(r.err, SettingsWriteError(settings, reason));

  readOnly.Unmount();
  std::filesystem::permissions(ws.Out(), std::filesystem::perms::owner_all);
  ExpectEarlierScriptsIntact(ws);
  EXPECT_EQ(ws.Dir().Read("out/k.ini"), "[Mine]\r\nkeep=1\r\n");
  EXPECT_EQ(Listing(ws.Out()), (std::set<std::string>{"hkcu.reg", "hklm.reg", "k.ini"}));
#endif
}

TEST(FailingDisk, FullOutputFolder) {
#ifdef _WIN32
  GTEST_SKIP() << "no small volume to fill under Wine";
#else
  Workspace ws;
  ScratchMount small = ScratchMount::SmallTmpfs(ws.Out());
  if (!small.Mounted()) GTEST_SKIP() << "cannot mount a small tmpfs (needs root)";
  WriteEarlierScripts(ws);
  ws.Dir().Write("out/k.ini", "[Mine]\r\nkeep=1\r\n");
  {
    std::ofstream filler(ws.OutFile("filler"), std::ios::binary);
    const std::string block(4096, 'f');
    while (filler.write(block.data(), block.size())) {
    }
  }
  CliRun r = Cli({"generate", "--out", ws.Out()});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_EQ(r.err, ScriptError(ws.OutFile("hkcu.reg"), Reason(Why::kNoSpace)));

  r = Cli({"settings", "--out", ws.OutFile("k.ini")});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_EQ(r.err, SettingsWriteError(ws.OutFile("k.ini"), Reason(Why::kNoSpace)));

  ExpectEarlierScriptsIntact(ws);
  EXPECT_EQ(ws.Dir().Read("out/k.ini"), "[Mine]\r\nkeep=1\r\n");
  EXPECT_EQ(Listing(ws.Out()), (std::set<std::string>{"filler", "hkcu.reg", "hklm.reg", "k.ini"}));

  // Nothing of the failed attempts takes space: with the filler gone both
  // scripts fit.
  std::filesystem::remove(ws.OutFile("filler"));
  r = Cli({"generate", "--out", ws.Out()});
  EXPECT_EQ(r.code, kExitOk) << r.err;
  EXPECT_EQ(ws.Written(), ScriptsOf(BuiltInForm()));
#endif
}

TEST(FailingDisk, TargetScriptIsAFolder) {
  Workspace ws;
  WriteEarlierScripts(ws);
  std::filesystem::remove(ws.OutFile("hkcu.reg"));
  std::filesystem::create_directory(ws.OutFile("hkcu.reg"));
  const CliRun r = Cli({"generate", "--out", ws.Out()});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_EQ(r.err, ScriptError(ws.OutFile("hkcu.reg"), Reason(Why::kTargetIsFolder)));
  EXPECT_EQ(r.out, "");
  // hkcu.reg comes first; after its failure hklm.reg is not touched.
  EXPECT_TRUE(std::filesystem::is_directory(ws.OutFile("hkcu.reg")));
  EXPECT_EQ(ws.Dir().Read("out/hklm.reg"), "earlier hklm");
  EXPECT_EQ(Listing(ws.Out()), kBothScripts);
}

#ifdef _WIN32
TEST(FailingDisk, TargetScriptHeldOpenWithoutSharing) {
  Workspace ws;
  WriteEarlierScripts(ws);
  // Another program's handle without sharing: the lock belongs to the handle,
  // whichever process holds it.
  HANDLE lock = CreateFileW(Widen(ws.OutFile("hklm.reg")).c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  const CliRun r = Cli({"generate", "--out", ws.Out()});
  CloseHandle(lock);
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_EQ(r.err, ScriptError(ws.OutFile("hklm.reg"), SystemMessage(ERROR_ACCESS_DENIED)));
  EXPECT_EQ(ws.Dir().Read("out/hkcu.reg"), BuildHkcuScript(BuiltInForm()).Bytes());
  EXPECT_EQ(ws.Dir().Read("out/hklm.reg"), "earlier hklm");
  EXPECT_EQ(Listing(ws.Out()), kBothScripts);
}
#else
TEST(FailingDisk, AReaderOfTheEarlierScriptKeepsReadingItWhole) {
  Workspace ws;
  const std::string earlier = "earlier hklm " + std::string(100000, 'e');
  ws.Dir().Write("out/hklm.reg", earlier);
  std::ifstream reader(ws.OutFile("hklm.reg"), std::ios::binary);
  char first[8];
  ASSERT_TRUE(reader.read(first, sizeof first));
  const CliRun r = Cli({"generate", "--out", ws.Out()});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  const std::string rest(std::istreambuf_iterator<char>(reader), {});
  EXPECT_EQ(std::string(first, sizeof first) + rest, earlier);
  EXPECT_EQ(ws.Written(), ScriptsOf(BuiltInForm()));
}

TEST(FailingDisk, DevicesAndPipesAreWrittenInPlaceNeverReplaced) {
  Workspace ws;
  CliRun r = Cli({"settings", "--out", "/dev/null"});
  EXPECT_EQ(r.code, kExitOk) << r.err;
  EXPECT_TRUE(IsCharDevice("/dev/null"));

  r = Cli({"settings", "--out", "/dev/full"});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_EQ(r.err, SettingsWriteError("/dev/full", Reason(Why::kNoSpace)));
  EXPECT_TRUE(IsCharDevice("/dev/full"));

  // A pipe nobody reads: refused at once rather than waited on.
  const std::string fifo = ws.OutFile("hkcu.reg");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  r = Cli({"generate", "--out", ws.Out()});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_EQ(r.err, ScriptError(fifo, std::strerror(ENXIO)));
  struct stat st {};
  ASSERT_EQ(::stat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_EQ(Listing(ws.Out()), (std::set<std::string>{"hkcu.reg"}));
}
#endif

}  // namespace
}  // namespace kwetro::robustness
