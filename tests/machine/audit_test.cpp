// kwetro-cli audit and capture against exports of made-up machines, and the
// window's words for them: one case per way a machine can hold a control
// (tests/machine/audit_cases.txt), when a later line writes again what an
// earlier one did, and the command's refusals.
// A machine holding whole selections, and their capture: tests/wine/
// machine_audit.sh and window_machine.sh, and offline/apply_test.cpp on hives.
#include "machine/audit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "app/cli.h"
#include "support/checks.h"
#include "support/files.h"
#include "ui/machine_words.h"
#include "undo/reg_files.h"

namespace kwetro::machine {
namespace {

// The fields of each row of audit's TSV, by name, with TSV's escapes resolved.
std::map<std::string, std::vector<std::string>> Rows(const std::string& tsv) {
  std::map<std::string, std::vector<std::string>> rows;
  std::istringstream in(tsv);
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '\t') {
        fields.emplace_back();
      } else if (line[i] == '\\' && i + 1 < line.size()) {
        const char c = line[++i];
        fields.back() += c == 't' ? '\t' : c == 'n' ? '\n' : c;
      } else {
        fields.back() += line[i];
      }
    }
    rows[fields[0]] = fields;
  }
  return rows;
}

// Also what the window's information line says of them (the "words" part).
TEST(Audit, WhatEachMachineHoldsOfEachControlAndHowTheWindowSaysIt) {
  const auto cases = testing::ReadCases("tests/machine/audit_cases.txt");
  EXPECT_GE(cases.size(), 7u);
  int said = 0;
  for (const testing::TextCase& c : cases) {
    testing::TempDir dir;
    std::string machine, expected, exit = "", words;
    std::vector<std::string> set = {"set", "--out", dir.File("k.ini"), "RzCheckBox1=no"};
    for (const auto& [part, text] : c.parts) {
      std::istringstream lines(text);
      if (part == "machine") machine = text;
      if (part == "rows") expected = text;
      if (part == "exit") exit = text.substr(0, text.find('\n'));
      if (part == "words") words = text;
      for (std::string line; part == "set" && std::getline(lines, line);) set.push_back(line);
    }
    dir.Write("machine.reg", testing::Utf16File("Windows Registry Editor Version 5.00\n\n"
                                                "[HKEY_CLASSES_ROOT]\n\n[HKEY_CURRENT_USER]\n\n"
                                                "[HKEY_LOCAL_MACHINE]\n\n[HKEY_USERS]\n\n" +
                                                machine));
    ASSERT_EQ(testing::Cli(set).code, kExitOk) << c.name;
    const testing::CliRun r = testing::Cli(
        {"audit", "--backup", dir.File("machine.reg"), "--settings", dir.File("k.ini")});
    EXPECT_EQ(r.err, "") << c.name;
    if (!exit.empty()) {
      EXPECT_EQ(std::to_string(r.code), exit) << c.name;
    }
    const auto rows = Rows(r.out);
    std::string got;
    std::istringstream wanted(expected);
    for (std::string line; std::getline(wanted, line);) {
      const auto row = rows.find(line.substr(0, line.find('\t')));
      ASSERT_NE(row, rows.end()) << c.name << ": no row for " << line;
      const auto& f = row->second;
      got += f[0] + "\t" + f[3] + "\t" + f[4] + "\t" + f[5] + "\t" + f[6] + "\n";
    }
    EXPECT_EQ(got, expected) << c.name;

    const std::string exported = dir.Read("machine.reg");
    undo::MemorySource source(exported);
    ExportRegistry registry("");
    ExportProblem problem;
    undo::ReadWarnings warnings;
    ASSERT_TRUE(registry.Read(source, problem, warnings)) << c.name << ": " << problem.what;
    const auto states = AuditMachine(ReadMachine(registry), testing::Restored(dir.Read("k.ini")));
    std::istringstream sentences(words);
    for (std::string line; std::getline(sentences, line); ++said) {
      const std::string name = line.substr(0, line.find('\t'));
      ControlRef control;
      ASSERT_TRUE(FindControl(name, control)) << name;
      const auto state = std::find_if(states.begin(), states.end(),
                                      [&control](const auto& s) { return s.control == control; });
      const auto at = static_cast<std::size_t>(state - states.begin());
      EXPECT_EQ(name + "\t" + MachineWords(states, at, "(не менять)"), line) << c.name;
    }
  }
  EXPECT_GE(said, 10);
}

// Lines of the catalogue, the later one first: whether it writes again what
// the earlier one did (tests/machine/writes_again.txt).
TEST(Audit, ALaterLineWritesAgainWhatItDeletesChangesOrMakesAnew) {
  const auto lines = [](const std::string& text) {
    std::vector<std::string> list;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) list.push_back(line);
    return list;
  };
  const auto rows = testing::ReadTable("tests/machine/writes_again.txt");
  EXPECT_EQ(rows.size(), 8u);
  for (const auto& row : rows) {
    const Effect later = TheModel().EffectsOf(lines(row.at(1))).back();
    const Effect earlier = TheModel().EffectsOf(lines(row.at(2))).back();
    ASSERT_GE(later.probe, 0) << row[1];
    ASSERT_GE(earlier.probe, 0) << row[2];
    EXPECT_EQ(WritesAgain(later, earlier), row[0] == "yes") << row[1] << " after " << row[2];
  }
}

TEST(Audit, RefusalsSayWhyAndCaptureWritesNothing) {
  testing::TempDir dir;
  for (const testing::TextCase& c : testing::ReadCases("tests/machine/audit_exports.txt"))
    dir.Write(c.name,
              testing::Utf16File("Windows Registry Editor Version 5.00\n" + c.parts.at(0).second));
  auto cases = testing::ReadCommandCases("tests/machine/audit_refusals.txt", dir.Path());
  EXPECT_EQ(cases.size(), 7u);
#ifndef _WIN32
  cases.push_back({{"audit", "--live"},
                   kExitUsage,
                   "kwetro-cli: --live reads the registry of the Windows it runs on"});
#endif
  for (const auto& c : cases) {
    const testing::CliRun r = testing::Cli(c.args);
    EXPECT_EQ(r.code, c.code) << r.err;
    EXPECT_EQ(r.err.substr(0, c.message.size()), c.message);
    EXPECT_EQ(r.out, "");
  }
  EXPECT_FALSE(dir.Exists("k.ini"));

  // A machine that holds none of the keys: the lines every selection writes
  // are named.
  ASSERT_TRUE(dir.Exists("bare.reg"));
  const testing::CliRun bare =
      testing::Cli({"capture", "--backup", dir.File("bare.reg"), "--out", dir.File("k.ini")});
  EXPECT_EQ(bare.code, kExitOk);
  EXPECT_NE(bare.err.find("kwetro-cli: warning: sCheckBox_6_6: every state writes lines this "
                          "machine does not hold; importing the scripts still changes them"),
            std::string::npos)
      << bare.err;
  EXPECT_TRUE(dir.Exists("k.ini"));
}

}  // namespace
}  // namespace kwetro::machine
