// Missing, unreadable and unwritable paths through kwetro-cli: the message
// names the file and the system's reason, the exit status is 1, and what was
// on disk stays as it was. The tests back the rows of docs/robustness.md.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>

#include "app/file_io.h"
#include "support/checks.h"
#include "support/files.h"

#ifdef _WIN32
#include <windows.h>

#include "app/win32_text.h"
#else
#include <sys/mount.h>
#include <sys/stat.h>

#include "support/as_nobody.h"
#endif

namespace kwetro::testing {
namespace {

#ifndef _WIN32
enum : unsigned long { ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_DIRECTORY };
#endif

// The system's words: strerror here, the system's own message on Windows.
std::string Reason([[maybe_unused]] int posix, [[maybe_unused]] unsigned long windows) {
#ifdef _WIN32
  return SystemMessage(windows);
#else
  return std::strerror(posix);
#endif
}

std::string Message(const char* what, const std::string& path, const std::string& reason) {
  return std::string("kwetro-cli: cannot ") + what + " '" + path + "': " + reason + "\n";
}
const char kRead[] = "read settings file", kScript[] = "write registry script",
           kSettings[] = "write settings file";

// A folder "out" holding the scripts of an earlier run and a settings file.
struct Disk {
  Disk() {
    std::filesystem::create_directory(out);
    Fill();
  }
  void Fill() const {
    dir.Write("out/hkcu.reg", "earlier hkcu");
    dir.Write("out/hklm.reg", "earlier hklm");
    dir.Write("out/k.ini", "[Mine]\r\n");
  }
  bool EarlierIntact() const {
    return dir.Read("out/hkcu.reg") == "earlier hkcu" &&
           dir.Read("out/hklm.reg") == "earlier hklm" && dir.Read("out/k.ini") == "[Mine]\r\n" &&
           dir.Listing("out") == "hkcu.reg hklm.reg k.ini";
  }
  TempDir dir;
  std::string out = dir.File("out"), hkcu = JoinPath(out, "hkcu.reg"), ini = JoinPath(out, "k.ini");
};

TEST(FailingDisk, EachFailureNamesItsFileAndLeavesTheDiskAsItWas) {
  Disk d;
  std::filesystem::remove(d.hkcu);
  std::filesystem::create_directory(d.hkcu);  // a folder where a script should go
  const std::string absent = d.dir.File("absent.ini"), missing = d.dir.File("missing"),
                    big = d.dir.File("big.ini"), limit = d.dir.File("limit.ini");
  d.dir.Write("big.ini", "");
  std::filesystem::resize_file(big, 100u << 20);  // sparse
  std::string bytes = "[sCheckBox_1_9]\r\nChecked=1\r\n";
  bytes.resize(kMaxReadFileSize + 1, ';');
  d.dir.Write("limit.ini", bytes);
  const std::string noFile = "No such file or directory";  // kwetro-cli's own words
  std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"generate", "--settings", absent, "--out", d.out}, Message(kRead, absent, noFile)},
      {{"settings", "--settings", absent, "--out", d.dir.File("new.ini")},
       Message(kRead, absent, noFile)},
      {{"generate", "--out", missing},
       Message(kScript, JoinPath(missing, "hkcu.reg"), Reason(ENOENT, ERROR_PATH_NOT_FOUND))},
      {{"settings", "--out", JoinPath(missing, "k.ini")},
       Message(kSettings, JoinPath(missing, "k.ini"), Reason(ENOENT, ERROR_PATH_NOT_FOUND))},
      {{"generate", "--out", d.out}, Message(kScript, d.hkcu, Reason(EISDIR, ERROR_ACCESS_DENIED))},
      {{"generate", "--settings", d.hkcu}, Message(kRead, d.hkcu, Reason(EISDIR, ERROR_DIRECTORY))},
      {{"settings", "--out", d.hkcu},
       Message(kSettings, d.hkcu, Reason(EISDIR, ERROR_ACCESS_DENIED))},
      {{"generate", "--settings", big, "--out", d.out}, Message(kRead, big, kFileTooLargeReason)},
      {{"settings", "--out", big}, Message(kRead, big, kFileTooLargeReason)},  // read before saving
      {{"generate", "--settings", limit, "--out", d.out},
       Message(kRead, limit, kFileTooLargeReason)},
  };
#ifndef _WIN32
  const std::string pipe = d.dir.File("pipe/hkcu.reg");  // nobody reads it: refused at once
  std::filesystem::create_directory(d.dir.File("pipe"));
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  cases.push_back(
      {{"generate", "--out", d.dir.File("pipe")}, Message(kScript, pipe, strerror(ENXIO))});
  cases.push_back(
      {{"generate", "--settings", "/dev/zero"}, Message(kRead, "/dev/zero", kFileTooLargeReason)});
  cases.push_back(
      {{"settings", "--out", "/dev/full"}, Message(kSettings, "/dev/full", strerror(ENOSPC))});
#endif
  for (const auto& [args, message] : cases) {
    const CliRun r = Cli(args);
    EXPECT_EQ(r.code, kExitFailure) << message;
    EXPECT_EQ(r.err, message);
    EXPECT_EQ(r.out, "");
  }
  EXPECT_TRUE(std::filesystem::is_directory(d.hkcu));
  EXPECT_EQ(d.dir.Read("out/hklm.reg"), "earlier hklm");       // not attempted after hkcu.reg
  EXPECT_EQ(d.dir.Listing("out"), "hkcu.reg hklm.reg k.ini");  // no temporary file left
  EXPECT_EQ(std::filesystem::file_size(big), 100u << 20);
  // hkcu.reg comes first: with hklm.reg in the way it is written all the same.
  std::filesystem::create_directories(d.dir.File("second/hklm.reg"));
  EXPECT_EQ(Cli({"generate", "--out", d.dir.File("second")}).code, kExitFailure);
  EXPECT_TRUE(d.dir.Read("second/hkcu.reg") == BuildHkcuScript(Selection()).Bytes());
  EXPECT_EQ(d.dir.Listing("second"), "hkcu.reg hklm.reg");
  bytes.pop_back();  // 16 MiB exactly is read
  d.dir.Write("limit.ini", bytes);
  EXPECT_EQ(Cli({"settings", "--settings", limit, "--out", d.dir.File("new.ini")}).code, kExitOk);
#ifndef _WIN32
  struct stat st {};
  EXPECT_TRUE(::stat(pipe.c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
  EXPECT_EQ(Cli({"settings", "--out", "/dev/null"}).code, kExitOk);  // written in place
  EXPECT_TRUE(::stat("/dev/null", &st) == 0 && S_ISCHR(st.st_mode));
#endif
  EXPECT_EQ(d.dir.Listing(), "big.ini limit.ini new.ini out" +
                                 std::string(d.dir.Exists("pipe") ? " pipe" : "") + " second");
}

#ifdef _WIN32
TEST(FailingDisk, FilesHeldOpenWithoutSharing) {
  Disk d;
  for (const char* name : {"k.ini", "hklm.reg"}) {
    HANDLE lock = CreateFileW(Widen(JoinPath(d.out, name)).c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const CliRun r = Cli({"generate", "--settings", d.ini, "--out", d.out});
    CloseHandle(lock);
    EXPECT_EQ(r.code, kExitFailure);
    EXPECT_EQ(r.err,
              std::string(name) == "k.ini"
                  ? Message(kRead, d.ini, SystemMessage(ERROR_SHARING_VIOLATION))
                  : Message(kScript, JoinPath(d.out, name), SystemMessage(ERROR_ACCESS_DENIED)));
    EXPECT_EQ(d.dir.Read("out/hklm.reg"), "earlier hklm");
    EXPECT_EQ(d.dir.Listing("out"), "hkcu.reg hklm.reg k.ini");
  }
}
#else
TEST(FailingDisk, UnreadableSettingsFileAndReadOnlyFolder) {
  Disk d;
  using std::filesystem::perms;
  std::filesystem::permissions(d.dir.Path(), perms::all);
  std::filesystem::permissions(d.ini, perms::none);
  std::filesystem::permissions(d.out, static_cast<perms>(0555));
  const int result = AsNobody([&d] {
    const CliRun read = Cli({"generate", "--settings", d.ini, "--out", d.out});
    const CliRun write = Cli({"generate", "--out", d.out});
    const CliRun save = Cli({"settings", "--out", JoinPath(d.out, "new.ini")});
    const bool ok =
        read.err == Message(kRead, d.ini, std::strerror(EACCES)) &&
        write.err == Message(kScript, d.hkcu, std::strerror(EACCES)) &&
        save.err == Message(kSettings, JoinPath(d.out, "new.ini"), std::strerror(EACCES));
    if (!ok) std::fprintf(stderr, "%s%s%s", read.err.c_str(), write.err.c_str(), save.err.c_str());
    return ok;
  });
  if (result == 77) GTEST_SKIP() << "running as root and cannot drop to nobody";
  EXPECT_EQ(result, 0);
  std::filesystem::permissions(d.out, perms::all);
  std::filesystem::permissions(d.ini, perms::all);
  EXPECT_TRUE(d.EarlierIntact());
}

TEST(FailingDisk, FullFolder) {
  Disk d;
  if (::mount("tmpfs", d.out.c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "cannot mount (needs root)";
  struct Unmount {
    std::string dir;
    ~Unmount() { ::umount2(dir.c_str(), MNT_DETACH); }
  } unmount{d.out};
  d.Fill();
  std::ofstream filler(JoinPath(d.out, "filler"), std::ios::binary);
  for (const std::string block(4096, 'f'); filler.write(block.data(), block.size());) {
  }
  filler.close();
  EXPECT_EQ(Cli({"generate", "--out", d.out}).err, Message(kScript, d.hkcu, std::strerror(ENOSPC)));
  EXPECT_EQ(Cli({"settings", "--out", d.ini}).err,
            Message(kSettings, d.ini, std::strerror(ENOSPC)));
  std::filesystem::remove(JoinPath(d.out, "filler"));
  EXPECT_TRUE(d.EarlierIntact());  // and the failed attempts take no space:
  EXPECT_EQ(Cli({"generate", "--out", d.out}).code, kExitOk);
}
#endif

}  // namespace
}  // namespace kwetro::testing
