// The main window: a view of the selection, built from the layout. It routes
// the user's clicks and keys into the selection and the run control, and
// shows what they changed. Its jobs live apart: building controls
// (win32_builders), pages (win32_pages), the legend and the information line
// (win32_info_line), the services list (win32_services_list), the search
// (win32_search), the preview of the files (win32_preview) and this
// computer's marks (win32_machine_marks, the commands in
// win32_machine_commands). The class itself is defined in parts: creation and
// the messages here, the keyboard (win32_main_keys), showing the selection
// (win32_main_refresh), the pages shown (win32_main_pages), what the search
// shows (win32_main_search), the preview's room (win32_main_preview) and
// closing (win32_main_closing).
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/platform_win32.h"
#include "app/run_control.h"
#include "machine/machine.h"
#include "ui/win32_info_line.h"
#include "ui/win32_machine_marks.h"
#include "ui/win32_pages.h"
#include "ui/win32_parts.h"
#include "ui/win32_preview.h"
#include "ui/win32_search.h"
#include "ui/win32_services_list.h"
#include "ui/win32_tab_order.h"

namespace kwetro::win32 {

class MainWindow : public RunControlView {
 public:
  MainWindow(const Layout& layout, Selection& selection, Win32Platform& platform);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Builds the window and its controls, then runs the start-up steps
  // (settings file, folders). False when the window could not be created.
  bool Create();
  // Shows the window; the activation steps follow from the message loop.
  void Show(int showCommand);

  // RunControlView.
  void ShowFirstPages() override;
  void FocusFirstOption() override;
  void DisableFolderLink() override;
  void SelectionChanged() override;
  void FocusCancel() override;
  void ShowApplied(const std::string& report) override;
  void EndApplication() override;
  void ShowError(const std::string& message) override;

  // Replace how the program ends, how errors reach the user, how the user
  // answers a question (true: yes) and how this computer is read (tests).
  std::function<void()> onEnd;
  std::function<void(const std::wstring&)> onError;
  std::function<bool(const std::wstring&)> onQuestion;
  // How the user answers «Применить изменения?»: IDYES, IDNO or IDCANCEL.
  std::function<int(const std::wstring&)> onChoice;
  std::function<machine::Machine()> readMachine;

  HWND Handle() const { return parts_.main; }
  RunControl& Control() { return run_; }
  // The native side of a named item (its page is built first); null when
  // the layout has no such item.
  const NativeControl* Find(const std::string& name);
  HWND Window(const std::string& name);
  HWND OkButton() const;
  HWND CancelButton() const;
  // Text of the information line.
  std::wstring InfoText() const { return info_.Text(); }
  // Every item's native side, every page built.
  const std::vector<NativeControl>& Natives();
  SearchBox& Search() { return search_; }
  Preview& FilePreview() { return preview_; }
  // Opens the preview (a user's doing: the countdown stops).
  void OpenPreview();
  // Where the preview lies over the pages, they end at its edge and scroll:
  // it covers no control.
  void MakeRoomForPreview();
  // «Сверить с этим компьютером»: reads this computer's registry (again) and
  // marks every control. «Взять с этого компьютера»: after the user agrees,
  // the selection becomes what this computer holds. Each is a user's doing:
  // the countdown stops; nothing is written until Apply.
  void CompareWithMachine();
  void TakeFromMachine();
  MachineMarks& Marks() { return marks_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  bool RegisterClasses();
  // What the controls report; the rest goes to HandleFrameMessage: the
  // window's own painting, size, timers, activation and closing.
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleFrameMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code, HWND control);
  // A command of a control of the layout (index), not of the button bar.
  void OnControlCommand(int index, int code, HWND control);
  // The user typed into a spinner's field.
  void SpinnerTyped(int spinner, HWND field);
  void OnNotify(const NMHDR& header);
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  void OnResized();
  // The first activation creates the pop-up hints and runs the activation
  // steps of the run control.
  void OnFirstActivation();
  // A panel, group or page (index), its frame and caption, and what it shows.
  void PaintContainerItem(int index, HWND hwnd, HDC dc);
  // A tab control shows another page. A page the user chose takes the focus
  // from a control it hid; one the search shows leaves the focus alone.
  void OnPageChanged(int pageControl, bool byUser);
  // Chooses the tabs that show a page, outermost first.
  void ShowPage(int page, bool byUser);
  // The main page shown, as the control table counts pages.
  int MainPage() const;
  // Sees every message before it is dispatched; true when it handled it.
  bool PreTranslate(MSG& msg);
  bool Route(MSG& msg);
  // Ctrl+Tab: the next of all the innermost pages (or the one before).
  void CyclePage(bool forward);
  bool HandleKey(const MSG& msg);
  // Whether the control is a drop-down list whose list is open.
  bool DroppedDown(HWND control) const;
  // Alt and a letter underlined in a button or in the search's label.
  bool PressMnemonic(wchar_t letter);
  // The menu of «Этот компьютер», under its button.
  void OpenMachineMenu(HWND button);
  machine::Machine ReadMachine() const;
  bool Ask(const std::wstring& question);
  // Whether the window may close now (Cancel, the close box, Alt+F4): in an
  // interactive run with choices the last Apply (or the start) did not have,
  // after the user's answer to «Применить изменения?» (Да applies first).
  bool ReadyToClose();
  // The information line follows the keyboard focus.
  void NoticeFocus();
  // The information line takes the height its longest text needs.
  void FitInfoLine();
  // Shows a control as the search found it: its pages, the highlight, its hint,
  // and with focus set, the focus.
  void GoTo(ControlRef control, bool focus);
  // The search finds nothing (any more): no highlight, and the pages it showed
  // give way to the page it started from.
  void SearchFoundNothing(bool cleared);
  void ClearHighlights();
  void Changed(ControlRef control);
  // A control just created or changed in the selection shows its values.
  void OnBuilt(int index);
  void Refresh(int index);
  void RefreshOption(int index);

  Win32Platform& platform_;
  WindowParts parts_;
  RunControl run_;
  Pages pages_;
  InfoLine info_;
  ServicesList services_;
  SearchBox search_;
  Preview preview_;
  MachineMarks marks_;
  std::optional<ControlRef> changed_;  // what the user changed last
  Selection applied_;                  // as the last Apply, or the start, left it
  std::vector<int> highlighted_;       // the items the search highlights
  bool countdownRunning_ = false;
  bool activated_ = false;
  bool updating_ = false;  // changes made by the view, not by the user
  KeptFocus keptFocus_;
  HWND noticedFocus_ = nullptr;  // the focus the information line knows of
  int searchOrigin_ = -1;        // the page shown when the search began showing others
  std::vector<bool> spinnersWritten_;
  std::wstring shownOk_;
  SIZE minTrack_ = {};  // the least size of the window, its frame included
};

}  // namespace kwetro::win32
