// A Windows XP system drive made for a test: hive files built from an empty
// hive (a header, one bin, a root key) through libhivex, in the folders XP
// keeps them in, with the keys the engine looks for (Select, ProfileList) and
// a few of its own, so that what an apply adds can be told from what was.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "offline/hive_file.h"
#include "support/files.h"

namespace kwetro::testing {

inline void PutWord(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
}

// The header's checksum: the XOR of its first 127 words.
inline void Checksum(std::string& bytes) {
  std::uint32_t sum = 0;
  for (std::size_t at = 0; at < 508; at += 4) {
    std::uint32_t word = 0;
    for (int i = 3; i >= 0; --i)
      word = word << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    sum ^= word;
  }
  PutWord(bytes, 508, sum);
}

// A hive with its root key and nothing else: the header (version 1.3, as XP
// writes), one bin of 4 KiB holding the root key, its security cell (an
// empty self-relative descriptor) and a free cell for the rest.
inline std::string EmptyHive() {
  std::string b(0x2000, '\0');
  b.replace(0, 4, "regf");
  for (std::size_t at : {4u, 8u, 20u, 32u, 44u}) PutWord(b, at, 1);
  PutWord(b, 24, 3);
  PutWord(b, 36, 0x20);    // the root key's cell
  PutWord(b, 40, 0x1000);  // the bins' size
  Checksum(b);
  const std::size_t bin = 0x1000, key = bin + 0x20, keySize = 96, sk = key + keySize, skSize = 48;
  b.replace(bin, 4, "hbin");
  PutWord(b, bin + 8, 0x1000);
  PutWord(b, key, static_cast<std::uint32_t>(-static_cast<std::int32_t>(keySize)));
  b.replace(key + 4, 2, "nk");
  b[key + 6] = 0x2C;  // the hive's entry, not to be deleted, an ASCII name
  for (std::size_t field : {16u, 28u, 32u, 40u, 48u}) PutWord(b, key + 4 + field, 0xFFFFFFFF);
  PutWord(b, key + 4 + 44, static_cast<std::uint32_t>(sk - bin));
  b[key + 4 + 72] = 12;
  b.replace(key + 4 + 76, 12, "$$$PROTO.HIV");
  PutWord(b, sk, static_cast<std::uint32_t>(-static_cast<std::int32_t>(skSize)));
  b.replace(sk + 4, 2, "sk");
  PutWord(b, sk + 8, static_cast<std::uint32_t>(sk - bin));
  PutWord(b, sk + 12, static_cast<std::uint32_t>(sk - bin));
  PutWord(b, sk + 16, 1);
  PutWord(b, sk + 20, 20);
  b[sk + 24] = 1;
  b[sk + 27] = static_cast<char>(0x80);  // self-relative
  PutWord(b, sk + skSize, static_cast<std::uint32_t>(0x2000 - sk - skSize));
  return b;
}

inline machine::RegData Dword(std::uint32_t n) {
  std::string bytes(4, '\0');
  PutWord(bytes, 0, n);
  return {4, bytes};
}

inline machine::RegData Text(std::u16string_view text, std::uint32_t type = 1) {
  machine::RegData data{type, {}};
  for (char16_t c : text) data.bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  data.bytes.append(2, '\0');
  return data;
}

// A key made in a hive, with values.
struct HiveKey {
  std::u16string path;
  std::vector<offline::Hive::Value> values;
};

// Writes an empty hive to path, then the keys.
inline void MakeHive(const std::string& path, const std::vector<HiveKey>& keys) {
  WriteBytes(path, EmptyHive());
  std::string reason;
  auto hive = offline::Hive::Open(path, true, reason);
  if (!hive) throw std::runtime_error(path + ": " + reason);
  for (const HiveKey& key : keys) {
    offline::Hive::Node node = hive->Root();
    std::u16string_view rest = key.path;
    for (std::u16string_view c; undo::NextComponent(rest, c);) {
      const offline::Hive::Node child = hive->Child(node, c);
      node = child ? child : hive->AddChild(node, c, reason);
    }
    if (!key.values.empty() && !hive->SetValues(node, key.values, reason))
      throw std::runtime_error(path + ": " + reason);
  }
  if (!hive->Commit(path, reason)) throw std::runtime_error(path + ": " + reason);
}

struct XpProfile {
  std::string folder;  // below Documents and Settings
  std::string hiveName = "NTUSER.DAT";
};

// The drive: WINDOWS (spelt Windows), system32/config (spelt System32) with
// system, software and default; Documents and Settings with the Default
// User's and each profile's NTUSER.DAT, named in ProfileList under SIDs
// S-1-5-21-...-1000, 1001, ... (and the local service's, which apply leaves
// alone). The current control set is currentSet; ControlSet001 and 002 both
// exist.
inline void MakeXpImage(const std::string& root, const std::vector<XpProfile>& profiles,
                        int currentSet = 1) {
  namespace fs = std::filesystem;
  const fs::path config = fs::path(root) / "Windows" / "System32" / "config";
  const fs::path documents = fs::path(root) / "Documents and Settings";
  fs::create_directories(config);
  const std::vector<offline::Hive::Value> service = {{u"Start", Dword(3)}, {u"Type", Dword(32)}};
  std::vector<HiveKey> system = {{u"Select",
                                  {{u"Current", Dword(static_cast<std::uint32_t>(currentSet))},
                                   {u"Default", Dword(static_cast<std::uint32_t>(currentSet))},
                                   {u"LastKnownGood", Dword(2)}}},
                                 {u"MountedDevices", {}}};
  for (const char16_t* set : {u"ControlSet001", u"ControlSet002"}) {
    const std::u16string s = set;
    system.push_back({s + u"\\Services\\Alerter", service});
    system.push_back({s + u"\\Services\\Messenger", service});
    system.push_back({s + u"\\Control\\CrashControl", {{u"CrashDumpEnabled", Dword(1)}}});
    system.push_back({s + u"\\Hardware Profiles\\Current", {}});
  }
  MakeHive((config / "system").string(), system);

  std::vector<HiveKey> software = {
      {u"Microsoft\\Windows\\CurrentVersion\\Explorer", {{u"Keep", Text(u"me")}}},
      {u"Classes\\.txt", {{u"", Text(u"txtfile")}}},
      {u"Microsoft\\Windows NT\\CurrentVersion\\ProfileList",
       {{u"ProfilesDirectory", Text(u"%SystemDrive%\\Documents and Settings", 2)},
        {u"DefaultUserProfile", Text(u"Default User")},
        {u"AllUsersProfile", Text(u"All Users")}}},
      {u"Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-19",
       {{u"ProfileImagePath", Text(u"%SystemDrive%\\Documents and Settings\\LocalService", 2)}}}};
  const std::vector<HiveKey> user = {
      {u"Control Panel\\Desktop", {{u"Wallpaper", Text(u"")}, {u"MenuShowDelay", Text(u"400")}}},
      {u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Favorites", {}}};
  fs::create_directories(documents / "Default User");
  MakeHive((documents / "Default User" / "NTUSER.DAT").string(), user);
  fs::create_directories(documents / "LocalService");
  MakeHive((documents / "LocalService" / "NTUSER.DAT").string(), user);
  for (std::size_t i = 0; i < profiles.size(); ++i) {
    const std::u16string sid = u"S-1-5-21-1-2-3-" + offline::Utf8ToUtf16(std::to_string(1000 + i));
    software.push_back({u"Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\" + sid,
                        {{u"ProfileImagePath", Text(u"%SystemDrive%\\Documents and Settings\\" +
                                                        offline::Utf8ToUtf16(profiles[i].folder),
                                                    2)}}});
    fs::create_directories(documents / profiles[i].folder);
    MakeHive((documents / profiles[i].folder / profiles[i].hiveName).string(), user);
  }
  MakeHive((config / "software").string(), software);
  MakeHive((config / "default").string(), user);
}

}  // namespace kwetro::testing
