#include "options/blocks.h"
#include "options/reg_string.h"

#include <string>

namespace kwetro {
namespace {

// Value lines: string data escaped on the way into the script.
void AppendValues(RegScript& script, const Lines& lines) {
  std::string room;
  for (Line line : lines) script.AppendLine(ScriptLine(line, room));
}

void AppendSection(RegScript& script, const KeySection& section, const CaptionText& caption,
                   const KeyFilter* filter) {
  std::string room;
  Line kept;
  bool anyKept = false;
  for (Line key : section.keys) {
    kept = filter ? filter->Keep(key, room) : key;
    if (!kept.empty()) script.AppendLine(kept), anyKept = true;
  }
  if (filter && !anyKept) return;
  if (section.comment) script.AppendComment(caption);
  if (!kept.empty()) AppendValues(script, section.values);
  script.AppendEmptyLine();
}

void AppendOption(RegScript& script, const OptionBlock& block, const Selection& selection,
                  const KeyFilter* filter) {
  const StateLines& lines = block.states[selection.State(block.option)];
  if (lines.sections.empty()) return;
  const CaptionText& caption = selection.CaptionPieces(block.option);
  const std::size_t begin = script.Size();
  for (const KeySection& section : lines.sections) AppendSection(script, section, caption, filter);
  if (script.Size() > begin) script.Mark({ControlKind::kOption, block.option}, begin);
}

void AppendItem(RegScript& script, const GroupItem& item, const Selection& selection) {
  const auto control = static_cast<std::size_t>(item.control);
  switch (item.kind) {
    case GroupItem::kMember: {
      const TriState state = selection.State(item.control);
      if (item.values[state].empty()) return;
      script.AppendComment(selection.CaptionPieces(item.control), item.commentPrefix);
      AppendValues(script, item.values[state]);
      return;
    }
    case GroupItem::kCombo: {
      const ComboDecl& combo = Controls().combos[control];
      script.AppendComment(item.commentSource == GroupItem::kComboLabel ? combo.labelCaption
                                                                        : combo.hint);
      const int index = selection.combos[control];
      if (index < 0 || static_cast<std::size_t>(index) >= item.byIndex.size()) return;
      AppendValues(script, item.byIndex[static_cast<std::size_t>(index)]);
      return;
    }
    case GroupItem::kComment:
      script.AppendLine(item.text);
      return;
    case GroupItem::kSpinnerMillis: {
      // Taken in 64 bits, so that no spinner value can overflow.
      script.AppendLine(SpinnerMillisLine(item.text, selection.spinners[control]));
      return;
    }
  }
}

Lines ToLines(Texts texts) { return Lines(texts.begin(), texts.end()); }

void AppendGroup(RegScript& script, const GroupBlock& block, const Selection& selection,
                 const KeyFilter* filter) {
  if (!GroupWritten(block, selection)) return;
  std::string room;
  const Line key = filter ? filter->Keep(block.key, room) : block.key;
  if (key.empty()) return;
  const std::size_t begin = script.Size();
  script.AppendLine(key);
  for (const GroupItem& item : block.items) AppendItem(script, item, selection);
  script.AppendEmptyLine();
  // The group is the block of every control that wrote into it.
  for (const GroupItem& item : block.items) {
    if (item.kind == GroupItem::kMember && !item.values[selection.State(item.control)].empty())
      script.Mark({ControlKind::kOption, item.control}, begin);
    if (item.kind == GroupItem::kCombo) script.Mark({ControlKind::kCombo, item.control}, begin);
    if (item.kind == GroupItem::kSpinnerMillis)
      script.Mark({ControlKind::kSpinner, item.control}, begin);
  }
}

}  // namespace

std::string_view ScriptLine(Line line, std::string& room) {
  // "name"="data" or @="data": where the data begins.
  std::size_t data = std::string_view::npos;
  if (line.substr(0, 3) == "@=\"")
    data = 3;
  else if (!line.empty() && line.front() == '"' && line.find("\"=\"", 1) != std::string_view::npos)
    data = line.find("\"=\"", 1) + 3;
  if (data == std::string_view::npos || line.size() <= data || line.back() != '"') return line;
  const std::string_view value = line.substr(data, line.size() - data - 1);
  if (value.find_first_of("\\\"") == std::string_view::npos) return line;
  room.assign(line.substr(0, data));
  AppendRegString(room, value);
  room += '"';
  return room;
}

bool GroupWritten(const GroupBlock& group, const Selection& selection) {
  // A key group needs a member that is not grayed; either kind needs a line
  // besides its key line and comments: REGEDIT makes the key of an empty
  // block, so a drop-down at no item with nothing else written would create
  // keys that were not there, while the window says it changes nothing.
  bool guard = group.fixed, writes = false;
  for (const GroupItem& item : group.items) {
    switch (item.kind) {
      case GroupItem::kMember: {
        const TriState state = selection.State(item.control);
        guard = guard || state != cbGrayed;
        writes = writes || !item.values[state].empty();
        break;
      }
      case GroupItem::kCombo: {
        const int index = selection.combos[static_cast<std::size_t>(item.control)];
        writes = writes || (index >= 0 && static_cast<std::size_t>(index) < item.byIndex.size() &&
                            !item.byIndex[static_cast<std::size_t>(index)].empty());
        break;
      }
      case GroupItem::kSpinnerMillis:
        writes = true;
        break;
      case GroupItem::kComment:
        break;
    }
  }
  return guard && writes;
}

std::string SpinnerMillisLine(std::string_view valueName, int seconds) {
  // Taken in 64 bits, so that no spinner value can overflow.
  const long long millis = static_cast<long long>(seconds) * 1000;
  return "\"" + std::string(valueName) + "\"=\"" + std::to_string(millis) + "\"";
}

std::string_view SeparatorLine() {
  return ";-------------------------------------------------------------------------------";
}

void AppendSectionHeader(RegScript& script, std::string_view title, std::string_view note) {
  script.AppendLine(SeparatorLine());
  script.AppendComment(title);
  if (!note.empty()) script.AppendComment(note);
  script.AppendLine(SeparatorLine());
  script.AppendEmptyLine();
}

void AppendBlocks(RegScript& script, const std::vector<Block>& blocks, const Selection& selection,
                  const KeyFilter* filter) {
  for (const Block& block : blocks) {
    if (const auto* option = std::get_if<OptionBlock>(&block))
      AppendOption(script, *option, selection, filter);
    else
      AppendGroup(script, std::get<GroupBlock>(block), selection, filter);
  }
}

KeySection Key(const char* key, Texts values) { return {{key}, true, ToLines(values)}; }

KeySection Keys(Texts keys, Texts values) { return {ToLines(keys), true, ToLines(values)}; }

KeySection KeyWithoutComment(const char* key, Texts values) {
  return {{key}, false, ToLines(values)};
}

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
  return Option(name, Write(Key(key, checked)), Write(Key(key, unchecked)));
}

OptionBlock ThreeValued(const char* name, const char* key, Texts checked, Texts unchecked,
                        Texts grayed) {
  return Option(name, Write(Key(key, checked)), Write(Key(key, unchecked)),
                Write(Key(key, grayed)));
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
  for (Texts lines : byIndex) item.byIndex.push_back(ToLines(lines));
  return item;
}

GroupItem Comment(const char* line) {
  GroupItem item;
  item.kind = GroupItem::kComment;
  item.text = line;
  return item;
}

GroupItem SpinnerMillis(const char* spinner, const char* valueName) {
  GroupItem item;
  item.kind = GroupItem::kSpinnerMillis;
  item.control = SpinnerIndex(spinner);
  item.text = valueName;
  return item;
}

}  // namespace kwetro
