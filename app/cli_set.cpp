// kwetro-cli set: NAME=VALUE assignments to a selection, checked before
// anything is applied.
#include <algorithm>
#include <charconv>

#include "app/cli_commands.h"
#include "options/service_starts.h"

namespace kwetro {
namespace {

// A state named by its word (kOptionStateWords, a service's start mode).
bool Lookup(const char* const (&words)[3], std::string_view text, int& value) {
  for (int state = 0; state < 3; ++state)
    if (text == words[state]) {
      value = state;
      return true;
    }
  return false;
}

bool LookupStart(std::string_view text, int& value) {
  for (const ServiceStart& s : kServiceStarts)
    if (text == s.word) {
      value = s.state;
      return true;
    }
  return false;
}

bool Integer(std::string_view text, int& value) {
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && at == end && !text.empty();
}

// Edit distance, for the names the user may have meant.
std::size_t Distance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                        std::tolower(static_cast<unsigned char>(b[j - 1]));
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::string Closest(std::string_view name) {
  const ControlTable& t = Controls();
  std::vector<std::pair<std::size_t, std::string_view>> names;
  for (const ControlRef& control : t.order) names.emplace_back(0, ControlName(control));
  for (const ServiceDecl& service : t.services) names.emplace_back(0, service.key);
  for (auto& entry : names) entry.first = Distance(name, entry.second);
  std::stable_sort(names.begin(), names.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::string out;
  for (std::size_t i = 0; i < 3 && i < names.size(); ++i)
    out += (i ? ", " : "") + std::string(names[i].second);
  return out;
}

}  // namespace

bool ParseAssignment(const std::string& text, Assignment& assignment, std::string& error) {
  const std::size_t eq = text.find('=');
  const std::string name = text.substr(0, eq);
  if (eq == std::string::npos || name.empty()) {
    error = "'" + text + "' is not NAME=VALUE";
    return false;
  }
  if (!FindControl(name, assignment.control)) {
    error = "no control or service '" + name + "'; closest: " + Closest(name);
    return false;
  }
  const std::string_view value = std::string_view(text).substr(eq + 1);
  const auto i = static_cast<std::size_t>(assignment.control.index);
  const ControlTable& t = Controls();
  bool ok = false;
  std::string expected;
  switch (assignment.control.kind) {
    case ControlKind::kOption:
      ok = Lookup(kOptionStateWords, value, assignment.value) ||
           Lookup({"0", "1", "2"}, value, assignment.value);  // as the settings file has them
      expected = "yes, no or skip (1, 0, 2)";
      break;
    case ControlKind::kService:
      ok = LookupStart(value, assignment.value);
      expected = "auto, manual or disabled";
      break;
    case ControlKind::kCombo:
      ok = Integer(value, assignment.value) && assignment.value >= -1 &&
           assignment.value < static_cast<int>(t.combos[i].items.size());
      expected = "an item index from 0 to " + std::to_string(t.combos[i].items.size() - 1) +
                 ", or -1 for no item";
      break;
    case ControlKind::kSpinner:
      ok = Integer(value, assignment.value) && assignment.value >= t.spinners[i].min &&
           assignment.value <= t.spinners[i].max;
      expected = "whole seconds from " + std::to_string(t.spinners[i].min) + " to " +
                 std::to_string(t.spinners[i].max);
      break;
  }
  if (!ok) error = name + ": '" + std::string(value) + "' is not " + expected;
  return ok;
}

void ApplyAssignments(const std::vector<Assignment>& assignments, Selection& selection,
                      const StoredServices& stored) {
  const bool setsPreset =
      std::any_of(assignments.begin(), assignments.end(), [](const Assignment& a) {
        return a.control == ControlRef{ControlKind::kOption, PresetOption()};
      });
  for (const Assignment& a : assignments) {
    const auto i = static_cast<std::size_t>(a.control.index);
    switch (a.control.kind) {
      case ControlKind::kOption:
        selection.options[i] = static_cast<TriState>(a.value);
        selection.RunHandler(a.control.index, stored);
        break;
      case ControlKind::kCombo:
        selection.combos[i] = a.value;
        break;
      case ControlKind::kSpinner:
        selection.spinners[i] = a.value;
        break;
      case ControlKind::kService:
        selection.services[i] = static_cast<TriState>(a.value);
        // A service state counts only once the list is enabled: the preset
        // that keeps the states as they are is "Из файла настроек".
        if (!setsPreset && selection.State(PresetOption()) == cbGrayed)
          selection.SetState(PresetOption(), cbChecked,
                             StoredServicesRead(std::vector<int>(selection.services.begin(),
                                                                 selection.services.end())));
        break;
    }
  }
}

}  // namespace kwetro
