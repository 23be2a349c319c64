#include "ui/layout.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>

#include "options/controls.h"

namespace kwetro {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

class Parser {
 public:
  Parser(std::string_view text, Layout& layout, std::string& error)
      : text_(text), layout_(layout), error_(error) {}

  bool Run() {
    while (NextLine()) {
      if (line_.empty() || line_.front() == '#' || (line_ == "TPF0" && lineNumber_ == 1)) continue;
      if (line_.rfind("object ", 0) == 0) {
        if (!StartObject()) return false;
      } else if (line_ == "end") {
        if (open_.empty()) return Fail("\"end\" without an open object");
        open_.pop_back();
      } else {
        if (open_.empty()) return Fail("property outside of an object");
        if (!ParseProperty()) return false;
      }
    }
    if (!open_.empty())
      return Fail("object \"" + layout_.items[open_.back()].name + "\" has no \"end\"");
    if (layout_.items.empty()) return Fail("no window object");
    return true;
  }

 private:
  bool NextLine() {
    if (pos_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    line_ = Trim(text_.substr(pos_, end - pos_));
    pos_ = end + 1;
    ++lineNumber_;
    return true;
  }

  bool Fail(const std::string& what) {
    error_ = "window layout, line " + std::to_string(lineNumber_) + ": " + what;
    return false;
  }

  bool StartObject() {
    const std::string_view rest = line_.substr(7);
    const std::size_t colon = rest.find(':');
    LayoutItem item;
    if (colon != std::string_view::npos) {
      item.name = std::string(Trim(rest.substr(0, colon)));
      item.className = std::string(Trim(rest.substr(colon + 1)));
    }
    if (item.name.empty() || item.className.empty()) return Fail("expected \"object Name: Class\"");
    if (!names_.emplace(item.name, layout_.items.size()).second)
      return Fail("control \"" + item.name + "\" appears twice");
    item.parent = open_.empty() ? -1 : static_cast<int>(open_.back());
    if (item.parent < 0 && !layout_.items.empty()) return Fail("a second top-level object");
    open_.push_back(layout_.items.size());
    layout_.items.push_back(std::move(item));
    return true;
  }

  // A string literal ('' stands for one quote) or a bare token.
  bool ParseValue(std::string_view text, std::string& value, bool& isString) {
    isString = !text.empty() && text.front() == '\'';
    if (!isString) {
      if (text.empty()) return Fail("missing value");
      value = std::string(text);
      return true;
    }
    value.clear();
    std::size_t i = 1;
    for (;;) {
      const std::size_t quote = text.find('\'', i);
      if (quote == std::string_view::npos) return Fail("unterminated string");
      value.append(text.substr(i, quote - i));
      i = quote + 1;
      if (i < text.size() && text[i] == '\'') {
        value += '\'';
        ++i;
        continue;
      }
      break;
    }
    if (i != text.size()) return Fail("text after the closing quote");
    for (char c : value)
      if (static_cast<unsigned char>(c) < 0x20) return Fail("control character in a text");
    return true;
  }

  bool ParseProperty() {
    const std::size_t eq = line_.find('=');
    if (eq == std::string_view::npos) return Fail("expected \"Property = value\"");
    LayoutProperty p;
    p.name = std::string(Trim(line_.substr(0, eq)));
    if (p.name.empty()) return Fail("property without a name");
    LayoutItem& item = layout_.items[open_.back()];
    if (item.Find(p.name)) return Fail("property \"" + p.name + "\" given twice");
    const std::string_view value = Trim(line_.substr(eq + 1));
    if (value == "(") {
      for (;;) {
        if (!NextLine()) return Fail("list without \")\"");
        if (line_ == ")") break;
        if (line_.empty() || line_.front() == '#') continue;
        std::string entry;
        bool isString = false;
        if (!ParseValue(line_, entry, isString)) return false;
        p.list.push_back(std::move(entry));
      }
    } else if (!ParseValue(value, p.value, p.isString)) {
      return false;
    }
    item.props.push_back(std::move(p));
    return true;
  }

  std::string_view text_;
  Layout& layout_;
  std::string& error_;
  std::size_t pos_ = 0;
  int lineNumber_ = 0;
  std::string_view line_;
  std::vector<std::size_t> open_;  // the objects not yet ended, outermost first
  std::unordered_map<std::string, std::size_t> names_;
};

struct ObjectDecl {
  std::string_view name;
  std::string_view className;
};

// By WindowObject.
constexpr ObjectDecl kWindowObjects[kWindowObjectCount] = {
    {"Label10", "TLabel"},
    {"InfoLabel", "TLabel"},
    {"SearchEdit", "TEdit"},
    {"SearchCount", "TLabel"},
    {"PageControl1", "TPageControl"},
    {"PageControl2", "TPageControl"},
    {"CheckListBox1", "TRzCheckList"},
    {"RzURLLabel1", "TRzURLLabel"},
    {"RzDialogButtons1", "TRzDialogButtons"},
    {"MachineButton", "TRzMenuButton"},
    {"MarksLegend", "TPanel"},
    {"Timer1", "TTimer"},
    {"Timer2", "TTimer"},
};

const ObjectDecl& Decl(WindowObject object) {
  return kWindowObjects[static_cast<std::size_t>(object)];
}

// What the control table says of each name it declares, and which layout
// class shows it.
struct Declared {
  Bound bound;
  int index;
  int page;
  std::string_view className;
};

std::unordered_map<std::string_view, Declared> DeclaredNames() {
  const ControlTable& t = Controls();
  std::unordered_map<std::string_view, Declared> names;
  for (std::size_t i = 0; i < t.pages.size(); ++i)
    names.emplace(t.pages[i].name,
                  Declared{Bound::kPage, static_cast<int>(i), t.pages[i].parent, "TTabSheet"});
  for (std::size_t i = 0; i < t.options.size(); ++i)
    names.emplace(t.options[i].name,
                  Declared{Bound::kOption, static_cast<int>(i), t.options[i].page, "TRzCheckBox"});
  for (std::size_t i = 0; i < t.combos.size(); ++i) {
    const ComboDecl& c = t.combos[i];
    names.emplace(c.name, Declared{Bound::kCombo, static_cast<int>(i), c.page, "TRzComboBox"});
    names.emplace(c.label, Declared{Bound::kComboLabel, static_cast<int>(i), c.page, "TLabel"});
  }
  for (std::size_t i = 0; i < t.spinners.size(); ++i) {
    const SpinnerDecl& s = t.spinners[i];
    names.emplace(s.name, Declared{Bound::kSpinner, static_cast<int>(i), s.page, "TRzSpinner"});
    names.emplace(s.label, Declared{Bound::kSpinnerLabel, static_cast<int>(i), s.page, "TLabel"});
  }
  // The services list shows the table's services; it sits on the preset's page.
  const ObjectDecl& list = Decl(WindowObject::kServicesList);
  names.emplace(list.name, Declared{Bound::kServicesList, 0, ServicesPage(), list.className});
  return names;
}

// Properties the control table holds for each kind: a layout that gave them
// too would hold a second copy of a fact.
const std::vector<std::string_view>& TableFacts(Bound bound) {
  static const std::vector<std::string_view> kNone,
      kCaption = {"Caption", "Hint"}, kOption = {"Caption", "Hint", "State", "AllowGrayed"},
      kCombo = {"Items", "ItemIndex", "Hint"}, kSpinner = {"Min", "Max", "Value", "Hint"},
      kList = {"Items", "ItemStates", "Enabled"};
  switch (bound) {
    case Bound::kOption:
      return kOption;
    case Bound::kCombo:
      return kCombo;
    case Bound::kSpinner:
      return kSpinner;
    case Bound::kComboLabel:
    case Bound::kSpinnerLabel:
    case Bound::kPage:
      return kCaption;
    case Bound::kServicesList:
      return kList;
    case Bound::kNone:
      break;
  }
  return kNone;
}

// The page an item sits on: the nearest tab sheet around it, -1 for none.
int PageOf(const Layout& layout, int item) {
  for (int i = layout.items[static_cast<std::size_t>(item)].parent; i >= 0;
       i = layout.items[static_cast<std::size_t>(i)].parent)
    if (layout.items[static_cast<std::size_t>(i)].bound == Bound::kPage)
      return layout.items[static_cast<std::size_t>(i)].index;
  return -1;
}

// A layout refused, and why, in the words the user reads.
bool Refused(std::string& error, const std::string& what) {
  error = "window layout: " + what;
  return false;
}

// The window's own objects, and the controls labels name.
bool BindObjects(Layout& layout, std::string& error) {
  auto fail = [&error](const std::string& what) { return Refused(error, what); };
  layout.objects.assign(kWindowObjectCount, -1);
  for (int i = 0; i < kWindowObjectCount; ++i) {
    const ObjectDecl& object = kWindowObjects[i];
    const int item = layout.Named(object.name);
    const std::string what = "the window's own \"" + std::string(object.name) + "\"";
    if (item < 0) return fail(what + " is missing");
    if (layout.items[static_cast<std::size_t>(item)].className != object.className)
      return fail(what + " must be a " + std::string(object.className));
    layout.objects[static_cast<std::size_t>(i)] = item;
  }
  for (const LayoutItem& item : layout.items)
    if (item.Find("FocusControl") && layout.Named(item.Text("FocusControl")) < 0)
      return fail("\"" + item.name + "\" names \"" + item.Text("FocusControl") +
                  "\", which is not in the layout");
  return true;
}

bool Bind(Layout& layout, std::string& error) {
  const auto declared = DeclaredNames();
  auto fail = [&error](const std::string& what) { return Refused(error, what); };
  // Every item bound first: an item's page is known once every tab sheet is.
  for (LayoutItem& item : layout.items) {
    const auto it = declared.find(item.name);
    if (it == declared.end()) {
      if (item.className == "TTabSheet" || item.className == "TRzCheckBox" ||
          item.className == "TRzComboBox" || item.className == "TRzSpinner" ||
          item.className == "TRzCheckList")
        return fail("\"" + item.name + "\" is not a control the program knows");
      continue;
    }
    if (item.className != it->second.className)
      return fail("\"" + item.name + "\" must be a " + std::string(it->second.className));
    item.bound = it->second.bound;
    item.index = it->second.index;
    for (std::string_view fact : TableFacts(item.bound))
      if (item.Find(fact))
        return fail("\"" + item.name + "\" gives " + std::string(fact) +
                    ", which the program declares itself");
  }
  std::unordered_map<std::string_view, int> placed;
  for (std::size_t i = 0; i < layout.items.size(); ++i) {
    const LayoutItem& item = layout.items[i];
    if (item.bound == Bound::kNone) continue;
    ++placed[item.name];
    const int expected = declared.at(item.name).page;
    if (PageOf(layout, static_cast<int>(i)) != expected)
      return fail("\"" + item.name + "\" must sit on " +
                  (expected < 0 ? std::string("the window itself")
                                : "the page \"" + PagePath(expected) + "\""));
  }
  for (const auto& entry : declared)
    if (placed[entry.first] != 1) return fail("\"" + std::string(entry.first) + "\" is missing");
  return BindObjects(layout, error);
}

}  // namespace

const LayoutProperty* LayoutItem::Find(std::string_view property) const {
  for (const LayoutProperty& p : props)
    if (p.name == property) return &p;
  return nullptr;
}

std::string LayoutItem::Text(std::string_view property, std::string_view fallback) const {
  const LayoutProperty* p = Find(property);
  return p ? p->value : std::string(fallback);
}

int LayoutItem::Int(std::string_view property, int fallback) const {
  const LayoutProperty* p = Find(property);
  if (!p || p->isString || p->value.empty()) return fallback;
  char* end = nullptr;
  const long v = std::strtol(p->value.c_str(), &end, 10);
  return *end == '\0' ? static_cast<int>(v) : fallback;
}

bool LayoutItem::Flag(std::string_view property, bool fallback) const {
  const LayoutProperty* p = Find(property);
  return p ? p->value == "True" : fallback;
}

std::string WithoutMnemonic(std::string_view caption) {
  std::string text;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && ++i == caption.size()) break;
    text += caption[i];
  }
  return text;
}

std::string_view ObjectName(WindowObject object) { return Decl(object).name; }

int Layout::Named(std::string_view name) const {
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].name == name) return static_cast<int>(i);
  return -1;
}

bool ParseLayout(std::string_view text, Layout& layout, std::string& error) {
  layout = Layout();
  return Parser(text, layout, error).Run() && Bind(layout, error);
}

bool LoadFormResource(std::string_view stored, Layout& layout, std::string& error) {
  if (stored.substr(0, 4) != "UQG1") return ParseLayout(stored, layout, error);
  std::string plain(stored);
  for (char& c : plain) c = static_cast<char>(static_cast<unsigned char>(c) - 1);
  return ParseLayout(plain, layout, error);
}

}  // namespace kwetro
