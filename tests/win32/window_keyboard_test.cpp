// The keyboard, pressed as a user presses it: the keys go to whatever has
// the focus, and only what the user sees focused changes.
#include <set>

#include "app/settings_file.h"
#include "window_harness.h"

namespace kwetro::testing {
namespace {

// Typing a search while the services list can be changed: whatever page the
// matches show, every key stays in the field, and showing the services page
// does not switch off the system restore service as entering it does. So
// Apply writes what the settings file the program started with says.
TEST_F(WindowTest, TypingASearchChangesNoChoiceWhateverPageItShows) {
  for (TriState preset : {cbUnchecked, cbChecked}) {
    Selection start;
    start.options[static_cast<std::size_t>(PresetOption())] = start.presetShown = preset;
    start.options[static_cast<std::size_t>(OptionIndex("sCheckBox_1_9"))] = cbChecked;
    start.services[static_cast<std::size_t>(ServiceIndex("TlntSvr"))] = cbChecked;
    start.services[static_cast<std::size_t>(ServiceIndex("srservice"))] = cbGrayed;
    std::string reason;
    const std::string settings = folder_ + "\\start.ini";
    ASSERT_TRUE(WriteFileAtomically(settings, StoreSettings(start, ""), reason));
    ASSERT_TRUE(WriteFileAtomically(folder_ + "\\Kwetro.ini", StoreSettings(start, ""), reason));
    Reopen();
    ASSERT_TRUE(selection_.ServicesEnabled());
    const Selection before = selection_;
    HWND field = window_->Search().Field();
    Press('F', true);
    ASSERT_EQ(GetFocus(), field);
    Type("Tlnt");
    EXPECT_EQ(SendMessageW(Control("PageControl1"), TCM_GETCURSEL, 0, 0), 4) << "no match shown";
    EXPECT_EQ(GetFocus(), field);
    EXPECT_EQ(window_->InfoText(), win32::LongHint(window_->Find("CheckListBox1")->hint));
    Type(" ");
    Press(VK_ESCAPE);
    Type("RpcSs svc");
    EXPECT_EQ(TextOf(field), L"RpcSs svc");
    EXPECT_EQ(GetFocus(), field);
    EXPECT_TRUE(selection_.services == before.services && selection_.options == before.options);
    SendMessageW(window_->OkButton(), BM_CLICK, 0, 0);
    Pump(20);
    ExpectScriptsAsTheCliWrites(settings);
  }
}

// The pages the user reads, each once: the pages that hold no tabs of their own.
std::size_t InnermostPageCount() {
  std::set<int> parents;
  for (const PageDecl& page : Controls().pages) parents.insert(page.parent);
  return Controls().pages.size() - (parents.size() - 1);
}

// Ctrl+Tab walks every page the user reads once, in the order of the tabs,
// round to the first, and Ctrl+Shift+Tab back, whatever holds the focus; the
// focus never stays on a control the new page hid.
TEST_F(WindowTest, CtrlTabVisitsEveryPageOnceWhateverHasTheFocus) {
  Open();
  auto shown = [this] {
    std::string name;
    for (const PageDecl& page : Controls().pages) {
      HWND hwnd = window_->Find(std::string(page.name))->hwnd;
      if (hwnd && IsWindowVisible(hwnd)) name = page.name;  // the innermost comes last
    }
    return name;
  };
  const std::size_t count = InnermostPageCount();
  ASSERT_EQ(count, 14u);
  for (HWND from : {Control("sCheckBox_1_3"), window_->Search().Field(), window_->CancelButton()}) {
    SetFocus(from);
    const std::string first = shown();
    std::vector<std::string> walk;
    for (std::size_t i = 0; i < count; ++i) {
      Press(VK_TAB, true);
      walk.push_back(shown());
      EXPECT_TRUE(IsWindowVisible(GetFocus())) << walk.back();
    }
    EXPECT_EQ(walk.back(), first);
    EXPECT_EQ(std::set<std::string>(walk.begin(), walk.end()).size(), count);
    // The services page comes last, the first sub-page of the system first.
    const auto services = std::find(walk.begin(), walk.end(), "TabSheet5");
    ASSERT_NE(services, walk.end());
    EXPECT_EQ(walk[static_cast<std::size_t>(services - walk.begin() + 1) % count], "TabSheet6");
    for (std::size_t i = count - 1; i > 0; --i) {
      Press(VK_TAB, true, true);
      EXPECT_EQ(shown(), walk[i - 1]);
    }
  }
  // The services list gets the focus when the user enters its page.
  SelectPage("PageControl1", 4);
  ClickUntil("srCheckBox_1_1", cbUnchecked);
  SelectPage("PageControl1", 3);
  SetFocus(Control("mCheckBox_1_1"));
  Press(VK_NEXT, true);
  EXPECT_EQ(GetFocus(), Control("CheckListBox1"));
}

// Tab runs as the eye reads the foot of the window: the note, the link,
// Просмотр, Применить, Отмена, then round to the search field and «Этот
// компьютер» at the top, the tabs and the page. Alt and an
// underlined letter press a button or go to the search field; the letter
// alone, typed on an option, presses nothing.
TEST_F(WindowTest, TabRunsAsTheEyeReadsAndAltLettersPressTheButtons) {
  Open();
  SetFocus(Control("RzCheckBox1"));
  // Then the tabs, outer and inner, before the page they show.
  for (HWND next :
       {Control("RzURLLabel1"), window_->Find("RzDialogButtons1")->third, window_->OkButton(),
        window_->CancelButton(), window_->Search().Field(), Control("MachineButton"),
        Control("PageControl1"), Control("PageControl2"), Control("sCheckBox_1_1")}) {
    Key(GetFocus(), VK_TAB);
    EXPECT_EQ(GetFocus(), next);
  }
  Key(GetFocus(), VK_TAB, false, true);
  EXPECT_EQ(GetFocus(), Control("PageControl2")) << "Shift+Tab";
  // After Ctrl+Tab from the tabs, Tab goes on into the page shown, not past it.
  SetFocus(Control("PageControl1"));
  Key(GetFocus(), VK_TAB, true);
  ASSERT_EQ(SendMessageW(Control("PageControl2"), TCM_GETCURSEL, 0, 0), 1);
  Key(GetFocus(), VK_TAB);
  EXPECT_EQ(GetFocus(), Control("PageControl2"));
  Key(GetFocus(), VK_TAB);
  EXPECT_TRUE(IsChild(window_->Find("TabSheet7")->hwnd, GetFocus())) << "not into the page";
  auto type = [this](UINT message, const char* letter) {
    PostMessageW(message == WM_CHAR ? GetFocus() : window_->Search().Field(), message, W(letter)[0],
                 0);
    Pump(30);
  };
  SetFocus(Control("sCheckBox_1_1"));
  for (const char* letter : {"п", "о", "с", "н"}) type(WM_CHAR, letter);
  EXPECT_EQ(GetFocus(), Control("sCheckBox_1_1"));
  EXPECT_FALSE(window_->FilePreview().IsOpen() || FileExists(folder_ + "\\hkcu.reg") || ended_);
  type(WM_SYSCHAR, "Н");
  EXPECT_EQ(GetFocus(), window_->Search().Field());
  type(WM_SYSCHAR, "с");
  EXPECT_TRUE(window_->FilePreview().IsOpen());
  type(WM_SYSCHAR, "п");
  EXPECT_TRUE(FileExists(folder_ + "\\hkcu.reg"));
  type(WM_SYSCHAR, "о");
  EXPECT_EQ(ended_, 1);
}

}  // namespace
}  // namespace kwetro::testing
