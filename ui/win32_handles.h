// Handles that close themselves: a font, brush, device context or window
// owned by one object and released when it goes.
#pragma once

#include <windows.h>

#include <utility>

namespace kwetro::win32 {

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
  // Lets go of a handle that was closed elsewhere (a window the user closed).
  void Release() { handle_ = nullptr; }
  void Reset(Handle handle = nullptr) {
    if (handle_) Close()(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

struct CloseGdiObject {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct CloseDc {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct CloseWindow {
  void operator()(HWND hwnd) const {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }
};

using UniqueFont = Unique<HFONT, CloseGdiObject>;
using UniqueBrush = Unique<HBRUSH, CloseGdiObject>;
using UniqueDc = Unique<HDC, CloseDc>;
using UniqueWindow = Unique<HWND, CloseWindow>;

}  // namespace kwetro::win32
