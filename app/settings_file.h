// The settings file: every choice of a selection, kept between runs and
// carried with the program into a deployment. Windows-1251 INI text with
// section "Start", one section per control (named after it) and "Servise".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "options/selection.h"

namespace kwetro {

// The program's own path with its extension replaced by ".ini" (appended when
// the file name has none).
std::string SettingsFilePath(const std::string& programPath);

// What a settings file holds beyond the states it restores.
struct StoredSettings {
  int countdown = 0;  // "Timer" of "Start"; 0 when missing or not a number
  // The stored state of each services item, kNotStored where there is none:
  // what the preset "Из файла настроек" applies.
  std::vector<int> services;
};

// Restores the states the text holds into the selection, as the program does
// at start: each option's state (and its handler: the services preset applies
// its preset from this same text), each drop-down's index (0 when missing, no
// item when outside the list), each spinner's value (0 when missing, kept in
// its range), then the stored service states.
StoredSettings RestoreSettings(std::string_view bytes, Selection& selection);

// Merges the selection into the settings text: foreign sections and entries
// stay, "Servise" is rebuilt at the end.
std::string StoreSettings(const Selection& selection, std::string_view existing);

// The same with the file. LoadSettings: kNoFile when nothing is at the path;
// kFailed with the system's reason when it cannot be read, and then nothing is
// changed. SaveSettings merges into the file at the path (when there is one)
// and writes it back atomically, giving its size in bytes; on failure, the
// reason and which step failed.
enum class LoadResult { kNoFile, kLoaded, kFailed };
LoadResult LoadSettings(const std::string& path, Selection& selection, StoredSettings& stored,
                        std::string& reason);
enum class SaveResult { kSaved, kReadFailed, kWriteFailed };
SaveResult SaveSettings(const std::string& path, const Selection& selection, std::string& reason,
                        std::size_t* size = nullptr);

// The settings file as the preset "Из файла настроек" reads it when a user
// picks that preset: the file is read again at that moment.
class SettingsFileServices : public StoredServices {
 public:
  explicit SettingsFileServices(std::string path) : path_(std::move(path)) {}
  bool Read(std::vector<int>& states) const override;

 private:
  std::string path_;
};

}  // namespace kwetro
