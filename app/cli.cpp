#include "app/cli.h"

#include "app/file_io.h"
#include "app/settings_file.h"
#include "catalogue/generators.h"

namespace kwetro {
namespace {

const char kUsage[] =
    "usage: kwetro-cli generate [--settings FILE] [--out DIR]\n"
    "       kwetro-cli settings [--settings FILE] --out FILE2\n"
    "       kwetro-cli --help\n";

const char kHelp[] =
    "kwetro-cli writes the registry scripts of a Kwetro selection without a window.\n"
    "\n"
    "  generate   start from the built-in selection, restore FILE as the program\n"
    "             does at start, and write hkcu.reg and then hklm.reg into DIR\n"
    "             (default: the current folder)\n"
    "  settings   write the settings file of that selection to FILE2, as Apply\n"
    "             in the window does; an existing FILE2 is merged into\n"
    "\n"
    "Files are written in full under a temporary name and then renamed, so a\n"
    "failure never leaves a half-written file.\n"
    "Exit status: 0 done, 1 a file could not be read or written, 2 usage error.\n";

struct Options {
  std::string command;
  std::string settings;
  std::string out;
  bool haveSettings = false;
  bool haveOut = false;
};

bool ParseArgs(const std::vector<std::string>& args, Options& o, std::string& err) {
  if (args.empty()) {
    err = "kwetro-cli: no command given\n";
    return false;
  }
  o.command = args[0];
  if (o.command != "generate" && o.command != "settings") {
    err = "kwetro-cli: unknown command '" + o.command + "'\n";
    return false;
  }
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string* target = nullptr;
    bool* seen = nullptr;
    if (a == "--settings") {
      target = &o.settings;
      seen = &o.haveSettings;
    } else if (a == "--out") {
      target = &o.out;
      seen = &o.haveOut;
    } else {
      err = "kwetro-cli: unknown argument '" + a + "'\n";
      return false;
    }
    if (*seen) {
      err = "kwetro-cli: " + a + " given twice\n";
      return false;
    }
    if (i + 1 >= args.size() || args[i + 1].empty()) {
      err = "kwetro-cli: " + a + " needs a value\n";
      return false;
    }
    *target = args[++i];
    *seen = true;
  }
  if (o.command == "settings" && !o.haveOut) {
    err = "kwetro-cli: settings needs --out FILE2\n";
    return false;
  }
  return true;
}

// The selection as the program has it after start: the built-in one, then
// the settings file.
bool RestoreSelection(const Options& o, Selection& selection, std::string& err) {
  if (!o.haveSettings) return true;
  StoredSettings stored;
  std::string reason;
  switch (LoadSettings(o.settings, selection, stored, reason)) {
    case LoadResult::kLoaded:
      return true;
    case LoadResult::kNoFile:
      reason = "No such file or directory";
      break;
    case LoadResult::kFailed:
      break;
  }
  err = "kwetro-cli: cannot read settings file '" + o.settings + "': " + reason + "\n";
  return false;
}

int Generate(const Options& o, const Selection& selection, std::string& out, std::string& err) {
  const struct {
    const char* name;
    RegScript (*build)(const Selection&);
  } scripts[] = {{"hkcu.reg", &BuildHkcuScript}, {"hklm.reg", &BuildHklmScript}};
  for (const auto& s : scripts) {
    const std::string path = JoinPath(o.out, s.name);
    std::string reason;
    if (!WriteFileAtomically(path, s.build(selection).Bytes(), reason)) {
      err = "kwetro-cli: cannot write registry script '" + path + "': " + reason + "\n";
      return kExitFailure;
    }
    out += path + "\n";
  }
  return kExitOk;
}

int Settings(const Options& o, const Selection& selection, std::string& out, std::string& err) {
  std::string reason;
  switch (SaveSettings(o.out, selection, reason)) {
    case SaveResult::kSaved:
      out += o.out + "\n";
      return kExitOk;
    case SaveResult::kReadFailed:
      err = "kwetro-cli: cannot read settings file '" + o.out + "': " + reason + "\n";
      return kExitFailure;
    case SaveResult::kWriteFailed:
      break;
  }
  err = "kwetro-cli: cannot write settings file '" + o.out + "': " + reason + "\n";
  return kExitFailure;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::string& out, std::string& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    out = std::string(kUsage) + "\n" + kHelp;
    return kExitOk;
  }
  Options o;
  if (!ParseArgs(args, o, err)) {
    err += kUsage;
    return kExitUsage;
  }
  Selection selection;
  if (!RestoreSelection(o, selection, err)) return kExitFailure;
  if (o.command == "generate") return Generate(o, selection, out, err);
  return Settings(o, selection, out, err);
}

}  // namespace kwetro
