#include "ui/stored_layout.h"

#include <windows.h>

namespace kwetro {

std::string_view StoredLayout() {
  HRSRC resource = FindResourceW(nullptr, L"TFORM1", MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!resource) return {};
  HGLOBAL loaded = LoadResource(nullptr, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return {};
  return std::string_view(static_cast<const char*>(bytes), SizeofResource(nullptr, resource));
}

}  // namespace kwetro
