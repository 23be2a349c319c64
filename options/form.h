// The headless model of the main window: every control that holds state, in
// the window's component order. The generators, the settings file and the
// run control read and write this model only; the Win32 window is a view of it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "options/option_table.h"
#include "options/tri_state.h"

namespace kwetro {

struct OptionControl {
  TriState state = cbGrayed;
  std::string caption;  // Windows-1251, like every text below
  std::string hint;
  bool allowGrayed = true;
};

struct ComboControl {
  std::vector<std::string> items;
  int itemIndex = -1;  // -1: nothing selected
  std::string hint;
};

struct SpinnerControl {
  int min = 0;
  int max = 0;
  int value = 0;
  std::string hint;
};

struct ServicesList {
  bool enabled = false;
  std::uint32_t color = 0xFFFFFF;
  std::vector<std::string> items;  // display text, three characters, "*", key name
  std::vector<TriState> states;    // one per item
  int itemIndex = -1;              // the selected item
};

// The drop-down lists, spinners and labels that the engine reads, by fixed index.
enum ComboId { kAutoUpdateCombo, kLayoutOrderCombo, kPrefetchCombo, kErrorReportCombo,
               kAutorunCombo, kFontSmoothingCombo, kComboCount };
enum SpinnerId { kHungAppSpinner, kKillAppSpinner, kKillServiceSpinner, kSpinnerCount };

const std::array<const char*, kComboCount>& ComboNames();
const std::array<const char*, kSpinnerCount>& SpinnerNames();
int FindCombo(std::string_view name);
int FindSpinner(std::string_view name);

enum class ControlKind {
  kOption,
  kCombo,
  kSpinner,
  kCheckList,  // the services list
  kOther,      // pages, panels, labels, pictures, buttons, timers
};

// One property of a control as the window description gives it. Strings are
// Windows-1251; numbers and identifiers keep their written form.
struct Property {
  std::string name;
  std::string value;
  std::vector<std::string> list;  // for list properties such as Items
  bool isString = false;
};

// One control of the window description, in component order.
struct Component {
  std::string name;
  std::string className;
  int parent = -1;  // index into Form::components, -1 for the window itself
  ControlKind kind = ControlKind::kOther;
  int index = -1;  // option, combo or spinner index for those kinds
  std::vector<Property> props;

  const Property* Find(std::string_view propName) const;
  std::string Text(std::string_view propName, std::string_view fallback = {}) const;
  int Int(std::string_view propName, int fallback = 0) const;
};

class Form {
 public:
  Form();

  std::vector<Component> components;  // component order; [0] is the window
  std::vector<OptionControl> options;  // indexed as OptionDefs()
  std::array<ComboControl, kComboCount> combos;
  std::array<SpinnerControl, kSpinnerCount> spinners;
  std::string layoutOrderLabel;  // caption of sLabel2_2, comment of the layout-order block
  ServicesList services;

  // The OK button's caption and the deployment countdown timer, which option
  // clicks and page changes may stop.
  std::string captionOk;
  bool countdownTimerEnabled = false;

  // Where the services preset "from the settings file" reads item states.
  std::string settingsPath;

  const OptionControl& Option(int id) const { return options[static_cast<std::size_t>(id)]; }
  TriState State(int id) const { return Option(id).state; }

  // A user's click: moves the state along the cycle unchecked, grayed (when
  // allowed), checked, and runs the click handler.
  void Click(int id);

  // Assigns a state as code does; the handler runs when the state changes.
  void SetState(int id, TriState state);

  // The option's click handler: countdown stop, caption, hint, preset.
  void RunClickHandler(int id);

  // Brings every caption in line with its state, without side effects such as
  // applying a services preset; used right after the description is loaded.
  void ApplyCaptionRules();

  // Stops the deployment countdown and clears the number from the OK button.
  void StopCountdown();

 private:
  void ApplyCaptionRule(int id);
};

// The OK button's normal caption.
const std::string& ApplyCaption();

}  // namespace kwetro
