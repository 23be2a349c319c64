// The Win32 implementation of the platform services, and the program's
// message loop (which needs the same pre-dispatch filter).
#pragma once

#include <windows.h>

#include <functional>

#include "app/platform.h"

namespace kwetro {

class Win32Platform : public Platform {
 public:
  std::string ExpandEnvironment(const std::string& text) override;
  std::uint32_t TickCount() override;
  void Beep(unsigned frequencyHz, unsigned durationMs) override;
  bool StartHiddenBatch(const std::string& directory, const std::string& fileName) override;
  bool WriteStartupCommands(const std::vector<StartupCommand>& commands) override;
  std::string MachineString(const std::string& key, const std::string& name) override;
  bool IsNtFamily() override;
  void TrimWorkingSet() override;
  std::string ModulePath() override;
  std::string CurrentDirectory() override;
  std::string ShortPath(const std::string& path) override;
  void ProcessMessages(unsigned maxWaitMs = 0) override;

  // Opens a folder in the shell's window; false when the shell refused.
  virtual bool OpenFolder(const std::string& folder, HWND owner);

  // Runs until WM_QUIT; returns its exit code.
  int RunMessageLoop();

  // Sees every message before it is dispatched, in the main loop and in
  // ProcessMessages alike; true when it handled the message itself.
  std::function<bool(MSG&)> preTranslate;

 private:
  void Dispatch(MSG& msg);
};

}  // namespace kwetro
