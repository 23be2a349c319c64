// Closing the window loses nothing without a word: Cancel, the close box and
// Alt+F4 ask «Применить изменения?» while the choices differ from what the
// last Apply (or the start) had, in an interactive run; Esc and F4 close the
// preview and nothing else, and Alt+F4 held down closes no more than the
// window it was pressed in.
#include "window_harness.h"

namespace kwetro::testing {
namespace {

class ClosingTest : public WindowTest {
 protected:
  enum How { kCancel, kCloseBox, kAltF4 };
  void Close(How how) {
    if (how == kCancel) SendMessageW(window_->CancelButton(), BM_CLICK, 0, 0);
    if (how == kCloseBox) PostMessageW(window_->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    if (how == kAltF4) AltF4(GetFocus(), false);
    Pump(60);
  }
  // Alt+F4 as the keyboard sends it (Alt held: bit 29; a repeat: bit 30).
  void AltF4(HWND to, bool repeat) {
    PostMessageW(to, WM_SYSKEYDOWN, VK_F4, 1 | (1L << 29) | (repeat ? 1L << 30 : 0));
    Pump(60);
  }
  bool Written() {
    return FileExists(folder_ + "\\hkcu.reg") || FileExists(folder_ + "\\Kwetro.ini");
  }
};

TEST_F(ClosingTest, UnappliedChangesAskFirstAndNoOrCancelKeepThem) {
  const struct {
    How how;
    int answer;
    bool ends, writes;
  } cases[] = {
      {kCancel, IDCANCEL, false, false}, {kCancel, IDNO, true, false},
      {kCancel, IDYES, true, true},      {kCloseBox, IDCANCEL, false, false},
      {kCloseBox, IDNO, true, false},    {kCloseBox, IDYES, true, true},
      {kAltF4, IDCANCEL, false, false},  {kAltF4, IDYES, true, true},
  };
  for (const auto& c : cases) {
    const std::string what = std::to_string(c.how) + "/" + std::to_string(c.answer);
    window_.reset();
    for (const char* file : {"\\hkcu.reg", "\\hklm.reg", "\\Kwetro.ini"})
      std::filesystem::remove(folder_ + file);
    ended_ = 0;
    choices_.clear();
    Reopen();
    ClickUntil("sCheckBox_1_2", cbChecked);
    choice_ = c.answer;
    Close(c.how);
    ASSERT_EQ(choices_.size(), 1u) << what;
    EXPECT_EQ(choices_[0].rfind(W("Применить изменения?"), 0), 0u) << what;
    EXPECT_EQ(ended_, c.ends ? 1 : 0) << what;
    EXPECT_EQ(Written(), c.writes) << what;
    // Kept: the choice is still there, the window still answers.
    if (!c.ends) {
      EXPECT_EQ(State("sCheckBox_1_2"), cbChecked) << what;
      EXPECT_TRUE(IsWindow(window_->Handle())) << what;
    }
  }
}

// A deployed copy closes as it always has: nobody may be there to answer.
TEST_F(ClosingTest, NothingToLoseOrADeployedCopyNoQuestion) {
  const struct {
    const char* what;
    How how;
    std::function<void()> before;
  } cases[] = {
      {"nothing changed", kCancel, [] {}},
      {"changed and changed back", kCancel,
       [this] {
         ClickUntil("sCheckBox_1_2", cbChecked);
         ClickUntil("sCheckBox_1_2", cbGrayed);
       }},
      {"changed and applied", kCancel,
       [this] {
         ClickUntil("sCheckBox_1_2", cbChecked);
         SendMessageW(window_->OkButton(), BM_CLICK, 0, 0);
         Pump(30);
       }},
      {"a deployed copy, changed", kCloseBox,
       [this] {
         Deploy(0);
         Reopen();
         ClickUntil("sCheckBox_1_2", cbChecked);
       }},
  };
  for (const auto& c : cases) {
    ended_ = 0;
    choices_.clear();
    Reopen();
    c.before();
    choice_ = IDCANCEL;
    Close(c.how);
    EXPECT_TRUE(choices_.empty()) << c.what;
    EXPECT_EQ(ended_, 1) << c.what;
  }
}

// F4 and Esc close the preview, from the window or from itself; so does
// Alt+F4 in it, and held down its repeats reach the window, which stays.
TEST_F(ClosingTest, EscF4AndAltF4HeldCloseThePreviewOnly) {
  Open();
  ClickUntil("sCheckBox_1_2", cbChecked);
  win32::Preview& preview = window_->FilePreview();
  HWND option = Control("sCheckBox_1_2");
  // From the window: F4 opens and closes it, Esc closes it.
  for (WPARAM key : {VK_F4, VK_ESCAPE}) {
    Key(option, VK_F4);
    ASSERT_TRUE(preview.IsOpen());
    Key(option, key);
    EXPECT_FALSE(preview.IsOpen()) << key;
  }
  // From the preview itself.
  for (WPARAM key : {VK_F4, VK_ESCAPE}) {
    Key(option, VK_F4);
    ASSERT_TRUE(preview.IsOpen());
    Key(GetDlgItem(preview.Handle(), 2), key);
    EXPECT_FALSE(preview.IsOpen()) << key;
  }
  Key(option, VK_F4);
  ASSERT_TRUE(preview.IsOpen());
  HWND text = GetDlgItem(preview.Handle(), 2);
  SetForegroundWindow(preview.Handle());
  SetFocus(text);
  AltF4(text, false);
  EXPECT_FALSE(preview.IsOpen());
  for (int i = 0; i < 3; ++i) AltF4(window_->Handle(), true);
  EXPECT_TRUE(choices_.empty());
  EXPECT_EQ(ended_, 0);
  EXPECT_TRUE(IsWindow(window_->Handle()));
}

}  // namespace
}  // namespace kwetro::testing
