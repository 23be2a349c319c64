// The block patterns of a registry script and the one builder that walks them.
// A catalogue is a list of these blocks in the order the script holds them;
// every text in a block is a line as the registry keeps it (UTF-8, as the
// catalogue sources are written): ScriptLine escapes its string data, and the
// script turns it into Windows-1251.
#pragma once

#include <array>
#include <initializer_list>
#include <string_view>
#include <variant>
#include <vector>

#include "options/reg_script.h"
#include "options/selection.h"

namespace kwetro {

using Line = std::string_view;  // a literal of the catalogue
using Lines = std::vector<Line>;

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
  std::vector<KeySection> sections;
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
  enum CommentSource { kComboHint, kComboLabel };

  Kind kind = kMember;
  int control = -1;  // option, combo or spinner index
  // kMember: value lines per state; a state with writes=false adds nothing.
  std::array<Lines, 3> values;
  Line commentPrefix = "; ";
  // kCombo: lines per item index; an index beyond the list writes none.
  std::vector<Lines> byIndex;
  CommentSource commentSource = kComboHint;
  // kComment: the whole line; kSpinnerMillis: the value name.
  Line text;
};

// Several options under one key line. A key group is left out when every
// member is grayed; a fixed block is written whatever the states are. Either
// is left out when it would hold nothing but its key line and comments.
struct GroupBlock {
  Line key;
  bool fixed = false;
  std::vector<GroupItem> items;
};

using Block = std::variant<OptionBlock, GroupBlock>;

// Which key sections of a script a filtered script keeps, and how it spells
// their key lines: the user's part of both scripts, or that part moved under
// another root.
class KeyFilter {
 public:
  virtual ~KeyFilter() = default;
  // The key line ("[...]" or "[-...]") as the filtered script holds it, or an
  // empty view for a key it leaves out. room holds a line spelled anew.
  virtual std::string_view Keep(std::string_view keyLine, std::string& room) const = 0;
};

// Whether a group is written for the selection: fixed or a member not
// grayed, and some item writing a line of its own (a value, a spinner's
// value, a drop-down's lines of the item chosen).
bool GroupWritten(const GroupBlock& group, const Selection& selection);
// "Name"="<seconds times 1000>".
std::string SpinnerMillisLine(std::string_view valueName, int seconds);

// Appends the lines of the blocks for the selection. With a filter, only the
// key sections whose key lines it keeps: of a section with several key lines
// the kept ones (its values, which belong to the last, only when that one is
// kept), of a group all or nothing, and a block's comment only with a key.
void AppendBlocks(RegScript& script, const std::vector<Block>& blocks, const Selection& selection,
                  const KeyFilter* filter = nullptr);

// A catalogue line as the script holds it. The catalogue gives string data as
// the registry keeps it ("a"="dxdiag\1" for the value dxdiag\1); in the
// script a backslash or a quote inside string data is escaped, as REGEDIT
// reads it. Other lines stand as they are. room holds an escaped line.
std::string_view ScriptLine(Line line, std::string& room);

// The section header: separator, "; " + title, separator, empty line.
void AppendSectionHeader(RegScript& script, std::string_view title, std::string_view note = {});
// The separator line: ";" and 79 dashes.
std::string_view SeparatorLine();

// A catalogue of these rows, built once, on first use, and kept until the
// program ends: taking it apart at exit would only cost time. The rows are
// moved in, not copied.
template <typename... Rows>
const std::vector<Block>& Catalogue(Rows&&... rows) {
  auto* blocks = new std::vector<Block>;
  blocks->reserve(sizeof...(rows));
  (blocks->emplace_back(std::forward<Rows>(rows)), ...);
  return *blocks;
}

// ---------------------------------------------------------------------------
// The vocabulary of catalogue rows.

using Texts = std::initializer_list<const char*>;

// Key line, comment line, values.
KeySection Key(const char* key, Texts values = {});
// Key lines standing together (deletions), then the comment line, then values.
KeySection Keys(Texts keys, Texts values = {});
// Key line and values with no comment line.
KeySection KeyWithoutComment(const char* key, Texts values);

// The sections are moved in, not copied (as from a list in braces).
template <typename... Sections>
StateLines Write(Sections&&... sections) {
  StateLines state;
  state.sections.reserve(sizeof...(sections));
  (state.sections.push_back(std::forward<Sections>(sections)), ...);
  return state;
}
StateLines Nothing();

// The general form: what each state writes.
OptionBlock Option(const char* name, StateLines checked, StateLines unchecked,
                   StateLines grayed = Nothing());
// Standard block: key, comment, values of the state; grayed writes nothing.
OptionBlock Standard(const char* name, const char* key, Texts checked, Texts unchecked);
// Three-valued option on its own key: written in every state.
OptionBlock ThreeValued(const char* name, const char* key, Texts checked, Texts unchecked,
                        Texts grayed);

template <typename... Items>
GroupBlock Group(const char* key, Items&&... items) {
  GroupBlock group{key, false, {}};
  group.items.reserve(sizeof...(items));
  (group.items.push_back(std::forward<Items>(items)), ...);
  return group;
}
template <typename... Items>
GroupBlock Fixed(const char* key, Items&&... items) {
  GroupBlock block = Group(key, std::forward<Items>(items)...);
  block.fixed = true;
  return block;
}

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
