// The first block of a hive file and of its transaction logs, judged before
// the hive is read or written: whether it is a hive at all, and whether
// Windows left it in the middle of a write. A hive whose last write did not
// end (its two sequence numbers differ, or the block's checksum is wrong) or
// whose log holds a write the hive lacks is what a machine leaves when it is
// switched off while running; Windows would mend it from the log at the next
// start, and a change made to it now would be lost or would damage it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kwetro::offline {

// The bytes of the first block that are read; a file shorter than that is
// not a hive.
constexpr std::size_t kHeaderBytes = 4096;

struct HiveHeader {
  enum class State { kClean, kNotHive, kUnfinishedWrite };
  State state = State::kNotHive;
  std::uint32_t sequence = 0;  // of the last write that ended
  std::uint64_t written = 0;   // the time of the last write (FILETIME)
  std::string what;            // for kNotHive and kUnfinishedWrite, in words
};

// The header of a hive file (its first bytes, up to kHeaderBytes).
HiveHeader ReadHiveHeader(std::string_view bytes);

// Whether a transaction log (its first bytes) holds a write newer than the
// hive's last one; what says which, in words. An empty log, or one Windows
// would not use (not a log, a log whose own write did not end, a log of the
// old format written at another time than the hive, which is left over from
// an earlier write), holds none.
bool LogHoldsNewerWrite(std::string_view logBytes, const HiveHeader& hive, std::string& what);

}  // namespace kwetro::offline
