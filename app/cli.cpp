#include "app/cli.h"

#include "app/file_io.h"
#include "app/settings_file.h"
#include "app/undo_command.h"
#include "catalogue/generators.h"
#include "ui/form_loader.h"

namespace kwetro {
namespace {

const char kUsage[] =
    "usage: kwetro-cli generate [--settings FILE] [--out DIR]\n"
    "       kwetro-cli settings [--settings FILE] --out FILE2\n"
    "       kwetro-cli undo --backup BACKUP.reg [--out DIR] [--user SID] SCRIPT.reg...\n"
    "       kwetro-cli --help\n";

const char kHelp[] =
    "kwetro-cli writes the registry scripts of a Kwetro selection without a window.\n"
    "\n"
    "  generate   start from the built-in selection, restore FILE as the program\n"
    "             does at start, and write hkcu.reg and then hklm.reg into DIR\n"
    "             (default: the current folder)\n"
    "  settings   write the settings file of that selection to FILE2, as Apply\n"
    "             in the window does; an existing FILE2 is merged into\n"
    "  undo       write DIR/undo.reg, which returns every key and value the\n"
    "             scripts touch to its state in BACKUP.reg, the export of the\n"
    "             whole registry taken before they were imported (REGEDIT /E,\n"
    "             RegAfter.reg of a deployment); import it with regedit /s.\n"
    "             HKEY_CURRENT_USER is the backup's user hive; --user SID\n"
    "             chooses one when the backup holds several users\n"
    "\n"
    "Files are written in full under a temporary name and then renamed, so a\n"
    "failure never leaves a half-written file.\n"
    "Exit status: 0 done, 1 a file could not be read or written, or is not a\n"
    "sound registry file, 2 usage error.\n";

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

// The selection as the program has it after start: the built-in description,
// then the settings file.
bool RestoreSelection(const Options& o, Form& form, std::string& err) {
  std::string error;
  if (!LoadFormResource(StoredFormDescription(), form, error, FormDetail::kEngine)) {
    err = "kwetro-cli: " + error + "\n";
    return false;
  }
  if (!o.haveSettings) return true;
  form.settingsPath = o.settings;
  if (!PathExists(o.settings)) {
    err = "kwetro-cli: cannot read settings file '" + o.settings + "': No such file or directory\n";
    return false;
  }
  int countdown = 0;
  if (LoadSettings(form, o.settings, countdown, error) == LoadResult::kFailed) {
    err = "kwetro-cli: " + error + "\n";
    return false;
  }
  return true;
}

int Generate(const Options& o, const Form& form, std::string& out, std::string& err) {
  const struct {
    const char* name;
    RegScript (*build)(const Form&);
  } scripts[] = {{"hkcu.reg", &BuildHkcuScript}, {"hklm.reg", &BuildHklmScript}};
  for (const auto& s : scripts) {
    const std::string path = JoinPath(o.out, s.name);
    std::string reason;
    if (!WriteFileAtomically(path, s.build(form).Bytes(), reason)) {
      err = "kwetro-cli: cannot write registry script '" + path + "': " + reason + "\n";
      return kExitFailure;
    }
    out += path + "\n";
  }
  return kExitOk;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::string& out, std::string& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    out = std::string(kUsage) + "\n" + kHelp;
    return kExitOk;
  }
  if (!args.empty() && args[0] == "undo") return RunUndoCommand(args, out, err);
  Options o;
  if (!ParseArgs(args, o, err)) {
    err += kUsage;
    return kExitUsage;
  }
  Form form;
  if (!RestoreSelection(o, form, err)) return kExitFailure;
  if (o.command == "generate") return Generate(o, form, out, err);
  std::string error;
  if (!SaveSettings(form, o.out, error)) {
    err = "kwetro-cli: " + error + "\n";
    return kExitFailure;
  }
  out += o.out + "\n";
  return kExitOk;
}

}  // namespace kwetro
