// Properties over many selections and many crafted settings files:
//  - no settings file puts a line into a script that the program does not
//    define, and kwetro-cli writes nothing but its fixed file names;
//  - save, load, save gives the same bytes and restores every control, also
//    when the file the selection is saved into was hostile;
//  - every line of every script is one of the line kinds REGEDIT reads.
#include <random>

#include "robustness/robustness_support.h"

namespace kwetro::robustness {
namespace {

// How many rounds a property runs: the logic is the same on both builds, and
// under Wine each file operation costs many times more, so the Windows build
// runs a quarter of them.
constexpr int Rounds(int native) {
#ifdef _WIN32
  return native / 4;
#else
  return native;
#endif
}

// Crafted settings files: the program's own section and entry names in any
// letter case and with blanks, the values the reader must tell apart, raw
// bytes, and attempts to make a value look like a registry line.
class HostileSettingsMaker {
 public:
  explicit HostileSettingsMaker(std::uint32_t seed) : rng_(seed), form_(BuiltInForm()) {
    for (const Component& c : form_.components)
      if (c.kind == ControlKind::kOption || c.kind == ControlKind::kCombo ||
          c.kind == ControlKind::kSpinner)
        sections_.push_back(c.name);
    sections_.insert(sections_.end(), {"Start", "Servise", "Servise", "Servise",
                                       "HKEY_LOCAL_MACHINE\\SOFTWARE", "Notes", ""});
    entries_ = {"Checked", "Checked", "Checked", "Index", "Index", "Info", "Name", "Timer", ""};
    entries_.insert(entries_.end(), form_.services.items.begin(), form_.services.items.end());
  }

  std::string Make() {
    std::string out;
    const int lines = 1 + Pick(400);
    for (int i = 0; i < lines; ++i) {
      switch (Pick(12)) {
        case 0:
          out += Blanks() + "[" + Blanks() + Mangle(Any(sections_)) + Blanks() + "]";
          break;
        case 1:
          out += Raw(1 + Pick(40));
          break;
        case 2:
          out += "; " + Value();
          break;
        case 3:
          out += Mangle(Any(entries_));
          break;  // no "=": names no entry
        default:
          out += Blanks() + Mangle(Any(entries_)) + Blanks() + "=" + Blanks() + Value() + Blanks();
      }
      out += Any(std::vector<std::string>{"\r\n", "\r\n", "\r\n", "\n", "\r", "\n\r", ""});
    }
    return out;
  }

 private:
  int Pick(int n) { return static_cast<int>(rng_() % static_cast<std::uint32_t>(n)); }
  const std::string& Any(const std::vector<std::string>& from) {
    return from[static_cast<std::size_t>(Pick(static_cast<int>(from.size())))];
  }
  std::string Blanks() { return std::string(Pick(3) == 0 ? Pick(3) : 0, Pick(2) ? ' ' : '\t'); }
  std::string Raw(int n) {
    std::string bytes(static_cast<std::size_t>(n), '\0');
    for (char& c : bytes) c = static_cast<char>(rng_() & 0xFF);
    return bytes;
  }
  // The name with the case of some Latin letters turned.
  std::string Mangle(std::string name) {
    if (Pick(3) == 0)
      for (char& c : name)
        if (((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) && Pick(2)) c ^= 0x20;
    return name;
  }
  std::string Value() {
    static const std::vector<std::string> values = {"0",
                                                    "1",
                                                    "2",
                                                    "3",
                                                    "-1",
                                                    "01",
                                                    " 1 ",
                                                    "",
                                                    "0x",
                                                    "0x10",
                                                    "0XfFfFfFfF",
                                                    "-0x10",
                                                    "1e3",
                                                    "-2147483648",
                                                    "2147483647",
                                                    "99999999999",
                                                    "0x7fffffff",
                                                    "0x80000000",
                                                    "600",
                                                    "601",
                                                    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Evil]",
                                                    "\"Evil\"=dword:00000001",
                                                    "[-HKEY_CURRENT_USER]",
                                                    "@=\"x\"",
                                                    "hex:00,01,\\",
                                                    "1\r\n[HKEY_LOCAL_MACHINE\\Injected]"};
    return Pick(5) == 0 ? Raw(1 + Pick(20)) : Any(values);
  }

  std::mt19937 rng_;
  Form form_;
  std::vector<std::string> sections_, entries_;
};

// A selection a user could make in the window: every control at random.
Form RandomSelection(std::mt19937& rng) {
  Form form = BuiltInForm();
  for (std::size_t i = 0; i < form.options.size(); ++i)
    if (OptionDefs()[i].role != OptionRole::kServicesPreset)
      form.SetState(static_cast<int>(i), static_cast<TriState>(rng() % 3));
  form.SetState(OptionIndex("srCheckBox_1_1"), rng() % 2 ? cbUnchecked : cbGrayed);
  for (auto& combo : form.combos)
    combo.itemIndex = static_cast<int>(rng() % (combo.items.size() + 1)) - 1;
  for (auto& spinner : form.spinners)
    spinner.value = spinner.min + static_cast<int>(rng() % (spinner.max - spinner.min + 1u));
  for (auto& state : form.services.states) state = static_cast<TriState>(rng() % 3);
  return form;
}

// Every control the settings file stores, compared.
void ExpectSameControls(const Form& a, const Form& b, const std::string& context) {
  for (std::size_t i = 0; i < a.options.size(); ++i) {
    EXPECT_EQ(a.options[i].state, b.options[i].state) << OptionDefs()[i].name << ", " << context;
    EXPECT_EQ(a.options[i].caption, b.options[i].caption)
        << OptionDefs()[i].name << ", " << context;
  }
  for (int c = 0; c < kComboCount; ++c)
    EXPECT_EQ(a.combos[c].itemIndex, b.combos[c].itemIndex) << ComboNames()[c] << ", " << context;
  for (int s = 0; s < kSpinnerCount; ++s)
    EXPECT_EQ(a.spinners[s].value, b.spinners[s].value) << SpinnerNames()[s] << ", " << context;
  EXPECT_EQ(a.services.enabled, b.services.enabled) << context;
  EXPECT_EQ(a.services.states, b.services.states) << context;
}

TEST(ScriptChecks, TheCheckersRejectWhatTheyMust) {
  // So that the properties below cannot pass by accepting everything.
  const std::string header = "Windows Registry Editor Version 5.00\r\n\r\n";
  EXPECT_EQ(CheckLineKinds(header + "[HKEY_LOCAL_MACHINE\\A]\r\n\"x\"=dword:0000000a\r\n"), "");
  for (const char* bad :
       {"[HKLM\\A]", "[HKEY_LOCAL_MACHINE\\A\\\\B]", "\"x\"=dword:1", "\"x\"=dword:0000000A", "x=1",
        "\"x\"=\"open", "\"x\"=hex:0,1", "\"x\"=hex:00,01,\\"})
    EXPECT_NE(CheckLineKinds(header + bad + "\r\n"), "") << bad;
  EXPECT_NE(CheckLineKinds(header + "; no line end"), "");

  const Scripts builtIn = ScriptsOf(BuiltInForm());
  EXPECT_EQ(Vocabulary().CheckScript(builtIn.hklm), "");
  for (const char* smuggled :
       {"\"Evil\"=dword:00000001", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Evil]",
        "\"WaitToKillServiceTimeout\"=\"601000\"", "\"WaitToKillServiceTimeout\"=\"1500\"",
        "; Info text from a settings file"})
    EXPECT_FALSE(Vocabulary().Allows(smuggled)) << smuggled;
}

TEST(ScriptProperties, NoSettingsFileMakesAScriptHoldALineTheProgramDoesNotDefine) {
  Workspace ws;
  HostileSettingsMaker maker(1206);
  for (int round = 0; round < Rounds(150); ++round) {
    const std::string bytes = maker.Make();
    const std::string context = "crafted file " + std::to_string(round);
    // Through the command: only the two fixed names appear, in the folder given.
    const CliRun r = ws.Generate(bytes);
    ASSERT_EQ(r.code, kExitOk) << context << ": " << r.err;
    ASSERT_EQ(Listing(ws.Out()), (std::set<std::string>{"hkcu.reg", "hklm.reg"})) << context;
    ASSERT_EQ(Listing(ws.Dir().Path()), (std::set<std::string>{"k.ini", "out"})) << context;
    const Scripts written = ws.Written();
    ExpectOnlyDefinedLines(written, context);
    if (::testing::Test::HasFailure()) {
      ADD_FAILURE() << context << " was:\n" << Cp1251ToUtf8(bytes.substr(0, 2000));
      return;
    }
  }
}

TEST(ScriptProperties,
     SavingIntoAHostileFileThenLoadingRestoresEveryControlAndSavingAgainChangesNoByte) {
  Workspace ws;
  HostileSettingsMaker maker(77);
  std::mt19937 rng(78);
  for (int round = 0; round < Rounds(80); ++round) {
    const std::string context = "round " + std::to_string(round);
    // A selection made in the window, saved over a crafted file.
    const std::string hostile = maker.Make();
    ws.Dir().Write("k.ini", hostile);
    Form selected = RandomSelection(rng);
    selected.settingsPath = ws.Settings();
    std::string error;
    ASSERT_TRUE(SaveSettings(selected, ws.Settings(), error)) << error;
    const std::string once = ws.Dir().Read("k.ini");

    int countdown = 0;
    Form loaded = BuiltInForm();
    loaded.settingsPath = ws.Settings();
    ASSERT_EQ(LoadSettings(loaded, ws.Settings(), countdown, error), LoadResult::kLoaded) << error;
    EXPECT_EQ(countdown, 30) << context;
    ExpectSameControls(selected, loaded, context);
    EXPECT_EQ(ScriptsOf(loaded), ScriptsOf(selected)) << context;

    ASSERT_TRUE(SaveSettings(loaded, ws.Settings(), error)) << error;
    EXPECT_EQ(ws.Dir().Read("k.ini"), once) << context;
    if (::testing::Test::HasFailure()) {
      ADD_FAILURE() << context << ", crafted file:\n" << Cp1251ToUtf8(hostile.substr(0, 2000));
      return;
    }
  }
}

TEST(ScriptProperties, LoadingAHostileFileThenSavingAndLoadingAgainIsStable) {
  Workspace ws;
  HostileSettingsMaker maker(4711);
  for (int round = 0; round < Rounds(80); ++round) {
    const std::string context = "round " + std::to_string(round);
    const std::string hostile = maker.Make();
    const Form first = ws.Loaded(hostile);
    std::string error;
    ASSERT_TRUE(SaveSettings(first, ws.Settings(), error)) << error;
    const std::string once = ws.Dir().Read("k.ini");
    const Form second = ws.Loaded(once);
    ExpectSameControls(first, second, context);
    ASSERT_TRUE(SaveSettings(second, ws.Settings(), error)) << error;
    EXPECT_EQ(ws.Dir().Read("k.ini"), once) << context;
    if (::testing::Test::HasFailure()) {
      ADD_FAILURE() << context << ", crafted file:\n" << Cp1251ToUtf8(hostile.substr(0, 2000));
      return;
    }
  }
}

TEST(ScriptProperties, EveryLineOfEveryScriptIsALineKindRegeditReads) {
  std::mt19937 rng(20261207);
  for (int round = 0; round < Rounds(300); ++round) {
    ExpectOnlyDefinedLines(ScriptsOf(RandomSelection(rng)), "selection " + std::to_string(round));
    if (::testing::Test::HasFailure()) return;
  }
  for (TriState state : {cbUnchecked, cbChecked, cbGrayed})
    ExpectOnlyDefinedLines(ScriptsOf(testing::AllOptions(state)), "all options in one state");
}

}  // namespace
}  // namespace kwetro::robustness
