// The window's wiring: options, keys, pages with title and legend, pop-up
// hints and the information line, the services list and its presets, lists
// and spinners, pages built when first shown.
#include <algorithm>

#include "options/service_starts.h"
#include "window_harness.h"

namespace kwetro::testing {
namespace {

// The system calls it with its own convention (stdcall on i686), which a
// lambda cannot have: a function of its own.
BOOL CALLBACK FindToolTips(HWND hwnd, LPARAM found) {
  wchar_t name[64];
  GetClassNameW(hwnd, name, 64);
  if (lstrcmpiW(name, TOOLTIPS_CLASSW) != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

TEST_F(WindowTest, ClicksAndSpaceCycleAnOptionAndItsCaption) {
  Open();
  const char* name = "sCheckBox_1_2";
  HWND box = Control(name);
  for (int i = 0; i < 3; ++i) {
    const TriState before = State(name);
    Click(box);
    EXPECT_EQ(State(name), NextOnClick(before));
    EXPECT_EQ(TextOf(box), Caption(name));
  }
  // A quick second click reaches an owner-drawn button as a double click.
  const TriState before = State(name);
  PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PostMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump(50);
  EXPECT_EQ(State(name), NextOnClick(NextOnClick(before)));
  SetFocus(box);
  Key(box, VK_SPACE);
  EXPECT_EQ(State(name), NextOnClick(NextOnClick(NextOnClick(before))));
  EXPECT_EQ(TextOf(box), Caption(name));
}

TEST_F(WindowTest, TheKeyboardMovesThroughControlsAndPages) {
  Open();
  HWND first = Control("sCheckBox_1_1");
  EXPECT_EQ(GetFocus(), first);  // where the activation put it
  Key(first, VK_TAB);
  EXPECT_EQ(GetFocus(), Control("sCheckBox_1_2"));
  Key(GetFocus(), VK_DOWN);
  EXPECT_EQ(GetFocus(), Control("sCheckBox_1_3"));
  Key(GetFocus(), VK_TAB, false, true);
  EXPECT_EQ(GetFocus(), Control("sCheckBox_1_2"));
  // Enter on an option neither applies nor clicks it.
  const TriState before = State("sCheckBox_1_2");
  Key(GetFocus(), VK_RETURN);
  EXPECT_EQ(State("sCheckBox_1_2"), before);
  EXPECT_FALSE(FileExists(folder_ + "\\hkcu.reg"));
  // Ctrl+Tab and Ctrl+PgUp turn the innermost pages around the focus.
  Key(GetFocus(), VK_TAB, true);
  EXPECT_EQ(SendMessageW(Control("PageControl2"), TCM_GETCURSEL, 0, 0), 1);
  Key(GetFocus(), VK_PRIOR, true);
  EXPECT_EQ(SendMessageW(Control("PageControl2"), TCM_GETCURSEL, 0, 0), 0);
  // Enter on a button presses it.
  HWND preview = window_->Find("RzDialogButtons1")->third;
  SetFocus(preview);
  Key(preview, VK_RETURN);
  EXPECT_TRUE(window_->FilePreview().IsOpen());
}

TEST_F(WindowTest, MainPagesSetTheTitleAndTheLegend) {
  Open();
  const struct {
    int page;
    const char* title;
  } pages[] = {{1, "Проводник"},
               {2, "Настройки IE"},
               {3, "Настройки WMP"},
               {4, "Сервисы и службы"},
               {0, "Система"}};
  for (const auto& p : pages) {
    SelectPage("PageControl1", p.page);
    EXPECT_EQ(Graphic("Label10").text, W(p.title)) << p.page;
    const bool services = p.page == 4;
    // The services page's legend names the start modes as the scripts and
    // the information line do.
    const auto legend = [services](TriState state, const char* option) {
      return W(services ? std::string(StartOf(state).shown).c_str() : option);
    };
    EXPECT_EQ(Graphic("Label4").text, legend(kAutomatic, "Да"));
    EXPECT_EQ(Graphic("Label5").text, legend(kDisabled, "Нет"));
    EXPECT_EQ(Graphic("Label9").text, legend(kManual, "Пропустить"));
    EXPECT_EQ(Graphic("Image9").visible, !services);
    EXPECT_EQ(Graphic("Label12").visible, !services);
    const RECT image = Graphic("Image7").bounds, label = Graphic("Label4").bounds;
    EXPECT_EQ(image.left, services ? 60 : 10);
    EXPECT_EQ(image.top, services ? 10 : 4);
    EXPECT_EQ(label.left, services ? 86 : 36);
    EXPECT_EQ(label.top, services ? 12 : 5);
    if (services) {
      MouseOverGraphic("Image8");
      EXPECT_EQ(window_->InfoText(), W(" Сервис отключен."));
      continue;
    }
    // Back on an option page, the legend says again what the layout says.
    for (const char* image : {"Image7", "Image8", "Image10"}) {
      MouseOverGraphic(image);
      const LayoutItem& item = layout_.items[static_cast<std::size_t>(layout_.Named(image))];
      EXPECT_EQ(window_->InfoText(), Widen(item.Text("Hint").substr(1))) << image;
    }
  }
}

// A hint's part before "|" pops up over its control; a label or image has no
// window, so its pop-up belongs to its place on the window that holds it.
TEST_F(WindowTest, PopUpHintsFollowTheirControls) {
  Open([](Layout& layout) {
    for (LayoutItem& item : layout.items)
      if (item.name == "Image9" || item.name == "Label10") {
        item.props.erase(std::remove_if(item.props.begin(), item.props.end(),
                                        [](const LayoutProperty& p) { return p.name == "Hint"; }),
                         item.props.end());
        item.props.push_back({"Hint", "Pop-up|In the line", {}, true});
      }
  });
  HWND tips = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindToolTips, reinterpret_cast<LPARAM>(&tips));
  ASSERT_TRUE(tips);
  auto tool = [&](const char* name, RECT* place) {
    const win32::NativeControl* n = window_->Find(name);
    TOOLINFOW info = {};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = n->IsGraphic() ? HolderOf(name) : GetParent(n->hwnd);
    info.uId = n->IsGraphic() ? static_cast<UINT_PTR>(win32::kFirstItemId + layout_.Named(name))
                              : reinterpret_cast<UINT_PTR>(n->hwnd);
    const bool found = SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info));
    if (place) *place = info.rect;
    return found;
  };
  RECT place;
  EXPECT_TRUE(tool("sComboBox_1_1", nullptr));   // a drop-down's hint has no "|"
  EXPECT_FALSE(tool("sCheckBox_1_1", nullptr));  // an option's hint starts with "|"
  ASSERT_TRUE(tool("Image9", &place));
  EXPECT_TRUE(EqualRect(&place, &Graphic("Image9").bounds));
  // The services page hides Image9 and rewords (so resizes) Label10.
  SelectPage("PageControl1", 4);
  EXPECT_FALSE(tool("Image9", nullptr));
  ASSERT_TRUE(tool("Label10", &place));
  EXPECT_TRUE(EqualRect(&place, &Graphic("Label10").bounds));
}

TEST_F(WindowTest, InformationLineFollowsTheMouse) {
  Open();
  // sCheckBox_1_5 explains the level chosen; the line follows its clicks.
  HWND level = Control("sCheckBox_1_5");
  MouseOver(level);
  Click(level);
  EXPECT_EQ(window_->InfoText(),
            win32::LongHint(Widen(selection_.Hint(OptionIndex("sCheckBox_1_5")))));
  // The label beside a drop-down explains the drop-down.
  MouseOverGraphic("sLabel1_2");
  EXPECT_EQ(window_->InfoText(), L" " + Widen(Controls().combos[0].explanation));
  // The header has no hint of its own: the line says what it is for.
  MouseOver(window_->Handle(), 500, 40);
  EXPECT_EQ(window_->InfoText(),
            W(" Пояснение появится здесь: наведите указатель на параметр или перейдите к нему "
              "клавишами."));
  // A disabled control still explains itself: a spinner while its value is
  // not written (both options that write it are grey at first).
  SelectPage("PageControl2", 3);
  HWND spinner = Control("sSpinner4_1");
  ASSERT_FALSE(IsWindowEnabled(spinner));
  RECT r;
  GetWindowRect(spinner, &r);
  POINT inside = {r.left + 5, r.top + 5};
  ScreenToClient(GetParent(spinner), &inside);
  MouseOver(GetParent(spinner), inside.x, inside.y);
  EXPECT_EQ(window_->InfoText(), win32::LongHint(window_->Find("sSpinner4_1")->hint));
  // The keyboard's focus explains itself too, until the mouse points elsewhere.
  SetFocus(Control("sCheckBox_4_1"));
  Key(GetFocus(), VK_TAB);
  ASSERT_EQ(GetFocus(), Control("sCheckBox_4_2"));
  const std::wstring focused =
      win32::LongHint(Widen(selection_.Hint(OptionIndex("sCheckBox_4_2"))));
  EXPECT_EQ(window_->InfoText(), focused);
  MouseOver(GetParent(spinner), inside.x + 1, inside.y);
  EXPECT_EQ(window_->InfoText(), focused);
}

TEST_F(WindowTest, PresetsFillTheListAndItsBoxesCycle) {
  Open();
  SelectPage("PageControl1", 4);
  HWND list = Control("CheckListBox1");
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);  // the first item, on entering
  ClickUntil("srCheckBox_1_1", cbUnchecked);
  EXPECT_TRUE(IsWindowEnabled(list));
  EXPECT_EQ(TextOf(Control("srCheckBox_1_1")), W("Оптимальная"));

  // A click on an item's box cycles its state; on its text it only selects.
  RECT item;
  SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
  const TriState before = selection_.services[2];
  ClickAt(list, item.left + 6, (item.top + item.bottom) / 2);
  EXPECT_EQ(selection_.services[2], NextOnClick(before));
  ClickAt(list, item.left + 120, (item.top + item.bottom) / 2);
  EXPECT_EQ(selection_.services[2], NextOnClick(before));
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
  Key(list, VK_SPACE);
  EXPECT_EQ(selection_.services[2], NextOnClick(NextOnClick(before)));

  // Under the standard configuration the list writes nothing and nothing in
  // it changes, but it is still there to be read and scrolled.
  ClickUntil("srCheckBox_1_1", cbGrayed);
  EXPECT_EQ(TextOf(Control("srCheckBox_1_1")), W("Стандартная конфигурация"));
  const std::vector<TriState> standard = selection_.services;
  ClickAt(list, item.left + 6, (item.top + item.bottom) / 2);
  Key(list, VK_SPACE);
  EXPECT_EQ(selection_.services, standard);
  SendMessageW(list, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_GT(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0);
  // Entering the page again with the list off leaves the focus alone.
  SelectPage("PageControl1", 3);
  SetFocus(Control("mCheckBox_1_1"));
  SelectPage("PageControl1", 4);
  EXPECT_NE(GetFocus(), list);
}

TEST_F(WindowTest, ListsAndSpinnersWriteIntoTheSelection) {
  Open();
  // The first row of a drop-down list is no item.
  HWND combo = Control("sComboBox_1_1");
  const auto chosen = static_cast<std::size_t>(ComboIndex("sComboBox_1_1"));
  for (const auto& [row, index] : {std::pair{2, 1}, {0, -1}}) {
    SendMessageW(combo, CB_SETCURSEL, row, 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(selection_.combos[chosen], index);
  }

  const auto spinner = static_cast<std::size_t>(SpinnerIndex("sSpinner4_3"));
  const win32::NativeControl* edit = window_->Find("sSpinner4_3");
  ASSERT_TRUE(edit);
  SetWindowTextW(edit->hwnd, L"7");
  EXPECT_EQ(selection_.spinners[spinner], 7);
  SendMessageW(edit->hwnd, WM_KEYDOWN, VK_UP, 0);  // the up-down's arrow key
  Pump(20);
  EXPECT_EQ(selection_.spinners[spinner], 8);
  // A value past the range is kept within it, and the information line says so.
  SetFocus(edit->hwnd);
  SendMessageW(edit->hwnd, EM_SETSEL, 0, -1);
  Type("99999");
  EXPECT_EQ(selection_.spinners[spinner], 600);
  EXPECT_EQ(window_->InfoText(), W(" Допустимо от 0 до 600: вместо 99999 записывается 600."));
  Press(VK_TAB);
  EXPECT_EQ(TextOf(edit->hwnd), L"600");
}

// The two spinners that ride with the desktop options look inactive while
// neither of those options is written; the third one is always written.
TEST_F(WindowTest, SpinnersLookInactiveWhileTheirValueIsNotWritten) {
  Open();
  SelectPage("PageControl2", 3);
  auto active = [this] {
    std::string states;
    for (const char* name : {"sSpinner4_1", "sSpinner4_2", "sSpinner4_3"}) {
      const win32::NativeControl* n = window_->Find(name);
      const bool on = IsWindowEnabled(n->hwnd) && IsWindowEnabled(n->buddy);
      const bool dimmed =
          window_->Find(Controls().spinners[SpinnerIndex(name)].label.data())->dimmed;
      states += on == !dimmed ? (on ? '1' : '0') : '?';
    }
    return states;
  };
  EXPECT_EQ(active(), "001");
  ClickUntil("sCheckBox_4_6", cbUnchecked);
  EXPECT_EQ(active(), "111");
  ClickUntil("sCheckBox_4_6", cbGrayed);
  EXPECT_EQ(active(), "001");
}

// A page gets its window and controls the first time it is shown, so the
// window appears sooner; they must then show the selection as it is by then.
TEST_F(WindowTest, PagesNotYetShownShowTheSelectionWhenFirstShown) {
  Open();
  // Find builds the pages around an item, not the item's own page.
  auto page = [this](const char* name) { return window_->Find(name)->hwnd; };
  EXPECT_FALSE(page("TabSheet3")) << "an unseen main page exists already";
  EXPECT_FALSE(page("TabSheet9")) << "an unseen sub-page exists already";
  const int ie = OptionIndex("iCheckBox_2_1");
  const std::wstring before = Caption("iCheckBox_2_1");
  selection_.Click(ie, NoStoredServices());
  ASSERT_NE(Caption("iCheckBox_2_1"), before);
  selection_.spinners[static_cast<std::size_t>(SpinnerIndex("sSpinner4_1"))] = 42;
  window_->SelectionChanged();

  SelectPage("PageControl1", 2);
  EXPECT_TRUE(IsWindowVisible(page("TabSheet3")));
  EXPECT_EQ(TextOf(Control("iCheckBox_2_1")), Caption("iCheckBox_2_1"));
  SelectPage("PageControl1", 0);
  SelectPage("PageControl2", 3);
  const win32::NativeControl* spinner = window_->Find("sSpinner4_1");
  EXPECT_EQ(TextOf(spinner->hwnd), L"42");
  EXPECT_EQ(SendMessageW(spinner->buddy, UDM_GETPOS32, 0, 0), 42);

  // A page that holds pages shows its selected one at once, and pages made
  // late still paint without flicker.
  SelectPage("PageControl1", 1);
  EXPECT_TRUE(IsWindowVisible(page("TabSheet12")));
  EXPECT_TRUE(IsWindowVisible(Control("pCheckBox_1_1")));
  SelectPage("PageControl3", 1);
  for (const char* name : {"PageControl3", "TabSheet12", "TabSheet13"})
    EXPECT_TRUE(GetWindowLongW(page(name), GWL_EXSTYLE) & WS_EX_COMPOSITED) << name;
}

// The pop-up hints wrap at a width that grows with the fonts, and give way
// while a menu is open (the system's, «Этот компьютер»'s) or a drop-down list.
TEST_F(WindowTest, PopUpHintsGrowWithTheFontsAndGiveWayToMenusAndLists) {
  Open();
  HWND tooltip = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindToolTips, reinterpret_cast<LPARAM>(&tooltip));
  ASSERT_TRUE(tooltip);
  EXPECT_EQ(SendMessageW(tooltip, TTM_GETMAXTIPWIDTH, 0, 0), MulDiv(400, win32::ScreenDpi(), 96));
  // The hint of «Этот компьютер» pops up; a menu or a drop-down list hides it.
  HWND button = Control("MachineButton");
  // The pointer rests on the button past the pause before hints.
  auto popUp = [&] {
    RECT r;
    GetWindowRect(button, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    for (int i = 0; i < 8; ++i) MouseOver(button, 10 + i % 2, 8);
    Pump(700);
  };
  const struct {
    const char* what;
    std::function<void()> open, close;
  } cases[] = {
      {"a menu", [this] { SendMessageW(window_->Handle(), WM_ENTERMENULOOP, FALSE, 0); },
       [this] { SendMessageW(window_->Handle(), WM_EXITMENULOOP, FALSE, 0); }},
      {"a drop-down list",
       [this] {
         SelectPage("PageControl2", 3);
         SendMessageW(Control("sComboBox_4_1"), CB_SHOWDROPDOWN, TRUE, 0);
       },
       [this] { SendMessageW(Control("sComboBox_4_1"), CB_SHOWDROPDOWN, FALSE, 0); }},
  };
  for (const auto& c : cases) {
    popUp();
    ASSERT_TRUE(IsWindowVisible(tooltip)) << c.what << ": the hint did not pop up";
    c.open();
    Pump(30);
    EXPECT_FALSE(IsWindowVisible(tooltip)) << c.what;
    popUp();
    EXPECT_FALSE(IsWindowVisible(tooltip)) << c.what << ": a hint popped up over it";
    c.close();
    Pump(30);
  }
}

}  // namespace
}  // namespace kwetro::testing
