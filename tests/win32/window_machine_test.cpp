// «Этот компьютер»: the window reads a computer only when asked, marks every
// control against the selection as it changes, says what the computer holds,
// and takes a selection from it after a question. The computer here is a
// model registry that imported a selection's scripts (as REGEDIT does);
// tests/wine/window_machine.sh runs the window against Wine's own registry.
#include <fstream>
#include <random>

#include "catalogue/generators.h"
#include "support/checks.h"
#include "support/reg_model.h"
#include "window_harness.h"

namespace kwetro::testing {
namespace {

using win32::MachineMark;

class ModelComputer {
 public:
  explicit ModelComputer(const Selection& imported) {
    for (const char16_t* root :
         {u"HKEY_LOCAL_MACHINE\\Software\\Classes", u"HKEY_USERS\\S-1-5-21-0-0-0-1000"})
      registry_.Create(root);
    Import(BuildHkcuScript(imported).Bytes());
    Import(BuildHklmScript(imported).Bytes());
  }
  void Import(const std::string& script) {
    testing::Import importing(registry_);
    std::string problem;
    EXPECT_TRUE(testing::Read(script, importing, problem)) << problem;
  }
  machine::Machine Read() {
    ++reads;
    const std::string exported = Exported(registry_);
    undo::MemorySource source(exported);
    machine::ExportRegistry registry("");
    machine::ExportProblem problem;
    undo::ReadWarnings warnings;
    EXPECT_TRUE(registry.Read(source, problem, warnings)) << problem.what;
    return machine::ReadMachine(registry);
  }
  int reads = 0;

 private:
  Registry registry_;
};

class MachineTest : public WindowTest {
 protected:
  void OpenOn(ModelComputer& computer) {
    Open();
    window_->readMachine = [&computer] { return computer.Read(); };
    window_->onQuestion = [this](const std::wstring& question) {
      questions_.push_back(question);
      return answer_;
    };
  }
  MachineMark Mark(const char* name) {
    ControlRef control;
    EXPECT_TRUE(FindControl(name, control)) << name;
    return window_->Marks().Of(control);
  }
  std::vector<std::wstring> questions_;
  bool answer_ = false;
};

TEST_F(MachineTest, ThisComputerIsReadWhenAskedAndItsMarksFollowTheSelection) {
  Selection imported;
  imported.options[static_cast<std::size_t>(OptionIndex("sCheckBox_1_2"))] = cbChecked;
  imported.SetState(PresetOption(), cbUnchecked, NoStoredServices());  // «Оптимальная»
  ModelComputer computer(imported);
  OpenOn(computer);
  HWND legend = window_->Find("MarksLegend")->hwnd;
  ClickUntil("sCheckBox_1_2", cbChecked);
  EXPECT_EQ(computer.reads, 0);
  EXPECT_FALSE(IsWindowVisible(legend));
  EXPECT_EQ(Mark("sCheckBox_1_2"), MachineMark::kNone);

  Key(GetFocus(), VK_F5);
  EXPECT_EQ(computer.reads, 1);
  EXPECT_TRUE(IsWindowVisible(legend));
  EXPECT_EQ(window_->InfoText().find(W(" Сверено с этим компьютером: как выбрано - ")), 0u);
  const struct {
    TriState state;
    MachineMark mark;
    const char* words;
  } steps[] = {
      {cbUnchecked, MachineMark::kOther, " На этом компьютере: Да (выбрано: Нет). Да - "},
      {cbGrayed, MachineMark::kNone, " На этом компьютере: Да (файлы реестра его не меняют)."},
      {cbChecked, MachineMark::kHeld, " На этом компьютере: Да (как выбрано). Да - "},
  };
  for (const auto& step : steps) {
    ClickUntil("sCheckBox_1_2", step.state);
    EXPECT_EQ(Mark("sCheckBox_1_2"), step.mark) << step.state;
    MouseOver(Control("sCheckBox_1_3"));
    MouseOver(Control("sCheckBox_1_2"));
    EXPECT_EQ(window_->InfoText().substr(0, W(step.words).size()), W(step.words));
  }
  // The services are written under «Оптимальная», which this computer holds.
  SelectPage("PageControl1", 4);
  EXPECT_EQ(Mark("Alerter"), MachineMark::kNone);
  ClickUntil("srCheckBox_1_1", cbUnchecked);
  for (const ServiceDecl& service : Controls().services)
    EXPECT_EQ(Mark(std::string(service.key).c_str()), MachineMark::kHeld) << service.key;
  SetFocus(Control("CheckListBox1"));
  Key(Control("CheckListBox1"), VK_HOME);
  EXPECT_EQ(window_->InfoText().find(W(" Alerter: На этом компьютере: Отключить (как выбрано).")),
            0u);
  // The line speaks of the row under the mouse, as of the control under it
  // on every other page, and again of the row the keys move to.
  HWND list = Control("CheckListBox1");
  RECT row;
  SendMessageW(list, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&row));
  MouseOver(list, 60, (row.top + row.bottom) / 2);
  const std::wstring fourth = Widen(std::string(Controls().services[3].key) + ": ");
  EXPECT_EQ(window_->InfoText().find(L" " + fourth + W("На этом компьютере")), 0u);
  Key(list, VK_DOWN);
  const std::wstring second = Widen(std::string(Controls().services[1].key) + ": ");
  EXPECT_EQ(window_->InfoText().find(L" " + second), 0u);
  EXPECT_EQ(computer.reads, 1) << "the marks followed by reading again";
  Key(GetFocus(), VK_F5);
  EXPECT_EQ(computer.reads, 2);
}

// Taken from a computer, the selection marks every control as held and
// nothing is written before Apply; declined, nothing is read or changed.
// (That its scripts change nothing there, window_machine.sh checks on Wine's
// own registry.)
TEST_F(MachineTest, TakingThisComputerAsksFirstAndWritesNothingBeforeApply) {
  std::mt19937 rng(20240611);
  ModelComputer computer(RandomSelection(rng));
  OpenOn(computer);
  const Selection before = selection_;
  window_->TakeFromMachine();
  ASSERT_EQ(questions_.size(), 1u);
  EXPECT_EQ(questions_[0],
            Widen(layout_.items[static_cast<std::size_t>(layout_.Named("MachineButton"))].Text(
                "Question")));
  EXPECT_EQ(computer.reads, 0);
  EXPECT_EQ(DifferentControl(selection_, before), "");

  answer_ = true;
  window_->TakeFromMachine();
  EXPECT_EQ(computer.reads, 1);
  EXPECT_NE(DifferentControl(selection_, before), "");
  EXPECT_FALSE(FileExists(folder_ + "\\hkcu.reg"));
  EXPECT_EQ(window_->Marks().Count(MachineMark::kOther), 0);
  EXPECT_GT(window_->Marks().Count(MachineMark::kHeld), 50);
  EXPECT_EQ(window_->InfoText().find(W(" Выбор взят с этого компьютера: как на нём - ")), 0u);
}

// Alt+К opens the menu, its letter С compares; in a deployment that stops
// the countdown, as any user's doing does.
TEST_F(MachineTest, TheMenuOpensWithItsLetterAndStopsTheCountdown) {
  Deploy(900);
  ModelComputer computer{Selection()};
  OpenOn(computer);
  ASSERT_NE(Countdown(), W("&Применить"));
  PostMessageW(window_->Search().Field(), WM_SYSCHAR, W("к")[0], 0);
  PostMessageW(window_->Search().Field(), WM_CHAR, W("с")[0], 0);
  Pump(100);
  EXPECT_EQ(computer.reads, 1);
  EXPECT_EQ(TextOf(window_->OkButton()), W("&Применить"));
  EXPECT_EQ(ended_, 0);
}

// Against the computer the tests run on (tests/wine/window_machine.sh sets
// KWETRO_MACHINE_CHECK to a folder with a settings file): the marks of its
// selection into marks.tsv, then the selection taken from the computer, the
// services page opened (which must not change it) and Apply, its scripts into
// the folder's "window" folder.
TEST_F(WindowTest, ThisComputerAsTheWineCheckAsks) {
  const char* check = std::getenv("KWETRO_MACHINE_CHECK");
  if (!check) GTEST_SKIP() << "only for tests/wine/window_machine.sh";
  const std::string folder = check;
  CopyFileW(Widen(folder + "\\settings.ini").c_str(), Widen(folder_ + "\\Kwetro.ini").c_str(),
            FALSE);
  Open();
  window_->onQuestion = [](const std::wstring&) { return true; };
  window_->CompareWithMachine();
  std::ofstream marks(folder + "\\marks.tsv", std::ios::binary);
  for (const ControlRef& control : WindowOrder()) {
    const MachineMark mark = window_->Marks().Of(control);
    marks << ControlName(control) << "\t"
          << (mark == MachineMark::kHeld    ? "yes"
              : mark == MachineMark::kOther ? "no"
                                            : "-")
          << "\n";
  }
  marks.close();
  window_->TakeFromMachine();
  SelectPage("PageControl1", 4);
  SendMessageW(window_->OkButton(), BM_CLICK, 0, 0);
  Pump(20);
  CreateDirectoryW(Widen(folder + "\\window").c_str(), nullptr);
  for (const char* file : {"\\hkcu.reg", "\\hklm.reg", "\\Kwetro.ini"})
    EXPECT_TRUE(
        CopyFileW(Widen(folder_ + file).c_str(), Widen(folder + "\\window" + file).c_str(), FALSE))
        << file;
}

}  // namespace
}  // namespace kwetro::testing
