// hive_compare WINE.reg SYSTEM.reg SOFTWARE.reg DEFAULT.reg USER.reg SCRIPT.reg...
// Every key and value the scripts name, in Wine's registry after REGEDIT /S
// and in the hives after kwetro-cli apply: present or not, type and bytes.
// Wine's REGEDIT widens the bytes of hex(2) and hex(7) data in an ANSI script
// as if they were text, which Windows does not: such a value agrees when Wine
// holds the hive's bytes widened, and is counted apart; so is Keyboard
// Layout\Preload, where Wine puts its own layouts back. Exit status 1 when
// anything differs.
#include <cstdio>
#include <optional>
#include <set>

#include "machine/control_model.h"
#include "options/text_encoding.h"
#include "support/files.h"
#include "support/reg_model.h"

namespace {

using namespace kwetro;

// A file of REGEDIT read into the model: UTF-16 as it is, ANSI (the scripts,
// hivexregedit's exports) widened first, so that hex data stand as written.
testing::Registry Load(const std::vector<std::string>& paths,
                       std::vector<std::pair<std::u16string, undo::RegValue>>* touched = nullptr) {
  testing::Registry registry;
  for (const std::string& path : paths) {
    std::string bytes = testing::ReadBytes(path);
    if (bytes.rfind("\xFF\xFE", 0) != 0) {
      std::string file = "\xFF\xFE";
      AppendUtf16Le(Cp1251ToUtf16(bytes), file);
      bytes = file;
    }
    testing::Import import(registry);
    std::string problem;
    if (!testing::Read(bytes, import, problem)) {
      std::fprintf(stderr, "hive_compare: %s: %s\n", path.c_str(), problem.c_str());
      std::exit(2);
    }
    if (touched) touched->insert(touched->end(), import.touched.begin(), import.touched.end());
  }
  return registry;
}

std::u16string InHive(std::u16string path) {
  const std::u16string folded = testing::Folded(path);
  const std::u16string set = u"\\CURRENTCONTROLSET";
  if (const std::size_t at = folded.find(set); at != std::u16string::npos)
    path.replace(at, set.size(), u"\\ControlSet001");
  return path;
}

const testing::Registry::Values* Key(const testing::Registry& r, const std::u16string& path) {
  const auto it = r.keys.find(testing::Folded(path));
  return it == r.keys.end() ? nullptr : &it->second.second;
}

std::string Text(const machine::RegData* data) {
  if (!data) return "none";
  std::string text = std::to_string(data->type) + ":";
  for (unsigned char c : data->bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02x", c);
    text += hex;
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 7) {
    std::fputs(
        "usage: hive_compare WINE.reg SYSTEM.reg SOFTWARE.reg DEFAULT.reg USER.reg SCRIPT.reg...\n",
        stderr);
    return 2;
  }
  const testing::Registry wine = Load({argv[1]});
  const testing::Registry hives = Load({argv[2], argv[3], argv[4], argv[5]});
  std::vector<std::pair<std::u16string, undo::RegValue>> touched;
  Load(std::vector<std::string>(argv + 6, argv + argc), &touched);

  int same = 0, widened = 0, layouts = 0, differ = 0, keys = 0;
  std::set<std::u16string> seen;
  for (const auto& [path, line] : touched) {
    const std::u16string name = testing::NameOf(line);
    if (!seen.insert(testing::Folded(path) + u"\n" + name).second) continue;
    const auto* w = Key(wine, path);
    const auto* h = Key(hives, InHive(path));
    std::string problem;
    if (name == testing::Folded(u"kept")) {  // the key itself
      ++keys;
      if (!w != !h) problem = std::string("key ") + (w ? "only in Wine" : "only in the hive");
    } else {
      std::optional<machine::RegData> wd, hd;
      if (w && w->count(name)) wd = machine::DataOf(w->at(name));
      if (h && h->count(name)) hd = machine::DataOf(h->at(name));
      if (wd == hd) {
        ++same;
        continue;
      }
      if (testing::Folded(path) == testing::Folded(testing::FullPath(
                                       undo::Root::kCurrentUser, u"Keyboard Layout\\Preload"))) {
        ++layouts;
        std::printf("Wine's own keyboard layout: [%s] \"%s\"\n", Utf16ToUtf8(path).c_str(),
                    Utf16ToUtf8(name).c_str());
        continue;
      }
      if (wd && hd && (hd->type == 2 || hd->type == 7) && wd->type == hd->type) {
        std::string bytes;
        AppendUtf16Le(Cp1251ToUtf16(hd->bytes), bytes);
        if (bytes == wd->bytes) {
          ++widened;
          std::printf("widened by Wine: [%s] \"%s\"\n", Utf16ToUtf8(path).c_str(),
                      Utf16ToUtf8(name).c_str());
          continue;
        }
      }
      problem = "Wine " + Text(wd ? &*wd : nullptr) + ", hive " + Text(hd ? &*hd : nullptr);
    }
    if (problem.empty()) continue;
    ++differ;
    std::printf("differs: [%s] %s: %s\n", Utf16ToUtf8(path).c_str(), Utf16ToUtf8(name).c_str(),
                problem.c_str());
  }
  std::printf(
      "%d keys, %d values the same, %d hex(2)/hex(7) values widened by Wine, %d keyboard layouts "
      "Wine put back, %d differ\n",
      keys, same, widened, layouts, differ);
  return differ ? 1 : 0;
}
