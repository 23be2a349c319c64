#include "machine/control_model.h"

#include "catalogue/control_lines.h"
#include "options/text_encoding.h"
#include "undo/reg_reader.h"

namespace kwetro::machine {
namespace {

constexpr int kHklmLines = 1 << 20;  // hkcu.reg is imported first: its lines come first

std::u16string Folded(std::u16string_view text) {
  std::u16string folded(text);
  for (char16_t& c : folded) c = undo::FoldCase(c);
  return folded;
}

// The path's components joined by single backslashes.
std::u16string Normal(std::u16string_view path) {
  std::u16string normal;
  for (std::u16string_view component; undo::NextComponent(path, component);)
    normal.append(normal.empty() ? u"" : u"\\").append(component);
  return normal;
}

std::u16string Identity(undo::Root root, std::u16string_view path, bool isValue,
                        std::u16string_view name) {
  std::u16string identity(1, static_cast<char16_t>(u'0' + static_cast<int>(root)));
  identity += Folded(Normal(path));
  identity += isValue ? u"\n" : u"\t";
  return identity += Folded(name);
}

std::u16string Place(undo::Root root, std::u16string_view path) {
  std::u16string place(root == undo::Root::kClassesRoot ? u"HKEY_LOCAL_MACHINE\\Software\\Classes"
                                                        : undo::RootName(root));
  const std::u16string normal = Normal(path);
  if (!normal.empty()) place.append(u"\\").append(normal);
  return Folded(place);
}

// The effect of a key or value line, and the key or value it names.
struct LineEffect {
  Effect effect;  // its probe still to be found
  undo::Root root = undo::Root::kLocalMachine;
  std::u16string path;
  bool isValue = false;
  std::u16string name;
};

// Catalogue lines turned into effects as they are handed over, read as
// REGEDIT reads a script on a Russian Windows: the Windows-1251 text widened
// to UTF-16, hex(2) data standing as written.
class LineEffects : public undo::RegFileHandler {
 public:
  LineEffects() : reader_(*this) {}

  // The effects the line ends (a hex value ends on the last of its lines),
  // valid until the next call.
  const std::vector<LineEffect>& Read(std::string_view line) {
    read_.clear();
    reader_.Read(Cp1251ToUtf16(Utf8ToCp1251(line)));
    return read_;
  }
  const std::vector<LineEffect>& End() {
    read_.clear();
    reader_.End();
    return read_;
  }

 private:
  bool OnKey(const undo::KeyLine& key) override {
    root_ = key.root;
    path_.assign(key.rest);
    Emit(key.deletion ? Effect::Kind::kNoKey : Effect::Kind::kKey, false, {}, RegData());
    return true;
  }
  void OnValue(const undo::ValueLine& value) override {
    Emit(value.deletion ? Effect::Kind::kNoValue : Effect::Kind::kValue, true, value.name,
         value.deletion ? RegData() : DataOf(undo::ToRegValue(value)));
  }
  void Emit(Effect::Kind kind, bool isValue, std::u16string_view name, RegData data) {
    LineEffect e;
    e.effect.kind = kind;
    e.effect.data = std::move(data);
    e.root = root_;
    e.path = path_;
    e.isValue = isValue;
    e.name = name;
    read_.push_back(std::move(e));
  }

  std::vector<LineEffect> read_;
  undo::ScriptLineReader reader_;
  undo::Root root_ = undo::Root::kLocalMachine;
  std::u16string path_;  // of the key line read last
};

}  // namespace

std::vector<Effect> ControlModel::LinesOf(int variant) const {
  if (control.kind != ControlKind::kSpinner) {
    const Variant* v = Find(variant);
    return v ? v->effects : std::vector<Effect>();
  }
  std::vector<Effect> effects = variants.front().effects;
  for (Effect& e : effects)
    if (e.kind == Effect::Kind::kValue) e.data = SpinnerData(variant);
  return effects;
}

class ModelBuilder {
 public:
  explicit ModelBuilder(Model& model) : model_(model) {}

  void Build() {
    const ControlTable& t = Controls();
    const std::size_t counts[] = {t.options.size(), t.combos.size(), t.spinners.size(),
                                  t.services.size()};
    for (int kind = 0; kind < 4; ++kind)
      for (std::size_t i = 0; i < counts[kind]; ++i)
        model_.byKind_[kind].push_back(
            {{static_cast<ControlKind>(kind), static_cast<int>(i)}, {}});
    LineEffects effects;
    int lines = 0;
    ForEachVariantLine([&](const LineOrigin& origin, std::string_view line) {
      for (const LineEffect& e : effects.Read(line))
        Add(origin, e, (origin.perUser ? 0 : kHklmLines) + lines);
      ++lines;
    });
  }

 private:
  void Add(const LineOrigin& origin, const LineEffect& line, int importOrder) {
    Effect effect = line.effect;
    effect.probe = ProbeOf(line.root, line.path, line.isValue, line.name);
    effect.importOrder = importOrder;
    ControlModel& control = model_.byKind_[static_cast<int>(origin.control.kind)]
                                          [static_cast<std::size_t>(origin.control.index)];
    Variant* variant = nullptr;
    for (Variant& v : control.variants)
      if (v.variant == origin.variant) variant = &v;
    if (!variant)
      variant = &control.variants.emplace_back(Variant{origin.variant, origin.group, {}});
    variant->effects.push_back(std::move(effect));
  }

  int ProbeOf(undo::Root root, std::u16string_view path, bool isValue, std::u16string_view name) {
    const auto [known, added] = model_.index_.emplace(Identity(root, path, isValue, name),
                                                      static_cast<int>(model_.probes_.size()));
    if (added)
      model_.probes_.push_back(
          {root, Normal(path), isValue, std::u16string(name), Place(root, path)});
    return known->second;
  }

  Model& model_;
};

std::vector<Effect> Model::EffectsOf(const std::vector<std::string>& lines) const {
  std::vector<Effect> effects;
  LineEffects reader;
  const auto add = [&](const std::vector<LineEffect>& read) {
    for (const LineEffect& e : read) {
      const auto known = index_.find(Identity(e.root, e.path, e.isValue, e.name));
      effects.push_back(e.effect);
      effects.back().probe = known != index_.end() ? known->second : -1;
    }
  };
  for (const std::string& line : lines) add(reader.Read(line));
  add(reader.End());
  return effects;
}

const Model& TheModel() {
  static const Model* model = [] {
    auto* built = new Model;
    ModelBuilder(*built).Build();
    return built;
  }();
  return *model;
}

RegData DataOf(const undo::RegValue& value) {
  RegData data;
  if (value.kind != undo::ValueKind::kString) {
    data.type = value.type;
    data.bytes = value.bytes;
    return data;
  }
  std::u16string text;
  undo::AppendUnescaped(value.rawString, text);
  text += u'\0';
  data.type = undo::kRegSz;
  AppendUtf16Le(text, data.bytes);
  return data;
}

RegData SpinnerData(int seconds) {
  RegData data;
  data.type = undo::kRegSz;
  AppendUtf16Le(Cp1251ToUtf16(std::to_string(static_cast<long long>(seconds) * 1000)), data.bytes);
  data.bytes.append(2, '\0');
  return data;
}

}  // namespace kwetro::machine
