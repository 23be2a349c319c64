// The option model: captions and hints by state, the click cycle, the
// services preset; and the facts of the control table other code relies on.
#include <gtest/gtest.h>

#include <set>

#include "app/ini_file.h"
#include "options/selection.h"
#include "options/text_encoding.h"
#include "support/files.h"

namespace kwetro {
namespace {

TEST(Captions, EachRuleInEachStateAndTheHints) {
  const auto rows = testing::ReadTable("tests/options/captions.txt");
  EXPECT_GE(rows.size(), 16u);
  for (const auto& row : rows) {
    Selection s;
    s.options[OptionIndex(row[0])] = static_cast<TriState>(std::stoi(row.at(1)));
    EXPECT_EQ(s.Caption(OptionIndex(row[0])), row.at(2)) << row[0] << " " << row[1];
    const std::string_view hint = s.Hint(OptionIndex(row[0]));
    EXPECT_TRUE(row.size() < 4 || hint == row[3]) << row[0] << " " << row[1] << ": " << hint;
  }
}

TEST(Click, CyclesThroughGrayedOnlyWhereAllowed) {
  Selection s;
  const NoStoredServices none;
  for (const auto& [name, cycle] : {std::pair<const char*, std::vector<TriState>>{
                                        "sCheckBox_2_2", {cbGrayed, cbChecked, cbUnchecked}},
                                    {"RzCheckBox1", {cbChecked, cbUnchecked, cbChecked}}}) {
    const int option = OptionIndex(name);
    s.options[option] = cbUnchecked;
    for (TriState next : cycle) {
      s.Click(option, none);
      EXPECT_EQ(s.State(option), next) << name;
    }
  }
}

TEST(ServicesPreset, EachStateAndTheFileThatMayBeMissing) {
  const int preset = PresetOption();
  Selection s;
  EXPECT_EQ(s.Caption(preset), "Стандартная конфигурация");
  EXPECT_FALSE(s.ServicesEnabled());
  s.services[0] = cbGrayed;

  // "Оптимальная": every item (its scripts: tests/golden/optimal).
  s.SetState(preset, cbUnchecked, NoStoredServices());
  EXPECT_EQ(s.Caption(preset), "Оптимальная");
  EXPECT_TRUE(s.ServicesEnabled());

  // "Из файла настроек" without a file: nothing changes, not even the caption.
  const std::vector<TriState> optimal = s.services;
  s.SetState(preset, cbChecked, NoStoredServices());
  EXPECT_EQ(s.Caption(preset), "Оптимальная");
  EXPECT_EQ(s.services, optimal);
  // The same state again runs no handler, whatever the file holds now.
  std::vector<int> stored(s.services.size(), kNotStored);
  stored[3] = cbGrayed;
  stored[4] = 7;
  s.SetState(preset, cbChecked, StoredServicesRead(stored));
  EXPECT_EQ(s.services, optimal);
  // With a file: its states, items without one keep theirs.
  s.RunHandler(preset, StoredServicesRead(stored));
  EXPECT_EQ(s.Caption(preset), "Из файла настроек");
  EXPECT_EQ(s.services[3], cbGrayed);
  EXPECT_EQ(s.services[4], optimal[4]);
  EXPECT_EQ(s.services[5], optimal[5]);

  s.SetState(preset, cbGrayed, NoStoredServices());  // standard: items stay, nothing written
  EXPECT_EQ(s.Caption(preset), "Стандартная конфигурация");
  EXPECT_FALSE(s.ServicesEnabled());
  EXPECT_EQ(s.services[3], cbGrayed);
}

TEST(ControlTable, FactsTheRestOfTheProgramReliesOn) {
  const ControlTable& t = Controls();
  // The settings file finds a service by its item text in either letter case.
  std::set<std::string> items;
  for (const ServiceDecl& s : t.services)
    EXPECT_TRUE(items.insert(FoldCase(Utf8ToCp1251(s.ItemText()))).second) << s.key;
  for (const char* essential : {"RpcSs", "DcomLaunch", "PlugPlay", "Eventlog", "SamSs",
                                "lanmanworkstation", "Dhcp", "Dnscache"}) {
    // Windows starts them itself, and the optimal preset keeps them running.
    EXPECT_EQ(t.services[ServiceIndex(essential)].standard, cbChecked) << essential;
    EXPECT_NE(t.services[ServiceIndex(essential)].optimal, cbUnchecked) << essential;
  }

  // The window shows a hint's explanation after "| " in every state.
  for (const OptionDecl& o : t.options)
    for (TriState state : {cbUnchecked, cbChecked, cbGrayed})
      EXPECT_EQ(Hint(o, state).rfind("| ", 0), 0u) << o.name << " " << int{state};
  // A drop-down list's or spinner's hint is one phrase: a comment line and a
  // settings entry, with no "|" for the window to split.
  for (const ComboDecl& d : t.combos) EXPECT_EQ(d.hint.find('|'), std::string_view::npos) << d.name;
  for (const SpinnerDecl& d : t.spinners)
    EXPECT_EQ(d.hint.find('|'), std::string_view::npos) << d.name;

  // Every text goes into Windows-1251 files and onto single lines.
  std::vector<std::string_view> texts;
  for (const PageDecl& p : t.pages) texts.push_back(p.caption);
  for (const OptionDecl& o : t.options) {
    for (const CaptionText& c : o.captions) texts.insert(texts.end(), {c.a, c.b, c.c});
    texts.insert(texts.end(), o.stateHints.begin(), o.stateHints.end());
    texts.push_back(o.hint);
  }
  for (const ComboDecl& c : t.combos) {
    texts.insert(texts.end(), c.items.begin(), c.items.end());
    texts.insert(texts.end(), {c.labelCaption, c.hint, c.explanation});
  }
  for (const SpinnerDecl& s : t.spinners)
    texts.insert(texts.end(), {s.labelCaption, s.hint, s.explanation});
  for (const ServiceDecl& s : t.services) texts.insert(texts.end(), {s.key, s.display});
  for (std::string_view text : texts) {
    EXPECT_TRUE(IsCp1251Representable(text)) << text;
    for (char c : text) EXPECT_GE(static_cast<unsigned char>(c), 0x20) << text;
  }
}

}  // namespace
}  // namespace kwetro
