#include "catalogue/control_search.h"

#include <map>

#include "catalogue/control_lines.h"
#include "options/text_encoding.h"

namespace kwetro {
namespace {

using ControlTexts = std::map<std::pair<int, int>, std::string>;  // by (kind, index)

void Add(ControlTexts& texts, ControlRef control, std::string_view utf8) {
  std::string& text = texts[{static_cast<int>(control.kind), control.index}];
  text += FoldCase(Utf8ToCp1251(utf8));
  text += '\n';  // no match runs from one text into the next
}

}  // namespace

ControlSearch::ControlSearch() {
  const ControlTable& t = Controls();
  ControlTexts texts;
  for (std::size_t i = 0; i < t.options.size(); ++i) {
    const ControlRef control{ControlKind::kOption, static_cast<int>(i)};
    Add(texts, control, t.options[i].hint);
    for (TriState state : {cbUnchecked, cbChecked, cbGrayed}) {
      Add(texts, control, Caption(t.options[i], state));
      Add(texts, control, t.options[i].stateHints[state]);
    }
  }
  for (std::size_t i = 0; i < t.combos.size(); ++i) {
    const ControlRef control{ControlKind::kCombo, static_cast<int>(i)};
    Add(texts, control, t.combos[i].labelCaption);
    Add(texts, control, t.combos[i].hint);
    Add(texts, control, t.combos[i].explanation);
    for (std::string_view item : t.combos[i].items) Add(texts, control, item);
  }
  for (std::size_t i = 0; i < t.spinners.size(); ++i) {
    const ControlRef control{ControlKind::kSpinner, static_cast<int>(i)};
    Add(texts, control, t.spinners[i].labelCaption);
    Add(texts, control, t.spinners[i].hint);
    Add(texts, control, t.spinners[i].explanation);
  }
  for (std::size_t i = 0; i < t.services.size(); ++i)
    Add(texts, {ControlKind::kService, static_cast<int>(i)}, t.services[i].display);
  ForEachControlLine(
      nullptr, [&texts](ControlRef control, std::string_view line) { Add(texts, control, line); });

  auto take = [this, &texts](ControlRef control) {
    texts_.emplace_back(control, std::move(texts[{static_cast<int>(control.kind), control.index}]));
  };
  for (const ControlRef& control : WindowOrder()) take(control);
}

std::vector<ControlRef> ControlSearch::Find(std::string_view query) const {
  std::vector<ControlRef> found;
  const std::string folded = FoldCase(Utf8ToCp1251(query));
  if (folded.empty()) return found;
  for (const auto& [control, text] : texts_)
    if (text.find(folded) != std::string::npos) found.push_back(control);
  return found;
}

}  // namespace kwetro
