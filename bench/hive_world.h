// The XP system drive the hive benchmarks work on: the tests' drive
// (tests/support/xp_image.h) with three profiles, its hives grown to the
// sizes of a system that has been used for years: software 20 MB, system
// 6 MB, each NTUSER.DAT 2 MB, default 1 MB. The keys that grow them stand
// below a key of their own, beside those the scripts write, vendor by
// vendor, product by product, with the values a program leaves.
#pragma once

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "support/xp_image.h"

namespace kwetro::bench {

inline std::uint64_t FileBytes(const std::string& path) {
  struct stat s {};
  return stat(path.c_str(), &s) == 0 ? static_cast<std::uint64_t>(s.st_size) : 0;
}

// Adds keys to the hive until it is about bytes long.
inline void GrowHive(const std::string& path, std::uint64_t bytes) {
  std::string reason;
  const auto add = [&](int from, int to) {
    auto hive = offline::Hive::Open(path, true, reason);
    if (!hive) throw std::runtime_error(path + ": " + reason);
    offline::Hive::Node top = hive->Child(hive->Root(), u"Filler");
    if (!top) top = hive->AddChild(hive->Root(), u"Filler", reason);
    for (int v = from; v < to; ++v) {
      char name[32];
      std::snprintf(name, sizeof name, "Vendor%05d", v);
      const offline::Hive::Node vendor = hive->AddChild(top, offline::Utf8ToUtf16(name), reason);
      for (int p = 0; p < 20; ++p) {
        std::snprintf(name, sizeof name, "Product%02d", p);
        const offline::Hive::Node product =
            hive->AddChild(vendor, offline::Utf8ToUtf16(name), reason);
        const std::vector<offline::Hive::Value> values = {
            {u"", testing::Text(u"A product of a vendor, with a description")},
            {u"InstallPath", testing::Text(u"%ProgramFiles%\\Vendor\\Product\\bin", 2)},
            {u"Version", testing::Dword(static_cast<std::uint32_t>(v * 100 + p))},
            {u"Flags", testing::Dword(3)},
            {u"Settings", {3, std::string(96, static_cast<char>(p))}},
            {u"Language", testing::Text(u"ru-RU")}};
        if (!vendor || !product || !hive->SetValues(product, values, reason))
          throw std::runtime_error(path + ": " + reason);
      }
    }
    if (!hive->Commit(path, reason)) throw std::runtime_error(path + ": " + reason);
  };
  // Each vendor costs more than the one before (libhivex writes the list of
  // the vendors anew each time): half the way at a time.
  const std::uint64_t start = FileBytes(path);
  int vendors = 10;
  add(0, vendors);
  const std::uint64_t per = (FileBytes(path) - start) / 10 + 1;
  while (FileBytes(path) + per < bytes) {
    const int more = std::max(1, static_cast<int>((bytes - FileBytes(path)) / per / 2));
    add(vendors, vendors + more);
    vendors += more;
  }
}

inline constexpr std::uint64_t kMB = 1 << 20;

inline void MakeBenchImage(const std::string& root) {
  testing::MakeXpImage(root, {{"User1"}, {"User2"}, {"User3"}});
  const std::string config = root + "/Windows/System32/config/";
  GrowHive(config + "software", 20 * kMB);
  GrowHive(config + "system", 6 * kMB);
  GrowHive(config + "default", 1 * kMB);
  for (const char* user : {"User1", "User2", "User3"})
    GrowHive(root + "/Documents and Settings/" + user + "/NTUSER.DAT", 2 * kMB);
}

}  // namespace kwetro::bench
