#include "undo/touch_tree.h"

#include <algorithm>

namespace kwetro::undo {

TouchNode* TouchNode::Find(std::u16string_view name) {
  for (TouchNode& child : children)
    if (EqualsIgnoringCase(child.scriptName, name)) return &child;
  return nullptr;
}

TouchNode& TouchNode::FindOrAdd(std::u16string_view name) {
  if (TouchNode* child = Find(name)) return *child;
  children.emplace_back();
  children.back().scriptName = name;
  return children.back();
}

bool ScriptTouches::Touches(Root root) const {
  return std::find(order_.begin(), order_.end(), root) != order_.end();
}

bool ScriptTouches::OnKey(const KeyLine& key) {
  if (!Touches(key.root)) order_.push_back(key.root);
  TouchNode* node = &top_[static_cast<int>(key.root)];
  std::u16string_view rest = key.rest, component;
  while (NextComponent(rest, component)) node = &node->FindOrAdd(component);
  if (key.deletion) {
    node->deleted = true;
    current_ = nullptr;
  } else {
    node->created = true;
    current_ = node;
  }
  return true;
}

void ScriptTouches::OnValue(const ValueLine& value) {
  if (!current_) return;
  for (const TouchedValue& touched : current_->values)
    if (EqualsIgnoringCase(touched.name, value.name)) return;
  TouchedValue touched;
  touched.name = value.name;
  touched.rawName = value.rawName;
  current_->values.push_back(std::move(touched));
}

}  // namespace kwetro::undo
