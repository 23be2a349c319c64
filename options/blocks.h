// The block patterns of a registry script and the one builder that walks them.
// A catalogue is a list of these blocks in the order the script holds them;
// every text in a block is a finished Windows-1251 line.
//
// A table is built once, on first use, and kept until the program ends. Its
// texts and lists are views of storage kept as long: a text is the catalogue's
// own literal where that is ASCII (most registry lines are) and otherwise a
// Windows-1251 copy made once. So a table is built without a string per line,
// copied from its initializer list without copying any list, and left at exit
// without freeing anything: building the tables would otherwise cost more than
// writing both scripts. The tables are built by the program's one thread.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "options/form.h"
#include "options/reg_script.h"

namespace kwetro {

using Line = std::string_view;

// A list that a catalogue row fills once; see the top of this file. The items
// of all lists of one type share blocks of storage, handed out in turn.
template <typename T>
class RowList {
 public:
  RowList() = default;
  RowList(std::initializer_list<T> items)
      : RowList(items.size(), [&items](std::size_t i) { return items.begin()[i]; }) {}
  // A list of count items, item(i) giving each.
  template <typename Item>
  RowList(std::size_t count, Item item) : size_(count) {
    if (count == 0) return;
    T* room = Room(count);
    for (std::size_t i = 0; i < count; ++i) room[i] = item(i);
    data_ = room;
  }

  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const T& operator[](std::size_t i) const { return data_[i]; }

 private:
  // Room for count items in the current block, or in a new one. The blocks
  // are never released, and stay listed so that they are still referred to
  // when the program ends.
  static T* Room(std::size_t count) {
    static auto& blocks = *new std::vector<std::unique_ptr<T[]>>;
    static std::size_t used = 0, size = 0;
    if (blocks.empty() || count > size - used) {
      size = std::max<std::size_t>(count, 16384 / sizeof(T));
      blocks.emplace_back(new T[size]);
      used = 0;
    }
    T* room = blocks.back().get() + used;
    used += count;
    return room;
  }

  const T* data_ = nullptr;
  std::size_t size_ = 0;
};

using Lines = RowList<Line>;

// One key section of an option: key line(s), the option's comment line, value
// lines. Several key lines stand together in deletion blocks.
struct KeySection {
  Lines keys;
  bool comment = true;
  Lines values;
};

// What one state of an option writes: nothing at all, or key sections, each
// closed by one empty line.
struct StateLines {
  bool writes = false;
  RowList<KeySection> sections;
};

// An option that writes key sections of its own: standard blocks, several
// keys, deletion blocks, checked-only blocks and stand-alone three-valued
// options are all this shape.
struct OptionBlock {
  int option = -1;
  std::array<StateLines, 3> states;  // indexed by TriState
};

// An entry of a key group or fixed block.
struct GroupItem {
  enum Kind { kMember, kCombo, kComment, kSpinnerMillis };
  enum CommentSource { kComboHint, kLayoutOrderLabel };

  Kind kind = kMember;
  int control = -1;  // option, combo or spinner index
  // kMember: value lines per state; a state with writes=false adds nothing.
  std::array<bool, 3> writes = {true, true, false};
  std::array<Lines, 3> values;
  Line commentPrefix = "; ";
  // kCombo: lines per item index; an index beyond the list writes none.
  RowList<Lines> byIndex;
  CommentSource commentSource = kComboHint;
  // kComment: the whole line; kSpinnerMillis: the value name.
  Line text;
};

// Several options under one key line. A key group is left out when every
// member is grayed; a fixed block is always written.
struct GroupBlock {
  Line key;
  bool fixed = false;
  RowList<GroupItem> items;
};

using Block = std::variant<OptionBlock, GroupBlock>;

// Appends the lines of the blocks for the form's current states.
void AppendBlocks(RegScript& script, const std::vector<Block>& blocks, const Form& form);

// The section header: separator, "; " + title, separator, empty line.
void AppendSectionHeader(RegScript& script, std::string_view title);
// The separator line: ";" and 79 dashes.
std::string_view SeparatorLine();

// ---------------------------------------------------------------------------
// The vocabulary of catalogue rows. Texts are given in UTF-8, as the catalogue
// sources are written, and stored as Windows-1251.

using Texts = std::initializer_list<const char*>;

// Key line, comment line, values.
KeySection Key(const char* key, Texts values = {});
// Key lines standing together (deletions), then the comment line, then values.
KeySection Keys(Texts keys, Texts values = {});
// Key line and values with no comment line.
KeySection KeyWithoutComment(const char* key, Texts values);

StateLines Write(std::initializer_list<KeySection> sections);
StateLines Nothing();

// The general form: what each state writes.
OptionBlock Option(const char* name, StateLines checked, StateLines unchecked,
                   StateLines grayed = Nothing());
// Standard block: key, comment, values of the state; grayed writes nothing.
OptionBlock Standard(const char* name, const char* key, Texts checked, Texts unchecked);
// Three-valued option on its own key: written in every state.
OptionBlock ThreeValued(const char* name, const char* key, Texts checked, Texts unchecked,
                        Texts grayed);

GroupBlock Group(const char* key, std::initializer_list<GroupItem> items);
GroupBlock Fixed(const char* key, std::initializer_list<GroupItem> items);

GroupItem Member(const char* name, Texts checked, Texts unchecked);
GroupItem ThreeValuedMember(const char* name, Texts checked, Texts unchecked, Texts grayed);
// A member whose comment line has no blank after the semicolon.
GroupItem MemberWithTightComment(const char* name, Texts checked, Texts unchecked);
GroupItem Combo(const char* name, std::initializer_list<Texts> byIndex,
                GroupItem::CommentSource source = GroupItem::kComboHint);
GroupItem Comment(const char* line);
// "Name"="<spinner value times 1000>".
GroupItem SpinnerMillis(const char* spinner, const char* valueName);

}  // namespace kwetro
