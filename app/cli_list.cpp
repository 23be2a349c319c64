// kwetro-cli list: every control of a selection, for pipelines and for the
// reference of all options (docs/options.md).
#include <map>
#include <string>

#include "app/cli_commands.h"
#include "app/cli_format.h"
#include "catalogue/control_lines.h"
#include "options/service_starts.h"

namespace kwetro {
namespace {

struct Row : ControlFields {
  std::vector<std::string> writes;
};

// The part of a hint the information line shows.
std::string LongHint(std::string_view hint) {
  const std::size_t bar = hint.find('|');
  if (bar != std::string_view::npos) hint.remove_prefix(bar + 1);
  while (!hint.empty() && hint.front() == ' ') hint.remove_prefix(1);
  return std::string(hint);
}

std::string PageOf(int page) { return page < 0 ? "(главное окно)" : PagePath(page); }

std::vector<Row> Rows(const Selection& selection) {
  std::map<std::pair<int, int>, std::vector<std::string>> writes;
  ForEachControlLine(&selection, [&writes](ControlRef control, std::string_view line) {
    writes[{static_cast<int>(control.kind), control.index}].emplace_back(line);
  });
  std::vector<Row> rows;
  for (const ControlRef& control : WindowOrder()) {
    Row row;
    static_cast<ControlFields&>(row) = Describe(selection, control);
    row.writes = writes[{static_cast<int>(control.kind), control.index}];
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace

ControlFields Describe(const Selection& selection, ControlRef control) {
  const ControlTable& t = Controls();
  const auto i = static_cast<std::size_t>(control.index);
  ControlFields row;
  row.name = ControlName(control);
  switch (control.kind) {
    case ControlKind::kOption:
      row.page = PageOf(t.options[i].page);
      row.kind = control.index == PresetOption() ? "preset" : "option";
      row.state = kOptionStateWords[selection.State(control.index)];
      row.caption = selection.Caption(control.index);
      row.hint = LongHint(selection.Hint(control.index));
      break;
    case ControlKind::kCombo: {
      const ComboDecl& combo = t.combos[i];
      const int index = selection.combos[i];
      row.page = PageOf(combo.page);
      row.kind = "combo";
      row.state = index >= 0 && static_cast<std::size_t>(index) < combo.items.size()
                      ? std::to_string(index) + " " +
                            std::string(combo.items[static_cast<std::size_t>(index)])
                      : "-1";
      row.caption = combo.labelCaption;
      row.hint = std::string(combo.hint) + " — " + std::string(combo.explanation);
      break;
    }
    case ControlKind::kSpinner:
      row.page = PageOf(t.spinners[i].page);
      row.kind = "spinner";
      row.state = std::to_string(selection.spinners[i]);
      row.caption = t.spinners[i].labelCaption;
      row.hint = std::string(t.spinners[i].hint) + " — " + std::string(t.spinners[i].explanation);
      break;
    case ControlKind::kService:  // on the page of its preset box
      row.page = PageOf(t.options[static_cast<std::size_t>(PresetOption())].page);
      row.kind = "service";
      row.state = StartOf(selection.services[i]).word;
      row.caption = t.services[i].display;
      break;
  }
  return row;
}

std::string ListControls(const Selection& selection, Format format) {
  Listing listing;
  listing.columns = {{"name"},    {"page"}, {"kind"},        {"state"},
                     {"caption"}, {"hint"}, {"writes", true}};
  for (Row& row : Rows(selection))
    listing.rows.push_back({{row.name},
                            {row.page},
                            {row.kind},
                            {row.state},
                            {row.caption},
                            {row.hint},
                            {std::move(row.writes)}});
  listing.markdownSection = 1;
  listing.markdownTitle =
      "# Every control of Kwetro\n\n"
      "Made by `kwetro-cli list --format markdown` from the built-in selection "
      "(`scripts/update-options-doc.sh`): each control in the window's order, its state and "
      "caption there, and its hint, which says what each state writes and which is the "
      "Windows standard. States: options `yes`, `no`, `skip`; drop-down lists the item index "
      "and text (`-1`: no item, nothing written); spinners seconds; services `auto`, "
      "`manual`, `disabled`.\n";
  return Render(listing, format);
}

}  // namespace kwetro
