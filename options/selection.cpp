#include "options/selection.h"

namespace kwetro {

Selection::Selection() {
  const ControlTable& t = Controls();
  options.reserve(t.options.size());
  services.reserve(t.services.size());
  for (const OptionDecl& o : t.options) options.push_back(o.builtIn);
  for (const ComboDecl& c : t.combos) combos.push_back(c.builtIn);
  for (const SpinnerDecl& s : t.spinners) spinners.push_back(s.builtIn);
  for (const ServiceDecl& s : t.services) services.push_back(s.standard);
  // The list starts as the built-in preset leaves it.
  presetShown = State(PresetOption());
  RunHandler(PresetOption(), NoStoredServices());
}

std::string Selection::Caption(int option) const { return JoinCaption(CaptionPieces(option)); }

const CaptionText& Selection::CaptionPieces(int option) const {
  const TriState state = option == PresetOption() ? presetShown : State(option);
  return Controls().options[static_cast<std::size_t>(option)].captions[state];
}

std::string_view Selection::Hint(int option) const {
  return kwetro::Hint(Controls().options[static_cast<std::size_t>(option)], State(option));
}

void Selection::Click(int option, const StoredServices& stored) {
  TriState& state = options[static_cast<std::size_t>(option)];
  state = NextOnClick(state, Controls().options[static_cast<std::size_t>(option)].allowGrayed);
  RunHandler(option, stored);
}

void Selection::SetState(int option, TriState state, const StoredServices& stored) {
  if (State(option) == state) return;
  options[static_cast<std::size_t>(option)] = state;
  RunHandler(option, stored);
}

void Selection::RunHandler(int option, const StoredServices& stored) {
  if (option != PresetOption()) return;
  const TriState state = State(option);
  switch (state) {
    case cbUnchecked:  // "Оптимальная"
      for (std::size_t i = 0; i < services.size(); ++i)
        services[i] = Controls().services[i].optimal;
      break;
    case cbChecked: {  // "Из файла настроек"; without a file everything stays
      std::vector<int> states;
      if (!stored.Read(states)) return;
      ApplyStoredServices(states);
      break;
    }
    case cbGrayed:  // "Стандартная конфигурация": the services are left alone
      break;
  }
  presetShown = state;
}

void Selection::ApplyStoredServices(const std::vector<int>& states) {
  for (std::size_t i = 0; i < services.size() && i < states.size(); ++i)
    if (IsTriState(states[i])) services[i] = static_cast<TriState>(states[i]);
}

}  // namespace kwetro
