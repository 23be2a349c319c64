// The list an apply leaves beside its copies of the hives, which undo reads:
// for each hive it replaced, where the hive is (below the drive's folder),
// where its copy is, and the fingerprints of the hive before and after, so
// that undo can tell a hive the apply left from one changed since.
#pragma once

#include <string>
#include <vector>

namespace kwetro::offline {

struct BackupEntry {
  std::string hive;    // below the drive's folder
  std::string copy;    // below the folder of the list
  std::string before;  // Fingerprint of the hive before the apply, and of the copy
  std::string after;   // of the hive the apply wrote
};

inline constexpr char kBackupListName[] = "kwetro-backups.txt";

std::string FormatBackupList(const std::vector<BackupEntry>& entries);
// False when the text is not such a list.
bool ParseBackupList(const std::string& text, std::vector<BackupEntry>& entries);

}  // namespace kwetro::offline
