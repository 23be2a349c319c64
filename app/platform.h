// The operating-system services the run control calls: environment, clock,
// tones, processes, the one-time start-up commands, memory and messages.
// The Win32 implementation is the real one; tests substitute their own.
// Texts are UTF-8; files go through app/file_io.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kwetro {

// One string value (REG_SZ) under the RunOnce key.
struct StartupCommand {
  std::string name;
  std::string data;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // The text with every %NAME% that the environment defines replaced by its
  // value; names it does not define stay as written.
  virtual std::string ExpandEnvironment(const std::string& text) = 0;

  // Milliseconds since some start; wraps around, so only differences count.
  virtual std::uint32_t TickCount() = 0;

  virtual void Beep(unsigned frequencyHz, unsigned durationMs) = 0;

  // Starts the batch file of that name in that folder through the command
  // interpreter, without a window, with the folder as its current directory.
  // Not waited for.
  virtual bool StartHiddenBatch(const std::string& directory, const std::string& fileName) = 0;

  // Writes the values into HKEY_LOCAL_MACHINE\...\RunOnce, which is opened
  // (never created) for writing and flushed when closed. False when the key
  // could not be opened; then nothing is written.
  virtual bool WriteStartupCommands(const std::vector<StartupCommand>& commands) = 0;

  // A string value under HKEY_LOCAL_MACHINE, or "" when there is none.
  virtual std::string MachineString(const std::string& key, const std::string& name) = 0;

  // True on the NT family of Windows, the only one whose working set can be
  // trimmed on request.
  virtual bool IsNtFamily() = 0;
  virtual void TrimWorkingSet() = 0;

  // Full path of the program's own file.
  virtual std::string ModulePath() = 0;
  // The process's current directory.
  virtual std::string CurrentDirectory() = 0;
  // The short (8.3) form of an existing path; the path itself when it has none.
  virtual std::string ShortPath(const std::string& path) = 0;

  // Handles the window messages that are waiting, after waiting up to
  // maxWaitMs for one to arrive.
  virtual void ProcessMessages(unsigned maxWaitMs = 0) = 0;
};

}  // namespace kwetro
