// The layout built into the program: the RCDATA resource TFORM1, stored with
// every byte raised by one.
#pragma once

#include <string_view>

namespace kwetro {

std::string_view StoredLayout();

}  // namespace kwetro
