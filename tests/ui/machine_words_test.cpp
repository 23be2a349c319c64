// What the information line says of this computer, control by control, for
// the made-up machines of tests/machine/audit_cases.txt (their "words" part):
// the machine's state beside the selected one, what differs where no state
// holds, and the services preset.
#include "ui/machine_words.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/checks.h"
#include "support/files.h"
#include "undo/byte_source.h"
#include "undo/reg_files.h"

namespace kwetro {
namespace {

TEST(MachineWords, SayWhatThisComputerHoldsBesideTheSelection) {
  int checked = 0;
  for (const testing::TextCase& c : testing::ReadCases("tests/machine/audit_cases.txt")) {
    testing::TempDir dir;
    std::string exported, words;
    std::vector<std::string> set = {"set", "--out", dir.File("k.ini")};
    for (const auto& [part, text] : c.parts) {
      std::istringstream lines(text);
      if (part == "machine") exported = text;
      if (part == "words") words = text;
      for (std::string line; part == "set" && std::getline(lines, line);) set.push_back(line);
    }
    if (words.empty()) continue;
    ASSERT_EQ(testing::Cli(set).code, kExitOk) << c.name;
    const std::string file = testing::Utf16File(
        "Windows Registry Editor Version 5.00\n\n[HKEY_CLASSES_ROOT]\n\n"
        "[HKEY_CURRENT_USER]\n\n[HKEY_LOCAL_MACHINE]\n\n[HKEY_USERS]\n\n" +
        exported);
    undo::MemorySource source(file);
    machine::ExportRegistry registry("");
    machine::ExportProblem problem;
    undo::ReadWarnings warnings;
    ASSERT_TRUE(registry.Read(source, problem, warnings)) << c.name << ": " << problem.what;
    const auto states =
        machine::AuditMachine(machine::ReadMachine(registry), testing::Restored(dir.Read("k.ini")));
    std::istringstream wanted(words);
    for (std::string line; std::getline(wanted, line); ++checked) {
      const std::string name = line.substr(0, line.find('\t'));
      ControlRef control;
      ASSERT_TRUE(FindControl(name, control)) << name;
      const auto state = std::find_if(states.begin(), states.end(),
                                      [&control](const auto& s) { return s.control == control; });
      EXPECT_EQ(
          name + "\t" +
              MachineWords(states, static_cast<std::size_t>(state - states.begin()), "(не менять)"),
          line)
          << c.name;
    }
  }
  EXPECT_GE(checked, 10);
}

}  // namespace
}  // namespace kwetro
