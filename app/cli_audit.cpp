// kwetro-cli audit: every control in the window's order, the state the
// selection has, the state (or states) whose lines the machine holds, and
// whether they agree.

#include "app/cli.h"
#include "app/cli_commands.h"
#include "app/cli_format.h"
#include "app/machine_commands.h"
#include "app/machine_source.h"
#include "machine/audit.h"
#include "options/service_starts.h"
#include "options/number_text.h"
#include "options/reg_string.h"
#include "options/text_encoding.h"

namespace kwetro {
namespace {

using machine::ControlState;
using machine::Effect;
using machine::Found;
using machine::Match;

const char kAuditUsage[] =
    "usage: kwetro-cli audit (--backup EXPORT.reg | --live | --windows DIR) [--settings FILE]\n"
    "                        [--user SID|NAME] [--format tsv|json|markdown]\n";

// A state (item, seconds) in the words of `list` and `set`.
std::string Word(ControlRef control, int variant) {
  switch (control.kind) {
    case ControlKind::kOption:
      return kOptionStateWords[variant];
    case ControlKind::kService:
      return std::string(StartOf(static_cast<TriState>(variant)).word);
    case ControlKind::kCombo:
    case ControlKind::kSpinner:
      break;
  }
  return std::to_string(variant);
}

std::string MachineWords(const ControlState& s) {
  if (!s.writes) return "-";
  if (s.held.empty()) return s.partly ? "partly" : "none";
  std::string words;
  for (int variant : s.held) words += (words.empty() ? "" : ",") + Word(s.control, variant);
  return words;
}

}  // namespace

std::string DataText(const machine::RegData& data) {
  if (const auto number = machine::DwordOf(data))
    return "dword:" + HexDigits(static_cast<std::uint32_t>(*number), 8);
  const auto text = data.type == undo::kRegSz ? machine::StringOf(data) : std::nullopt;
  if (text) return QuotedRegString(Utf16ToUtf8(*text));
  const std::string& b = data.bytes;
  std::string hex = data.type == undo::kRegBinary ? "hex:" : "hex(" + HexDigits(data.type) + "):";
  for (std::size_t i = 0; i < b.size() && i < 16; ++i)
    hex += (i ? "," : "") + HexDigits(static_cast<unsigned char>(b[i]), 2);
  return hex + (b.size() > 16 ? ",..." : "");
}

namespace {

std::string KeyText(const machine::Probe& p) {
  std::string path = Utf16ToUtf8(undo::RootName(p.root));
  if (!p.path.empty()) path += "\\" + Utf16ToUtf8(p.path);
  return path;
}

std::string NameText(const machine::Probe& p) {
  return p.name.empty() ? "@" : "\"" + Utf16ToUtf8(p.name) + "\"";
}

// A line of a state and what the machine has instead.
std::string DifferenceText(const machine::Difference& d) {
  const machine::Probe& p = machine::TheModel().Probes()[static_cast<std::size_t>(d.line.probe)];
  std::string line, has;
  switch (d.line.kind) {
    case Effect::Kind::kKey:
      line = "[" + KeyText(p) + "]";
      has = "no such key";
      break;
    case Effect::Kind::kNoKey:
      line = "[-" + KeyText(p) + "]";
      has = "the key is there";
      break;
    case Effect::Kind::kValue:
    case Effect::Kind::kNoValue:
      line = NameText(p) + "=" +
             (d.line.kind == Effect::Kind::kValue ? DataText(d.line.data) : std::string("-"));
      has = d.machine.found == Found::kPresent ? DataText(d.machine.data) : "no such value";
      break;
  }
  if (d.machine.found == Found::kUnreadable) has = "cannot be read";
  return line + " (machine: " + has + ")";
}

std::string Note(const ControlState& s, const std::vector<ControlState>& all) {
  if (s.match == Match::kWrittenLater) {
    const machine::Probe& p = machine::TheModel().Probes()[static_cast<std::size_t>(s.laterProbe)];
    return "written again by " + std::string(ControlName(s.later)) + ": " +
           (p.isValue ? NameText(p) + " in " : std::string()) + "[" + KeyText(p) + "]";
  }
  if (s.control == ControlRef{ControlKind::kOption, PresetOption()}) {
    const int without = machine::ServicesWithoutState(all);
    return without
               ? std::to_string(without) + " of the services hold none of the three start states"
               : "";
  }
  std::string note;
  if (s.reference && !s.differences.empty()) note = Word(s.control, *s.reference) + ": ";
  for (std::size_t i = 0; i < s.differences.size(); ++i)
    note += (i ? "; " : "") + DifferenceText(s.differences[i]);
  return note;
}

const char* MatchWord(Match match) {
  switch (match) {
    case Match::kYes:
      return "yes";
    case Match::kNo:
      return "no";
    case Match::kNotWritten:
    case Match::kWrittenLater:
      break;
  }
  return "-";
}

}  // namespace

int RunAuditCommand(const std::vector<std::string>& args, std::string& out, std::string& err) {
  MachineOptions o;
  Selection selection;
  machine::Machine machine;
  if (const int code = StartMachineCommand(args, kAuditUsage, o, selection, machine, err);
      code != kExitOk)
    return code;
  const std::vector<ControlState> states = machine::AuditMachine(machine, selection);
  Listing listing;
  listing.columns = {{"name"}, {"page"}, {"kind"}, {"selected"}, {"machine"}, {"match"}, {"note"}};
  bool drift = false;
  for (const ControlState& s : states) {
    ControlFields fields = Describe(selection, s.control);
    listing.rows.push_back({{fields.name},
                            {fields.page},
                            {fields.kind},
                            {fields.state},
                            {MachineWords(s)},
                            {MatchWord(s.match)},
                            {Note(s, states)}});
    drift = drift || s.match == Match::kNo;
  }
  out = Render(listing, o.listing);
  return drift ? kExitDrift : kExitOk;
}

}  // namespace kwetro
