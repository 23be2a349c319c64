// A selection: the state of every control of the window, and nothing else.
// The generators read it, the settings file stores and restores it, the
// window shows and changes it. No file or window is reached from here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "options/controls.h"
#include "options/tri_state.h"

namespace kwetro {

// A services-list item the settings file holds no state for.
constexpr int kNotStored = -1;

// Where the preset "Из файла настроек" finds the service states: the settings
// file, as the app layer reads it (or has read it).
class StoredServices {
 public:
  virtual ~StoredServices() = default;
  // False when there is no settings file. Otherwise states[i] is the state
  // stored for services item i, or kNotStored.
  virtual bool Read(std::vector<int>& states) const = 0;
};

// No settings file at all.
class NoStoredServices : public StoredServices {
 public:
  bool Read(std::vector<int>&) const override { return false; }
};

// States already read from a settings file.
class StoredServicesRead : public StoredServices {
 public:
  explicit StoredServicesRead(std::vector<int> states) : states_(std::move(states)) {}
  bool Read(std::vector<int>& states) const override {
    states = states_;
    return true;
  }

 private:
  std::vector<int> states_;
};

struct Selection {
  // The built-in selection.
  Selection();

  std::vector<TriState> options;  // by option declaration
  std::vector<int> combos;        // item index; -1 or any index past the items: none
  std::vector<int> spinners;      // seconds
  std::vector<TriState> services;
  // The preset whose caption the preset box shows: the box keeps the caption
  // of the last preset applied when "Из файла настроек" finds no file.
  TriState presetShown = cbGrayed;
  // The services section is written only while enabled.
  bool ServicesEnabled() const { return presetShown != cbGrayed; }

  TriState State(int option) const { return options[static_cast<std::size_t>(option)]; }
  std::string Caption(int option) const;
  // The same in its three pieces, as the table holds them.
  const CaptionText& CaptionPieces(int option) const;
  std::string_view Hint(int option) const;

  // A user's click: unchecked, grayed (when allowed), checked, unchecked...;
  // then the option's handler.
  void Click(int option, const StoredServices& stored);
  // Assigns a state as code does; the handler runs when the state changes.
  void SetState(int option, TriState state, const StoredServices& stored);
  // The option's handler. Captions follow their states by themselves; only
  // the services preset does something: it fills the services list.
  void RunHandler(int option, const StoredServices& stored);
  // Sets the services items from stored states; items without one keep theirs.
  void ApplyStoredServices(const std::vector<int>& states);

  // The same choices: what Apply would write and store is the same.
  bool operator==(const Selection& other) const {
    return options == other.options && combos == other.combos && spinners == other.spinners &&
           services == other.services && presetShown == other.presetShown;
  }
  bool operator!=(const Selection& other) const { return !(*this == other); }
};

}  // namespace kwetro
