// Every hint names the values its control writes (but those of
// tests/options/described_in_words.txt): for each option and state,
// the name of every value the lines of that state write appears in the hint
// the option then shows; for a drop-down list, the names its items write
// appear in its hint or explanation; for a spinner, its value name. A hint
// that drifts from the catalogue fails here.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "catalogue/catalogue.h"
#include "support/files.h"

namespace kwetro {
namespace {

// The name of the value a line writes: "Name"=... gives Name; key lines,
// default values (@=) and continuation lines give nothing.
std::string_view ValueName(std::string_view line) {
  if (line.size() < 2 || line.front() != '"') return {};
  const std::size_t end = line.find("\"=", 1);
  return end == std::string_view::npos ? std::string_view() : line.substr(1, end - 1);
}

// The value names of the lines that the hint does not mention.
std::set<std::string> Missing(const std::vector<Line>& lines, std::string_view hint) {
  std::set<std::string> missing;
  for (Line line : lines) {
    const std::string_view name = ValueName(line);
    if (!name.empty() && hint.find(name) == std::string_view::npos) missing.emplace(name);
  }
  return missing;
}

std::string Joined(const std::set<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += " " + name;
  return text;
}

// Every block of both scripts.
template <typename Each>
void ForEachBlock(Each each) {
  for (const auto* script : {&HklmSections(), &HkcuSections()})
    for (const ScriptSection& section : *script)
      for (BlocksOf blocks : section.catalogues)
        for (const Block& block : blocks()) each(block);
}

TEST(Hints, NameTheValuesEachStateWrites) {
  const ControlTable& t = Controls();
  std::set<std::string, std::less<>> describedInWords;
  for (const auto& row : testing::ReadTable("tests/options/described_in_words.txt"))
    describedInWords.insert(row.at(0));
  EXPECT_EQ(describedInWords.size(), 3u);
  int checked = 0;
  auto expectNamed = [&](std::string_view control, int state, const std::vector<Line>& lines,
                         std::string_view hint) {
    if (describedInWords.count(control)) return;
    ++checked;
    const std::set<std::string> missing = Missing(lines, hint);
    EXPECT_TRUE(missing.empty()) << control << " in state " << state << " writes" << Joined(missing)
                                 << ", which its hint does not name";
  };
  ForEachBlock([&](const Block& block) {
    if (const auto* option = std::get_if<OptionBlock>(&block)) {
      const OptionDecl& decl = t.options[static_cast<std::size_t>(option->option)];
      for (TriState s : {cbChecked, cbUnchecked, cbGrayed}) {
        std::vector<Line> lines;
        for (const KeySection& section : option->states[s].sections)
          lines.insert(lines.end(), section.values.begin(), section.values.end());
        expectNamed(decl.name, s, lines, Hint(decl, s));
      }
      return;
    }
    for (const GroupItem& item : std::get<GroupBlock>(block).items) {
      const auto index = static_cast<std::size_t>(item.control);
      if (item.kind == GroupItem::kMember) {
        const OptionDecl& decl = t.options[index];
        for (TriState s : {cbChecked, cbUnchecked, cbGrayed})
          expectNamed(decl.name, s, item.values[s], Hint(decl, s));
      } else if (item.kind == GroupItem::kCombo) {
        const ComboDecl& decl = t.combos[index];
        const std::string hint = std::string(decl.hint) + " " + std::string(decl.explanation);
        for (std::size_t i = 0; i < item.byIndex.size(); ++i)
          expectNamed(decl.name, static_cast<int>(i), item.byIndex[i], hint);
      } else if (item.kind == GroupItem::kSpinnerMillis) {
        const SpinnerDecl& decl = t.spinners[index];
        const std::string line = "\"" + std::string(item.text) + "\"=";
        expectNamed(decl.name, 0, {line}, decl.hint);
      }
    }
  });
  // Every option state, item and spinner of both scripts was looked at.
  EXPECT_GT(checked, 450);
}

// The standard is named one way: the word «стандарт» as it stands, with what
// follows it saying whose or how ("стандарт XP Home", "стандарт по действию"),
// never "стандартные настройки", "по умолчанию" or another form of the word.
// The preset «Стандартная конфигурация» is a name, not a claim.
std::string WordingFault(std::string_view text) {
  for (std::size_t at = 0; (at = text.find("тандарт", at)) != std::string_view::npos; ++at) {
    const std::string_view rest = text.substr(at + std::string_view("тандарт").size());
    const bool inflected = !rest.empty() && (rest[0] == '\xD0' || rest[0] == '\xD1');
    if (inflected && text.substr(at).rfind("тандартная конфигурация", 0) != 0)
      return std::string(text.substr(at > 2 ? at - 2 : 0, 40));
  }
  // «Выбор программ по умолчанию» is the name Windows gives its item.
  for (std::size_t at = 0; (at = text.find("по умолчанию", at)) != std::string_view::npos; ++at)
    if (text.substr(at).rfind("по умолчанию»", 0) != 0) return "по умолчанию";
  return {};
}

TEST(Hints, SayStandardOneWay) {
  const ControlTable& t = Controls();
  std::vector<std::pair<std::string_view, std::string_view>> texts;
  for (const OptionDecl& o : t.options)
    for (TriState s : {cbChecked, cbUnchecked, cbGrayed}) texts.emplace_back(o.name, Hint(o, s));
  for (const ComboDecl& c : t.combos) {
    texts.emplace_back(c.name, c.hint);
    texts.emplace_back(c.name, c.explanation);
  }
  for (const SpinnerDecl& c : t.spinners) {
    texts.emplace_back(c.name, c.hint);
    texts.emplace_back(c.name, c.explanation);
  }
  // The window's own texts: every text of its layout (the legend, the
  // labels, the hints, the menu and the question of «Этот компьютер»).
  const std::string layout = testing::ReadBytes(testing::SourcePath("ui/kwetro.form"));
  std::istringstream lines(layout);
  std::vector<std::string> own;
  for (std::string line; std::getline(lines, line);)
    if (line.find(" = '") != std::string::npos) own.push_back(line);
  for (const std::string& line : own) texts.emplace_back("ui/kwetro.form", line);
  for (const auto& [where, text] : texts)
    EXPECT_EQ(WordingFault(text), "") << where << ": " << text;
}

}  // namespace
}  // namespace kwetro
