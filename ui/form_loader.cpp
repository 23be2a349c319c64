#include "ui/form_loader.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <unordered_set>
#include <vector>

#include "catalogue/services_page.h"
#include "options/text_encoding.h"

namespace kwetro {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view TrimLeft(std::string_view s) {
  std::size_t begin = 0;
  // Lines are indented by their depth: leading blanks are looked at eight
  // bytes at a time, the first byte that is not " " found from the lowest set
  // bit of the word's difference from eight blanks (little-endian order).
  while (s.size() - begin >= 8) {
    std::uint64_t word;
    std::memcpy(&word, s.data() + begin, 8);
    const std::uint64_t difference = word ^ 0x2020202020202020u;
    if (difference != 0) {
      begin += static_cast<std::size_t>(__builtin_ctzll(difference)) / 8;
      break;
    }
    begin += 8;
  }
  while (begin < s.size() && IsBlank(s[begin])) ++begin;
  return s.substr(begin);
}

std::string_view TrimRight(std::string_view s) {
  std::size_t end = s.size();
  while (end > 0 && IsBlank(s[end - 1])) --end;
  return s.substr(0, end);
}

std::string_view Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

using PropertyNames = std::vector<std::string_view>;

// The properties of a control that the engine reads, in the engine's view of
// the window; none for most controls. Positions, sizes, tab order and the
// texts that only the window shows are skipped unread, and so are the
// captions of option boxes, which their caption rules replace at once.
const PropertyNames& EngineProperties(const Component& c) {
  static const PropertyNames kNone,
      kOptionBox = {"State", "AllowGrayed"}, kCaptionedBox = {"State", "AllowGrayed", "Caption"},
      kCombo = {"Items", "ItemIndex", "Hint"}, kSpinner = {"Min", "Max", "Value", "Hint"},
      kCheckList = {"Items", "ItemStates", "Enabled", "Color"}, kLabel = {"Caption"};
  const std::string_view className = c.className;
  if (className == "TRzCheckBox") {
    const int id = c.index;
    const bool ownCaption =
        id >= 0 && OptionDefs()[static_cast<std::size_t>(id)].role == OptionRole::kNoHandler;
    return ownCaption ? kCaptionedBox : kOptionBox;
  }
  if (className == "TRzComboBox") return kCombo;
  if (className == "TRzSpinner") return kSpinner;
  if (className == "TRzCheckList") return kCheckList;
  if (std::string_view(c.name) == "sLabel2_2") return kLabel;
  return kNone;
}

class Parser {
 public:
  Parser(std::string_view text, FormDetail detail, Form& form, std::string& error)
      : text_(text), detail_(detail), form_(form), error_(error) {}

  bool Run() {
    // A control takes some hundreds of bytes of the description: room for
    // that many saves moving the list as it grows.
    form_.components.reserve(text_.size() / 256 + 1);
    while (NextLine()) {
      if (line_.empty() || line_.front() == '#') continue;
      if (line_ == "TPF0" && lineNumber_ == 1) continue;
      if (line_.front() == 'o' && line_.substr(0, 7) == "object ") {
        if (!StartObject()) return false;
      } else if (line_ == "end") {
        if (open_.empty()) return Fail("\"end\" without an open object");
        EndObject();
      } else {
        if (open_.empty()) return Fail("property outside of an object");
        if (!ParseProperty()) return false;
      }
    }
    if (!open_.empty())
      return Fail("object \"" + form_.components[open_.back().component].name +
                  "\" has no \"end\"");
    if (form_.components.empty()) return Fail("no window object");
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
    error_ = "window description, line " + std::to_string(lineNumber_) + ": " + what;
    return false;
  }

  bool StartObject() {
    const std::string_view rest = Trim(line_.substr(7));
    const std::size_t colon = rest.find(':');
    if (colon == std::string_view::npos) return Fail("expected \"object Name: Class\"");
    Component c;
    c.name = std::string(Trim(rest.substr(0, colon)));
    c.className = std::string(Trim(rest.substr(colon + 1)));
    if (c.name.empty() || c.className.empty()) return Fail("expected \"object Name: Class\"");
    if (!names_.insert(Trim(rest.substr(0, colon))).second)
      return Fail("control \"" + c.name + "\" appears twice");
    c.parent = open_.empty() ? -1 : static_cast<int>(open_.back().component);
    if (c.parent < 0 && !form_.components.empty()) return Fail("a second top-level object");
    // An option box's index is needed here in the engine's view and by Bind in
    // both; it is looked up once.
    if (c.className == "TRzCheckBox") c.index = FindOption(c.name);
    const PropertyNames* kept = detail_ == FormDetail::kEngine ? &EngineProperties(c) : nullptr;
    open_.push_back({form_.components.size(), kept});
    form_.components.push_back(std::move(c));
    if (pending_.size() < open_.size()) pending_.resize(open_.size());
    return true;
  }

  // The object's properties were gathered in a list kept for its depth, so
  // that each control's own list is allocated once, at its final size.
  void EndObject() {
    std::vector<Property>& gathered = pending_[open_.size() - 1];
    std::vector<Property>& props = form_.components[open_.back().component].props;
    props.reserve(props.size() + gathered.size());
    for (Property& p : gathered) props.push_back(std::move(p));
    gathered.clear();
    open_.pop_back();
  }

  // A string literal ('' stands for one quote) or a bare token.
  bool ParseValue(std::string_view text, std::string& value, bool& isString) {
    isString = !text.empty() && text.front() == '\'';
    if (!isString) {
      if (text.empty()) return Fail("missing value");
      value = std::string(text);
      return NoControlCharacters(value);
    }
    // Converted run by run between the quotes, straight into the value.
    value.clear();
    value.reserve(text.size());
    bool representable = true;
    std::size_t i = 1;
    for (;;) {
      const std::size_t quote = text.find('\'', i);
      if (quote == std::string_view::npos) return Fail("unterminated string");
      representable = representable && AppendCp1251(text.substr(i, quote - i), value);
      i = quote + 1;
      if (i < text.size() && text[i] == '\'') {
        value += '\'';
        ++i;
        continue;
      }
      break;
    }
    if (i != text.size()) return Fail("text after the closing quote");
    if (!representable) return Fail("text that Windows-1251 cannot hold");
    return NoControlCharacters(value);
  }

  // A text goes into lines of the scripts and of the settings file, where a
  // carriage return (or any other control character but tab) would break the
  // line in two.
  bool NoControlCharacters(std::string_view value) {
    for (char c : value)
      if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
        return Fail("control character in a text");
    return true;
  }

  bool ParseProperty() {
    const std::size_t eq = line_.find('=');
    if (eq == std::string_view::npos) return Fail("expected \"Property = value\"");
    // The line is trimmed already: the name ends before "=", the value starts after it.
    const std::string_view name = TrimRight(line_.substr(0, eq));
    if (name.empty()) return Fail("property without a name");
    const PropertyNames* kept = open_.back().kept;
    if (kept && std::find(kept->begin(), kept->end(), name) == kept->end()) return SkipValue(eq);
    const std::string_view value = TrimLeft(line_.substr(eq + 1));

    std::vector<Property>& gathered = pending_[open_.size() - 1];
    for (const Property& p : gathered)
      if (p.name == name) return Fail("property \"" + p.name + "\" given twice");
    Property p;
    p.name = std::string(name);
    if (value == "(") {
      for (;;) {
        if (!NextLine()) return Fail("list without \")\"");
        if (line_ == ")") break;
        std::string item;
        bool isString = false;
        if (!ParseValue(line_, item, isString)) return false;
        p.list.push_back(std::move(item));
      }
    } else if (!ParseValue(value, p.value, p.isString)) {
      return false;
    }
    gathered.push_back(std::move(p));
    return true;
  }

  // Passes over a value the engine does not read, list or single line; eq is
  // where "=" stands in the line.
  bool SkipValue(std::size_t eq) {
    if (line_.back() != '(' || TrimLeft(line_.substr(eq + 1)) != "(") return true;
    do {
      if (!NextLine()) return Fail("list without \")\"");
    } while (line_ != ")");
    return true;
  }

  std::string_view text_;
  FormDetail detail_;
  Form& form_;
  std::string& error_;
  std::size_t pos_ = 0;
  int lineNumber_ = 0;
  std::string_view line_;
  struct OpenObject {
    std::size_t component;
    const PropertyNames* kept;  // null: every property
  };
  std::vector<OpenObject> open_;                     // the objects not yet ended, outermost first
  std::vector<std::vector<Property>> pending_;       // their properties, by depth
  std::unordered_set<std::string_view> names_{256};  // views of text_
};

bool ParseState(std::string_view text, TriState& state) {
  if (text == "cbUnchecked") state = cbUnchecked;
  else if (text == "cbChecked") state = cbChecked;
  else if (text == "cbGrayed") state = cbGrayed;
  else return false;
  return true;
}

bool ParseBool(const Component& c, const char* name, bool fallback) {
  const Property* p = c.Find(name);
  if (!p) return fallback;
  return std::string_view(p->value) == "True";
}

// A service item must survive as an entry name of the settings file.
bool IsStorableItem(const std::string& item) {
  return !item.empty() && item.find('=') == std::string::npos && item.front() != ';' &&
         item.front() != '[' && item.front() != ' ' && item.back() != ' ' &&
         item.find('*') != std::string::npos;
}

bool Bind(Form& form, std::string& error) {
  std::vector<int> optionSeen(form.options.size(), 0);
  std::array<int, kComboCount> comboSeen{};
  std::array<int, kSpinnerCount> spinnerSeen{};
  bool listSeen = false;
  auto fail = [&error](const std::string& what) {
    error = "window description: " + what;
    return false;
  };
  for (Component& c : form.components) {
    const std::string_view className = c.className;
    if (className == "TRzCheckBox") {
      c.kind = ControlKind::kOption;
      if (c.index < 0) return fail("unknown option \"" + c.name + "\"");
      ++optionSeen[static_cast<std::size_t>(c.index)];
      OptionControl& o = form.options[static_cast<std::size_t>(c.index)];
      if (!ParseState(c.Text("State", "cbUnchecked"), o.state))
        return fail("bad State of \"" + c.name + "\"");
      o.caption = c.Text("Caption");
      o.hint = c.Text("Hint");
      o.allowGrayed = ParseBool(c, "AllowGrayed", false);
    } else if (className == "TRzComboBox") {
      c.kind = ControlKind::kCombo;
      c.index = FindCombo(c.name);
      if (c.index < 0) return fail("unknown drop-down list \"" + c.name + "\"");
      ++comboSeen[static_cast<std::size_t>(c.index)];
      ComboControl& combo = form.combos[static_cast<std::size_t>(c.index)];
      if (const Property* items = c.Find("Items")) combo.items = items->list;
      combo.itemIndex = c.Int("ItemIndex", -1);
      if (combo.itemIndex < -1 || combo.itemIndex >= static_cast<int>(combo.items.size()))
        return fail("ItemIndex of \"" + c.name + "\" outside its items");
      combo.hint = c.Text("Hint");
    } else if (className == "TRzSpinner") {
      c.kind = ControlKind::kSpinner;
      c.index = FindSpinner(c.name);
      if (c.index < 0) return fail("unknown spinner \"" + c.name + "\"");
      ++spinnerSeen[static_cast<std::size_t>(c.index)];
      SpinnerControl& spinner = form.spinners[static_cast<std::size_t>(c.index)];
      spinner.min = c.Int("Min");
      spinner.max = c.Int("Max");
      spinner.value = c.Int("Value");
      spinner.hint = c.Text("Hint");
    } else if (className == "TRzCheckList") {
      if (std::string_view(c.name) != "CheckListBox1" || listSeen)
        return fail("unexpected check list \"" + c.name + "\"");
      listSeen = true;
      c.kind = ControlKind::kCheckList;
      ServicesList& list = form.services;
      if (const Property* items = c.Find("Items")) list.items = items->list;
      list.states.assign(list.items.size(), cbGrayed);
      if (const Property* states = c.Find("ItemStates")) {
        if (states->list.size() != list.items.size())
          return fail("CheckListBox1 has " + std::to_string(list.items.size()) + " items but " +
                      std::to_string(states->list.size()) + " item states");
        for (std::size_t i = 0; i < list.items.size(); ++i)
          if (!ParseState(states->list[i], list.states[i]))
            return fail("bad item state \"" + states->list[i] + "\"");
      }
      if (list.items.size() != static_cast<std::size_t>(kServiceCount))
        return fail("CheckListBox1 must hold " + std::to_string(kServiceCount) + " services");
      for (const std::string& item : list.items)
        if (!IsStorableItem(item)) return fail("service item \"" + Cp1251ToUtf8(item) + "\"");
      list.enabled = ParseBool(c, "Enabled", true);
      list.color = static_cast<std::uint32_t>(std::strtoul(c.Text("Color", "16777215").c_str(), nullptr, 0));
    }
    if (std::string_view(c.name) == "sLabel2_2") form.layoutOrderLabel = c.Text("Caption");
  }
  const auto& defs = OptionDefs();
  for (std::size_t i = 0; i < defs.size(); ++i)
    if (optionSeen[i] != 1) return fail("option \"" + defs[i].name + "\" is missing");
  for (int i = 0; i < kComboCount; ++i)
    if (comboSeen[static_cast<std::size_t>(i)] != 1)
      return fail(std::string("drop-down list \"") + ComboNames()[static_cast<std::size_t>(i)] + "\" is missing");
  for (int i = 0; i < kSpinnerCount; ++i)
    if (spinnerSeen[static_cast<std::size_t>(i)] != 1)
      return fail(std::string("spinner \"") + SpinnerNames()[static_cast<std::size_t>(i)] + "\" is missing");
  if (!listSeen) return fail("the services list CheckListBox1 is missing");
  return true;
}

}  // namespace

bool ParseFormDescription(std::string_view text, Form& form, std::string& error,
                          FormDetail detail) {
  form = Form();
  if (!Parser(text, detail, form, error).Run() || !Bind(form, error)) return false;
  form.ApplyCaptionRules();
  return true;
}

bool LoadFormResource(std::string_view stored, Form& form, std::string& error, FormDetail detail) {
  if (stored.size() >= 4 && stored.substr(0, 4) == "UQG1") {
    // Lowered straight into a buffer of its own, without copying it first.
    const std::unique_ptr<char[]> plain(new char[stored.size()]);
    std::transform(stored.begin(), stored.end(), plain.get(),
                   [](char c) { return static_cast<char>(static_cast<unsigned char>(c) - 1); });
    return ParseFormDescription(std::string_view(plain.get(), stored.size()), form, error, detail);
  }
  return ParseFormDescription(stored, form, error, detail);
}

}  // namespace kwetro
