#include "catalogue/control_search.h"

#include <map>

#include "catalogue/catalogue.h"
#include "options/text_encoding.h"

namespace kwetro {
namespace {

using ControlTexts = std::map<std::pair<int, int>, std::string>;  // by (kind, index)

void Add(ControlTexts& texts, ControlRef control, std::string_view utf8) {
  std::string& text = texts[{static_cast<int>(control.kind), control.index}];
  text += FoldCase(Utf8ToCp1251(utf8));
  text += '\n';  // no match runs from one text into the next
}

void AddLines(ControlTexts& texts, ControlRef control, const Lines& lines) {
  for (Line line : lines) Add(texts, control, line);
}

// Every line a block can write, for the controls that write it.
void AddBlocks(ControlTexts& texts, const std::vector<Block>& blocks) {
  for (const Block& block : blocks) {
    if (const auto* option = std::get_if<OptionBlock>(&block)) {
      const ControlRef control{ControlKind::kOption, option->option};
      for (const StateLines& state : option->states)
        for (const KeySection& section : state.sections) {
          AddLines(texts, control, section.keys);
          AddLines(texts, control, section.values);
        }
      continue;
    }
    const GroupBlock& group = std::get<GroupBlock>(block);
    for (const GroupItem& item : group.items) {
      ControlRef control{ControlKind::kOption, item.control};
      if (item.kind == GroupItem::kCombo) control.kind = ControlKind::kCombo;
      if (item.kind == GroupItem::kSpinnerMillis) control.kind = ControlKind::kSpinner;
      if (item.kind == GroupItem::kComment) continue;
      Add(texts, control, group.key);
      for (const Lines& lines : item.values) AddLines(texts, control, lines);
      for (const Lines& lines : item.byIndex) AddLines(texts, control, lines);
      if (item.kind == GroupItem::kSpinnerMillis) Add(texts, control, item.text);
    }
  }
}

}  // namespace

ControlSearch::ControlSearch() {
  const ControlTable& t = Controls();
  ControlTexts texts;
  for (std::size_t i = 0; i < t.options.size(); ++i) {
    const ControlRef control{ControlKind::kOption, static_cast<int>(i)};
    for (TriState state : {cbUnchecked, cbChecked, cbGrayed}) {
      Add(texts, control, Caption(t.options[i], state));
      Add(texts, control, Hint(t.options[i], state));
    }
  }
  for (std::size_t i = 0; i < t.combos.size(); ++i) {
    const ControlRef control{ControlKind::kCombo, static_cast<int>(i)};
    Add(texts, control, t.combos[i].labelCaption);
    Add(texts, control, t.combos[i].hint);
    for (std::string_view item : t.combos[i].items) Add(texts, control, item);
  }
  for (std::size_t i = 0; i < t.spinners.size(); ++i) {
    const ControlRef control{ControlKind::kSpinner, static_cast<int>(i)};
    Add(texts, control, t.spinners[i].labelCaption);
    Add(texts, control, t.spinners[i].hint);
  }
  for (std::size_t i = 0; i < t.services.size(); ++i) {
    const ControlRef control{ControlKind::kService, static_cast<int>(i)};
    Add(texts, control, t.services[i].display);
    Add(texts, control,
        "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\" +
            std::string(t.services[i].key));
  }
  for (const auto* blocks :
       {&HklmSystemBlocks(), &HklmExplorerBlocks(), &HkcuSystemBlocks(), &HkcuExplorerBlocks(),
        &VisualEffectBlocks(), &MediaPlayerBlocks(), &InternetExplorerBlocks()})
    AddBlocks(texts, *blocks);

  auto take = [this, &texts](ControlRef control) {
    texts_.emplace_back(control, std::move(texts[{static_cast<int>(control.kind), control.index}]));
  };
  for (const ControlRef& control : t.order) {
    take(control);
    if (control.kind == ControlKind::kOption && control.index == PresetOption())
      for (std::size_t i = 0; i < t.services.size(); ++i)
        take({ControlKind::kService, static_cast<int>(i)});
  }
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
