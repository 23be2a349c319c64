#include "app/script_files.h"

#include "catalogue/generators.h"

namespace kwetro {

std::vector<ScriptFile> ScriptFiles(const Selection& selection, const SetupVersion& version) {
  std::vector<ScriptFile> files;
  for (const auto& [name, script] : {std::pair{"hkcu.reg", BuildHkcuScript(selection)},
                                     {"hklm.reg", BuildHklmScript(selection)}})
    files.push_back({name, script.Bytes(), script.Marks()});
  if (ForEveryUser(selection))
    for (const EveryUserScript& file : EveryUserScripts(selection, version))
      files.push_back({file.name, file.bytes, {}});
  return files;
}

std::vector<std::string> ScriptFileNames() {
  Selection everyUser;
  everyUser.options[static_cast<std::size_t>(OptionIndex("dCheckBox_1_1"))] = cbChecked;
  std::vector<std::string> names;
  for (const ScriptFile& file : ScriptFiles(everyUser, SetupVersion())) names.push_back(file.name);
  return names;
}

}  // namespace kwetro
