#include "machine/audit.h"

#include <algorithm>

#include "catalogue/control_lines.h"

namespace kwetro::machine {
namespace {

using Kind = Effect::Kind;

// A spinner's seconds as the machine holds them: a string of whole
// milliseconds, written as the generators write it, within the range.
std::optional<int> SpinnerSeconds(const Fact& fact, const SpinnerDecl& spinner) {
  const std::string& b = fact.data.bytes;
  if (fact.found != Found::kPresent || fact.data.type != undo::kRegSz || b.size() < 4 ||
      b.size() % 2 || b[b.size() - 2] || b[b.size() - 1] || (b[0] == '0' && b.size() > 4))
    return std::nullopt;
  long long millis = 0;
  for (std::size_t i = 0; i + 2 < b.size(); i += 2) {
    if (b[i + 1] || b[i] < '0' || b[i] > '9' || millis > 1000000000) return std::nullopt;
    millis = millis * 10 + (b[i] - '0');
  }
  if (millis % 1000 || millis / 1000 < spinner.min || millis / 1000 > spinner.max)
    return std::nullopt;
  return static_cast<int>(millis / 1000);
}

// How near the machine is to a state: how many of its lines hold, key lines
// only where the state has nothing else. With `present`, only lines that set
// something count: a value that is absent as a deletion wants it says little.
int Nearness(const std::vector<Effect>& effects, const Machine& machine, bool present = false) {
  const bool keysOnly = std::all_of(effects.begin(), effects.end(),
                                    [](const Effect& e) { return e.kind == Kind::kKey; });
  return static_cast<int>(std::count_if(effects.begin(), effects.end(), [&](const Effect& e) {
    const bool counts = keysOnly ? e.kind == Kind::kKey
                                 : e.kind == Kind::kValue || (!present && e.kind != Kind::kKey);
    return counts && Holds(e, machine);
  }));
}

bool Within(const std::u16string& place, const std::u16string& ancestor) {
  return place.size() >= ancestor.size() && place.compare(0, ancestor.size(), ancestor) == 0 &&
         (place.size() == ancestor.size() || place[ancestor.size()] == u'\\');
}

}  // namespace

bool WritesAgain(const Effect& later, const Effect& earlier) {
  if (later.probe < 0 || earlier.probe < 0) return false;
  const std::vector<Probe>& probes = TheModel().Probes();
  const Probe& l = probes[static_cast<std::size_t>(later.probe)];
  const Probe& e = probes[static_cast<std::size_t>(earlier.probe)];
  switch (earlier.kind) {
    case Kind::kValue:
    case Kind::kNoValue:
      if (later.kind == Kind::kNoKey) return Within(e.place, l.place);
      return l.isValue && l.place == e.place && undo::EqualsIgnoringCase(l.name, e.name);
    case Kind::kKey:
      return later.kind == Kind::kNoKey && Within(e.place, l.place);
    case Kind::kNoKey:
      return later.kind != Kind::kNoKey && Within(l.place, e.place);
  }
  return false;
}

namespace {

struct WrittenLine {
  ControlRef control;
  Effect line;
};

class Judge {
 public:
  Judge(const Machine& machine, const Selection& selection)
      : machine_(machine), selection_(selection) {
    for (const LineOrigin& origin : WrittenControls(selection)) {
      const ControlRef control = origin.control;
      auto& marks = written_[static_cast<int>(control.kind)];
      marks.resize(std::max(marks.size(), static_cast<std::size_t>(control.index) + 1));
      marks[static_cast<std::size_t>(control.index)] = true;
      for (const Effect& e : TheModel().Of(control).LinesOf(SelectedState(selection, control)))
        lines_.push_back({control, e});
    }
    std::sort(lines_.begin(), lines_.end(), [](const WrittenLine& a, const WrittenLine& b) {
      return a.line.importOrder < b.line.importOrder;
    });
  }

  ControlState State(ControlRef control) const {
    ControlState s;
    s.control = control;
    if (control.kind == ControlKind::kOption && control.index == PresetOption()) return Preset();
    const ControlModel& model = TheModel().Of(control);
    const int selected = s.selected = SelectedState(selection_, control);
    s.writes = !model.variants.empty();
    if (!s.writes) return s;
    Held(model, s.held);
    const bool written = IsWritten(control) && !model.LinesOf(selected).empty();
    if (written) {
      s.reference = selected;
    } else if (s.held.empty()) {
      s.reference = Closest(model, selected);
    }
    if (s.reference) {
      const std::vector<Effect> lines = model.LinesOf(*s.reference);
      s.partly = s.held.empty() && Nearness(lines, machine_, true) > 0;
      if (std::find(s.held.begin(), s.held.end(), *s.reference) == s.held.end())
        for (const Effect& e : lines)
          if (!Holds(e, machine_))
            s.differences.push_back({e, machine_.facts[static_cast<std::size_t>(e.probe)]});
    }
    if (!written) return s;
    s.match = std::find(s.held.begin(), s.held.end(), selected) != s.held.end() ? Match::kYes
                                                                                : Match::kNo;
    for (const Effect& e : model.LinesOf(selected))
      for (const WrittenLine& w : lines_)
        if (w.line.importOrder > e.importOrder && !(w.control == control) &&
            WritesAgain(w.line, e)) {
          s.match = Match::kWrittenLater;
          s.later = w.control;
          s.laterProbe = w.line.probe;
          return s;
        }
    return s;
  }

 private:
  bool IsWritten(ControlRef control) const {
    const auto& marks = written_[static_cast<int>(control.kind)];
    return static_cast<std::size_t>(control.index) < marks.size() &&
           marks[static_cast<std::size_t>(control.index)];
  }

  void Held(const ControlModel& model, std::vector<int>& held) const {
    if (model.control.kind == ControlKind::kSpinner) {
      const auto& decl = Controls().spinners[static_cast<std::size_t>(model.control.index)];
      for (const Effect& e : model.variants.front().effects)
        if (e.kind == Kind::kValue)
          if (auto seconds =
                  SpinnerSeconds(machine_.facts[static_cast<std::size_t>(e.probe)], decl))
            if (HoldsAll(model.LinesOf(*seconds), machine_)) held.push_back(*seconds);
      return;
    }
    for (const Variant& v : model.variants)
      if (HoldsAll(v.effects, machine_)) held.push_back(v.variant);
  }

  // The state the machine comes nearest, the preferred one among equals.
  int Closest(const ControlModel& model, int preferred) const {
    int best = model.variants.front().variant, bestNearness = -1;
    for (const Variant& v : model.variants) {
      const int nearness = Nearness(v.effects, machine_);
      if (nearness > bestNearness || (nearness == bestNearness && v.variant == preferred)) {
        best = v.variant;
        bestNearness = nearness;
      }
    }
    return best;
  }

  ControlState Preset() const {
    ControlState s;
    s.control = {ControlKind::kOption, PresetOption()};
    s.selected = SelectedState(selection_, s.control);
    s.writes = true;
    const auto& services = Controls().services;
    bool each = true, optimal = true, any = false;
    for (std::size_t i = 0; i < services.size(); ++i) {
      std::vector<int> held;
      Held(TheModel().Of({ControlKind::kService, static_cast<int>(i)}), held);
      each = each && OnlyHeld(held);
      any = any || !held.empty();
      optimal = optimal && std::find(held.begin(), held.end(), services[i].optimal) != held.end();
    }
    if (each) s.held.push_back(cbChecked);
    if (optimal) s.held.push_back(cbUnchecked);
    s.partly = !each && any;
    return s;
  }

  const Machine& machine_;
  const Selection& selection_;
  std::vector<bool> written_[4];  // by kind and index: the selection writes lines for it
  std::vector<WrittenLine> lines_;
};

}  // namespace

int SelectedState(const Selection& selection, ControlRef control) {
  const auto i = static_cast<std::size_t>(control.index);
  switch (control.kind) {
    case ControlKind::kOption:
      return selection.options[i];
    case ControlKind::kCombo:
      return selection.combos[i];
    case ControlKind::kSpinner:
      return selection.spinners[i];
    case ControlKind::kService:
      return selection.services[i];
  }
  return 0;
}

std::vector<ControlState> AuditMachine(const Machine& machine, const Selection& selection) {
  const Judge judge(machine, selection);
  std::vector<ControlState> states;
  for (const ControlRef& control : WindowOrder()) states.push_back(judge.State(control));
  return states;
}

std::optional<int> OnlyHeld(const std::vector<int>& held) {
  return held.size() == 1 ? std::optional<int>(held[0]) : std::nullopt;
}

int ServicesWithoutState(const std::vector<ControlState>& states) {
  return static_cast<int>(std::count_if(states.begin(), states.end(), [](const ControlState& s) {
    return s.control.kind == ControlKind::kService && !OnlyHeld(s.held);
  }));
}

}  // namespace kwetro::machine
