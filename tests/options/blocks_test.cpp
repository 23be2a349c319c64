// The rules of the block patterns, on a small catalogue of their own over
// real option names, for three selections; the expected scripts are written
// out (UTF-8, "\n" for CR LF).
#include "options/blocks.h"

#include <gtest/gtest.h>

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

TEST(BlockRules, SmallCatalogueInThreeSelections) {
  const struct {
    TriState anonymous, sharing, drivers, restore, ask;
    int combo, spinner;
    const char* expected;
  } cases[] = {
      // Every member grayed: the group goes, drop-down and all; the fixed
      // blocks stay, a drop-down whose index is past its lines keeps key and
      // comment; unchecked writes nothing where only checked is defined.
      {cbGrayed, cbGrayed, cbGrayed, cbUnchecked, cbGrayed, 2, 2147483647, R"([F]
; fixed
"Millis"="2147483647000"

[L]
; Порядок раскладок клавиатуры (Preload; стандарт русской XP - русская первая; не выбрано - не менять)

[T]
; Отключить сообщение о возможности использования автозаполнения - (Пропутить)
2

)"},
      // One member set: the three-valued one writes its grayed level beside
      // it; the tight comment has no blank; the caption keeps its trailing one.
      {cbGrayed, cbChecked, cbChecked, cbChecked, cbUnchecked, 0, -7, R"([F]
; fixed
"Millis"="-7000"

[G]
; Ограничение анонимного доступа - (Нет)
"A"=0
;Отключить простой общий доступ к файлам - (Да)
"B"=1
; Порядок раскладок клавиатуры:
"C"=0

[L]
; Порядок раскладок клавиатуры (Preload; стандарт русской XP - русская первая; не выбрано - не менять)
"L"=0

[S]
; Запретить искать драйвера на Windows Update - (Да) 
"S"=1

[-K1]
[-K2]
; Отключить восстановление системы - (Да)

[K3]
; Отключить восстановление системы - (Да)
"D"=1

[K4]
"E"=1

[T]
; Отключить сообщение о возможности использования автозаполнения - (Нет)
0

)"},
  };
  for (const auto& c : cases) {
    Selection selection;
    const std::pair<const char*, TriState> states[] = {{"sCheckBox_1_5", c.anonymous},
                                                       {"sCheckBox_3_7", c.sharing},
                                                       {"sCheckBox_5_2", c.drivers},
                                                       {"sCheckBox_1_9", c.restore},
                                                       {"iCheckBox_2_8", c.ask}};
    for (const auto& [name, state] : states) selection.options[OptionIndex(name)] = state;
    selection.combos[ComboIndex("sComboBox_2_1")] = c.combo;
    selection.spinners[SpinnerIndex("sSpinner4_3")] = c.spinner;
    RegScript script;
    AppendBlocks(script, SmallCatalogue(), selection);
    std::string expected;
    for (const char* p = c.expected; *p; ++p) expected += *p == '\n' ? "\r\n" : std::string(1, *p);
    EXPECT_EQ(Cp1251ToUtf8(script.Bytes()), expected);
  }
}

}  // namespace
}  // namespace kwetro
