#include "machine/machine.h"

#include <algorithm>

#include "options/text_encoding.h"

namespace kwetro::machine {
namespace {

// REGEDIT of Windows stores the hex(2) and hex(7) bytes of a script as they
// are written; Wine's REGEDIT reads them, in a file without a byte-order mark
// such as Kwetro's scripts, as ANSI text and widens every byte. A machine
// holds the line when it holds either.
bool SameData(const RegData& line, const RegData& machine) {
  if (line.type != machine.type) return false;
  if (line.bytes == machine.bytes) return true;
  if (line.type != undo::kRegExpandSz && line.type != undo::kRegMultiSz) return false;
  std::u16string widened;
  AppendUtf16OfCp1251(line.bytes, widened);
  std::string bytes;
  AppendUtf16Le(widened, bytes);
  return bytes == machine.bytes;
}

}  // namespace

Machine ReadMachine(const RegistryView& registry) {
  Machine machine;
  const std::vector<Probe>& probes = TheModel().Probes();
  machine.facts.resize(probes.size());
  for (std::size_t i = 0; i < probes.size(); ++i) {
    const Probe& p = probes[i];
    Fact& fact = machine.facts[i];
    fact.found = p.isValue ? registry.Value(p.root, p.path, p.name, fact.data)
                           : registry.Key(p.root, p.path);
  }
  return machine;
}

bool Holds(const Effect& effect, const Machine& machine) {
  if (effect.probe < 0) return false;
  const Fact& fact = machine.facts[static_cast<std::size_t>(effect.probe)];
  switch (effect.kind) {
    case Effect::Kind::kKey:
      return fact.found == Found::kPresent;
    case Effect::Kind::kNoKey:
    case Effect::Kind::kNoValue:
      return fact.found == Found::kAbsent;
    case Effect::Kind::kValue:
      return fact.found == Found::kPresent && SameData(effect.data, fact.data);
  }
  return false;
}

bool HoldsAll(const std::vector<Effect>& effects, const Machine& machine) {
  return std::all_of(effects.begin(), effects.end(),
                     [&machine](const Effect& e) { return Holds(e, machine); });
}

std::optional<std::uint32_t> DwordOf(const RegData& data) {
  const std::string& b = data.bytes;
  if (data.type != undo::kRegDword || b.size() != 4) return std::nullopt;
  std::uint32_t value = 0;
  for (std::size_t i = 4; i-- > 0;) value = value << 8 | static_cast<unsigned char>(b[i]);
  return value;
}

std::optional<std::u16string> StringOf(const RegData& data) {
  const std::string& b = data.bytes;
  if (b.size() < 2 || b.size() % 2 || b[b.size() - 1] || b[b.size() - 2]) return std::nullopt;
  std::u16string text;
  for (std::size_t i = 0; i + 2 < b.size(); i += 2) {
    const auto c = static_cast<char16_t>(static_cast<unsigned char>(b[i]) |
                                         static_cast<unsigned char>(b[i + 1]) << 8);
    if (c == u'\0') return std::nullopt;
    text += c;
  }
  return text;
}

}  // namespace kwetro::machine
