#include "offline/hive_header.h"

namespace kwetro::offline {
namespace {

constexpr std::size_t kChecksummed = 508;  // the checksum covers the bytes before it

std::uint32_t Word(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 4; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

bool ChecksumHolds(std::string_view bytes) {
  std::uint32_t sum = 0;
  for (std::size_t at = 0; at < kChecksummed; at += 4) sum ^= Word(bytes, at);
  const std::uint32_t stored = Word(bytes, kChecksummed);
  // Windows stores 1 for a sum of 0 and ~1 for all ones; other writers may not.
  return stored == sum || (sum == 0 && stored == 1) || (sum == 0xFFFFFFFF && stored == 0xFFFFFFFE);
}

}  // namespace

HiveHeader ReadHiveHeader(std::string_view bytes) {
  HiveHeader header;
  if (bytes.size() < kHeaderBytes || bytes.substr(0, 4) != "regf") {
    header.what = "not a registry hive (no \"regf\" header)";
    return header;
  }
  const std::uint32_t major = Word(bytes, 20), type = Word(bytes, 28);
  if (major != 1 || type != 0) {
    header.what = type != 0 ? "a transaction log, not a registry hive"
                            : "a registry hive of an unknown version " + std::to_string(major);
    return header;
  }
  header.sequence = Word(bytes, 8);
  header.written = Word(bytes, 12) | std::uint64_t{Word(bytes, 16)} << 32;
  if (!ChecksumHolds(bytes)) {
    header.state = HiveHeader::State::kUnfinishedWrite;
    header.what = "the checksum of its header is wrong: Windows was stopped while writing it";
  } else if (Word(bytes, 4) != Word(bytes, 8)) {
    header.state = HiveHeader::State::kUnfinishedWrite;
    header.what = "its sequence numbers differ (" + std::to_string(Word(bytes, 4)) + ", " +
                  std::to_string(Word(bytes, 8)) +
                  "): Windows was stopped in the middle of a write, which its log would finish "
                  "at the next start";
  } else {
    header.state = HiveHeader::State::kClean;
  }
  return header;
}

bool LogHoldsNewerWrite(std::string_view logBytes, const HiveHeader& hive, std::string& what) {
  // Windows writes a log's first sector only (512 bytes at the least).
  if (logBytes.size() < 512 || logBytes.substr(0, 4) != "regf") return false;
  const std::uint32_t type = Word(logBytes, 28);
  if (type != 1 && type != 2 && type != 6) return false;
  if (!ChecksumHolds(logBytes) || Word(logBytes, 4) != Word(logBytes, 8)) return false;
  const std::uint32_t sequence = Word(logBytes, 8);
  if (sequence <= hive.sequence) return false;
  // Windows applies an old-format log only to the hive written at its time.
  if (type != 6 && (Word(logBytes, 12) | std::uint64_t{Word(logBytes, 16)} << 32) != hive.written)
    return false;
  what = "its transaction log holds a write (" + std::to_string(sequence) +
         ") newer than the hive's last one (" + std::to_string(hive.sequence) +
         "): Windows was not shut down cleanly";
  return true;
}

}  // namespace kwetro::offline
