// The window description built into the program: that it loads, that its
// layout reads in order, that texts the window puts in later have room, and
// that the starting selection is the one administrators expect. Whether the
// texts and controls fit with the real font is checked on the real window
// (tests/win32/window_layout_test.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "catalogue/services_page.h"
#include "options/text_encoding.h"
#include "support/script_lines.h"
#include "ui/form_loader.h"

namespace kwetro {
namespace {

// Average width of a character of the 8-point dialog font.
constexpr int kCharWidth = 6;

const Form& Window() {
  static const Form form = testing::BuiltInForm();
  return form;
}

int Length(const std::string& cp1251) { return static_cast<int>(cp1251.size()); }

std::string Utf8(const std::string& cp1251) { return Cp1251ToUtf8(cp1251); }

const Component& Named(const std::string& name) {
  for (const Component& c : Window().components)
    if (c.name == name) return c;
  ADD_FAILURE() << "no control " << name;
  return Window().components.front();
}

int IndexOf(const std::string& name) {
  const auto& all = Window().components;
  for (std::size_t i = 0; i < all.size(); ++i)
    if (all[i].name == name) return static_cast<int>(i);
  return -1;
}

bool IsNonVisual(const Component& c) { return c.className == "TTimer"; }

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  bool Overlaps(const Rect& o) const {
    return left < o.Right() && o.left < Right() && top < o.Bottom() && o.top < Bottom();
  }
};

constexpr int kMissing = -100000;

Rect Bounds(const Component& c) {
  return {c.Int("Left", kMissing), c.Int("Top", kMissing), c.Int("Width", kMissing),
          c.Int("Height", kMissing)};
}

std::vector<int> ChildrenOf(int parent) {
  std::vector<int> out;
  const auto& all = Window().components;
  for (std::size_t i = 0; i < all.size(); ++i)
    if (all[i].parent == parent && !IsNonVisual(all[i])) out.push_back(static_cast<int>(i));
  return out;
}

std::string KeyName(const std::string& item) { return item.substr(item.rfind('*') + 1); }

// ---------------------------------------------------------------- loading

TEST(StoredWindowDescription, IsStoredRaisedAndLoads) {
  const std::string_view stored = StoredFormDescription();
  ASSERT_GE(stored.size(), 4u);
  EXPECT_EQ(stored.substr(0, 4), "UQG1");
  Form form;
  std::string error;
  ASSERT_TRUE(LoadFormResource(stored, form, error)) << error;
  ASSERT_FALSE(form.components.empty());
  EXPECT_EQ(form.components[0].name, "Form1");
  EXPECT_EQ(form.components[0].className, "TForm1");
}

// ---------------------------------------------------------------- layout

TEST(WindowLayout, WindowFitsA1024By768Screen) {
  const Component& window = Window().components.front();
  EXPECT_GE(window.Int("ClientWidth"), 760);
  EXPECT_LE(window.Int("ClientWidth"), 900);
  EXPECT_GE(window.Int("ClientHeight"), 560);
  EXPECT_LE(window.Int("ClientHeight"), 640);
}

TEST(WindowLayout, EveryControlHasAPlaceAndASize) {
  for (const Component& c : Window().components) {
    if (c.parent < 0 || IsNonVisual(c)) continue;
    const Rect r = Bounds(c);
    EXPECT_NE(r.left, kMissing) << c.name;
    EXPECT_NE(r.top, kMissing) << c.name;
    EXPECT_GT(r.width, 0) << c.name;
    EXPECT_GT(r.height, 0) << c.name;
  }
}

TEST(WindowLayout, LegendMovedForTheServicesPageStaysClear) {
  // The window moves Image7 to (60, 10) and Label4 to (86, 12) and hides
  // Image9 and Label12 while the services page shows.
  Rect image7 = Bounds(Named("Image7"));
  Rect label4 = Bounds(Named("Label4"));
  image7.left = 60, image7.top = 10;
  label4.left = 86, label4.top = 12;
  for (int i : ChildrenOf(IndexOf("Panel1"))) {
    const Component& c = Window().components[static_cast<std::size_t>(i)];
    if (c.name == "Image7" || c.name == "Label4" || c.name == "Image9" || c.name == "Label12")
      continue;
    EXPECT_FALSE(image7.Overlaps(Bounds(c))) << "Image7 covers " << c.name;
    EXPECT_FALSE(label4.Overlaps(Bounds(c))) << "Label4 covers " << c.name;
  }
  EXPECT_FALSE(image7.Overlaps(label4));
}

// True when a comes before b in reading order: a whole row higher, or in the
// same row further left.
bool ReadsBefore(const Rect& a, const Rect& b) {
  if (a.Bottom() <= b.top) return true;
  if (b.Bottom() <= a.top) return false;
  return a.left < b.left;
}

TEST(WindowLayout, TabOrderFollowsVisualOrder) {
  const auto& all = Window().components;
  for (std::size_t p = 0; p < all.size(); ++p) {
    std::vector<const Component*> focusable;
    for (int i : ChildrenOf(static_cast<int>(p)))
      if (all[static_cast<std::size_t>(i)].Find("TabOrder"))
        focusable.push_back(&all[static_cast<std::size_t>(i)]);
    std::set<int> orders;
    for (const Component* c : focusable) orders.insert(c->Int("TabOrder", -1));
    EXPECT_EQ(orders.size(), focusable.size()) << "repeated TabOrder in " << all[p].name;
    if (!focusable.empty()) {
      EXPECT_EQ(*orders.begin(), 0) << all[p].name;
      EXPECT_EQ(*orders.rbegin(), static_cast<int>(focusable.size()) - 1) << all[p].name;
    }
    for (const Component* a : focusable)
      for (const Component* b : focusable)
        if (a->Int("TabOrder") < b->Int("TabOrder")) {
          EXPECT_FALSE(ReadsBefore(Bounds(*b), Bounds(*a)))
              << b->name << " comes first on screen but later in TabOrder than " << a->name;
        }
  }
}

// Where each kind of control must sit: the page control and the page index.
struct Place {
  std::string pageControl;
  int page;
};

Place ExpectedPlace(const std::string& name) {
  auto group = [&name](std::size_t from) { return name[from] - '1'; };
  if (name.rfind("sCheckBox_", 0) == 0) return {"PageControl2", group(10)};
  if (name.rfind("sComboBox_", 0) == 0) return {"PageControl2", group(10)};
  if (name.rfind("sSpinner", 0) == 0) return {"PageControl2", group(8)};
  if (name.rfind("pCheckBox_", 0) == 0) return {"PageControl3", group(10)};
  if (name == "pComboBox_1_1") return {"PageControl3", 4};
  if (name.rfind("iCheckBox_", 0) == 0) return {"PageControl1", 2};
  if (name.rfind("mCheckBox_", 0) == 0) return {"PageControl1", 3};
  return {"PageControl1", 4};  // the services preset and list
}

TEST(WindowLayout, EveryOptionSitsOnThePageOfItsGroup) {
  const auto& all = Window().components;
  for (const Component& c : all) {
    if (c.kind == ControlKind::kOther || c.name == "RzCheckBox1") continue;
    const Place want = ExpectedPlace(c.name);
    const Component& sheet = all[static_cast<std::size_t>(c.parent)];
    ASSERT_EQ(sheet.className, "TTabSheet") << c.name;
    const Component& pages = all[static_cast<std::size_t>(sheet.parent)];
    EXPECT_EQ(pages.name, want.pageControl) << c.name;
    const std::vector<int> sheets = ChildrenOf(sheet.parent);
    const auto at = std::find(sheets.begin(), sheets.end(), c.parent) - sheets.begin();
    EXPECT_EQ(at, want.page) << c.name;
  }
}

TEST(WindowLayout, MainPagesComeInTheOrderTheTitlesFollow) {
  const char* const captions[] = {"Система", "Проводник", "Настройки IE", "Настройки WMP",
                                  "Сервисы и службы"};
  const std::vector<int> sheets = ChildrenOf(IndexOf("PageControl1"));
  ASSERT_EQ(sheets.size(), 5u);
  for (std::size_t i = 0; i < sheets.size(); ++i)
    EXPECT_EQ(Utf8(Window().components[static_cast<std::size_t>(sheets[i])].Text("Caption")),
              captions[i]);
  EXPECT_EQ(ChildrenOf(IndexOf("PageControl2")).size(), 6u);
  EXPECT_EQ(ChildrenOf(IndexOf("PageControl3")).size(), 5u);
}

// ---------------------------------------------------------------- readable texts

TEST(WindowTexts, LabelsHoldEveryTextTheyShow) {
  // Texts the window itself puts into the header, by page.
  const std::map<std::string, std::vector<std::string>> shownLater = {
      {"Label4", {"Авто"}},
      {"Label5", {"Отключить"}},
      {"Label9", {"Вручную"}},
      {"Label10",
       {"  -  Проводник", "  -  Настройки IE", "  -  Настройки WMP", "  -  Сервисы и службы"}},
  };
  for (const Component& c : Window().components) {
    if (c.className != "TLabel" && c.className != "TRzURLLabel") continue;
    if (c.name == "InfoLabel") continue;  // wraps; see the hint test
    std::vector<std::string> texts = {c.Text("Caption")};
    const auto later = shownLater.find(c.name);
    if (later != shownLater.end())
      for (const std::string& t : later->second) texts.push_back(Utf8ToCp1251(t));
    for (const std::string& t : texts)
      EXPECT_GE(Bounds(c).width, kCharWidth * Length(t))
          << c.name << " clips \"" << Utf8(t) << "\"";
  }
}

// ---------------------------------------------------------------- hints

TEST(WindowHints, EveryOptionAndSpinnerExplainsItself) {
  for (const Component& c : Window().components) {
    if (c.kind != ControlKind::kOption && c.kind != ControlKind::kSpinner) continue;
    const std::string hint = c.Text("Hint");
    EXPECT_EQ(hint.rfind("| ", 0), 0u) << c.name;
    EXPECT_GT(Length(hint), 40) << c.name << ": \"" << Utf8(hint) << "\"";
  }
  // The access-level option starts at its grayed level and explains that level.
  const OptionDef& access = OptionDefs()[static_cast<std::size_t>(OptionIndex("sCheckBox_1_5"))];
  EXPECT_EQ(Named("sCheckBox_1_5").Text("Hint"), access.hints[cbGrayed]);
}

TEST(WindowHints, DropDownHintsCanBeCommentLines) {
  // The hint becomes "; " + hint in the scripts and "Info=" in the settings file.
  for (const ComboControl& combo : Window().combos) {
    EXPECT_FALSE(combo.hint.empty());
    EXPECT_EQ(combo.hint.find('|'), std::string::npos) << Utf8(combo.hint);
    EXPECT_EQ(combo.hint.find_first_of("\r\n"), std::string::npos) << Utf8(combo.hint);
  }
  EXPECT_FALSE(Window().layoutOrderLabel.empty());
  EXPECT_EQ(Window().layoutOrderLabel.find('|'), std::string::npos);
}

// ---------------------------------------------------------------- starting selection

TEST(WindowDropDowns, ItemsAndInitialSelection) {
  const std::size_t counts[kComboCount] = {4, 2, 4, 3, 3, 3};
  const int selected[kComboCount] = {0, 1, 3, 1, 1, 1};
  for (int i = 0; i < kComboCount; ++i) {
    const ComboControl& combo = Window().combos[static_cast<std::size_t>(i)];
    EXPECT_EQ(combo.items.size(), counts[i]) << ComboNames()[static_cast<std::size_t>(i)];
    EXPECT_EQ(combo.itemIndex, selected[i]) << ComboNames()[static_cast<std::size_t>(i)];
    EXPECT_EQ(std::set<std::string>(combo.items.begin(), combo.items.end()).size(),
              combo.items.size())
        << ComboNames()[static_cast<std::size_t>(i)] << " repeats an item";
  }
}

TEST(WindowSpinners, StartAtTheWindowsTimeouts) {
  const int seconds[kSpinnerCount] = {5, 20, 20};
  for (int i = 0; i < kSpinnerCount; ++i) {
    const SpinnerControl& s = Window().spinners[static_cast<std::size_t>(i)];
    EXPECT_EQ(s.min, 0);
    EXPECT_EQ(s.max, 600);
    EXPECT_EQ(s.value, seconds[i]) << SpinnerNames()[static_cast<std::size_t>(i)];
  }
}

TEST(WindowInitialState, OptionsStartSkippedOrAtTheWindowsSetting) {
  // Options that write in every state start at the standard Windows XP
  // setting; every other option starts skipped.
  const std::map<std::string, TriState> alwaysWritten = {
      {"sCheckBox_1_1", cbChecked}, {"sCheckBox_1_4", cbUnchecked}, {"sCheckBox_1_5", cbGrayed},
      {"sCheckBox_6_6", cbGrayed},  {"pCheckBox_4_1", cbUnchecked}, {"pCheckBox_4_2", cbUnchecked},
      {"pCheckBox_4_3", cbChecked}, {"pCheckBox_4_4", cbChecked},   {"pCheckBox_4_5", cbChecked},
      {"pCheckBox_4_6", cbChecked}, {"pCheckBox_4_7", cbGrayed}, {"pCheckBox_4_8", cbChecked},
      {"pCheckBox_4_11", cbGrayed},
  };
  const auto& defs = OptionDefs();
  for (std::size_t i = 0; i < defs.size(); ++i) {
    if (defs[i].role != OptionRole::kOption) continue;
    const auto fixed = alwaysWritten.find(defs[i].name);
    const TriState want = fixed == alwaysWritten.end() ? cbGrayed : fixed->second;
    EXPECT_EQ(Window().options[i].state, want) << defs[i].name;
    EXPECT_TRUE(Window().options[i].allowGrayed) << defs[i].name;
  }
}

TEST(WindowInitialState, ServicesStartUntouched) {
  const OptionControl& preset = Window().Option(OptionIndex("srCheckBox_1_1"));
  EXPECT_EQ(preset.state, cbGrayed);
  EXPECT_EQ(Utf8(preset.caption), "Стандартная конфигурация");
  EXPECT_TRUE(preset.allowGrayed);
  EXPECT_FALSE(Window().services.enabled);

  const OptionControl& note = Window().Option(OptionIndex("RzCheckBox1"));
  EXPECT_EQ(note.state, cbUnchecked);
  EXPECT_FALSE(note.allowGrayed);
  EXPECT_FALSE(note.caption.empty());
}

// ---------------------------------------------------------------- services list

const char* const kEssentialServices[] = {"RpcSs", "DcomLaunch",        "PlugPlay", "Eventlog",
                                          "SamSs", "lanmanworkstation", "Dhcp",     "Dnscache"};

int ServiceIndex(const std::string& key) {
  const auto& items = Window().services.items;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (KeyName(items[i]) == key) return static_cast<int>(i);
  return -1;
}

TEST(ServicesList, SystemRestoreSitsWhereTheWindowDisablesIt) {
  // Entering the services page with system restore switched off disables item 49.
  ASSERT_EQ(Window().services.items.size(), static_cast<std::size_t>(kServiceCount));
  EXPECT_EQ(KeyName(Window().services.items[49]), "srservice");
}

TEST(ServicesList, ItemsAreDisplayNameThreeBlanksStarAndKey) {
  std::set<std::string> keys, names;
  for (const std::string& item : Window().services.items) {
    const std::size_t star = item.rfind('*');
    ASSERT_NE(star, std::string::npos) << Utf8(item);
    ASSERT_GE(star, 4u) << Utf8(item);
    EXPECT_EQ(item.substr(star - 3, 3), "   ") << Utf8(item);
    const std::string name = item.substr(0, star - 3);
    EXPECT_NE(name.back(), ' ') << Utf8(item);
    EXPECT_TRUE(names.insert(name).second) << "display name twice: " << Utf8(name);

    const std::string key = KeyName(item);
    ASSERT_FALSE(key.empty()) << Utf8(item);
    EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(key[0]))) << key;
    for (char ch : key)
      EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(ch))) << "odd key name " << key;
    std::string folded = key;  // registry key names ignore letter case
    for (char& ch : folded) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    EXPECT_TRUE(keys.insert(folded).second) << "key twice: " << key;
  }
}

TEST(ServicesList, OptimalPresetKeepsWindowsBootable) {
  for (const char* key : kEssentialServices) {
    const int at = ServiceIndex(key);
    ASSERT_GE(at, 0) << key << " is not in the list";
    EXPECT_NE(OptimalServiceStates()[static_cast<std::size_t>(at)], cbUnchecked)
        << key << " would be disabled by the optimal preset";
  }
}

TEST(ServicesList, StandardStatesStartEssentialsAutomatically) {
  for (const char* key : kEssentialServices) {
    const int at = ServiceIndex(key);
    ASSERT_GE(at, 0) << key;
    EXPECT_EQ(Window().services.states[static_cast<std::size_t>(at)], cbChecked) << key;
  }
}

// ---------------------------------------------------------------- loader errors

std::vector<std::string> PlainLines() {
  std::string plain(StoredFormDescription());
  for (char& ch : plain) ch = static_cast<char>(static_cast<unsigned char>(ch) - 1);
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < plain.size()) {
    std::size_t end = plain.find('\n', pos);
    if (end == std::string::npos) end = plain.size();
    lines.push_back(plain.substr(pos, end - pos));
    pos = end + 1;
  }
  return lines;
}

std::string Trimmed(const std::string& s) {
  const std::size_t b = s.find_first_not_of(" \t\r");
  const std::size_t e = s.find_last_not_of(" \t\r");
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// The description's source text is UTF-8.
std::size_t LineOf(const std::vector<std::string>& lines, const std::string& utf8) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (Trimmed(lines[i]) == utf8) return i;
  ADD_FAILURE() << "no line " << utf8;
  return 0;
}

std::string LoadError(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  Form form;
  std::string error;
  EXPECT_FALSE(ParseFormDescription(text, form, error));
  return Utf8(error);
}

std::string LineRef(std::size_t index) { return "line " + std::to_string(index + 1) + ":"; }

TEST(FormLoader, UnterminatedStringNamesItsLine) {
  auto lines = PlainLines();
  const std::size_t at = LineOf(lines, "Caption = 'Kwetro'");
  lines[at] = "  Caption = 'Kwetro";
  const std::string error = LoadError(lines);
  EXPECT_NE(error.find(LineRef(at)), std::string::npos) << error;
  EXPECT_NE(error.find("unterminated string"), std::string::npos) << error;
}

TEST(FormLoader, MissingEndNamesTheOpenObject) {
  auto lines = PlainLines();
  while (Trimmed(lines.back()).empty()) lines.pop_back();
  ASSERT_EQ(Trimmed(lines.back()), "end");
  lines.pop_back();
  const std::string error = LoadError(lines);
  EXPECT_NE(error.find(LineRef(lines.size() - 1)), std::string::npos) << error;
  EXPECT_NE(error.find("\"Form1\" has no \"end\""), std::string::npos) << error;
}

TEST(FormLoader, DuplicateControlNamesItsLine) {
  auto lines = PlainLines();
  const std::size_t at = LineOf(lines, "object sCheckBox_1_3: TRzCheckBox");
  lines[at] = "object sCheckBox_1_2: TRzCheckBox";
  const std::string error = LoadError(lines);
  EXPECT_NE(error.find(LineRef(at)), std::string::npos) << error;
  EXPECT_NE(error.find("\"sCheckBox_1_2\" appears twice"), std::string::npos) << error;
}

TEST(FormLoader, UnknownOptionIsNamed) {
  auto lines = PlainLines();
  lines[LineOf(lines, "object sCheckBox_1_3: TRzCheckBox")] = "object sCheckBox_1_33: TRzCheckBox";
  const std::string error = LoadError(lines);
  EXPECT_NE(error.find("unknown option \"sCheckBox_1_33\""), std::string::npos) << error;
}

TEST(FormLoader, ServicesListMustHoldEveryService) {
  auto lines = PlainLines();
  // One service item alone, then together with its state.
  const std::size_t item = LineOf(lines, "'Удаленный вызов процедур (RPC)   *RpcSs'");
  std::vector<std::string> unevenly = lines;
  unevenly.erase(unevenly.begin() + static_cast<std::ptrdiff_t>(item));
  std::string error = LoadError(unevenly);
  EXPECT_NE(error.find("78 items but 79 item states"), std::string::npos) << error;

  const std::size_t states = LineOf(lines, "ItemStates = (");
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(states) + 1);
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(item));
  error = LoadError(lines);
  EXPECT_NE(error.find("must hold 79 services"), std::string::npos) << error;
}

}  // namespace
}  // namespace kwetro
