#include <gtest/gtest.h>

#include <random>

#include "app/settings_file.h"
#include "catalogue/services_page.h"
#include "support/script_lines.h"
#include "support/temp_dir.h"

namespace kwetro {
namespace {

using testing::BuiltInForm;
using testing::TempDir;

int Id(const char* name) { return OptionIndex(name); }

LoadResult Load(Form& form, const std::string& path, int& countdown) {
  std::string error;
  const LoadResult r = LoadSettings(form, path, countdown, error);
  EXPECT_EQ(r == LoadResult::kFailed, !error.empty()) << error;
  return r;
}

// A selection with every control changed at random.
Form RandomSelection(std::mt19937& rng, const std::string& settingsPath) {
  Form form = BuiltInForm();
  form.settingsPath = settingsPath;
  for (std::size_t i = 0; i < form.options.size(); ++i)
    if (OptionDefs()[i].role == OptionRole::kOption)
      form.SetState(static_cast<int>(i), static_cast<TriState>(rng() % 3));
  for (auto& combo : form.combos)
    combo.itemIndex = static_cast<int>(rng() % (combo.items.size() + 1)) - 1;
  for (auto& spinner : form.spinners)
    spinner.value = spinner.min + static_cast<int>(rng() % (spinner.max - spinner.min + 1));
  for (auto& state : form.services.states) state = static_cast<TriState>(rng() % 3);
  return form;
}

TEST(SettingsFilePath, ReplacesTheExtensionOfTheFileNameOnly) {
  EXPECT_EQ(SettingsFilePath("C:\\WINDOWS\\UPDKwetro\\Kwetro.exe"),
            "C:\\WINDOWS\\UPDKwetro\\Kwetro.ini");
  EXPECT_EQ(SettingsFilePath("C:\\tools\\Tuner.v2.exe"), "C:\\tools\\Tuner.v2.ini");
  EXPECT_EQ(SettingsFilePath("/opt/my.dir/kwetro"), "/opt/my.dir/kwetro.ini");
  EXPECT_EQ(SettingsFilePath("C:\\a.b\\Kwetro"), "C:\\a.b\\Kwetro.ini");
}

TEST(Settings, SaveThenLoadRestoresEveryControlAndSavingAgainChangesNoByte) {
  TempDir dir;
  const std::string path = dir.File("Kwetro.ini");
  std::mt19937 rng(20261206);
  for (int round = 0; round < 25; ++round) {
    const Form saved = RandomSelection(rng, path);
    std::string error;
    ASSERT_TRUE(SaveSettings(saved, path, error)) << error;
    const std::string bytes = dir.Read("Kwetro.ini");

    Form loaded = BuiltInForm();
    loaded.settingsPath = path;
    int countdown = 0;
    ASSERT_EQ(Load(loaded, path, countdown), LoadResult::kLoaded);
    for (std::size_t i = 0; i < saved.options.size(); ++i) {
      EXPECT_EQ(loaded.options[i].state, saved.options[i].state) << OptionDefs()[i].name;
      EXPECT_EQ(loaded.options[i].caption, saved.options[i].caption) << OptionDefs()[i].name;
    }
    for (int c = 0; c < kComboCount; ++c)
      EXPECT_EQ(loaded.combos[c].itemIndex, saved.combos[c].itemIndex) << ComboNames()[c];
    for (int s = 0; s < kSpinnerCount; ++s)
      EXPECT_EQ(loaded.spinners[s].value, saved.spinners[s].value);
    EXPECT_EQ(loaded.services.states, saved.services.states);
    EXPECT_EQ(countdown, 30);

    ASSERT_TRUE(SaveSettings(loaded, path, error)) << error;
    EXPECT_EQ(dir.Read("Kwetro.ini"), bytes);
  }
}

TEST(Settings, FreshFileStartsWithTimerAndEndsWithTheServicesSection) {
  TempDir dir;
  Form form = BuiltInForm();
  std::string error;
  ASSERT_TRUE(SaveSettings(form, dir.File("k.ini"), error)) << error;
  const std::string bytes = dir.Read("k.ini");
  EXPECT_EQ(bytes.rfind("[Start]\r\nTimer=30\r\n\r\n[", 0), 0u);
  const std::size_t services = bytes.find("[Servise]\r\n");
  ASSERT_NE(services, std::string::npos);
  EXPECT_EQ(bytes.find("\r\n[", services + 1), std::string::npos);  // nothing after it
  EXPECT_EQ(bytes.substr(bytes.size() - 4), "\r\n\r\n");
  const std::string option = "[sCheckBox_1_9]\r\nInfo=" + form.Option(Id("sCheckBox_1_9")).caption +
                             "\r\nName=sCheckBox_1_9\r\nChecked=2\r\n\r\n";
  EXPECT_NE(bytes.find(option), std::string::npos);
  EXPECT_NE(bytes.find("[sSpinner4_3]\r\nInfo="), std::string::npos);
}

TEST(Settings, SavingKeepsForeignContentRewritesTimerAndRebuildsServicesLast) {
  TempDir dir;
  dir.Write("k.ini",
            "[Start]\r\nTimer=7\r\nMine=1\r\n[Servise]\r\nstale item=1\r\n[Notes]\r\n"
            "; hand-written\r\nwho=admin\r\n");
  Form form = BuiltInForm();
  std::string error;
  ASSERT_TRUE(SaveSettings(form, dir.File("k.ini"), error)) << error;
  const IniFile ini = IniFile::Parse(dir.Read("k.ini"));
  EXPECT_EQ(ini.Read("Start", "Timer", ""), "30");
  EXPECT_EQ(ini.Read("Start", "Mine", ""), "1");
  EXPECT_EQ(ini.Read("Notes", "who", ""), "admin");
  EXPECT_EQ(ini.Find("Servise", "stale item"), nullptr);
  const std::string bytes = dir.Read("k.ini");
  EXPECT_LT(bytes.find("; hand-written"), bytes.find("[Servise]"));
}

TEST(Settings, MissingFileChangesNothing) {
  TempDir dir;
  Form form = BuiltInForm();
  const Form before = form;
  int countdown = 30;
  EXPECT_EQ(Load(form, dir.File("absent.ini"), countdown), LoadResult::kNoFile);
  EXPECT_EQ(countdown, 30);
  for (std::size_t i = 0; i < form.options.size(); ++i)
    EXPECT_EQ(form.options[i].state, before.options[i].state);
}

TEST(Settings, AFolderOrUnreadableFileIsReportedWithThePath) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("Kwetro.ini"));
  Form form = BuiltInForm();
  int countdown = 30;
  std::string error;
  EXPECT_EQ(LoadSettings(form, dir.File("Kwetro.ini"), countdown, error), LoadResult::kFailed);
  EXPECT_NE(error.find(dir.File("Kwetro.ini")), std::string::npos) << error;
  EXPECT_EQ(countdown, 30);
  EXPECT_FALSE(SaveSettings(form, dir.File("Kwetro.ini"), error));
  EXPECT_NE(error.find("Kwetro.ini"), std::string::npos) << error;
}

TEST(Settings, HandEditedValuesAreReadAsDocumented) {
  TempDir dir;
  dir.Write("k.ini",
            "[start]\r\ntimer = 0x10\r\n"
            "[sCheckBox_1_9]\r\nChecked= 1\r\n"
            "[sCheckBox_2_2]\r\nChecked=01\r\n"
            "[sCheckBox_2_3]\r\nChecked=3\r\n"
            "[sComboBox_1_1]\r\nIndex=0x2\r\n"
            "[sComboBox_3_1]\r\nIndex=9\r\n"
            "[sComboBox_4_1]\r\nIndex=banana\r\n"
            "[sSpinner4_1]\r\nIndex=100000\r\n"
            "[sSpinner4_2]\r\nIndex=-5\r\n");
  Form form = BuiltInForm();
  form.options[Id("sCheckBox_2_2")].caption = "stale";
  int countdown = 30;
  ASSERT_EQ(Load(form, dir.File("k.ini"), countdown), LoadResult::kLoaded);
  EXPECT_EQ(countdown, 16);
  EXPECT_EQ(form.State(Id("sCheckBox_1_9")), cbChecked);
  EXPECT_EQ(form.State(Id("sCheckBox_2_2")), cbGrayed);  // "01" is no state
  EXPECT_EQ(form.State(Id("sCheckBox_2_3")), cbGrayed);
  // The handler ran although the state stayed: the caption follows the state.
  EXPECT_EQ(Cp1251ToUtf8(form.Option(Id("sCheckBox_2_2")).caption),
            "Включить NumLock при загрузке - (Пропустить)");
  EXPECT_EQ(form.combos[kAutoUpdateCombo].itemIndex, 2);
  EXPECT_EQ(form.combos[kPrefetchCombo].itemIndex, -1);      // out of range: no selection
  EXPECT_EQ(form.combos[kErrorReportCombo].itemIndex, 0);    // not a number: 0
  EXPECT_EQ(form.combos[kFontSmoothingCombo].itemIndex, 0);  // missing: 0
  EXPECT_EQ(form.spinners[kHungAppSpinner].value, form.spinners[kHungAppSpinner].max);
  EXPECT_EQ(form.spinners[kKillAppSpinner].value, form.spinners[kKillAppSpinner].min);
  EXPECT_EQ(form.spinners[kKillServiceSpinner].value, 0);  // missing: 0, within the range
}

TEST(Settings, FileWithoutTimerStartsNoCountdown) {
  TempDir dir;
  dir.Write("k.ini", "[Start]\r\nTimer=\r\n");
  Form form = BuiltInForm();
  int countdown = 30;
  ASSERT_EQ(Load(form, dir.File("k.ini"), countdown), LoadResult::kLoaded);
  EXPECT_EQ(countdown, 0);
}

TEST(Settings, StoredServiceStatesWinOverThePreset) {
  TempDir dir;
  Form form = BuiltInForm();
  const std::string item0 = form.services.items[0];
  const std::string item1 = form.services.items[1];
  dir.Write("k.ini", "[srCheckBox_1_1]\r\nChecked=0\r\n[Servise]\r\n" + item0 + "=2\r\n" +
                         item1 + "=x\r\n");
  form.settingsPath = dir.File("k.ini");
  int countdown = 0;
  ASSERT_EQ(Load(form, dir.File("k.ini"), countdown), LoadResult::kLoaded);
  EXPECT_TRUE(form.services.enabled);
  EXPECT_EQ(form.services.states[0], cbGrayed);  // stored, over the preset's value
  EXPECT_EQ(form.services.states[1], OptimalServiceStates()[1]);  // unrecognised: preset stays
}

TEST(Settings, PresetFromTheSettingsFileReadsItsServiceStates) {
  TempDir dir;
  Form form = BuiltInForm();
  const int preset = Id("srCheckBox_1_1");
  form.settingsPath = dir.File("k.ini");
  // Without a file the preset changes nothing, not even its caption.
  const std::string captionBefore = form.Option(preset).caption;
  form.options[preset].state = cbChecked;
  form.RunClickHandler(preset);
  EXPECT_FALSE(form.services.enabled);
  EXPECT_EQ(form.Option(preset).caption, captionBefore);

  dir.Write("k.ini", "[servise]\r\n" + form.services.items[5] + " = 1 \r\n");
  form.services.states[5] = cbUnchecked;
  form.RunClickHandler(preset);
  EXPECT_TRUE(form.services.enabled);
  EXPECT_EQ(form.services.states[5], cbChecked);
  EXPECT_EQ(Cp1251ToUtf8(form.Option(preset).caption), "Из файла настроек");
}

}  // namespace
}  // namespace kwetro
