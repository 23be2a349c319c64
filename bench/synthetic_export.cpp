#include "bench/synthetic_export.h"

#include <cstring>

#include "options/text_encoding.h"

namespace kwetro::bench {
namespace {

using undo::RegValue;
using undo::Root;
using undo::ValueKind;

// Where Wine's export of the whole registry holds each root the scripts name.
std::u16string ExportPath(Root root) {
  switch (root) {
    case Root::kCurrentUser:
      return u"HKEY_USERS\\S-1-5-21-0-0-0-1000";
    case Root::kClassesRoot:
      return u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes";
    case Root::kCurrentConfig:
      return u"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current";
    default:
      return std::u16string(undo::RootName(root));
  }
}

RegValue String(std::u16string name, std::u16string text) {
  RegValue v;
  v.rawName = std::move(name);
  v.rawString = std::move(text);
  return v;
}

RegValue Dword(std::u16string name, std::uint32_t number) {
  RegValue v;
  v.rawName = std::move(name);
  v.kind = ValueKind::kDword;
  for (int i = 0; i < 4; ++i) v.bytes += static_cast<char>(number >> (8 * i) & 0xFF);
  return v;
}

RegValue HexValue(std::u16string name, std::uint32_t type, std::string bytes) {
  RegValue v;
  v.rawName = std::move(name);
  v.kind = ValueKind::kHex;
  v.type = type;
  v.bytes = std::move(bytes);
  return v;
}

}  // namespace

SyntheticExport::SyntheticExport(std::uint64_t bytes, const undo::ScriptTouches& scripts)
    : target_(bytes) {
  for (Root root : scripts.RootOrder()) AddAnchors(scripts.Top(root), ExportPath(root));
  pending_ = "\xFF\xFE" + Utf16(u"Windows Registry Editor Version 5.00\r\n");
  for (const char16_t* key :
       {u"HKEY_LOCAL_MACHINE", u"HKEY_LOCAL_MACHINE\\SOFTWARE",
        u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes", u"HKEY_USERS", u"HKEY_USERS\\.DEFAULT",
        u"HKEY_USERS\\S-1-5-21-0-0-0-1000", u"HKEY_USERS\\S-1-5-21-0-0-0-1000_Classes"})
    writer_.Key(key);
  Emit();
}

void SyntheticExport::AddAnchors(const undo::TouchNode& node, const std::u16string& path) {
  if (node.created || node.deleted || !node.values.empty()) {
    Anchor anchor{path, {}, node.deleted};
    for (const undo::TouchedValue& v : node.values) anchor.values.push_back(v.rawName);
    anchors_.push_back(std::move(anchor));
  }
  for (const undo::TouchNode& child : node.children)
    AddAnchors(child, path + u'\\' + child.scriptName);
}

std::string SyntheticExport::Utf16(std::u16string_view text) {
  std::string bytes;
  AppendUtf16Le(text, bytes);
  return bytes;
}

std::u16string SyntheticExport::Hex(int digits) {
  static const char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string text;
  for (int i = 0; i < digits; ++i) text += kDigits[random_() % 16];
  return text;
}

std::string SyntheticExport::Bytes(std::size_t count) {
  std::string bytes;
  for (std::size_t i = 0; i < count; ++i) bytes += static_cast<char>(random_() & 0xFF);
  return bytes;
}

void SyntheticExport::Emit() {
  pending_ += Utf16(writer_.Text());
  writer_.Clear();
}

void SyntheticExport::NextKey() {
  const std::u16string n = Cp1251ToUtf16(std::to_string(keys_++));
  // The scripts' keys are spread through the first part of the export.
  if (nextAnchor_ < anchors_.size() && keys_ % 97 == 0) return WriteAnchor(n);
  const unsigned kind = random_() % 10;
  if (kind < 4) return WriteClass(n);
  if (kind < 6) return WriteService(n);
  if (kind < 8) return WriteRecentDocs(n);
  WriteProduct(n);
}

void SyntheticExport::WriteAnchor(const std::u16string& n) {
  const Anchor& a = anchors_[nextAnchor_++];
  writer_.Key(a.path);
  for (const std::u16string& name : a.values) writer_.Value(String(name, u"backup " + n));
  if (!a.deleted) return;
  writer_.Value(String(u"Остаётся", u"значение " + n));
  for (const char16_t* sub : {u"\\Sub1", u"\\Sub1\\Deeper", u"\\Sub2"}) {
    writer_.Key(a.path + sub);
    writer_.Value(Dword(u"Level", random_()));
    writer_.Value(HexValue(u"Blob", 3, Bytes(40)));
  }
}

void SyntheticExport::WriteClass(const std::u16string& n) {
  const std::u16string clsid = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{" + Hex(8) +
                               u"-" + Hex(4) + u"-" + Hex(4) + u"-" + Hex(4) + u"-" + Hex(12) +
                               u"}";
  writer_.Key(clsid);
  writer_.Value(String(u"", u"Component " + n));
  writer_.Key(clsid + u"\\InprocServer32");
  writer_.Value(String(u"", u"%SystemRoot%\\\\system32\\\\component" + n + u".dll"));
  writer_.Value(String(u"ThreadingModel", u"Apartment"));
}

void SyntheticExport::WriteService(const std::u16string& n) {
  writer_.Key(u"HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Services\\Service" + n);
  writer_.Value(Dword(u"Type", 0x20));
  writer_.Value(Dword(u"Start", random_() % 5));
  writer_.Value(Dword(u"ErrorControl", 1));
  writer_.Value(String(u"DisplayName", u"Служба номер " + n));
  writer_.Value(
      HexValue(u"ImagePath", 2,
               Utf16(std::u16string(u"%SystemRoot%\\System32\\svchost.exe -k netsvcs") + u'\0')));
  writer_.Value(HexValue(u"DependOnService", 7, Utf16(std::u16string(u"RpcSs\0Tcpip\0\0", 13))));
  writer_.Key(u"HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Services\\Service" + n +
              u"\\Parameters");
  writer_.Value(HexValue(u"ServiceDll", 2,
                         Utf16(u"%SystemRoot%\\System32\\service" + n + u".dll" + u'\0')));
}

void SyntheticExport::WriteRecentDocs(const std::u16string& n) {
  writer_.Key(
      u"HKEY_USERS\\S-1-5-21-0-0-0-1000\\Software\\Microsoft\\Windows\\CurrentVersion\\"
      u"Explorer\\RecentDocs\\." +
      n);
  writer_.Value(HexValue(u"MRUListEx", 3, Bytes(20 + random_() % 400)));
  writer_.Value(HexValue(u"0", 3, Bytes(60 + random_() % 200)));
}

void SyntheticExport::WriteProduct(const std::u16string& n) {
  writer_.Key(
      u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\"
      u"UserData\\S-1-5-18\\Products\\" +
      Hex(32) + u"\\InstallProperties");
  writer_.Value(String(u"DisplayName", u"Программа " + n));
  writer_.Value(String(u"Publisher", u"Kwetro \\\"Test\\\" Ltd."));
  writer_.Value(String(u"InstallLocation", u"C:\\\\Program Files\\\\App" + n + u"\\\\"));
  writer_.Value(Dword(u"EstimatedSize", random_() % 100000));
}

bool SyntheticExport::Read(char* buffer, std::size_t size, std::size_t& got, std::string&) {
  got = 0;
  while (got < size) {
    if (pendingPos_ == pending_.size()) {
      if (finished_) break;
      pending_.clear();
      pendingPos_ = 0;
      if (produced_ >= target_) {
        pending_ = Utf16(u"\r\n");
        finished_ = true;
      } else {
        while (pending_.size() < 65536 && produced_ + pending_.size() < target_) {
          NextKey();
          Emit();
        }
      }
    }
    const std::size_t n = std::min(size - got, pending_.size() - pendingPos_);
    std::memcpy(buffer + got, pending_.data() + pendingPos_, n);
    pendingPos_ += n;
    got += n;
    produced_ += n;
  }
  return true;
}

}  // namespace kwetro::bench
