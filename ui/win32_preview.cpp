// clang-format off
#include <windows.h>  // before every other Windows header
#include <commctrl.h>
#include <commdlg.h>
// clang-format on

#include "ui/win32_preview.h"

#include <algorithm>

#include "app/file_io.h"
#include "app/win32_system_files.h"
#include "app/win32_text.h"
#include "options/number_text.h"
#include "ui/win32_parts.h"

namespace kwetro::win32 {
namespace {

const wchar_t kClass[] = L"KwetroPreview";
constexpr int kTabsId = 1, kTextId = 2, kStatusId = 3, kSaveId = 4;
// Sizes at 96 DPI.
constexpr int kWidth = 640, kMargin = 6, kButtonWidth = 110, kButtonHeight = 25;
constexpr int kTextHeight = -13, kLeastLines = 4;
// The longest status line the files can have.
const wchar_t kWidestStatus[] = L"hklm.reg: строк: 99\u00A0999, байт: 999\u00A0999 (Windows-1251)";

HFONT Font(const wchar_t* name, int height) {
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     FIXED_PITCH | FF_MODERN, name);
}

// Digits in groups of three, as Russian texts write numbers.
std::wstring Grouped(std::size_t n) {
  std::wstring digits = WideDecimal(static_cast<long long>(n)), out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += L'\u00A0';
    out += digits[i];
  }
  return out;
}

// Where a control's lines stand in a file; null when it writes none there.
const BlockMark* BlockOf(const ScriptFile& file, ControlRef control) {
  for (const BlockMark& block : file.marks)
    if (block.control == control) return &block;
  return nullptr;
}

// As wide as a text in a font, as a static control draws it.
int TextWidth(HFONT font, const wchar_t* text) {
  const WindowDc screen(nullptr);
  const SelectedObject selected(screen.Get(), font);
  RECT r = {};
  DrawTextW(screen.Get(), text, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  return r.right - r.left;
}

}  // namespace

PreviewPlace PlacePreview(const RECT& work, const RECT& window, const RECT& pages, SIZE wanted,
                          SIZE least, bool windowMoves) {
  const int roomRight = work.right - window.right, roomLeft = window.left - work.left;
  if (roomRight >= least.cx)
    return {window,
            {window.right, window.top, window.right + std::min<int>(wanted.cx, roomRight),
             window.bottom}};
  if (roomLeft >= least.cx)
    return {
        window,
        {window.left - std::min<int>(wanted.cx, roomLeft), window.top, window.left, window.bottom}};
  RECT moved = window;
  const int free = (work.right - work.left) - (window.right - window.left);
  if (windowMoves && free >= least.cx) {
    const int width = std::min<int>(wanted.cx, free);
    OffsetRect(&moved, work.right - width - window.right, 0);
    return {moved, {moved.right, moved.top, work.right, moved.bottom}};
  }
  // Over the pages, as little of them as it may; the window goes to the
  // left edge so that it covers the least.
  if (windowMoves) OffsetRect(&moved, work.left - window.left, 0);
  const int width = std::max<int>(least.cx, work.right - moved.right);
  RECT over = {work.right - width, pages.top, work.right,
               std::max<LONG>(pages.bottom, pages.top + least.cy)};
  // Where the screen is lower than its least height, it stays on the screen.
  if (over.bottom > work.bottom)
    OffsetRect(&over, 0,
               std::max<LONG>(work.top, work.bottom - (over.bottom - over.top)) - over.top);
  return {moved, over};
}

Preview::~Preview() {
  if (window_.Get()) SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, 0);
}

void Preview::Open(HWND owner, HFONT font, const RECT& pages, std::optional<ControlRef> control) {
  if (!window_.Get()) Create(owner, font, pages);
  if (!window_.Get()) return;
  Update(control);
  ShowWindow(window_.Get(), SW_SHOWNOACTIVATE);
}

void Preview::Close() {
  if (window_.Get()) DestroyWindow(window_.Get());
}

SIZE Preview::LeastSize(HFONT font) const {
  // The tabs, a few lines of the files, the status line and the button.
  RECT tab = {};
  SendMessageW(tabs_, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
  RECT client = {0, 0, 3 * Scale(kMargin) + TextWidth(font, kWidestStatus) + Scale(kButtonWidth),
                 4 * Scale(kMargin) + tab.bottom + 2 + kLeastLines * -Scale(kTextHeight) +
                     GetSystemMetrics(SM_CYHSCROLL) + 2 * GetSystemMetrics(SM_CYEDGE) +
                     Scale(kButtonHeight)};
  AdjustWindowRectEx(&client, GetWindowLongW(window_.Get(), GWL_STYLE), FALSE,
                     GetWindowLongW(window_.Get(), GWL_EXSTYLE));
  return {client.right - client.left, client.bottom - client.top};
}

void Preview::Create(HWND owner, HFONT font, const RECT& pages) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpfnWndProc = &Preview::Proc;
  wc.lpszClassName = kClass;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;

  dpi_ = ScreenDpi();
  window_.Reset(CreateWindowExW(WS_EX_CONTROLPARENT, kClass, L"Kwetro - просмотр файлов реестра",
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, Scale(kWidth),
                                Scale(kWidth), owner, nullptr, GetModuleHandleW(nullptr), this));
  if (!window_.Get()) return;
  textFont_.Reset(Font(L"Courier New", Scale(kTextHeight)));
  CreateControls(font);
  least_ = LeastSize(font);
  Place(owner, pages);
  Arrange();
}

void Preview::CreateControls(HFONT font) {
  auto child = [this, font](DWORD exStyle, const wchar_t* cls, const wchar_t* text, DWORD style,
                            int id) {
    HWND hwnd = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10,
                                window_.Get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return hwnd;
  };
  tabs_ = child(0, WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, kTabsId);
  files_ = ScriptFiles(selection_, NewSetupVersion(LocalNow(), ""));
  SetTabs();
  // Read-only but selectable and copyable; the highlight stays visible when the
  // focus is elsewhere.
  text_ = child(WS_EX_CLIENTEDGE, WC_EDITW, L"",
                WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_NOHIDESEL |
                    ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                kTextId);
  SendMessageW(text_, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.Get()), FALSE);
  SendMessageW(text_, EM_SETLIMITTEXT, 0, 0);
  status_ = child(0, WC_STATICW, L"", SS_LEFTNOWORDWRAP | SS_CENTERIMAGE, kStatusId);
  save_ = child(0, WC_BUTTONW, L"Сохранить как...", WS_TABSTOP | BS_PUSHBUTTON, kSaveId);
}

void Preview::Place(HWND owner, const RECT& pages) {
  RECT main;
  GetWindowRect(owner, &main);
  const RECT work = WorkArea(owner);
  RECT place, seen;
  if (place_ && IntersectRect(&seen, &*place_, &work)) {
    place = *place_;
  } else {
    const bool moves = !IsZoomed(owner) && !IsIconic(owner);
    const PreviewPlace placed =
        PlacePreview(work, main, pages, {Scale(kWidth), main.bottom - main.top}, least_, moves);
    if (!EqualRect(&placed.window, &main))
      SetWindowPos(owner, nullptr, placed.window.left, placed.window.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    place = placed.preview;
  }
  SetWindowPos(window_.Get(), nullptr, place.left, place.top,
               std::max(least_.cx, place.right - place.left),
               std::max(least_.cy, place.bottom - place.top), SWP_NOZORDER | SWP_NOACTIVATE);
}

void Preview::Arrange() {
  RECT client;
  GetClientRect(window_.Get(), &client);
  const int margin = Scale(kMargin), buttonWidth = Scale(kButtonWidth);
  const int buttonHeight = Scale(kButtonHeight);
  const int bottom = client.bottom - margin - buttonHeight;
  RECT tab = {0, 0, 0, 0};
  SendMessageW(tabs_, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
  const int tabsHeight = tab.bottom + 2;
  MoveWindow(tabs_, margin, margin, client.right - 2 * margin, tabsHeight, TRUE);
  MoveWindow(text_, margin, margin + tabsHeight, client.right - 2 * margin,
             bottom - margin - margin - tabsHeight, TRUE);
  MoveWindow(status_, margin, bottom, client.right - 3 * margin - buttonWidth, buttonHeight, TRUE);
  MoveWindow(save_, client.right - margin - buttonWidth, bottom, buttonWidth, buttonHeight, TRUE);
}

void Preview::SetTabs() {
  SendMessageW(tabs_, TCM_DELETEALLITEMS, 0, 0);
  for (std::size_t i = 0; i < files_.size(); ++i) {
    std::wstring name = Widen(files_[i].name);
    TCITEMW tab = {};
    tab.mask = TCIF_TEXT;
    tab.pszText = &name[0];
    SendMessageW(tabs_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&tab));
  }
}

std::vector<std::wstring> Preview::FileNames() const {
  std::vector<std::wstring> names;
  for (const ScriptFile& file : files_) names.push_back(Widen(file.name));
  return names;
}

int Preview::FileOf(ControlRef control) const {
  if (BlockOf(files_[static_cast<std::size_t>(shown_)], control)) return shown_;
  for (std::size_t i = 0; i < files_.size(); ++i)
    if (BlockOf(files_[i], control)) return static_cast<int>(i);
  return shown_;
}

void Preview::Update(std::optional<ControlRef> control) {
  if (!window_.Get()) return;
  // The every-user files come and go with their option: the tabs follow.
  const std::vector<std::wstring> before = FileNames();
  files_ = ScriptFiles(selection_, NewSetupVersion(LocalNow(), ""));
  if (FileNames() != before) SetTabs();
  if (static_cast<std::size_t>(shown_) >= files_.size()) shown_ = 0;
  // The file that holds the control's block is the one to look at.
  if (control) shown_ = FileOf(*control);
  Show(control);
}

void Preview::Highlight(ControlRef control) {
  if (!window_.Get()) return;
  shown_ = FileOf(control);
  Show(control);
}

void Preview::ShowFile(int file) {
  if (!window_.Get() || file == shown_ || file < 0 ||
      static_cast<std::size_t>(file) >= files_.size())
    return;
  shown_ = file;
  shownText_.clear();
  Show(std::nullopt);
  SendMessageW(text_, EM_LINESCROLL, 0, -SendMessageW(text_, EM_GETFIRSTVISIBLELINE, 0, 0));
}

void Preview::Show(std::optional<ControlRef> control) {
  SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(shown_), 0);
  const ScriptFile& file = files_[static_cast<std::size_t>(shown_)];
  const std::u16string converted = Cp1251ToUtf16(file.bytes);
  const std::wstring text(converted.begin(), converted.end());
  // Drawn once, when everything is in place: no flicker, the scroll kept.
  SendMessageW(text_, WM_SETREDRAW, FALSE, 0);
  if (text != shownText_) {
    const LRESULT first = SendMessageW(text_, EM_GETFIRSTVISIBLELINE, 0, 0);
    SetWindowTextW(text_, text.c_str());
    SendMessageW(text_, EM_LINESCROLL, 0, first);
    shownText_ = text;
  }
  const BlockMark* block = control ? BlockOf(file, *control) : nullptr;
  if (block) {
    SendMessageW(text_, EM_SETSEL, block->begin, block->end);
    // Into view, with a few lines of what comes before it.
    RECT client;
    GetClientRect(text_, &client);
    TEXTMETRICW metrics;
    {
      const WindowDc dc(text_);
      const SelectedObject font(dc.Get(), textFont_.Get());
      GetTextMetricsW(dc.Get(), &metrics);
    }
    const LRESULT visible =
        std::max<LRESULT>(1, client.bottom / std::max<LONG>(1, metrics.tmHeight));
    const LRESULT top = SendMessageW(text_, EM_GETFIRSTVISIBLELINE, 0, 0);
    const LRESULT from = SendMessageW(text_, EM_LINEFROMCHAR, block->begin, 0);
    const LRESULT to = SendMessageW(text_, EM_LINEFROMCHAR, block->end > 0 ? block->end - 1 : 0, 0);
    if (from < top || to >= top + visible)
      SendMessageW(text_, EM_LINESCROLL, 0, std::max<LRESULT>(0, from - 3) - top);
  } else if (control) {
    SendMessageW(text_, EM_SETSEL, 0, 0);
  }
  SendMessageW(text_, WM_SETREDRAW, TRUE, 0);
  RedrawWindow(text_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);

  const std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), L'\n'));
  const std::wstring status = Widen(file.name) + L": строк: " + Grouped(lines) + L", байт: " +
                              Grouped(file.bytes.size()) + L" (Windows-1251)";
  SetWindowTextW(status_, status.c_str());
}

bool Preview::SaveTo(const std::string& path, std::string& reason) const {
  return WriteFileAtomically(path, files_[static_cast<std::size_t>(shown_)].bytes, reason);
}

void Preview::SaveAs() {
  // The common dialogs are loaded only for this.
  HMODULE dialogs = LoadSystemLibrary(L"comdlg32.dll");
  using SaveFn = BOOL(WINAPI*)(OPENFILENAMEW*);
  const auto save = dialogs ? reinterpret_cast<SaveFn>(reinterpret_cast<void (*)()>(
                                  GetProcAddress(dialogs, "GetSaveFileNameW")))
                            : nullptr;
  if (!save) return;
  wchar_t path[MAX_PATH] = {};
  lstrcpynW(path, Widen(files_[static_cast<std::size_t>(shown_)].name).c_str(), MAX_PATH);
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window_.Get();
  dialog.lpstrFilter = L"Файлы реестра (*.reg)\0*.reg\0Все файлы (*.*)\0*.*\0";
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrDefExt = L"reg";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  if (!save(&dialog)) return;
  std::string reason;
  if (!SaveTo(Narrow(path), reason))
    MessageBoxW(
        window_.Get(),
        (L"Не удалось записать файл реестра\n" + std::wstring(path) + L"\n\n" + Widen(reason))
            .c_str(),
        L"Kwetro", MB_OK | MB_ICONERROR);
}

bool Preview::PreTranslate(MSG& msg) {
  if (!window_.Get() || GetAncestor(msg.hwnd, GA_ROOT) != window_.Get()) return false;
  if (const int step = PageKey(msg)) {
    const int count = static_cast<int>(files_.size());
    ShowFile((shown_ + (step > 0 ? 1 : count - 1)) % count);
    return true;
  }
  if (msg.message == WM_KEYDOWN && (msg.wParam == VK_ESCAPE || msg.wParam == VK_F4)) {
    Close();
    return true;
  }
  if (PressFocusedButton(msg)) return true;
  return IsDialogMessageW(window_.Get(), &msg) != FALSE;
}

std::wstring Preview::Text() const {
  if (!text_) return {};
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(text_)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(text_, &text[0], static_cast<int>(text.size()))));
  return text;
}

void Preview::RememberPlace(HWND hwnd) {
  // Opened again while the program runs, it comes back where it was.
  WINDOWPLACEMENT placement = {sizeof placement, 0, 0, {}, {}, {}};
  RECT r;
  if (IsIconic(hwnd) || IsZoomed(hwnd)) {
    GetWindowPlacement(hwnd, &placement);
    r = placement.rcNormalPosition;
  } else {
    GetWindowRect(hwnd, &r);
  }
  place_ = r;
}

void Preview::Closed() {
  window_.Forget();
  tabs_ = text_ = status_ = save_ = nullptr;
  shownText_.clear();
  if (onPlaced) onPlaced();
}

LRESULT CALLBACK Preview::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrW(
        hwnd, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  auto* self = reinterpret_cast<Preview*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_SIZE:
      if (self->tabs_) self->Arrange();
      return 0;
    case WM_WINDOWPOSCHANGED:
      if (self->onPlaced) self->onPlaced();
      break;
    case WM_GETMINMAXINFO:
      if (self->least_.cx)
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {self->least_.cx, self->least_.cy};
      return 0;
    case WM_NOTIFY:
      if (reinterpret_cast<NMHDR*>(lParam)->code == TCN_SELCHANGE)
        self->ShowFile(static_cast<int>(SendMessageW(self->tabs_, TCM_GETCURSEL, 0, 0)));
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kSaveId && HIWORD(wParam) == BN_CLICKED) self->SaveAs();
      return 0;
    case WM_NEXTDLGCTL:
      MoveDialogFocus(hwnd, wParam, lParam);
      return 0;
    case WM_DESTROY:
      self->RememberPlace(hwnd);
      break;
    case WM_NCDESTROY:
      self->Closed();
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace kwetro::win32
