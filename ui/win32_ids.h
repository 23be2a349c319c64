// Identifiers shared by the parts of the main window.
#pragma once

#include <windows.h>

namespace kwetro::win32 {

// A component's child-window identifier is this plus its index in the
// component list, so that notifications name the component directly.
constexpr int kFirstComponentId = 100;
// The two buttons of the OK/Cancel bar.
constexpr int kOkButtonId = 0x7F01;
constexpr int kCancelButtonId = 0x7F02;

constexpr UINT_PTR kHousekeepingTimerId = 1;  // Timer1
constexpr UINT_PTR kCountdownTimerId = 2;     // Timer2

// Posted once the window is shown, to run the activation steps.
constexpr UINT kActivateMessage = WM_APP + 1;

// Window property that keeps the services list's own window procedure.
constexpr const wchar_t* kBaseProcProperty = L"KwetroBaseProc";

}  // namespace kwetro::win32
