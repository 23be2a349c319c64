// kwetro-cli reads the window description in the engine's view only (the
// controls that hold state, the properties the engine reads). Whatever the
// selection, that view must give the same scripts and the same settings file
// as the whole description the window is built from.
#include <gtest/gtest.h>

#include <random>

#include "app/settings_file.h"
#include "catalogue/generators.h"
#include "support/script_lines.h"
#include "support/temp_dir.h"
#include "ui/form_loader.h"

namespace kwetro {
namespace {

using testing::TempDir;

Form Described(FormDetail detail) {
  Form form;
  std::string error;
  EXPECT_TRUE(LoadFormResource(StoredFormDescription(), form, error, detail)) << error;
  return form;
}

// A settings file with every control at random, services included.
std::string RandomSettings(std::mt19937& rng, const TempDir& dir, const std::string& name) {
  Form form = Described(FormDetail::kWindow);
  const std::string path = dir.File(name);
  form.settingsPath = path;
  for (std::size_t i = 0; i < form.options.size(); ++i)
    form.options[i].state = static_cast<TriState>(rng() % 3);
  for (auto& combo : form.combos)
    combo.itemIndex = static_cast<int>(rng() % (combo.items.size() + 1)) - 1;
  for (auto& spinner : form.spinners)
    spinner.value = spinner.min + static_cast<int>(rng() % (spinner.max - spinner.min + 1));
  for (auto& state : form.services.states) state = static_cast<TriState>(rng() % 3);
  std::string error;
  EXPECT_TRUE(SaveSettings(form, path, error)) << error;
  return path;
}

void ExpectSameModel(const Form& engine, const Form& window) {
  ASSERT_EQ(engine.components.size(), window.components.size());
  for (std::size_t i = 0; i < engine.components.size(); ++i) {
    EXPECT_EQ(engine.components[i].name, window.components[i].name);
    EXPECT_EQ(engine.components[i].kind, window.components[i].kind);
    EXPECT_EQ(engine.components[i].index, window.components[i].index);
  }
  for (std::size_t i = 0; i < engine.options.size(); ++i) {
    EXPECT_EQ(engine.options[i].state, window.options[i].state) << OptionDefs()[i].name;
    EXPECT_EQ(engine.options[i].caption, window.options[i].caption) << OptionDefs()[i].name;
    EXPECT_EQ(engine.options[i].allowGrayed, window.options[i].allowGrayed);
  }
  for (int c = 0; c < kComboCount; ++c) {
    EXPECT_EQ(engine.combos[c].items, window.combos[c].items) << ComboNames()[c];
    EXPECT_EQ(engine.combos[c].itemIndex, window.combos[c].itemIndex) << ComboNames()[c];
    EXPECT_EQ(engine.combos[c].hint, window.combos[c].hint) << ComboNames()[c];
  }
  for (int s = 0; s < kSpinnerCount; ++s) {
    EXPECT_EQ(engine.spinners[s].min, window.spinners[s].min);
    EXPECT_EQ(engine.spinners[s].max, window.spinners[s].max);
    EXPECT_EQ(engine.spinners[s].value, window.spinners[s].value);
    EXPECT_EQ(engine.spinners[s].hint, window.spinners[s].hint);
  }
  EXPECT_EQ(engine.services.items, window.services.items);
  EXPECT_EQ(engine.services.states, window.services.states);
  EXPECT_EQ(engine.services.enabled, window.services.enabled);
  EXPECT_EQ(engine.services.color, window.services.color);
  EXPECT_EQ(engine.layoutOrderLabel, window.layoutOrderLabel);
}

TEST(EngineView, BuiltInSelectionMatchesTheWholeDescription) {
  const Form engine = Described(FormDetail::kEngine);
  const Form window = Described(FormDetail::kWindow);
  ExpectSameModel(engine, window);
  EXPECT_EQ(BuildHkcuScript(engine).Bytes(), BuildHkcuScript(window).Bytes());
  EXPECT_EQ(BuildHklmScript(engine).Bytes(), BuildHklmScript(window).Bytes());
}

TEST(EngineView, RestoredSelectionsWriteTheSameScriptsAndSettings) {
  TempDir dir;
  std::mt19937 rng(20261207);
  for (int round = 0; round < 12; ++round) {
    const std::string path = RandomSettings(rng, dir, "in.ini");
    Form engine = Described(FormDetail::kEngine);
    Form window = Described(FormDetail::kWindow);
    for (Form* form : {&engine, &window}) {
      form->settingsPath = path;
      int countdown = 0;
      std::string error;
      ASSERT_EQ(LoadSettings(*form, path, countdown, error), LoadResult::kLoaded) << error;
    }
    ExpectSameModel(engine, window);
    EXPECT_EQ(BuildHkcuScript(engine).Bytes(), BuildHkcuScript(window).Bytes());
    EXPECT_EQ(BuildHklmScript(engine).Bytes(), BuildHklmScript(window).Bytes());
    std::string error;
    ASSERT_TRUE(SaveSettings(engine, dir.File("engine.ini"), error)) << error;
    ASSERT_TRUE(SaveSettings(window, dir.File("window.ini"), error)) << error;
    EXPECT_EQ(dir.Read("engine.ini"), dir.Read("window.ini"));
  }
}

// What the engine reads is checked in its view as well: a broken state of an
// option box fails both, a broken text only the window shows fails the window.
TEST(EngineView, ChecksWhatTheEngineReads) {
  const char* const box =
      "object Form1: TForm1\n"
      "  object Info: TLabel\n"
      "    Hint = 'never closed\n"
      "  end\n"
      "end\n";
  Form form;
  std::string error;
  EXPECT_FALSE(ParseFormDescription(box, form, error, FormDetail::kWindow));
  EXPECT_NE(error.find("unterminated string"), std::string::npos) << error;
  error.clear();
  // The engine passes over the label, and fails on the options it misses.
  EXPECT_FALSE(ParseFormDescription(box, form, error, FormDetail::kEngine));
  EXPECT_NE(error.find("is missing"), std::string::npos) << error;

  std::string stored(StoredFormDescription());
  for (char& c : stored) c = static_cast<char>(static_cast<unsigned char>(c) - 1);
  const std::string good = "State = cbChecked";
  const std::size_t at = stored.find(good);
  ASSERT_NE(at, std::string::npos);
  stored.replace(at, good.size(), "State = cbMaybe");
  for (FormDetail detail : {FormDetail::kWindow, FormDetail::kEngine}) {
    error.clear();
    EXPECT_FALSE(ParseFormDescription(stored, form, error, detail));
    EXPECT_NE(error.find("bad State"), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace kwetro
