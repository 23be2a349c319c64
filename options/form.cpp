#include "options/form.h"

#include <cstdlib>

#include "catalogue/services_page.h"
#include "options/text_encoding.h"

namespace kwetro {

const std::array<const char*, kComboCount>& ComboNames() {
  static const std::array<const char*, kComboCount> names = {
      "sComboBox_1_1", "sComboBox_2_1", "sComboBox_3_1",
      "sComboBox_4_1", "sComboBox_5_1", "pComboBox_1_1"};
  return names;
}

const std::array<const char*, kSpinnerCount>& SpinnerNames() {
  static const std::array<const char*, kSpinnerCount> names = {"sSpinner4_1", "sSpinner4_2",
                                                                "sSpinner4_3"};
  return names;
}

int FindCombo(std::string_view name) {
  for (int i = 0; i < kComboCount; ++i)
    if (name == ComboNames()[static_cast<std::size_t>(i)]) return i;
  return -1;
}

int FindSpinner(std::string_view name) {
  for (int i = 0; i < kSpinnerCount; ++i)
    if (name == SpinnerNames()[static_cast<std::size_t>(i)]) return i;
  return -1;
}

const Property* Component::Find(std::string_view propName) const {
  for (const Property& p : props)
    if (p.name == propName) return &p;
  return nullptr;
}

std::string Component::Text(std::string_view propName, std::string_view fallback) const {
  const Property* p = Find(propName);
  return p ? p->value : std::string(fallback);
}

int Component::Int(std::string_view propName, int fallback) const {
  const Property* p = Find(propName);
  if (!p || p->isString) return fallback;
  char* end = nullptr;
  const long v = std::strtol(p->value.c_str(), &end, 10);
  return end && *end == '\0' && !p->value.empty() ? static_cast<int>(v) : fallback;
}

const std::string& ApplyCaption() {
  static const std::string caption = Utf8ToCp1251("Применить");
  return caption;
}

Form::Form() : options(OptionDefs().size()), captionOk(ApplyCaption()) {}

void Form::Click(int id) {
  OptionControl& o = options[static_cast<std::size_t>(id)];
  TriState next = cbChecked;
  if (o.state == cbUnchecked)
    next = o.allowGrayed ? cbGrayed : cbChecked;
  else if (o.state == cbChecked)
    next = cbUnchecked;
  // The check box itself runs the handler after every change of state.
  o.state = next;
  RunClickHandler(id);
}

void Form::SetState(int id, TriState state) {
  OptionControl& o = options[static_cast<std::size_t>(id)];
  if (o.state == state) return;
  o.state = state;
  RunClickHandler(id);
}

void Form::StopCountdown() {
  countdownTimerEnabled = false;
  captionOk = ApplyCaption();
}

void Form::ApplyCaptionRule(int id) {
  const OptionDef& def = OptionDefs()[static_cast<std::size_t>(id)];
  OptionControl& o = options[static_cast<std::size_t>(id)];
  o.caption = def.captions[o.state];
  if (!def.hints[o.state].empty()) o.hint = def.hints[o.state];
}

void Form::RunClickHandler(int id) {
  const OptionDef& def = OptionDefs()[static_cast<std::size_t>(id)];
  if (def.role == OptionRole::kNoHandler) return;
  if (def.stopsCountdown) StopCountdown();
  if (def.role == OptionRole::kServicesPreset)
    ApplyServicesPreset(*this);
  else
    ApplyCaptionRule(id);
}

void Form::ApplyCaptionRules() {
  const auto& defs = OptionDefs();
  for (std::size_t i = 0; i < defs.size(); ++i)
    if (defs[i].role != OptionRole::kNoHandler) ApplyCaptionRule(static_cast<int>(i));
}

}  // namespace kwetro
