// The types of registry values that the scripts write and the readers of
// registry files and hives meet, by their numbers in the registry. Other
// types keep their number as it stands (hex(N) of a file).
#pragma once

#include <cstdint>

namespace kwetro::undo {

inline constexpr std::uint32_t kRegSz = 1;        // a string ("text")
inline constexpr std::uint32_t kRegExpandSz = 2;  // hex(2): a string with %variables%
inline constexpr std::uint32_t kRegBinary = 3;    // hex:
inline constexpr std::uint32_t kRegDword = 4;     // dword:
inline constexpr std::uint32_t kRegMultiSz = 7;   // hex(7): strings, each ended by a NUL

}  // namespace kwetro::undo
