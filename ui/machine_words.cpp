#include "ui/machine_words.h"

#include <algorithm>

#include "options/number_text.h"
#include "options/service_starts.h"
#include "options/text_encoding.h"

namespace kwetro {
namespace {

using machine::ControlState;
using machine::Difference;
using machine::Found;
using machine::Match;
using Kind = machine::Effect::Kind;

const char kOnMachine[] = "На этом компьютере";
// Long text data are cut here: the line has room for the state and the hint.
constexpr std::size_t kLongestText = 40;

std::string DataWords(const machine::RegData& data) {
  if (const auto number = machine::DwordOf(data)) {
    return "0x" + HexDigits(static_cast<std::uint32_t>(*number));
  }
  if (const auto text = machine::StringOf(data)) {
    std::u16string shown = text->substr(0, kLongestText);
    return "\"" + Utf16ToUtf8(shown) + (text->size() > shown.size() ? "…" : "") + "\"";
  }
  std::string hex = "hex:";
  for (std::size_t i = 0; i < data.bytes.size() && i < 8; ++i) {
    hex += (i ? "," : "") + HexDigits(static_cast<unsigned char>(data.bytes[i]), 2);
  }
  return hex + (data.bytes.size() > 8 ? ",…" : "");
}

// A key by its last two components, which tell it apart on the line.
std::string KeyWords(const machine::Probe& p) {
  std::u16string path = p.path;
  const std::size_t last = path.rfind(u'\\');
  const std::size_t before = last == std::u16string::npos || last == 0
                                 ? std::u16string::npos
                                 : path.rfind(u'\\', last - 1);
  if (before != std::u16string::npos) path = u"…" + path.substr(before);
  return path.empty() ? Utf16ToUtf8(undo::RootName(p.root)) : Utf16ToUtf8(path);
}

// What the machine has where a line of the state differs.
std::string DifferenceWords(const Difference& d) {
  const machine::Probe& p = machine::TheModel().Probes()[static_cast<std::size_t>(d.line.probe)];
  const std::string name = p.name.empty() ? "@" : Utf16ToUtf8(p.name);
  if (d.machine.found == Found::kUnreadable)
    return (p.isValue ? name : "раздел " + KeyWords(p)) + ": нет доступа";
  switch (d.line.kind) {
    case Kind::kKey:
      return "нет раздела " + KeyWords(p);
    case Kind::kNoKey:
      return "есть раздел " + KeyWords(p);
    case Kind::kValue:
    case Kind::kNoValue:
      break;
  }
  return d.machine.found == Found::kPresent ? name + " = " + DataWords(d.machine.data)
                                            : name + " не записано";
}

// The services preset: whether each service holds one of its three states.
std::string PresetWords(const std::vector<ControlState>& states, const ControlState& preset) {
  const auto holds = [&preset](TriState state) {
    return std::find(preset.held.begin(), preset.held.end(), state) != preset.held.end();
  };
  std::string words;
  if (holds(cbUnchecked)) {
    words =
        "службы как в «" +
        JoinCaption(
            Controls().options[static_cast<std::size_t>(PresetOption())].captions[cbUnchecked]) +
        "»";
  } else if (holds(cbChecked)) {
    words = "у каждой службы одно из трёх состояний";
  } else {
    words = "у " + std::to_string(machine::ServicesWithoutState(states)) +
            " служб нет ни одного из трёх состояний";
  }
  return std::string(kOnMachine) + ": " + words + ".";
}

}  // namespace

std::string ControlCaption(ControlRef control) {
  const ControlTable& t = Controls();
  const auto i = static_cast<std::size_t>(control.index);
  switch (control.kind) {
    case ControlKind::kOption: {
      const CaptionText& c = t.options[i].captions[cbChecked];
      return c.b == kYesSuffix ? std::string(c.a) + std::string(c.c) : JoinCaption(c);
    }
    case ControlKind::kCombo:
      return std::string(t.combos[i].labelCaption);
    case ControlKind::kSpinner:
      return std::string(t.spinners[i].labelCaption);
    case ControlKind::kService:
      return std::string(t.services[i].display);
  }
  return {};
}

std::string StateWords(ControlRef control, int variant, std::string_view noItem) {
  const ControlTable& t = Controls();
  const auto i = static_cast<std::size_t>(control.index);
  switch (control.kind) {
    case ControlKind::kOption:
      if (control.index == PresetOption())
        return JoinCaption(t.options[i].captions[static_cast<std::size_t>(variant)]);
      return variant == cbChecked ? "Да" : variant == cbUnchecked ? "Нет" : "серый";
    case ControlKind::kCombo:
      return variant >= 0 && static_cast<std::size_t>(variant) < t.combos[i].items.size()
                 ? std::string(t.combos[i].items[static_cast<std::size_t>(variant)])
                 : std::string(noItem);
    case ControlKind::kSpinner:
      return std::to_string(variant) + " с";
    case ControlKind::kService:
      return std::string(StartOf(static_cast<TriState>(variant)).shown);
  }
  return {};
}

std::string MachineWords(const std::vector<ControlState>& states, std::size_t index,
                         std::string_view noItem) {
  const ControlState& s = states[index];
  if (!s.writes) return {};
  if (s.control == ControlRef{ControlKind::kOption, PresetOption()}) return PresetWords(states, s);
  std::string text = kOnMachine;
  if (s.held.empty()) {
    text += " иначе: ";
    text += s.differences.empty() ? "ни одно из состояний" : DifferenceWords(s.differences[0]);
    if (s.differences.size() > 1) text += " и ещё " + std::to_string(s.differences.size() - 1);
  } else {
    text += ": ";
    for (std::size_t i = 0; i < s.held.size(); ++i)
      text += (i ? ", " : "") + StateWords(s.control, s.held[i], noItem);
  }
  switch (s.match) {
    case Match::kYes:
      return text + " (как выбрано).";
    case Match::kNo:
      return text + " (выбрано: " + StateWords(s.control, s.selected, noItem) + ").";
    case Match::kNotWritten:
      return text + " (файлы реестра его не меняют).";
    case Match::kWrittenLater:
      break;
  }
  return text + " (эти значения пишет и «" + ControlCaption(s.later) + "»).";
}

}  // namespace kwetro
