// clang-format off
#include <windows.h>  // before every other Windows header
#include <commctrl.h>
// clang-format on

#include "ui/win32_main_window.h"

#include <algorithm>

#include "app/spinner_text.h"
#include "app/win32_text.h"
#include "catalogue/control_lines.h"
#include "ui/win32_builders.h"
#include "ui/win32_scroll_view.h"
#include "win32/handles.h"

namespace kwetro::win32 {
namespace {

const wchar_t kMainClass[] = L"KwetroMainWindow";

MainWindow* Owner(HWND hwnd) {
  return reinterpret_cast<MainWindow*>(
      GetWindowLongPtrW(GetAncestor(hwnd, GA_ROOT), GWLP_USERDATA));
}

// The layout says whether the window can be resized and maximized.
DWORD WindowStyle(const LayoutItem& window) {
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  if (window.Text("BorderStyle", "bsSizeable") == "bsSizeable") style |= WS_THICKFRAME;
  if (window.Text("BorderIcons").find("biMaximize") != std::string::npos) style |= WS_MAXIMIZEBOX;
  return style;
}

// The window's size for a client area.
SIZE FrameSize(SIZE client, DWORD style) {
  RECT frame = {0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

// A control that tells its parent it got the keyboard focus: an edit field,
// a list, a drop-down list (through WM_COMMAND), an owner-drawn button
// (through WM_DRAWITEM); null for any other message.
HWND FocusedBy(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DRAWITEM) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    return (item->itemAction & ODA_FOCUS) && (item->itemState & ODS_FOCUS) ? item->hwndItem
                                                                           : nullptr;
  }
  if (msg != WM_COMMAND) return nullptr;
  const int code = HIWORD(wParam);
  HWND control = reinterpret_cast<HWND>(lParam);
  const bool setFocus =
      code == EN_SETFOCUS || code == LBN_SETFOCUS || code == CBN_SETFOCUS || code == BN_SETFOCUS;
  return setFocus && control && control == GetFocus() ? control : nullptr;
}

}  // namespace

MainWindow::MainWindow(const Layout& layout, Selection& selection, Win32Platform& platform)
    : platform_(platform),
      parts_(layout, selection),
      run_(selection, platform, *this,
           WithoutMnemonic(parts_.Item(parts_.Object(WindowObject::kButtons)).Text("CaptionOk"))),
      pages_(parts_, [this](int index) { OnBuilt(index); }),
      info_(parts_,
            [this](int index) {
              // Until something changes, the preview follows the mouse.
              const Bound bound = parts_.Item(index).bound;
              const int control = parts_.Item(index).index;
              if (changed_ || !preview_.IsOpen() || control < 0) return;
              if (bound == Bound::kOption) preview_.Highlight({ControlKind::kOption, control});
              if (bound == Bound::kCombo || bound == Bound::kComboLabel)
                preview_.Highlight({ControlKind::kCombo, control});
              if (bound == Bound::kSpinner || bound == Bound::kSpinnerLabel)
                preview_.Highlight({ControlKind::kSpinner, control});
            }),
      services_(parts_,
                [this](int item) {
                  changed_ = ControlRef{ControlKind::kService, item};
                  run_.ServiceItemClicked(item);
                }),
      search_(
          parts_,
          [this](ControlRef control, SearchBox::Go go) {
            // Typing shows a match where the search began; Enter or F3 goes there.
            if (go != SearchBox::Go::kShown)
              searchOrigin_ = -1;
            else if (searchOrigin_ < 0)
              searchOrigin_ = pages_.ShownPage(parts_.Object(WindowObject::kMainPages));
            GoTo(control, go == SearchBox::Go::kFocused);
          },
          [this](bool cleared) { SearchFoundNothing(cleared); },
          [this] {
            run_.StopCountdown();
            SelectionChanged();
          }),
      preview_(selection),
      marks_(parts_) {
  preview_.onPlaced = [this] { MakeRoomForPreview(); };
  platform_.preTranslate = [this](MSG& msg) { return PreTranslate(msg); };
  info_.SetLead([this](int item) { return marks_.Words(item); });
}

MainWindow::~MainWindow() {
  platform_.preTranslate = nullptr;
  if (parts_.main && IsWindow(parts_.main)) {
    SetWindowLongPtrW(parts_.main, GWLP_USERDATA, 0);
    DestroyWindow(parts_.main);
  }
}

bool MainWindow::RegisterClasses() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpfnWndProc = &MainWindow::WindowProc;
  wc.lpszClassName = kMainClass;
  // No icon of its own: the system shows its default one. (A class icon
  // costs a small copy made from it at registration, before the window shows.)
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  wc.lpfnWndProc = &MainWindow::ContainerProc;
  wc.lpszClassName = kContainerClass;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  return RegisterScrollView();
}

bool MainWindow::Create() {
  INITCOMMONCONTROLSEX init = {
      sizeof init, ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&init);
  if (!RegisterClasses()) return false;

  const LayoutItem& window = parts_.Item(0);
  NativeControl& main = parts_.Native(0);
  main.text = Widen(window.Text("Caption"));
  // At its designed size where the screen has room, else as large as the
  // work area (the taskbar left free), its controls anchored to the edges
  // and its pages scrolling; never smaller than the layout's least size.
  const DWORD style = WindowStyle(window);
  const SIZE design = FrameSize(parts_.DesignClientSize(), style);
  minTrack_ = FrameSize(parts_.MinClientSize(), style);
  const RECT work = WorkArea(nullptr);
  const int width = std::max(minTrack_.cx, std::min<LONG>(design.cx, work.right - work.left));
  const int height = std::max(minTrack_.cy, std::min<LONG>(design.cy, work.bottom - work.top));
  const int x = std::max<int>(work.left, work.left + (work.right - work.left - width) / 2);
  const int y = std::max<int>(work.top, work.top + (work.bottom - work.top - height) / 2);
  if (!CreateWindowExW(WS_EX_CONTROLPARENT, kMainClass, main.text.c_str(), style, x, y, width,
                       height, nullptr, nullptr, GetModuleHandleW(nullptr), this))
    return false;
  main.hwnd = main.container = parts_.main;

  spinnersWritten_ = SpinnersWritten(parts_.selection);
  // The services list asks for its item height while it is being created.
  services_.FitItemHeight(parts_.MeasureText(main.font, L"Ag"));
  // Pages stay hidden until the window is activated; each gets its
  // controls the first time it is shown, so that the window appears sooner.
  pages_.BuildWindow();
  for (std::size_t i = 1; i < parts_.natives.size(); ++i)
    if (parts_.natives[i].kind == NativeKind::kServicesList && parts_.natives[i].hwnd)
      services_.Attach(static_cast<int>(i));
  search_.Attach(parts_.Object(WindowObject::kSearchField),
                 parts_.Object(WindowObject::kSearchCount));
  info_.ShowPageTitle(MainPage());
  FitInfoLine();
  run_.FormCreate();
  applied_ = parts_.selection;  // what closing without a question keeps
  pages_.SetComposited();
  return true;
}

void MainWindow::Show(int showCommand) {
  ShowWindow(parts_.main, showCommand);
  UpdateWindow(parts_.main);
  PostMessageW(parts_.main, kActivateMessage, 0, 0);
}

// ---- RunControlView --------------------------------------------------------

void MainWindow::FocusFirstOption() {
  if (HWND first = Window(std::string(ControlName(Controls().order.front())))) SetFocus(first);
}

void MainWindow::DisableFolderLink() {
  EnableWindow(parts_.Native(parts_.Object(WindowObject::kFolderLink)).hwnd, FALSE);
}

void MainWindow::FocusCancel() {
  if (HWND cancel = CancelButton()) SetFocus(cancel);
}

void MainWindow::ShowApplied(const std::string& report) {
  applied_ = parts_.selection;
  info_.Say(Widen(report));
  // The focus went to Cancel first: the report stays until the user moves on.
  noticedFocus_ = GetFocus();
}

void MainWindow::EndApplication() {
  if (onEnd)
    onEnd();
  else
    PostQuitMessage(0);
}

void MainWindow::ShowError(const std::string& message) {
  const std::wstring text = Widen(message);
  if (onError) {
    onError(text);
    return;
  }
  MessageBoxW(parts_.main, text.c_str(), parts_.Native(0).text.c_str(), MB_OK | MB_ICONERROR);
}

// ---- lookups ----------------------------------------------------------------

const NativeControl* MainWindow::Find(const std::string& name) {
  const int i = parts_.Named(name);
  if (i < 0 || !parts_.main) return nullptr;
  pages_.EnsureBuilt(i);
  return &parts_.Native(i);
}

HWND MainWindow::Window(const std::string& name) {
  const NativeControl* n = Find(name);
  return n ? n->hwnd : nullptr;
}

const std::vector<NativeControl>& MainWindow::Natives() {
  pages_.BuildAll();
  return parts_.natives;
}

HWND MainWindow::OkButton() const {
  return parts_.Native(parts_.Object(WindowObject::kButtons)).buddy;
}

HWND MainWindow::CancelButton() const {
  return parts_.Native(parts_.Object(WindowObject::kButtons)).second;
}

// ---- messages -----------------------------------------------------------------

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->parts_.main = hwnd;
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return self ? self->HandleMessage(msg, wParam, lParam)
              : DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  // What the controls report, each to the part of the window that knows it.
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return 0;
    case WM_DRAWITEM:
      OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_MEASUREITEM:
      services_.Measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return parts_.ControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_CTLCOLOREDIT:
      if (HBRUSH brush =
              search_.FieldColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
        return reinterpret_cast<LRESULT>(brush);
      break;
    case WM_SETCURSOR:
      if (parts_.SetLinkCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
      break;
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
      // A pop-up hint would cover the menu (the system menu, «Этот компьютер»).
      info_.PauseTooltips(msg == WM_ENTERMENULOOP);
      break;
    default:
      return HandleFrameMessage(msg, wParam, lParam);
  }
  return DefWindowProcW(parts_.main, msg, wParam, lParam);
}

LRESULT MainWindow::HandleFrameMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = parts_.main;
  switch (msg) {
    case WM_PAINT: {
      const WindowPaint paint(hwnd);
      info_.PaintGraphics(0, paint.Get());
      return 0;
    }
    case WM_ERASEBKGND:
      FillClient(hwnd, reinterpret_cast<HDC>(wParam), parts_.Brush(parts_.Native(0).background));
      return TRUE;
    case WM_MOVE:
      MakeRoomForPreview();
      return 0;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) OnResized();
      return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {minTrack_.cx, minTrack_.cy};
      return 0;
    case WM_TIMER:
      if (wParam == kCountdownTimerId) run_.CountdownTick();
      if (wParam == kHousekeepingTimerId) run_.HousekeepingTick();
      return 0;
    case kActivateMessage:
      OnFirstActivation();
      return 0;
    case WM_ACTIVATE:
      if (keptFocus_.Activated(wParam)) return 0;
      break;
    case WM_NEXTDLGCTL:
      MoveDialogFocus(hwnd, wParam, lParam);
      return 0;
    case WM_CLOSE:
      // Closing the window ends the program without applying or removing,
      // once the user has had the choice to apply.
      if (ReadyToClose()) DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd, kCountdownTimerId);
      KillTimer(hwnd, kHousekeepingTimerId);
      EndApplication();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void MainWindow::OnNotify(const NMHDR& header) {
  const int index = static_cast<int>(header.idFrom) - kFirstItemId;
  if (header.code == TCN_SELCHANGE && index > 0 &&
      static_cast<std::size_t>(index) < parts_.natives.size() &&
      parts_.Native(index).kind == NativeKind::kPageControl)
    OnPageChanged(index, true);
}

void MainWindow::OnResized() {
  pages_.Relayout();
  FitInfoLine();
  MakeRoomForPreview();
  RedrawWindow(parts_.main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void MainWindow::OnFirstActivation() {
  if (activated_) return;
  activated_ = true;
  info_.CreateTooltips();
  run_.FormActivate();
}

LRESULT CALLBACK MainWindow::ContainerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MainWindow* self = Owner(hwnd);
  // A control the keyboard moved to on a page that scrolls comes into view.
  if (HWND focused = FocusedBy(msg, wParam, lParam)) RevealControl(focused);
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_VSCROLL:
    case WM_HSCROLL:
      // Everything the controls report goes to the window, which knows them
      // by identifier.
      return SendMessageW(GetAncestor(hwnd, GA_ROOT), msg, wParam, lParam);
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT: {
      const WindowPaint paint(hwnd);
      const int index = self ? self->parts_.ItemOf(hwnd) : -1;
      if (index > 0)
        self->PaintContainerItem(index, hwnd, paint.Get());
      else
        FillClient(hwnd, paint.Get(), GetSysColorBrush(COLOR_BTNFACE));
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

void MainWindow::PaintContainerItem(int index, HWND hwnd, HDC dc) {
  const NativeControl& n = parts_.Native(index);
  PaintContainer(hwnd, dc, parts_.Brush(n.background), n.frame,
                 n.drawsCaption ? n.text : std::wstring(), n.font, n.textColor);
  info_.PaintGraphics(index, dc);
  marks_.Paint(index, dc);
}

void MainWindow::OnCommand(int id, int code, HWND control) {
  if (code == BN_CLICKED && id == kOkButtonId) {
    run_.Apply();
  } else if (code == BN_CLICKED && id == kCancelButtonId) {
    if (ReadyToClose()) run_.Cancel();
  } else if (code == BN_CLICKED && id == kPreviewButtonId) {
    OpenPreview();
  } else {
    const int index = id - kFirstItemId;
    if (index > 0 && static_cast<std::size_t>(index) < parts_.natives.size() && !updating_)
      OnControlCommand(index, code, control);
  }
}

void MainWindow::OnControlCommand(int index, int code, HWND control) {
  const int i = parts_.Item(index).index;
  switch (parts_.Native(index).kind) {
    case NativeKind::kOption:
      // A quick second click reaches an owner-drawn button as a double click.
      if (code == BN_CLICKED || code == BN_DOUBLECLICKED) {
        changed_ = ControlRef{ControlKind::kOption, i};
        run_.OptionClicked(i);
      }
      break;
    case NativeKind::kCombo:
      if (code == CBN_SELCHANGE) {
        parts_.selection.combos[static_cast<std::size_t>(i)] =
            ComboChoice(static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
        Changed({ControlKind::kCombo, i});
      } else if (code == CBN_DROPDOWN || code == CBN_CLOSEUP) {
        info_.PauseTooltips(code == CBN_DROPDOWN);
      }
      break;
    case NativeKind::kEdit:
      if (code == EN_CHANGE && parts_.Native(index).hwnd == search_.Field()) search_.TextChanged();
      break;
    case NativeKind::kSpinner:
      if (code == EN_CHANGE) SpinnerTyped(i, parts_.Native(index).hwnd);
      if (code == EN_KILLFOCUS) SelectionChanged();  // show the value that counts
      break;
    case NativeKind::kLink:
      if (code == BN_CLICKED) platform_.OpenFolder(run_.ScriptFolder(), parts_.main);
      break;
    case NativeKind::kMenuButton:
      if (code == BN_CLICKED) OpenMachineMenu(control);
      break;
    case NativeKind::kServicesList:
      // The information line speaks of the item the keys moved to.
      if (code == LBN_SELCHANGE) {
        marks_.SetServiceRow(static_cast<int>(SendMessageW(control, LB_GETCURSEL, 0, 0)));
        info_.Refresh();
      }
      break;
    default:
      break;
  }
}

void MainWindow::SpinnerTyped(int spinner, HWND field) {
  wchar_t text[32];
  GetWindowTextW(field, text, 32);
  const SpinnerDecl& decl = Controls().spinners[static_cast<std::size_t>(spinner)];
  if (const auto entry = ReadSpinnerText(text, decl.min, decl.max)) {
    parts_.selection.spinners[static_cast<std::size_t>(spinner)] = entry->value;
    if (!entry->note.empty()) info_.Say(entry->note);
  }
}

void MainWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.CtlType == ODT_LISTBOX) {
    services_.Draw(item);
    marks_.DrawService(item);
    return;
  }
  const int index = static_cast<int>(item.CtlID) - kFirstItemId;
  if (index <= 0 || static_cast<std::size_t>(index) >= parts_.natives.size()) return;
  const NativeControl& n = parts_.Native(index);
  if (n.kind == NativeKind::kLink)
    DrawLink(item, n.text, n.font, n.textColor, parts_.Brush(n.background));
  else if (n.kind == NativeKind::kMenuButton)
    DrawMenuButton(item, n.text, n.font);
  else if (n.kind == NativeKind::kOption)
    DrawOptionBox(item, parts_.selection.State(parts_.Item(index).index), n.text, n.font,
                  n.textColor, parts_.Brush(parts_.Background(index)));
}

}  // namespace kwetro::win32
