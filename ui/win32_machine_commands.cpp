// The commands of «Этот компьютер»: its menu, reading this computer and
// taking the selection it holds. The registry is read here only, through
// machine::LiveRegistry, which opens keys for reading values and never makes
// one; and only when the user asks.
// clang-format off
#include <windows.h>  // before every other Windows header
// clang-format on

#include "app/win32_text.h"
#include "machine/live_registry.h"
#include "options/number_text.h"
#include "ui/machine_words.h"
#include "ui/win32_main_window.h"
#include "win32/handles.h"

namespace kwetro::win32 {
namespace {

constexpr UINT kCompareCommand = 1, kTakeCommand = 2;

}  // namespace

void MainWindow::OpenMachineMenu(HWND button) {
  const LayoutItem& item = parts_.Item(parts_.Object(WindowObject::kMachineButton));
  const UniqueMenu owned(CreatePopupMenu());
  HMENU menu = owned.Get();
  if (!menu) return;
  AppendMenuW(menu, MF_STRING, kCompareCommand,
              (Widen(item.Text("CaptionCompare")) + L"\tF5").c_str());
  AppendMenuW(menu, MF_STRING, kTakeCommand, Widen(item.Text("CaptionTake")).c_str());
  RECT under;
  GetWindowRect(button, &under);
  // The pop-up hints pause while the menu is open (WM_ENTERMENULOOP).
  const auto chosen = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON,
                     under.right, under.bottom, 0, parts_.main, nullptr));
  if (chosen == kCompareCommand) CompareWithMachine();
  if (chosen == kTakeCommand) TakeFromMachine();
}

machine::Machine MainWindow::ReadMachine() const {
  if (readMachine) return readMachine();
  return machine::ReadMachine(machine::LiveRegistry(""));
}

bool MainWindow::Ask(const std::wstring& question) {
  if (onQuestion) return onQuestion(question);
  return MessageBoxW(parts_.main, question.c_str(), parts_.Native(0).text.c_str(),
                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void MainWindow::CompareWithMachine() {
  run_.StopCountdown();
  marks_.Show(ReadMachine());
  FitInfoLine();
  SelectionChanged();
  info_.Say(L"Сверено с этим компьютером: как выбрано - " +
            WideDecimal(marks_.Count(MachineMark::kHeld)) + L", иначе - " +
            WideDecimal(marks_.Count(MachineMark::kOther)) +
            L". Что там записано, эта строка скажет у параметра под мышью или в фокусе; F5 - "
            L"прочитать снова.");
}

void MainWindow::TakeFromMachine() {
  run_.StopCountdown();
  SelectionChanged();
  const LayoutItem& item = parts_.Item(parts_.Object(WindowObject::kMachineButton));
  if (!Ask(Widen(item.Text("Question")))) return;
  marks_.Show(ReadMachine());
  FitInfoLine();
  const machine::Captured captured = marks_.Capture();
  // The preview shows the first control that changes.
  changed_.reset();
  for (const ControlRef& control : WindowOrder())
    if (machine::SelectedState(captured.selection, control) !=
        machine::SelectedState(parts_.selection, control)) {
      changed_ = control;
      break;
    }
  parts_.selection = captured.selection;
  run_.SelectionReplaced();
  SelectionChanged();
  std::wstring report = L"Выбор взят с этого компьютера: как на нём - " +
                        WideDecimal(marks_.Count(MachineMark::kHeld)) +
                        L"; серый флажок - где там не записано ни одно состояние или подходят "
                        L"несколько.";
  for (std::size_t i = 0; i < captured.unavoidable.size(); ++i)
    report += (i ? L", «" : L" Всё равно изменятся (пишутся в любом состоянии): «") +
              Widen(ControlCaption(captured.unavoidable[i])) + L"»";
  info_.Say(report + (captured.unavoidable.empty() ? L"" : L".") +
            L" Файлы реестра запишет «Применить».");
}

}  // namespace kwetro::win32
