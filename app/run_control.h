// Runs the program from start to end: restores the stored selection, tells
// the interactive run from a deployment, counts down on the OK button,
// applies (settings file and both registry scripts, or in a deployment the
// scripts and the one-time start-up commands), cancels, and removes a
// deployed copy once its work is done.
//
// Portable: the operating system is reached through Platform, the window
// through RunControlView, so every rule here runs in native tests.
#pragma once

#include <string>
#include <vector>

#include "app/all_users.h"
#include "app/platform.h"
#include "options/selection.h"

namespace kwetro {

// What the run control asks of the window. Texts are UTF-8.
class RunControlView {
 public:
  virtual ~RunControlView() = default;
  // PageControl1 and PageControl2 show their first tab.
  virtual void ShowFirstPages() = 0;
  virtual void FocusFirstOption() = 0;
  // The link to the scripts' folder: a deployed copy writes no scripts there
  // for the user to open.
  virtual void DisableFolderLink() = 0;
  // The selection or the run control changed: captions, states, the OK
  // button's caption and whether the countdown timer runs.
  virtual void SelectionChanged() = 0;
  virtual void FocusCancel() = 0;
  // After a successful Apply: what it wrote, where, and how much.
  virtual void ShowApplied(const std::string& report) = 0;
  // Ends the message loop; the current handler still returns normally.
  virtual void EndApplication() = 0;
  virtual void ShowError(const std::string& message) = 0;
};

// The value of "Timer" when no settings file says otherwise.
constexpr int kDefaultCountdown = 30;
// Pause between the last tick and the automatic Apply, so that the user sees
// "0" and may still interrupt.
constexpr unsigned kFinalPauseMs = 500;

// A file Apply wrote.
struct WrittenFile {
  std::string path;
  std::size_t bytes = 0;
};
// What Apply tells the user: the files, by folder, with their sizes; in a
// deployment (commands given) also the start-up commands registered, or that
// the RunOnce key could not take them.
std::string ApplyReport(const std::vector<WrittenFile>& files,
                        const std::vector<StartupCommand>* commands, bool commandsWritten);

// The self-removal batch file (code page 866 bytes, CR LF): deletes the
// program file, retrying about once a second while the ending program still
// holds it, for a bounded time, then deletes itself. oemProgramPath is
// already in code page 866.
std::string SelfDeleteBatch(const std::string& oemProgramPath);

// The program path as the batch file must spell it: Windows-1251 turned into
// code page 866. Empty when the path holds characters that this conversion
// cannot carry (they are not Russian letters or ASCII).
std::string OemBatchPath(const std::string& utf8Path);

class RunControl {
 public:
  // applyCaption: the OK button's caption as the window's layout gives it,
  // without its underlined letter.
  RunControl(Selection& selection, Platform& platform, RunControlView& view,
             std::string applyCaption);

  // The window has been built from its description: restores the settings
  // file and records the program's folder.
  void FormCreate();
  // The window is shown: tones, first pages, focus, and in a deployment the
  // countdown.
  void FormActivate();
  // One tick of the countdown timer (Timer2).
  void CountdownTick();
  // One tick of the housekeeping timer (Timer1).
  void HousekeepingTick();
  // The OK button. False when a file could not be written (already shown).
  bool Apply();
  // The Cancel button.
  void Cancel();

  // A user's click on an option box: the option's handler, and for the
  // options that say so, the countdown stops.
  void OptionClicked(int option);

  // The model's part of a change of the main page (a page of the control
  // table): the countdown stops, and on the services page the service that
  // system restore needs is switched off once the user has switched system
  // restore off with a click (not for a selection loaded or taken with
  // system restore off: it stays as it came).
  void MainPageChanged(int page);
  // The selection was replaced as a whole (taken from this computer): a
  // click on system restore no longer waits for the services page.
  void SelectionReplaced();
  // A change of the system sub-pages (PageControl2) also stops the countdown.
  void SystemSubPageChanged();

  // A click on the state box of a services-list item; ignored while the
  // list is disabled.
  void ServiceItemClicked(int item);

  bool IsDeploymentMode();
  std::string ExpandEnv(const std::string& text);
  // The one-time start-up commands of a deployment, in writing order.
  std::vector<StartupCommand> StartupCommands();
  // Waits at least ms milliseconds, handling window messages meanwhile.
  void WaitWithMessages(unsigned ms);

  // The OK button's caption: applyCaption, and while counting down the ticks left.
  const std::string& OkCaption() const { return okCaption_; }
  bool CountdownRunning() const { return countdownRunning_; }
  // Stops the deployment countdown and clears the number from the OK button.
  void StopCountdown();

  int Countdown() const { return countdown_; }
  // Where Apply puts the registry scripts.
  std::string ScriptFolder();

 private:
  // Apply in an interactive run: the settings file, then both scripts and
  // the files for every user in the scripts' folder; false after an error
  // (shown).
  bool SaveAndWrite(std::vector<WrittenFile>& written);
  bool WriteScript(const std::string& folder, const char* name, bool machineWide,
                   std::vector<WrittenFile>& written);
  // The files for every user, when the selection is for every user; in a
  // deployment also the copy of the program that the administrator step runs.
  bool WriteEveryUserScripts(const std::string& folder, std::vector<WrittenFile>& written);
  // Deletes Kwetro.ini and starts the batch file when the settings file is
  // there; false when the batch file could not be written (already shown).
  bool RemoveDeployedCopy();
  bool SelfDelete();
  void End();

  Selection& selection_;
  Platform& platform_;
  RunControlView& view_;
  int countdown_ = kDefaultCountdown;
  bool countdownRunning_ = false;
  std::string applyCaption_;
  std::string okCaption_;
  std::string programPath_;
  std::string programFolder_;
  std::string settingsPath_;
  bool inFinalPause_ = false;
  bool applying_ = false;
  bool ending_ = false;
  // The user switched system restore off; its service follows on the
  // services page.
  bool restoreSwitchedOff_ = false;
};

}  // namespace kwetro
