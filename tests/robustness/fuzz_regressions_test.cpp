// Every seed of the fuzz corpus and every input a fuzz run ever failed on,
// run through the fuzz targets' own checks on every build: a fault the fuzzer
// found once stays found. New failures go to fuzz/regressions/<target>/.
#include <algorithm>
#include <vector>

#include "robustness/fuzz_checks.h"
#include "robustness/robustness_support.h"

namespace kwetro::robustness {
namespace {

// A folder of the source tree; under Wine the Unix path is reached through
// drive Z:.
std::filesystem::path SourcePath(const std::string& relative) {
#ifdef _WIN32
  return std::filesystem::path("Z:" KWETRO_SOURCE_DIR) / relative;
#else
  return std::filesystem::path(KWETRO_SOURCE_DIR) / relative;
#endif
}

// The files of the corpus and regression folders of one fuzz target.
std::vector<std::filesystem::path> Inputs(const std::string& target) {
  std::vector<std::filesystem::path> files;
  for (const char* kind : {"fuzz/corpus/", "fuzz/regressions/"}) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(SourcePath(kind + target), ec))
      if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string Bytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(FuzzRegressions, SettingsInputsPassTheSettingsChecks) {
  const auto inputs = Inputs("settings");
  if (inputs.empty()) GTEST_SKIP() << "the source tree is out of reach at " << KWETRO_SOURCE_DIR;
  TempDir dir;
  for (const auto& input : inputs)
    EXPECT_EQ(CheckSettingsBytes(Bytes(input), dir.File("k.ini")), "") << input.filename();
}

TEST(FuzzRegressions, FormInputsAndTheWindowDescriptionPassTheFormChecks) {
  auto inputs = Inputs("form");
  if (inputs.empty()) GTEST_SKIP() << "the source tree is out of reach at " << KWETRO_SOURCE_DIR;
  inputs.push_back(SourcePath("ui/kwetro.form"));
  for (const auto& input : inputs)
    EXPECT_EQ(CheckFormDescription(Bytes(input)), "") << input.filename();
  EXPECT_EQ(CheckFormDescription(StoredFormDescription()), "");
}

// Found by the form checks: the loader took a carriage return inside a text,
// which then split a comment line of hklm.reg (and the "Info" line of the
// settings file) in two.
TEST(FuzzRegressions, ATextWithAControlCharacterIsRefusedByTheLoader) {
  std::string plain(StoredFormDescription());
  if (plain.rfind("UQG1", 0) == 0)
    for (char& c : plain) c = static_cast<char>(static_cast<unsigned char>(c) - 1);
  const std::size_t hint = plain.find("Hint = '", plain.find("TRzComboBox"));
  ASSERT_NE(hint, std::string::npos);
  const std::vector<std::string> insertions = {"\r", "x\ry", std::string(1, '\0')};
  for (const std::string& inserted : insertions) {
    std::string text = plain;
    text.insert(hint + 8, inserted);
    Form form;
    std::string error;
    EXPECT_FALSE(LoadFormResource(text, form, error));
    EXPECT_NE(error.find("control character"), std::string::npos) << error;
    EXPECT_EQ(CheckFormDescription(text), "");
  }
}

}  // namespace
}  // namespace kwetro::robustness
