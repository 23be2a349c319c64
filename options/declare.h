// The vocabulary of the control table (control_table.cpp): one call a
// control, in the order of the window, each on the page last named.
#pragma once

#include <array>
#include <initializer_list>
#include <string_view>

#include "options/controls.h"

namespace kwetro {

class Declare {
 public:
  explicit Declare(ControlTable& table) : table_(table) {}

  static constexpr bool kStopsCountdown = true;
  // A tab; the controls that follow sit on its page.
  void Page(std::string_view name, std::string_view caption, std::string_view parent = {},
            bool stopsCountdown = false);

  // Title and the state's words: " - (Да)", " - (Нет)", " - (Пропустить)"
  // (or skip), then tail.
  void Standard(std::string_view name, TriState builtIn, std::string_view title,
                std::string_view hint, std::string_view tail = {},
                std::string_view skip = kSkipSuffix);
  // A caption of its own for each state: checked, unchecked, grayed.
  void Own(std::string_view name, TriState builtIn, std::array<std::string_view, 3> captions,
           std::string_view hint);
  // Checked, and the other two states alike.
  void TwoWay(std::string_view name, TriState builtIn, std::string_view checked,
              std::string_view notChecked, std::string_view hint);
  // A Start-menu item shown as a link, not shown, or shown as a menu.
  void StartItem(std::string_view name, TriState builtIn, std::string_view item,
                 std::string_view hint);
  // A Start-menu item shown or not.
  void StartItemTwoWay(std::string_view name, TriState builtIn, std::string_view item,
                       std::string_view hint);
  // The hints of the last option, by state: checked, unchecked, grayed.
  void StateHints(std::array<std::string_view, 3> hints);
  // The services preset box: captions as Own.
  void Preset(std::string_view name, TriState builtIn, std::array<std::string_view, 3> captions,
              std::string_view hint);
  // The user's own mark on the window itself: one caption, two states.
  void Note(std::string_view name, std::string_view caption, std::string_view hint);
  // A choice about the deployment itself: two states, off at first, a caption
  // for each; its settings section only once it was used.
  void Deployment(std::string_view name, std::string_view checked, std::string_view notChecked,
                  std::string_view hint);

  void Combo(std::string_view name, std::string_view label, std::string_view labelCaption,
             std::initializer_list<std::string_view> items, int builtIn, std::string_view hint,
             std::string_view explanation);
  void Spinner(std::string_view name, std::string_view label, std::string_view labelCaption,
               int min, int max, int builtIn, std::string_view hint, std::string_view explanation);

 private:
  OptionDecl& Add(std::string_view name, TriState builtIn, std::string_view hint);

  ControlTable& table_;
  int page_ = -1;
  bool stopsCountdown_ = false;
};

void DeclareControls(Declare& d);
void DeclareServices(std::vector<ServiceDecl>& services);

}  // namespace kwetro
