#include <windows.h>

#include <map>

#include "machine/live_path.h"
#include "machine/live_registry.h"
#include "options/text_encoding.h"
#include "win32/registry_key.h"

namespace kwetro::machine {
namespace {

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

Found FoundOf(LONG result) {
  if (result == ERROR_SUCCESS) return Found::kPresent;
  return result == ERROR_FILE_NOT_FOUND ? Found::kAbsent : Found::kUnreadable;
}

}  // namespace

struct LiveRegistry::Keys {
  struct Open {
    Found found = Found::kAbsent;
    RegistryKey key;  // open when found
  };

  // The key, opened on first use; one key reached by two names (a
  // HKEY_CLASSES_ROOT key and the same under the machine's classes) once.
  const Open& Find(undo::Root root, std::u16string_view path, std::u16string_view user) {
    const LivePath live = LivePathOf(root, path, user);
    std::u16string id(1, static_cast<char16_t>(u'0' + static_cast<int>(live.root)));
    for (char16_t c : live.path) id += undo::FoldCase(c);
    const auto known = byPlace.find(id);
    if (known != byPlace.end()) return known->second;
    Open& open = byPlace[id];
    const std::u16string_view top = undo::RootName(live.root);
    open.found = FoundOf(open.key.Open({reinterpret_cast<const wchar_t*>(top.data()), top.size()},
                                       Wide(live.path), KEY_QUERY_VALUE));
    return open;
  }

  std::map<std::u16string, Open> byPlace;  // by root and folded path
};

LiveRegistry::LiveRegistry(const std::string& user)
    : user_(Cp1251ToUtf16(Utf8ToCp1251(user))), keys_(std::make_unique<Keys>()) {}

LiveRegistry::~LiveRegistry() = default;

bool LiveRegistry::UserLoaded() const {
  return user_.empty() || keys_->Find(undo::Root::kUsers, user_, {}).found != Found::kAbsent;
}

Found LiveRegistry::Key(undo::Root root, std::u16string_view path) const {
  return keys_->Find(root, path, user_).found;
}

Found LiveRegistry::Value(undo::Root root, std::u16string_view path, std::u16string_view name,
                          RegData& data) const {
  const Keys::Open& open = keys_->Find(root, path, user_);
  if (open.found != Found::kPresent) return open.found;
  DWORD type = 0;
  const LONG result = open.key.Query(Wide(std::u16string(name)), type, data.bytes);
  if (result != ERROR_SUCCESS) return FoundOf(result);
  data.type = type;
  return Found::kPresent;
}

}  // namespace kwetro::machine
