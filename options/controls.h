// Every control that holds part of a selection, declared once: the option
// check boxes with their captions, built-in states and hints, the drop-down
// lists, the spinners, the services and the pages they sit on. The scripts,
// the settings file, kwetro-cli and the window all take these facts from here.
// Texts are UTF-8.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "options/tri_state.h"

namespace kwetro {

// A tab of the window: its name in the window's layout, its caption, and the
// tab whose page holds it (-1 for a main page).
struct PageDecl {
  std::string_view name;
  std::string_view caption;
  int parent = -1;
};

// A caption is three pieces joined: a title, the words of the state and
// whatever follows them, or a quote, a Start-menu item and the rest.
struct CaptionText {
  std::string_view a, b, c;
};

struct OptionDecl {
  std::string_view name;
  int page = -1;                        // -1: on the window itself
  std::array<CaptionText, 3> captions;  // by TriState
  TriState builtIn = cbGrayed;
  bool allowGrayed = true;
  // "| " and the explanation the information line shows; stateHints replace
  // it where the chosen level needs explaining of its own.
  std::string_view hint;
  std::array<std::string_view, 3> stateHints;
  // Clicking it stops the deployment countdown.
  bool stopsCountdown = false;
  // Its settings section is written only while it is out of its built-in
  // state, or once the file holds one: the settings file of a selection that
  // never used it stays as it was before the control existed, and switching
  // it back is stored.
  bool sectionWhenUsed = false;
};

// A drop-down list, with the label beside it in the window.
struct ComboDecl {
  std::string_view name;
  int page = -1;
  std::string_view label;
  std::string_view labelCaption;
  std::vector<std::string_view> items;
  int builtIn = -1;  // -1: no item
  // One short phrase: the "Info" of its settings section, and the comment
  // line of its block where the block does not take the label's caption.
  std::string_view hint;
  // What each item writes, for the window's information line and the
  // reference of all options.
  std::string_view explanation;
};

// A spinner of whole seconds, with the label beside it.
struct SpinnerDecl {
  std::string_view name;
  int page = -1;
  std::string_view label;
  std::string_view labelCaption;
  int min = 0;
  int max = 0;
  int builtIn = 0;
  std::string_view hint;  // one short phrase, the "Info" of its settings section
  std::string_view explanation;
};

// Between a service's display text and its key name in its list item.
inline constexpr char kServiceItemSeparator[] = "   *";

// A Windows service of the services list. Its start mode follows the item
// state (options/service_starts.h).
struct ServiceDecl {
  std::string_view key;      // the name of its key under ...\CurrentControlSet\Services
  std::string_view display;  // as the services console of a Russian Windows names it
  TriState standard;         // as Windows XP installs it
  TriState optimal;          // the "Оптимальная" preset

  // The list item and settings file entry: display text, three blanks, "*", key.
  std::string ItemText() const;
};

enum class ControlKind { kOption, kCombo, kSpinner, kService };

// A control of a selection: an option, a drop-down list, a spinner or an item
// of the services list.
struct ControlRef {
  ControlKind kind;
  int index;  // into the declarations of its kind

  bool operator==(const ControlRef& other) const {
    return kind == other.kind && index == other.index;
  }
};

struct ControlTable {
  std::vector<PageDecl> pages;
  std::vector<OptionDecl> options;
  std::vector<ComboDecl> combos;
  std::vector<SpinnerDecl> spinners;
  std::vector<ServiceDecl> services;
  // Options, drop-downs and spinners in the order of the window, which is the
  // order of their sections in a new settings file.
  std::vector<ControlRef> order;
};

// The table, built on first use.
const ControlTable& Controls();

// Every control as the window shows them: the order, with the items of the
// services list right after their preset box.
std::vector<ControlRef> WindowOrder();

// The control of that name (exact spelling): an option, drop-down list or
// spinner, or a service by its key name; false when there is none.
bool FindControl(std::string_view name, ControlRef& found);
// Its name: the control's, or the service's key name.
std::string_view ControlName(const ControlRef& control);
// The index of an option, drop-down, spinner or service named by the program
// itself; throws std::logic_error for a name the table lacks.
int OptionIndex(std::string_view name);
int ComboIndex(std::string_view name);
int SpinnerIndex(std::string_view name);
int ServiceIndex(std::string_view key);

// The services preset box.
int PresetOption();
// The page of the services list: the page its preset box sits on.
int ServicesPage();

// The caption of an option in a state.
std::string Caption(const OptionDecl& option, TriState state);
// The three pieces of a caption as one text.
std::string JoinCaption(const CaptionText& text);
// The hint it shows in a state.
std::string_view Hint(const OptionDecl& option, TriState state);

// "Система / Общие": the captions of the tabs that lead to a page.
std::string PagePath(int page);

// The words of the states in standard captions, used to build the table.
inline constexpr std::string_view kYesSuffix = " - (Да)";
inline constexpr std::string_view kNoSuffix = " - (Нет)";
inline constexpr std::string_view kSkipSuffix = " - (Пропустить)";

}  // namespace kwetro
