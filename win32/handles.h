// Handles that close themselves, one owner for each kind the program holds:
// files and processes, registry keys (win32/registry_key.h opens, reads and
// writes them), fonts, brushes and pens, memory device contexts, windows, pop-up
// menus and memory the system allocated for us; and the three borrowed uses
// of a device context, a window's context taken with GetDC, the one a
// window paints with between BeginPaint and EndPaint, and an object selected
// into a context for a while. No handle of these kinds is closed by hand
// anywhere else.
#pragma once

#include <windows.h>

#include <utility>

namespace kwetro {

template <typename Handle, typename Close>
class Unique {
 public:
  Unique() = default;
  explicit Unique(Handle handle) : handle_(handle) {}
  ~Unique() { Reset(); }
  Unique(Unique&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Unique& operator=(Unique&& other) noexcept {
    Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;

  Handle Get() const { return handle_; }
  // Forgets a handle that was closed elsewhere (a window the user closed),
  // without closing it.
  void Forget() { handle_ = nullptr; }
  void Reset(Handle handle = nullptr) {
    if (handle_) Close()(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

struct CloseKernelObject {
  // CreateFile reports failure with INVALID_HANDLE_VALUE, not with null.
  void operator()(HANDLE handle) const {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};
struct CloseRegistryKey {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
struct DeleteGdiObject {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DeleteMemoryDc {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct DestroyLiveWindow {
  void operator()(HWND hwnd) const {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }
};
struct DestroyPopupMenu {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct FreeLocalMemory {
  void operator()(HLOCAL memory) const { LocalFree(memory); }
};

using UniqueHandle = Unique<HANDLE, CloseKernelObject>;  // a file, process or thread
using UniqueKey = Unique<HKEY, CloseRegistryKey>;
using UniqueFont = Unique<HFONT, DeleteGdiObject>;
using UniqueBrush = Unique<HBRUSH, DeleteGdiObject>;
using UniquePen = Unique<HPEN, DeleteGdiObject>;
using UniqueDc = Unique<HDC, DeleteMemoryDc>;  // from CreateCompatibleDC
using UniqueWindow = Unique<HWND, DestroyLiveWindow>;
using UniqueMenu = Unique<HMENU, DestroyPopupMenu>;  // from CreatePopupMenu
// What FormatMessage or ConvertSidToStringSid allocated for the caller.
using UniqueLocal = Unique<HLOCAL, FreeLocalMemory>;

// A window's device context, borrowed from the window and given back.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC Get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// A window's painting: the context BeginPaint gives, and EndPaint when the
// scope ends.
class WindowPaint {
 public:
  explicit WindowPaint(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
  ~WindowPaint() { EndPaint(hwnd_, &paint_); }
  WindowPaint(const WindowPaint&) = delete;
  WindowPaint& operator=(const WindowPaint&) = delete;

  HDC Get() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_ = {};
  HDC dc_;
};

// A font or other object selected into a device context until the end of
// the scope, when the object it replaced is selected again.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), replaced_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (replaced_) SelectObject(dc_, replaced_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ replaced_;
};

}  // namespace kwetro
