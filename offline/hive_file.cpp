#include "offline/hive_file.h"

#include <hivex.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "options/text_encoding.h"
#include "undo/reg_names.h"

namespace kwetro::offline {
namespace {

hive_h* H(void* handle) { return static_cast<hive_h*>(handle); }

std::string Reason() {
  return errno ? std::string(std::strerror(errno)) : std::string("the hive is damaged");
}

struct Freed {
  void* p;
  ~Freed() { std::free(p); }
};

bool IsAscii(std::u16string_view name) {
  for (char16_t c : name)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    const int extra = b < 0x80         ? 0
                      : (b >> 5) == 6  ? 1
                      : (b >> 4) == 14 ? 2
                      : (b >> 3) == 30 ? 3
                                       : -1;
    char32_t c = extra == 0 ? b : extra == 1 ? b & 0x1F : extra == 2 ? b & 0x0F : b & 0x07;
    bool ok = extra >= 0 && i + static_cast<std::size_t>(extra) < utf8.size();
    for (int k = 1; ok && k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
      ok = (next & 0xC0) == 0x80;
      c = c << 6 | (next & 0x3F);
    }
    if (!ok) {
      out += u'\uFFFD';
      ++i;
      continue;
    }
    i += static_cast<std::size_t>(extra) + 1;
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

std::unique_ptr<Hive> Hive::Open(const std::string& path, bool write, std::string& reason) {
  errno = 0;
  hive_h* h = hivex_open(path.c_str(), write ? HIVEX_OPEN_WRITE : 0);
  if (!h) {
    reason = errno == EINVAL || errno == ENOTSUP || errno == 0
                 ? "libhivex cannot read it as a registry hive (damaged?)"
                 : Reason();
    return nullptr;
  }
  return std::unique_ptr<Hive>(new Hive(h));
}

Hive::~Hive() { hivex_close(H(handle_)); }

bool Hive::Walk(std::string& reason) const {
  hivex_visitor visitor{};
  errno = 0;
  if (hivex_visit(H(handle_), &visitor, sizeof visitor, nullptr, 0) == 0) return true;
  reason = "libhivex cannot read every key and value of it (damaged?): " + Reason();
  return false;
}

Hive::Node Hive::Root() const { return hivex_root(H(handle_)); }

std::u16string Hive::Name(Node node) const {
  Freed name{hivex_node_name(H(handle_), node)};
  return name.p ? Utf8ToUtf16(static_cast<const char*>(name.p)) : std::u16string();
}

std::vector<std::u16string> Hive::Children(Node node) const {
  std::vector<std::u16string> names;
  Freed children{hivex_node_children(H(handle_), node)};
  if (children.p)
    for (const hive_node_h* c = static_cast<const hive_node_h*>(children.p); *c; ++c)
      names.push_back(Name(*c));
  return names;
}

Hive::Node Hive::Child(Node parent, std::u16string_view name) const {
  // libhivex compares ASCII letters without regard to case; a name with
  // other letters is compared here, child by child.
  if (IsAscii(name)) {
    errno = 0;
    return hivex_node_get_child(H(handle_), parent, Utf16ToUtf8(name).c_str());
  }
  Freed children{hivex_node_children(H(handle_), parent)};
  if (!children.p) return 0;
  for (const hive_node_h* c = static_cast<const hive_node_h*>(children.p); *c; ++c)
    if (undo::EqualsIgnoringCase(Name(*c), name)) return *c;
  return 0;
}

Hive::Node Hive::Find(std::u16string_view path) const {
  Node node = Root();
  for (std::u16string_view component; node && undo::NextComponent(path, component);)
    node = Child(node, component);
  return node;
}

bool Hive::Values(Node node, std::vector<Value>& values, std::string& reason) const {
  values.clear();
  errno = 0;
  Freed list{hivex_node_values(H(handle_), node)};
  if (!list.p) {
    reason = Reason();
    return false;
  }
  for (const hive_value_h* v = static_cast<const hive_value_h*>(list.p); *v; ++v) {
    Freed key{hivex_value_key(H(handle_), *v)};
    hive_type type = hive_t_REG_NONE;
    std::size_t size = 0;
    Freed data{hivex_value_value(H(handle_), *v, &type, &size)};
    if (!key.p || !data.p) {
      reason = Reason();
      return false;
    }
    Value value;
    value.name = Utf8ToUtf16(static_cast<const char*>(key.p));
    value.data.type = static_cast<std::uint32_t>(type);
    value.data.bytes.assign(static_cast<const char*>(data.p), size);
    values.push_back(std::move(value));
  }
  return true;
}

Hive::Node Hive::AddChild(Node parent, std::u16string_view name, std::string& reason) {
  errno = 0;
  const Node node = hivex_node_add_child(H(handle_), parent, Utf16ToUtf8(name).c_str());
  if (!node) reason = Reason();
  return node;
}

bool Hive::DeleteChild(Node node, std::string& reason) {
  errno = 0;
  if (hivex_node_delete_child(H(handle_), node) == 0) return true;
  reason = Reason();
  return false;
}

bool Hive::SetValues(Node node, const std::vector<Value>& values, std::string& reason) {
  std::vector<std::string> names;
  names.reserve(values.size());
  std::vector<hive_set_value> set;
  for (const Value& v : values) {
    names.push_back(Utf16ToUtf8(v.name));
    set.push_back({names.back().data(), static_cast<hive_type>(v.data.type), v.data.bytes.size(),
                   const_cast<char*>(v.data.bytes.data())});
  }
  errno = 0;
  if (hivex_node_set_values(H(handle_), node, set.size(), set.data(), 0) == 0) return true;
  reason = Reason();
  return false;
}

bool Hive::SetValue(Node node, const Value& value, std::string& reason) {
  std::string name = Utf16ToUtf8(value.name);
  hive_set_value set{name.data(), static_cast<hive_type>(value.data.type), value.data.bytes.size(),
                     const_cast<char*>(value.data.bytes.data())};
  errno = 0;
  if (hivex_node_set_value(H(handle_), node, &set, 0) == 0) return true;
  reason = Reason();
  return false;
}

bool Hive::Commit(const std::string& path, std::string& reason) {
  errno = 0;
  if (hivex_commit(H(handle_), path.c_str(), 0) == 0) return true;
  reason = Reason();
  return false;
}

}  // namespace kwetro::offline
