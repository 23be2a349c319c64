#include "offline/image.h"

#include <algorithm>
#include <cstdio>

#include "machine/machine.h"
#include "offline/files.h"
#include "offline/hive_header.h"
#include "options/text_encoding.h"
#include "undo/reg_names.h"

namespace kwetro::offline {
namespace {

constexpr char16_t kProfileList[] = u"Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

std::string Relative(const Image& image, const std::string& path) {
  return path.size() > image.root.size() && path.compare(0, image.root.size(), image.root) == 0
             ? path.substr(image.root.size() + (image.root.back() == '/' ? 0 : 1))
             : path;
}

std::u16string StringValue(const std::vector<Hive::Value>& values, std::u16string_view name) {
  for (const Hive::Value& v : values)
    if (undo::EqualsIgnoringCase(v.name, name))
      if (const auto text = machine::StringOf(v.data)) return *text;
  return {};
}

// A Windows path of the running system as a path below the drive's folder
// ('/' separated, UTF-8); empty when it names a variable this cannot know.
std::string OnDrive(const Image& image, std::u16string path) {
  const struct {
    std::u16string_view variable;
    std::string replacement;
  } known[] = {
      {u"%SystemDrive%", ""}, {u"%SystemRoot%", image.windows}, {u"%windir%", image.windows}};
  for (const auto& k : known) {
    if (path.size() >= k.variable.size() &&
        undo::EqualsIgnoringCase(std::u16string_view(path).substr(0, k.variable.size()),
                                 k.variable)) {
      path = Utf8ToUtf16(k.replacement) + path.substr(k.variable.size());
      break;
    }
  }
  if (path.size() >= 2 && path[1] == u':') path.erase(0, 2);
  if (path.find(u'%') != std::u16string::npos) return {};
  std::string relative = Utf16ToUtf8(path);
  for (char& c : relative)
    if (c == '\\') c = '/';
  // Never out of the drive, whatever its registry says.
  if (("/" + relative + "/").find("/../") != std::string::npos) return {};
  return relative.substr(std::min(relative.find_first_not_of('/'), relative.size()));
}

bool Chosen(const std::vector<std::string>& chosen, const std::string& name,
            std::vector<bool>& used) {
  if (chosen.empty()) return true;
  bool found = false;
  for (std::size_t i = 0; i < chosen.size(); ++i)
    if (undo::EqualsIgnoringCase(Utf8ToUtf16(chosen[i]), Utf8ToUtf16(name))) found = used[i] = true;
  return found;
}

// A profile of ProfileList, or the Default User.
struct Profile {
  std::string name, where, sid;  // where: its folder below the drive's
  std::u16string written;        // ProfileImagePath as the registry holds it
};

// The Default User first, then every user's profile (a local or domain
// account's: S-1-5-21-...) that ProfileList names.
bool ReadProfiles(const Image& image, const Hive& software, std::vector<Profile>& profiles,
                  std::string& problem) {
  const Hive::Node list = software.Find(kProfileList);
  std::vector<Hive::Value> values;
  std::string reason;
  if (list && !software.Values(list, values, reason)) {
    problem = "cannot read ProfileList: " + reason;
    return false;
  }
  std::u16string directory = StringValue(values, u"ProfilesDirectory");
  std::u16string defaultUser = StringValue(values, u"DefaultUserProfile");
  if (directory.empty()) directory = u"%SystemDrive%\\Documents and Settings";
  if (defaultUser.empty()) defaultUser = u"Default User";
  profiles = {{kDefaultUser, OnDrive(image, directory + u"\\" + defaultUser), "", directory}};
  if (!list) return true;
  std::vector<Hive::Value> profile;
  for (const std::u16string& sid : software.Children(list)) {
    if (sid.rfind(u"S-1-5-21-", 0) != 0) continue;
    if (!software.Values(software.Child(list, sid), profile, reason)) {
      problem = "cannot read ProfileList\\" + Utf16ToUtf8(sid) + ": " + reason;
      return false;
    }
    const std::u16string written = StringValue(profile, u"ProfileImagePath");
    const std::string where = OnDrive(image, written);
    profiles.push_back({NameOf(where), where, Utf16ToUtf8(sid), written});
  }
  return true;
}

// The profile's NTUSER.DAT; false with the problem when its folder or hive is
// not on the drive (all: every profile was asked for, none by name).
bool HiveOf(const Image& image, const Profile& profile, bool all, HiveFile& hive,
            std::string& problem) {
  const std::string others = all ? ": choose the other profiles with --user NAME" : "";
  hive.kind = HiveKind::kUser;
  hive.label = profile.name;
  if (profile.where.empty()) {
    problem = "the profile " + (profile.sid.empty() ? profile.name : profile.sid) +
              " has the path \"" + Utf16ToUtf8(profile.written) +
              "\" in ProfileList, which names no folder of the drive" + others;
    return false;
  }
  const std::string folder = FindIgnoringCase(image.root, profile.where);
  hive.path = folder.empty() ? "" : FindIgnoringCase(folder, "NTUSER.DAT");
  if (hive.path.empty()) {
    problem = "the profile " +
              (profile.sid.empty() ? profile.name : profile.name + " (" + profile.sid + ")") +
              " has no " + Join(Join(image.root, profile.where), "NTUSER.DAT") + others;
    return false;
  }
  hive.relative = Relative(image, hive.path);
  return true;
}

}  // namespace

bool FindImage(const std::string& root, Image& image, std::string& problem) {
  image.root = root;
  image.config = FindIgnoringCase(root, "WINDOWS/system32/config");
  if (image.config.empty()) {
    problem = root +
              " holds no WINDOWS/system32/config: give the folder a Windows XP system drive "
              "is mounted at";
    return false;
  }
  image.windows = Relative(image, FindIgnoringCase(root, "WINDOWS"));
  const char* const names[] = {"system", "software", "default"};
  for (int i = 0; i < 3; ++i) {
    HiveFile& hive = image.machine[i];
    hive.kind = static_cast<HiveKind>(i);
    hive.label = names[i];
    hive.path = FindIgnoringCase(image.config, names[i]);
    if (hive.path.empty()) {
      problem = "the hive " + Join(image.config, names[i]) + " is missing";
      return false;
    }
    hive.relative = Relative(image, hive.path);
  }
  return true;
}

bool FindUserHives(const Image& image, const Hive& software, const std::vector<std::string>& chosen,
                   std::vector<HiveFile>& users, std::string& problem, bool& usage) {
  usage = false;
  std::vector<Profile> profiles;
  if (!ReadProfiles(image, software, profiles, problem)) return false;
  std::vector<bool> used(chosen.size());
  for (const Profile& profile : profiles) {
    if (!Chosen(chosen, profile.name, used)) continue;
    HiveFile hive;
    if (!HiveOf(image, profile, chosen.empty(), hive, problem)) return false;
    // Two entries of ProfileList may name one folder: its hive is written once.
    bool known = false;
    for (const HiveFile& u : users) known = known || u.path == hive.path;
    if (!known) users.push_back(std::move(hive));
  }
  for (std::size_t i = 0; i < chosen.size(); ++i) {
    if (used[i]) continue;
    std::string names;
    for (const Profile& profile : profiles) names += (names.empty() ? "" : ", ") + profile.name;
    problem = "no profile " + chosen[i] + " (the profiles: " + names + ")";
    usage = true;
    return false;
  }
  return true;
}

bool CheckHiveFile(const HiveFile& hive, std::string& problem) {
  std::string bytes, reason;
  if (!ReadStart(hive.path, kHeaderBytes, bytes, reason)) {
    problem = "cannot read the hive " + hive.path + ": " + reason;
    return false;
  }
  const HiveHeader header = ReadHiveHeader(bytes);
  if (header.state != HiveHeader::State::kClean) {
    problem = "the hive " + hive.path + " is refused: " + header.what;
    return false;
  }
  for (const char* suffix : {".LOG", ".LOG1", ".LOG2"}) {
    const std::string log = FindIgnoringCase(FolderOf(hive.path), NameOf(hive.path) + suffix);
    if (log.empty() || !ReadStart(log, 512, bytes, reason)) continue;
    std::string what;
    if (LogHoldsNewerWrite(bytes, header, what)) {
      problem = "the hive " + hive.path + " is refused: " + what + " (" + NameOf(log) +
                "); start that Windows once and shut it down, or let it mend the hive";
      return false;
    }
  }
  return true;
}

bool CurrentControlSet(const Hive& system, std::u16string& name, std::string& problem) {
  std::vector<Hive::Value> values;
  std::string reason;
  const Hive::Node select = system.Find(u"Select");
  std::optional<std::uint32_t> current;
  if (select && system.Values(select, values, reason))
    for (const Hive::Value& v : values)
      if (undo::EqualsIgnoringCase(v.name, u"Current")) current = machine::DwordOf(v.data);
  if (!current || *current == 0 || *current > 999) {
    problem = "Select\\Current names no control set";
    return false;
  }
  char text[16];
  std::snprintf(text, sizeof text, "ControlSet%03u", static_cast<unsigned>(*current));
  name = Utf8ToUtf16(text);
  if (system.Find(name)) return true;
  problem = "Select\\Current names " + std::string(text) + ", which the hive lacks";
  return false;
}

}  // namespace kwetro::offline
