// The rules of the block patterns, on a small catalogue of their own over
// real option names, for the selections of tests/options/block_cases.txt.
#include "options/blocks.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "support/files.h"

namespace kwetro {
namespace {

const std::vector<Block>& SmallCatalogue() {
  static const std::vector<Block> blocks = {
      Fixed("[F]", Comment("; fixed"), SpinnerMillis("sSpinner4_3", "Millis")),
      Group("[G]", ThreeValuedMember("sCheckBox_1_5", {"\"A\"=2"}, {"\"A\"=1"}, {"\"A\"=0"}),
            MemberWithTightComment("sCheckBox_3_7", {"\"B\"=1"}, {"\"B\"=0"}),
            Member("sCheckBox_1_6", {"\"H\"=1"}, {"\"H\"=0"}),  // grayed throughout
            Combo("sComboBox_2_1", {{"\"C\"=0"}, {}}, GroupItem::kComboLabel)),
      Fixed("[L]", Combo("sComboBox_2_1", {{"\"L\"=0"}, {"\"L\"=1"}})),
      // Left out only while neither the drop-down nor the option writes a value.
      Fixed("[E]", Combo("sComboBox_3_1", {{"\"U\"=2"}}, GroupItem::kComboLabel),
            Member("sCheckBox_4_7", {"\"R\"=1"}, {"\"R\"=0"})),
      Standard("sCheckBox_5_2", "[S]", {"\"S\"=1"}, {"\"S\"=0"}),
      // Checked only: three key sections, deletions standing together.
      Option("sCheckBox_1_9",
             Write(Keys({"[-K1]", "[-K2]"}), Key("[K3]", {"\"D\"=1"}),
                   KeyWithoutComment("[K4]", {"\"E\"=1"})),
             Nothing()),
      ThreeValued("iCheckBox_2_8", "[T]", {"1"}, {"0"}, {"2"}),
  };
  return blocks;
}

// The key lines a case's "filter" part names, a line each: the line kept as
// it is, or followed by a blank and the line it is spelled as instead.
class ListedKeys : public KeyFilter {
 public:
  explicit ListedKeys(const std::string& lines) {
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);) {
      const std::size_t blank = line.find(' ');
      kept_[line.substr(0, blank)] = blank == std::string::npos ? "" : line.substr(blank + 1);
    }
  }
  std::string_view Keep(std::string_view keyLine, std::string& room) const override {
    const auto found = kept_.find(std::string(keyLine));
    if (found == kept_.end()) return {};
    return found->second.empty() ? keyLine : std::string_view(room = found->second);
  }

 private:
  std::map<std::string, std::string> kept_;
};

TEST(BlockRules, SmallCatalogueInEachSelection) {
  const auto cases = testing::ReadCases("tests/options/block_cases.txt");
  EXPECT_GE(cases.size(), 2u);
  for (const testing::TextCase& c : cases) {
    Selection selection;
    std::string expected, filter;
    bool filtered = false;
    for (const auto& [part, text] : c.parts) {
      if (part == "script") expected = testing::CrLf(text);
      if (part == "filter") filter = text, filtered = true;
      std::istringstream lines(part == "selection" ? text : "");
      for (std::string line; std::getline(lines, line);) {
        const std::string name = line.substr(0, line.find('='));
        const int value = std::stoi(line.substr(name.size() + 1));
        ControlRef ref;
        ASSERT_TRUE(FindControl(name, ref)) << name;
        const auto i = static_cast<std::size_t>(ref.index);
        if (ref.kind == ControlKind::kOption) selection.options[i] = static_cast<TriState>(value);
        if (ref.kind == ControlKind::kCombo) selection.combos[i] = value;
        if (ref.kind == ControlKind::kSpinner) selection.spinners[i] = value;
      }
    }
    RegScript script;
    const ListedKeys listed(filter);
    AppendBlocks(script, SmallCatalogue(), selection, filtered ? &listed : nullptr);
    EXPECT_EQ(Cp1251ToUtf8(script.Bytes()), expected) << c.name;
  }
}

}  // namespace
}  // namespace kwetro
