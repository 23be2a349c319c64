// The clock from the system itself: the C runtime's 64-bit time functions
// are not in every msvcrt.dll a Windows XP may have.
#include <windows.h>

#include "app/all_users.h"

namespace kwetro {

std::tm LocalNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  std::tm local{};
  local.tm_year = now.wYear - 1900;
  local.tm_mon = now.wMonth - 1;
  local.tm_mday = now.wDay;
  local.tm_hour = now.wHour;
  local.tm_min = now.wMinute;
  local.tm_sec = now.wSecond;
  return local;
}

}  // namespace kwetro
