#include "app/settings_file.h"

#include <algorithm>
#include <optional>

#include "app/file_io.h"
#include "app/ini_file.h"
#include "options/text_encoding.h"

namespace kwetro {
namespace {

const char kStartSection[] = "Start";
const char kServicesSection[] = "Servise";

// "0", "1" and "2" name the three states; anything else names none.
int ParseState(std::string_view text) {
  return text.size() == 1 && text[0] >= '0' && text[0] <= '2' ? text[0] - '0' : kNotStored;
}

std::string StateText(TriState state) { return std::string(1, static_cast<char>('0' + state)); }

// The control a section of the file names, without regard to letter case:
// looked up as written first, as the program writes it.
bool SectionControl(std::string_view name, ControlRef& control) {
  if (FindControl(name, control)) return control.kind != ControlKind::kService;
  for (const ControlRef& candidate : Controls().order)
    if (SameName(name, ControlName(candidate))) {
      control = candidate;
      return true;
    }
  return false;
}

// The services item an entry of "Servise" names: the item's whole text, the
// key name after the last "*" found first. text is room for the item's text.
int ServiceItem(std::string_view entry, std::string& text) {
  const std::size_t star = entry.rfind('*');
  if (star == std::string_view::npos) return -1;
  const std::string_view key = entry.substr(star + 1);
  ControlRef control;
  int item =
      FindControl(key, control) && control.kind == ControlKind::kService ? control.index : -1;
  const auto& services = Controls().services;
  for (std::size_t i = 0; item < 0 && i < services.size(); ++i)
    if (SameName(key, services[i].key)) item = static_cast<int>(i);
  if (item < 0) return -1;
  const ServiceDecl& service = services[static_cast<std::size_t>(item)];
  text.clear();
  AppendCp1251(text, service.display);
  text.append(kServiceItemSeparator).append(service.key);
  return SameName(entry, text) ? item : -1;
}

// The first value the text holds for each name the program reads: a name's
// first entry in file order, sections of one name taken together.
struct FileValues {
  std::vector<std::optional<std::string_view>> options, combos, spinners, services;
  std::optional<std::string_view> timer;
};

FileValues Collect(std::string_view bytes) {
  const ControlTable& t = Controls();
  FileValues found;
  found.options.resize(t.options.size());
  found.combos.resize(t.combos.size());
  found.spinners.resize(t.spinners.size());
  found.services.resize(t.services.size());
  std::optional<std::string_view>* checked = nullptr;  // of the section being read
  std::optional<std::string_view>* index = nullptr;
  bool inStart = false, inServices = false;
  std::string itemText;
  ForEachLine(bytes, [&](std::string_view raw) {
    const IniLine line = ReadIniLine(raw);
    if (line.kind == IniLine::kSection) {
      ControlRef control;
      checked = index = nullptr;
      if (SectionControl(line.name, control)) {
        const auto i = static_cast<std::size_t>(control.index);
        switch (control.kind) {
          case ControlKind::kOption:
            checked = &found.options[i];
            break;
          case ControlKind::kCombo:
            index = &found.combos[i];
            break;
          case ControlKind::kSpinner:
            index = &found.spinners[i];
            break;
          case ControlKind::kService:  // services have a section of their own
            break;
        }
      }
      inStart = SameName(line.name, kStartSection);
      inServices = SameName(line.name, kServicesSection);
      return;
    }
    if (line.kind != IniLine::kEntry) return;
    auto keepFirst = [&line](std::optional<std::string_view>* value) {
      if (value && !*value) *value = line.value;
    };
    if (checked && SameName(line.name, "Checked")) keepFirst(checked);
    if (index && SameName(line.name, "Index")) keepFirst(index);
    if (inStart && SameName(line.name, "Timer")) keepFirst(&found.timer);
    if (inServices) {
      const int item = ServiceItem(line.name, itemText);
      if (item >= 0) keepFirst(&found.services[static_cast<std::size_t>(item)]);
    }
  });
  return found;
}

std::vector<int> ServiceStates(const FileValues& found) {
  std::vector<int> states;
  for (const auto& value : found.services)
    states.push_back(value ? ParseState(*value) : kNotStored);
  return states;
}

int IntegerOr(const std::optional<std::string_view>& text, int fallback) {
  int value = fallback;
  return text && ParseIniInteger(*text, value) ? value : fallback;
}

}  // namespace

std::string SettingsFilePath(const std::string& programPath) {
  const std::size_t slash = programPath.find_last_of("\\/");
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = programPath.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return programPath + ".ini";
  return programPath.substr(0, dot) + ".ini";
}

StoredSettings RestoreSettings(std::string_view bytes, Selection& selection) {
  const ControlTable& t = Controls();
  const FileValues found = Collect(bytes);
  StoredSettings stored;
  stored.services = ServiceStates(found);
  const StoredServicesRead read(stored.services);
  for (const ControlRef& ref : t.order) {
    const auto i = static_cast<std::size_t>(ref.index);
    switch (ref.kind) {
      case ControlKind::kOption: {
        // The handler runs whatever was read, so the preset applies itself.
        const int state = found.options[i] ? ParseState(*found.options[i]) : kNotStored;
        if (state != kNotStored) selection.options[i] = static_cast<TriState>(state);
        selection.RunHandler(ref.index, read);
        break;
      }
      case ControlKind::kCombo: {
        const int index = IntegerOr(found.combos[i], 0);
        selection.combos[i] =
            index >= 0 && static_cast<std::size_t>(index) < t.combos[i].items.size() ? index : -1;
        break;
      }
      case ControlKind::kSpinner: {
        const SpinnerDecl& spinner = t.spinners[i];
        int value = IntegerOr(found.spinners[i], 0);
        if (spinner.min != spinner.max) value = std::clamp(value, spinner.min, spinner.max);
        selection.spinners[i] = value;
        break;
      }
      case ControlKind::kService:
        break;
    }
  }
  selection.ApplyStoredServices(stored.services);
  stored.countdown = IntegerOr(found.timer, 0);
  return stored;
}

std::string StoreSettings(const Selection& selection, std::string_view existing) {
  const ControlTable& t = Controls();
  IniFile ini = IniFile::Parse(existing);
  ini.Write(kStartSection, "Timer", "30");
  // A control's section: what it is in words, its name, and its value.
  const auto section = [&ini](std::string_view name, std::string_view infoUtf8,
                              std::string_view entry, const std::string& value) {
    ini.Write(name, "Info", Utf8ToCp1251(infoUtf8));
    ini.Write(name, "Name", name);
    ini.Write(name, entry, value);
  };
  for (const ControlRef& ref : t.order) {
    const auto i = static_cast<std::size_t>(ref.index);
    switch (ref.kind) {
      case ControlKind::kOption:
        if (t.options[i].sectionWhenUsed && selection.options[i] == t.options[i].builtIn &&
            !ini.HasSection(t.options[i].name))
          break;
        section(t.options[i].name, selection.Caption(ref.index), "Checked",
                StateText(selection.options[i]));
        break;
      case ControlKind::kCombo:
        section(t.combos[i].name, t.combos[i].hint, "Index", std::to_string(selection.combos[i]));
        break;
      case ControlKind::kSpinner:
        section(t.spinners[i].name, t.spinners[i].hint, "Index",
                std::to_string(selection.spinners[i]));
        break;
      case ControlKind::kService:
        break;
    }
  }
  ini.EraseSection(kServicesSection);
  for (std::size_t i = 0; i < t.services.size(); ++i)
    ini.Write(kServicesSection, Utf8ToCp1251(t.services[i].ItemText()),
              StateText(selection.services[i]));
  return ini.Serialize();
}

LoadResult LoadSettings(const std::string& path, Selection& selection, StoredSettings& stored,
                        std::string& reason) {
  // Only a path with nothing at it counts as "no settings file"; a folder or an
  // unreadable file there is an error the user must see.
  if (!PathExists(path)) return LoadResult::kNoFile;
  std::string bytes;
  if (!ReadWholeFile(path, bytes, reason)) return LoadResult::kFailed;
  stored = RestoreSettings(bytes, selection);
  return LoadResult::kLoaded;
}

SaveResult SaveSettings(const std::string& path, const Selection& selection, std::string& reason,
                        std::size_t* size) {
  std::string bytes;
  if (FileExists(path) && !ReadWholeFile(path, bytes, reason)) return SaveResult::kReadFailed;
  const std::string stored = StoreSettings(selection, bytes);
  if (!WriteFileAtomically(path, stored, reason)) return SaveResult::kWriteFailed;
  if (size) *size = stored.size();
  return SaveResult::kSaved;
}

bool SettingsFileServices::Read(std::vector<int>& states) const {
  if (!FileExists(path_)) return false;
  std::string bytes, reason;
  // An unreadable file counts as one that holds nothing: the preset is shown
  // as chosen and every item keeps its state.
  if (!ReadWholeFile(path_, bytes, reason)) bytes.clear();
  states = ServiceStates(Collect(bytes));
  return true;
}

}  // namespace kwetro
