#include "offline/backup_list.h"

#include <sstream>

namespace kwetro::offline {
namespace {

constexpr char kFirstLine[] = "Kwetro hive backups 1";

}  // namespace

std::string FormatBackupList(const std::vector<BackupEntry>& entries) {
  std::string text = std::string(kFirstLine) + "\n";
  for (const BackupEntry& e : entries)
    text += e.hive + "\t" + e.copy + "\t" + e.before + "\t" + e.after + "\n";
  return text;
}

bool ParseBackupList(const std::string& text, std::vector<BackupEntry>& entries) {
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kFirstLine) return false;
  while (std::getline(in, line)) {
    std::vector<std::string> fields(1);
    for (char c : line) {
      if (c == '\t')
        fields.emplace_back();
      else
        fields.back() += c;
    }
    if (fields.size() != 4 || fields[0].empty() || fields[1].empty()) return false;
    entries.push_back({fields[0], fields[1], fields[2], fields[3]});
  }
  return true;
}

}  // namespace kwetro::offline
