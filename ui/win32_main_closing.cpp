// Closing the window without losing work: Cancel, the close box and Alt+F4
// ask before the choices made since the last Apply are dropped. A deployed
// copy closes as it always has: its Cancel removes it, and nobody may be
// there to answer.
// clang-format off
#include <windows.h>  // before every other Windows header
// clang-format on

#include "app/win32_text.h"
#include "ui/win32_main_window.h"

namespace kwetro::win32 {

bool MainWindow::ReadyToClose() {
  if (run_.IsDeploymentMode() || parts_.selection == applied_) return true;
  const std::wstring question =
      Widen(parts_.Item(parts_.Object(WindowObject::kButtons)).Text("CloseQuestion"));
  const int answer = onChoice
                         ? onChoice(question)
                         : MessageBoxW(parts_.main, question.c_str(), parts_.Native(0).text.c_str(),
                                       MB_YESNOCANCEL | MB_ICONQUESTION);
  // Да writes first; a failure (already shown) keeps the window open.
  if (answer == IDYES) return run_.Apply();
  return answer == IDNO;
}

}  // namespace kwetro::win32
