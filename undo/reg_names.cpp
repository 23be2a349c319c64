#include "undo/reg_names.h"

namespace kwetro::undo {
namespace {

constexpr std::u16string_view kRootNames[kRootCount] = {u"HKEY_LOCAL_MACHINE", u"HKEY_USERS",
                                                        u"HKEY_CURRENT_USER", u"HKEY_CLASSES_ROOT",
                                                        u"HKEY_CURRENT_CONFIG"};

}  // namespace

std::u16string_view RootName(Root root) { return kRootNames[static_cast<int>(root)]; }

bool SplitRoot(std::u16string_view name, Root& root, std::u16string_view& rest) {
  const std::size_t slash = name.find(u'\\');
  const std::u16string_view head = name.substr(0, slash);
  for (int i = 0; i < kRootCount; ++i) {
    if (head.size() != kRootNames[i].size() || !EqualsIgnoringCase(head, kRootNames[i])) continue;
    root = static_cast<Root>(i);
    rest = slash == std::u16string_view::npos ? std::u16string_view() : name.substr(slash + 1);
    return true;
  }
  return false;
}

bool NextComponent(std::u16string_view& path, std::u16string_view& component) {
  const std::size_t start = path.find_first_not_of(u'\\');
  if (start == std::u16string_view::npos) {
    path = {};
    return false;
  }
  const std::size_t end = std::min(path.find(u'\\', start), path.size());
  component = path.substr(start, end - start);
  path.remove_prefix(end);
  return true;
}

char16_t FoldCase(char16_t c) {
  if (c < 0x80) return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x0430 && c <= 0x044F) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x0450 && c <= 0x045F) return static_cast<char16_t>(c - 0x50);
  return c;
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

void AppendUnescaped(std::u16string_view quoted, std::u16string& out) {
  for (std::size_t i = 0; i < quoted.size(); ++i) {
    const char16_t c = quoted[i];
    if (c != u'\\' || i + 1 == quoted.size()) {
      out += c;
      continue;
    }
    const char16_t next = quoted[++i];
    if (next == u'n') {
      out += u'\n';
    } else if (next == u'r') {
      out += u'\r';
    } else {
      if (next != u'\\' && next != u'"') out += c;
      out += next;
    }
  }
}

}  // namespace kwetro::undo
