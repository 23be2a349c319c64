// The settings file: every choice of the window, kept between runs and carried
// with the program into a deployment.
#pragma once

#include <string>

#include "app/ini_file.h"
#include "options/form.h"

namespace kwetro {

// The program's own path with its extension replaced by ".ini" (appended when
// the file name has none).
std::string SettingsFilePath(const std::string& programPath);

enum class LoadResult { kNoFile, kLoaded, kFailed };

// Restores the stored states into the form, in component order, running each
// option's click handler. When the file exists, countdown receives its
// "Timer" (0 when missing or not a number). kFailed: the file exists but could
// not be read; error names the file and the reason, and nothing is changed.
LoadResult LoadSettings(Form& form, const std::string& path, int& countdown, std::string& error);

// Merges the form's state into the settings text: foreign sections and
// entries stay, "Servise" is rebuilt at the end.
void StoreSettings(const Form& form, IniFile& ini);

// Reads the existing file (if any), merges, and writes it back atomically.
bool SaveSettings(const Form& form, const std::string& path, std::string& error);

// The services preset "from the settings file": item states from "Servise".
// Items without a recognised value keep their state.
void ApplyStoredServiceStates(const IniFile& ini, ServicesList& services);

// The section that holds the service item states.
extern const char kServicesSection[];

}  // namespace kwetro
