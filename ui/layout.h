// The window's layout: where each control of the window goes, the pages and
// their nesting, the tab order, and the texts of the window itself (legend,
// labels, buttons). Everything else a control shows (captions, hints, items,
// states, ranges) comes from the control table, by the control's name.
//
// Format (UTF-8, starting with the signature line "TPF0"; stored with every
// byte raised by one, so that the resource starts with "UQG1"):
//   object <Name>: <Class>        starts a control; nested objects are children
//     <Property> = <value>        value: 123, -5, Identifier, 'text' ('' is a quote)
//     <Property> = (              a list, one value a line, closed by ")"
//   end
// Lines starting with "#" are comments; indentation is free.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kwetro {

struct LayoutProperty {
  std::string name;
  std::string value;              // UTF-8 for texts; numbers and identifiers as written
  std::vector<std::string> list;  // for list properties
  bool isString = false;
};

// What a layout item shows of the control table.
enum class Bound {
  kNone,          // a control of the window's own
  kOption,        // an option box
  kCombo,         // a drop-down list
  kSpinner,       // a spinner
  kComboLabel,    // the label beside a drop-down list
  kSpinnerLabel,  // the label beside a spinner
  kPage,          // a tab and its page
  kServicesList,  // the services list, CheckListBox1
};

struct LayoutItem {
  std::string name;
  std::string className;
  int parent = -1;  // -1 for the window itself
  std::vector<LayoutProperty> props;
  Bound bound = Bound::kNone;
  int index = -1;  // into the control table's list of that kind

  const LayoutProperty* Find(std::string_view property) const;
  std::string Text(std::string_view property, std::string_view fallback = {}) const;
  int Int(std::string_view property, int fallback = 0) const;
  bool Flag(std::string_view property, bool fallback) const;  // True / False
};

// A caption without the "&" that underlines its letter ("&&" stands for "&").
std::string WithoutMnemonic(std::string_view caption);

// The objects of the layout that the window itself reaches, beside the
// controls of the table: a layout without one of them is refused.
enum class WindowObject {
  kPageTitle,      // the header's title of the main page shown
  kInfoLine,       // the information line
  kSearchField,    // the search field
  kSearchCount,    // "3 из 7" beside it
  kMainPages,      // the tab control of the five main pages
  kSystemPages,    // the tab control of the system pages (its changes stop the countdown)
  kServicesList,   // the services list
  kFolderLink,     // the link to the scripts' folder
  kButtons,        // Просмотр, Применить, Отмена
  kMachineButton,  // «Этот компьютер»: reads this computer, takes a selection from it
  kMarksLegend,    // what the marks beside the controls mean
  kHousekeepingTimer,  // trims the working set
  kCountdownTimer,     // the deployment countdown
};
constexpr int kWindowObjectCount = static_cast<int>(WindowObject::kCountdownTimer) + 1;

// Its name in the layout.
std::string_view ObjectName(WindowObject object);

struct Layout {
  std::vector<LayoutItem> items;  // component order; [0] is the window

  int Named(std::string_view name) const;  // -1 when there is none
  // The item of a window object (every one is there once a layout is read).
  int Object(WindowObject object) const { return objects[static_cast<std::size_t>(object)]; }

  std::vector<int> objects;  // by WindowObject
};

// Reads a layout and binds it to the control table: every option, drop-down
// list, spinner, label of theirs and page of the table is placed exactly once,
// on the page the table says, by an object of the matching class, and
// carries none of the facts the table holds; every window object is there, of
// its class. False with a message naming the line or the control.
bool ParseLayout(std::string_view text, Layout& layout, std::string& error);

// Reads a stored layout: when it begins with "UQG1" (the signature "TPF0"
// raised by one) every byte is lowered by one first.
bool LoadFormResource(std::string_view stored, Layout& layout, std::string& error);

}  // namespace kwetro
