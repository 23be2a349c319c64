// libFuzzer target: any bytes as the backup of `kwetro-cli undo`, with a fixed
// script that touches keys in every way. Besides crashes and sanitizer
// reports, an undo file that the reader refuses, or that names a key the
// script does not touch (one it names, one on the way there, or one below a
// key it deletes), is a failure (abort).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "undo/reg_reader.h"
#include "undo/touch_tree.h"
#include "undo/undo.h"

namespace {

using namespace kwetro::undo;

const std::string kScript =
    "Windows Registry Editor Version 5.00\r\n\r\n"
    "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n\"MenuShowDelay\"=\"0\"\r\n@=-\r\n"
    "[-HKEY_CLASSES_ROOT\\CLSID\\{1}]\r\n[HKEY_CLASSES_ROOT\\CLSID\\{1}\\New]\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kw\\A\\B]\r\n\"v\"=dword:1\r\n"
    "[-HKEY_USERS\\.DEFAULT\\Kw]\r\n";

const ScriptTouches& Touches() {
  static const ScriptTouches touches = [] {
    ScriptTouches t;
    MemorySource source(kScript);
    ReadProblem problem;
    if (!ReadRegFile(source, t, Deletions::kAllowed, problem)) std::abort();
    return t;
  }();
  return touches;
}

// Fails on a key of the undo file that the script does not touch.
class TouchedKeysOnly : public RegFileHandler {
 public:
  std::string stray;

  bool OnKey(const KeyLine& key) override {
    const TouchNode* node = &Touches().Top(key.root);
    std::u16string_view rest = key.rest, component;
    while (!node->deleted && NextComponent(rest, component)) {
      node = node->Find(component);
      if (!node) {
        stray = "line " + std::to_string(key.line);
        return false;
      }
    }
    return false;
  }
  void OnValue(const ValueLine&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MemorySource backup(std::string_view(reinterpret_cast<const char*>(data), size));
  MemorySource script(kScript);
  std::string undo;
  UndoProblem problem;
  if (!MakeUndo(backup, {&script}, "", undo, problem)) {
    if (problem.what.empty()) {
      std::fprintf(stderr, "undo_fuzz: refused without saying why\n");
      std::abort();
    }
    return 0;
  }
  MemorySource written(undo);
  TouchedKeysOnly check;
  ReadProblem reread;
  if (!ReadRegFile(written, check, Deletions::kAllowed, reread)) {
    std::fprintf(stderr, "undo_fuzz: the undo file does not read back: line %ld: %s\n", reread.line,
                 reread.what.c_str());
    std::abort();
  }
  if (!check.stray.empty()) {
    std::fprintf(stderr, "undo_fuzz: the undo file names a key the script does not touch (%s)\n",
                 check.stray.c_str());
    std::abort();
  }
  return 0;
}
