#include "ui/form_loader.h"

#include <cstdlib>
#include <unordered_set>
#include <vector>

#include "catalogue/services_page.h"
#include "options/text_encoding.h"

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
  Parser(std::string_view text, Form& form, std::string& error)
      : text_(text), form_(form), error_(error) {}

  bool Run() {
    std::vector<int> open;
    while (NextLine()) {
      if (line_.empty() || line_.front() == '#') continue;
      if (line_ == "TPF0" && lineNumber_ == 1) continue;
      if (line_.rfind("object ", 0) == 0) {
        if (!StartObject(open)) return false;
      } else if (line_ == "end") {
        if (open.empty()) return Fail("\"end\" without an open object");
        open.pop_back();
      } else {
        if (open.empty()) return Fail("property outside of an object");
        if (!ParseProperty(form_.components[static_cast<std::size_t>(open.back())])) return false;
      }
    }
    if (!open.empty()) return Fail("object \"" + form_.components[open.back()].name + "\" has no \"end\"");
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

  bool StartObject(std::vector<int>& open) {
    const std::string_view rest = Trim(line_.substr(7));
    const std::size_t colon = rest.find(':');
    if (colon == std::string_view::npos) return Fail("expected \"object Name: Class\"");
    Component c;
    c.name = std::string(Trim(rest.substr(0, colon)));
    c.className = std::string(Trim(rest.substr(colon + 1)));
    if (c.name.empty() || c.className.empty()) return Fail("expected \"object Name: Class\"");
    if (!names_.insert(c.name).second) return Fail("control \"" + c.name + "\" appears twice");
    c.parent = open.empty() ? -1 : open.back();
    if (c.parent < 0 && !form_.components.empty()) return Fail("a second top-level object");
    open.push_back(static_cast<int>(form_.components.size()));
    form_.components.push_back(std::move(c));
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
    std::string utf8;
    std::size_t i = 1;
    for (;;) {
      if (i >= text.size()) return Fail("unterminated string");
      if (text[i] == '\'') {
        if (i + 1 < text.size() && text[i + 1] == '\'') {
          utf8 += '\'';
          i += 2;
          continue;
        }
        ++i;
        break;
      }
      utf8 += text[i++];
    }
    if (i != text.size()) return Fail("text after the closing quote");
    if (!IsCp1251Representable(utf8)) return Fail("text that Windows-1251 cannot hold");
    value = Utf8ToCp1251(utf8);
    return true;
  }

  bool ParseProperty(Component& c) {
    const std::size_t eq = line_.find('=');
    if (eq == std::string_view::npos) return Fail("expected \"Property = value\"");
    Property p;
    p.name = std::string(Trim(line_.substr(0, eq)));
    const std::string_view value = Trim(line_.substr(eq + 1));
    if (p.name.empty()) return Fail("property without a name");
    if (c.Find(p.name)) return Fail("property \"" + p.name + "\" given twice");
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
    c.props.push_back(std::move(p));
    return true;
  }

  std::string_view text_;
  Form& form_;
  std::string& error_;
  std::size_t pos_ = 0;
  int lineNumber_ = 0;
  std::string_view line_;
  std::unordered_set<std::string> names_;
};

bool ParseState(const std::string& text, TriState& state) {
  if (text == "cbUnchecked") state = cbUnchecked;
  else if (text == "cbChecked") state = cbChecked;
  else if (text == "cbGrayed") state = cbGrayed;
  else return false;
  return true;
}

bool ParseBool(const Component& c, const char* name, bool fallback) {
  const Property* p = c.Find(name);
  if (!p) return fallback;
  return p->value == "True";
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
    if (c.className == "TRzCheckBox") {
      c.kind = ControlKind::kOption;
      c.index = FindOption(c.name);
      if (c.index < 0) return fail("unknown option \"" + c.name + "\"");
      ++optionSeen[static_cast<std::size_t>(c.index)];
      OptionControl& o = form.options[static_cast<std::size_t>(c.index)];
      if (!ParseState(c.Text("State", "cbUnchecked"), o.state))
        return fail("bad State of \"" + c.name + "\"");
      o.caption = c.Text("Caption");
      o.hint = c.Text("Hint");
      o.allowGrayed = ParseBool(c, "AllowGrayed", false);
    } else if (c.className == "TRzComboBox") {
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
    } else if (c.className == "TRzSpinner") {
      c.kind = ControlKind::kSpinner;
      c.index = FindSpinner(c.name);
      if (c.index < 0) return fail("unknown spinner \"" + c.name + "\"");
      ++spinnerSeen[static_cast<std::size_t>(c.index)];
      SpinnerControl& spinner = form.spinners[static_cast<std::size_t>(c.index)];
      spinner.min = c.Int("Min");
      spinner.max = c.Int("Max");
      spinner.value = c.Int("Value");
      spinner.hint = c.Text("Hint");
    } else if (c.className == "TRzCheckList") {
      if (c.name != "CheckListBox1" || listSeen) return fail("unexpected check list \"" + c.name + "\"");
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
    if (c.name == "sLabel2_2") form.layoutOrderLabel = c.Text("Caption");
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

bool ParseFormDescription(std::string_view text, Form& form, std::string& error) {
  form = Form();
  if (!Parser(text, form, error).Run() || !Bind(form, error)) return false;
  form.ApplyCaptionRules();
  return true;
}

bool LoadFormResource(std::string_view stored, Form& form, std::string& error) {
  if (stored.size() >= 4 && stored.substr(0, 4) == "UQG1") {
    std::string plain(stored);
    for (char& c : plain) c = static_cast<char>(static_cast<unsigned char>(c) - 1);
    return ParseFormDescription(plain, form, error);
  }
  return ParseFormDescription(stored, form, error);
}

}  // namespace kwetro
