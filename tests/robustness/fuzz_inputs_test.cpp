// The fuzz targets' seeds and every input a fuzz run ever failed on, through
// the targets' own checks (support/checks.h) on every build: a fault found
// once stays found. A new failure goes into fuzz/regressions/<target>/.
#include <gtest/gtest.h>

#include "support/checks.h"
#include "support/files.h"

namespace kwetro::testing {
namespace {

TEST(FuzzInputs, PassTheChecksOfTheirTarget) {
  int inputs = 0;
  std::error_code none;
  const auto each = [&](const std::string& folder, std::string (*check)(std::string_view)) {
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(SourcePath(folder), none)) {
      const std::string name = entry.path().filename().string(),
                        type = entry.path().extension().string();
      if (!entry.is_regular_file() || name[0] == '.' || type == ".md" || type == ".reg") continue;
      EXPECT_EQ(check(ReadBytes(entry.path())), "") << entry.path().string();
      ++inputs;
    }
  };
  each("fuzz/corpus/settings", CheckSettingsBytes);
  each("fuzz/regressions/settings", CheckSettingsBytes);
  each("tests/golden", CheckSettingsBytes);  // the seeds test-fuzz.sh adds
  each("fuzz/corpus/layout", CheckLayoutBytes);
  each("fuzz/regressions/layout", CheckLayoutBytes);
  EXPECT_EQ(CheckLayoutBytes(ReadBytes(SourcePath("ui/kwetro.form"))), "");
  EXPECT_GE(inputs, 10) << "the source tree is out of reach at " << SourcePath("").string();
}

}  // namespace
}  // namespace kwetro::testing
