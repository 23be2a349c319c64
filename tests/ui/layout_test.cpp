// The window's layout: the real one loads, stored or plain; a layout that
// breaks the format or the binding is refused, saying where.
#include "ui/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "options/controls.h"
#include "support/files.h"

namespace kwetro {
namespace {

std::string RealLayout() { return testing::ReadBytes(testing::SourcePath("ui/kwetro.form")); }

TEST(Layout, TheWindowsLayoutLoadsStoredOrPlain) {
  Layout layout, stored;
  std::string error;
  // The loader itself refuses a control missing or twice (layout_errors.txt).
  ASSERT_TRUE(ParseLayout(RealLayout(), layout, error)) << error;
  EXPECT_EQ(layout.items[static_cast<std::size_t>(layout.Named("sSpinner4_3"))].index,
            SpinnerIndex("sSpinner4_3"));
  // Stored in the program with every byte raised by one ("TPF0" becomes "UQG1").
  std::string raised = RealLayout();
  for (char& c : raised) c = static_cast<char>(c + 1);
  ASSERT_TRUE(LoadFormResource(raised, stored, error)) << error;
  EXPECT_EQ(stored.items.size(), layout.items.size());
}

// The window fits a 1024 x 768 screen; every control has a place and a size;
// the tabs come in the table's order (the services page fifth of the main
// ones, as the run control counts them); each parent's tab order runs in
// reading order: a whole row higher first, then further left.
TEST(Layout, PlacesSizesAndOrdersOfTheWindowsLayout) {
  Layout layout;
  std::string error;
  ASSERT_TRUE(ParseLayout(RealLayout(), layout, error)) << error;
  EXPECT_LE(layout.items[0].Int("ClientWidth"), 900);
  EXPECT_LE(layout.items[0].Int("ClientHeight"), 640);
  std::vector<int> pages, mainPages;
  std::map<int, std::map<int, const LayoutItem*>> tabOrders;  // by parent, by TabOrder
  for (const LayoutItem& item : layout.items) {
    if (item.parent < 0 || item.className == "TTimer") continue;
    EXPECT_TRUE(item.Find("Left") && item.Find("Top")) << item.name;
    EXPECT_TRUE(item.Int("Width") > 0 && item.Int("Height") > 0) << item.name;
    if (item.bound == Bound::kPage) pages.push_back(item.index);
    if (item.bound == Bound::kPage && Controls().pages[item.index].parent < 0)
      mainPages.push_back(item.index);
    if (item.Find("TabOrder") &&
        !tabOrders[item.parent].emplace(item.Int("TabOrder"), &item).second)
      ADD_FAILURE() << item.name << " repeats a TabOrder";
  }
  EXPECT_TRUE(std::is_sorted(pages.begin(), pages.end()));
  ASSERT_GE(mainPages.size(), 5u);
  EXPECT_EQ(mainPages[4], Controls().options[PresetOption()].page);
  for (const auto& [parent, byOrder] : tabOrders) {
    EXPECT_EQ(byOrder.rbegin()->first, static_cast<int>(byOrder.size()) - 1) << parent;
    for (auto a = byOrder.begin(), b = std::next(a); b != byOrder.end(); ++a, ++b) {
      const LayoutItem &first = *a->second, &next = *b->second;
      const bool rowAbove = next.Int("Top") + next.Int("Height") <= first.Int("Top");
      const bool leftInRow = next.Int("Top") < first.Int("Top") + first.Int("Height") &&
                             next.Int("Left") < first.Int("Left");
      EXPECT_FALSE(rowAbove || leftInRow) << next.name << " reads before " << first.name;
    }
  }
}

TEST(Layout, RefusedSayingWhereAndWhy) {
  const auto rows = testing::ReadTable("tests/ui/layout_errors.txt");
  EXPECT_GE(rows.size(), 21u);
  for (const auto& row : rows) {
    std::string text = row.at(1);
    if (text[0] == '@') {  // the window's own layout, edited
      const std::size_t arrow = text.find(" => ");
      const std::string from = text.substr(1, arrow - 1);
      text = RealLayout();
      text.replace(text.find(from), from.size(), row[1].substr(arrow + 4));
    }
    Layout layout;
    std::string error;
    EXPECT_FALSE(ParseLayout(text, layout, error)) << row[0];
    EXPECT_EQ(error.rfind("window layout", 0), 0u) << error;
    EXPECT_NE(error.find(row[0]), std::string::npos) << error << "\n  expected: " << row[0];
  }
}

}  // namespace
}  // namespace kwetro
