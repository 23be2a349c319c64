#include "machine/control_model.h"

#include <algorithm>
#include <map>

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

// Lines as a file REGEDIT reads: UTF-16, so that hex(2) data stand as
// written, as the registry of Windows receives them; the catalogue's
// Windows-1251 text widened as REGEDIT widens it on a Russian Windows.
std::string FileOf(const std::vector<std::string>& lines) {
  std::string file = "\xFF\xFE";
  AppendUtf16Le(u"Windows Registry Editor Version 5.00\r\n", file);
  for (const std::string& line : lines) {
    AppendUtf16Le(Cp1251ToUtf16(Utf8ToCp1251(line)), file);
    AppendUtf16Le(u"\r\n", file);
  }
  return file;
}

// Reads the lines and hands over each line's effect, by the number of its
// line (the first line after the header is 0).
template <typename Each>
void ReadEffects(const std::vector<std::string>& lines, Each each) {
  struct Handler : undo::RegFileHandler {
    Each& each;
    undo::Root root = undo::Root::kLocalMachine;
    std::u16string path;
    explicit Handler(Each& e) : each(e) {}
    bool OnKey(const undo::KeyLine& key) override {
      root = key.root;
      path.assign(key.rest);
      each(key.line - 2, key.deletion ? Effect::Kind::kNoKey : Effect::Kind::kKey, root, path,
           false, std::u16string_view(), RegData());
      return true;
    }
    void OnValue(const undo::ValueLine& value) override {
      each(value.line - 2, value.deletion ? Effect::Kind::kNoValue : Effect::Kind::kValue, root,
           path, true, value.name, value.deletion ? RegData() : DataOf(undo::ToRegValue(value)));
    }
  } handler(each);
  const std::string file = FileOf(lines);
  undo::MemorySource source(file);
  undo::ReadProblem problem;
  undo::ReadWarnings warnings;
  undo::ReadRegFile(source, handler, undo::FileKind::kScript, problem, warnings);
}

}  // namespace

class ModelBuilder {
 public:
  explicit ModelBuilder(Model& model) : model_(model) {}

  void Build() {
    const ControlTable& t = Controls();
    const std::size_t counts[] = {t.options.size(), t.combos.size(), t.spinners.size(),
                                  t.services.size()};
    for (int kind = 0; kind < 4; ++kind)
      for (std::size_t i = 0; i < counts[kind]; ++i)
        model_.byKind_[kind].push_back({{static_cast<ControlKind>(kind), static_cast<int>(i)}, {}});
    std::vector<std::string> lines;
    std::vector<LineOrigin> origins;
    ForEachVariantLine([&](const LineOrigin& origin, std::string_view line) {
      lines.emplace_back(line);
      origins.push_back(origin);
    });
    ReadEffects(lines, [&](int line, Effect::Kind kind, undo::Root root, std::u16string_view path,
                           bool isValue, std::u16string_view name, RegData data) {
      const LineOrigin& origin = origins[static_cast<std::size_t>(line)];
      ControlModel& control = model_.byKind_[static_cast<int>(origin.control.kind)]
                                            [static_cast<std::size_t>(origin.control.index)];
      Variant* variant = nullptr;
      for (Variant& v : control.variants)
        if (v.variant == origin.variant) variant = &v;
      if (!variant) {
        control.variants.push_back({origin.variant, origin.group, {}});
        variant = &control.variants.back();
      }
      Effect effect;
      effect.kind = kind;
      effect.probe = ProbeOf(root, path, isValue, name);
      effect.data = std::move(data);
      effect.order = (origin.perUser ? 0 : kHklmLines) + line;
      variant->effects.push_back(std::move(effect));
    });
    std::sort(model_.index_.begin(), model_.index_.end());
  }

 private:
  int ProbeOf(undo::Root root, std::u16string_view path, bool isValue, std::u16string_view name) {
    const std::u16string identity = Identity(root, path, isValue, name);
    const auto found = known_.find(identity);
    if (found != known_.end()) return found->second;
    const int index = static_cast<int>(model_.probes_.size());
    model_.probes_.push_back(
        {root, Normal(path), isValue, std::u16string(name), Place(root, path)});
    model_.index_.emplace_back(identity, index);
    known_.emplace(identity, index);
    return index;
  }

  Model& model_;
  std::map<std::u16string, int> known_;
};

int Model::FindProbe(const std::u16string& identity) const {
  const auto it = std::lower_bound(index_.begin(), index_.end(), std::make_pair(identity, -1));
  return it != index_.end() && it->first == identity ? it->second : -1;
}

std::vector<Effect> Model::EffectsOf(const std::vector<std::string>& lines) const {
  std::vector<Effect> effects;
  ReadEffects(lines, [&](int line, Effect::Kind kind, undo::Root root, std::u16string_view path,
                         bool isValue, std::u16string_view name, RegData data) {
    Effect effect;
    effect.kind = kind;
    effect.probe = FindProbe(Identity(root, path, isValue, name));
    effect.data = std::move(data);
    effect.order = line;
    effects.push_back(std::move(effect));
  });
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
