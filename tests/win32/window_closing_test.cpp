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
    RemoveFolder(folder_);
    std::filesystem::create_directory(folder_);
    std::filesystem::current_path(folder_);
    platform_.beeps = 0;
    ended_ = 0;
    choices_.clear();
    selection_ = Selection();
    Open();
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

TEST_F(ClosingTest, NothingToLoseNoQuestion) {
  const struct {
    const char* what;
    std::function<void()> before;
  } cases[] = {
      {"nothing changed", [] {}},
      {"changed and changed back",
       [this] {
         ClickUntil("sCheckBox_1_2", cbChecked);
         ClickUntil("sCheckBox_1_2", cbGrayed);
       }},
      {"changed and applied",
       [this] {
         ClickUntil("sCheckBox_1_2", cbChecked);
         SendMessageW(window_->OkButton(), BM_CLICK, 0, 0);
         Pump(30);
       }},
  };
  for (const auto& c : cases) {
    window_.reset();
    platform_.beeps = 0;
    ended_ = 0;
    choices_.clear();
    selection_ = Selection();
    Open();
    c.before();
    choice_ = IDCANCEL;
    Close(kCancel);
    EXPECT_TRUE(choices_.empty()) << c.what;
    EXPECT_EQ(ended_, 1) << c.what;
  }
}

// A deployed copy closes as it always has: nobody may be there to answer.
TEST_F(ClosingTest, ADeployedCopyNeverAsks) {
  Deploy(0);
  Open();
  ClickUntil("sCheckBox_1_2", cbChecked);
  choice_ = IDCANCEL;
  Close(kCloseBox);
  EXPECT_TRUE(choices_.empty());
  EXPECT_EQ(ended_, 1);
}

TEST_F(ClosingTest, EscAndF4CloseThePreviewOnly) {
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
  EXPECT_EQ(ended_, 0);
  EXPECT_TRUE(choices_.empty());
  EXPECT_TRUE(IsWindow(window_->Handle()));
}

// Alt+F4 in the preview closes the preview; held down, its repeats reach the
// window under it, which stays.
TEST_F(ClosingTest, AltF4HeldInThePreviewClosesThePreviewOnly) {
  Open();
  ClickUntil("sCheckBox_1_2", cbChecked);
  Key(Control("sCheckBox_1_2"), VK_F4);
  win32::Preview& preview = window_->FilePreview();
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
