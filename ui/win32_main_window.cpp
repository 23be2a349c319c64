// The main window's behaviour: clicks into the model, page changes with the
// title and the legend, the information line, and repainting from the model.
// clang-format off
#include <windows.h>  // before every other Windows header
#include <commctrl.h>
// clang-format on

#include "ui/win32_main_window.h"

#include <algorithm>

#include "app/win32_text.h"
#include "options/text_encoding.h"
#include "ui/win32_ids.h"

namespace kwetro::win32 {
namespace {

constexpr int kMainPageControlServices = 4;

// Page titles of PageControl1, by page index.
const wchar_t* const kPageTitles[] = {
    L"  -  Система",       L"  -  Проводник",        L"  -  Настройки IE",
    L"  -  Настройки WMP", L"  -  Сервисы и службы",
};

// The legend: what the three states mean on the option pages and on the
// services page.
struct Legend {
  const wchar_t* yes;
  const wchar_t* no;
  const wchar_t* skip;
  const wchar_t* yesHint;
  const wchar_t* noHint;
  const wchar_t* skipHint;
  POINT yesImage;
  POINT yesLabel;
};
const Legend kOptionLegend = {
    L"Да",
    L"Нет",
    L"Пропустить",
    L"| Параметр применен - внесен в реестр.",
    L"| Параметр отменен - стандартные настройки.",
    L"| Параметр пропущен - не внесен в реестр.",
    {10, 4},
    {36, 5},
};
const Legend kServicesLegend = {
    L"Авто",
    L"Отключить",
    L"Вручную",
    L"| Сервис включен.",
    L"| Сервис отключен.",
    L"| Сервис в ручном режиме.",
    {60, 10},
    {86, 12},
};

const wchar_t kNoComment[] = L" Без комментариев";

MainWindow* FromChild(HWND hwnd) {
  HWND root = GetAncestor(hwnd, GA_ROOT);
  return reinterpret_cast<MainWindow*>(GetWindowLongPtrW(root, GWLP_USERDATA));
}

}  // namespace

std::wstring Wide(const std::string& cp1251) {
  const std::u16string text = Cp1251ToUtf16(cp1251);
  return std::wstring(text.begin(), text.end());
}

std::wstring LongHint(const std::wstring& hint) {
  const std::size_t bar = hint.find(L'|');
  return bar == std::wstring::npos ? hint : hint.substr(bar + 1);
}

std::wstring ShortHint(const std::wstring& hint) {
  const std::size_t bar = hint.find(L'|');
  return bar == std::wstring::npos ? hint : hint.substr(0, bar);
}

MainWindow::MainWindow(Form& form, Win32Platform& platform)
    : form_(form), platform_(platform), run_(form, platform, *this) {
  platform_.preTranslate = [this](MSG& msg) { return PreTranslate(msg); };
}

MainWindow::~MainWindow() {
  platform_.preTranslate = nullptr;
  if (hwnd_ && IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  if (measureDc_) DeleteDC(measureDc_);
  for (HFONT font : ownedFonts_) DeleteObject(font);
  for (auto& entry : brushes_) DeleteObject(entry.second);
}

void MainWindow::Show(int showCommand) {
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  PostMessageW(hwnd_, kActivateMessage, 0, 0);
}

// ---- RunControlView -------------------------------------------------------

void MainWindow::ShowFirstPages() {
  for (const char* name : {"PageControl1", "PageControl2"}) {
    const int control = Named(name);
    if (control < 0) continue;
    SendMessageW(natives_[static_cast<std::size_t>(control)].hwnd, TCM_SETCURSEL, 0, 0);
    ShowPageOf(control);
  }
}

void MainWindow::FocusFirstOption() {
  if (HWND first = Window("sCheckBox_1_1")) SetFocus(first);
}

void MainWindow::DisableFolderLink() {
  if (HWND link = Window("RzURLLabel1")) EnableWindow(link, FALSE);
}

void MainWindow::FormChanged() {
  updating_ = true;
  // Controls of pages not yet shown are left alone: they take the model's
  // values when they are created.
  for (std::size_t i = 0; i < natives_.size(); ++i) RefreshControl(static_cast<int>(i));
  if (form_.countdownTimerEnabled != countdownRunning_) {
    countdownRunning_ = form_.countdownTimerEnabled;
    const int timer = Named("Timer2");
    const unsigned interval =
        timer >= 0 ? natives_[static_cast<std::size_t>(timer)].interval : 1000;
    if (countdownRunning_)
      SetTimer(hwnd_, kCountdownTimerId, interval, nullptr);
    else
      KillTimer(hwnd_, kCountdownTimerId);
  }
  updating_ = false;
  ShowLongHint();
}

void MainWindow::RefreshControl(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= natives_.size()) return;
  const std::size_t i = static_cast<std::size_t>(index);
  const Component& c = form_.components[i];
  NativeControl& n = natives_[i];
  if (!n.hwnd) return;
  switch (n.kind) {
    case NativeKind::kOption:
      RefreshOption(index);
      break;
    case NativeKind::kCombo: {
      const int selected = form_.combos[static_cast<std::size_t>(c.index)].itemIndex;
      if (SendMessageW(n.hwnd, CB_GETCURSEL, 0, 0) != selected)
        SendMessageW(n.hwnd, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
      break;
    }
    case NativeKind::kSpinner: {
      const int value = form_.spinners[static_cast<std::size_t>(c.index)].value;
      if (static_cast<int>(SendMessageW(n.buddy, UDM_GETPOS32, 0, 0)) != value ||
          GetWindowTextLengthW(n.hwnd) == 0) {
        SendMessageW(n.buddy, UDM_SETPOS32, 0, value);
        SetWindowTextW(n.hwnd, std::to_wstring(value).c_str());
      }
      break;
    }
    case NativeKind::kServicesList: {
      const ServicesList& list = form_.services;
      if (list.enabled != servicesEnabled_) {
        servicesEnabled_ = list.enabled;
        EnableWindow(n.hwnd, list.enabled);
        InvalidateRect(n.hwnd, nullptr, FALSE);
      }
      if (list.states != shownServiceStates_) {
        shownServiceStates_ = list.states;
        InvalidateRect(n.hwnd, nullptr, FALSE);
      }
      if (SendMessageW(n.hwnd, LB_GETCURSEL, 0, 0) != list.itemIndex)
        SendMessageW(n.hwnd, LB_SETCURSEL, static_cast<WPARAM>(list.itemIndex), 0);
      break;
    }
    case NativeKind::kDialogButtons:
      if (form_.captionOk != shownCaptionOk_) {
        shownCaptionOk_ = form_.captionOk;
        SetWindowTextW(n.buddy, Wide(form_.captionOk).c_str());
        AlignChildren(c.parent);
      }
      break;
    default:
      break;
  }
}

void MainWindow::FocusCancel() {
  if (HWND cancel = CancelButton()) SetFocus(cancel);
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
  MessageBoxW(hwnd_, text.c_str(), natives_.empty() ? L"Kwetro" : natives_[0].text.c_str(),
              MB_OK | MB_ICONERROR);
}

// ---- lookups --------------------------------------------------------------

int MainWindow::Named(const char* name) const {
  for (std::size_t i = 0; i < form_.components.size(); ++i)
    if (form_.components[i].name == name) return static_cast<int>(i);
  return -1;
}

const NativeControl* MainWindow::Find(const std::string& name) const {
  const int i = Named(name.c_str());
  if (i < 0 || natives_.empty()) return nullptr;
  // Whoever asks for a control gets it, also before its page was first shown.
  const_cast<MainWindow*>(this)->EnsureBuilt(i);
  return &natives_[static_cast<std::size_t>(i)];
}

const std::vector<NativeControl>& MainWindow::Natives() const {
  // Outer pages come before the pages inside them in component order.
  auto* self = const_cast<MainWindow*>(this);
  for (std::size_t i = 1; i < natives_.size(); ++i)
    if (natives_[i].kind == NativeKind::kPage && !built_[i]) self->BuildPage(static_cast<int>(i));
  return natives_;
}

HWND MainWindow::Window(const std::string& name) const {
  const NativeControl* n = Find(name);
  return n ? n->hwnd : nullptr;
}

HWND MainWindow::OkButton() const {
  for (const NativeControl& n : natives_)
    if (n.kind == NativeKind::kDialogButtons) return n.buddy;
  return nullptr;
}

HWND MainWindow::CancelButton() const {
  for (const NativeControl& n : natives_)
    if (n.kind == NativeKind::kDialogButtons) return n.second;
  return nullptr;
}

std::wstring MainWindow::InfoText() const {
  const NativeControl* info = Find("InfoLabel");
  return info ? info->text : std::wstring();
}

int MainWindow::ComponentOf(HWND hwnd) const {
  for (; hwnd && hwnd != hwnd_; hwnd = GetParent(hwnd)) {
    const int index = GetDlgCtrlID(hwnd) - kFirstComponentId;
    if (index <= 0 || static_cast<std::size_t>(index) >= natives_.size()) continue;
    const NativeControl& n = natives_[static_cast<std::size_t>(index)];
    if (n.hwnd == hwnd || n.buddy == hwnd) return index;
  }
  return hwnd == hwnd_ ? 0 : -1;
}

HBRUSH MainWindow::Brush(COLORREF color) {
  auto it = brushes_.find(color);
  if (it != brushes_.end()) return it->second;
  HBRUSH brush = CreateSolidBrush(color);
  brushes_.emplace(color, brush);
  return brush;
}

// ---- messages -------------------------------------------------------------

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    reinterpret_cast<MainWindow*>(create->lpCreateParams)->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return self->HandleMessage(msg, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_NOTIFY:
      OnNotify(reinterpret_cast<NMHDR*>(lParam));
      return 0;
    case WM_DRAWITEM:
      OnDrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      item->itemHeight = static_cast<UINT>(serviceItemHeight_);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      if (!natives_.empty()) PaintGraphics(0, dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      RECT rc;
      GetClientRect(hwnd_, &rc);
      FillRect(reinterpret_cast<HDC>(wParam), &rc,
               Brush(natives_.empty() ? GetSysColor(COLOR_BTNFACE) : natives_[0].background));
      return TRUE;
    }
    case WM_TIMER:
      if (wParam == kCountdownTimerId) run_.CountdownTick();
      if (wParam == kHousekeepingTimerId) run_.HousekeepingTick();
      return 0;
    case kActivateMessage:
      if (!activated_) {
        activated_ = true;
        // Pop-up hints are of use only once the user can point at something;
        // made here, they do not delay the window's first appearance.
        CreateTooltip();
        run_.FormActivate();
      }
      return 0;
    case WM_ACTIVATE:
      // Give the focus back to the control that had it.
      if (LOWORD(wParam) == WA_INACTIVE) {
        lastFocus_ = GetFocus();
      } else if (lastFocus_ && IsWindow(lastFocus_)) {
        SetFocus(lastFocus_);
        return 0;
      }
      break;
    case WM_SETCURSOR: {
      // The hand over the link, as over a link anywhere.
      const int index = ComponentOf(reinterpret_cast<HWND>(wParam));
      if (index > 0 && natives_[static_cast<std::size_t>(index)].kind == NativeKind::kLink &&
          IsWindowEnabled(reinterpret_cast<HWND>(wParam))) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
    case WM_CLOSE:
      // Closing the window ends the program without applying or removing.
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd_, kCountdownTimerId);
      KillTimer(hwnd_, kHousekeepingTimerId);
      if (onEnd)
        onEnd();
      else
        PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK MainWindow::ContainerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MainWindow* self = FromChild(hwnd);
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
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      const int index = self ? self->ComponentOf(hwnd) : -1;
      if (index > 0) {
        const NativeControl& n = self->natives_[static_cast<std::size_t>(index)];
        PaintContainer(hwnd, dc, self->Brush(n.background), n.frame,
                       n.drawsCaption ? n.text : std::wstring(), n.font, n.textColor);
        self->PaintGraphics(index, dc);
      } else {
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

LRESULT CALLBACK MainWindow::ServicesListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto base = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kBaseProcProperty));
  MainWindow* self = FromChild(hwnd);
  if (self && msg == WM_LBUTTONDOWN) {
    // A click on an item's box moves its state along the cycle.
    const LRESULT hit = SendMessageW(hwnd, LB_ITEMFROMPOINT, 0, lParam);
    const int x = static_cast<short>(LOWORD(lParam));
    if (HIWORD(hit) == 0 && x < kServiceBoxColumn) {
      const LRESULT result = CallWindowProcW(base, hwnd, msg, wParam, lParam);
      self->run_.ServiceItemClicked(static_cast<int>(LOWORD(hit)));
      return result;
    }
  }
  if (self && msg == WM_CHAR && wParam == L' ') {
    const LRESULT selected = SendMessageW(hwnd, LB_GETCURSEL, 0, 0);
    if (selected != LB_ERR) self->run_.ServiceItemClicked(static_cast<int>(selected));
    return 0;
  }
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base));
    RemovePropW(hwnd, kBaseProcProperty);
  }
  return CallWindowProcW(base, hwnd, msg, wParam, lParam);
}

void MainWindow::OnCommand(int id, int code, HWND control) {
  if (id == kOkButtonId && code == BN_CLICKED) {
    run_.Apply();
    return;
  }
  if (id == kCancelButtonId && code == BN_CLICKED) {
    run_.Cancel();
    return;
  }
  const int index = id - kFirstComponentId;
  if (index <= 0 || static_cast<std::size_t>(index) >= natives_.size() || updating_) return;
  const Component& c = form_.components[static_cast<std::size_t>(index)];
  NativeControl& n = natives_[static_cast<std::size_t>(index)];
  switch (n.kind) {
    case NativeKind::kOption:
      // A quick second click reaches an owner-drawn button as a double click.
      if (code == BN_CLICKED || code == BN_DOUBLECLICKED) {
        form_.Click(c.index);
        FormChanged();
      }
      break;
    case NativeKind::kCombo:
      if (code == CBN_SELCHANGE)
        form_.combos[static_cast<std::size_t>(c.index)].itemIndex =
            static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
      break;
    case NativeKind::kSpinner: {
      SpinnerControl& spinner = form_.spinners[static_cast<std::size_t>(c.index)];
      if (code == EN_CHANGE) {
        wchar_t text[32];
        GetWindowTextW(n.hwnd, text, 32);
        wchar_t* end = nullptr;
        const long value = wcstol(text, &end, 10);
        // A spinner without a range takes any number, as the settings file does.
        if (end != text && *end == L'\0')
          spinner.value = static_cast<int>(spinner.min == spinner.max
                                               ? value
                                               : std::clamp<long>(value, spinner.min, spinner.max));
      } else if (code == EN_KILLFOCUS) {
        FormChanged();  // show the value that counts
      }
      break;
    }
    case NativeKind::kServicesList:
      if (code == LBN_SELCHANGE)
        form_.services.itemIndex = static_cast<int>(SendMessageW(control, LB_GETCURSEL, 0, 0));
      break;
    case NativeKind::kLink:
      if (code == BN_CLICKED) OpenScriptFolder();
      break;
    default:
      break;
  }
}

void MainWindow::OnNotify(NMHDR* header) {
  const int index = static_cast<int>(header->idFrom) - kFirstComponentId;
  if (index <= 0 || static_cast<std::size_t>(index) >= natives_.size()) return;
  const NativeKind kind = natives_[static_cast<std::size_t>(index)].kind;
  if (kind == NativeKind::kPageControl && header->code == TCN_SELCHANGE) OnPageChanged(index);
}

void MainWindow::OnDrawItem(DRAWITEMSTRUCT* item) {
  if (item->CtlType == ODT_LISTBOX) {
    if (item->itemID == static_cast<UINT>(-1)) return;
    const ServicesList& list = form_.services;
    if (item->itemID >= list.items.size()) return;
    const int index = ComponentOf(item->hwndItem);
    DrawServiceItem(*item, list.states[item->itemID],
                    list.enabled && IsWindowEnabled(item->hwndItem), Wide(list.items[item->itemID]),
                    index > 0 ? natives_[static_cast<std::size_t>(index)].font : defaultFont_);
    return;
  }
  const int index = static_cast<int>(item->CtlID) - kFirstComponentId;
  if (index <= 0 || static_cast<std::size_t>(index) >= natives_.size()) return;
  const NativeControl& n = natives_[static_cast<std::size_t>(index)];
  if (n.kind == NativeKind::kLink) {
    DrawLink(*item, n.text, n.font, n.textColor, Brush(n.background));
    return;
  }
  if (n.kind != NativeKind::kOption) return;
  const Component& c = form_.components[static_cast<std::size_t>(index)];
  DrawOptionBox(*item, form_.State(c.index), n.text, n.font, n.textColor, Brush(n.background));
}

LRESULT MainWindow::OnControlColor(HDC dc, HWND control) {
  const int index = ComponentOf(control);
  const NativeControl* n = index > 0 ? &natives_[static_cast<std::size_t>(index)] : nullptr;
  const COLORREF background = n ? n->background : GetSysColor(COLOR_BTNFACE);
  SetBkColor(dc, background);
  SetTextColor(dc, n ? n->textColor : GetSysColor(COLOR_WINDOWTEXT));
  return reinterpret_cast<LRESULT>(Brush(background));
}

// ---- pages and legend -----------------------------------------------------

void MainWindow::ShowPageOf(int pageControl) {
  const NativeControl& control = natives_[static_cast<std::size_t>(pageControl)];
  const int selected = static_cast<int>(SendMessageW(control.hwnd, TCM_GETCURSEL, 0, 0));
  int position = 0;
  HWND shown = nullptr;
  int selectedPage = -1;
  for (int child : children_[static_cast<std::size_t>(pageControl)]) {
    const NativeControl& page = natives_[static_cast<std::size_t>(child)];
    if (page.kind != NativeKind::kPage) continue;
    if (position++ == selected) {
      // Its controls are created the first time the page is shown.
      BuildPage(child);
      shown = page.hwnd;
      selectedPage = child;
    } else if (page.hwnd) {
      ShowWindow(page.hwnd, SW_HIDE);
    }
  }
  if (!shown) return;
  ShowWindow(shown, SW_SHOW);
  // Pages inside the page show their own selected page with it.
  for (int child : children_[static_cast<std::size_t>(selectedPage)])
    if (natives_[static_cast<std::size_t>(child)].kind == NativeKind::kPageControl)
      ShowPageOf(child);
}

void MainWindow::OnPageChanged(int pageControl) {
  ShowPageOf(pageControl);
  const std::string& name = form_.components[static_cast<std::size_t>(pageControl)].name;
  const int selected = static_cast<int>(
      SendMessageW(natives_[static_cast<std::size_t>(pageControl)].hwnd, TCM_GETCURSEL, 0, 0));
  if (name == "PageControl1") {
    MainPageChange(selected);
    return;
  }
  // The new page paints at once; input that waited is handled here.
  platform_.ProcessMessages();
  if (name == "PageControl2") run_.SystemSubPageChanged();
}

void MainWindow::MainPageChange(int pageIndex) {
  const bool services = pageIndex == kMainPageControlServices;
  run_.MainPageChanged(pageIndex);
  ApplyLegend(services);
  if (pageIndex >= 0 && pageIndex < static_cast<int>(std::size(kPageTitles)))
    SetLabelText(Named("Label10"), kPageTitles[pageIndex]);
  if (services) {
    HWND list = Window("CheckListBox1");
    if (list && form_.services.enabled) SetFocus(list);
  }
  platform_.ProcessMessages();
}

void MainWindow::ApplyLegend(bool servicesPage) {
  const Legend& legend = servicesPage ? kServicesLegend : kOptionLegend;
  SetLabelText(Named("Label4"), legend.yes);
  SetLabelText(Named("Label5"), legend.no);
  SetLabelText(Named("Label9"), legend.skip);
  SetHint(Named("Image7"), legend.yesHint);
  SetHint(Named("Image8"), legend.noHint);
  SetHint(Named("Image10"), legend.skipHint);
  for (const char* name : {"Image9", "Label12"}) SetGraphicVisible(Named(name), !servicesPage);
  MoveGraphic(Named("Image7"), legend.yesImage);
  MoveGraphic(Named("Label4"), legend.yesLabel);
}

void MainWindow::SetLabelText(int index, const std::wstring& text) {
  if (index < 0) return;
  NativeControl& n = natives_[static_cast<std::size_t>(index)];
  if (!n.IsGraphic() || text == n.text) return;
  const RECT before = n.bounds;
  n.text = text;
  AutoSizeControl(index);
  InvalidateGraphic(index, before);
  if (!EqualRect(&before, &n.bounds)) UpdateTool(index);
}

void MainWindow::SetHint(int index, const std::wstring& hint) {
  if (index < 0) return;
  natives_[static_cast<std::size_t>(index)].hint = hint;
  UpdateTool(index);
}

void MainWindow::UpdateTool(int index) {
  const NativeControl& n = natives_[static_cast<std::size_t>(index)];
  const int parent = form_.components[static_cast<std::size_t>(index)].parent;
  if (!tooltip_ || parent < 0) return;
  TOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_SUBCLASS;
  if (n.IsGraphic()) {
    // A label or image is a place on its container.
    tool.hwnd = natives_[static_cast<std::size_t>(parent)].container;
    tool.uId = static_cast<UINT_PTR>(kFirstComponentId + index);
    tool.rect = n.bounds;
  } else {
    if (!n.hwnd) return;
    tool.uFlags |= TTF_IDISHWND;
    tool.hwnd = GetParent(n.hwnd);
    tool.uId = reinterpret_cast<UINT_PTR>(n.hwnd);
  }
  if (!tool.hwnd) return;
  // Only the part before "|" pops up; hints that start with "|" never do.
  std::wstring popup = ShortHint(n.hint);
  SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  if (popup.empty() || (n.IsGraphic() && !n.visible)) return;
  tool.lpszText = &popup[0];
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// ---- information line -----------------------------------------------------

void MainWindow::OnMouseOver(HWND hwnd, POINT screenPoint) {
  if (GetAncestor(hwnd, GA_ROOT) != hwnd_) return;
  // The deepest control under the point, disabled ones included (the mouse
  // reaches their parent instead).
  for (;;) {
    POINT client = screenPoint;
    ScreenToClient(hwnd, &client);
    HWND child = ChildWindowFromPointEx(hwnd, client, CWP_SKIPINVISIBLE);
    if (!child || child == hwnd) break;
    hwnd = child;
  }
  hoverComponent_ = ComponentOf(hwnd);
  // A label or image on the window found.
  if (hoverComponent_ >= 0 &&
      natives_[static_cast<std::size_t>(hoverComponent_)].container == hwnd) {
    POINT client = screenPoint;
    ScreenToClient(hwnd, &client);
    const int graphic = GraphicAt(hoverComponent_, client);
    if (graphic > 0) hoverComponent_ = graphic;
  }
  ShowLongHint();
}

void MainWindow::ShowLongHint() {
  if (hoverComponent_ < 0) return;
  // The hint of the nearest enclosing control that has one.
  std::wstring hint;
  for (int i = hoverComponent_; i >= 0 && hint.empty();
       i = form_.components[static_cast<std::size_t>(i)].parent)
    hint = natives_[static_cast<std::size_t>(i)].hint;
  const std::wstring text = LongHint(hint);
  if (text == currentHint_ && infoShown_) return;
  currentHint_ = text;
  infoShown_ = true;
  SetLabelText(Named("InfoLabel"), text.empty() ? kNoComment : text);
}

void MainWindow::RefreshOption(int index) {
  const Component& c = form_.components[static_cast<std::size_t>(index)];
  NativeControl& n = natives_[static_cast<std::size_t>(index)];
  const OptionControl& o = form_.Option(c.index);
  const std::size_t id = static_cast<std::size_t>(c.index);
  if (o.caption != shownCaptions_[id]) {
    shownCaptions_[id] = o.caption;
    // A control just created already shows its caption.
    const std::wstring text = Wide(o.caption);
    if (text != n.text) {
      n.text = text;
      SetWindowTextW(n.hwnd, n.text.c_str());
      AutoSizeControl(index);
      InvalidateRect(n.hwnd, nullptr, FALSE);
    }
  }
  if (o.state != shownStates_[id]) {
    shownStates_[id] = o.state;
    InvalidateRect(n.hwnd, nullptr, FALSE);
  }
  const std::wstring hint = Wide(o.hint);
  if (hint != n.hint) SetHint(index, hint);
}

void MainWindow::OpenScriptFolder() { platform_.OpenFolder(run_.ScriptFolder(), hwnd_); }

bool MainWindow::PreTranslate(MSG& msg) {
  if (msg.message == WM_MOUSEMOVE) {
    POINT at = {static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
    ClientToScreen(msg.hwnd, &at);
    OnMouseOver(msg.hwnd, at);
    return false;
  }
  if (msg.message == WM_KEYDOWN) return HandleKey(msg);
  return false;
}

}  // namespace kwetro::win32
