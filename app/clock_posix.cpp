#include <ctime>

#include "app/all_users.h"

namespace kwetro {

std::tm LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

}  // namespace kwetro
