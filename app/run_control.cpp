#include "app/run_control.h"

#include <algorithm>
#include <climits>

#include "app/file_io.h"
#include "app/settings_file.h"
#include "catalogue/generators.h"
#include "options/text_encoding.h"

namespace kwetro {
namespace {

const char kDeploymentFolder[] = "%WINDIR%\\UPDKwetro\\";
// The settings file that marks a deployed copy for removal. A renamed
// program reads its own settings file, but only this one removes it.
const char kDeployedSettingsName[] = "Kwetro.ini";
const char kBatchName[] = "SelfDel.bat";

// How long the batch file keeps trying to delete the program file: the
// program is ending while the batch file starts, so the file is normally
// free within a second or two; a file that stays locked is left alone.
constexpr int kSelfDeleteAttempts = 30;

bool IsRussianLetter(unsigned char b) { return b >= 0xC0 || b == 0xA8 || b == 0xB8; }

// A batch file reads "%" as the start of a variable; "%%" is a plain one.
std::string EscapePercent(const std::string& text) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '%') out += '%';
  }
  return out;
}

// What failed, the file, and the system's reason, each on a line of its own.
std::string Failure(const char* what, const std::string& path, const std::string& reason) {
  return std::string(what) + "\n" + path + "\n\n" + reason;
}

}  // namespace

std::string OemBatchPath(const std::string& utf8Path) {
  if (!IsCp1251Representable(utf8Path)) return {};
  const std::string cp1251 = Utf8ToCp1251(utf8Path);
  for (char c : cp1251) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x80 && !IsRussianLetter(b)) return {};
  }
  return ToOemCyrillic(cp1251);
}

std::string SelfDeleteBatch(const std::string& oemProgramPath) {
  const std::string p = EscapePercent(oemProgramPath);
  const std::string lines[] = {
      "@echo off",
      "set /a attempts=0",
      ":try",
      "del \"" + p + "\" >nul 2>nul",
      "if not exist \"" + p + "\" goto done",
      "set /a attempts+=1",
      "if %attempts% geq " + std::to_string(kSelfDeleteAttempts) + " goto done",
      // ping waits about a second on every Windows since XP, which has no
      // "timeout" command.
      "ping -n 2 127.0.0.1 >nul",
      "goto try",
      ":done",
      "del \"" + ToOemCyrillic(kBatchName) + "\"",
  };
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string ApplyReport(const std::vector<WrittenFile>& files,
                        const std::vector<StartupCommand>* commands, bool commandsWritten) {
  // "5 байт", "2 байта", "1 байт", "12 байт", "22 байта".
  auto bytes = [](std::size_t n) {
    const bool few = n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 12 || n % 100 > 14);
    return std::to_string(n) + (few ? " байта" : " байт");
  };
  std::string text = "Записано", folder;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string in = FolderOf(files[i].path);
    text += i == 0 ? " в " + in + ": " : in != folder ? "; в " + in + ": " : ", ";
    folder = in;
    text += files[i].path.substr(in.size()) + " (" + bytes(files[i].bytes) + ")";
  }
  text += ".";
  if (!commands) return text;
  if (!commandsWritten) return text + " Команды запуска в RunOnce не записаны: раздел недоступен.";
  text += " Команды запуска при следующем входе в RunOnce:";
  for (std::size_t i = 0; i < commands->size(); ++i)
    text += (i == 0 ? " " : ", ") + (*commands)[i].name;
  return text + ".";
}

RunControl::RunControl(Selection& selection, Platform& platform, RunControlView& view,
                       std::string applyCaption)
    : selection_(selection),
      platform_(platform),
      view_(view),
      applyCaption_(std::move(applyCaption)),
      okCaption_(applyCaption_) {}

void RunControl::FormCreate() {
  countdown_ = kDefaultCountdown;
  programPath_ = platform_.ModulePath();
  programFolder_ = FolderOf(programPath_);
  settingsPath_ = SettingsFilePath(programPath_);
  StoredSettings stored;
  std::string reason;
  switch (LoadSettings(settingsPath_, selection_, stored, reason)) {
    case LoadResult::kLoaded:
      countdown_ = stored.countdown;
      break;
    case LoadResult::kFailed:
      // The prepared selection is unknown: a deployment must not go on to
      // apply the built-in one by itself.
      countdown_ = 0;
      view_.ShowError(Failure("Не удалось прочитать файл настроек", settingsPath_, reason));
      break;
    case LoadResult::kNoFile:
      break;
  }
  view_.SelectionChanged();
}

void RunControl::FormActivate() {
  platform_.Beep(50, 80);
  platform_.Beep(60, 80);
  platform_.Beep(50, 80);
  view_.ShowFirstPages();
  view_.FocusFirstOption();
  if (!IsDeploymentMode()) return;
  view_.DisableFolderLink();
  countdownRunning_ = countdown_ != 0;
  view_.SelectionChanged();
}

void RunControl::CountdownTick() {
  // A tick that arrives while the last one pauses before applying, or after
  // the countdown was stopped, has nothing to do.
  if (inFinalPause_ || !countdownRunning_) return;
  if (countdown_ != INT_MIN) --countdown_;
  // While counting down, the caption and the ticks left.
  okCaption_ = applyCaption_ + " " + std::to_string(countdown_);
  view_.SelectionChanged();
  if (countdown_ != 0) return;

  inFinalPause_ = true;
  WaitWithMessages(kFinalPauseMs);
  inFinalPause_ = false;
  // The user interrupted the countdown, applied or cancelled during the pause.
  if (ending_ || !countdownRunning_) return;
  countdownRunning_ = false;
  view_.SelectionChanged();
  if (!Apply()) return;  // the error is shown; the deployed copy stays
  if (!RemoveDeployedCopy()) return;
  End();
}

void RunControl::HousekeepingTick() {
  if (platform_.IsNtFamily()) platform_.TrimWorkingSet();
}

void RunControl::StopCountdown() {
  countdownRunning_ = false;
  okCaption_ = applyCaption_;
}

bool RunControl::SaveAndWrite(std::vector<WrittenFile>& written) {
  std::string reason;
  std::size_t size = 0;
  switch (SaveSettings(settingsPath_, selection_, reason, &size)) {
    case SaveResult::kReadFailed:
      view_.ShowError(Failure("Не удалось прочитать файл настроек", settingsPath_, reason));
      return false;
    case SaveResult::kWriteFailed:
      view_.ShowError(Failure("Не удалось записать файл настроек", settingsPath_, reason));
      return false;
    case SaveResult::kSaved:
      break;
  }
  written.push_back({settingsPath_, size});
  const std::string folder = ScriptFolder();
  platform_.ProcessMessages();
  if (!WriteScript(folder, "hkcu.reg", false, written)) return false;
  platform_.ProcessMessages();
  // The files to do by hand what a deployment does for every user; the
  // registry is left alone.
  if (!WriteScript(folder, "hklm.reg", true, written) || !WriteEveryUserScripts(folder, written))
    return false;
  platform_.ProcessMessages();
  return true;
}

bool RunControl::Apply() {
  if (applying_) return false;  // OK pressed again while Apply handles messages
  applying_ = true;
  StopCountdown();
  view_.SelectionChanged();
  bool done = false;
  std::vector<WrittenFile> written;
  std::vector<StartupCommand> commands;
  bool commandsWritten = false;
  const bool deployed = IsDeploymentMode();
  if (!deployed) {
    done = SaveAndWrite(written);
  } else if (WriteScript(programFolder_, "hkcu.reg", false, written) &&
             WriteScript(programFolder_, "hklm.reg", true, written) &&
             WriteEveryUserScripts(ExpandEnv(kEveryUserFolder), written)) {
    // A missing or read-only key means no start-up commands, and no message
    // box: the scripts are written and can still be imported by hand.
    commands = StartupCommands();
    commandsWritten = platform_.WriteStartupCommands(commands);
    done = true;
  }
  applying_ = false;
  if (!done) return false;
  view_.FocusCancel();
  view_.ShowApplied(ApplyReport(written, deployed ? &commands : nullptr, commandsWritten));
  return true;
}

void RunControl::Cancel() {
  StopCountdown();
  view_.SelectionChanged();
  if (IsDeploymentMode() && !RemoveDeployedCopy()) return;
  End();
}

void RunControl::OptionClicked(int option) {
  if (Controls().options[static_cast<std::size_t>(option)].stopsCountdown) StopCountdown();
  selection_.Click(option, SettingsFileServices(settingsPath_));
  if (option == OptionIndex("sCheckBox_1_9"))
    restoreSwitchedOff_ = selection_.State(option) == cbChecked;
  view_.SelectionChanged();
}

void RunControl::MainPageChanged(int page) {
  StopCountdown();
  // Entering the services page after the user switched system restore off
  // switches off the system restore service too, once: a selection loaded or
  // taken from a computer keeps the service as it holds it, so that its
  // scripts change nothing there that it did not choose.
  if (page == ServicesPage() && restoreSwitchedOff_) {
    selection_.services[static_cast<std::size_t>(ServiceIndex("srservice"))] = cbUnchecked;
    restoreSwitchedOff_ = false;
  }
  view_.SelectionChanged();
}

void RunControl::SelectionReplaced() { restoreSwitchedOff_ = false; }

void RunControl::SystemSubPageChanged() {
  StopCountdown();
  view_.SelectionChanged();
}

void RunControl::ServiceItemClicked(int item) {
  if (!selection_.ServicesEnabled() || item < 0 ||
      static_cast<std::size_t>(item) >= selection_.services.size())
    return;
  TriState& state = selection_.services[static_cast<std::size_t>(item)];
  state = NextOnClick(state);
  view_.SelectionChanged();
}

bool RunControl::IsDeploymentMode() {
  return !programFolder_.empty() && programFolder_ == ExpandEnv(kDeploymentFolder);
}

std::string RunControl::ExpandEnv(const std::string& text) {
  return platform_.ExpandEnvironment(text);
}

std::vector<StartupCommand> RunControl::StartupCommands() {
  std::vector<StartupCommand> commands;
  auto quoted = [this](const char* path) { return "\"" + ExpandEnv(path) + "\""; };
  commands.push_back({"Reg_0", "REGEDIT /E " + quoted("%ALLUSERSPROFILE%\\RegAfter.reg")});
  commands.push_back({"Reg_1", "REGEDIT /S " + quoted("%WINDIR%\\UPDKwetro\\hkcu.reg")});
  commands.push_back({"Reg_2", "REGEDIT /S " + quoted("%WINDIR%\\UPDKwetro\\hklm.reg")});
  if (FileExists(ExpandEnv("%WINDIR%\\UPDKwetro\\Custom.reg")))
    commands.push_back({"Reg_3", "REGEDIT /S " + quoted("%WINDIR%\\UPDKwetro\\Custom.reg")});
  if (FileExists(ExpandEnv("%WINDIR%\\UPDKwetro\\Cleanup.cmd")))
    commands.push_back({"Reg_4", quoted("%WINDIR%\\UPDKwetro\\Cleanup.cmd")});
  // Left unexpanded: the command interpreter expands it when it runs.
  commands.push_back({"Reg-Del", "CMD /C RD /S /Q %WINDIR%\\UPDKwetro"});
  // Last, after the backup: the registration must not reach RegAfter.reg, and
  // it needs nothing of the deployment folder.
  if (ForEveryUser(selection_)) {
    const std::string kept = ExpandEnv(kEveryUserFolder);
    commands.push_back(RegistrationCommand(JoinPath(kept, kRegistrationName)));
    commands.push_back(ProfilesCommand(JoinPath(kept, kStepProgramName)));
  }
  return commands;
}

void RunControl::WaitWithMessages(unsigned ms) {
  const std::uint32_t start = platform_.TickCount();
  for (;;) {
    // Unsigned difference: correct across the wrap of the tick count.
    const std::uint32_t elapsed = platform_.TickCount() - start;
    if (elapsed >= ms) break;
    platform_.ProcessMessages(std::min<unsigned>(ms - elapsed, 50));
  }
}

std::string RunControl::ScriptFolder() {
  // A deployed copy writes where its start-up commands will look, whatever
  // folder it was started from.
  return IsDeploymentMode() ? programFolder_ : platform_.CurrentDirectory();
}

bool RunControl::WriteScript(const std::string& folder, const char* name, bool machineWide,
                             std::vector<WrittenFile>& written) {
  const std::string path = JoinPath(folder, name);
  const RegScript script = machineWide ? BuildHklmScript(selection_) : BuildHkcuScript(selection_);
  const std::string& bytes = script.Bytes();
  std::string reason;
  if (WriteFileAtomically(path, bytes, reason)) {
    written.push_back({path, bytes.size()});
    return true;
  }
  view_.ShowError(Failure("Не удалось записать файл реестра", path, reason));
  return false;
}

bool RunControl::WriteEveryUserScripts(const std::string& folder,
                                       std::vector<WrittenFile>& written) {
  if (!ForEveryUser(selection_)) return true;
  // A deployment goes above the version registered on this machine; the files
  // for doing it by hand belong to no machine.
  const SetupVersion version = NewSetupVersion(
      LocalNow(), IsDeploymentMode() ? platform_.MachineString(kActiveSetupKey, "Version") : "");
  std::string reason;
  if (!MakeFolder(folder, reason)) {
    view_.ShowError(Failure("Не удалось создать папку", folder, reason));
    return false;
  }
  for (const EveryUserScript& file : EveryUserScripts(selection_, version)) {
    const std::string path = JoinPath(folder, file.name);
    if (!WriteFileAtomically(path, file.bytes, reason)) {
      view_.ShowError(Failure("Не удалось записать файл реестра", path, reason));
      return false;
    }
    written.push_back({path, file.bytes.size()});
  }
  if (!IsDeploymentMode()) return true;
  // The administrator step at the next logon is this program run again: the
  // deployed copy removes itself, so it runs from a copy kept here.
  std::string program;
  const std::string copy = JoinPath(folder, kStepProgramName);
  if (!ReadWholeFile(programPath_, program, reason)) {
    view_.ShowError(Failure("Не удалось прочитать файл программы", programPath_, reason));
    return false;
  }
  if (!WriteFileAtomically(copy, program, reason)) {
    view_.ShowError(Failure("Не удалось записать файл программы", copy, reason));
    return false;
  }
  written.push_back({copy, program.size()});
  return true;
}

bool RunControl::RemoveDeployedCopy() {
  const std::string settings = programFolder_ + kDeployedSettingsName;
  if (!FileExists(settings)) return true;
  DeleteFileAt(settings);  // a failure here still removes the program
  return SelfDelete();
}

bool RunControl::SelfDelete() {
  std::string oemPath = OemBatchPath(programPath_);
  if (oemPath.empty()) oemPath = OemBatchPath(platform_.ShortPath(programPath_));
  if (oemPath.empty()) oemPath = ToOemCyrillic(Utf8ToCp1251(programPath_));
  const std::string batch = JoinPath(programFolder_, kBatchName);
  std::string reason;
  if (!WriteFileAtomically(batch, SelfDeleteBatch(oemPath), reason)) {
    view_.ShowError(Failure("Не удалось записать файл самоудаления", batch, reason));
    return false;
  }
  platform_.StartHiddenBatch(programFolder_, kBatchName);
  return true;
}

void RunControl::End() {
  ending_ = true;
  view_.EndApplication();
}

}  // namespace kwetro
