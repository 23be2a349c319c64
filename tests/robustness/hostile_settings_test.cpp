// Hand-edited, damaged and hostile settings files: what kwetro-cli makes of
// each. Every test here backs one row of the table in docs/robustness.md.
#include <algorithm>
#include <climits>
#include <random>

#include "robustness/robustness_support.h"

namespace kwetro::robustness {
namespace {

int Id(const char* name) { return OptionIndex(name); }

const std::string& CaptionFor(const char* option, TriState state) {
  return OptionDefs()[static_cast<std::size_t>(Id(option))].captions[state];
}

std::string RandomBytes(std::mt19937& rng, std::size_t n) {
  std::string bytes(n, '\0');
  for (char& c : bytes) c = static_cast<char>(rng() & 0xFF);
  return bytes;
}

TEST(HostileSettings, EmptyFileKeepsTheOptionsAndResetsListsAndSpinners) {
  Workspace ws;
  const CliRun r = ws.Generate("");
  ASSERT_EQ(r.code, kExitOk) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, ws.OutFile("hkcu.reg") + "\n" + ws.OutFile("hklm.reg") + "\n");

  const Form builtIn = BuiltInForm();
  const Form loaded = ws.Loaded("");
  for (std::size_t i = 0; i < loaded.options.size(); ++i)
    EXPECT_EQ(loaded.options[i].state, builtIn.options[i].state) << OptionDefs()[i].name;
  for (const ComboControl& combo : loaded.combos) EXPECT_EQ(combo.itemIndex, 0);
  for (const SpinnerControl& spinner : loaded.spinners)
    EXPECT_EQ(spinner.value, std::max(spinner.min, 0));
  EXPECT_EQ(ws.Written(), ScriptsOf(loaded));
}

TEST(HostileSettings, BinaryGarbageAndNulBytesAreReadAsText) {
  Workspace ws;
  std::mt19937 rng(4242);
  for (int round = 0; round < 40; ++round) {
    const CliRun r = ws.Generate(RandomBytes(rng, 1 + rng() % 8192));
    ASSERT_EQ(r.code, kExitOk) << "round " << round << ": " << r.err;
    ExpectOnlyDefinedLines(ws.Written(), "garbage round " + std::to_string(round));
  }
  // A NUL byte ends nothing: entries after it are still read, and a value
  // holding one is no state.
  const std::string nul(1, '\0');
  const std::string bytes = RandomBytes(rng, 4096) + "\r\n[sCheckBox_1_9]" + "\r\nChecked=1\r\n" +
                            nul + nul + "\r\n[sCheckBox_2_2]\r\nChecked=0" + nul + "\r\n" +
                            RandomBytes(rng, 4096);
  const Form loaded = ws.Loaded(bytes);
  EXPECT_EQ(loaded.State(Id("sCheckBox_1_9")), cbChecked);
  EXPECT_EQ(loaded.State(Id("sCheckBox_2_2")), BuiltInForm().State(Id("sCheckBox_2_2")));
  ASSERT_EQ(ws.Generate(bytes).code, kExitOk);
  EXPECT_EQ(ws.Written(), ScriptsOf(loaded));
}

TEST(HostileSettings, FileOver16MiBIsRefusedAndTheEarlierScriptsStay) {
  Workspace ws;
  ws.Dir().Write("out/hkcu.reg", "earlier hkcu");
  ws.Dir().Write("out/hklm.reg", "earlier hklm");
  ws.Dir().Write("k.ini", "");
  std::filesystem::resize_file(ws.Settings(), 100u << 20);  // 100 MiB, sparse

  CliRun r = Cli({"generate", "--settings", ws.Settings(), "--out", ws.Out()});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_EQ(r.err, ReadError(ws.Settings(), kFileTooLargeReason));
  EXPECT_EQ(ws.Dir().Read("out/hkcu.reg"), "earlier hkcu");
  EXPECT_EQ(ws.Dir().Read("out/hklm.reg"), "earlier hklm");

  // Saving into it would have to read it first: refused, the file untouched.
  r = Cli({"settings", "--out", ws.Settings()});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_EQ(r.err, ReadError(ws.Settings(), kFileTooLargeReason));
  EXPECT_EQ(std::filesystem::file_size(ws.Settings()), 100u << 20);
  EXPECT_EQ(Listing(ws.Out()), (std::set<std::string>{"hkcu.reg", "hklm.reg"}));
  EXPECT_EQ(Listing(ws.Dir().Path()), (std::set<std::string>{"k.ini", "out"}));
}

TEST(HostileSettings, The16MiBLimitIsExact) {
  Workspace ws;
  const std::string entries = "[sCheckBox_1_9]\r\nChecked=1\r\n";
  std::string bytes = entries;
  bytes.resize(kMaxReadFileSize, ';');
  ASSERT_EQ(ws.Generate(bytes).code, kExitOk);
  bytes.push_back(';');
  const CliRun r = ws.Generate(bytes);
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_EQ(r.err, ReadError(ws.Settings(), kFileTooLargeReason));
}

#ifndef _WIN32
TEST(HostileSettings, AnEndlessDeviceIsRefusedLikeAHugeFile) {
  Workspace ws;
  const CliRun r = Cli({"generate", "--settings", "/dev/zero", "--out", ws.Out()});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_EQ(r.err, ReadError("/dev/zero", kFileTooLargeReason));
  EXPECT_TRUE(Listing(ws.Out()).empty());
}
#endif

TEST(HostileSettings, ALineOf10MBIsKeptAndTheEntriesAroundItAreRead) {
  Workspace ws;
  const std::string longLine = "note=" + std::string(10'000'000, 'x');
  const std::string bytes = "[sCheckBox_1_9]\r\nChecked=1\r\n[Notes]\r\n" + longLine +
                            "\r\n[sCheckBox_2_2]\r\nChecked=0\r\n";
  const CliRun r = ws.Generate(bytes);
  ASSERT_EQ(r.code, kExitOk) << r.err;
  const Form loaded = ws.Loaded(bytes);
  EXPECT_EQ(loaded.State(Id("sCheckBox_1_9")), cbChecked);
  EXPECT_EQ(loaded.State(Id("sCheckBox_2_2")), cbUnchecked);
  EXPECT_EQ(ws.Written(), ScriptsOf(loaded));

  // Saving over the file keeps the line byte for byte.
  ASSERT_EQ(Cli({"settings", "--settings", ws.Settings(), "--out", ws.Settings()}).code, kExitOk);
  const std::string saved = ws.Dir().Read("k.ini");
  EXPECT_NE(saved.find("[Notes]\r\n" + longLine + "\r\n\r\n"), std::string::npos);
}

TEST(HostileSettings, LfOnlyAndCrOnlyLineEndsReadLikeCrLf) {
  Workspace ws;
  const std::string crlf =
      "[sCheckBox_1_9]\r\nChecked=1\r\n\r\n[sComboBox_3_1]\r\nIndex=1\r\n[sSpinner4_3]\r\n"
      "Index=42\r\n[srCheckBox_1_1]\r\nChecked=0\r\n";
  auto replaced = [&crlf](const std::string& end) {
    std::string out;
    for (std::size_t i = 0; i < crlf.size(); ++i) {
      if (crlf.compare(i, 2, "\r\n") == 0) {
        out += end;
        ++i;
      } else {
        out += crlf[i];
      }
    }
    return out;
  };
  ASSERT_EQ(ws.Generate(crlf).code, kExitOk);
  const Scripts expected = ws.Written();
  EXPECT_EQ(ws.Loaded(crlf).spinners[kKillServiceSpinner].value, 42);
  for (const std::string& end : {std::string("\n"), std::string("\r"), std::string("\n\r")}) {
    const std::string bytes = replaced(end);
    ASSERT_EQ(ws.Generate(bytes).code, kExitOk);
    EXPECT_EQ(ws.Written(), expected) << "line end of " << end.size() << " bytes";
  }
  // The file is written back with CR LF only.
  ws.Dir().Write("k.ini", replaced("\n"));
  ASSERT_EQ(Cli({"settings", "--settings", ws.Settings(), "--out", ws.Settings()}).code, kExitOk);
  const std::string saved = ws.Dir().Read("k.ini");
  for (std::size_t i = 0; i < saved.size(); ++i)
    ASSERT_TRUE(saved[i] != '\n' || (i > 0 && saved[i - 1] == '\r')) << "bare LF at " << i;
}

TEST(HostileSettings, DuplicateSectionsAndEntriesTheFirstEntryWins) {
  Workspace ws;
  const Form builtIn = BuiltInForm();
  const std::string item = builtIn.services.items[3];
  const std::string bytes =
      "[sCheckBox_1_9]\r\nChecked=0\r\nChecked=1\r\n"
      "[sCheckBox_2_2]\r\nInfo=no state here\r\n"
      "[sCheckBox_1_9]\r\nChecked=1\r\n"
      "[SCHECKBOX_2_2]\r\nChecked=1\r\n"
      "[Servise]\r\n" +
      item + "=0\r\n" + item +
      "=1\r\n"
      "[Servise]\r\n" +
      item + "=2\r\n";
  const Form loaded = ws.Loaded(bytes);
  EXPECT_EQ(loaded.State(Id("sCheckBox_1_9")), cbUnchecked);
  EXPECT_EQ(loaded.State(Id("sCheckBox_2_2")), cbChecked);  // the second section is searched
  EXPECT_EQ(loaded.services.states[3], cbUnchecked);
  ASSERT_EQ(ws.Generate(bytes).code, kExitOk);
  EXPECT_EQ(ws.Written(), ScriptsOf(loaded));

  // Saving sets the first entry; the later copies stay as they were written,
  // and "Servise" is rebuilt once, at the end.
  ASSERT_EQ(Cli({"settings", "--settings", ws.Settings(), "--out", ws.Settings()}).code, kExitOk);
  const std::string saved = ws.Dir().Read("k.ini");
  EXPECT_EQ(saved.rfind("[sCheckBox_1_9]\r\nChecked=0\r\nChecked=1\r\n", 0), 0u)
      << saved.substr(0, 80);
  EXPECT_NE(saved.find("[SCHECKBOX_2_2]\r\nChecked=1\r\n"), std::string::npos);
  EXPECT_EQ(saved.find("[Servise]"), saved.rfind("[Servise]"));
  EXPECT_NE(saved.find("[Servise]\r\n" + builtIn.services.items[0] + "="), std::string::npos);
}

TEST(HostileSettings, NamesInOtherLetterCaseAndWithBlanksAroundThemAreFound) {
  Workspace ws;
  const Form builtIn = BuiltInForm();
  std::string item = builtIn.services.items[3];
  for (char& c : item)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  const std::string bytes =
      "  [  SCHECKBOX_1_9  ]  \r\n  cHeCkEd  =  1  \r\n"
      "[sCheckBox_2_2]\r\n\tChecked\t=\t0\t\r\n"
      "[sspinner4_3]\r\n INDEX = 42 \r\n"
      "[ servise ]\r\n " +
      item +
      " = 2 \r\n"
      // A blank inside a name makes another name.
      "[sCheckBox_2_3]\r\nChec ked=1\r\n[sCheck Box_2_4]\r\nChecked=1\r\n";
  const Form loaded = ws.Loaded(bytes);
  EXPECT_EQ(loaded.State(Id("sCheckBox_1_9")), cbChecked);
  EXPECT_EQ(loaded.State(Id("sCheckBox_2_2")), cbUnchecked);
  EXPECT_EQ(loaded.spinners[kKillServiceSpinner].value, 42);
  EXPECT_EQ(loaded.services.states[3], cbGrayed);
  EXPECT_EQ(loaded.State(Id("sCheckBox_2_3")), builtIn.State(Id("sCheckBox_2_3")));
  EXPECT_EQ(loaded.State(Id("sCheckBox_2_4")), builtIn.State(Id("sCheckBox_2_4")));
  ASSERT_EQ(ws.Generate(bytes).code, kExitOk);
  EXPECT_EQ(ws.Written(), ScriptsOf(loaded));
}

TEST(HostileSettings, TimerValuesGiveTheCountdownOrZeroAndNeverReachTheScripts) {
  Workspace ws;
  ASSERT_EQ(ws.Generate("[Start]\r\n").code, kExitOk);
  const Scripts withoutTimer = ws.Written();
  const struct {
    const char* text;
    int countdown;
  } rows[] = {
      {"-2147483648", INT_MIN},
      {"2147483647", INT_MAX},
      {"99999999999", 0},
      {"0x", 0},
      {"0x10", 16},
      {"0XfFfFfFfF", -1},
      {"-0x10", 0},
      {" 12 ", 12},
      {"1e3", 0},
      {"", 0},
  };
  for (const auto& row : rows) {
    const std::string bytes = std::string("[Start]\r\nTimer=") + row.text + "\r\n";
    int countdown = 30;
    ws.Loaded(bytes, &countdown);
    EXPECT_EQ(countdown, row.countdown) << "Timer=" << row.text;
    const CliRun r = ws.Generate(bytes);
    EXPECT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(ws.Written(), withoutTimer) << "Timer=" << row.text;
    // A save always stores 30.
    ASSERT_EQ(Cli({"settings", "--settings", ws.Settings(), "--out", ws.Settings()}).code, kExitOk);
    EXPECT_EQ(IniFile::Parse(ws.Dir().Read("k.ini")).Read("Start", "Timer", ""), "30");
  }
}

TEST(HostileSettings, CheckedValuesOtherThan012LeaveTheStateAndTheCaptionFollowsIt) {
  Workspace ws;
  const TriState builtIn = BuiltInForm().State(Id("sCheckBox_1_9"));
  const struct {
    const char* text;
    TriState state;
  } rows[] = {{"", builtIn},      {"3", builtIn},     {"-1", builtIn}, {"01", builtIn},
              {" 1 ", cbChecked}, {"0", cbUnchecked}, {"2", cbGrayed}, {"1.0", builtIn}};
  for (const auto& row : rows) {
    const std::string bytes = std::string("[sCheckBox_1_9]\r\nChecked=") + row.text + "\r\n";
    const Form loaded = ws.Loaded(bytes);
    EXPECT_EQ(loaded.State(Id("sCheckBox_1_9")), row.state) << "Checked=" << row.text;
    EXPECT_EQ(loaded.Option(Id("sCheckBox_1_9")).caption, CaptionFor("sCheckBox_1_9", row.state));
    ASSERT_EQ(ws.Generate(bytes).code, kExitOk);
    EXPECT_EQ(ws.Written(), ScriptsOf(loaded)) << "Checked=" << row.text;
  }
}

TEST(HostileSettings, DropDownIndexOutOfRangeOrNegativeSelectsNothing) {
  Workspace ws;
  const int items = static_cast<int>(BuiltInForm().combos[kPrefetchCombo].items.size());
  ASSERT_GE(items, 2);
  const struct {
    std::string text;
    int index;
  } rows[] = {{std::to_string(items), -1},
              {std::to_string(items - 1), items - 1},
              {"-1", -1},
              {"-7", -1},
              {"-2147483648", -1},
              {"2147483647", -1},
              {"0x1", 1},
              {"0XfFfFfFfF", -1},
              {"0x", 0},
              {"1e3", 0},
              {"99999999999", 0},
              {"", 0}};
  for (const auto& row : rows) {
    const std::string bytes = "[sComboBox_3_1]\r\nIndex=" + row.text + "\r\n";
    const Form loaded = ws.Loaded(bytes);
    EXPECT_EQ(loaded.combos[kPrefetchCombo].itemIndex, row.index) << "Index=" << row.text;
    ASSERT_EQ(ws.Generate(bytes).code, kExitOk);
    const Scripts written = ws.Written();
    EXPECT_EQ(written, ScriptsOf(loaded)) << "Index=" << row.text;
    ExpectOnlyDefinedLines(written, "Index=" + row.text);
  }
}

TEST(HostileSettings, SpinnerValuesOutsideTheRangeAreHeldToIt) {
  Workspace ws;
  const SpinnerControl spinner = BuiltInForm().spinners[kKillServiceSpinner];
  ASSERT_LT(spinner.min, spinner.max);
  const auto held = [&spinner](int v) { return std::clamp(v, spinner.min, spinner.max); };
  const struct {
    std::string text;
    int value;
  } rows[] = {{"-5", spinner.min},
              {std::to_string(spinner.max + 1), spinner.max},
              {"-2147483648", spinner.min},
              {"2147483647", spinner.max},
              {"0x258", held(0x258)},
              {"99999999999", held(0)},
              {"abc", held(0)},
              {std::to_string(spinner.max), spinner.max}};
  for (const auto& row : rows) {
    const std::string bytes = "[sSpinner4_3]\r\nIndex=" + row.text + "\r\n";
    const Form loaded = ws.Loaded(bytes);
    EXPECT_EQ(loaded.spinners[kKillServiceSpinner].value, row.value) << "Index=" << row.text;
    ASSERT_EQ(ws.Generate(bytes).code, kExitOk);
    const std::string line =
        "\"WaitToKillServiceTimeout\"=\"" + std::to_string(row.value * 1000LL) + "\"\r\n";
    EXPECT_NE(ws.Written().hklm.find(line), std::string::npos) << "Index=" << row.text;
  }
}

}  // namespace
}  // namespace kwetro::robustness
