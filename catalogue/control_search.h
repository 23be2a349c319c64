// Finding a control by what an administrator remembers of it: a word of its
// caption, label or hint, a key path or value name it writes, a service's
// display or key name.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "options/controls.h"

namespace kwetro {

class ControlSearch {
 public:
  // Gathers the texts of every control: the captions of all its states, its
  // label and hints, drop-down items, and every registry line it can write.
  ControlSearch();

  // The controls whose texts hold the query, without regard to letter case
  // (Latin and Cyrillic alike), in the order of the window, the services
  // list right after its preset box. Nothing for an empty query.
  std::vector<ControlRef> Find(std::string_view query) const;

 private:
  std::vector<std::pair<ControlRef, std::string>> texts_;  // folded Windows-1251
};

}  // namespace kwetro
