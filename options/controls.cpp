#include "options/controls.h"

#include <stdexcept>
#include <unordered_map>

#include "options/declare.h"

namespace kwetro {
namespace {

CaptionText Joined(std::string_view a, std::string_view b = {}, std::string_view c = {}) {
  return {a, b, c};
}

struct Table {
  ControlTable controls;
  std::unordered_map<std::string_view, ControlRef> byName;

  Table() {
    controls.options.reserve(160);
    controls.order.reserve(170);
    Declare d(controls);
    DeclareControls(d);
    DeclareServices(controls.services);
    byName.reserve(controls.order.size() + controls.services.size());
    for (const ControlRef& ref : controls.order) byName.emplace(NameOf(ref), ref);
    for (std::size_t i = 0; i < controls.services.size(); ++i)
      byName.emplace(controls.services[i].key,
                     ControlRef{ControlKind::kService, static_cast<int>(i)});
  }

  std::string_view NameOf(const ControlRef& ref) const {
    const auto i = static_cast<std::size_t>(ref.index);
    switch (ref.kind) {
      case ControlKind::kOption:
        return controls.options[i].name;
      case ControlKind::kCombo:
        return controls.combos[i].name;
      case ControlKind::kSpinner:
        return controls.spinners[i].name;
      case ControlKind::kService:
        return controls.services[i].key;
    }
    return {};
  }
};

// Built once, on first use, and kept until the program ends.
const Table& TheTable() {
  static const Table& table = *new Table;
  return table;
}

int IndexOf(std::string_view name, ControlKind kind) {
  ControlRef ref;
  if (!FindControl(name, ref) || ref.kind != kind)
    throw std::logic_error("no control " + std::string(name) + " of that kind");
  return ref.index;
}

}  // namespace

void Declare::Page(std::string_view name, std::string_view caption, std::string_view parent,
                   bool stopsCountdown) {
  int parentIndex = -1;
  for (std::size_t i = 0; i < table_.pages.size(); ++i)
    if (table_.pages[i].name == parent) parentIndex = static_cast<int>(i);
  if (!parent.empty() && parentIndex < 0)
    throw std::logic_error("page " + std::string(name) + " inside an undeclared page");
  page_ = static_cast<int>(table_.pages.size());
  stopsCountdown_ = stopsCountdown;
  table_.pages.push_back({name, caption, parentIndex});
}

OptionDecl& Declare::Add(std::string_view name, TriState builtIn, std::string_view hint) {
  table_.order.push_back({ControlKind::kOption, static_cast<int>(table_.options.size())});
  OptionDecl& option = table_.options.emplace_back();
  option.name = name;
  option.page = page_;
  option.builtIn = builtIn;
  option.hint = hint;
  option.stopsCountdown = stopsCountdown_;
  return option;
}

void Declare::Standard(std::string_view name, TriState builtIn, std::string_view title,
                       std::string_view hint, std::string_view tail, std::string_view skip) {
  Add(name, builtIn, hint).captions = {Joined(title, kNoSuffix, tail),
                                       Joined(title, kYesSuffix, tail), Joined(title, skip, tail)};
}

void Declare::Own(std::string_view name, TriState builtIn, std::array<std::string_view, 3> captions,
                  std::string_view hint) {
  Add(name, builtIn, hint).captions = {Joined(captions[1]), Joined(captions[0]),
                                       Joined(captions[2])};
}

void Declare::TwoWay(std::string_view name, TriState builtIn, std::string_view checked,
                     std::string_view notChecked, std::string_view hint) {
  Add(name, builtIn, hint).captions = {Joined(notChecked), Joined(checked), Joined(notChecked)};
}

void Declare::StartItem(std::string_view name, TriState builtIn, std::string_view item,
                        std::string_view hint) {
  Add(name, builtIn, hint).captions = {Joined("\"", item, "\" - не отображать"),
                                       Joined("\"", item, "\" - отображать как ссылку"),
                                       Joined("\"", item, "\" - отображать как меню")};
}

void Declare::StartItemTwoWay(std::string_view name, TriState builtIn, std::string_view item,
                              std::string_view hint) {
  const CaptionText hidden = Joined("\"", item, "\" - не отображать");
  Add(name, builtIn, hint).captions = {hidden, Joined("\"", item, "\" - отображать"), hidden};
}

void Declare::StateHints(std::array<std::string_view, 3> hints) {
  table_.options.back().stateHints = {hints[1], hints[0], hints[2]};
}

void Declare::Preset(std::string_view name, TriState builtIn,
                     std::array<std::string_view, 3> captions, std::string_view hint) {
  Own(name, builtIn, captions, hint);
}

void Declare::Note(std::string_view name, std::string_view caption, std::string_view hint) {
  page_ = -1;
  stopsCountdown_ = false;
  OptionDecl& option = Add(name, cbUnchecked, hint);
  option.captions = {Joined(caption), Joined(caption), Joined(caption)};
  option.allowGrayed = false;
}

void Declare::Deployment(std::string_view name, std::string_view checked,
                         std::string_view notChecked, std::string_view hint) {
  OptionDecl& option = Add(name, cbUnchecked, hint);
  option.captions = {Joined(notChecked), Joined(checked), Joined(notChecked)};
  option.allowGrayed = false;
  option.sectionWhenUsed = true;
}

void Declare::Combo(std::string_view name, std::string_view label, std::string_view labelCaption,
                    std::initializer_list<std::string_view> items, int builtIn,
                    std::string_view hint, std::string_view explanation) {
  table_.order.push_back({ControlKind::kCombo, static_cast<int>(table_.combos.size())});
  table_.combos.push_back({name, page_, label, labelCaption, items, builtIn, hint, explanation});
}

void Declare::Spinner(std::string_view name, std::string_view label, std::string_view labelCaption,
                      int min, int max, int builtIn, std::string_view hint,
                      std::string_view explanation) {
  table_.order.push_back({ControlKind::kSpinner, static_cast<int>(table_.spinners.size())});
  table_.spinners.push_back(
      {name, page_, label, labelCaption, min, max, builtIn, hint, explanation});
}

std::string ServiceDecl::ItemText() const {
  std::string text(display);
  text.append(kServiceItemSeparator).append(key);
  return text;
}

const ControlTable& Controls() { return TheTable().controls; }

std::vector<ControlRef> WindowOrder() {
  const ControlTable& t = Controls();
  std::vector<ControlRef> controls;
  controls.reserve(t.order.size() + t.services.size());
  for (const ControlRef& control : t.order) {
    controls.push_back(control);
    if (control.kind == ControlKind::kOption && control.index == PresetOption())
      for (std::size_t i = 0; i < t.services.size(); ++i)
        controls.push_back({ControlKind::kService, static_cast<int>(i)});
  }
  return controls;
}

bool FindControl(std::string_view name, ControlRef& found) {
  const auto& byName = TheTable().byName;
  const auto it = byName.find(name);
  if (it == byName.end()) return false;
  found = it->second;
  return true;
}

int OptionIndex(std::string_view name) { return IndexOf(name, ControlKind::kOption); }
int ComboIndex(std::string_view name) { return IndexOf(name, ControlKind::kCombo); }
int SpinnerIndex(std::string_view name) { return IndexOf(name, ControlKind::kSpinner); }

int ServiceIndex(std::string_view key) { return IndexOf(key, ControlKind::kService); }

std::string_view ControlName(const ControlRef& control) { return TheTable().NameOf(control); }

int PresetOption() {
  static const int preset = OptionIndex("srCheckBox_1_1");
  return preset;
}

int ServicesPage() { return Controls().options[static_cast<std::size_t>(PresetOption())].page; }

std::string Caption(const OptionDecl& option, TriState state) {
  return JoinCaption(option.captions[state]);
}

std::string JoinCaption(const CaptionText& text) {
  std::string caption;
  caption.reserve(text.a.size() + text.b.size() + text.c.size());
  return caption.append(text.a).append(text.b).append(text.c);
}

std::string_view Hint(const OptionDecl& option, TriState state) {
  return option.stateHints[state].empty() ? option.hint : option.stateHints[state];
}

std::string PagePath(int page) {
  std::string path;
  for (; page >= 0; page = Controls().pages[static_cast<std::size_t>(page)].parent) {
    const std::string_view caption = Controls().pages[static_cast<std::size_t>(page)].caption;
    path = path.empty() ? std::string(caption) : std::string(caption) + " / " + path;
  }
  return path;
}

}  // namespace kwetro
