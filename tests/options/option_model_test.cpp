#include <gtest/gtest.h>

#include <set>

#include "options/form.h"
#include "options/text_encoding.h"

namespace kwetro {
namespace {

std::string U(const Form& form, const char* name) {
  return Cp1251ToUtf8(form.Option(OptionIndex(name)).caption);
}

Form TriStateForm() {
  Form form;
  for (auto& o : form.options) o.allowGrayed = true;
  return form;
}

TEST(OptionTable, HoldsEveryOptionOnceWithTheDocumentedNames) {
  const auto& defs = OptionDefs();
  ASSERT_EQ(defs.size(), 155u);
  std::set<std::string> names;
  int s = 0, p = 0, i = 0, m = 0;
  for (const auto& d : defs) {
    EXPECT_TRUE(names.insert(d.name).second) << d.name;
    s += d.name.rfind("sCheckBox_", 0) == 0;
    p += d.name.rfind("pCheckBox_", 0) == 0;
    i += d.name.rfind("iCheckBox_2_", 0) == 0;
    m += d.name.rfind("mCheckBox_1_", 0) == 0;
  }
  EXPECT_EQ(s, 62);
  EXPECT_EQ(p, 64);
  EXPECT_EQ(i, 15);
  EXPECT_EQ(m, 12);
  EXPECT_EQ(FindOption("sCheckBox_6_3"), -1);
  EXPECT_GE(FindOption("sCheckBox_3_7b"), 0);
  EXPECT_GE(FindOption("srCheckBox_1_1"), 0);
  EXPECT_GE(FindOption("RzCheckBox1"), 0);
}

TEST(OptionModel, ClickCyclesUncheckedGrayedCheckedAndSkipsGrayedWhenNotAllowed) {
  Form form = TriStateForm();
  const int id = OptionIndex("sCheckBox_2_2");
  form.options[id].state = cbUnchecked;
  form.Click(id);
  EXPECT_EQ(form.State(id), cbGrayed);
  form.Click(id);
  EXPECT_EQ(form.State(id), cbChecked);
  form.Click(id);
  EXPECT_EQ(form.State(id), cbUnchecked);
  form.options[id].allowGrayed = false;
  form.Click(id);
  EXPECT_EQ(form.State(id), cbChecked);
  EXPECT_EQ(U(form, "sCheckBox_2_2"), "Включить NumLock при загрузке - (Да)");
}

TEST(OptionModel, CaptionRulesForEveryShape) {
  Form form = TriStateForm();
  auto set = [&form](const char* name, TriState s) {
    form.options[OptionIndex(name)].state = s;
    form.RunClickHandler(OptionIndex(name));
  };
  set("sCheckBox_6_6", cbGrayed);
  EXPECT_EQ(U(form, "sCheckBox_6_6"), "Стандартный объем корзины - (10% от доступного на диске)");
  set("sCheckBox_1_5", cbGrayed);
  EXPECT_EQ(U(form, "sCheckBox_1_5"), "Ограничение анонимного доступа - (Нет)");
  set("sCheckBox_5_2", cbChecked);
  EXPECT_EQ(U(form, "sCheckBox_5_2"), "Запретить искать драйвера на Windows Update - (Да) ");
  set("pCheckBox_2_1", cbGrayed);
  EXPECT_EQ(U(form, "pCheckBox_2_1"),
            "Добавить в контекстное меню пункты \"Копировать\" и \"Переместить\" - (Пропустить) ");
  set("iCheckBox_2_8", cbGrayed);
  EXPECT_EQ(U(form, "iCheckBox_2_8"),
            "Отключить сообщение о возможности использования автозаполнения - (Пропутить)");
  set("pCheckBox_4_1", cbChecked);
  EXPECT_EQ(U(form, "pCheckBox_4_1"), "\"Администрирование\" - отображать как ссылку");
  set("pCheckBox_4_11", cbGrayed);
  EXPECT_EQ(U(form, "pCheckBox_4_11"), "\"Сетевые подключения\" - отображать как меню");
  set("sCheckBox_1_10", cbUnchecked);
  EXPECT_EQ(U(form, "sCheckBox_1_10"), "Папка %WinDir%\\Temp  - для всех пользователей - (Нет)");
  // Two-way captions read grayed as not checked.
  for (const char* name : {"pCheckBox_3_12", "pCheckBox_4_9", "pCheckBox_4_10"}) {
    set(name, cbUnchecked);
    const std::string unchecked = U(form, name);
    set(name, cbGrayed);
    EXPECT_EQ(U(form, name), unchecked) << name;
  }
  EXPECT_EQ(U(form, "pCheckBox_4_9"), "\"Принтеры и факсы\" - не отображать");
}

TEST(OptionModel, AnonymousAccessHintFollowsEveryState) {
  Form form = TriStateForm();
  const int id = OptionIndex("sCheckBox_1_5");
  const char* expected[] = {
      "| Запрещает просматривать удаленно учетные записи и расшаренные ресурсы.",
      "| Запрет на любой неявный доступ к системе.",
      "| Стандартный доступ - разрешенные задания по умолчанию."};
  for (TriState s : {cbUnchecked, cbChecked, cbGrayed}) {
    form.options[id].state = s;
    form.RunClickHandler(id);
    EXPECT_EQ(Cp1251ToUtf8(form.Option(id).hint), expected[s]);
  }
}

TEST(OptionModel, OnlyTheFirstElevenSystemOptionsStopTheCountdown) {
  Form form = TriStateForm();
  for (std::size_t i = 0; i < OptionDefs().size(); ++i) {
    const std::string& name = OptionDefs()[i].name;
    if (name == "srCheckBox_1_1") continue;  // its preset needs a settings path
    form.countdownTimerEnabled = true;
    form.captionOk = "Apply 12";
    form.Click(static_cast<int>(i));
    bool stops = false;
    for (int k = 1; k <= 11; ++k) stops |= name == "sCheckBox_1_" + std::to_string(k);
    EXPECT_EQ(!form.countdownTimerEnabled, stops) << name;
    EXPECT_EQ(form.captionOk == ApplyCaption(), stops) << name;
  }
}

TEST(OptionModel, OptionWithoutHandlerKeepsItsCaption) {
  Form form = TriStateForm();
  const int id = OptionIndex("RzCheckBox1");
  form.options[id].caption = "mine";
  form.Click(id);
  EXPECT_EQ(form.Option(id).caption, "mine");
}

TEST(OptionModel, SettingTheSameStateRunsNoHandlerAndHandlersAreIdempotent) {
  Form form = TriStateForm();
  const int id = OptionIndex("sCheckBox_1_9");
  form.options[id].state = cbChecked;
  form.options[id].caption = "stale";
  form.SetState(id, cbChecked);
  EXPECT_EQ(form.Option(id).caption, "stale");
  form.SetState(id, cbUnchecked);
  const std::string once = form.Option(id).caption;
  form.RunClickHandler(id);
  EXPECT_EQ(form.Option(id).caption, once);
  EXPECT_EQ(Cp1251ToUtf8(once), "Отключить восстановление системы - (Нет)");
}

}  // namespace
}  // namespace kwetro
