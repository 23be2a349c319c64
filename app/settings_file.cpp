#include "app/settings_file.h"

#include <utility>

#include "app/file_io.h"

namespace kwetro {

const char kServicesSection[] = "Servise";

namespace {

const char kStartSection[] = "Start";

// "0", "1" and "2" name the three states; anything else names none.
bool ParseState(const std::string& text, TriState& state) {
  if (text.size() != 1 || text[0] < '0' || text[0] > '2') return false;
  state = static_cast<TriState>(text[0] - '0');
  return true;
}

std::string StateText(TriState state) { return std::string(1, static_cast<char>('0' + state)); }

int ReadInteger(const IniFile& ini, const std::string& section, const char* name, int fallback) {
  int value = fallback;
  const std::string* text = ini.Find(section, name);
  if (!text || !ParseIniInteger(*text, value)) return fallback;
  return value;
}

void RestoreControls(Form& form, const IniFile& ini) {
  for (const Component& c : form.components) {
    switch (c.kind) {
      case ControlKind::kOption: {
        // A changed state runs the click handler, and the handler runs once
        // more whatever was read. Every handler gives the same result when run
        // again at once (a caption, a countdown stop, a services preset that
        // reads this same file), so one run is done, after the state is set.
        TriState state;
        const std::string* stored = ini.Find(c.name, "Checked");
        if (stored && ParseState(*stored, state))
          form.options[static_cast<std::size_t>(c.index)].state = state;
        form.RunClickHandler(c.index);
        break;
      }
      case ControlKind::kCombo: {
        ComboControl& combo = form.combos[static_cast<std::size_t>(c.index)];
        const int index = ReadInteger(ini, c.name, "Index", 0);
        combo.itemIndex =
            index >= 0 && static_cast<std::size_t>(index) < combo.items.size() ? index : -1;
        break;
      }
      case ControlKind::kSpinner: {
        SpinnerControl& spinner = form.spinners[static_cast<std::size_t>(c.index)];
        int value = ReadInteger(ini, c.name, "Index", 0);
        if (spinner.min != spinner.max) {
          if (value < spinner.min) value = spinner.min;
          if (value > spinner.max) value = spinner.max;
        }
        spinner.value = value;
        break;
      }
      default:
        break;
    }
  }
}

}  // namespace

std::string SettingsFilePath(const std::string& programPath) {
  const std::size_t slash = programPath.find_last_of("\\/");
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = programPath.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return programPath + ".ini";
  return programPath.substr(0, dot) + ".ini";
}

void ApplyStoredServiceStates(const IniFile& ini, ServicesList& services) {
  const std::vector<const std::string*> stored = ini.FindEach(kServicesSection, services.items);
  for (std::size_t i = 0; i < services.items.size(); ++i) {
    TriState state;
    if (stored[i] && ParseState(*stored[i], state)) services.states[i] = state;
  }
}

LoadResult LoadSettings(Form& form, const std::string& path, int& countdown, std::string& error) {
  // Only a path with nothing at it counts as "no settings file"; a folder or an
  // unreadable file there is an error the user must see.
  if (!PathExists(path)) return LoadResult::kNoFile;
  std::string bytes, reason;
  if (!ReadWholeFile(path, bytes, reason)) {
    error = "cannot read settings file '" + path + "': " + reason;
    return LoadResult::kFailed;
  }
  const IniFile ini = IniFile::Adopt(std::move(bytes));
  RestoreControls(form, ini);
  ApplyStoredServiceStates(ini, form.services);
  countdown = ReadInteger(ini, kStartSection, "Timer", 0);
  return LoadResult::kLoaded;
}

void StoreSettings(const Form& form, IniFile& ini) {
  ini.Write(kStartSection, "Timer", "30");
  for (const Component& c : form.components) {
    switch (c.kind) {
      case ControlKind::kOption: {
        const OptionControl& o = form.Option(c.index);
        ini.Write(c.name, "Info", o.caption);
        ini.Write(c.name, "Name", c.name);
        ini.Write(c.name, "Checked", StateText(o.state));
        break;
      }
      case ControlKind::kCombo: {
        const ComboControl& combo = form.combos[static_cast<std::size_t>(c.index)];
        ini.Write(c.name, "Info", combo.hint);
        ini.Write(c.name, "Name", c.name);
        ini.Write(c.name, "Index", std::to_string(combo.itemIndex));
        break;
      }
      case ControlKind::kSpinner: {
        const SpinnerControl& spinner = form.spinners[static_cast<std::size_t>(c.index)];
        ini.Write(c.name, "Info", spinner.hint);
        ini.Write(c.name, "Name", c.name);
        ini.Write(c.name, "Index", std::to_string(spinner.value));
        break;
      }
      default:
        break;
    }
  }
  ini.EraseSection(kServicesSection);
  for (std::size_t i = 0; i < form.services.items.size(); ++i)
    ini.Write(kServicesSection, form.services.items[i], StateText(form.services.states[i]));
}

bool SaveSettings(const Form& form, const std::string& path, std::string& error) {
  std::string bytes, reason;
  if (FileExists(path) && !ReadWholeFile(path, bytes, reason)) {
    error = "cannot read settings file '" + path + "': " + reason;
    return false;
  }
  IniFile ini = IniFile::Adopt(std::move(bytes));
  StoreSettings(form, ini);
  if (!WriteFileAtomically(path, ini.Serialize(), reason)) {
    error = "cannot write settings file '" + path + "': " + reason;
    return false;
  }
  return true;
}

}  // namespace kwetro
