#include "options/blocks.h"

#include <cstdint>
#include <cstring>
#include <deque>
#include <stdexcept>

#include "options/text_encoding.h"

namespace kwetro {
namespace {

void AppendSection(RegScript& script, const KeySection& section, const std::string& caption) {
  for (Line key : section.keys) script.AppendLine(key);
  if (section.comment) script.AppendComment(caption);
  for (Line value : section.values) script.AppendLine(value);
  script.AppendEmptyLine();
}

void AppendOption(RegScript& script, const OptionBlock& block, const Form& form) {
  const OptionControl& option = form.Option(block.option);
  const StateLines& lines = block.states[option.state];
  if (!lines.writes) return;
  for (const KeySection& section : lines.sections) AppendSection(script, section, option.caption);
}

// Decimal text of the spinner's seconds in milliseconds. The product is taken
// in 64 bits so that no spinner value can overflow it.
std::string Millis(int seconds) { return std::to_string(static_cast<long long>(seconds) * 1000); }

void AppendItem(RegScript& script, const GroupItem& item, const Form& form) {
  switch (item.kind) {
    case GroupItem::kMember: {
      const OptionControl& option = form.Option(item.control);
      if (!item.writes[option.state]) return;
      script.AppendComment(option.caption, item.commentPrefix);
      for (Line value : item.values[option.state]) script.AppendLine(value);
      return;
    }
    case GroupItem::kCombo: {
      const ComboControl& combo = form.combos[static_cast<std::size_t>(item.control)];
      script.AppendComment(item.commentSource == GroupItem::kLayoutOrderLabel
                               ? form.layoutOrderLabel
                               : combo.hint);
      const int index = combo.itemIndex;
      if (index < 0 || static_cast<std::size_t>(index) >= item.byIndex.size()) return;
      for (Line line : item.byIndex[static_cast<std::size_t>(index)]) script.AppendLine(line);
      return;
    }
    case GroupItem::kComment:
      script.AppendLine(item.text);
      return;
    case GroupItem::kSpinnerMillis: {
      const int seconds = form.spinners[static_cast<std::size_t>(item.control)].value;
      std::string line;
      line.reserve(item.text.size() + 16);
      line.append("\"").append(item.text).append("\"=\"").append(Millis(seconds)).append("\"");
      script.AppendLine(line);
      return;
    }
  }
}

bool AllMembersGrayed(const GroupBlock& block, const Form& form) {
  for (const GroupItem& item : block.items)
    if (item.kind == GroupItem::kMember && form.State(item.control) != cbGrayed) return false;
  return true;
}

void AppendGroup(RegScript& script, const GroupBlock& block, const Form& form) {
  if (!block.fixed && AllMembersGrayed(block, form)) return;
  script.AppendLine(block.key);
  for (const GroupItem& item : block.items) AppendItem(script, item, form);
  script.AppendEmptyLine();
}

// Looked at eight bytes at a time: there are some two thousand rows' texts.
bool IsAscii(std::string_view text) {
  std::uint64_t bits = 0;
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    bits |= word;
  }
  for (; i < text.size(); ++i) bits |= static_cast<unsigned char>(text[i]);
  return (bits & 0x8080808080808080u) == 0;
}

// A catalogue text as a Windows-1251 line (see the top of blocks.h).
Line L(const char* utf8) {
  const std::string_view text(utf8);
  if (IsAscii(text)) return text;
  static auto& converted = *new std::deque<std::string>;
  return converted.emplace_back(Utf8ToCp1251(text));
}

Lines ToLines(Texts texts) {
  return Lines(texts.size(), [&texts](std::size_t i) { return L(texts.begin()[i]); });
}

int ComboIndex(const char* name) {
  const int i = FindCombo(name);
  if (i < 0) throw std::logic_error(std::string("unknown combo box ") + name);
  return i;
}

int SpinnerIndex(const char* name) {
  const int i = FindSpinner(name);
  if (i < 0) throw std::logic_error(std::string("unknown spinner ") + name);
  return i;
}

}  // namespace

std::string_view SeparatorLine() {
  return ";-------------------------------------------------------------------------------";
}

void AppendSectionHeader(RegScript& script, std::string_view title) {
  script.AppendLine(SeparatorLine());
  script.AppendComment(title);
  script.AppendLine(SeparatorLine());
  script.AppendEmptyLine();
}

void AppendBlocks(RegScript& script, const std::vector<Block>& blocks, const Form& form) {
  for (const Block& block : blocks) {
    if (const auto* option = std::get_if<OptionBlock>(&block))
      AppendOption(script, *option, form);
    else
      AppendGroup(script, std::get<GroupBlock>(block), form);
  }
}

KeySection Key(const char* key, Texts values) { return {{L(key)}, true, ToLines(values)}; }

KeySection Keys(Texts keys, Texts values) { return {ToLines(keys), true, ToLines(values)}; }

KeySection KeyWithoutComment(const char* key, Texts values) {
  return {{L(key)}, false, ToLines(values)};
}

StateLines Write(std::initializer_list<KeySection> sections) { return {true, sections}; }

StateLines Nothing() { return {}; }

OptionBlock Option(const char* name, StateLines checked, StateLines unchecked, StateLines grayed) {
  OptionBlock block;
  block.option = OptionIndex(name);
  block.states[cbChecked] = std::move(checked);
  block.states[cbUnchecked] = std::move(unchecked);
  block.states[cbGrayed] = std::move(grayed);
  return block;
}

OptionBlock Standard(const char* name, const char* key, Texts checked, Texts unchecked) {
  return Option(name, Write({Key(key, checked)}), Write({Key(key, unchecked)}));
}

OptionBlock ThreeValued(const char* name, const char* key, Texts checked, Texts unchecked,
                        Texts grayed) {
  return Option(name, Write({Key(key, checked)}), Write({Key(key, unchecked)}),
                Write({Key(key, grayed)}));
}

GroupBlock Group(const char* key, std::initializer_list<GroupItem> items) {
  return {L(key), false, items};
}

GroupBlock Fixed(const char* key, std::initializer_list<GroupItem> items) {
  return {L(key), true, items};
}

GroupItem Member(const char* name, Texts checked, Texts unchecked) {
  GroupItem item;
  item.kind = GroupItem::kMember;
  item.control = OptionIndex(name);
  item.values[cbChecked] = ToLines(checked);
  item.values[cbUnchecked] = ToLines(unchecked);
  return item;
}

GroupItem ThreeValuedMember(const char* name, Texts checked, Texts unchecked, Texts grayed) {
  GroupItem item = Member(name, checked, unchecked);
  item.writes[cbGrayed] = true;
  item.values[cbGrayed] = ToLines(grayed);
  return item;
}

GroupItem MemberWithTightComment(const char* name, Texts checked, Texts unchecked) {
  GroupItem item = Member(name, checked, unchecked);
  item.commentPrefix = ";";
  return item;
}

GroupItem Combo(const char* name, std::initializer_list<Texts> byIndex,
                GroupItem::CommentSource source) {
  GroupItem item;
  item.kind = GroupItem::kCombo;
  item.control = ComboIndex(name);
  item.commentSource = source;
  item.byIndex = RowList<Lines>(byIndex.size(),
                                [&byIndex](std::size_t i) { return ToLines(byIndex.begin()[i]); });
  return item;
}

GroupItem Comment(const char* line) {
  GroupItem item;
  item.kind = GroupItem::kComment;
  item.text = L(line);
  return item;
}

GroupItem SpinnerMillis(const char* spinner, const char* valueName) {
  GroupItem item;
  item.kind = GroupItem::kSpinnerMillis;
  item.control = SpinnerIndex(spinner);
  item.text = L(valueName);
  return item;
}

}  // namespace kwetro
